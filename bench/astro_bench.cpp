// Speed of the astronomical library's position functions.
#include <benchmark/benchmark.h>

#include "astro/low_precision.h"
#include "astro/solar_theory.h"
#include "astro/vector3.h"

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

void BM_LowPrecisionSun(benchmark::State& state) {
    double T = 0.1;
    for (auto _ : state) {
        double ra, dec;
        toravel::LowPrecisionSun(T, ra, dec);
        benchmark::DoNotOptimize(ra);
        benchmark::DoNotOptimize(dec);
        T += 1e-6;
    }
}
BENCHMARK(BM_LowPrecisionSun);

// The new-moon search reads only the longitude of each position.
void BM_SunEclipticPosition(benchmark::State& state) {
    double T = 0.1;
    for (auto _ : state) {
        const toravel::Vector3 sun = toravel::SunEclipticPosition(T);
        double longitude = sun.Spherical(toravel::SphericalComponent::Azimuth);
        benchmark::DoNotOptimize(longitude);
        T += 1e-6;
    }
}
BENCHMARK(BM_SunEclipticPosition);

// The longitude alone, as the phase function now takes it.
void BM_SunEclipticLongitude(benchmark::State& state) {
    double T = 0.1;
    for (auto _ : state) {
        double longitude = toravel::SunEclipticLongitude(T);
        benchmark::DoNotOptimize(longitude);
        T += 1e-6;
    }
}
BENCHMARK(BM_SunEclipticLongitude);

} // namespace
