// Speed of the lunar series: one full evaluation (104 solar, 10 latitude and
// 11 planetary terms) per iteration, as the new-moon search's phase function
// calls it.
#include <benchmark/benchmark.h>

#include "astro/lunar_theory.h"

namespace {

void BM_MoonEclipticPosition(benchmark::State& state) {
    double T = 0.1;
    for (auto _ : state) {
        const toravel::Vector3 moon = toravel::MoonEclipticPosition(T);
        double longitude = moon.Spherical(toravel::SphericalComponent::Azimuth);
        benchmark::DoNotOptimize(longitude);
        T += 1e-6;
    }
}
BENCHMARK(BM_MoonEclipticPosition);

}  // namespace
