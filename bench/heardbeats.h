#pragma once

// Playing the window's zodiac cycle through the built-in synthesiser into a WAV file in real time,
// and timing each beat as a listener hears it: shared by the music benchmark's heard-beat runs.

#include "benchsupport.h"
#include "filegrowth.h"
#include "music/core/cycleplayer.h"
#include "music/core/midirecorder.h"
#include "music/midi/synthoutput.h"
#include "music/view/musicpage.h"
#include "tests/music/audiocheck.h"
#include "toolkit/controls.h"

#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

namespace velmora::bench {

using Clock = std::chrono::steady_clock;

inline double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// ---- Beats as a listener hears them ----
//
// The zodiac cycle plays through the built-in synthesiser into a WAV file that the library's file
// audio driver writes in real time, paced like a sound card. Each beat's place on the schedule is
// the stamp the program gave its strikes (the cycle's start plus n intervals plus the look-ahead),
// taken from a recording of the run. Two figures per beat:
// - dev_*: the onset found in the audio, at the moment the driver wrote its frame (a thread
//   watches the file grow). This carries the driver's own wander (it paces itself by a
//   millisecond timer) and the onset finder's error (see OnsetFinderOffline);
// - placed_*: the block the output put the beat's strikes in, on the driver's audio clock (its
//   start, found from the file's growth, plus the block's frames over the rate), as a sound card
//   would play it. That notes start in that block is what the live-synthesiser tests check.
// FluidSynth starts notes only where a 64-frame block starts: the synthesiser output puts each at
// the block nearest its stamp, half a block (0.73 ms at 44.1 kHz) from it at most. One block
// (1.45 ms) either way is the goal.

constexpr double kBlockMs = 64.0 * 1000.0 / SynthOutput::kSampleRate;

// Sharp attacks and short decays: of the instruments tried, the one whose onsets the finder
// places best (within a millisecond of the truth when rendered offline; a piano's come 2 to 5 ms
// late).
constexpr int kXylophone = 13;

// What the music clock adds to each beat's place before the output plays it.
inline double lookAheadMs()
{
    return std::chrono::duration<double, std::milli>(kLookAhead).count();
}

struct HeardBeats
{
    int beats = 0;
    std::vector<double> deviationMs; // onset minus its place on the schedule, per beat heard
    std::vector<double> placedMs;    // the block the output put the strikes in, on the audio clock
};

inline void spin(std::chrono::milliseconds d)
{
    const Clock::time_point until = Clock::now() + d;
    while (Clock::now() < until) {
    }
}

// The synthesiser with every message played the moment it is sent, its stamp ignored.
class AtOnce : public MidiOutput
{
public:
    explicit AtOnce(std::unique_ptr<SynthOutput> synth)
        : m_synth(std::move(synth))
    {}
    bool open() override { return m_synth->open(); }
    void send(quint32 packed) override { m_synth->send(packed); }
    void close() override { m_synth->close(); }
    bool isOpen() const override { return m_synth->isOpen(); }
    QString kind() const override { return m_synth->kind(); }

private:
    std::unique_ptr<SynthOutput> m_synth;
};

// Plays `beats` beats of the zodiac cycle at 180 beats per minute through the window's own music
// clock into wav. With busy set, another handler on the user-interface thread works for 20 ms once
// a beat, at a phase that walks through the beat (its period is 13 ms shorter), as unrelated work
// of the window would; the ticks it overlaps are handled late. Unstamped, every message plays
// the moment its tick sends it, as before the output honoured stamps; its beats are due on the
// schedule itself, without the look-ahead.
inline HeardBeats playHeard(const QString &wav, int beats, bool busy, bool stamped)
{
    auto w = startedWindow();
    control<QLineEdit>(w->form(), QStringLiteral("txtSpeed"))->setText(QStringLiteral("180"));
    // A day a beat moves the Moon across a third of a sign every time, so most beats strike.
    control<QRadioButton>(w->form(), QStringLiteral("optTJ(1)"))->setChecked(true);
    control<QComboBox>(w->form(), QStringLiteral("cmbInstrument"))->setCurrentIndex(kXylophone);

    QFile::remove(wav); // a file of an earlier run would be taken for this one's growth
    FileGrowth growth(wav);
    auto synth = std::make_unique<SynthOutput>(SynthOutput::Sink::RealTimeWavFile, wav);
    const SynthOutput *output = synth.get();
    if (stamped)
        w->midi().replaceOutput(std::move(synth));
    else
        w->midi().replaceOutput(std::make_unique<AtOnce>(std::move(synth)));
    w->music()->cmbInstrument_Click();

    auto *timer = control<QTimer>(w->form(), QStringLiteral("Timer1"));
    auto *zodiac = control<QPushButton>(w->form(), QStringLiteral("cmdZodiac"));
    QEventLoop loop;
    QTimer::singleShot(500, &loop, &QEventLoop::quit); // the synthesiser settles
    loop.exec();

    // Where each beat's strikes went on the sample clock, read after its tick has sent them.
    std::vector<std::pair<std::chrono::nanoseconds, qint64>> placements;
    const auto placed = [&] {
        if (const auto p = output->lastPlacement(); stamped && p)
            placements.push_back(*p);
    };
    int ticks = 0;
    QObject::connect(timer, &QTimer::timeout, &loop, [&] {
        placed();
        if (++ticks >= beats)
            loop.quit();
    });
    QTimer load;
    load.setTimerType(Qt::PreciseTimer);
    QObject::connect(&load, &QTimer::timeout, &loop, [] { spin(std::chrono::milliseconds(20)); });

    // The program's own schedule: the stamps its strikes carry, on the music clock.
    MidiRecorder recorder;
    const std::chrono::nanoseconds recordedFrom = w->midi().clock()();
    recorder.start(w->midi());
    const Clock::time_point start = Clock::now();
    zodiac->click();
    placed();
    const int interval = timer->interval();
    if (busy)
        load.start(interval - 13);
    loop.exec();
    load.stop();
    zodiac->click(); // "Stop", carried out by one more tick
    QObject::connect(timer, &QTimer::timeout, &loop, [&] { loop.quit(); });
    loop.exec();
    QTimer::singleShot(1500, &loop, &QEventLoop::quit); // the release tail
    loop.exec();
    const MidiRecording recording = recorder.stop();
    w->midi().close(); // the driver finishes the file
    growth.stop();
    std::vector<Clock::time_point> strikes;
    for (const auto &m : recording.messages) {
        if ((m.packed & 0xF0) == kNoteOn && (m.packed >> 16) != 0)
            strikes.emplace_back(std::chrono::duration_cast<Clock::duration>(
                recordedFrom + m.time - (stamped ? Clock::duration(0) : kLookAhead)));
    }

    HeardBeats heard;
    const std::vector<float> audio = test::readWavMono(wav);
    // 16-bit stereo frames after the header.
    constexpr qint64 kFrameBytes = 4;
    const qint64 header = QFileInfo(wav).size() - qint64(audio.size()) * kFrameBytes;
    const auto writtenAt = [&](long frame) {
        return growth.reached(header + (frame + 1) * kFrameBytes);
    };
    const test::OnsetFinder onsets(audio);
    // The file's frames against the clock, roughly, to know where to look for each beat.
    const std::optional<Clock::time_point> first = writtenAt(0);
    if (!first)
        return heard;
    const double rate = SynthOutput::kSampleRate;
    const auto clockStart = growth.audioClockStart(header, kFrameBytes, rate);
    for (const auto &[stamp, block] : placements) {
        if (clockStart)
            heard.placedMs.push_back(ms(*clockStart - Clock::time_point(stamp)) +
                                     double(block) * kBlockMs);
    }
    for (int k = 1; k <= beats; ++k) {
        const Clock::time_point planned = start + std::chrono::milliseconds(qint64(k) * interval) +
                                          (stamped ? kLookAhead : Clock::duration(0));
        ++heard.beats;
        // The beat's place as the program stamped it; a beat without a strike has no onset.
        const auto stamp = std::min_element(
            strikes.begin(), strikes.end(), [&](Clock::time_point a, Clock::time_point b) {
                return std::chrono::abs(a - planned) < std::chrono::abs(b - planned);
            });
        if (stamp == strikes.end() ||
            std::chrono::abs(*stamp - planned) > Clock::duration(interval * 500000))
            continue;
        const Clock::time_point due = *stamp;
        const auto at = long(ms(due - *first) * rate / 1000.0);
        // No onset for a beat on which no voice changed.
        const auto onset = onsets.find(at - long(0.020 * rate), at + long(0.080 * rate));
        if (!onset)
            continue;
        if (const auto written = writtenAt(long(*onset)))
            heard.deviationMs.push_back(ms(*written - due));
    }
    return heard;
}

} // namespace velmora::bench
