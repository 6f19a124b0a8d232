#include "app/frmvelmora.h"
#include "core/units.h"
#include "music/core/cycleplayer.h"
#include "music/core/midimodule.h"
#include "resources/design/designdata.h"
#include "toolkit/controls.h"
#include "toolkit/formbuilder.h"
#include "toolkit/messagebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace velmora;

namespace {

struct Recorded
{
    QStringList texts;
    QStringList titles;
};

// Each window gets a program folder of its own, so no test reads another's settings.
std::unique_ptr<frmVelmora> makeWindow(int screenHeight, const QString &folder = QString())
{
    static QTemporaryDir scratch;
    frmVelmora::Environment env;
    env.screenHeight = [screenHeight] {
        return screenHeight;
    };
    env.programFolder = folder.isEmpty() ? scratch.path() : folder;
    env.configFolder = env.programFolder + QStringLiteral("/config");
    env.midiOutput = QStringLiteral("record");
    env.now = [] {
        return QDateTime(QDate(2026, 12, 6), QTime(11, 30, 0));
    };
    return std::make_unique<frmVelmora>(env);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyDesignControlExistsOnceByName();
    void controlsSitWhereTheDesignPutsThem_data();
    void controlsSitWhereTheDesignPutsThem();
    void captionsAndMenus();
    void screenCheck_data();
    void screenCheck();
    void startupDefaults();
    void middleVolumeRoundsHalfToEven_data();
    void middleVolumeRoundsHalfToEven();
    void switchingPagesKeepsContent();
    void exitClosesTheWindow();
    void settingsSurviveARestart();
    void settingsFileOfOnlyTheCombination();
    void settingsLineTwoExample();
    void closeBoxAndExitWriteTheSameFile();
    void shutdownReleasesInOrder_data();
    void shutdownReleasesInOrder();
};

void WindowTest::everyDesignControlExistsOnceByName()
{
    auto w = makeWindow(1024);
    const QJsonArray controls =
        FormBuilder::loadDesign(designDataPath()).value(QStringLiteral("controls")).toArray();
    QVERIFY(controls.size() > 90);
    QSet<QString> names;
    for (const QJsonValue &v : controls) {
        const QString name = v.toObject().value(QStringLiteral("name")).toString();
        QVERIFY2(!names.contains(name), qPrintable(name));
        names.insert(name);
        const QList<QObject *> found = w->form()->findChildren<QObject *>(name);
        QVERIFY2(found.size() == 1, qPrintable(name));
    }
}

void WindowTest::controlsSitWhereTheDesignPutsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("tip");

    QTest::newRow("picFig1") << "picFig1"
                             << "SSTab1" << QRect(480, 480, 4335, 4215)
                             << "First Figure - Click and hold for a definition";
    QTest::newRow("txtCode(0)") << "txtCode(0)"
                                << "SSTab1" << QRect(5040, 480, 1095, 450) << "Combination";
    QTest::newRow("lblFig2 in picFig2") << "lblFig2"
                                        << "picFig2" << QRect(960, 960, 2655, 2415) << "";
    QTest::newRow("optC1(3) in Frame2")
        << "optC1(3)"
        << "Frame2" << QRect(1560, 480, 735, 255) << "Evacuate figure based on Vices";
    QTest::newRow("txtPart6") << "txtPart6"
                              << "SSTab1" << QRect(240, 4440, 10575, 4815) << "Part 6 text";
    QTest::newRow("txtQDef(2)") << "txtQDef(2)"
                                << "SSTab1" << QRect(7680, 6000, 3015, 3495) << "Rule/Question";
    QTest::newRow("cmdJump(4)") << "cmdJump(4)"
                                << "SSTab1" << QRect(9840, 2640, 615, 375)
                                << "Stop continuous jump";
    QTest::newRow("cmbJump in Frame4")
        << "cmbJump"
        << "Frame4" << QRect(120, 1080, 855, 315) << "Number of units per jump";
    QTest::newRow("txtLatLong(2)")
        << "txtLatLong(2)"
        << "SSTab1" << QRect(10200, 2280, 735, 285) << "Time Zone (+ve=W of GMT -ve=E of GMT)";
    QTest::newRow("picCal") << "picCal"
                            << "SSTab1" << QRect(8160, 3480, 2895, 2355) << "";
    QTest::newRow("txtVolume(0)") << "txtVolume(0)"
                                  << "SSTab1" << QRect(9120, 6720, 375, 285)
                                  << "Min Volume (1-->127)";
    QTest::newRow("cmdBackForward(1)")
        << "cmdBackForward(1)"
        << "SSTab1" << QRect(10960, 280, 405, 315) << "Browse forward";
    QTest::newRow("WebBrowser1") << "WebBrowser1"
                                 << "SSTab1" << QRect(120, 600, 11175, 8895) << "";
}

