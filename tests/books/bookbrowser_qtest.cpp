#include "books/bookbrowser.h"
#include "booktestsupport.h"
#include "toolkit/messagebox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace velmora;
using namespace Qt::StringLiterals;
using namespace velmora::test;

namespace {

// A page with a link to the next chapter, an outside link and a title that names it.
QByteArray page(const QString &title, const QString &next)
{
    return QStringLiteral("<html><head><title>%1</title></head><body>"
                          "<p><a href=\"%2\">next</a> <a href=\"https://example.org/\">out</a></p>"
                          "<p>%1</p></body></html>")
        .arg(title, next)
        .toUtf8();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class BookBrowserTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    std::unique_ptr<BookForm> m_form;
    std::unique_ptr<BookBrowser> m_books;

    QUrl fileUrl(const QString &relative) const
    {
        return QUrl::fromLocalFile(m_folder.path() + QLatin1Char('/') + relative);
    }
    QUrl startUrl(const QString &key) const { return fileUrl(key + u'/' + key + u".htm"_s); }
    QRadioButton *option(int index) const
    {
        return control<QRadioButton>(m_form->root.get(), arrayName(u"optBook"_s, index));
    }
    void expectState(qint16 count, bool back, bool forward) const
    {
        QCOMPARE(m_books->NavCount(), count);
        QCOMPARE(m_form->back->isEnabled(), back);
        QCOMPARE(m_form->forward->isEnabled(), forward);
    }
    void expectReset() const { expectState(0, false, false); }

private Q_SLOTS:
    // Each book folder holds its start page and two chapters.
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
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
        m_form = std::make_unique<BookForm>();
        m_books = std::make_unique<BookBrowser>(m_form->root.get(), m_folder.path(),
                                                BookBrowser::defaultBookKeys());
        QVERIFY(m_form->show());
        m_books->GetWebBook();
    }

    void cleanup()
    {
        m_books.reset();
        m_form.reset();
    }

