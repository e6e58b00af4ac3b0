// Speed of the new-moon search: one birth year's 56 phases.
#include <benchmark/benchmark.h>

#include "lunar/calculation_state.h"
#include "lunar/new_moon_search.h"
#include "lunar/working_stream.h"

namespace {

void BM_ComputeNewMoonsOfYear(benchmark::State& state) {
    toravel::SetLunarWorkingStream(&toravel::DiscardingStream());
    int year = 1950;
    for (auto _ : state) {
        toravel::ComputeNewMoonsOfYear(year);
        benchmark::DoNotOptimize(toravel::SharedCalculationState().NewMoonTable);
        year = year < 2050 ? year + 1 : 1950;
    }
    toravel::SetLunarWorkingStream(nullptr);
}
BENCHMARK(BM_ComputeNewMoonsOfYear)->Unit(benchmark::kMicrosecond);

} // namespace
