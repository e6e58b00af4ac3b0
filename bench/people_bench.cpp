// The person file with 10,000 people: opening it and listing them all, as
// the list window does when it opens (target: at most 100 ms), and the
// search as the user types a name (target: at most 10 ms a keystroke).
//
//   build/bench/toravel-bench-people --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/ten_thousand_people.h"
#include "people/person_file.h"

namespace {

using namespace toravel;

constexpr int People = bench::TenThousand;

const std::filesystem::path& TenThousandPeople() {
    return bench::TenThousandPeopleFile("toravel-bench-people");
}

void BM_OpenAndListTenThousandPeople(benchmark::State& state) {
    const auto& path = TenThousandPeople();
    for (auto _ : state) {
        PersonFile file(path);
        const auto list = file.List();
        if (list.size() != People)
            state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(BM_OpenAndListTenThousandPeople)->Unit(benchmark::kMillisecond);

// The opening alone: the read-only look at the file (its identity and
// SQLite's quick_check), then the connection that reads and writes.
void BM_OpenTenThousandPeople(benchmark::State& state) {
    const auto& path = TenThousandPeople();
    for (auto _ : state) {
        PersonFile file(path);
        benchmark::DoNotOptimize(file.ReadOnly());
    }
}
BENCHMARK(BM_OpenTenThousandPeople)->Unit(benchmark::kMillisecond);

// One keystroke: the list for the text typed so far, from one letter to a
// whole surname, as the list window asks for it after each key.
void BM_SearchAsYouType(benchmark::State& state) {
    PersonFile file(TenThousandPeople());
    const std::vector<std::string> typed = {"с",       "се", "сем", "семё", "семён", "семёно",
                                            "семёнов", "п",  "пе",  "пет",  "петр",  "петро"};
    std::size_t next = 0, found = 0;
    for (auto _ : state) {
        const auto list = file.List(typed[next]);
        found += list.size();
        next = (next + 1) % typed.size();
    }
    state.counters["found"] =
        benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SearchAsYouType)->Unit(benchmark::kMillisecond);

void BM_FindByName(benchmark::State& state) {
    PersonFile file(TenThousandPeople());
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(file.Find(bench::PersonNameOf(i)));
        i = (i + 7919) % People;
    }
}
BENCHMARK(BM_FindByName)->Unit(benchmark::kMicrosecond);

} // namespace
