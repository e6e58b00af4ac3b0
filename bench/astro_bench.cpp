// Speed of the astronomical library's position functions.
#include <benchmark/benchmark.h>

#include "astro/low_precision.h"

namespace {

void BM_LowPrecisionMoon(benchmark::State& state) {
    double T = 0.1;
    for (auto _ : state) {
        double ra, dec;
        toravel::LowPrecisionMoon(T, ra, dec);
        benchmark::DoNotOptimize(ra);
        benchmark::DoNotOptimize(dec);
        T += 1e-6;
    }
}
BENCHMARK(BM_LowPrecisionMoon);

}  // namespace
