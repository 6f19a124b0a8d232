// The music's own work per tick, without any sky, and how punctually the window's music clock
// beats in real time.
#include "benchsupport.h"
#include "core/random.h"
#include "music/core/cycleplayer.h"
#include "music/midi/synthoutput.h"
#include "music/view/musicpage.h"
#include "toolkit/controls.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace velmora;
using namespace velmora::bench;

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

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

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

// Renders about seven seconds of each cycle through the built-in synthesiser into WAV files,
// to listen to or to measure.
void renderCycles(const QString &folder)
{
    const char *names[] = {"zodiac", "day", "harmonic"};
    for (Cycle cycle : {Cycle::Zodiac, Cycle::Days, Cycle::Harmonic}) {
        const char *name = names[int(cycle)];
        const QString path = folder + QStringLiteral("/%1.wav").arg(QString::fromLatin1(name));
        auto owned = std::make_unique<SynthOutput>(SynthOutput::Sink::WavFile, path);
        SynthOutput *synth = owned.get();
        Player p(std::move(owned));
        p.player.setBoxText(MusicBox::Speed, QStringLiteral("120"));
        p.player.setBoxText(MusicBox::MinVolume, QStringLiteral("60"));
        p.player.setBoxText(MusicBox::MaxVolume, QStringLiteral("110"));
        p.player.enterVolume(0);
        p.player.enterVolume(1);
        p.player.setInstrument(50);
        click(p.player, cycle);
        for (int elapsed = 0; elapsed < 7000; elapsed += p.player.timerIntervalMs()) {
            synth->render(p.player.timerIntervalMs());
            p.player.tick();
        }
        click(p.player, cycle);
        p.player.tick();
        synth->render(1500);
        std::printf("%s: %s %s\n", name, qPrintable(path), qPrintable(synth->errorString()));
        p.midi.close();
    }
}

} // namespace

int main(int argc, char **argv)
{
    // Our own options come out before the benchmark library sees the rest.
    int ticks = 300;
    QString renderDir;
    std::vector<char *> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--timer_ticks=", 14) == 0)
            ticks = std::atoi(argv[i] + 14);
        else if (std::strncmp(argv[i], "--render_dir=", 13) == 0)
            renderDir = QString::fromLocal8Bit(argv[i] + 13);
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
    const int restCount = int(rest.size());
    rest.push_back(nullptr);
    return runBenchmarks(restCount, rest.data());
}
