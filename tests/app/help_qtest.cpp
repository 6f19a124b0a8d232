#include "app/frmhelp.h"
#include "app/frmvelmora.h"
#include "core/texttables.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

using namespace velmora;

namespace {

QString sourceHelpFolder()
{
    return QFileInfo(QFINDTESTDATA("../../help/index.html")).absolutePath();
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A program folder holding a copy of the help document, as an installation would.
bool copyHelpInto(const QString &programFolder)
{
    const QDir source(sourceHelpFolder());
    const QDir target(programFolder);
    if (!target.mkpath(QStringLiteral("help")))
        return false;
    for (const QString &name : source.entryList(QDir::Files)) {
        if (!QFile::copy(source.filePath(name), target.filePath(QStringLiteral("help/") + name)))
            return false;
    }
    return true;
}

QString fileName(const QUrl &url)
{
    return QFileInfo(url.toLocalFile()).fileName();
}

// The rows of the first table of an HTML page whose header starts with headerStart.
QList<QStringList> tableRows(const QString &html, const QString &headerStart)
{
    QTextDocument doc;
    doc.setHtml(html);
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QTextTable *table = QTextCursor(block).currentTable();
        if (!table || table->cellAt(0, 0).firstCursorPosition().block().text() != headerStart)
            continue;
        QList<QStringList> rows;
        for (int r = 1; r < table->rows(); ++r) {
            QStringList row;
            for (int c = 0; c < table->columns(); ++c) {
                QTextCursor cursor = table->cellAt(r, c).firstCursorPosition();
                cursor.setPosition(table->cellAt(r, c).lastCursorPosition().position(),
                                   QTextCursor::KeepAnchor);
                row << cursor.selectedText().simplified();
            }
            rows << row;
        }
        return rows;
    }
    return {};
}

} // namespace

class HelpTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keywordMapReadsTargets_data();
    void keywordMapReadsTargets();
    void keywordMapSkipsUnsafeAndMalformedLines();
    void topicOpensItsPage_data();
    void topicOpensItsPage();
    void topicFallsBackToIndex();
    void menuCommandOpensViewerFromProgramFolder();
    void missingDocumentShowsMessage();
    void historyAndLinks();
    void everyLocalLinkResolves();
    void memorizableTablesMatchWordTables();
};

void HelpTest::keywordMapReadsTargets_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("target");
    QTest::newRow("how to") << QStringLiteral("How to use Velmora") << QStringLiteral("howto.html");
    QTest::newRow("primer") << QStringLiteral("Primer") << QStringLiteral("primer.html");
    QTest::newRow("memorizable") << QStringLiteral("Memorizable")
                                 << QStringLiteral("memorizable.html");
    QTest::newRow("about") << QStringLiteral("About") << QStringLiteral("about.html");
    QTest::newRow("case and blanks")
        << QStringLiteral("  how TO use  velmora ") << QStringLiteral("howto.html");
    QTest::newRow("anchor kept") << QStringLiteral("Rules")
                                 << QStringLiteral("memorizable.html#rules");
    QTest::newRow("unknown") << QStringLiteral("Astrolabe") << QString();
    QTest::newRow("empty") << QString() << QString();
}

void HelpTest::keywordMapReadsTargets()
{
    QFETCH(QString, keyword);
    QFETCH(QString, target);
    const HelpKeywordMap map =
        HelpKeywordMap::load(QDir(sourceHelpFolder()).filePath(QStringLiteral("keywords.txt")));
    QCOMPARE(map.target(keyword), target);
}

