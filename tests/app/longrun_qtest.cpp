// Long runs of the real window, driven through its handlers with no real waiting: each music
// cycle for thousands of beats and continuous jumps over every year the program can show. The
// process must not grow, the MIDI stream must stay sound and the page must end on a moment that
// the calendar, the boxes and the sky all agree on.
#include "app/frmvelmora.h"
#include "calendar/view/monthcalendar.h"
#include "music/core/cycleplayer.h"
#include "music/core/midimodule.h"
#include "music/midi/recordingoutput.h"
#include "music/view/musicpage.h"
#include "sky/core/astromodule.h"
#include "sky/core/navigation.h"
#include "sky/view/navigation.h"
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

#include <array>

using namespace velmora;

namespace {

// The beats of a row, unless the environment asks for another count for every row.
int tickCount(int rowDefault)
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("VELMORA_LONGRUN_TICKS", &ok);
    return ok && n > 0 ? n : rowDefault;
}

// Allowed growth of the resident set over a whole run: room for allocator slack, far below
// what a leak of one chart picture or one message list per beat would cost.
constexpr double kMaxGrowthMiB = 20;

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// The window against the recording output, on a clock that runs an hour per reading. The
// program folder is the test's own, where the build puts the symbol font; the window is never
// closed, so nothing is written there.
std::unique_ptr<frmVelmora> startedWindow()
{
    frmVelmora::Environment env;
    env.screenHeight = [] {
        return 1024;
    };
    env.programFolder = QCoreApplication::applicationDirPath();
    env.configFolder = env.programFolder + QStringLiteral("/longrun-config");
    env.midiOutput = QStringLiteral("record");
    auto clock = std::make_shared<QDateTime>(QDate(2026, 12, 6), QTime(11, 30, 0));
    env.now = [clock] {
        *clock = clock->addSecs(3600);
        return *clock;
    };
    env.releaseEphemeris = [] {
    };
    auto w = std::make_unique<frmVelmora>(env);
    w->Form_Load();
    QCoreApplication::sendPostedEvents();
    return w;
}

// Follows the recorded stream message by message, so the recording can be dropped as it goes
// and the test measures the program's memory, not its own.
class StreamCheck
{
public:
    void take(RecordingOutput &out)
    {
        for (const RecordedMessage &m : out.messages())
            take(m.packed);
        out.clear();
    }

    void take(quint32 packed)
    {
        ++m_count;
        if (!isValidShortMessage(packed) || (packed & 0x0F) != 0) {
            ++m_malformed;
            return;
        }
        const int status = int(packed & 0xF0);
        const int note = int((packed >> 8) & 0x7F);
        const int velocity = int((packed >> 16) & 0x7F);
        if (status == kNoteOn && velocity > 0) {
            ++m_sounding[size_t(note)];
            ++m_noteOns;
        } else if (status == kNoteOff || status == kNoteOn) {
            // A release of a silent note is harmless; only an unreleased one is a fault.
            if (m_sounding[size_t(note)] > 0)
                --m_sounding[size_t(note)];
        } else if (status != kControlChange && status != kProgramChange) {
            ++m_malformed;
        }
    }

    int malformed() const { return m_malformed; }
    qint64 count() const { return m_count; }
    qint64 noteOns() const { return m_noteOns; }
    QList<int> stillSounding() const
    {
        QList<int> notes;
        for (size_t n = 0; n < m_sounding.size(); ++n) {
            if (m_sounding[n] > 0)
                notes << int(n);
        }
        return notes;
    }

private:
    std::array<int, 128> m_sounding{};
    qint64 m_count = 0;
    qint64 m_noteOns = 0;
    int m_malformed = 0;
};

// Back in the event loop after a handler, as the running program would be: the events the
// handler posted (layout and size notices of the text boxes) are delivered, not left to pile up.
// Timers are not fired: every beat and step comes from the test.
template <class Handler> void handle(Handler &&handler)
{
    handler();
    QCoreApplication::sendPostedEvents();
}

RecordingOutput &recorder(frmVelmora &w)
{
    auto *out = dynamic_cast<RecordingOutput *>(w.midi().output());
    if (!out)
        qFatal("the window does not record its MIDI output");
    return *out;
}

