// The refreshes the retained pictures serve, side by side with the bare ephemeris they wait on,
// and the paint of the planets page on a screen of pixel ratio 2.
#include "art/view/artcontroller.h"
#include "benchsupport.h"
#include "calendar/view/monthcalendar.h"
#include "sky/view/navigation.h"
#include "sky/view/planetchart.h"
#include "toolkit/controls.h"

#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include <swephexp.h>

using namespace velmora;
using namespace velmora::bench;

namespace {

// The seven planets and the houses of one moment straight from the library, the library closed
// afterwards, as the sky computation does for every moment: the floor any refresh stands on.
void BareEphemeris(benchmark::State &state)
{
    // Noon at Ottawa (45.5N 75.7W), a day further each pass.
    double jd = swe_julday(2026, 12, 6, 16.5, SE_GREG_CAL);
    for (auto _ : state) {
        jd += 1;
        const double ut = jd - swe_deltat(jd);
        for (int p = SE_SUN; p <= SE_SATURN; ++p) {
            double x[6];
            char serr[AS_MAXCH];
            char name[AS_MAXCH];
            benchmark::DoNotOptimize(swe_calc(jd, p, SEFLG_SWIEPH | SEFLG_SPEED, x, serr));
            swe_get_planet_name(p, name);
            benchmark::DoNotOptimize(x);
        }
        double cusps[13];
        double ascmc[10];
        benchmark::DoNotOptimize(
            swe_houses_ex(ut, SEFLG_SWIEPH | SEFLG_SPEED, 45.5, -75.7, 'P', cusps, ascmc));
        swe_close();
    }
}
BENCHMARK(BareEphemeris)->Unit(benchmark::kMillisecond);

// Start-up as the user sees it: the window built, Form_Load, then shown and its first page
// painted (the figures' pictures included).
void StartupFirstPaint(benchmark::State &state)
{
    for (auto _ : state) {
        auto w = startedWindow();
        w->show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(StartupFirstPaint)->Unit(benchmark::kMillisecond);

// A jump by a day: the calendar, the boxes, the place, the sky and the chart.
void UpdateCalendar(benchmark::State &state)
{
    auto w = startedWindow();
    control<QRadioButton>(w->form(), QStringLiteral("optTJ(1)"))->setChecked(true);
    for (auto _ : state)
        handle([&] { w->navigation()->UpdateCalendar(1); });
}
BENCHMARK(UpdateCalendar)->Unit(benchmark::kMillisecond);

// Enter in the first combination box: the figures, the evacuation and General Table pages.
void CheckLetters(benchmark::State &state)
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
BENCHMARK(CheckLetters)->Unit(benchmark::kMillisecond);

// The whole "The Seven Planets" page painted as a screen of pixel ratio 2 paints it: chart,
// calendar and every control, sharp at twice the pixels. "Repaint" paints it as it stands (it
// was covered, or its tab chosen again); "AfterChange" paints it after the chart and the
// calendar were drawn anew, as after every change of the moment.
void PaintPlanetsPage(benchmark::State &state, bool afterChange)
{
    auto w = startedWindow();
    w->SSTab1()->setCurrentIndex(3);
    w->show();
    // The tab control lays its page out once shown.
    QCoreApplication::processEvents();
    QWidget *page = w->SSTab1()->currentWidget();
    QImage image(page->size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    page->render(&image);
    for (auto _ : state) {
        if (afterChange) {
            state.PauseTiming();
            w->chart()->ShowPlanets();
            w->calendar()->RefreshCalendar();
            state.ResumeTiming();
        }
        page->render(&image);
    }
    state.counters["width_px"] = image.width();
}
BENCHMARK_CAPTURE(PaintPlanetsPage, Repaint, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PaintPlanetsPage, AfterChange, true)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks(argc, argv);
}
