// Export and printing through the File menu of the real window, with the dialogs answered by
// hooks.

#include "app/frmvelmora.h"
#include "testwindow.h"
#include "toolkit/controls.h"
#include "toolkit/dialogs.h"
#include "toolkit/messagebox.h"
#include "toolkit/picturebox.h"

#include <QAction>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

constexpr int kPlanets = 3;

// The texts of an SVG file by font family.
QMultiHash<QString, QString> svgTexts(const QByteArray &svg)
{
    QMultiHash<QString, QString> texts;
    QXmlStreamReader xml(svg);
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (xml.isStartElement() && xml.name() == u"text") {
            const QString family = xml.attributes().value(u"font-family"_s).toString();
            texts.insert(family, xml.readElementText());
        } else if (!xml.isStartElement()) {
            xml.readNext();
        }
    }
    return texts;
}

} // namespace

class WindowExportTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<frmVelmora> m_window;
    QStringList m_messages;
    std::unique_ptr<ScopedMessageBoxHook> m_messageHook;

    // Chooses the path in the save dialog and runs the menu command.
    void exportVia(const char *command, const QString &path)
    {
        ScopedSaveFileHook hook(
            [&](const QString &, const QString &, const QStringList &) { return path; });
        m_window->findChild<QAction *>(QString::fromLatin1(command))->trigger();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + u"/astrol.ttf"_s,
                            m_dir.filePath(u"astrol.ttf"_s)));
        m_window = test::startedWindow(m_dir.path());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_messageHook = std::make_unique<ScopedMessageBoxHook>(
            [this](const QString &text, const QString &) { m_messages << text; });
    }

    void init() { m_messages.clear(); }

    // Shown on any page, the chart goes out alone, its letters and glyphs as text.
    void chartAsSvgKeepsItsLettersAsText()
    {
        m_window->SSTab1()->setCurrentIndex(0);
        const QString path = m_dir.filePath(u"chart.svg"_s);
        exportVia("mnuFileExportChart", path);
        QVERIFY(m_messages.isEmpty());
        QVERIFY(QSvgRenderer(path).isValid());
        // The symbol font travels with the file: viewers elsewhere have no "Astro".
        QVERIFY(
            test::readFile(path).contains("@font-face { font-family: \"Astro\"; src: url(data:"));
        const auto texts = svgTexts(test::readFile(path));
        const QList<QString> glyphs = texts.values(u"Astro"_s);
        QCOMPARE(QSet<QString>(glyphs.begin(), glyphs.end()),
                 (QSet<QString>{u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s, u"F"_s, u"G"_s, u"H"_s,
                                u"I"_s, u"J"_s, u"K"_s, u"L"_s, u"Q"_s, u"R"_s, u"S"_s, u"T"_s,
                                u"U"_s, u"V"_s, u"W"_s}));
        const QList<QString> letters = texts.values(u"Arial"_s);
        QVERIFY(letters.contains(u"Asc"_s) && letters.contains(u"AB"_s));
        QVERIFY(m_window->statusBar()->currentMessage().contains(u"chart.svg"_s));
    }

    void chartAsPdfRendersWithItsFont()
    {
        const QString path = m_dir.filePath(u"chart.pdf"_s);
        exportVia("mnuFileExportChart", path);
        QVERIFY(test::readFile(path).startsWith("%PDF"));
        if (QStandardPaths::findExecutable(u"pdftoppm"_s).isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed");
        QProcess fonts;
        fonts.start(u"pdffonts"_s, {path});
        QVERIFY(fonts.waitForFinished());
        QVERIFY(fonts.readAllStandardOutput().contains("Astro"));
        const QString png = m_dir.filePath(u"chart-page"_s);
        QCOMPARE(QProcess::execute(u"pdftoppm"_s,
                                   {u"-r"_s, u"96"_s, u"-png"_s, u"-singlefile"_s, path, png}),
                 0);
        const QImage rendered(png + u".png"_s);
        // 7215 twips are 5.01 inches: 481 pixels at 96 dpi, with the chart's outer ring near the
        // top.
        QVERIFY(std::abs(rendered.width() - 481) <= 1);
        int darkest = 255;
        for (int y = 0; y < 16; ++y)
            darkest = std::min(darkest, qGray(rendered.pixel(rendered.width() / 2, y)));
        QVERIFY(darkest < 128);
    }

    // PNG is 300 dots per design inch, whatever the zoom.
    void pngIsThreeHundredDotsPerInch()
    {
        m_window->findChild<QAction *>(u"mnuViewZoom150"_s)->trigger();
        const QString chart = m_dir.filePath(u"chart.png"_s);
        exportVia("mnuFileExportChart", chart);
        const QImage image(chart);
        QCOMPARE(image.width(), 7215 * 300 / 1440);
        QCOMPARE(image.dotsPerMeterX(), 11811);

        m_window->findChild<QAction *>(u"mnuViewActualSize"_s)->trigger();
        m_window->SSTab1()->setCurrentIndex(kPlanets);
        const QString page = m_dir.filePath(u"page.png"_s);
        exportVia("mnuFileExportPage", page);
        const QSize shown = m_window->SSTab1()->currentWidget()->size();
        QCOMPARE(QImage(page).size(),
                 QSize(qRound(shown.width() * 3.125), qRound(shown.height() * 3.125)));
    }

    void printingGivesOnePageInVectorForm()
    {
        const QString path = m_dir.filePath(u"printed.pdf"_s);
        ScopedPrintDialogHook hook([&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return true;
        });
        m_window->SSTab1()->setCurrentIndex(kPlanets);
        m_window->findChild<QAction *>(u"mnuFilePrint"_s)->trigger();
        const QByteArray pdf = test::readFile(path);
        QVERIFY(pdf.startsWith("%PDF"));
        static const QRegularExpression page(u"/Type\\s*/Page[^s]"_s);
        QCOMPARE(QString::fromLatin1(pdf).count(page), 1);
        // Drawn, not pasted: no picture of the page in the file, only the style's little ones.
        static const QRegularExpression imageWidth(u"/Width (\\d+)"_s);
        for (const auto &match : imageWidth.globalMatch(QString::fromLatin1(pdf)))
            QVERIFY(match.captured(1).toInt() < 1000);
    }

    // A folder that is a file, or a kind of file not offered: said, and nothing left behind.
    void failuresSayWhyAndLeaveNothing()
    {
        QFile blocker(m_dir.filePath(u"blocker"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        for (const QString &name : {u"blocker/chart.pdf"_s, u"chart.jpg"_s}) {
            m_messages.clear();
            const QString path = m_dir.filePath(name);
            exportVia("mnuFileExportPage", path);
            QCOMPARE(m_messages.size(), 1);
            QVERIFY(m_messages.first().contains(QDir::toNativeSeparators(path)));
            QVERIFY(!QFile::exists(path));
            QCOMPARE(QDir(m_dir.path()).entryList({u"*.jpg"_s, u"chart.pdf.*"_s}), QStringList());
        }
        exportVia("mnuFileExportPage", QString()); // cancelled: nothing at all
        QCOMPARE(m_messages.size(), 1);
    }

    void cleanupTestCase()
    {
        m_messageHook.reset();
        m_window.reset();
    }
};

QTEST_MAIN(WindowExportTest)
#include "windowexport_qtest.moc"
