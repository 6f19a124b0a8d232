#include "books/bookbrowser.h"
#include "resources/design/designdata.h"
#include "toolkit/controls.h"
#include "toolkit/formbuilder.h"
#include "toolkit/messagebox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

QByteArray page(const QString &title, const QString &next)
{
    return u"<html><head><title>%1</title></head><body><p><a href=\"%2\">next</a> "
           u"<a href=\"https://example.org/\">out</a></p><p>%1</p></body></html>"_s.arg(title, next)
               .toUtf8();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Clicks the middle of the first link to href where the browser draws it, as a user would.
bool clickLink(QTextBrowser *browser, const QString &href)
{
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(browser->document());
            cursor.setPosition(fragment.position() + fragment.length() / 2);
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, {},
                              browser->cursorRect(cursor).center());
            return true;
        }
    }
    return false;
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

} // namespace

// The books page of the window's design, on books of three pages each.
class BookBrowserTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    std::unique_ptr<QWidget> m_root;
    QTextBrowser *m_browser = nullptr;
    QPushButton *m_back = nullptr;
    QPushButton *m_forward = nullptr;
    std::unique_ptr<BookBrowser> m_books;

    QUrl fileUrl(const QString &relative) const
    {
        return QUrl::fromLocalFile(m_folder.path() + u'/' + relative);
    }
    QUrl startUrl(const QString &key) const { return fileUrl(key + u'/' + key + u".htm"_s); }
    QRadioButton *option(int index) const
    {
        return control<QRadioButton>(m_root.get(), arrayName(u"optBook"_s, index));
    }
    void expectState(qint16 count, bool back, bool forward) const
    {
        QCOMPARE(m_books->NavCount(), count);
        QCOMPARE(m_back->isEnabled(), back);
        QCOMPARE(m_forward->isEnabled(), forward);
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const QString &key : BookBrowser::defaultBookKeys()) {
            QVERIFY(QDir(m_folder.path()).mkpath(key));
            const QString dir = m_folder.path() + u'/' + key + u'/';
            QVERIFY(writeFile(dir + key + u".htm"_s, page(key + u" start"_s, u"one.htm"_s)));
            QVERIFY(writeFile(dir + u"one.htm"_s, page(key + u" one"_s, u"two.htm"_s)));
            QVERIFY(writeFile(dir + u"two.htm"_s, page(key + u" two"_s, key + u".htm"_s)));
        }
    }

    void init()
    {
        m_root = std::make_unique<QWidget>();
        const QJsonObject design = FormBuilder::loadDesign(designDataPath());
        FormBuilder::build(design, m_root.get());
        m_root->resize(FormBuilder::clientSize(design));
        control<QTabWidget>(m_root.get(), u"SSTab1"_s)->setCurrentIndex(4);
        m_browser = control<QTextBrowser>(m_root.get(), u"WebBrowser1"_s);
        m_back = control<QPushButton>(m_root.get(), u"cmdBackForward(0)"_s);
        m_forward = control<QPushButton>(m_root.get(), u"cmdBackForward(1)"_s);
        m_books = std::make_unique<BookBrowser>(m_root.get(), m_folder.path(),
                                                BookBrowser::defaultBookKeys());
        m_root->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_root.get()));
        m_books->GetWebBook();
    }

    void cleanup()
    {
        m_books.reset();
        m_root.reset();
    }

    // Every choice, made after some history, shows the start page and resets the history; with
    // no button chosen nothing is shown but the history is reset all the same.
    void choosingABookShowsItsStartPage()
    {
        for (const auto &[index, key] : {std::pair{3, u"seven-planets"_s}, {0, u"ars-brevis"_s}}) {
            QVERIFY(clickLink(m_browser, u"one.htm"_s));
            QVERIFY(m_back->isEnabled());
            option(index)->click();
            QCOMPARE(m_browser->source(), startUrl(key));
            QCOMPARE(m_browser->documentTitle(), key + u" start"_s);
            expectState(0, false, false);
        }
        QVERIFY(clickLink(m_browser, u"one.htm"_s));
        option(0)->setAutoExclusive(false);
        option(0)->setChecked(false);
        m_books->GetWebBook();
        QCOMPARE(m_browser->source(), fileUrl(u"ars-brevis/one.htm"_s));
        expectState(0, false, false);

        // A book missing from the folder goes to the path without the extension, quietly.
        QTemporaryDir folder; // holds no books at all
        const QString key = u"liber-de-lumine"_s;
        m_books.reset();
        BookBrowser books(m_root.get(), folder.path(), BookBrowser::defaultBookKeys());
        QStringList messages;
        ScopedMessageBoxHook hook(
            [&messages](const QString &text, const QString &) { messages << text; });
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"No document for"_s));
        option(1)->click();

        QCOMPARE(m_browser->source(), QUrl::fromLocalFile(folder.path() + u'/' + key + u'/' + key));
        QVERIFY(messages.isEmpty());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void historyButtonsFollowLinkBackAndForward()
    {
        QSignalSpy started(m_books.get(), &BookBrowser::navigationStarted);
        // Outside links never load in the browser; they go to the handler when there is one.
        QVERIFY(clickLink(m_browser, u"https://example.org/"_s));
        QList<QUrl> handed;
        m_books->setExternalLinkHandler([&handed](const QUrl &url) { handed << url; });
        QVERIFY(clickLink(m_browser, u"https://example.org/"_s));
        QCOMPARE(handed, QList<QUrl>{QUrl(u"https://example.org/"_s)});
        QCOMPARE(m_browser->source(), startUrl(u"ars-brevis"_s));
        expectState(0, false, false);

        const QUrl one = fileUrl(u"ars-brevis/one.htm"_s);
        QVERIFY(clickLink(m_browser, u"one.htm"_s));
        QCOMPARE(m_browser->source(), one);
        expectState(1, true, false);
        QTest::mouseClick(m_back, Qt::LeftButton);
        QCOMPARE(m_browser->source(), startUrl(u"ars-brevis"_s));
        expectState(2, true, true);
        QTest::mouseClick(m_forward, Qt::LeftButton);
        QCOMPARE(m_browser->source(), one);
        expectState(3, true, true);
        // The browser's own history keys count as well.
        QTest::keyClick(m_browser, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(m_browser->source(), startUrl(u"ars-brevis"_s));
        QCOMPARE(m_books->NavCount(), 4);

        // Every move was reported before it happened, with its target.
        QList<QUrl> targets;
        for (const QList<QVariant> &arguments : std::as_const(started))
            targets << arguments.at(0).toUrl();
        QCOMPARE(targets,
                 (QList<QUrl>{one, startUrl(u"ars-brevis"_s), one, startUrl(u"ars-brevis"_s)}));
    }

    // Back right after the book choice, and forward at the end of the history, change nothing.
    void stepsPastTheHistoryChangeNothingAndTheCountStops()
    {
        QStringList messages;
        ScopedMessageBoxHook hook(
            [&messages](const QString &text, const QString &) { messages << text; });
        for (const auto &[links, index, shown] :
             {std::tuple{0, 0, u"ars-brevis/ars-brevis.htm"_s}, {2, 1, u"ars-brevis/two.htm"_s}}) {
            QVERIFY(!links || clickLink(m_browser, u"one.htm"_s));
            QVERIFY(links < 2 || clickLink(m_browser, u"two.htm"_s));
            const qint16 count = m_books->NavCount();
            const bool backEnabled = m_back->isEnabled();
            QSignalSpy started(m_books.get(), &BookBrowser::navigationStarted);
            m_books->cmdBackForward_Click(index);
            QCOMPARE(m_browser->source(), fileUrl(shown));
            expectState(count, backEnabled, false);
            QCOMPARE(started.size(), 0);
        }
        QVERIFY(messages.isEmpty());

        // Far more starts than a 16-bit count holds must not wrap it negative.
        for (int i = 0; i < 40000; ++i)
            m_books->WebBrowser1_BeforeNavigate2();
        QCOMPARE(m_books->NavCount(), qint16(32767));
        m_back->setEnabled(false);
        m_books->WebBrowser1_BeforeNavigate2();
        QCOMPARE(m_books->NavCount(), qint16(32767));
        QVERIFY(m_back->isEnabled());
        m_books->GetWebBook();
        expectState(0, false, false);
    }

    // The installed books, read from the program folder as the program reads them.
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
        m_books.reset(); // the page's browser alone
        for (const QFileInfo &info : book.entryInfoList({u"*.htm"_s}, QDir::Files)) {
            // In the page's own browser at its design size no page needs a sideways scroll,
            // and no line, in a paragraph or a table cell, breaks inside a word.
            m_browser->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
            QCoreApplication::processEvents();
            QVERIFY2(m_browser->horizontalScrollBar()->maximum() == 0, qPrintable(info.fileName()));
            for (QTextBlock b = m_browser->document()->begin(); b.isValid(); b = b.next()) {
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

QTEST_MAIN(BookBrowserTest)
#include "bookbrowser_qtest.moc"
