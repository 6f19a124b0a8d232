#include "books/bookbrowser.h"
#include "booktestsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

using namespace velmora;
using namespace Qt::StringLiterals;
using namespace velmora::test;

namespace {

struct Page
{
    QString path;
    QString text;
};

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

QStringList linksOf(const QString &html)
{
    static const QRegularExpression link(QStringLiteral("(?:href|src)\\s*=\\s*\"([^\"]*)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    for (const auto &m : link.globalMatch(html))
        found << m.captured(1);
    return found;
}

QString plainText(QString html)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression head(QStringLiteral("<head>.*</head>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    return html.remove(head).remove(tag);
}

} // namespace

class BookContentTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyBookIsCompleteAndItsLinksResolve_data()
    {
        QTest::addColumn<QString>("key");
        for (const QString &key : BookBrowser::defaultBookKeys())
            QTest::newRow(qPrintable(key)) << key;
    }
    void everyBookIsCompleteAndItsLinksResolve()
    {
        QFETCH(QString, key);
        const QDir book(programFolder() + u'/' + key);
        const QString start = book.filePath(key + u".htm"_s);
        QVERIFY2(QFileInfo(start).isFile(), qPrintable(start));

        QHash<QString, Page> pages;
        int words = 0;
        for (const QFileInfo &info : book.entryInfoList({QStringLiteral("*.htm")}, QDir::Files)) {
            QFile f(info.absoluteFilePath());
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            QStringDecoder utf8(QStringDecoder::Utf8);
            const QString text = utf8(bytes);
            QVERIFY2(!utf8.hasError(), qPrintable(info.fileName()));
            QVERIFY2(text.contains(QStringLiteral("<html"), Qt::CaseInsensitive),
                     qPrintable(info.fileName()));
            static const QRegularExpression title(QStringLiteral("<title>\\s*\\S[^<]*</title>"),
                                                  QRegularExpression::CaseInsensitiveOption);
            QVERIFY2(title.match(text).hasMatch(),
                     qPrintable(info.fileName() + u" has no title"_s));
            words += plainText(text)
                         .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)
                         .size();
            pages.insert(info.absoluteFilePath(), {info.absoluteFilePath(), text});
        }
        QVERIFY2(words >= 500, qPrintable(QStringLiteral("only %1 words").arg(words)));

        // Follow every local link from the start page: each must land on an existing page and,
        // with a fragment, on an anchor of that page; every page must be reachable.
        QSet<QString> reached{QFileInfo(start).absoluteFilePath()};
        QStringList queue{QFileInfo(start).absoluteFilePath()};
        while (!queue.isEmpty()) {
            const Page &from = pages[queue.takeFirst()];
            for (const QString &href : linksOf(from.text)) {
                const QUrl url(href);
                const QString where = QFileInfo(from.path).fileName() + u" -> "_s + href;
                QVERIFY2(url.scheme().isEmpty(), qPrintable(where + u": not a local link"_s));
                const QString target =
                    url.path().isEmpty()
                        ? from.path
                        : QFileInfo(QFileInfo(from.path).dir(), url.path()).absoluteFilePath();
                QVERIFY2(QFileInfo(target).isFile(), qPrintable(where + u": no such file"_s));
                QVERIFY2(pages.contains(target), qPrintable(where + u": outside the book"_s));
                if (url.hasFragment()) {
                    const QString anchor = QStringLiteral("(name|id)=\"%1\"")
                                               .arg(QRegularExpression::escape(url.fragment()));
                    QVERIFY2(pages[target].text.contains(QRegularExpression(anchor)),
                             qPrintable(where + u": no such anchor"_s));
                }
                if (!reached.contains(target)) {
                    reached.insert(target);
                    queue << target;
                }
            }
        }
        QVERIFY2(pages.size() >= 4, "a contents page and at least three chapters");
        QCOMPARE(reached.size(), pages.size());

        // Every chapter leads back to the contents.
        for (const Page &p : std::as_const(pages)) {
            if (p.path != QFileInfo(start).absoluteFilePath())
                QVERIFY2(linksOf(p.text).contains(key + u".htm"_s), qPrintable(p.path));
        }
    }

    // The installed books open in the browser and their first chapter link works.
    void everyBookOpensFromTheProgramFolder()
    {
        BookForm form;
        QVERIFY(form.show());
        BookBrowser books(form.root.get(), programFolder(), BookBrowser::defaultBookKeys());
        books.GetWebBook();
        const QStringList keys = BookBrowser::defaultBookKeys();
        for (int i = 0; i < keys.size(); ++i) {
            auto *option =
                control<QRadioButton>(form.root.get(), arrayName(QStringLiteral("optBook"), i));
            if (!option->isChecked())
                option->click();
            const QString start = programFolder() + u'/' + keys[i] + u'/' + keys[i] + u".htm"_s;
            QCOMPARE(form.browser->source(), QUrl::fromLocalFile(start));
            QVERIFY(!form.browser->documentTitle().isEmpty());
            QVERIFY(!form.back->isEnabled());

            const QStringList links = linksOf([&] {
                QFile f(start);
                return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
            }());
            QVERIFY(!links.isEmpty());
            QVERIFY(clickLink(form.browser, links.first()));
            QVERIFY(form.browser->source() != QUrl::fromLocalFile(start));
            QVERIFY(form.back->isEnabled());
            QCOMPARE(books.NavCount(), 1);
        }
    }
};

QTEST_MAIN(BookContentTest)
#include "bookcontent_qtest.moc"