void HelpTest::keywordMapSkipsUnsafeAndMalformedLines()
{
    const HelpKeywordMap map = HelpKeywordMap::parse("# comment\tcomment.html\r\n"
                                                     "\r\n"
                                                     "No tab here\r\n"
                                                     "Empty\t\r\n"
                                                     "Up\t../secret.html\r\n"
                                                     "Abs\t/etc/passwd\r\n"
                                                     "Web\thttps://example.org/\r\n"
                                                     "Dot\t./a.html\r\n"
                                                     "Good\tsub/page.html#part\r\n"
                                                     "Good\tsecond.html\n"
                                                     "Unix\tunix.html");
    QCOMPARE(map.size(), 2);
    QCOMPARE(map.target(QStringLiteral("good")), QStringLiteral("sub/page.html#part"));
    QCOMPARE(map.target(QStringLiteral("Unix")), QStringLiteral("unix.html"));
    for (const char *rejected : {"# comment", "No tab here", "Empty", "Up", "Abs", "Web", "Dot"})
        QVERIFY2(map.target(QString::fromLatin1(rejected)).isEmpty(), rejected);
    QCOMPARE(HelpKeywordMap::load(QStringLiteral("/nonexistent/keywords.txt")).size(), 0);
}

void HelpTest::topicOpensItsPage_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("title");
    QTest::newRow("how to") << QStringLiteral("How to use Velmora") << QStringLiteral("howto.html")
                            << QStringLiteral("How to use Velmora");
    QTest::newRow("primer") << QStringLiteral("Primer") << QStringLiteral("primer.html")
                            << QStringLiteral("Primer");
    QTest::newRow("memorizable") << QStringLiteral("Memorizable")
                                 << QStringLiteral("memorizable.html")
                                 << QStringLiteral("Memorizable");
    QTest::newRow("about") << QStringLiteral("About") << QStringLiteral("about.html")
                           << QStringLiteral("About Velmora");
    QTest::newRow("unknown") << QStringLiteral("Nonsense") << QStringLiteral("index.html")
                             << QStringLiteral("Velmora Help: Contents");
}

void HelpTest::topicOpensItsPage()
{
    QFETCH(QString, keyword);
    QFETCH(QString, page);
    QFETCH(QString, title);
    QTemporaryDir program;
    QVERIFY(copyHelpInto(program.path()));
    frmHelp viewer;
    viewer.showTopic(helpFolder(program.path()), keyword);
    const QUrl source = viewer.browser()->source();
    QCOMPARE(QFileInfo(source.toLocalFile()).absoluteDir(),
             QDir(program.filePath(QStringLiteral("help"))));
    QCOMPARE(fileName(source), page);
    QCOMPARE(viewer.browser()->documentTitle(), title);
    QVERIFY(!viewer.showsMissingMessage());
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Velmora Help"));
}

void HelpTest::topicFallsBackToIndex()
{
    QTemporaryDir program;
    QVERIFY(copyHelpInto(program.path()));
    const QString folder = helpFolder(program.path());

    // A keyword whose page has gone missing opens the contents instead of an empty page.
    QVERIFY(QFile::remove(QDir(folder).filePath(QStringLiteral("primer.html"))));
    QCOMPARE(fileName(helpTopicUrl(folder, QStringLiteral("Primer"))),
             QStringLiteral("index.html"));

    // Without the keyword map every keyword opens the contents.
    QVERIFY(QFile::remove(QDir(folder).filePath(QStringLiteral("keywords.txt"))));
    QCOMPARE(fileName(helpTopicUrl(folder, QStringLiteral("About"))), QStringLiteral("index.html"));

    QCOMPARE(helpTopicUrl(QDir(folder).filePath(QStringLiteral("none")), QStringLiteral("About")),
             QUrl());
}

void HelpTest::menuCommandOpensViewerFromProgramFolder()
{
    QTemporaryDir program;
    QVERIFY(copyHelpInto(program.path()));
    // The real window, so that a renamed menu command shows up here.
    frmVelmora::Environment env;
    env.screenHeight = [] {
        return 1024;
    };
    env.programFolder = program.path();
    env.configFolder = program.filePath(QStringLiteral("config"));
    frmVelmora window(env);
    QCOMPARE(connectHelpMenu(&window, program.path()), 4);
    window.show();

    window.findChild<QAction *>(QStringLiteral("mnuHelpPrimer"))->trigger();
    auto *viewer = window.findChild<frmHelp *>();
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->isWindow());
    QVERIFY(!viewer->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(viewer->browser()->source(),
             QUrl::fromLocalFile(program.filePath(QStringLiteral("help/primer.html"))));

    // A second command reuses the open viewer.
    window.findChild<QAction *>(QStringLiteral("mnuHelpAbout"))->trigger();
    QCOMPARE(window.findChildren<frmHelp *>().size(), 1);
    QCOMPARE(fileName(viewer->browser()->source()), QStringLiteral("about.html"));
}

