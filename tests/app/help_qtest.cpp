#include "app/frmhelp.h"
#include "app/frmvelmora.h"
#include "core/texttables.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

using namespace velmora;
using namespace Qt::StringLiterals;

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
    if (!target.mkpath(u"help"_s))
        return false;
    for (const QString &name : source.entryList(QDir::Files)) {
        if (!QFile::copy(source.filePath(name), target.filePath(u"help/"_s + name)))
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
    void keywordMap()
    {
        const HelpKeywordMap installed =
            HelpKeywordMap::load(QDir(sourceHelpFolder()).filePath(u"keywords.txt"_s));
        QCOMPARE(installed.target(u"  how TO use  velmora "_s), u"howto.html"_s);
        QCOMPARE(installed.target(u"Astrolabe"_s), QString());

        // Comments, lines without a target and targets leaving the help folder are skipped.
        const HelpKeywordMap map = HelpKeywordMap::parse(
            "# comment\tcomment.html\r\n\r\nNo tab here\r\nEmpty\t\r\nUp\t../secret.html\r\n"
            "Abs\t/etc/passwd\r\nWeb\thttps://example.org/\r\nDot\t./a.html\r\n"
            "Good\tsub/page.html#part\r\nGood\tsecond.html\nUnix\tunix.html");
        QCOMPARE(map.size(), 2);
        QCOMPARE(map.target(u"good"_s), u"sub/page.html#part"_s);
        QCOMPARE(map.target(u"Unix"_s), u"unix.html"_s);
        QCOMPARE(HelpKeywordMap::load(u"/nonexistent/keywords.txt"_s).size(), 0);
    }

    void topicOpensItsPage()
    {
        QTemporaryDir program;
        QVERIFY(copyHelpInto(program.path()));
        frmHelp viewer;
        for (const auto &[keyword, page, title] :
             {std::tuple{"About", "about.html", "About Velmora"},
              {"Nonsense", "index.html", "Velmora Help: Contents"}}) {
            viewer.showTopic(helpFolder(program.path()), QString::fromLatin1(keyword));
            const QUrl source = viewer.browser()->source();
            QCOMPARE(QFileInfo(source.toLocalFile()).absoluteDir(),
                     QDir(program.filePath(u"help"_s)));
            QCOMPARE(fileName(source), QString::fromLatin1(page));
            QCOMPARE(viewer.browser()->documentTitle(), QString::fromLatin1(title));
            QVERIFY(!viewer.showsMissingMessage());
        }
    }

    void topicFallsBackToIndex()
    {
        QTemporaryDir program;
        QVERIFY(copyHelpInto(program.path()));
        const QString folder = helpFolder(program.path());

        // A keyword whose page has gone missing opens the contents instead of an empty page.
        QVERIFY(QFile::remove(QDir(folder).filePath(u"primer.html"_s)));
        QCOMPARE(fileName(helpTopicUrl(folder, u"Primer"_s)), u"index.html"_s);

        // Without the keyword map every keyword opens the contents.
        QVERIFY(QFile::remove(QDir(folder).filePath(u"keywords.txt"_s)));
        QCOMPARE(fileName(helpTopicUrl(folder, u"About"_s)), u"index.html"_s);

        QCOMPARE(helpTopicUrl(QDir(folder).filePath(u"none"_s), u"About"_s), QUrl());
    }

    void menuCommandOpensViewerFromProgramFolder()
    {
        QTemporaryDir program;
        QVERIFY(copyHelpInto(program.path()));
        // The real window, so that a renamed menu command shows up here.
        frmVelmora::Environment env;
        env.screenHeight = [] {
            return 1024;
        };
        env.programFolder = program.path();
        env.configFolder = program.filePath(u"config"_s);
        frmVelmora window(env);
        QCOMPARE(connectHelpMenu(&window, program.path()), 4);
        window.show();

        window.findChild<QAction *>(u"mnuHelpPrimer"_s)->trigger();
        auto *viewer = window.findChild<frmHelp *>();
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible() && !viewer->isModal());
        QCOMPARE(viewer->browser()->source(),
                 QUrl::fromLocalFile(program.filePath(u"help/primer.html"_s)));

        // A second command reuses the open viewer.
        window.findChild<QAction *>(u"mnuHelpAbout"_s)->trigger();
        QCOMPARE(window.findChildren<frmHelp *>().size(), 1);
        QCOMPARE(fileName(viewer->browser()->source()), u"about.html"_s);
    }

    void missingDocumentShowsMessage()
    {
        QTemporaryDir program;
        QWidget window;
        window.show();
        mnuHelpMemorizable_Click(&window, program.path());
        auto *viewer = window.findChild<frmHelp *>();
        QVERIFY(viewer && viewer->isVisible() && viewer->showsMissingMessage());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(viewer->browser()->toPlainText().contains(
            QDir::toNativeSeparators(helpFolder(program.path()))));

        // Installing the document afterwards makes the next command work without a restart.
        QVERIFY(copyHelpInto(program.path()));
        mnuHelpMemorizable_Click(&window, program.path());
        QVERIFY(!viewer->showsMissingMessage());
        QCOMPARE(fileName(viewer->browser()->source()), u"memorizable.html"_s);

        // A document that vanishes while the viewer is open: Contents shows the message again.
        QVERIFY(QDir(helpFolder(program.path())).removeRecursively());
        viewer->findChild<QPushButton *>(u"cmdHelpContents"_s)->click();
        QVERIFY(viewer->showsMissingMessage());
    }

    void historyAndLinks()
    {
        QTemporaryDir program;
        QVERIFY(copyHelpInto(program.path()));
        frmHelp viewer;
        QList<QUrl> external;
        viewer.setExternalLinkOpener([&external](const QUrl &url) { external << url; });
        auto *back = viewer.findChild<QPushButton *>(u"cmdHelpBack"_s);
        auto *forward = viewer.findChild<QPushButton *>(u"cmdHelpForward"_s);
        auto *contents = viewer.findChild<QPushButton *>(u"cmdHelpContents"_s);
        QTextBrowser *browser = viewer.browser();

        viewer.showTopic(helpFolder(program.path()), u"About"_s);
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
    }

    void everyLocalLinkResolves()
    {
        const QDir folder(sourceHelpFolder());
        static const QRegularExpression reference(u"(?:href|src)=\"([^\"]*)\""_s);
        QStringList broken;
        int checked = 0;
        auto check = [&](const QString &from, const QString &href) {
            const QUrl link(href);
            const QString page = link.path().isEmpty() ? from : link.path();
            const QString html = QString::fromUtf8(readAll(folder.filePath(page)));
            ++checked;
            if (href.isEmpty() || html.isEmpty() ||
                (link.hasFragment() && !html.contains(u"name=\"%1\""_s.arg(link.fragment())) &&
                 !html.contains(u"id=\"%1\""_s.arg(link.fragment()))))
                broken << from + u" -> "_s + href;
        };
        for (const QString &page : folder.entryList({u"*.html"_s}, QDir::Files)) {
            const QString html = QString::fromUtf8(readAll(folder.filePath(page)));
            for (const auto &m : reference.globalMatch(html)) {
                if (QUrl(m.captured(1)).scheme().isEmpty())
                    check(page, m.captured(1));
            }
        }
        // The keyword map's targets are links too.
        const HelpKeywordMap map = HelpKeywordMap::load(folder.filePath(u"keywords.txt"_s));
        for (const char *keyword : {"How to use Velmora", "Primer", "Memorizable", "About",
                                    "Contents", "Settings", "Sound output", "Rules", "Planets"})
            check(u"keyword "_s + QString::fromLatin1(keyword),
                  map.target(QString::fromLatin1(keyword)));
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(u", "_s)));
        QVERIFY(checked > 40);
    }

    void memorizableTablesMatchWordTables()
    {
        ArtTables tables;
        parseAlphabet(readAll(QFINDTESTDATA("../../resources/texts/100.txt")), tables);
        const QString html =
            QString::fromUtf8(readAll(QDir(sourceHelpFolder()).filePath(u"memorizable.html"_s)));

        // The adjectives table is the second one opening with a "Letter" column.
        const qsizetype second = html.indexOf(u"name=\"adjectives\""_s);
        QVERIFY(second > 0);
        const QList<QStringList> alphabet = tableRows(html, u"Letter"_s);
        const QList<QStringList> adjectives = tableRows(html.mid(second), u"Letter"_s);
        QCOMPARE(alphabet.size(), 9);
        QCOMPARE(adjectives.size(), 9);
        for (int i = 1; i <= 9; ++i) {
            const QString letter = u"BCDEFGHIK"_s.mid(i - 1, 1);
            QCOMPARE(alphabet[i - 1],
                     (QStringList{letter, tables.AbsPrinciples[i], tables.RelPrinciples[i],
                                  tables.Questions[i], tables.Subjects[i], tables.Virtues[i],
                                  tables.Vices[i]}));
            QCOMPARE(adjectives[i - 1],
                     (QStringList{letter, tables.AbsAdjectives[i], tables.RelAdjectives[i]}));
        }
    }
};

QTEST_MAIN(HelpTest)
#include "help_qtest.moc"