void WindowTest::controlsSitWhereTheDesignPutsThem()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, twips);
    QFETCH(QString, tip);

    auto w = makeWindow(1024);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto *c = control<QWidget>(w->form(), name);
    auto *box = control<QWidget>(w->form(), container);
    // Show the control's page so the tab control has laid it out.
    for (int i = 0; i < w->SSTab1()->count(); ++i) {
        if (w->SSTab1()->widget(i)->isAncestorOf(c))
            w->SSTab1()->setCurrentIndex(i);
    }
    QCoreApplication::processEvents();
    const QPoint at = c->mapTo(box, QPoint(0, 0));
    QCOMPARE(at, QPoint(twipsToPixels(twips.left()), twipsToPixels(twips.top())));
    QCOMPARE(c->size(), QSize(twipsToPixels(twips.width()), twipsToPixels(twips.height())));
    QCOMPARE(c->toolTip(), tip);
}

void WindowTest::captionsAndMenus()
{
    auto w = makeWindow(1024);
    QCOMPARE(w->windowTitle(), QStringLiteral("Tarvel's Velmora"));
    w->Form_Load();
    QCOMPARE(w->windowTitle(), QStringLiteral("Tarvel's Velmora v1.26f"));
    QCOMPARE(w->form()->size(), QSize(774, 663));

    const QStringList pages{QStringLiteral("The Figures"),
                            QStringLiteral("Evacuating the 3rd figure"),
                            QStringLiteral("General Table"), QStringLiteral("The Seven Planets"),
                            QStringLiteral("Tarvelian Books")};
    QCOMPARE(w->SSTab1()->count(), pages.size());
    for (int i = 0; i < pages.size(); ++i)
        QCOMPARE(w->SSTab1()->tabText(i), pages.at(i));
    QCOMPARE(w->SSTab1()->currentIndex(), 0);

    const QList<QAction *> menus = w->menuBar()->actions();
    QCOMPARE(menus.size(), 2);
    QCOMPARE(menus.at(0)->text(), QStringLiteral("&File"));
    QCOMPARE(menus.at(1)->text(), QStringLiteral("&Help"));
    const QStringList helpItems{
        QStringLiteral("&How to use Velmora"), QStringLiteral("&Primer on the Velmora"),
        QStringLiteral("&Memorizable material"), QStringLiteral("&About Velmora")};
    const QList<QAction *> help = menus.at(1)->menu()->actions();
    QCOMPARE(help.size(), helpItems.size());
    for (int i = 0; i < help.size(); ++i) {
        QCOMPARE(help.at(i)->text(), helpItems.at(i));
        QVERIFY(help.at(i)->shortcut().isEmpty());
    }
    QCOMPARE(w->findChild<QAction *>(QStringLiteral("mnuFileExit"))->text(),
             QStringLiteral("E&xit"));

    const std::pair<const char *, const char *> buttons[] = {
        {"cmdCyclusHarmonicus", "Third Circle"},
        {"cmdDays", "Second Circle"},
        {"cmdZodiac", "First Circle"}};
    for (const auto &[name, caption] : buttons) {
        auto *b = control<QPushButton>(w->form(), QString::fromLatin1(name));
        QCOMPARE(b->text(), QString::fromLatin1(caption));
        QCOMPARE(b->property("Tag").toString(), QString::fromLatin1(caption));
    }
    QCOMPARE(control<QGroupBox>(w->form(), QStringLiteral("Frame4"))->title(),
             QStringLiteral("Time jump"));
    QVERIFY(
        !control<QPlainTextEdit>(w->form(), QStringLiteral("txtMedia"))->isVisibleTo(w->form()));
    QVERIFY(!control<QWidget>(w->form(), QStringLiteral("lblFig1"))->isVisibleTo(w->form()));
    QVERIFY(control<QTimer>(w->form(), QStringLiteral("Timer2"))->interval() == 1000);
    QVERIFY(!control<QTimer>(w->form(), QStringLiteral("Timer1"))->isActive());
}