    void choosingABookShowsItsStartPage_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("key");
        QTest::newRow("Ars Brevis") << 0 << u"ars-brevis"_s;
        QTest::newRow("Other Works") << 3 << u"seven-planets"_s;
    }
    void choosingABookShowsItsStartPage()
    {
        QFETCH(int, index);
        QFETCH(QString, key);
        // Leave the start-up book first, so every choice resets a page with some history.
        QVERIFY(clickLink(m_form->browser, u"one.htm"_s));
        QVERIFY(m_form->back->isEnabled());
        if (index == 0)
            option(1)->click();
        option(index)->click();
        QCOMPARE(m_form->browser->source(), startUrl(key));
        QCOMPARE(m_form->browser->documentTitle(), key + u" start"_s);
        expectReset();
    }

    void historyButtonsFollowLinkBackAndForward()
    {
        QSignalSpy started(m_books.get(), &BookBrowser::navigationStarted);
        expectReset();

        QVERIFY(clickLink(m_form->browser, u"one.htm"_s));
        QCOMPARE(m_form->browser->source(), fileUrl(u"ars-brevis/one.htm"_s));
        expectState(1, true, false);

        QTest::mouseClick(m_form->back, Qt::LeftButton);
        QCOMPARE(m_form->browser->source(), startUrl(u"ars-brevis"_s));
        expectState(2, true, true);

        QTest::mouseClick(m_form->forward, Qt::LeftButton);
        QCOMPARE(m_form->browser->source(), fileUrl(u"ars-brevis/one.htm"_s));
        expectState(3, true, true);

        // The browser's own history keys count as well.
        QTest::keyClick(m_form->browser, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(m_form->browser->source(), startUrl(u"ars-brevis"_s));
        QCOMPARE(m_books->NavCount(), 4);

        // Every move was reported before it happened, with its target.
        QList<QUrl> targets;
        for (const QList<QVariant> &arguments : std::as_const(started))
            targets << arguments.at(0).toUrl();
        const QUrl one = fileUrl(u"ars-brevis/one.htm"_s);
        QCOMPARE(targets,
                 (QList<QUrl>{one, startUrl(u"ars-brevis"_s), one, startUrl(u"ars-brevis"_s)}));
    }

    void stepsPastTheHistoryChangeNothing_data()
    {
        QTest::addColumn<int>("linksFirst");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("page");
        QTest::newRow("back right after the book choice")
            << 0 << 0 << u"ars-brevis/ars-brevis.htm"_s;
        QTest::newRow("forward after following links") << 2 << 1 << u"ars-brevis/two.htm"_s;
    }
    void stepsPastTheHistoryChangeNothing()
    {
        QFETCH(int, linksFirst);
        QFETCH(int, index);
        QFETCH(QString, page);
        QVERIFY(!linksFirst || clickLink(m_form->browser, u"one.htm"_s));
        QVERIFY(linksFirst < 2 || clickLink(m_form->browser, u"two.htm"_s));
        const qint16 count = m_books->NavCount();
        const bool backEnabled = m_form->back->isEnabled();
        QSignalSpy started(m_books.get(), &BookBrowser::navigationStarted);
        QStringList messages;
        ScopedMessageBoxHook hook(
            [&messages](const QString &text, const QString &) { messages << text; });

        m_books->cmdBackForward_Click(index);

        QCOMPARE(m_form->browser->source(), fileUrl(page));
        QCOMPARE(m_books->NavCount(), count);
        QCOMPARE(m_form->back->isEnabled(), backEnabled);
        QVERIFY(!m_form->forward->isEnabled());
        QCOMPARE(started.size(), 0);
        QVERIFY(messages.isEmpty());
    }

    void missingBookGoesToThePathWithoutExtension()
    {
        QTemporaryDir folder; // holds no books at all
        const QString key = u"liber-de-lumine"_s;
        m_books.reset();
        BookBrowser books(m_form->root.get(), folder.path(), BookBrowser::defaultBookKeys());
        QStringList messages;
        ScopedMessageBoxHook hook(
            [&messages](const QString &text, const QString &) { messages << text; });
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"No document for"_s));
        option(1)->click();

        QCOMPARE(m_form->browser->source(),
                 QUrl::fromLocalFile(folder.path() + u'/' + key + u'/' + key));
        QCOMPARE(books.NavCount(), 0);
        QVERIFY(!m_form->back->isEnabled() && !m_form->forward->isEnabled());
        QVERIFY(messages.isEmpty());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    // Far more starts than a 16-bit count holds must not wrap it negative.
    void navigationCountStopsAtItsLargestValue()
    {
        for (int i = 0; i < 40000; ++i)
            m_books->WebBrowser1_BeforeNavigate2();
        QCOMPARE(m_books->NavCount(), qint16(32767));
        m_form->back->setEnabled(false);
        m_books->WebBrowser1_BeforeNavigate2();
        QCOMPARE(m_books->NavCount(), qint16(32767));
        QVERIFY(m_form->back->isEnabled());
        m_books->GetWebBook();
        expectReset();
    }

    void outsideLinksStayOutOfTheBrowser()
    {
        const QUrl before = m_form->browser->source();
        QVERIFY(clickLink(m_form->browser, u"https://example.org/"_s));
        QCOMPARE(m_form->browser->source(), before);
        QCOMPARE(m_books->NavCount(), 0);

        QList<QUrl> handed;
        m_books->setExternalLinkHandler([&handed](const QUrl &url) { handed << url; });
        QVERIFY(clickLink(m_form->browser, u"https://example.org/"_s));
        QCOMPARE(handed, QList<QUrl>{QUrl(u"https://example.org/"_s)});
        QCOMPARE(m_form->browser->source(), before);
        QVERIFY(!m_form->back->isEnabled());
    }

    void noButtonChosenShowsNothingButResets()
    {
        QVERIFY(clickLink(m_form->browser, u"one.htm"_s));
        const QUrl shown = m_form->browser->source();
        for (int i = 0; i < 4; ++i)
            option(i)->setAutoExclusive(false);
        for (int i = 0; i < 4; ++i)
            option(i)->setChecked(false);
        m_books->GetWebBook();
        QCOMPARE(m_form->browser->source(), shown);
        expectReset();
    }
};

QTEST_MAIN(BookBrowserTest)
#include "bookbrowser_qtest.moc"
