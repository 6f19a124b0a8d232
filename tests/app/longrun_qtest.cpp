// Long runs of the real window, driven through its handlers with no real waiting: each music
// cycle for thousands of beats and continuous jumps over every year the program can show. The
// process must not grow, the MIDI stream must stay sound and the page must end on a moment that
// the calendar, the boxes and the sky all agree on.
#include "calendar/view/monthcalendar.h"
#include "music/core/cycleplayer.h"
#include "music/core/midimodule.h"
#include "music/midi/recordingoutput.h"
#include "music/view/musicpage.h"
#include "sky/core/astromodule.h"
#include "sky/core/navigation.h"
#include "sky/view/navigation.h"
#include "tests/music/synthmodel.h"
#include "testwindow.h"
#include "toolkit/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// Room for allocator slack, far below what a leak of one chart picture or one message list per
// beat would cost over a run.
constexpr double kMaxGrowthMiB = 20;

double residentMiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

void verifyFlat(double startMiB, qint64 elapsedMs)
{
    const double endMiB = residentMiB();
    qInfo("%s: %lld ms; VmRSS %.1f -> %.1f MiB", QTest::currentDataTag(), elapsedMs, startMiB,
          endMiB);
    QVERIFY(startMiB > 0);
    QVERIFY2(endMiB - startMiB < kMaxGrowthMiB,
             qPrintable(u"grew %1 MiB"_s.arg(endMiB - startMiB)));
}

// The window against the recording output, on a clock that runs an hour per reading. It is
// never closed, so nothing is written to the program folder.
std::unique_ptr<frmVelmora> startedWindow()
{
    frmVelmora::Environment env = test::environment(QCoreApplication::applicationDirPath());
    env.configFolder += u"/longrun"_s;
    auto clock = std::make_shared<QDateTime>(QDate(2026, 12, 6), QTime(11, 30, 0));
    env.now = [clock] {
        return *clock = clock->addSecs(3600);
    };
    auto w = test::startedWindow(std::move(env));
    QCoreApplication::sendPostedEvents();
    return w;
}

// Follows the recorded stream on a model of a real synthesiser and drops it as it goes, so the
// test measures the program's memory, not its own.
struct StreamCheck
{
    test::SynthModel synth;
    int malformed = 0;

    void take(RecordingOutput &out)
    {
        for (const RecordedMessage &m : out.messages()) {
            const int status = int(m.packed & 0xF0);
            if (!isValidShortMessage(m.packed) || (m.packed & 0x0F) != 0 ||
                (status != kNoteOn && status != kNoteOff && status != kControlChange &&
                 status != kProgramChange))
                ++malformed;
            synth.play(m.packed);
        }
        out.clear();
    }
};

// The moment, the date and time boxes, the calendar's month and selected day and, when it was
// computed, the sky must all describe the same instant.
void verifyPageAgrees(frmVelmora &w, bool skyComputed)
{
    const Moment moment = w.navigation()->TheDate();
    QVERIFY2(moment.inRange(), qPrintable(dateText(moment)));
    QCOMPARE(control<QLineEdit>(w.form(), u"txtTheDate"_s)->text(), dateText(moment));
    QCOMPARE(control<QLineEdit>(w.form(), u"txtTheTime"_s)->text(), timeText(moment));
    const clsCalendar &calendar = *w.calendar();
    QCOMPARE(QDate(calendar.ShownYear(), calendar.ShownMonth(), 1),
             QDate(moment.year(), moment.date().month(), 1));
    QCOMPARE(calendar.SelectedDays().Count(), qsizetype(1));
    QCOMPARE(calendar.SelectedDays().Item(1)->DateTime().date(), moment.date());
    // The ephemeris day of the moment shifted to Universal Time by the zone (west positive).
    if (skyComputed)
        QCOMPARE(w.astro().julDay(), moment.serialDays() + w.astro().timeZone() / 24.0 + 2415018.5);
}

} // namespace

class LongRunTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cycleRunsLong_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("yearMode");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<int>("ticks");
        // Fast tempi and the widest octave span keep the velocity walk and the voices moving; the
        // year's variant differs only in its steps, so a shorter run keeps the test near a minute.
        QTest::newRow("zodiac") << u"cmdZodiac"_s << false << u"240"_s << 10000;
        QTest::newRow("day") << u"cmdDays"_s << false << u"200"_s << 10000;
        QTest::newRow("harmonic") << u"cmdCyclusHarmonicus"_s << false << u"180"_s << 10000;
        QTest::newRow("harmonic by the year")
            << u"cmdCyclusHarmonicus"_s << true << u"180"_s << 2000;
    }

    void cycleRunsLong()
    {
        QFETCH(QString, button);
        QFETCH(bool, yearMode);
        QFETCH(QString, speed);
        QFETCH(int, ticks);
        bool ok = false;
        if (const int n = qEnvironmentVariableIntValue("VELMORA_LONGRUN_TICKS", &ok); ok && n > 0)
            ticks = n;

        auto w = startedWindow();
        control<QLineEdit>(w->form(), u"txtSpeed"_s)->setText(speed);
        control<QComboBox>(w->form(), u"cmbOct"_s)->setCurrentIndex(5);
        control<QCheckBox>(w->form(), u"chkCHMod"_s)->setChecked(yearMode);
        auto *cycleButton = control<QPushButton>(w->form(), button);
        MusicPage &music = *w->music();
        auto &out = dynamic_cast<RecordingOutput &>(*w->midi().output());
        StreamCheck stream;
        test::VoiceTime voices;
        double startMiB = 0;
        QElapsedTimer clock;

        cycleButton->click();
        // Two hundred beats of warm-up fill the caches, then the measured run. Each beat's posted
        // events are delivered, as the event loop would, and its voices looked up on the synth.
        for (int i = -200; i < ticks; ++i) {
            music.Timer1_Timer();
            QCoreApplication::sendPostedEvents();
            QVERIFY2(w->navigation()->TheDate().inRange(), qPrintable(QString::number(i)));
            stream.take(out);
            voices.count(w->player()->state(), stream.synth);
            if (i == -1) {
                startMiB = residentMiB();
                clock.start();
            }
        }
        const qint64 elapsed = clock.elapsed();
        QVERIFY(w->player()->state().chordSize > 0 && stream.synth.soundingKeys() > 0);
        QCOMPARE(voices.silenced, 0);
        QCOMPARE(stream.synth.doubledStrikes, 0);

        // "Stop" is carried out by the next beat, which releases the chord; later beats are mute.
        cycleButton->click();
        music.Timer1_Timer();
        stream.take(out);
        QCOMPARE(stream.malformed, 0);
        QCOMPARE(w->midi().rejectedCount(), 0);
        QCOMPARE(stream.synth.soundingKeys(), 0);
        music.Timer1_Timer();
        QVERIFY(out.messages().empty());

        verifyPageAgrees(*w, !w->navigation()->lastUpdateRecovered());
        verifyFlat(startMiB, elapsed);
    }

    void continuousJumpCrossesEveryYear_data()
    {
        QTest::addColumn<int>("unitButton");
        QTest::addColumn<int>("yearsPerStep");
        QTest::newRow("twelve years at a time") << 4 << 12;
        QTest::newRow("twelve decades at a time") << 5 << 120;
    }

    void continuousJumpCrossesEveryYear()
    {
        QFETCH(int, unitButton);
        QFETCH(int, yearsPerStep);
        auto w = startedWindow();
        Navigation &navigation = *w->navigation();
        control<QRadioButton>(w->form(), arrayName(u"optTJ"_s, unitButton))->setChecked(true);
        control<QComboBox>(w->form(), u"cmbJump"_s)->setCurrentIndex(11); // twelve
        auto *timer2 = control<QTimer>(w->form(), u"Timer2"_s);
        const ControlArray<QPushButton> jump(w->form(), u"cmdJump"_s);
        navigation.UpdateCalendar(0); // the first sky fills the ephemeris' caches
        const double startMiB = residentMiB();
        QElapsedTimer clock;
        clock.start();

        // Forwards from 1 March 100 until a step would pass the last year, which puts the page
        // on 1 January 3000; then backwards from 1 March 9999 until a step would pass the first,
        // which puts it on 1 January 100. Every other step moves by exactly the chosen years.
        const std::tuple<int, int, int, Moment> legs[] = {{100, 3, +1, Moment(3000, 1, 1)},
                                                          {9999, 2, -1, Moment(100, 1, 1)}};
        for (const auto &[from, buttonIndex, direction, recovery] : legs) {
            navigation.setTheDate(Moment(from, 3, 1, 12, 0, 0));
            navigation.UpdateCalendar(0);
            verifyPageAgrees(*w, true);
            jump[buttonIndex]->click();
            QVERIFY(timer2->isActive());
            for (int steps = 0;; ++steps) {
                QVERIFY2(steps <= 9900 / yearsPerStep,
                         "the jump never reached the end of the years");
                const Moment before = navigation.TheDate();
                navigation.Timer2_Timer();
                QCoreApplication::sendPostedEvents();
                const int wanted = before.year() + direction * yearsPerStep;
                if (navigation.lastUpdateRecovered()) {
                    QCOMPARE(navigation.TheDate(), recovery);
                    QVERIFY2(wanted < 100 || wanted > 9999, qPrintable(dateText(before)));
                    break;
                }
                QCOMPARE(navigation.TheDate(), Moment(wanted, 3, 1, 12, 0, 0));
            }
            jump[4]->click();
            QVERIFY(!timer2->isActive());
            verifyPageAgrees(*w, false);
            if (QTest::currentTestFailed())
                return;
        }

        // After the walk the page still computes and draws a sky as usual.
        navigation.UpdateCalendar(0);
        QVERIFY(!navigation.lastUpdateRecovered());
        verifyPageAgrees(*w, true);
        verifyFlat(startMiB, clock.elapsed());
    }
};

QTEST_MAIN(LongRunTest)
#include "longrun_qtest.moc"
