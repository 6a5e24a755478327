// The window's shape cut out of the 666 x 363 skin.
#include "modskin.h"

#include <benchmark/benchmark.h>

namespace {

void RegionDepuisImage_skin(benchmark::State &state)
{
    const QImage skin(QStringLiteral(SOLVARIN_SKIN));
    if (skin.isNull()) {
        state.SkipWithError("skin picture not found");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(modSkin::RegionDepuisImage(skin));
}

} // namespace

BENCHMARK(RegionDepuisImage_skin)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