void HelpTest::missingDocumentShowsMessage()
{
    QTemporaryDir program;
    QWidget window;
    window.show();
    mnuHelpMemorizable_Click(&window, program.path());
    auto *viewer = window.findChild<frmHelp *>();
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->showsMissingMessage());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    const QString shown = viewer->browser()->toPlainText();
    QCOMPARE(shown, frmHelp::missingMessage(helpFolder(program.path())));
    QVERIFY(shown.contains(QDir::toNativeSeparators(helpFolder(program.path()))));
    QVERIFY(!viewer->findChild<QPushButton *>(QStringLiteral("cmdHelpBack"))->isEnabled());

    // Installing the document afterwards makes the next command work without a restart.
    QVERIFY(copyHelpInto(program.path()));
    mnuHelpMemorizable_Click(&window, program.path());
    QVERIFY(!viewer->showsMissingMessage());
    QCOMPARE(fileName(viewer->browser()->source()), QStringLiteral("memorizable.html"));

    // A document that vanishes while the viewer is open: Contents shows the message again.
    QVERIFY(QDir(helpFolder(program.path())).removeRecursively());
    viewer->findChild<QPushButton *>(QStringLiteral("cmdHelpContents"))->click();
    QVERIFY(viewer->showsMissingMessage());
}

void HelpTest::historyAndLinks()
{
    QTemporaryDir program;
    QVERIFY(copyHelpInto(program.path()));
    frmHelp viewer;
    QList<QUrl> external;
    viewer.setExternalLinkOpener([&external](const QUrl &url) { external << url; });
    auto *back = viewer.findChild<QPushButton *>(QStringLiteral("cmdHelpBack"));
    auto *forward = viewer.findChild<QPushButton *>(QStringLiteral("cmdHelpForward"));
    auto *contents = viewer.findChild<QPushButton *>(QStringLiteral("cmdHelpContents"));
    QTextBrowser *browser = viewer.browser();

    viewer.showTopic(helpFolder(program.path()), QStringLiteral("About"));
    QVERIFY(!back->isEnabled());
    Q_EMIT browser->anchorClicked(QUrl(QStringLiteral("primer.html#planets")));
    QCOMPARE(fileName(browser->source()), QStringLiteral("primer.html"));
    QCOMPARE(browser->source().fragment(), QStringLiteral("planets"));
    QVERIFY(back->isEnabled());
    QVERIFY(!forward->isEnabled());

    back->click();
    QCOMPARE(fileName(browser->source()), QStringLiteral("about.html"));
    QVERIFY(forward->isEnabled());
    forward->click();
    QCOMPARE(fileName(browser->source()), QStringLiteral("primer.html"));
    contents->click();
    QCOMPARE(fileName(browser->source()), QStringLiteral("index.html"));

    // Web links and files outside the help folder never load inside the viewer.
    const QUrl web(QStringLiteral("https://www.gnu.org/licenses/agpl-3.0.html"));
    Q_EMIT browser->anchorClicked(web);
    const QString outside = program.filePath(QStringLiteral("outside.html"));
    QVERIFY(QFile::copy(QDir(sourceHelpFolder()).filePath(QStringLiteral("about.html")), outside));
    Q_EMIT browser->anchorClicked(QUrl(QStringLiteral("../outside.html")));
    Q_EMIT browser->anchorClicked(QUrl(QStringLiteral("nowhere.html")));
    QCOMPARE(fileName(browser->source()), QStringLiteral("index.html"));
    QCOMPARE(external, (QList<QUrl>{web, QUrl::fromLocalFile(outside)}));
}

