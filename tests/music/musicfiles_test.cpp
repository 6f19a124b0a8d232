// Recordings of the three cycles written to MIDI files, read back by a reader that is not ours
// (the mido module of Python), and rendered to audio, whose onsets fall where the notes are due.
#include "audiocheck.h"
#include "music/core/midirecorder.h"
#include "music/midi/audiorender.h"
#include "music/midi/synthoutput.h"
#include "musictestsupport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <ctime>

using namespace velmora;
using namespace velmora::test;
using namespace std::chrono_literals;
using std::chrono::nanoseconds;

namespace {

constexpr double kRate = SynthOutput::kSampleRate;
constexpr double kBlockMs = 64 * 1000.0 / kRate;
// The onset finder places a xylophone's attack within this of the truth (measured in the bench).
constexpr double kFinderMs = 1.0;
constexpr int kXylophone = 13;

struct Note
{
    int key;
    qint64 on;
    int velocity;
    qint64 off;
    int releaseVelocity;
    friend bool operator==(const Note &, const Note &) = default;
    friend void PrintTo(const Note &n, std::ostream *os)
    {
        *os << "key " << n.key << " at " << n.on << " (" << n.velocity << ") to " << n.off << " ("
            << n.releaseVelocity << ")";
    }
};

// Pairs note-ons with the next release of their key. A strike on a key that sounds would be
// ambiguous to any reader; none of these recordings has one.
std::vector<Note> pairNotes(const std::vector<std::tuple<qint64, bool, int, int>> &events)
{
    std::vector<Note> notes;
    std::map<int, size_t> open;
    for (const auto &[tick, on, key, velocity] : events) {
        if (on) {
            EXPECT_FALSE(open.count(key)) << "key " << key << " struck again at " << tick;
            open[key] = notes.size();
            notes.push_back({key, tick, velocity, -1, 0});
        } else if (auto it = open.find(key); it != open.end()) {
            notes[it->second].off = tick;
            notes[it->second].releaseVelocity = velocity;
            open.erase(it);
        }
    }
    std::stable_sort(notes.begin(), notes.end(), [](const Note &a, const Note &b) {
        return a.on < b.on || (a.on == b.on && a.key < b.key);
    });
    return notes;
}

std::vector<Note> readWithMido(const QString &file)
{
    QProcess python;
    python.start(QStringLiteral(VELMORA_SYSTEM_PYTHON),
                 {QStringLiteral(VELMORA_TEST_SOURCE_DIR "/read_midi.py"), file});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        ADD_FAILURE() << "mido could not read the file: "
                      << python.readAllStandardError().toStdString();
        return {};
    }
    const QStringList lines = QString::fromUtf8(python.readAllStandardOutput()).split(u'\n');
    EXPECT_EQ(lines.value(0), QStringLiteral("format 0 480 1"));
    std::vector<std::tuple<qint64, bool, int, int>> events;
    for (const QString &line : lines.mid(1)) {
        const QStringList f = line.split(u' ');
        if (f.size() == 4 && f[1] != QLatin1String("end"))
            events.emplace_back(f[0].toLongLong(), f[1] == QLatin1String("on"), f[2].toInt(),
                                f[3].toInt());
    }
    return pairNotes(events);
}

enum class Cycle
{
    Zodiac,
    Day,
    Harmonic
};

// A run of a cycle from its worked example, recorded on a clock that moves one tick interval
// per tick, then stopped; the recording goes on a little after the stop's tick.
struct RecordedRun
{
    MidiRecording recording;
    double beatsPerMinute = 0;
};