// The moment, the date and time boxes, the calendar's month and selected day and the computed
// sky must all describe the same instant.
void verifyPageAgrees(frmVelmora &w, bool skyComputed)
{
    const Moment moment = w.navigation()->TheDate();
    QVERIFY2(moment.inRange(), qPrintable(dateText(moment)));
    QWidget *form = w.form();
    QCOMPARE(control<QLineEdit>(form, QStringLiteral("txtTheDate"))->text(), dateText(moment));
    QCOMPARE(control<QLineEdit>(form, QStringLiteral("txtTheTime"))->text(), timeText(moment));
    const clsCalendar &calendar = *w.calendar();
    QCOMPARE(calendar.ShownYear(), moment.year());
    QCOMPARE(calendar.ShownMonth(), moment.date().month());
    QCOMPARE(calendar.SelectedDays().Count(), qsizetype(1));
    QCOMPARE(calendar.SelectedDays().Item(1)->DateTime().date(), moment.date());
    if (skyComputed) {
        // The ephemeris day of the moment shifted to Universal Time by the zone (west positive).
        const AstroModule &astro = w.astro();
        const double expected = moment.serialDays() + astro.timeZone() / 24.0 + 2415018.5;
        QVERIFY2(qAbs(astro.julDay() - expected) < 1e-6,
                 qPrintable(QStringLiteral("%1 vs %2").arg(astro.julDay()).arg(expected)));
    }
}

} // namespace

class LongRunTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cycleRunsLong_data();
    void cycleRunsLong();
    void continuousJumpCrossesEveryYear_data();
    void continuousJumpCrossesEveryYear();
};

void LongRunTest::cycleRunsLong_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("yearMode");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<int>("ticks");

    // Fast tempi and the widest octave span keep the velocity walk and the voices moving. The
    // variant by the year shares all but its steps with the plain harmonic cycle, so a shorter
    // run keeps the whole test near a minute.
    QTest::newRow("zodiac") << "cmdZodiac" << false << "240" << 10000;
    QTest::newRow("day") << "cmdDays" << false << "200" << 10000;
    QTest::newRow("harmonic") << "cmdCyclusHarmonicus" << false << "180" << 10000;
    QTest::newRow("harmonic by the year") << "cmdCyclusHarmonicus" << true << "180" << 2000;
}

void LongRunTest::cycleRunsLong()
{
    QFETCH(QString, button);
    QFETCH(bool, yearMode);
    QFETCH(QString, speed);
    QFETCH(int, ticks);

    auto w = startedWindow();
    QWidget *form = w->form();
    control<QLineEdit>(form, QStringLiteral("txtSpeed"))->setText(speed);
    control<QComboBox>(form, QStringLiteral("cmbOct"))->setCurrentIndex(5);
    control<QCheckBox>(form, QStringLiteral("chkCHMod"))->setChecked(yearMode);
    auto *cycleButton = control<QPushButton>(form, button);
    const QString idleCaption = cycleButton->text();
    auto *timer1 = control<QTimer>(form, QStringLiteral("Timer1"));
    MusicPage &music = *w->music();
    StreamCheck stream;
    RecordingOutput &out = recorder(*w);

    cycleButton->click();
    QVERIFY(timer1->isActive());
    QCOMPARE(cycleButton->text(), QStringLiteral("Stop"));
    // A short warm-up fills the caches the first beats build, then the measured run.
    for (int i = 0; i < 200; ++i)
        handle([&] { music.Timer1_Timer(); });
    stream.take(out);
    const double startMiB = residentMiB();

    ticks = tickCount(ticks);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < ticks; ++i) {
        handle([&] { music.Timer1_Timer(); });
        QVERIFY2(w->navigation()->TheDate().inRange(), qPrintable(QString::number(i)));
        if (i % 256 == 0)
            stream.take(out);
    }
    const qint64 elapsed = clock.elapsed();
    stream.take(out);
    const double endMiB = residentMiB();
    QVERIFY(timer1->isActive());
    QVERIFY(w->player()->state().chordSize > 0);
    QVERIFY(stream.noteOns() > 0);

    // "Stop" is carried out by the next beat, which releases the chord.
    cycleButton->click();
    QCOMPARE(cycleButton->text(), idleCaption);
    music.Timer1_Timer();
    stream.take(out);
    QVERIFY(!timer1->isActive());
    for (const char *name : {"cmdZodiac", "cmdDays", "cmdCyclusHarmonicus"})
        QVERIFY2(control<QPushButton>(form, QString::fromLatin1(name))->isEnabled(), name);
    QCOMPARE(stream.malformed(), 0);
    QCOMPARE(w->midi().rejectedCount(), 0);
    QCOMPARE(stream.stillSounding(), QList<int>());
    // Beats after the stop send nothing.
    music.Timer1_Timer();
    QVERIFY(out.messages().empty());

    verifyPageAgrees(*w, !w->navigation()->lastUpdateRecovered());
    qInfo("%s: %d beats in %lld ms (%.3f ms each), %lld messages; VmRSS %.1f -> %.1f MiB",
          QTest::currentDataTag(), ticks, elapsed, double(elapsed) / ticks, stream.count(),
          startMiB, endMiB);
    QVERIFY2(endMiB - startMiB < kMaxGrowthMiB,
             qPrintable(QStringLiteral("grew %1 MiB").arg(endMiB - startMiB)));
}

