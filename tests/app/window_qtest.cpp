#include "art/core/evacuation.h"
#include "books/bookbrowser.h"
#include "core/units.h"
#include "music/core/cycleplayer.h"
#include "music/core/midifile.h"
#include "music/core/midimodule.h"
#include "music/midi/recordingoutput.h"
#include "music/view/musicpage.h"
#include "resources/design/designdata.h"
#include "sky/core/astromodule.h"
#include "sky/view/navigation.h"
#include "sky/view/planetchart.h"
#include "tests/music/synthmodel.h"
#include "testwindow.h"
#include "toolkit/controls.h"
#include "toolkit/dialogs.h"
#include "toolkit/formbuilder.h"
#include "toolkit/messagebox.h"
#include "toolkit/picturebox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QIcon>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <cmath>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

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
    // Every control of the design exists once under its name; a few sample ones sit where the
    // design puts them, with its tip.
    void designControlsByNameAndPlace()
    {
        auto w = test::startedWindow(m_scratch.path());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
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
        const std::tuple<QString, QString, QRect, QString> samples[] = {
            {u"picFig1"_s, u"SSTab1"_s, QRect(480, 480, 4335, 4215),
             u"First Figure - Click and hold for a definition"_s},
            {u"lblFig2"_s, u"picFig2"_s, QRect(960, 960, 2655, 2415), QString()},
            {u"optC1(3)"_s, u"Frame2"_s, QRect(1560, 480, 735, 255),
             u"Evacuate figure based on Vices"_s}};
        for (const auto &[name, container, twips, tip] : samples) {
            auto *c = control<QWidget>(w->form(), name);
            QCOMPARE(c->mapTo(control<QWidget>(w->form(), container), QPoint(0, 0)),
                     QPoint(twipsToPixels(twips.left()), twipsToPixels(twips.top())));
            QCOMPARE(c->size(), QSize(twipsToPixels(twips.width()), twipsToPixels(twips.height())));
            QCOMPARE(c->toolTip(), tip);
        }

        // Each definition held up on the first or second figure is read whole: wrapped at its
        // label's width in the label's font, it stays within the label's height.
        w->SSTab1()->setCurrentIndex(0);
        for (const QString &figure : {u"1"_s, u"2"_s}) {
            auto *pic = control<QWidget>(w->form(), u"picFig"_s + figure);
            auto *label = control<QLabel>(w->form(), u"lblFig"_s + figure);
            const QRect room = label->contentsRect();
            QSet<QString> seen;
            for (int compartment = 0; compartment < 9; ++compartment) {
                const double a = compartment * 40 * M_PI / 180;
                const QPoint at =
                    pic->rect().center() + QPoint(80 * std::sin(a), -80 * std::cos(a));
                QTest::mousePress(pic, Qt::LeftButton, {}, at);
                const QRect used = label->fontMetrics().boundingRect(
                    room, int(label->alignment()) | Qt::TextWordWrap, label->text());
                QVERIFY2(room.contains(used), qPrintable(label->text()));
                QTest::mouseRelease(pic, Qt::LeftButton, {}, at);
                seen.insert(label->text());
            }
            QCOMPARE(seen.size(), 9);
        }
    }

    // A settings file of the first line only changes the combination; the rest keeps the design,
    // and every page is filled from the program's own data.
    void startupOnASmallScreenOrWithAShortOrOddSettingsFile()
    {
        QTemporaryDir dir;
        QVERIFY(test::writeFile(dir.filePath(u"Settings.txt"_s), "CDE\r\n"));
        auto w = test::startedWindow(dir.path());
        const QWidget *f = w->form();
        QCOMPARE(textOf(f, u"txtSpeed"_s), u"40"_s);
        QCOMPARE(textOf(f, u"txtLatLong(1)"_s), u"75.7W"_s);
        QCOMPARE(w->musicState().midVolume, 64);
        QCOMPARE(w->instrumentToSelect(), 50);
        QCOMPARE(control<QComboBox>(f, u"cmbChange"_s)->currentText(), u"3"_s);
        QVERIFY(control<QRadioButton>(f, u"optTJ(0)"_s)->isChecked());
        const QString definition =
            evacuate(w->tables(), u"CDE"_s, EvacuationChoice::Principles, 0, false, false)
                .definitions[0];
        QVERIFY(definition.startsWith(u"Greatness is "_s));
        QCOMPARE(control<QPlainTextEdit>(f, u"txtDef(0)"_s)->toPlainText(),
                 QString(definition).remove(u'\r'));
        QVERIFY(!control<QTimer>(w->form(), u"Timer1"_s)->isActive());

        // A screen under 768 pixels is warned about once; start-up goes on after the message.
        for (const auto &[height, warned] : {std::pair{767, true}, {768, false}}) {
            QStringList seen;
            ScopedMessageBoxHook hook(
                [&](const QString &text, const QString &title) { seen << title << text; });
            auto small = test::startedWindow(test::environment(m_scratch.path(), height));
            const QStringList message{u"Velmora"_s, u"Sorry, this program is designed to work at "
                                                    u"resolutions of 1024x768 or better"_s};
            QCOMPARE(seen, warned ? message : QStringList());
            QCOMPARE(textOf(small->form(), u"txtCode(2)"_s), u"BCD"_s);
        }

        // A file edited by hand or saved mid-typing: the text of line 1 is no combination and the
        // numbers carry exponents. The Art starts from BCD, and the sky from now at the place read.
        w.reset();
        QVERIFY(test::writeFile(dir.filePath(u"Settings.txt"_s),
                                "B C\r\n1e39\t2\t0\t0\t50\r\n1e39\t2e\t1e40\r\n1e39\t" +
                                    QByteArray(250, '9') + "W\t-1e3\r\n 0 \r\n"));
        w = test::startedWindow(dir.path());
        QCOMPARE(textOf(w->form(), u"txtCode(2)"_s), u"BCD"_s);
        QCOMPARE(textOf(w->form(), u"txt3"_s), u"Duration"_s);
        QCOMPARE(w->navigation()->TheDate(), Moment(2026, 12, 6, 11, 30));
        QCOMPARE(textOf(w->form(), u"txtLatLong(0)"_s) + textOf(w->form(), u"txtLatLong(1)"_s) +
                     textOf(w->form(), u"txtLatLong(2)"_s),
                 u"1N180W-1"_s);
        const MusicState &m = w->musicState();
        QCOMPARE(QList<int>({m.minVolume, m.maxVolume, m.pitchOffset}), QList<int>({1, 2, 1}));
    }

    // What the user set comes back after Exit and a restart, and reaches the pages behind the
    // boxes: the evacuation page, the sky, the synthesiser and the music's velocities.
    void settingsSurviveARestart()
    {
        QTemporaryDir dir;
        const std::pair<QString, QString> boxes[] = {
            {u"txtCode(0)"_s, u"B(T)CD"_s},  {u"txtSpeed"_s, u"90"_s},
            {u"txtVolume(0)"_s, u"40"_s},    {u"txtVolume(1)"_s, u"100"_s},
            {u"txtPitch"_s, u"48"_s},        {u"txtLatLong(0)"_s, u"45.5N"_s},
            {u"txtLatLong(1)"_s, u"2.3E"_s}, {u"txtLatLong(2)"_s, u"-1"_s}};
        {
            auto w = test::startedWindow(dir.path());
            const QWidget *f = w->form();
            for (const auto &[name, text] : boxes)
                control<QLineEdit>(f, name)->setText(text);
            control<QComboBox>(f, u"cmbChange"_s)->setCurrentIndex(8);
            control<QComboBox>(f, u"cmbOct"_s)->setCurrentIndex(5);
            control<QComboBox>(f, u"cmbInstrument"_s)->setCurrentIndex(51);
            control<QRadioButton>(f, u"optTJ(4)"_s)->setChecked(true);
            control<QCheckBox>(f, u"chkCHMod"_s)->setChecked(true);
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w.get()));
            w->findChild<QAction *>(u"mnuFileExit"_s)->trigger();
            QTRY_VERIFY(!w->isVisible());
        }
        auto w = test::startedWindow(dir.path());
        const QWidget *f = w->form();
        for (const auto &[name, text] : boxes)
            QCOMPARE(textOf(f, name), text);
        QCOMPARE(textOf(f, u"txtCode(2)"_s), u"B(T)CD"_s);
        QCOMPARE(control<QRadioButton>(f, u"optPair(0)"_s)->text(), u"BC"_s);
        QCOMPARE(control<QComboBox>(f, u"cmbChange"_s)->currentIndex(), 8);
        QCOMPARE(control<QComboBox>(f, u"cmbOct"_s)->currentIndex(), 5);
        QVERIFY(control<QRadioButton>(f, u"optTJ(4)"_s)->isChecked());
        QVERIFY(control<QCheckBox>(f, u"chkCHMod"_s)->isChecked());
        QCOMPARE(w->astro().longitude(), 2.3f); // east is positive for the ephemeris
        QCOMPARE(w->musicState().midVolume, 70);
        test::SynthModel synth;
        synth.take(dynamic_cast<RecordingOutput &>(*w->midi().output()));
        QCOMPARE(synth.program, 51);
    }

    // MIDI closed, then the font removed, then the settings written, then the ephemeris released;
    // with the symbol font beside the program or without it.
    void shutdownReleasesInOrderAlsoWhileTheSynthesiserLoads()
    {
        for (const bool withFont : {true, false}) {
            QTemporaryDir dir;
            if (withFont) {
                QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + u"/astrol.ttf"_s,
                                    dir.filePath(u"astrol.ttf"_s)));
            }
            frmVelmora::Environment env = test::environment(dir.path());
            std::unique_ptr<frmVelmora> w;
            QStringList seen;
            env.releaseEphemeris = [&] {
                seen << u"release"_s;
                QVERIFY(!w->midi().isOpen());
                QVERIFY(!QFontDatabase::families().contains(u"Astro"_s));
                QVERIFY(QFileInfo::exists(dir.filePath(u"Settings.txt"_s)));
            };
            w = std::make_unique<frmVelmora>(env);
            w->Form_Load();
            QCOMPARE(w->FontAdded, withFont);
            QCOMPARE(QFontDatabase::families().contains(u"Astro"_s), withFont);
            QVERIFY(w->midi().isOpen());
            w->show();
            w->close();
            QCOMPARE(seen, QStringList{u"release"_s});
            // A second close request (the close box after File, Exit) runs nothing twice. Qt
            // drops a second close() of a hidden window, so the request is sent as an event.
            QCloseEvent again;
            QCoreApplication::sendEvent(w.get(), &again);
            QCOMPARE(seen.size(), 1);
        }

        // The built-in synthesiser loads its instruments after the window is up; closing at
        // once waits for it and lets everything go.
        frmVelmora::Environment env = test::environment(m_scratch.path());
        env.midiOutput = u"synth"_s;
        frmVelmora synthWindow(env);
        synthWindow.Form_Load();
        QCOMPARE(synthWindow.midiOutputName(), u"synth"_s);
        synthWindow.close();
        QVERIFY(!synthWindow.midi().isOpen());
    }

    // The program's own start fills the two pages hidden at start just after the first paint,
    // or as soon as another page is chosen before it.
    void hiddenPagesFillOnceShownOrChosen()
    {
        // The sky's symbol font and the icon come with the filling, not before the first paint.
        QTemporaryDir folder;
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + u"/astrol.ttf"_s,
                            folder.filePath(u"astrol.ttf"_s)));
        for (const bool chosen : {false, true}) {
            QApplication::setWindowIcon(QIcon());
            frmVelmora::Environment env = test::environment(folder.path());
            env.fillHiddenPagesAfterShow = true;
            auto w = test::startedWindow(env);
            auto *date = control<QLineEdit>(w->form(), u"txtTheDate"_s);
            auto *table = control<QPlainTextEdit>(w->form(), u"txtGT"_s);
            auto *definition = control<QPlainTextEdit>(w->form(), u"txtDef(0)"_s);
            QVERIFY(!w->hiddenPagesFilled() && !w->FontAdded);
            QVERIFY(date->text().isEmpty() && table->document()->isEmpty());
            QVERIFY(definition->document()->isEmpty());
            QVERIFY(w->books()->browser()->source().isEmpty());
            if (chosen) {
                w->SSTab1()->setCurrentIndex(4);
            } else {
                w->show();
                QVERIFY(QTest::qWaitForWindowExposed(w.get()));
                QTRY_VERIFY(w->hiddenPagesFilled());
                QVERIFY(!QApplication::windowIcon().isNull());
            }
            QVERIFY(w->FontAdded);
            QCOMPARE(date->text(), u"06/Dec/2026"_s);
            QVERIFY(table->toPlainText().startsWith(u"BC"_s));
            QVERIFY(!definition->document()->isEmpty());
            QVERIFY(w->books()->browser()->source().path().endsWith(u"ars-brevis"_s));
            w->close();
        }
    }

    // A place that cannot take the file is reported before anything is recorded. A cycle still
    // playing when the window closes: the recording holds every chord struck up to then, and is
    // the one the render offers. A place that goes away while the music plays loses nothing.
    void recordingsAreCompleteOrReportedAndLoseNothing()
    {
        QTemporaryDir dir;
        auto w = test::startedWindow(dir.path());
        std::chrono::nanoseconds now{0};
        w->midi().setClock([&] { return now; });
        QStringList messages;
        ScopedMessageBoxHook box([&](const QString &text, const QString &) { messages << text; });
        QString answer = dir.filePath(u"no such folder/take.mid"_s);
        QList<FileDialogRequest> offered;
        ScopedFileDialogHook dialog([&](const FileDialogRequest &request) {
            offered << request;
            return request.kind == FileDialogRequest::Kind::Open ? request.start : answer;
        });
        auto *record = w->findChild<QAction *>(u"mnuFileRecord"_s);
        record->trigger();
        QVERIFY(!record->isChecked());
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains(u"cannot be recorded"_s), qPrintable(messages[0]));
        QVERIFY(!QFileInfo::exists(answer));

        answer = dir.filePath(u"take"_s);
        record->trigger();
        QVERIFY(record->isChecked());
        auto &out = dynamic_cast<RecordingOutput &>(*w->midi().output());
        out.clear();
        control<QPushButton>(w->form(), u"cmdCyclusHarmonicus"_s)->click();
        for (int beat = 0; beat < 8; ++beat) {
            now += std::chrono::milliseconds(w->player()->timerIntervalMs());
            w->music()->Timer1_Timer();
        }
        // Keys and velocities struck; each note's release is the writer's, checked on its own.
        const auto struck = [](const auto &messages) {
            std::vector<std::pair<int, int>> keys;
            for (const auto &m : messages)
                if ((m.packed & 0xF0) == 0x90 && (m.packed >> 16 & 0x7F) != 0)
                    keys.emplace_back(int(m.packed >> 8 & 0x7F), int(m.packed >> 16 & 0x7F));
            return keys;
        };
        const auto sent = struck(out.messages());
        QVERIFY(sent.size() > 20);
        w->close();
        const auto file = readMidiFile(test::readFile(dir.filePath(u"take.mid"_s)));
        QVERIFY(file && struck(file->messages) == sent);

        // Remembered as the recording to render next: the next start offers it first, and the
        // audio takes the type the name asks for.
        w = test::startedWindow(dir.path());
        answer = dir.filePath(u"take.flac"_s);
        offered.clear();
        w->findChild<QAction *>(u"mnuFileRenderAudio"_s)->trigger();
        QCOMPARE(offered.size(), 2);
        QCOMPARE(offered[0].start, dir.filePath(u"take.mid"_s));
        QCOMPARE(offered[1].start, dir.filePath(u"take.wav"_s));
        QCOMPARE(messages.size(), 1);
        QVERIFY(test::readFile(answer).startsWith("fLaC"));
        QVERIFY(w->statusBar()->currentMessage().startsWith(u"Rendered"_s));

        QVERIFY(QDir(dir.path()).mkdir(u"sub"_s));
        answer = dir.filePath(u"sub/take.mid"_s);
        record = w->findChild<QAction *>(u"mnuFileRecord"_s);
        record->trigger();
        control<QPushButton>(w->form(), u"cmdZodiac"_s)->click();
        w->music()->Timer1_Timer();
        QVERIFY(QDir(dir.filePath(u"sub"_s)).removeRecursively());
        w->close();
        QCOMPARE(messages.size(), 2);
        QVERIFY2(messages[1].contains(u"It was kept in"_s), qPrintable(messages[1]));
        const QStringList kept =
            QDir(dir.filePath(u"config"_s)).entryList({u"Velmora recording *.mid"_s}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QVERIFY(midiFileLength(test::readFile(dir.filePath(u"config/"_s + kept[0]))));
    }

    // Every box that takes a number reads a sign, digits and one point, and no more; whatever
    // is typed, the moment stays. Shown: latitude, longitude, time zone, tempo, low volume
    // (which trades places with the high one, 64, when above it) and pitch after Enter.
    void typedNumbersReadTheirLeadingDigits()
    {
        // What is typed, then what is shown, each on a fresh window.
        QStringList rows;
        for (const char *row :
             {"1e39 1N 1E 1 10 1 24", "1e40 1N 1E 1 10 1 24", "60e1 60N 60E 14 60 60 60",
              "2e 2N 2E 2 10 2 24", "1.5.3 1.5N 1.5W 1.5 10 2 24", "--5 0N 0E 0 10 1 24",
              "+5 5N 5W 5 10 5 24", ".5 0.5N 0.5W 0.5 10 1 24"})
            rows << QString::fromLatin1(row);
        rows << QString(10000, u'9') + u" 90N 180W 14 180 64 72"_s;
        for (const QString &row : rows) {
            auto w = test::startedWindow(m_scratch.path());
            const Moment start = w->navigation()->TheDate();
            const QString typed = row.section(u' ', 0, 0);
            QStringList read{typed};
            for (const QString &name : {u"txtLatLong(0)"_s, u"txtLatLong(1)"_s, u"txtLatLong(2)"_s,
                                        u"txtSpeed"_s, u"txtVolume(0)"_s, u"txtPitch"_s}) {
                auto *box = control<QLineEdit>(w->form(), name);
                box->setText(typed);
                QTest::keyClick(box, Qt::Key_Return);
                QVERIFY(!w->navigation()->lastUpdateRecovered());
                QCOMPARE(w->navigation()->TheDate(), start);
                read << (name == u"txtSpeed"_s ? QString::number(w->musicState().beatsPerMinute)
                         : name == u"txtVolume(0)"_s ? QString::number(w->musicState().minVolume)
                                                     : box->text());
            }
            QCOMPARE(read.join(u' '), row);
        }
    }

    // A cycle on an output nobody hears says so in the status bar, never in a dialog. A new
    // output chosen mid-cycle plays on with the instrument and every voice the cycle holds, and
    // each beat leaves the chart as a fresh drawing of that moment would be.
    void soundOutputMidCycleAndEveryCycleMovesTheSky()
    {
        auto w = test::startedWindow(m_scratch.path());
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

        // Every cycle moves the moment or colours the chart as it plays.
        for (const QString &button : {u"cmdZodiac"_s, u"cmdDays"_s, u"cmdCyclusHarmonicus"_s}) {
            auto c = test::startedWindow(m_scratch.path());
            const Moment momentBefore = c->navigation()->TheDate();
            const QImage chartBefore = c->chart()->picture()->image().copy();
            control<QPushButton>(c->form(), button)->click();
            for (int beat = 0; beat < 3; ++beat)
                c->music()->Timer1_Timer();
            QVERIFY2(c->navigation()->TheDate() != momentBefore ||
                         c->chart()->picture()->image() != chartBefore,
                     qPrintable(button));
        }
    }
};

QTEST_MAIN(WindowTest)
#include "window_qtest.moc"
