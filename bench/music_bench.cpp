// The music's own work per tick, without any sky, and how punctually the window's music clock
// beats in real time.
#include "benchsupport.h"
#include "core/random.h"
#include "heardbeats.h"
#include "music/core/cycleplayer.h"
#include "music/core/midirecorder.h"
#include "music/midi/audiorender.h"
#include "music/midi/synthoutput.h"
#include "music/view/musicpage.h"
#include "tests/music/audiocheck.h"
#include "toolkit/controls.h"

#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <vector>

using namespace velmora;
using namespace velmora::bench;
using namespace velmora::test;

namespace {

// A sky whose planets creep forward a little on every update, so the zodiac voices change now
// and then as they would under a real sky, at no cost of its own.
struct MovingSky : SkyLink
{
    Moment date{2026, 12, 2, 6, 30};
    std::array<double, 7> longitudes{3, 47, 91, 135, 179, 223, 267};

    Moment theDate() const override { return date; }
    void setTheDate(const Moment &m) override { date = m; }
    void updateCalendar(int plusMin) override
    {
        date = date.addHours(plusMin);
        for (size_t i = 0; i < longitudes.size(); ++i)
            longitudes[i] = std::fmod(longitudes[i] + 0.5 * double(i + 1), 360.0);
    }
    void showPlanets() override {}
    int jumpCount() const override { return 1; }
    void selectHourUnit() override {}
    double planetLongitude(int index) const override
    {
        return longitudes[static_cast<size_t>(index)];
    }
    QString planetLetter(int j) const override { return QString(QChar(u"ABCD"[j % 4])); }
    QString signLetter(int j) const override { return QString(QChar(u"DCBA"[j % 4])); }
    void setMusicState(const ChartMusicState &) override {}
};

struct Player
{
    explicit Player(std::unique_ptr<MidiOutput> out = std::make_unique<RecordingOutput>())
        : midi(std::move(out))
        , player(midi, sky, random)
    {
        midi.open();
        player.setHoldIndex(2);
    }

    MovingSky sky;
    RandomSource random;
    MidiModule midi;
    CyclePlayer player;
};

enum class Cycle
{
    Zodiac,
    Days,
    Harmonic
};

void click(CyclePlayer &player, Cycle cycle)
{
    switch (cycle) {
    case Cycle::Zodiac:
        return player.clickZodiac();
    case Cycle::Days:
        return player.clickDays();
    case Cycle::Harmonic:
        return player.clickHarmonic();
    }
}

// The chord computation and its messages only; the window benchmarks add the sky's share.
void PlayerTick(benchmark::State &state, Cycle cycle)
{
    Player p;
    p.player.setYearChecked(cycle == Cycle::Harmonic);
    click(p.player, cycle);
    auto *recorder = static_cast<RecordingOutput *>(p.midi.output());
    for (auto _ : state) {
        p.player.tick();
        recorder->clear();
    }
}
BENCHMARK_CAPTURE(PlayerTick, Zodiac, Cycle::Zodiac);
BENCHMARK_CAPTURE(PlayerTick, Days, Cycle::Days);
BENCHMARK_CAPTURE(PlayerTick, Harmonic, Cycle::Harmonic);

// Notes the moment each timer event reaches Timer1, before its handler runs.
class ArrivalLog : public QObject
{
public:
    std::vector<Clock::time_point> at;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Timer)
            at.push_back(Clock::now());
        return QObject::eventFilter(watched, event);
    }
};

// Least-squares slope of the lateness over the beat number, per hundred beats: a clock that
// chains intervals drifts by a steady amount per beat, scheduler noise does not.
double driftPerHundred(const std::vector<double> &late)
{
    const double n = double(late.size());
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t k = 0; k < late.size(); ++k) {
        const double x = double(k);
        sx += x;
        sy += late[k];
        sxx += x * x;
        sxy += x * late[k];
    }
    const double d = n * sxx - sx * sx;
    return d > 0 ? 100.0 * (n * sxy - sx * sy) / d : 0.0;
}

double percentile(std::vector<double> sorted, double p)
{
    std::sort(sorted.begin(), sorted.end());
    const auto i = static_cast<size_t>(p * double(sorted.size() - 1) + 0.5);
    return sorted[i];
}

