#include "core/random.h"
#include "sky/core/astromodule.h"
#include "sky/view/astrofont.h"
#include "sky/view/planetchart.h"
#include "toolkit/picturebox.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

// One step of a continuous jump: a new hour, the sky computed (the library
// opens and closes its files each time) and the whole chart redrawn.
void CalcAndShowPlanets(benchmark::State &state)
{
    AstroFont font;
    font.Add(QCoreApplication::applicationDirPath());
    QWidget root;
    auto *pic = new PictureBox(&root);
    pic->setObjectName(QStringLiteral("picAstro"));
    pic->resize(481, 481);
    (new QPlainTextEdit(&root))->setObjectName(QStringLiteral("txtOut"));
    (new QLineEdit(&root))->setObjectName(QStringLiteral("txtLatLong(2)"));

    AstroModule astro;
    astro.setLatitude(45.5f);
    astro.setLongitude(-75.7f);
    RandomSource random;
    PlanetChart chart(&root, astro, random);
    Moment moment(2003, 9, 16, 2, 57, 36);
    for (auto _ : state) {
        moment = moment.addHours(1);
        astro.CalcPlanets(moment);
        chart.ShowPlanets();
    }
}
BENCHMARK(CalcAndShowPlanets)->Unit(benchmark::kMicrosecond);

void CalcPlanetsOnly(benchmark::State &state)
{
    AstroModule astro;
    Moment moment(2003, 9, 16, 2, 57, 36);
    for (auto _ : state) {
        moment = moment.addHours(1);
        astro.CalcPlanets(moment);
        benchmark::DoNotOptimize(astro.ascendant());
    }
}
BENCHMARK(CalcPlanetsOnly)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
