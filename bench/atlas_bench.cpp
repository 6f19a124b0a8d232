// Finding a place: the finder opened on a name with the atlas not yet loaded, and each further
// keystroke in its search box.
#include "benchsupport.h"
#include "sky/view/frmplace.h"
#include "sky/view/placefinder.h"

#include <QLineEdit>
#include <QTreeWidget>

using namespace velmora;
using namespace velmora::bench;

namespace {

int listedRows(const PlaceFinder &finder)
{
    return finder.dialog()
        ->findChild<QTreeWidget *>(QStringLiteral("lstPlaces"))
        ->topLevelItemCount();
}

// The menu's "Find Place..." on a window just started, with "San" typed: the atlas library
// opened (the first time in the process), its index built, the matches listed and the dialog
// shown. Registered first, so its one iteration is the process's first opening of the library.
void OpenFinderColdProcess(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto w = startedWindow();
        state.ResumeTiming();
        handle([&] { w->placeFinder()->open(QStringLiteral("San")); });
        state.PauseTiming();
        if (listedRows(*w->placeFinder()) == 0)
            state.SkipWithError("nothing listed: is libgeonames0 installed?");
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenFinderColdProcess)->Iterations(1)->Unit(benchmark::kMillisecond);

// The same on every new window afterwards: the index is built again for each one.
void OpenFinder(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto w = startedWindow();
        state.ResumeTiming();
        handle([&] { w->placeFinder()->open(QStringLiteral("San")); });
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenFinder)->Unit(benchmark::kMillisecond);

// One keystroke: the text one letter longer or shorter, searched and listed again. The texts
// are the prefixes of a few names typed and erased letter by letter, from one letter (the most
// matches) to the whole name.
void Keystroke(benchmark::State &state)
{
    auto w = startedWindow();
    w->placeFinder()->open(QString());
    auto *box =
        w->placeFinder()->dialog()->findChild<QLineEdit *>(QStringLiteral("txtPlaceSearch"));
    QStringList texts;
    for (const QString &name : {QStringLiteral("Santa Cruz de Tenerife"), QStringLiteral("Zürich"),
                                QStringLiteral("New York"), QStringLiteral("Kathmandu")}) {
        for (qsizetype n = 1; n <= name.size(); ++n)
            texts << name.left(n);
        for (qsizetype n = name.size() - 1; n >= 1; --n)
            texts << name.left(n);
    }
    qsizetype i = 0;
    for (auto _ : state)
        handle([&] { box->setText(texts.at(i++ % texts.size())); });
}
BENCHMARK(Keystroke)->Unit(benchmark::kMillisecond);

// The slowest kind of keystroke: one letter, whose matches fill the whole list.
void KeystrokeOneLetter(benchmark::State &state)
{
    auto w = startedWindow();
    w->placeFinder()->open(QString());
    auto *box =
        w->placeFinder()->dialog()->findChild<QLineEdit *>(QStringLiteral("txtPlaceSearch"));
    const QString letters = QStringLiteral("sabm");
    qsizetype i = 0;
    for (auto _ : state)
        handle([&] { box->setText(letters.at(i++ % letters.size())); });
}
BENCHMARK(KeystrokeOneLetter)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // The offscreen platform says this each time a dialog is shown: noise, not a finding.
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (previous && !message.contains(QLatin1String("propagateSizeHints")))
                previous(type, context, message);
        });
    return runBenchmarks(argc, argv);
}