// The zodiac cycle at 180 beats per minute on the window's real Timer1, for `ticks` beats of
// real time. Each beat's lateness is measured against the absolute schedule start + k * interval,
// so a clock that chains intervals and drifts shows up as lateness that grows.
void Timer1Lateness(benchmark::State &state, int ticks)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto w = startedWindow();
        control<QLineEdit>(w->form(), QStringLiteral("txtSpeed"))->setText(QStringLiteral("180"));
        auto *timer = control<QTimer>(w->form(), QStringLiteral("Timer1"));
        ArrivalLog arrivals;
        arrivals.at.reserve(size_t(ticks));
        timer->installEventFilter(&arrivals);
        std::vector<double> work;
        work.reserve(size_t(ticks));
        QEventLoop loop;
        auto *zodiac = control<QPushButton>(w->form(), QStringLiteral("cmdZodiac"));
        // Connected after the window's handler, so it runs once the tick's work is done.
        QObject::connect(timer, &QTimer::timeout, &loop, [&] {
            work.push_back(ms(Clock::now() - arrivals.at.back()));
            if (int(arrivals.at.size()) >= ticks)
                loop.quit();
        });
        state.ResumeTiming();

        const Clock::time_point start = Clock::now();
        zodiac->click();
        const int interval = timer->interval();
        loop.exec();
        zodiac->click(); // "Stop", carried out by one more tick
        w->music()->Timer1_Timer();

        state.PauseTiming();
        std::vector<double> late;
        for (size_t k = 0; k < arrivals.at.size(); ++k)
            late.push_back(ms(arrivals.at[k] - (start + std::chrono::milliseconds(qint64(interval) *
                                                                                  qint64(k + 1)))));
        state.counters["interval_ms"] = interval;
        state.counters["ticks"] = double(late.size());
        state.counters["late_median_ms"] = percentile(late, 0.5);
        state.counters["late_p99_ms"] = percentile(late, 0.99);
        state.counters["late_worst_ms"] = *std::max_element(late.begin(), late.end());
        state.counters["early_worst_ms"] = -*std::min_element(late.begin(), late.end());
        state.counters["late_last_ms"] = late.back();
        state.counters["drift_ms_per_100"] = driftPerHundred(late);
        state.counters["work_median_ms"] = percentile(work, 0.5);
        state.counters["work_worst_ms"] = *std::max_element(work.begin(), work.end());
        state.ResumeTiming();
    }
}

// The onset finder on audio whose onsets are known exactly: the same cycle rendered offline, each
// beat's messages given to the synthesiser at a block boundary the render has just reached.
void OnsetFinderOffline(benchmark::State &state, int beats)
{
    QTemporaryDir temp;
    const QString wav = temp.filePath(QStringLiteral("offline.wav"));
    std::vector<long> due;
    for (auto _ : state) {
        auto owned = std::make_unique<SynthOutput>(SynthOutput::Sink::WavFile, wav);
        SynthOutput *synth = owned.get();
        {
            Player p(std::make_unique<AtOnce>(std::move(owned)));
            p.player.setBoxText(MusicBox::Speed, QStringLiteral("180"));
            p.player.setInstrument(kXylophone);
            p.player.clickZodiac();
            const int interval = p.player.timerIntervalMs();
            // render() rounds each call up to whole 64-frame blocks.
            const long step = (long(interval) * SynthOutput::kSampleRate / 1000 + 63) / 64 * 64;
            for (int k = 1; k <= beats; ++k) {
                synth->render(interval);
                p.player.tick();
                due.push_back(k * step);
            }
            synth->render(1000);
            p.midi.close();
        }
    }
    const std::vector<float> audio = readWavMono(wav);
    const OnsetFinder onsets(audio);
    std::vector<double> error;
    for (long at : due)
        if (const auto onset = onsets.find(at - 441, at + 3528))
            error.push_back(double(*onset - at) * 1000.0 / SynthOutput::kSampleRate);
    if (error.empty()) {
        state.SkipWithError("no onset found in the audio");
        return;
    }
    std::vector<double> worst;
    for (double e : error)
        worst.push_back(std::fabs(e));
    state.counters["onsets"] = double(error.size());
    state.counters["error_median_ms"] = percentile(error, 0.5);
    state.counters["error_worst_ms"] = *std::max_element(worst.begin(), worst.end());
}

