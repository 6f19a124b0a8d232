#include "books/bookbrowser.h"
#include "resources/design/designdata.h"
#include "toolkit/controls.h"
#include "toolkit/formbuilder.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

QStringList linksOf(const QString &html)
{
    static const QRegularExpression link(u"(?:href|src)\\s*=\\s*\"([^\"]*)\""_s,
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    for (const auto &m : link.globalMatch(html))
        found << m.captured(1);
    return found;
}

} // namespace

// The installed books, read from the program folder as the program reads them.
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
        const QDir book(QCoreApplication::applicationDirPath() + u'/' + key);
        const QString start = book.absoluteFilePath(key + u".htm"_s);
        QVERIFY2(QFileInfo(start).isFile(), qPrintable(start));

        static const QRegularExpression title(u"<title>\\s*\\S[^<]*</title>"_s,
                                              QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression tag(u"<[^>]*>"_s);
        static const QRegularExpression space(u"\\s+"_s);
        QHash<QString, QString> pages;
        qsizetype words = 0;
        // The window's real books page, built from the design data.
        QWidget root;
        const QJsonObject design = FormBuilder::loadDesign(designDataPath());
        FormBuilder::build(design, &root);
        root.resize(FormBuilder::clientSize(design));
        control<QTabWidget>(&root, u"SSTab1"_s)->setCurrentIndex(4);
        auto *browser = control<QTextBrowser>(&root, u"WebBrowser1"_s);
        root.show();
        QVERIFY(QTest::qWaitForWindowExposed(&root));
        for (const QFileInfo &info : book.entryInfoList({u"*.htm"_s}, QDir::Files)) {
            // In the page's own browser at its design size no page needs a sideways scroll,
            // and no line, in a paragraph or a table cell, breaks inside a word.
            browser->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
            QCoreApplication::processEvents();
            QVERIFY2(browser->horizontalScrollBar()->maximum() == 0, qPrintable(info.fileName()));
            for (QTextBlock b = browser->document()->begin(); b.isValid(); b = b.next()) {
                const QString t = b.text();
                for (int i = 0; i + 1 < b.layout()->lineCount(); ++i) {
                    const int end =
                        b.layout()->lineAt(i).textStart() + b.layout()->lineAt(i).textLength();
                    QVERIFY2(!(end > 0 && end < t.size() && t.at(end - 1).isLetter() &&
                               t.at(end).isLetter()),
                             qPrintable(info.fileName() + u": "_s + t.left(end)));
                }
            }
            QFile f(info.absoluteFilePath());
            QVERIFY(f.open(QIODevice::ReadOnly));
            QStringDecoder utf8(QStringDecoder::Utf8);
            const QString text = utf8(f.readAll());
            QVERIFY2(!utf8.hasError() && title.match(text).hasMatch(),
                     qPrintable(info.fileName() + u": not UTF-8 or no title"_s));
            words += QString(text).remove(tag).split(space, Qt::SkipEmptyParts).size();
            pages.insert(info.absoluteFilePath(), text);
        }
        QVERIFY2(words >= 500, qPrintable(u"only %1 words"_s.arg(words)));
        QVERIFY(pages.size() >= 4); // a contents page and at least three chapters

        // Every local link lands on a page of the book (and anchor); every page is reachable.
        QSet<QString> reached{start};
        QStringList queue{start};
        while (!queue.isEmpty()) {
            const QString from = queue.takeFirst();
            for (const QString &href : linksOf(pages[from])) {
                const QUrl url(href);
                const QString where = QFileInfo(from).fileName() + u" -> "_s + href;
                QVERIFY2(url.scheme().isEmpty(), qPrintable(where + u": not a local link"_s));
                const QString target =
                    url.path().isEmpty() ? from : QFileInfo(book, url.path()).absoluteFilePath();
                QVERIFY2(pages.contains(target), qPrintable(where + u": not in the book"_s));
                if (url.hasFragment()) {
                    const QString anchor =
                        u"(name|id)=\"%1\""_s.arg(QRegularExpression::escape(url.fragment()));
                    QVERIFY2(pages[target].contains(QRegularExpression(anchor)),
                             qPrintable(where + u": no such anchor"_s));
                }
                if (!reached.contains(target)) {
                    reached.insert(target);
                    queue << target;
                }
            }
            // Every chapter leads back to the contents.
            if (from != start)
                QVERIFY2(linksOf(pages[from]).contains(key + u".htm"_s), qPrintable(from));
        }
        QCOMPARE(reached.size(), pages.size());
    }
};

QTEST_MAIN(BookContentTest)
#include "bookcontent_qtest.moc"
