// Speed of the lunar series: one full evaluation (104 solar, 10 latitude and
// 11 planetary terms) per iteration, and the longitude alone (104 solar and
// 11 planetary terms), which the new-moon search's phase function reads.
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

// The longitude alone, as the phase function now takes it.
void BM_MoonEclipticLongitude(benchmark::State& state) {
    double T = 0.1;
    for (auto _ : state) {
        double longitude = toravel::MoonEclipticLongitude(T);
        benchmark::DoNotOptimize(longitude);
        T += 1e-6;
    }
}
BENCHMARK(BM_MoonEclipticLongitude);

} // namespace
