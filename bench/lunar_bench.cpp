// Speed of the lunar calendar's rise and set search: one local day of the
// Moon at Moscow, the unit the moonrise count repeats 41 times.
#include <benchmark/benchmark.h>

#include "astro/constants.h"
#include "lunar/rise_set.h"

namespace {

void BM_FindRiseSetEvents(benchmark::State& state) {
    const double longitude = 37.62 * toravel::RadiansPerDegree;
    const double latitude = 55.75 * toravel::RadiansPerDegree;
    double dayStartMjd = 55562.0 - 3.0 / 24.0; // local midnight of 2011-01-01, UTC+3
    for (auto _ : state) {
        double riseHour = 0.0;
        double setHour = 0.0;
        bool riseFound;
        bool setFound;
        bool upAtStart;
        toravel::FindRiseSetEvents(toravel::RiseSetKind::Moonrise, dayStartMjd, longitude, latitude,
                                   riseHour, setHour, riseFound, setFound, upAtStart);
        benchmark::DoNotOptimize(riseHour);
        benchmark::DoNotOptimize(setHour);
        benchmark::DoNotOptimize(riseFound);
        dayStartMjd += 1.0; // walk through the month so every kind of day is timed
        if (dayStartMjd > 55562.0 + 60.0) {
            dayStartMjd -= 60.0;
        }
    }
}
BENCHMARK(BM_FindRiseSetEvents);

} // namespace
