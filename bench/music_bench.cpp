#include "core/random.h"
#include "music/core/cycleplayer.h"
#include "music/core/midimodule.h"
#include "music/midi/recordingoutput.h"
#include "music/midi/synthoutput.h"
#include "music/view/musicpage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace velmora;

namespace {

// A sky whose planets creep forward a little on every update, so the zodiac
// voices change now and then as they would with a real sky.
struct MovingSky : SkyLink
{
    Moment date{2026, 12, 2, 6, 30};
    std::array<double, 7> longitudes{3, 47, 91, 135, 179, 223, 267};
    int redraws = 0;

    Moment theDate() const override { return date; }
    void setTheDate(const Moment &m) override { date = m; }
    void updateCalendar(int plusMin) override
    {
        date = date.addHours(plusMin);
        for (size_t i = 0; i < longitudes.size(); ++i)
            longitudes[i] = std::fmod(longitudes[i] + 0.5 * double(i + 1), 360.0);
        ++redraws;
    }
    void showPlanets() override { ++redraws; }
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

struct Bench
{
    Bench()
        : midi(std::make_unique<RecordingOutput>())
        , player(midi, sky, random)
    {
        midi.open();
        player.setHoldIndex(2);
    }
    void clear() { static_cast<RecordingOutput *>(midi.output())->clear(); }

    MovingSky sky;
    RandomSource random;
    MidiModule midi;
    CyclePlayer player;
};

// One tick of each cycle: the chord computation and its messages. The sky is
// a stand-in, so the chart redraw a real tick causes is not included here.
void ZodiacTick(benchmark::State &state)
{
    Bench b;
    b.player.clickZodiac();
    for (auto _ : state) {
        b.player.tick();
        b.clear();
    }
}
BENCHMARK(ZodiacTick);

void DayTick(benchmark::State &state)
{
    Bench b;
    b.player.clickDays();
    for (auto _ : state) {
        b.player.tick();
        b.clear();
    }
}
BENCHMARK(DayTick);

void HarmonicTick(benchmark::State &state)
{
    Bench b;
    b.player.setYearChecked(true);
    b.player.clickHarmonic();
    for (auto _ : state) {
        b.player.tick();
        b.clear();
    }
}
BENCHMARK(HarmonicTick);

template <class T> T *add(QWidget *root, const char *name)
{
    auto *w = new T(root);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// Runs the zodiac cycle through the real Timer1 handler at the given tempo
// and reports how late each tick came against the ideal schedule start + k * interval.
void measureTimer(int ticks, const char *bpm)
{
    QWidget root;
    auto *list = add<QComboBox>(&root, "cmbInstrument");
    list->addItem(QStringLiteral("0"));
    add<QLineEdit>(&root, "txtSpeed")->setText(QString::fromLatin1(bpm));
    add<QLineEdit>(&root, "txtPitch")->setText(QStringLiteral("60"));
    add<QLineEdit>(&root, "txtVolume(0)")->setText(QStringLiteral("40"));
    add<QLineEdit>(&root, "txtVolume(1)")->setText(QStringLiteral("100"));
    add<QComboBox>(&root, "cmbOct")->addItem(QStringLiteral("1"));
    add<QComboBox>(&root, "cmbChange")->addItem(QStringLiteral("1"));
    add<QCheckBox>(&root, "chkCHMod");
    add<QTimer>(&root, "Timer1");
    for (const char *n : {"cmdZodiac", "cmdDays", "cmdCyclusHarmonicus"})
        add<QPushButton>(&root, n)->setText(QString::fromLatin1(n));

    Bench b;
    MusicPage page(&root, b.player);
    using Clock = std::chrono::steady_clock;
    std::vector<Clock::time_point> at;
    at.reserve(size_t(ticks));
    QObject::connect(page.timer(), &QTimer::timeout, &root, [&] {
        at.push_back(Clock::now());
        if (int(at.size()) >= ticks)
            QCoreApplication::quit();
    });
    const Clock::time_point start = Clock::now();
    page.cmdZodiac_Click();
    const int interval = page.timer()->interval();
    QCoreApplication::exec();

    std::vector<double> late;
    for (size_t k = 0; k < at.size(); ++k) {
        const auto ideal = start + std::chrono::milliseconds(interval * qint64(k + 1));
        late.push_back(std::chrono::duration<double, std::milli>(at[k] - ideal).count());
    }
    std::vector<double> sorted = late;
    std::sort(sorted.begin(), sorted.end());
    std::printf("Timer1 at %s bpm (%d ms): %zu ticks, lateness median %.3f ms, worst %.3f ms, "
                "earliest %.3f ms\n",
                bpm, interval, late.size(), sorted[sorted.size() / 2], sorted.back(),
                sorted.front());
}

// Renders about eight seconds of each cycle through the built-in synthesiser
// into WAV files, to listen to or to measure.
void renderCycles(const QString &folder)
{
    const char *names[] = {"zodiac", "day", "harmonic"};
    for (int cycle = 0; cycle < 3; ++cycle) {
        const QString path =
            folder + QStringLiteral("/%1.wav").arg(QString::fromLatin1(names[cycle]));
        auto owned = std::make_unique<SynthOutput>(SynthOutput::Sink::WavFile, path);
        SynthOutput *synth = owned.get();
        MovingSky sky;
        RandomSource random;
        MidiModule midi(std::move(owned));
        midi.open();
        CyclePlayer player(midi, sky, random);
        player.setBoxText(MusicBox::Speed, QStringLiteral("120"));
        player.setBoxText(MusicBox::MinVolume, QStringLiteral("60"));
        player.setBoxText(MusicBox::MaxVolume, QStringLiteral("110"));
        player.enterVolume(0);
        player.enterVolume(1);
        player.setInstrument(50);
        if (cycle == 0)
            player.clickZodiac();
        else if (cycle == 1)
            player.clickDays();
        else
            player.clickHarmonic();
        int elapsed = 0;
        while (elapsed < 7000) {
            synth->render(player.timerIntervalMs());
            elapsed += player.timerIntervalMs();
            player.tick();
        }
        if (cycle == 0)
            player.clickZodiac();
        else if (cycle == 1)
            player.clickDays();
        else
            player.clickHarmonic();
        player.tick();
        synth->render(1500);
        std::printf("%s: %s %s\n", names[cycle], qPrintable(path),
                    qPrintable(synth->errorString()));
        midi.close();
    }
}

} // namespace

int main(int argc, char **argv)
{
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
    int restCount = int(rest.size());
    QApplication app(restCount, rest.data());
    if (!renderDir.isEmpty()) {
        renderCycles(renderDir);
        return 0;
    }
    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (ticks > 0)
        measureTimer(ticks, "180");
    return 0;
}
