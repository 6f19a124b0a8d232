// One full evaluation of a combination: repair, the three text boxes, the
// markers, the fourth figure, the evacuation page and the General Table page.
#include "art/view/artcontroller.h"
#include "core/random.h"
#include "core/texttables.h"
#include "resources/design/designdata.h"
#include "resources/textresources.h"
#include "toolkit/formbuilder.h"

#include <QApplication>
#include <QLineEdit>

#include <benchmark/benchmark.h>

using namespace velmora;

static void CheckLettersAllPages(benchmark::State &state)
{
    ArtTables tables;
    for (int number : kTextResourceNumbers)
        parseTextResource(number, textResource(number), tables);
    RandomSource random;
    random.seed(1);
    QWidget root;
    const QJsonObject design = FormBuilder::loadDesign(designDataPath());
    root.resize(FormBuilder::clientSize(design));
    FormBuilder::build(design, &root);
    root.show();
    ArtController art(&root, tables, random);
    auto *box = root.findChild<QLineEdit *>(QStringLiteral("txtCode(0)"));

    // Alternate so that every pass changes the markers, the rings and the list.
    const QStringList codes{QStringLiteral("BCD"), QStringLiteral("(T)EHK"),
                            QStringLiteral("B(T)BC"), QStringLiteral("FG(T)I")};
    qsizetype i = 0;
    for (auto _ : state) {
        box->setText(codes.at(i++ % codes.size()));
        int key = 13;
        art.txtCode_KeyPress(0, key);
        benchmark::DoNotOptimize(art.CodeLetters());
    }
}
BENCHMARK(CheckLettersAllPages)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
