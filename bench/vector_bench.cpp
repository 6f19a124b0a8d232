// The retained pictures at work: start-up to the first painted page, and the planets page
// painted on a screen of pixel ratio 2.
#include "benchsupport.h"
#include "calendar/view/monthcalendar.h"
#include "sky/view/planetchart.h"
#include "toolkit/controls.h"

#include <QImage>
#include <QTabWidget>

using namespace velmora;
using namespace velmora::bench;

namespace {

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
