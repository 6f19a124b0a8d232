#include "app/frmvelmora.h"
#include "core/units.h"
#include "music/core/cycleplayer.h"
#include "music/core/midimodule.h"
#include "music/midi/recordingoutput.h"
#include "music/view/musicpage.h"
#include "resources/design/designdata.h"
#include "sky/view/planetchart.h"
#include "tests/music/synthmodel.h"
#include "toolkit/controls.h"
#include "toolkit/formbuilder.h"
#include "toolkit/messagebox.h"
#include "toolkit/picturebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QJsonArray>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// Windows run in a scratch program folder, never beside the real settings.
frmVelmora::Environment environment(const QString &folder, int screenHeight = 1024)
{
    frmVelmora::Environment env;
    env.screenHeight = [screenHeight] {
        return screenHeight;
    };
    env.programFolder = folder;
    env.configFolder = folder + u"/config"_s;
    env.midiOutput = u"record"_s;
    env.now = [] {
        return QDateTime(QDate(2026, 12, 6), QTime(11, 30, 0));
    };
    return env;
}

std::unique_ptr<frmVelmora> makeWindow(const QString &folder, int screenHeight = 1024)
{
    return std::make_unique<frmVelmora>(environment(folder, screenHeight));
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString textOf(const QWidget *form, const QString &name)
{
    return control<QLineEdit>(form, name)->text();
}

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;

private Q_SLOTS:
    void everyDesignControlExistsOnceByName()
    {
        auto w = makeWindow(m_scratch.path());
        const QJsonArray controls =
            FormBuilder::loadDesign(designDataPath()).value(u"controls"_s).toArray();
        QVERIFY(controls.size() > 90);
        QSet<QString> names;
        for (const QJsonValue &v : controls) {
            const QString name = v.toObject().value(u"name"_s).toString();
            QVERIFY2(!names.contains(name), qPrintable(name));
            names.insert(name);
            QVERIFY2(w->form()->findChildren<QObject *>(name).size() == 1, qPrintable(name));
        }
    }

    void controlsSitWhereTheDesignPutsThem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("tip");
        QTest::newRow("picFig1") << u"picFig1"_s << u"SSTab1"_s << QRect(480, 480, 4335, 4215)
                                 << u"First Figure - Click and hold for a definition"_s;
        QTest::newRow("lblFig2 in picFig2")
            << u"lblFig2"_s << u"picFig2"_s << QRect(960, 960, 2655, 2415) << QString();
        QTest::newRow("optC1(3) in Frame2")
            << u"optC1(3)"_s << u"Frame2"_s << QRect(1560, 480, 735, 255)
            << u"Evacuate figure based on Vices"_s;
    }
    void controlsSitWhereTheDesignPutsThem()
    {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QRect, twips);
        QFETCH(QString, tip);
        auto w = makeWindow(m_scratch.path());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        auto *c = control<QWidget>(w->form(), name);
        // Show the control's page so the tab control has laid it out.
        for (int i = 0; i < w->SSTab1()->count(); ++i) {
            if (w->SSTab1()->widget(i)->isAncestorOf(c))
                w->SSTab1()->setCurrentIndex(i);
        }
        QCoreApplication::processEvents();
        QCOMPARE(c->mapTo(control<QWidget>(w->form(), container), QPoint(0, 0)),
                 QPoint(twipsToPixels(twips.left()), twipsToPixels(twips.top())));
        QCOMPARE(c->size(), QSize(twipsToPixels(twips.width()), twipsToPixels(twips.height())));
        QCOMPARE(c->toolTip(), tip);
    }

    void screenCheck_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("warned");
        QTest::newRow("767 pixels") << 767 << true;
        QTest::newRow("768 pixels") << 768 << false;
    }
    void screenCheck()
    {
        QFETCH(int, height);
        QFETCH(bool, warned);
        QStringList seen;
        ScopedMessageBoxHook hook(
            [&](const QString &text, const QString &title) { seen << title << text; });
        auto w = makeWindow(m_scratch.path(), height);
        w->Form_Load();
        const QStringList message{u"Velmora"_s, u"Sorry, this program is designed to work at "
                                                u"resolutions of 1024x768 or better"_s};
        QCOMPARE(seen, warned ? message : QStringList());
        // Start-up goes on after the message.
        QCOMPARE(w->windowTitle(), u"Tarvel's Velmora v1.26f"_s);
    }

    void startupDefaults()
    {
        auto w = makeWindow(m_scratch.path());
        w->Form_Load();
        const QWidget *f = w->form();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(textOf(f, arrayName(u"txtCode"_s, i)), u"BCD"_s);
        QCOMPARE(textOf(f, u"txtLatLong(1)"_s), u"75.7W"_s);
        QCOMPARE(w->musicState().midVolume, 64);
        QCOMPARE(w->instrumentToSelect(), 50);
        QCOMPARE(control<QComboBox>(f, u"cmbChange"_s)->currentText(), u"3"_s);
        QCOMPARE(control<QComboBox>(f, u"cmbInstrument"_s)->count(), 128);
        QVERIFY(control<QRadioButton>(f, u"optTJ(0)"_s)->isChecked());
        QCOMPARE(w->tables().AbsPrinciples[1], u"Goodness"_s);
        QCOMPARE(w->form()->size(), QSize(774, 663));
        QVERIFY(!control<QTimer>(w->form(), u"Timer1"_s)->isActive());
    }

    void middleVolumeRoundsHalfToEven_data()
    {
        QTest::addColumn<QString>("low");
        QTest::addColumn<QString>("high");
        QTest::addColumn<int>("middle");
        QTest::newRow("1 and 124") << u"1"_s << u"124"_s << 62;
        QTest::newRow("text without a number") << u"abc"_s << u"64"_s << 32;
    }
    void middleVolumeRoundsHalfToEven()
    {
        QFETCH(QString, low);
        QFETCH(QString, high);
        QFETCH(int, middle);
        auto w = makeWindow(m_scratch.path());
        control<QLineEdit>(w->form(), u"txtVolume(0)"_s)->setText(low);
        control<QLineEdit>(w->form(), u"txtVolume(1)"_s)->setText(high);
        w->Form_Load();
        QCOMPARE(w->musicState().midVolume, middle);
    }

    void settingsSurviveARestart()
    {
        QTemporaryDir dir;
        const std::pair<QString, QString> boxes[] = {
            {u"txtCode(0)"_s, u"B(T)CD"_s},  {u"txtSpeed"_s, u"90"_s},
            {u"txtVolume(0)"_s, u"40"_s},    {u"txtVolume(1)"_s, u"100"_s},
            {u"txtPitch"_s, u"48"_s},        {u"txtLatLong(0)"_s, u"45.5N"_s},
            {u"txtLatLong(1)"_s, u"2.3E"_s}, {u"txtLatLong(2)"_s, u"-1"_s}};
        {
            auto w = makeWindow(dir.path());
            w->Form_Load();
            const QWidget *f = w->form();
            for (const auto &[name, text] : boxes)
                control<QLineEdit>(f, name)->setText(text);
            control<QComboBox>(f, u"cmbChange"_s)->setCurrentIndex(8);
            control<QComboBox>(f, u"cmbOct"_s)->setCurrentIndex(5);
            control<QRadioButton>(f, u"optTJ(4)"_s)->setChecked(true);
            control<QCheckBox>(f, u"chkCHMod"_s)->setChecked(true);
            w->close();
        }
        QVERIFY(readFile(dir.filePath(u"Settings.txt"_s)).endsWith(" 1 \r\n"));
        auto w = makeWindow(dir.path());
        w->Form_Load();
        const QWidget *f = w->form();
        for (const auto &[name, text] : boxes)
            QCOMPARE(textOf(f, name), text);
        QCOMPARE(textOf(f, u"txtCode(2)"_s), u"B(T)CD"_s);
        QCOMPARE(control<QComboBox>(f, u"cmbChange"_s)->currentIndex(), 8);
        QCOMPARE(control<QComboBox>(f, u"cmbOct"_s)->currentIndex(), 5);
        QVERIFY(control<QRadioButton>(f, u"optTJ(4)"_s)->isChecked());
        QCOMPARE(w->musicState().midVolume, 70);
        QVERIFY(control<QCheckBox>(f, u"chkCHMod"_s)->isChecked());
    }

    void shortSettingsFilesKeepTheDesignValues()
    {
        QTemporaryDir onlyCode;
        QFile file(onlyCode.filePath(u"Settings.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("CDE\r\n") == 5);
        file.close();
        auto w = makeWindow(onlyCode.path());
        w->Form_Load();
        QCOMPARE(textOf(w->form(), u"txtCode(2)"_s), u"CDE"_s);
        QCOMPARE(textOf(w->form(), u"txtSpeed"_s), u"40"_s);
        QCOMPARE(control<QComboBox>(w->form(), u"cmbChange"_s)->currentText(), u"3"_s);
        QCOMPARE(w->instrumentToSelect(), 50);

        QTemporaryDir lineTwo;
        file.setFileName(lineTwo.filePath(u"Settings.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("BCD\r\n40\t2\t0\t1\t50\r\n") > 0);
        file.close();
        w = makeWindow(lineTwo.path());
        w->Form_Load();
        QCOMPARE(control<QComboBox>(w->form(), u"cmbChange"_s)->currentText(), u"3"_s);
        QVERIFY(control<QRadioButton>(w->form(), u"optTJ(1)"_s)->isChecked());
        QCOMPARE(w->instrumentToSelect(), 50);
    }

    void closeBoxAndExitWriteTheSameFile()
    {
        QTemporaryDir byBox;
        QTemporaryDir byMenu;
        {
            auto w = makeWindow(byBox.path());
            w->Form_Load();
            w->show();
            w->close();
        }
        auto w = makeWindow(byMenu.path());
        w->Form_Load();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->findChild<QAction *>(u"mnuFileExit"_s)->trigger();
        QTRY_VERIFY(!w->isVisible());
        const QByteArray a = readFile(byBox.filePath(u"Settings.txt"_s));
        QVERIFY(!a.isEmpty());
        QCOMPARE(readFile(byMenu.filePath(u"Settings.txt"_s)), a);
    }

    void shutdownReleasesInOrder_data()
    {
        QTest::addColumn<bool>("withFont");
        QTest::newRow("symbol font present") << true;
        QTest::newRow("symbol font missing") << false;
    }

    // MIDI closed, then the font removed, then the settings written, then the ephemeris released.
    void shutdownReleasesInOrder()
    {
        QFETCH(bool, withFont);
        QTemporaryDir dir;
        if (withFont) {
            QVERIFY(
                QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/astrol.ttf"),
                            dir.filePath(QStringLiteral("astrol.ttf"))));
        }
        frmVelmora::Environment env = environment(dir.path());
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

    // The built-in synthesiser loads its instruments after the window is up; closing at once
    // waits for it and lets everything go.
    void closesWhileTheSynthesiserLoads()
    {
        frmVelmora::Environment env = environment(m_scratch.path());
        env.midiOutput = u"synth"_s;
        frmVelmora w(env);
        w.Form_Load();
        QCOMPARE(w.midiOutputName(), u"synth"_s);
        w.close();
        QVERIFY(!w.midi().isOpen());
    }

    // A cycle on an output nobody hears says so in the status bar, never in a dialog. A new
    // output chosen mid-cycle plays on with the instrument and every voice the cycle holds, and
    // each beat leaves the chart as a fresh drawing of that moment would be.
    void soundOutputMidCycle()
    {
        auto w = makeWindow(m_scratch.path());
        w->Form_Load();
        int dialogs = 0;
        ScopedMessageBoxHook hook([&](const QString &, const QString &) { ++dialogs; });
        dynamic_cast<RecordingOutput &>(*w->midi().output()).setInaudibleReason(u"No sound: x"_s);
        control<QPushButton>(w->form(), u"cmdZodiac"_s)->click();
        QCOMPARE(w->statusBar()->currentMessage(), u"No sound: x"_s);
        for (int beat = 0; beat < 3; ++beat) {
            w->music()->Timer1_Timer();
            const QImage afterBeat = w->chart()->picture()->image().copy();
            w->chart()->ShowPlanets();
            QCOMPARE(w->chart()->picture()->image(), afterBeat);
        }

        w->chooseMidiOutput(u"record"_s);
        QVERIFY(w->statusBar()->currentMessage().isEmpty());
        test::SynthModel synth;
        synth.take(dynamic_cast<RecordingOutput &>(*w->midi().output()));
        QCOMPARE(synth.program, w->instrumentToSelect());
        const auto &notes = w->musicState().chordNotes;
        const QSet<int> held(notes.begin() + 1, notes.begin() + 8);
        QCOMPARE(synth.soundingKeys(), int(held.size()));
        for (int note : held)
            QVERIFY2(synth.sounding(note), qPrintable(QString::number(note)));
        QCOMPARE(dialogs, 0);
    }
};

QTEST_MAIN(WindowTest)
#include "window_qtest.moc"