RecordedRun recordRun(Cycle cycle, int program, int ticks)
{
    Rig rig({0.0, 0.3});
    nanoseconds now = 0s;
    rig.midi->setClock([&] { return now; });
    rig.player->setInstrument(program);
    MidiRecorder recorder;
    recorder.start(*rig.midi);
    now += 1s; // the audio has a moment of silence before the first chord
    // Zodiac: a sky whose seven voices all differ (Jupiter a little before the cycle tests' 200).
    // Day: Wednesday 06:30, 88, 95, 77, 65 at once. Harmonic, hold 2: 72, 77, 69, 53, 41, then
    // 76, 69, 57, 45 under the held 72.
    rig.sky.place(195.0);
    rig.player->setHoldIndex(2);
    void (CyclePlayer::*const click)() = cycle == Cycle::Zodiac ? &CyclePlayer::clickZodiac
                                         : cycle == Cycle::Day  ? &CyclePlayer::clickDays
                                                                : &CyclePlayer::clickHarmonic;
    (rig.player.get()->*click)();
    const nanoseconds interval = std::chrono::milliseconds(rig.player->timerIntervalMs());
    for (int t = 0; t < ticks; ++t) {
        now += interval;
        if (cycle == Cycle::Zodiac && t == 2)
            rig.sky.longitudes[0] = 12.0; // the Moon's voice moves
        rig.player->tick();
    }
    (rig.player.get()->*click)();
    now += interval;
    rig.player->tick();
    RecordedRun run;
    run.beatsPerMinute = rig.player->state().beatsPerMinute;
    now += 2s;
    run.recording = recorder.stop();
    return run;
}

std::vector<Note> recordedNotes(const RecordedRun &run)
{
    std::vector<std::tuple<qint64, bool, int, int>> events;
    for (const auto &m : run.recording.messages) {
        const int status = int(m.packed & 0xF0);
        const int velocity = int((m.packed >> 16) & 0x7F);
        if (status != kNoteOn && status != kNoteOff)
            continue;
        const qint64 tick = std::llround(double(m.time.count()) * 480 * run.beatsPerMinute / 60e9);
        events.emplace_back(tick, status == kNoteOn, int((m.packed >> 8) & 0x7F), velocity);
    }
    return pairNotes(events);
}