void HelpTest::everyLocalLinkResolves()
{
    const QDir folder(sourceHelpFolder());
    const QStringList pages = folder.entryList({QStringLiteral("*.html")}, QDir::Files);
    QVERIFY(pages.contains(QStringLiteral("index.html")));
    static const QRegularExpression reference(QStringLiteral(R"re((?:href|src)="([^"]*)")re"));
    static const QRegularExpression anchor(QStringLiteral(R"re((?:name|id)="([^"]*)")re"));

    auto anchorsOf = [&](const QString &page) {
        QSet<QString> names;
        const QString html = QString::fromUtf8(readAll(folder.filePath(page)));
        for (const auto &m : anchor.globalMatch(html))
            names.insert(m.captured(1));
        return names;
    };

    QStringList broken;
    int checked = 0;
    for (const QString &page : pages) {
        const QString html = QString::fromUtf8(readAll(folder.filePath(page)));
        for (const auto &m : reference.globalMatch(html)) {
            const QUrl link(m.captured(1));
            if (!link.scheme().isEmpty())
                continue;
            ++checked;
            const QString targetPage = link.path().isEmpty() ? page : link.path();
            if (!QFileInfo::exists(folder.filePath(targetPage)) ||
                (link.hasFragment() && !anchorsOf(targetPage).contains(link.fragment())))
                broken << page + QStringLiteral(" -> ") + m.captured(1);
        }
    }
    // The keyword map's targets are links too.
    const HelpKeywordMap map =
        HelpKeywordMap::load(folder.filePath(QStringLiteral("keywords.txt")));
    for (const char *keyword : {"How to use Velmora", "Primer", "Memorizable", "About", "Contents",
                                "Settings", "Sound output", "Alphabet", "Rules", "Planets"}) {
        const QUrl link(map.target(QString::fromLatin1(keyword)));
        ++checked;
        if (link.isEmpty() || !QFileInfo::exists(folder.filePath(link.path())) ||
            (link.hasFragment() && !anchorsOf(link.path()).contains(link.fragment())))
            broken << QStringLiteral("keyword ") + QString::fromLatin1(keyword);
    }
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QStringLiteral(", "))));
    QVERIFY(checked > 40);
}

void HelpTest::memorizableTablesMatchWordTables()
{
    ArtTables tables;
    parseAlphabet(readAll(QFINDTESTDATA("../../resources/texts/100.txt")), tables);
    QCOMPARE(tables.AbsPrinciples[1], QStringLiteral("Goodness"));
    const QString html = QString::fromUtf8(
        readAll(QDir(sourceHelpFolder()).filePath(QStringLiteral("memorizable.html"))));

    const QList<QStringList> alphabet = tableRows(html, QStringLiteral("Letter"));
    QCOMPARE(alphabet.size(), 9);
    const QString letters = QStringLiteral("BCDEFGHIK");
    for (int i = 1; i <= 9; ++i) {
        const QStringList expected{letters.mid(i - 1, 1),   tables.AbsPrinciples[i],
                                   tables.RelPrinciples[i], tables.Questions[i],
                                   tables.Subjects[i],      tables.Virtues[i],
                                   tables.Vices[i]};
        QCOMPARE(alphabet[i - 1], expected);
    }

    // The adjectives table is the second one opening with a "Letter" column.
    const qsizetype second = html.indexOf(QStringLiteral("name=\"adjectives\""));
    QVERIFY(second > 0);
    const QList<QStringList> adjectives = tableRows(html.mid(second), QStringLiteral("Letter"));
    QCOMPARE(adjectives.size(), 9);
    for (int i = 1; i <= 9; ++i) {
        const QStringList expected{letters.mid(i - 1, 1), tables.AbsAdjectives[i],
                                   tables.RelAdjectives[i]};
        QCOMPARE(adjectives[i - 1], expected);
    }
}

QTEST_MAIN(HelpTest)
#include "help_qtest.moc"