void WindowTest::screenCheck_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("messages");
    QTest::newRow("767 pixels") << 767 << 1;
    QTest::newRow("768 pixels") << 768 << 0;
    QTest::newRow("1080 pixels") << 1080 << 0;
}

void WindowTest::screenCheck()
{
    QFETCH(int, height);
    QFETCH(int, messages);
    Recorded seen;
    ScopedMessageBoxHook hook([&](const QString &text, const QString &title) {
        seen.texts << text;
        seen.titles << title;
    });
    auto w = makeWindow(height);
    w->Form_Load();
    QCOMPARE(seen.texts.size(), messages);
    if (messages) {
        QCOMPARE(
            seen.texts.first(),
            QStringLiteral(
                "Sorry, this program is designed to work at resolutions of 1024x768 or better"));
        QCOMPARE(seen.titles.first(), QStringLiteral("Velmora"));
    }
    // Start-up goes on after the message.
    QCOMPARE(w->windowTitle(), QStringLiteral("Tarvel's Velmora v1.26f"));
    QCOMPARE(w->BookKeys[3], QStringLiteral("seven-planets"));
}

void WindowTest::startupDefaults()
{
    auto w = makeWindow(1024);
    w->Form_Load();
    const QWidget *f = w->form();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(control<QLineEdit>(f, arrayName(QStringLiteral("txtCode"), i))->text(),
                 QStringLiteral("BCD"));
    QCOMPARE(control<QLineEdit>(f, QStringLiteral("txtSpeed"))->text(), QStringLiteral("40"));
    QCOMPARE(control<QLineEdit>(f, QStringLiteral("txtPitch"))->text(), QStringLiteral("60"));
    QCOMPARE(control<QLineEdit>(f, QStringLiteral("txtLatLong(0)"))->text(),
             QStringLiteral("45.5N"));
    QCOMPARE(control<QLineEdit>(f, QStringLiteral("txtLatLong(1)"))->text(),
             QStringLiteral("75.7W"));
    QCOMPARE(w->musicState().minVolume, 64);
    QCOMPARE(w->musicState().maxVolume, 64);
    QCOMPARE(w->musicState().midVolume, 64);
    QCOMPARE(w->musicState().pitchOffset, 60);
    QCOMPARE(w->instrumentToSelect(), 50);

    const std::tuple<const char *, int, QString> combos[] = {{"cmbJump", 12, QStringLiteral("1")},
                                                             {"cmbChange", 9, QStringLiteral("3")},
                                                             {"cmbOct", 6, QStringLiteral("1")}};
    for (const auto &[name, count, current] : combos) {
        auto *c = control<QComboBox>(f, QString::fromLatin1(name));
        QCOMPARE(c->count(), count);
        QCOMPARE(c->currentText(), current);
        QCOMPARE(c->itemText(count - 1), QString::number(count));
    }
    QVERIFY(control<QRadioButton>(f, QStringLiteral("optTJ(0)"))->isChecked());
    QVERIFY(control<QRadioButton>(f, QStringLiteral("optBook(0)"))->isChecked());
    QVERIFY(control<QRadioButton>(f, QStringLiteral("optC1(0)"))->isChecked());
    QVERIFY(!control<QCheckBox>(f, QStringLiteral("chkCHMod"))->isChecked());

    auto *instruments = control<QComboBox>(f, QStringLiteral("cmbInstrument"));
    QCOMPARE(instruments->count(), 128);
    QCOMPARE(instruments->itemText(50), QStringLiteral("50 Synth Strings 1"));
    QCOMPARE(w->tables().AbsPrinciples[1], QStringLiteral("Goodness"));
    QCOMPARE(w->tables().CameraKeys[36], QStringLiteral("IK"));
}

void WindowTest::middleVolumeRoundsHalfToEven_data()
{
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::addColumn<int>("middle");
    QTest::newRow("1 and 126") << "1"
                               << "126" << 64;
    QTest::newRow("1 and 124") << "1"
                               << "124" << 62;
    QTest::newRow("text without a number") << "abc"
                                           << "64" << 32;
}

void WindowTest::middleVolumeRoundsHalfToEven()
{
    QFETCH(QString, low);
    QFETCH(QString, high);
    QFETCH(int, middle);
    auto w = makeWindow(1024);
    control<QLineEdit>(w->form(), QStringLiteral("txtVolume(0)"))->setText(low);
    control<QLineEdit>(w->form(), QStringLiteral("txtVolume(1)"))->setText(high);
    w->Form_Load();
    QCOMPARE(w->musicState().midVolume, middle);
}