double soxRms(const QString &audio)
{
    QProcess sox;
    sox.start(QStringLiteral("sox"), {audio, QStringLiteral("-n"), QStringLiteral("stat")});
    if (!sox.waitForFinished(30000))
        return -1;
    const QString stat = QString::fromUtf8(sox.readAllStandardError());
    const auto m = QRegularExpression(QStringLiteral("RMS\\s+amplitude:\\s+([0-9.]+)")).match(stat);
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

class RecordedCycle : public testing::TestWithParam<Cycle>
{};

TEST_P(RecordedCycle, ReadersOfTheFileHearTheRecordedNotesAndItsAudioPlaysThemOnTime)
{
    // The day cycle stops before 08:00, whose chord gives two voices one key.
    const RecordedRun run = recordRun(GetParam(), kXylophone, GetParam() == Cycle::Day ? 5 : 6);
    const std::vector<Note> recorded = recordedNotes(run);
    ASSERT_GE(recorded.size(), 5u);
    QTemporaryDir dir;
    const QString midi = dir.filePath(QStringLiteral("cycle.mid"));
    ASSERT_FALSE(writeFileAtomically(midi, standardMidiFile(run.recording)));

    EXPECT_EQ(readWithMido(midi), recorded);

    VELMORA_SKIP_WITHOUT_SOUNDFONT();
    const QString wav = dir.filePath(QStringLiteral("cycle.wav"));
    const RenderResult r = renderMidiToAudio(midi, wav);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.midiLength, run.recording.end);
    // The recording's length, then the release tail: the voices dying away and the reverb.
    EXPECT_GE(r.audioLength, r.midiLength + 500ms);
    EXPECT_LE(r.audioLength, r.midiLength + 3s);
    const std::vector<float> audio = readWavMono(wav);
    EXPECT_NEAR(double(audio.size()) / kRate, double(r.audioLength.count()) / 1e9, 0.01);
    EXPECT_GT(soxRms(wav), 0.001) << "not silence";

    const OnsetFinder onsets(audio);
    std::set<qint64> strikes;
    for (const Note &n : recorded)
        strikes.insert(n.on);
    for (qint64 tick : strikes) {
        const double due = double(tick) * 60e3 / (480 * run.beatsPerMinute);
        const long at = long(due * kRate / 1000);
        const auto onset = onsets.find(at - long(0.005 * kRate), at + long(0.030 * kRate));
        ASSERT_TRUE(onset) << "no onset near tick " << tick;
        // A message goes in at the first block boundary at or after its time.
        const double late = double(*onset) * 1000 / kRate - due;
        EXPECT_GE(late, -kFinderMs) << "tick " << tick;
        EXPECT_LE(late, kBlockMs + kFinderMs) << "tick " << tick;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cycles, RecordedCycle, testing::Values(Cycle::Zodiac, Cycle::Day, Cycle::Harmonic),
    [](const auto &info) {
        return std::string(std::array{"Zodiac", "Day", "Harmonic"}[int(info.param)]);
    });

// The harmonic cycle played live into a WAV file, each tick up to 45 ms late at no whole
// millisecond, stopped after `ticks` beats; rendered as FluidSynth's file driver paces it, so
// frame n is clock time n / rate. Also the block each beat's strikes went to.
struct LiveRun
{
    MidiRecording recording;
    nanoseconds start{0};
    nanoseconds stopPlace{0};
    std::vector<std::pair<nanoseconds, qint64>> placements;
    std::vector<float> audio;
};

LiveRun playLive(int program, int ticks, const QString &wav)
{
    auto owned = std::make_unique<SynthOutput>(SynthOutput::Sink::WavFile, wav);
    SynthOutput *synth = owned.get();
    Rig rig({0.0, 0.3}, std::move(owned));
    EXPECT_TRUE(rig.midi->isOpen());
    qint64 frames = 0;
    nanoseconds now{0};
    rig.midi->setClock([&] { return now; });
    auto renderTo = [&](nanoseconds until) {
        for (nanoseconds block;
             (block = std::chrono::milliseconds(frames * 1000 / qint64(kRate))) <= until;
             frames += 64) {
            now = std::max(now, block);
            synth->render(1); // one block
        }
        now = until;
    };
    rig.player->setInstrument(program);
    MidiRecorder recorder;
    renderTo(500ms + 900us); // the cycle starts between two readings of the clock
    LiveRun run;
    run.start = rig.midi->clock()();
    recorder.start(*rig.midi);
    rig.startHarmonic(2);
    if (const auto placed = synth->lastPlacement())
        run.placements.push_back(*placed);
    const nanoseconds interval = std::chrono::milliseconds(rig.player->timerIntervalMs());
    const std::chrono::microseconds late[] = {300us, 9700us, 31500us, 44900us, 3200us, 17600us};
    for (int beat = 1; beat <= ticks + 1; ++beat) {
        if (beat == ticks + 1)
            rig.player->clickHarmonic(); // "Stop", carried out by the next tick
        renderTo(run.start + beat * interval + late[beat % 6]);
        rig.player->tick();
        if (const auto placed = synth->lastPlacement())
            run.placements.push_back(*placed);
    }
    run.stopPlace = run.start + (ticks + 1) * interval;
    renderTo(run.stopPlace + 2s);
    run.recording = recorder.stop();
    rig.midi->close();
    run.audio = readWavMono(wav);
    return run;
}

TEST(LiveSynthesiser, StrikesOnTheStampsHoweverLateTheTick)
{
    VELMORA_SKIP_WITHOUT_SOUNDFONT();
    QTemporaryDir dir;
    const LiveRun run = playLive(kXylophone, 6, dir.filePath(QStringLiteral("live.wav")));
    std::set<qint64> strikes; // in nanoseconds of the recording
    for (const auto &m : run.recording.messages)
        if ((m.packed & 0xF0) == kNoteOn)
            strikes.insert(m.time.count());
    ASSERT_GE(strikes.size(), 7u) << "a chord a beat";
    const OnsetFinder onsets(run.audio);
    for (qint64 strike : strikes) {
        const double due = double((run.start.count() + strike)) / 1e6;
        const long at = long(due * kRate / 1000);
        // Sent at once, a strike would come as early as its tick: up to the look-ahead.
        const auto onset = onsets.find(at - long(0.060 * kRate), at + long(0.030 * kRate));
        ASSERT_TRUE(onset) << "no onset near " << due << " ms";
        // Each goes in at the block that starts nearest to its stamp.
        const double late = double(*onset) * 1000 / kRate - due;
        EXPECT_LE(std::fabs(late), kBlockMs / 2 + kFinderMs) << "at " << due << " ms";
    }
    // Exactly that block, however the clock's readings fell between the blocks' starts.
    ASSERT_GE(run.placements.size(), 6u);
    for (const auto &[stamp, block] : run.placements)
        EXPECT_EQ(block, std::llround(double(stamp.count()) / 1e6 / kBlockMs)) << stamp.count();
}

TEST(LiveSynthesiser, NothingSoundsAfterTheStopsRelease)
{
    VELMORA_SKIP_WITHOUT_SOUNDFONT();
    // An organ, stopped while the cycle holds its top note.
    constexpr int kOrgan = 16;
    QTemporaryDir dir;
    const LiveRun run = playLive(kOrgan, 1, dir.filePath(QStringLiteral("stop.wav")));
    const auto quietFrom =
        size_t(double((run.stopPlace + kLookAhead).count()) / 1e9 * kRate + 0.6 * kRate);
    ASSERT_LT(quietFrom, run.audio.size());
    float before = 0, after = 0;
    for (size_t i = 0; i < run.audio.size(); ++i)
        (i < quietFrom ? before : after) =
            std::max(i < quietFrom ? before : after, std::fabs(run.audio[i]));
    EXPECT_GT(before, 0.05f);
    EXPECT_LT(after, 0.01f * before) << "still sounding 0.6 s after the stop's release";
}

TEST(AudioRender, CancelledOrFailedRendersLeaveNoFile)
{
    VELMORA_SKIP_WITHOUT_SOUNDFONT();
    const RecordedRun run = recordRun(Cycle::Day, 0, 40);
    QTemporaryDir dir;
    const QString midi = dir.filePath(QStringLiteral("day.mid"));
    ASSERT_FALSE(writeFileAtomically(midi, standardMidiFile(run.recording)));
    const QString wav = dir.filePath(QStringLiteral("day.wav"));

    int calls = 0;
    const RenderResult cancelled =
        renderMidiToAudio(midi, wav, [&](double) { return ++calls < 3; });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(cancelled.ok);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("day.mid")});

    const RenderResult noSuchFolder =
        renderMidiToAudio(midi, dir.filePath(QStringLiteral("gone/day.wav")));
    EXPECT_FALSE(noSuchFolder.ok);
    EXPECT_FALSE(noSuchFolder.error.isEmpty());
    EXPECT_FALSE(renderMidiToAudio(wav, midi + QStringLiteral(".wav")).ok) << "not a MIDI file";
    EXPECT_FALSE(renderMidiToAudio(midi, dir.filePath(QStringLiteral("day.mp3"))).ok);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    // FLAC and Ogg by the extension, far faster than the music plays. Counted in the process's
    // CPU time, which a loaded machine does not shrink; the benchmark measures the speed itself.
    for (const char *name : {"day.flac", "day.ogg"}) {
        const QString out = dir.filePath(QString::fromLatin1(name));
        const std::clock_t cpu = std::clock();
        const RenderResult r = renderMidiToAudio(midi, out);
        const double cpuSeconds = double(std::clock() - cpu) / CLOCKS_PER_SEC;
        ASSERT_TRUE(r.ok) << name << ": " << r.error.toStdString();
        EXPECT_GT(soxRms(out), 0.001) << name;
        EXPECT_GT(double(r.audioLength.count()) / 1e9 / cpuSeconds, 5.0) << name;
    }
}

} // namespace