void LongRunTest::continuousJumpCrossesEveryYear_data()
{
    QTest::addColumn<int>("unitButton");
    QTest::addColumn<int>("countIndex");
    QTest::addColumn<int>("yearsPerStep");

    QTest::newRow("twelve years at a time") << 4 << 11 << 12;
    QTest::newRow("twelve decades at a time") << 5 << 11 << 120;
}

// Forwards from the first year the program shows until a step would pass the last, which puts
// the page on 1 January 3000; then backwards until a step would pass the first, which puts it
// on 1 January 100. Every step on the way moves by exactly the chosen number of years.
void LongRunTest::continuousJumpCrossesEveryYear()
{
    QFETCH(int, unitButton);
    QFETCH(int, countIndex);
    QFETCH(int, yearsPerStep);

    auto w = startedWindow();
    QWidget *form = w->form();
    Navigation &navigation = *w->navigation();
    control<QRadioButton>(form, arrayName(QStringLiteral("optTJ"), unitButton))->setChecked(true);
    control<QComboBox>(form, QStringLiteral("cmbJump"))->setCurrentIndex(countIndex);
    auto *timer2 = control<QTimer>(form, QStringLiteral("Timer2"));
    const ControlArray<QPushButton> jump(form, QStringLiteral("cmdJump"));

    navigation.setTheDate(Moment(100, 3, 1, 12, 0, 0));
    navigation.UpdateCalendar(0);
    verifyPageAgrees(*w, true);
    const double startMiB = residentMiB();
    QElapsedTimer clock;
    clock.start();

    const auto run = [&](int buttonIndex, int direction, const Moment &recovery) {
        jump[buttonIndex]->click();
        QVERIFY(timer2->isActive());
        QVERIFY(!jump[buttonIndex]->isEnabled());
        QVERIFY(jump[4]->isEnabled());
        const int limit = 9900 / yearsPerStep + 2;
        int steps = 0;
        for (; steps < limit; ++steps) {
            const Moment before = navigation.TheDate();
            handle([&] { navigation.Timer2_Timer(); });
            const Moment after = navigation.TheDate();
            QVERIFY2(after.inRange(), qPrintable(dateText(after)));
            if (navigation.lastUpdateRecovered()) {
                QCOMPARE(after, recovery);
                QVERIFY(before.year() + direction * yearsPerStep < 100 ||
                        before.year() + direction * yearsPerStep > 9999);
                break;
            }
            QCOMPARE(after.year(), before.year() + direction * yearsPerStep);
            QCOMPARE(after.date().month(), 3);
            QCOMPARE(after.date().day(), 1);
        }
        QVERIFY2(steps < limit, "the jump never reached the end of the years");
        jump[4]->click();
        QVERIFY(!timer2->isActive());
        QVERIFY(jump[2]->isEnabled() && jump[3]->isEnabled());
        verifyPageAgrees(*w, false);
    };
    run(3, +1, Moment(3000, 1, 1));
    if (QTest::currentTestFailed())
        return;
    // Backwards from the last year the program shows until a step would pass the first.
    navigation.setTheDate(Moment(9999, 3, 1, 12, 0, 0));
    navigation.UpdateCalendar(0);
    verifyPageAgrees(*w, true);
    run(2, -1, Moment(100, 1, 1));
    if (QTest::currentTestFailed())
        return;

    // After the walk the page still computes and draws a sky as usual.
    navigation.UpdateCalendar(0);
    QVERIFY(!navigation.lastUpdateRecovered());
    verifyPageAgrees(*w, true);
    const double endMiB = residentMiB();
    qInfo("%s: %lld ms; VmRSS %.1f -> %.1f MiB", QTest::currentDataTag(), clock.elapsed(), startMiB,
          endMiB);
    QVERIFY2(endMiB - startMiB < kMaxGrowthMiB,
             qPrintable(QStringLiteral("grew %1 MiB").arg(endMiB - startMiB)));
}

QTEST_MAIN(LongRunTest)
#include "longrun_qtest.moc"