void WindowTest::switchingPagesKeepsContent()
{
    auto w = makeWindow(1024);
    w->Form_Load();
    w->show();
    auto *date = control<QLineEdit>(w->form(), QStringLiteral("txtTheDate"));
    auto *media = control<QPlainTextEdit>(w->form(), QStringLiteral("txt3a(1)"));
    date->setText(QStringLiteral("05/Dec/2026"));
    media->setPlainText(QStringLiteral("Is goodness great?"));
    for (int i : {0, 3, 1, 4, 2, 3})
        w->SSTab1()->setCurrentIndex(i);
    QCOMPARE(date->text(), QStringLiteral("05/Dec/2026"));
    QCOMPARE(media->toPlainText(), QStringLiteral("Is goodness great?"));
}

void WindowTest::exitClosesTheWindow()
{
    auto w = makeWindow(1024);
    w->Form_Load();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->findChild<QAction *>(QStringLiteral("mnuFileExit"))->trigger();
    QTRY_VERIFY(!w->isVisible());
}

void WindowTest::settingsSurviveARestart()
{
    QTemporaryDir dir;
    {
        auto w = makeWindow(1024, dir.path());
        w->Form_Load();
        const QWidget *f = w->form();
        control<QLineEdit>(f, QStringLiteral("txtCode(0)"))->setText(QStringLiteral("B(T)CD"));
        control<QLineEdit>(f, QStringLiteral("txtSpeed"))->setText(QStringLiteral("90"));
        control<QComboBox>(f, QStringLiteral("cmbChange"))->setCurrentIndex(8);
        control<QComboBox>(f, QStringLiteral("cmbOct"))->setCurrentIndex(5);
        control<QRadioButton>(f, QStringLiteral("optTJ(4)"))->setChecked(true);
        control<QLineEdit>(f, QStringLiteral("txtVolume(0)"))->setText(QStringLiteral("40"));
        control<QLineEdit>(f, QStringLiteral("txtVolume(1)"))->setText(QStringLiteral("100"));
        control<QLineEdit>(f, QStringLiteral("txtPitch"))->setText(QStringLiteral("48"));
        control<QLineEdit>(f, QStringLiteral("txtLatLong(0)"))->setText(QStringLiteral("45.5N"));
        control<QLineEdit>(f, QStringLiteral("txtLatLong(1)"))->setText(QStringLiteral("2.3E"));
        control<QLineEdit>(f, QStringLiteral("txtLatLong(2)"))->setText(QStringLiteral("-1"));
        control<QCheckBox>(f, QStringLiteral("chkCHMod"))->setChecked(true);
        w->close();
    }
    QVERIFY(readFile(dir.filePath(QStringLiteral("Settings.txt"))).endsWith(" 1 \r\n"));
    auto w = makeWindow(1024, dir.path());
    w->Form_Load();
    const QWidget *f = w->form();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(control<QLineEdit>(f, arrayName(QStringLiteral("txtCode"), i))->text(),
                 QStringLiteral("B(T)CD"));
    QCOMPARE(control<QLineEdit>(f, QStringLiteral("txtSpeed"))->text(), QStringLiteral("90"));
    QCOMPARE(control<QComboBox>(f, QStringLiteral("cmbChange"))->currentIndex(), 8);
    QCOMPARE(control<QComboBox>(f, QStringLiteral("cmbOct"))->currentIndex(), 5);
    QVERIFY(control<QRadioButton>(f, QStringLiteral("optTJ(4)"))->isChecked());
    QVERIFY(!control<QRadioButton>(f, QStringLiteral("optTJ(0)"))->isChecked());
    QCOMPARE(w->musicState().minVolume, 40);
    QCOMPARE(w->musicState().maxVolume, 100);
    QCOMPARE(w->musicState().midVolume, 70);
    QCOMPARE(w->musicState().pitchOffset, 48);
    QCOMPARE(control<QLineEdit>(f, QStringLiteral("txtLatLong(0)"))->text(),
             QStringLiteral("45.5N"));
    QCOMPARE(control<QLineEdit>(f, QStringLiteral("txtLatLong(1)"))->text(),
             QStringLiteral("2.3E"));
    QCOMPARE(control<QLineEdit>(f, QStringLiteral("txtLatLong(2)"))->text(), QStringLiteral("-1"));
    QVERIFY(control<QCheckBox>(f, QStringLiteral("chkCHMod"))->isChecked());
}

