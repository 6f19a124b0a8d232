#include "core/texttables.h"
#include "resources/textresources.h"

#include <benchmark/benchmark.h>
#include <memory>

using namespace velmora;

// The whole start-up parse: every table and the instrument list from the
// resource bytes, which are read once outside the timed loop.
static void ParseAllTextResources(benchmark::State &state)
{
    std::array<QByteArray, kTextResourceNumbers.size()> bytes;
    qint64 total = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = textResource(kTextResourceNumbers[i]);
        total += bytes[i].size();
    }
    for (auto _ : state) {
        auto tables = std::make_unique<ArtTables>();
        for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
            parseTextResource(kTextResourceNumbers[i], bytes[i], *tables);
        QStringList instruments = parseInstrumentList(bytes.back());
        benchmark::DoNotOptimize(tables);
        benchmark::DoNotOptimize(instruments);
    }
    state.SetBytesProcessed(state.iterations() * total);
    state.counters["resource_bytes"] = double(total);
}
BENCHMARK(ParseAllTextResources)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
