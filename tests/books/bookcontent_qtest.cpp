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
    static const QRegularExpression link(u"(?:href|src)\\s*=\\s*\"([^\"]*)\""_s,
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    for (const auto &m : link.globalMatch(html))
        found << m.captured(1);
    return found;
}

QString plainText(QString html)
{
    static const QRegularExpression tag(u"<[^>]*>"_s);
    static const QRegularExpression head(u"<head>.*</head>"_s,
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
        for (const QFileInfo &info : book.entryInfoList({u"*.htm"_s}, QDir::Files)) {
            QFile f(info.absoluteFilePath());
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            QStringDecoder utf8(QStringDecoder::Utf8);
            const QString text = utf8(bytes);
            QVERIFY2(!utf8.hasError(), qPrintable(info.fileName()));
            QVERIFY2(text.contains(u"<html"_s, Qt::CaseInsensitive), qPrintable(info.fileName()));
            static const QRegularExpression title(u"<title>\\s*\\S[^<]*</title>"_s,
                                                  QRegularExpression::CaseInsensitiveOption);
            QVERIFY2(title.match(text).hasMatch(),
                     qPrintable(info.fileName() + u" has no title"_s));
            words +=
                plainText(text).split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts).size();
            pages.insert(info.absoluteFilePath(), {info.absoluteFilePath(), text});
        }
        QVERIFY2(words >= 500, qPrintable(u"only %1 words"_s.arg(words)));

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
                    const QString anchor =
                        u"(name|id)=\"%1\""_s.arg(QRegularExpression::escape(url.fragment()));
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

    // The installed books open in the browser and their first link works.
    void everyBookOpensFromTheProgramFolder()
    {
        BookForm form;
        QVERIFY(form.show());
        BookBrowser books(form.root.get(), programFolder(), BookBrowser::defaultBookKeys());
        books.GetWebBook();
        const QStringList keys = BookBrowser::defaultBookKeys();
        for (int i = 0; i < keys.size(); ++i) {
            control<QRadioButton>(form.root.get(), arrayName(u"optBook"_s, i))->click();
            const QString start = programFolder() + u'/' + keys[i] + u'/' + keys[i] + u".htm"_s;
            QCOMPARE(form.browser->source(), QUrl::fromLocalFile(start));
            QVERIFY(!form.browser->documentTitle().isEmpty());
            QFile f(start);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QStringList links = linksOf(QString::fromUtf8(f.readAll()));
            QVERIFY(!links.isEmpty() && clickLink(form.browser, links.first()));
            QVERIFY(form.browser->source() != QUrl::fromLocalFile(start));
            QCOMPARE(books.NavCount(), 1);
            QVERIFY(form.back->isEnabled());
        }
    }
};

QTEST_MAIN(BookContentTest)
#include "bookcontent_qtest.moc"