void WindowTest::settingsFileOfOnlyTheCombination()
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("Settings.txt")), "CDE\r\n");
    auto w = makeWindow(1024, dir.path());
    w->Form_Load();
    const QWidget *f = w->form();
    QCOMPARE(control<QLineEdit>(f, QStringLiteral("txtCode(2)"))->text(), QStringLiteral("CDE"));
    QCOMPARE(control<QLineEdit>(f, QStringLiteral("txtSpeed"))->text(), QStringLiteral("40"));
    QCOMPARE(control<QLineEdit>(f, QStringLiteral("txtLatLong(1)"))->text(),
             QStringLiteral("75.7W"));
    QCOMPARE(control<QComboBox>(f, QStringLiteral("cmbChange"))->currentText(),
             QStringLiteral("3"));
    QCOMPARE(w->instrumentToSelect(), 50);
    QCOMPARE(w->musicState().midVolume, 64);
}

void WindowTest::settingsLineTwoExample()
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("Settings.txt")), "BCD\r\n40\t2\t0\t1\t50\r\n");
    auto w = makeWindow(1024, dir.path());
    w->Form_Load();
    const QWidget *f = w->form();
    QCOMPARE(control<QComboBox>(f, QStringLiteral("cmbChange"))->currentText(),
             QStringLiteral("3"));
    QCOMPARE(control<QComboBox>(f, QStringLiteral("cmbOct"))->currentText(), QStringLiteral("1"));
    QVERIFY(control<QRadioButton>(f, QStringLiteral("optTJ(1)"))->isChecked());
    QCOMPARE(w->instrumentToSelect(), 50);
}

void WindowTest::closeBoxAndExitWriteTheSameFile()
{
    QTemporaryDir byBox;
    QTemporaryDir byMenu;
    {
        auto w = makeWindow(1024, byBox.path());
        w->Form_Load();
        w->show();
        w->close();
    }
    {
        auto w = makeWindow(1024, byMenu.path());
        w->Form_Load();
        w->show();
        w->findChild<QAction *>(QStringLiteral("mnuFileExit"))->trigger();
    }
    const QByteArray a = readFile(byBox.filePath(QStringLiteral("Settings.txt")));
    QVERIFY(!a.isEmpty());
    QCOMPARE(readFile(byMenu.filePath(QStringLiteral("Settings.txt"))), a);
}

void WindowTest::shutdownReleasesInOrder_data()
{
    QTest::addColumn<bool>("withFont");
    QTest::newRow("symbol font present") << true;
    QTest::newRow("symbol font missing") << false;
}

// MIDI closed, then the font removed, then the settings written, then the ephemeris released.
void WindowTest::shutdownReleasesInOrder()
{
    QFETCH(bool, withFont);
    QTemporaryDir dir;
    if (withFont) {
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/astrol.ttf"),
                            dir.filePath(QStringLiteral("astrol.ttf"))));
    }
    frmVelmora::Environment env;
    env.screenHeight = [] {
        return 1024;
    };
    env.programFolder = dir.path();
    env.configFolder = dir.filePath(QStringLiteral("config"));
    env.midiOutput = QStringLiteral("record");
    env.now = [] {
        return QDateTime(QDate(2026, 12, 6), QTime(11, 30, 0));
    };
    frmVelmora *window = nullptr;
    QStringList seen;
    env.releaseEphemeris = [&] {
        seen << QStringLiteral("release");
        QVERIFY(!window->midi().isOpen());
        QVERIFY(!QFontDatabase::families().contains(QStringLiteral("Astro")));
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("Settings.txt"))));
    };
    auto w = std::make_unique<frmVelmora>(env);
    window = w.get();
    w->Form_Load();
    QCOMPARE(w->FontAdded, withFont);
    QCOMPARE(QFontDatabase::families().contains(QStringLiteral("Astro")), withFont);
    QVERIFY(w->midi().isOpen());
    w->show();
    w->close();
    QCOMPARE(seen, QStringList{QStringLiteral("release")});
    // Closing again (the close box after File, Exit) runs nothing twice.
    w->close();
    QCOMPARE(seen.size(), 1);
}

QTEST_MAIN(WindowTest)
#include "window_qtest.moc"
