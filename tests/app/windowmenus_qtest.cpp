// The View menu's zoom and the File menu's export and printing on the real window, with the
// dialogs answered by hooks; and the preferences file that remembers the zoom.

#include "calendar/view/monthcalendar.h"
#include "sky/view/planetchart.h"
#include "testwindow.h"
#include "toolkit/controls.h"
#include "toolkit/dialogs.h"
#include "toolkit/messagebox.h"
#include "toolkit/pageexport.h"
#include "toolkit/picturebox.h"

#include <QAction>
#include <QIcon>
#include <QImage>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

constexpr int kPlanets = 3;

QMultiHash<QString, QString> svgTexts(const QByteArray &svg)
{
    QMultiHash<QString, QString> texts;
    for (QXmlStreamReader xml(svg); !xml.atEnd();) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"text") {
            const QString family = xml.attributes().value(u"font-family"_s).toString();
            texts.insert(family, xml.readElementText());
        }
    }
    return texts;
}

QAction *action(const frmVelmora &w, const char *name)
{
    return w.findChild<QAction *>(QString::fromLatin1(name));
}

} // namespace

class WindowMenusTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<frmVelmora> m_window;
    QStringList m_messages;
    std::unique_ptr<ScopedMessageBoxHook> m_messageHook;

    void exportVia(const char *command, const QString &path)
    {
        ScopedFileDialogHook hook([&](const FileDialogRequest &) { return path; });
        action(*m_window, command)->trigger();
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

    // Shown on any page, the chart goes out alone, its letters and glyphs as text, its symbol
    // font with it.
    void exportsKeepTheirLettersFontAndScale()
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

        // PNG, of the chart or of a page, is 300 dots per design inch, whatever the zoom.
        action(*m_window, "mnuViewZoom150")->trigger();
        const QString chart = m_dir.filePath(u"chart.png"_s);
        exportVia("mnuFileExportChart", chart);
        const QImage image(chart);
        QCOMPARE(image.width(), 7215 * 300 / 1440);
        QCOMPARE(image.dotsPerMeterX(), 11811);

        action(*m_window, "mnuViewActualSize")->trigger();
        m_window->SSTab1()->setCurrentIndex(kPlanets);
        const QString page = m_dir.filePath(u"page.png"_s);
        exportVia("mnuFileExportPage", page);
        const QSize shown = m_window->SSTab1()->currentWidget()->size();
        QCOMPARE(QImage(page).size(),
                 QSize(qRound(shown.width() * 3.125), qRound(shown.height() * 3.125)));

        const QString pdf = m_dir.filePath(u"chart.pdf"_s);
        exportVia("mnuFileExportChart", pdf);
        QVERIFY(test::readFile(pdf).startsWith("%PDF"));
        if (QStandardPaths::findExecutable(u"pdftoppm"_s).isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed");
        QProcess fonts;
        fonts.start(u"pdffonts"_s, {pdf});
        QVERIFY(fonts.waitForFinished());
        QVERIFY(fonts.readAllStandardOutput().contains("Astro"));
        const QString png = m_dir.filePath(u"chart-page"_s);
        QCOMPARE(QProcess::execute(u"pdftoppm"_s,
                                   {u"-r"_s, u"96"_s, u"-png"_s, u"-singlefile"_s, pdf, png}),
                 0);
        const QImage rendered(png + u".png"_s);
        // 7215 twips are 481 pixels at 96 dpi, the chart's outer ring near the top.
        QVERIFY(std::abs(rendered.width() - 481) <= 1);
        int darkest = 255;
        for (int y = 0; y < 16; ++y)
            darkest = std::min(darkest, qGray(rendered.pixel(rendered.width() / 2, y)));
        QVERIFY(darkest < 128);
    }

    void printingGivesOnePageInVectorForm()
    {
        const QString path = m_dir.filePath(u"printed.pdf"_s);
        bool accept = false;
        ScopedPrintDialogHook hook([&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return accept;
        });
        m_window->SSTab1()->setCurrentIndex(kPlanets);
        action(*m_window, "mnuFilePrint")->trigger(); // cancelled: nothing printed, nothing said
        QVERIFY(!QFile::exists(path));
        accept = true;
        action(*m_window, "mnuFilePrint")->trigger();
        QVERIFY(m_messages.isEmpty());
        const QByteArray pdf = test::readFile(path);
        static const QRegularExpression page(u"/Type\\s*/Page[^s]"_s);
        QCOMPARE(QString::fromLatin1(pdf).count(page), 1);
        // Drawn, not pasted: no picture of the page in the file, only the style's little ones.
        static const QRegularExpression imageWidth(u"/Width (\\d+)"_s);
        for (const auto &match : imageWidth.globalMatch(QString::fromLatin1(pdf)))
            QVERIFY(match.captured(1).toInt() < 1000);
        // Qt's printing comes with a module of the program's own; without it, printing says why.
        QString why;
        QVERIFY(!loadPrintModule(m_dir.filePath(u"velmora-print"_s), &why));
        QVERIFY2(why.startsWith(u"printing is not available"_s), qPrintable(why));
    }

    // A folder that is a file, or a kind of file not offered: said, and nothing left behind.
    void failuresSayWhyAndLeaveNothing()
    {
        QVERIFY(test::writeFile(m_dir.filePath(u"blocker"_s), {}));
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

    void zoomScalesTheFormAndKeepsEverything()
    {
        frmVelmora *w = m_window.get();
        const QWidget *f = w->form();
        w->SSTab1()->setCurrentIndex(kPlanets);
        auto *zodiac = control<QPushButton>(f, u"cmdZodiac"_s);
        zodiac->click(); // a cycle plays through the zoom

        const char *samples[] = {"picAstro", "txtCode(0)", "optC1(3)", "cmdBackForward(1)",
                                 "txtSpeed"};
        std::vector<std::pair<QRect, double>> before;
        for (const char *name : samples) {
            const auto *c = control<QWidget>(f, QString::fromLatin1(name));
            before.emplace_back(c->geometry(), c->font().pointSizeF());
        }
        auto *table = control<QPlainTextEdit>(f, u"txtOut"_s);
        const QString tableText = table->toPlainText();
        const double tablePoints = table->font().pointSizeF();
        auto *calendar = control<PictureBox>(f, u"picCal"_s);
        const QImage month = calendar->image();

        action(*w, "mnuViewZoom200")->trigger();
        QCOMPARE(f->size(), QSize(1548, 1326));
        for (size_t i = 0; i < std::size(samples); ++i) {
            const auto *c = control<QWidget>(f, QString::fromLatin1(samples[i]));
            QCOMPARE(c->geometry(),
                     QRect(before[i].first.topLeft() * 2, before[i].first.size() * 2));
            QCOMPARE(c->font().pointSizeF(), before[i].second * 2);
        }
        // The arrow, read when first drawn, is the picture of its file at every density.
        const QIcon arrow = control<QPushButton>(f, u"cmdBackForward(1)"_s)->icon();
        QCOMPARE(control<QPushButton>(f, u"cmdBackForward(1)"_s)->iconSize(), QSize(28, 28));
        for (const qreal ratio : {1.0, 2.0}) {
            const QPixmap drawn = arrow.pixmap(QSize(28, 28), ratio);
            QCOMPARE(drawn.toImage(),
                     QIcon(u":/design/arrow-right.svg"_s).pixmap(QSize(28, 28), ratio).toImage());
            QCOMPARE(drawn.devicePixelRatio(), ratio);
        }
        QVERIFY(action(*w, "mnuViewZoom200")->isChecked());
        QCOMPARE(table->toPlainText(), tableText);
        // The planet table is the same table, only larger (a step smaller where the larger
        // font runs wider), also when it is written again.
        const auto tableZoomed = [&] {
            const double points = table->font().pointSizeF();
            return points > 1.9 * tablePoints && points <= 2 * tablePoints;
        };
        QVERIFY(tableZoomed());
        w->chart()->ShowPlanets();
        QVERIFY(tableZoomed());
        QCOMPARE(control<QLineEdit>(f, u"txtCode(0)"_s)->text(), u"BCD"_s);
        QCOMPARE(zodiac->text(), u"Stop"_s);
        QVERIFY(control<QTimer>(f, u"Timer1"_s)->isActive());
        // The pictures keep their twips, and what is drawn after the zoom is drawn as before.
        QCOMPARE(calendar->ScaleWidth(), 2895.0);
        calendar->Cls(); // or the calendar sees its drawing still shown and skips it
        w->calendar()->RefreshCalendar();
        QCOMPARE(calendar->image(), month);

        action(*w, "mnuViewZoomIn")->trigger();
        action(*w, "mnuViewZoomIn")->trigger();
        QVERIFY(action(*w, "mnuViewZoom300")->isChecked());
        QVERIFY(!action(*w, "mnuViewZoomIn")->isEnabled());
        action(*w, "mnuViewZoomOut")->trigger();
        QVERIFY(action(*w, "mnuViewZoom250")->isChecked());
        action(*w, "mnuViewActualSize")->trigger();
        QCOMPARE(f->size(), QSize(774, 663));
        QCOMPARE(control<QWidget>(f, u"picAstro"_s)->geometry(), before[0].first);
        QVERIFY(!action(*w, "mnuViewZoomOut")->isEnabled());
        zodiac->click();
    }

    // The zoom comes back from the preferences when it is one of the steps (a damaged file is the
    // preferences' own test); a new choice is written at once.
    void zoomAndOutputAreRemembered()
    {
        const auto setting = [](const QTemporaryDir &dir, const QString &key) {
            return QSettings(dir.filePath(u"Velmora.ini"_s), QSettings::IniFormat).value(key);
        };
        const std::pair<QByteArray, QSize> cases[] = {{"[View]\nZoom=150\n", QSize(1161, 995)},
                                                      {"[View]\nZoom=110\n", QSize(774, 663)}};
        for (const auto &[file, form] : cases) {
            QTemporaryDir dir;
            QVERIFY(test::writeFile(dir.filePath(u"Velmora.ini"_s), file));
            auto w = test::startedWindow(dir.path());
            QCOMPARE(w->form()->size(), form);
            action(*w, "mnuViewZoom250")->trigger();
            QCOMPARE(setting(dir, u"View/Zoom"_s).toInt(), 250);
        }

        // The sound output of earlier versions moves into the preferences on the first start;
        // from then on the preferences decide.
        QTemporaryDir dir;
        QVERIFY(test::writeFile(dir.filePath(u"Output.txt"_s), "alsa\r\n"));
        test::startedWindow(dir.path());
        QCOMPARE(setting(dir, u"Sound/Output"_s).toString(), u"alsa"_s);
        QVERIFY(test::writeFile(dir.filePath(u"Output.txt"_s), "synth\r\n"));
        test::startedWindow(dir.path());
        QCOMPARE(setting(dir, u"Sound/Output"_s).toString(), u"alsa"_s);
    }
};

QTEST_MAIN(WindowMenusTest)
#include "windowmenus_qtest.moc"