void HeardBeatTiming(benchmark::State &state, bool busy, bool stamped, int beats, QString folder)
{
    QTemporaryDir temp;
    if (folder.isEmpty())
        folder = temp.path();
    const QString wav = folder + QStringLiteral("/zodiac-%1%2.wav")
                                     .arg(busy ? QStringLiteral("busy") : QStringLiteral("idle"),
                                          stamped ? QString() : QStringLiteral("-unstamped"));
    HeardBeats heard;
    for (auto _ : state)
        heard = playHeard(wav, beats, busy, stamped);
    std::vector<double> worst;
    for (double d : heard.deviationMs)
        worst.push_back(std::fabs(d));
    if (heard.deviationMs.empty()) {
        state.SkipWithError("no onset found in the audio");
        return;
    }
    state.counters["beats"] = heard.beats;
    state.counters["onsets"] = double(heard.deviationMs.size());
    state.counters["look_ahead_ms"] = stamped ? lookAheadMs() : 0.0;
    state.counters["dev_median_ms"] = percentile(heard.deviationMs, 0.5);
    state.counters["dev_p99_ms"] = percentile(worst, 0.99);
    state.counters["dev_worst_ms"] = *std::max_element(worst.begin(), worst.end());
    state.counters["worst_blocks"] = *std::max_element(worst.begin(), worst.end()) / kBlockMs;
    // A steady offset of the whole run is latency, not wobble: the beats against their median.
    const double median = percentile(heard.deviationMs, 0.5);
    double wobble = 0;
    for (double d : heard.deviationMs)
        wobble = std::max(wobble, std::fabs(d - median));
    state.counters["wobble_worst_ms"] = wobble;
    if (!heard.placedMs.empty()) {
        std::vector<double> placedWorst;
        for (double d : heard.placedMs)
            placedWorst.push_back(std::fabs(d));
        state.counters["placed_median_ms"] = percentile(heard.placedMs, 0.5);
        state.counters["placed_p99_ms"] = percentile(placedWorst, 0.99);
        state.counters["placed_worst_ms"] =
            *std::max_element(placedWorst.begin(), placedWorst.end());
    }
}

