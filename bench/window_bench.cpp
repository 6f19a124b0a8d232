// The whole window: start-up, its memory, and one refresh of each page as a user causes it.
#include "art/view/artcontroller.h"
#include "benchsupport.h"
#include "calendar/view/monthcalendar.h"
#include "music/view/musicpage.h"
#include "sky/core/astromodule.h"
#include "sky/core/swelibrary.h"
#include "sky/view/navigation.h"
#include "sky/view/planetchart.h"
#include "toolkit/controls.h"

#include <QLineEdit>
#include <QPushButton>

using namespace velmora;
using namespace velmora::bench;

namespace {

// Registered first so that it sees the process as a user's start-up leaves it, before the
// other benchmarks have built and dropped dozens of windows.
void StartupResidentMemory(benchmark::State &state)
{
    const double before = residentMiB();
    std::unique_ptr<frmVelmora> w;
    for (auto _ : state)
        w = startedWindow();
    state.counters["VmRSS_MiB"] = residentMiB();
    state.counters["before_window_MiB"] = before;
}
BENCHMARK(StartupResidentMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// Construction from the design data and the whole start-up sequence, up to the sky drawn for
// the present moment: everything before the window is first shown.
void FormLoad(benchmark::State &state)
{
    for (auto _ : state) {
        auto w = startedWindow();
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(FormLoad)->Unit(benchmark::kMillisecond);

// Enter in the first combination box: CheckLetters, then the figures, the evacuation page and
// the General Table page drawn again. The codes alternate so that every pass changes them all.
void CheckLettersThreePages(benchmark::State &state)
{
    auto w = startedWindow();
    auto *box = control<QLineEdit>(w->form(), QStringLiteral("txtCode(0)"));
    const QStringList codes{QStringLiteral("BCD"), QStringLiteral("(T)EHK"),
                            QStringLiteral("B(T)BC"), QStringLiteral("FG(T)I")};
    qsizetype i = 0;
    for (auto _ : state) {
        box->setText(codes.at(i++ % codes.size()));
        handle([&] {
            int key = 13;
            w->art()->txtCode_KeyPress(0, key);
        });
    }
}
BENCHMARK(CheckLettersThreePages)->Unit(benchmark::kMillisecond);

// The seven planets and the houses of one moment straight from the library, the library closed
// afterwards, as the sky computation does for every moment: the floor any refresh stands on.
void BareEphemeris(benchmark::State &state)
{
    const SweLibrary &swe = SweLibrary::instance();
    // Noon at Ottawa (45.5N 75.7W), a day further each pass.
    double jd = swe.swe_julday(2026, 12, 6, 16.5, SE_GREG_CAL);
    for (auto _ : state) {
        jd += 1;
        const double ut = jd - swe.swe_deltat(jd);
        for (int p = SE_SUN; p <= SE_SATURN; ++p) {
            double x[6];
            char serr[AS_MAXCH];
            char name[AS_MAXCH];
            benchmark::DoNotOptimize(swe.swe_calc(jd, p, SEFLG_SWIEPH | SEFLG_SPEED, x, serr));
            swe.swe_get_planet_name(p, name);
            benchmark::DoNotOptimize(x);
        }
        double cusps[13];
        double ascmc[10];
        benchmark::DoNotOptimize(
            swe.swe_houses_ex(ut, SEFLG_SWIEPH | SEFLG_SPEED, 45.5, -75.7, 'P', cusps, ascmc));
        swe.swe_close();
    }
}
BENCHMARK(BareEphemeris)->Unit(benchmark::kMillisecond);

// One step of a jump by a day, beside the bare library above: the calendar, the boxes, the place,
// the sky and the chart.
void UpdateCalendar(benchmark::State &state)
{
    auto w = startedWindow();
    control<QRadioButton>(w->form(), QStringLiteral("optTJ(1)"))->setChecked(true);
    for (auto _ : state)
        handle([&] { w->navigation()->UpdateCalendar(1); });
}
BENCHMARK(UpdateCalendar)->Unit(benchmark::kMillisecond);

// The shares of that step: the sky computation alone, the chart alone, the calendar alone.
void CalcPlanets(benchmark::State &state)
{
    auto w = startedWindow();
    Moment moment = w->navigation()->TheDate();
    for (auto _ : state) {
        moment = moment.addHours(1);
        w->astro().CalcPlanets(moment);
    }
}
BENCHMARK(CalcPlanets)->Unit(benchmark::kMillisecond);

void ShowPlanets(benchmark::State &state)
{
    auto w = startedWindow();
    for (auto _ : state)
        handle([&] { w->chart()->ShowPlanets(); });
}
BENCHMARK(ShowPlanets)->Unit(benchmark::kMillisecond);

void RefreshCalendar(benchmark::State &state)
{
    auto w = startedWindow();
    clsCalendar &calendar = *w->calendar();
    int month = 0;
    for (auto _ : state) {
        calendar.setShownMonth(month % 12 + 1);
        calendar.SelectDay(Moment(calendar.ShownYear(), month % 12 + 1, 15));
        calendar.RefreshCalendar();
        ++month;
    }
}
BENCHMARK(RefreshCalendar)->Unit(benchmark::kMillisecond);

// One beat of a cycle through the window's own music clock handler: the chord, its messages
// and whatever the cycle asks of the sky (a new moment and the chart drawn again). The cycle of
// the day ticks four times a beat, the others once.
void MusicBeat(benchmark::State &state, const char *button)
{
    auto w = startedWindow();
    control<QPushButton>(w->form(), QString::fromLatin1(button))->click();
    MusicPage &music = *w->music();
    const int ticks = QLatin1String(button) == QLatin1String("cmdDays") ? 4 : 1;
    int n = 0;
    for (auto _ : state) {
        for (int t = 0; t < ticks; ++t)
            handle([&] { music.Timer1_Timer(); });
        if (++n % 1024 == 0) {
            state.PauseTiming();
            forgetRecordedMessages(*w);
            state.ResumeTiming();
        }
    }
    control<QPushButton>(w->form(), QString::fromLatin1(button))->click();
    music.Timer1_Timer();
}
BENCHMARK_CAPTURE(MusicBeat, Zodiac, "cmdZodiac")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MusicBeat, Days, "cmdDays")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MusicBeat, Harmonic, "cmdCyclusHarmonicus")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks(argc, argv);
}
