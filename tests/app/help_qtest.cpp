#include "app/frmhelp.h"
#include "app/frmvelmora.h"
#include "core/texttables.h"
#include "testwindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

QString sourceHelpFolder()
{
    return QFileInfo(QFINDTESTDATA("../../help/index.html")).absolutePath();
}

// A program folder holding a copy of the help document, as an installation would.
bool copyHelpInto(const QString &programFolder)
{
    const QDir source(sourceHelpFolder());
    bool copied = QDir(programFolder).mkpath(u"help"_s);
    for (const QString &name : source.entryList(QDir::Files))
        copied = copied && QFile::copy(source.filePath(name), programFolder + u"/help/"_s + name);
    return copied;
}

QString fileName(const QUrl &url)
{
    return QFileInfo(url.toLocalFile()).fileName();
}

} // namespace

class HelpTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The menu's commands share one viewer, never modal, on the program folder's document; a
    // document installed or removed while the program runs is found or missed at once.
    void viewerFromTheMenuHistoryLinksAndFallbacks()
    {
        QTemporaryDir program;
        frmVelmora window(test::environment(program.path()));
        QCOMPARE(connectHelpMenu(&window, program.path()), 4);
        window.show();
        const QString folder = helpFolder(program.path());

        window.findChild<QAction *>(u"mnuHelpMemorizable"_s)->trigger();
        auto *viewer = window.findChild<frmHelp *>();
        QVERIFY(viewer && viewer->isVisible() && viewer->showsMissingMessage());
        QVERIFY(viewer->browser()->toPlainText().contains(QDir::toNativeSeparators(folder)));

        QVERIFY(copyHelpInto(program.path()));
        window.findChild<QAction *>(u"mnuHelpPrimer"_s)->trigger();
        QVERIFY(!viewer->showsMissingMessage() && !viewer->isModal());
        QCOMPARE(viewer->browser()->source(),
                 QUrl::fromLocalFile(program.filePath(u"help/primer.html"_s)));
        window.findChild<QAction *>(u"mnuHelpAbout"_s)->trigger();
        QCOMPARE(window.findChildren<frmHelp *>().size(), 1);
        QCOMPARE(viewer->browser()->documentTitle(), u"About Velmora"_s);

        QVERIFY(QDir(folder).removeRecursively());
        viewer->findChild<QPushButton *>(u"cmdHelpContents"_s)->click();
        QVERIFY(viewer->showsMissingMessage());

        // History, links and the fallbacks of keywords whose pages are missing.
        QVERIFY(copyHelpInto(program.path()));
        QList<QUrl> external;
        viewer->setExternalLinkOpener([&external](const QUrl &url) { external << url; });
        auto *back = viewer->findChild<QPushButton *>(u"cmdHelpBack"_s);
        auto *forward = viewer->findChild<QPushButton *>(u"cmdHelpForward"_s);
        auto *contents = viewer->findChild<QPushButton *>(u"cmdHelpContents"_s);
        QTextBrowser *browser = viewer->browser();

        viewer->showTopic(folder, u"About"_s);
        Q_EMIT browser->anchorClicked(QUrl(u"primer.html#planets"_s));
        QCOMPARE(fileName(browser->source()), u"primer.html"_s);
        QVERIFY(back->isEnabled());
        QVERIFY(!forward->isEnabled());

        back->click();
        QCOMPARE(fileName(browser->source()), u"about.html"_s);
        QVERIFY(forward->isEnabled());
        contents->click();
        QCOMPARE(fileName(browser->source()), u"index.html"_s);

        // Web links and files outside the help folder never load inside the viewer.
        const QUrl web(u"https://www.gnu.org/licenses/agpl-3.0.html"_s);
        Q_EMIT browser->anchorClicked(web);
        const QString outside = program.filePath(u"outside.html"_s);
        QVERIFY(QFile::copy(QDir(sourceHelpFolder()).filePath(u"about.html"_s), outside));
        Q_EMIT browser->anchorClicked(QUrl(u"../outside.html"_s));
        Q_EMIT browser->anchorClicked(QUrl(u"nowhere.html"_s));
        QCOMPARE(fileName(browser->source()), u"index.html"_s);
        QCOMPARE(external, (QList<QUrl>{web, QUrl::fromLocalFile(outside)}));

        QCOMPARE(fileName(helpTopicUrl(folder, u"Nonsense"_s)), u"index.html"_s);
        // A keyword whose page has gone missing opens the contents instead of an empty page.
        QVERIFY(QFile::remove(QDir(folder).filePath(u"primer.html"_s)));
        QCOMPARE(fileName(helpTopicUrl(folder, u"Primer"_s)), u"index.html"_s);
        // Without the keyword map every keyword opens the contents.
        QVERIFY(QFile::remove(QDir(folder).filePath(u"keywords.txt"_s)));
        QCOMPARE(fileName(helpTopicUrl(folder, u"About"_s)), u"index.html"_s);
        QCOMPARE(helpTopicUrl(QDir(folder).filePath(u"none"_s), u"About"_s), QUrl());
    }

    void keywordMapAndEveryLocalLinkResolve()
    {
        const QDir folder(sourceHelpFolder());
        static const QRegularExpression reference(u"(?:href|src)=\"([^\"]*)\""_s);
        QStringList broken;
        int checked = 0;
        auto check = [&](const QString &from, const QString &href) {
            const QUrl link(href);
            const QString page = link.path().isEmpty() ? from : link.path();
            const QString html = QString::fromUtf8(test::readFile(folder.filePath(page)));
            ++checked;
            if (href.isEmpty() || html.isEmpty() ||
                (link.hasFragment() && !html.contains(u"name=\"%1\""_s.arg(link.fragment())) &&
                 !html.contains(u"id=\"%1\""_s.arg(link.fragment()))))
                broken << from + u" -> "_s + href;
        };
        for (const QString &page : folder.entryList({u"*.html"_s}, QDir::Files)) {
            const QString html = QString::fromUtf8(test::readFile(folder.filePath(page)));
            for (const auto &m : reference.globalMatch(html)) {
                if (QUrl(m.captured(1)).scheme().isEmpty())
                    check(page, m.captured(1));
            }
        }
        // The keyword map's targets are links too.
        const HelpKeywordMap map = HelpKeywordMap::load(folder.filePath(u"keywords.txt"_s));
        QCOMPARE(map.target(u"  how TO use  velmora "_s), u"howto.html"_s);
        QCOMPARE(map.target(u"Astrolabe"_s), QString());
        for (const char *keyword : {"How to use Velmora", "Primer", "Memorizable", "About",
                                    "Contents", "Settings", "Sound output", "Rules", "Planets"})
            check(u"keyword "_s + QString::fromLatin1(keyword),
                  map.target(QString::fromLatin1(keyword)));
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(u", "_s)));
        QVERIFY(checked > 40);

        // Comments, lines without a target and targets leaving the help folder are skipped.
        const HelpKeywordMap parsed = HelpKeywordMap::parse(
            "# comment\tcomment.html\r\n\r\nNo tab here\r\nEmpty\t\r\nUp\t../secret.html\r\n"
            "Abs\t/etc/passwd\r\nWeb\thttps://example.org/\r\nDot\t./a.html\r\n"
            "Good\tsub/page.html#part\r\nGood\tsecond.html\nUnix\tunix.html");
        QCOMPARE(parsed.size(), 2);
        QCOMPARE(parsed.target(u"good"_s), u"sub/page.html#part"_s);
        QCOMPARE(parsed.target(u"Unix"_s), u"unix.html"_s);
    }

    // The help's tables of the alphabet and of its adjectives say what the word tables say.
    void memorizableTablesMatchWordTables()
    {
        ArtTables t;
        parseAlphabet(test::readFile(QFINDTESTDATA("../../resources/texts/100.txt")), t);
        static const QRegularExpression between(u">\\s+<"_s);
        const QString html =
            QString::fromUtf8(
                test::readFile(QDir(sourceHelpFolder()).filePath(u"memorizable.html"_s)))
                .replace(between, u"><"_s);
        const auto row = [](const QStringList &cells) {
            return u"<tr><td class=\"letter\">"_s + cells.join(u"</td><td>"_s) + u"</td></tr>"_s;
        };
        for (size_t i = 1; i <= 9; ++i) {
            const QString letter = u"BCDEFGHIK"_s.mid(qsizetype(i) - 1, 1);
            QVERIFY2(html.contains(row({letter, t.AbsPrinciples[i], t.RelPrinciples[i],
                                        t.Questions[i], t.Subjects[i], t.Virtues[i], t.Vices[i]})),
                     qPrintable(letter));
            QVERIFY2(html.contains(row({letter, t.AbsAdjectives[i], t.RelAdjectives[i]})),
                     qPrintable(letter));
        }
    }
};

QTEST_MAIN(HelpTest)
#include "help_qtest.moc"