// Records a minute of each cycle at 120 beats per minute into a MIDI file and renders it to WAV,
// FLAC and Ogg: how fast the render runs, how long and how loud the audio is (sox's statistics)
// and where its onsets fall against the recorded times. A xylophone, whose onsets can be found.
void renderCycles(const QString &folder)
{
    const char *names[] = {"zodiac", "day", "harmonic"};
    for (Cycle cycle : {Cycle::Zodiac, Cycle::Days, Cycle::Harmonic}) {
        const QString base = folder + QLatin1Char('/') + QString::fromLatin1(names[int(cycle)]);
        std::chrono::nanoseconds now{0};
        Player p;
        p.midi.setClock([&] { return now; });
        p.player.setBoxText(MusicBox::Speed, QStringLiteral("120"));
        p.player.setBoxText(MusicBox::MinVolume, QStringLiteral("60"));
        p.player.setBoxText(MusicBox::MaxVolume, QStringLiteral("110"));
        p.player.enterVolume(0);
        p.player.enterVolume(1);
        p.player.setInstrument(kXylophone);
        MidiRecorder recorder;
        recorder.start(p.midi);
        click(p.player, cycle);
        while (now < std::chrono::seconds(60)) {
            now += std::chrono::milliseconds(p.player.timerIntervalMs());
            p.player.tick();
        }
        click(p.player, cycle);
        now += std::chrono::milliseconds(p.player.timerIntervalMs());
        p.player.tick();
        const MidiRecording recording = recorder.stop();
        if (const auto why =
                writeFileAtomically(base + QStringLiteral(".mid"), standardMidiFile(recording))) {
            std::printf("%s: %s\n", names[int(cycle)], qPrintable(*why));
            continue;
        }
        std::vector<double> strikes;
        for (const auto &m : recording.messages)
            if ((m.packed & 0xF0) == kNoteOn)
                strikes.push_back(double(m.time.count()) / 1e6);
        strikes.erase(std::unique(strikes.begin(), strikes.end()), strikes.end());

        for (const char *suffix : {".wav", ".flac", ".ogg"}) {
            const QString audio = base + QString::fromLatin1(suffix);
            const std::clock_t cpu = std::clock();
            const RenderResult r = renderMidiToAudio(base + QStringLiteral(".mid"), audio);
            const double cpuSeconds = double(std::clock() - cpu) / CLOCKS_PER_SEC;
            if (!r.ok) {
                std::printf("%s%s: %s\n", names[int(cycle)], suffix, qPrintable(r.error));
                continue;
            }
            QProcess sox;
            sox.start(QStringLiteral("sox"), {audio, QStringLiteral("-n"), QStringLiteral("stat")});
            sox.waitForFinished();
            const QString stat = QString::fromUtf8(sox.readAllStandardError());
            auto field = [&](const char *label) {
                const auto m = QRegularExpression(QString::fromLatin1(label) +
                                                  QStringLiteral(":\\s+(-?[0-9.]+)"))
                                   .match(stat);
                return m.hasMatch() ? m.captured(1).toDouble() : -1.0;
            };
            std::printf("%s%s: MIDI %.2f s, audio %.2f s, rendered in %.3f s (%.0f times real "
                        "time; %.0f times per second of CPU), RMS %.4f, peak %.4f",
                        names[int(cycle)], suffix, double(r.midiLength.count()) / 1e9,
                        double(r.audioLength.count()) / 1e9, double(r.wallTime.count()) / 1e9,
                        double(r.audioLength.count()) / double(r.wallTime.count()),
                        double(r.audioLength.count()) / 1e9 / cpuSeconds, field("RMS\\s+amplitude"),
                        field("Maximum amplitude"));
            if (QString::fromLatin1(suffix) == QLatin1String(".wav")) {
                const std::vector<float> samples = readWavMono(audio);
                const OnsetFinder onsets(samples);
                std::vector<double> dev, worst;
                for (double at : strikes) {
                    const auto frame = long(at * SynthOutput::kSampleRate / 1000);
                    if (const auto o = onsets.find(frame - 220, frame + 1323)) {
                        dev.push_back(double(*o) * 1000 / SynthOutput::kSampleRate - at);
                        worst.push_back(std::fabs(dev.back()));
                    }
                }
                if (!dev.empty())
                    std::printf(
                        ", onsets %zu of %zu, deviation from %.2f to %.2f ms, median %.2f ms",
                        dev.size(), strikes.size(), *std::min_element(dev.begin(), dev.end()),
                        *std::max_element(dev.begin(), dev.end()), percentile(dev, 0.5));
            }
            std::printf("\n");
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    // Our own options come out before the benchmark library sees the rest.
    int ticks = 300;
    int heardBeats = 60;
    QString renderDir;
    QString heardDir;
    std::vector<char *> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--timer_ticks=", 14) == 0)
            ticks = std::atoi(argv[i] + 14);
        else if (std::strncmp(argv[i], "--render_dir=", 13) == 0)
            renderDir = QString::fromLocal8Bit(argv[i] + 13);
        else if (std::strncmp(argv[i], "--heard_beats=", 14) == 0)
            heardBeats = std::atoi(argv[i] + 14);
        else if (std::strncmp(argv[i], "--heard_dir=", 12) == 0)
            heardDir = QString::fromLocal8Bit(argv[i] + 12);
        else
            rest.push_back(argv[i]);
    }
    if (!renderDir.isEmpty()) {
        int n = 1;
        QCoreApplication app(n, argv);
        renderCycles(renderDir);
        return 0;
    }
    if (ticks > 0) {
        benchmark::RegisterBenchmark("Timer1Lateness/180bpm", Timer1Lateness, ticks)
            ->Iterations(1)
            ->Unit(benchmark::kSecond);
    }
    if (heardBeats > 0) {
        benchmark::RegisterBenchmark("OnsetFinderOffline", OnsetFinderOffline, heardBeats)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        // Sent the moment each tick runs, as before the stamps, beside the stamped output.
        for (bool stamped : {true, false})
            for (bool busy : {false, true}) {
                const std::string name = std::string("HeardBeats/180bpm/") +
                                         (busy ? "busy20ms" : "idle") +
                                         (stamped ? "" : "/unstamped");
                benchmark::RegisterBenchmark(name.c_str(), HeardBeatTiming, busy, stamped,
                                             heardBeats, heardDir)
                    ->Iterations(1)
                    ->Unit(benchmark::kSecond);
            }
    }
    const int restCount = int(rest.size());
    rest.push_back(nullptr);
    return runBenchmarks(restCount, rest.data());
}
