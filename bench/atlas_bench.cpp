// The world atlas of the geonames library: its load on first use, a search
// as the user types the first letters of a name, and the nearest place to
// typed coordinates, as the zone hint asks for it at every change of a field.
//
//   build/bench/toravel-bench-atlas --benchmark_repetitions=10
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "atlas/geonames_atlas.h"
#include "place/birthplace_hint_place.h"

namespace {

using namespace toravel;

const WorldAtlas& Atlas() {
    const AtlasLoad& load = SharedWorldAtlas();
    if (!load.atlas)
        throw std::runtime_error(load.problem);
    return *load.atlas;
}

// The library is loaded by the first iteration only; later ones show what
// reading the places, their names and building the indexes cost.
void BM_AtlasLoad(benchmark::State& state) {
    for (auto _ : state) {
        const AtlasLoad load = LoadGeonamesAtlas();
        benchmark::DoNotOptimize(load.atlas.get());
    }
}
BENCHMARK(BM_AtlasLoad)->Unit(benchmark::kMillisecond);

// Prefixes of 1 to 4 letters of common and rare beginnings; "м" matches
// some 1,500 places.
void BM_AtlasSearch(benchmark::State& state) {
    static const std::vector<std::vector<std::string>> prefixes = {
        {"м", "к", "б", "z"},
        {"мо", "ки", "бе", "ур"},
        {"мос", "кин", "бер", "урю"},
        {"моск", "кине", "берл", "урюп"},
    };
    const WorldAtlas& atlas = Atlas();
    const auto& texts = prefixes[static_cast<std::size_t>(state.range(0)) - 1];
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(atlas.Search(texts[i++ % texts.size()], 20));
}
BENCHMARK(BM_AtlasSearch)->DenseRange(1, 4)->ArgName("letters")->Unit(benchmark::kMicrosecond);

// Points anywhere on the Earth, and points near places (the usual case:
// coordinates typed for a town), with the hint's radius.
void BM_AtlasNearest(benchmark::State& state) {
    const WorldAtlas& atlas = Atlas();
    std::mt19937 random(2026);
    std::vector<GeographicPoint> points;
    if (state.range(0) == 0) {
        std::uniform_real_distribution<double> latitude(-90, 90), longitude(-180, 180);
        for (int i = 0; i < 1024; ++i)
            points.push_back({latitude(random), longitude(random)});
    } else {
        std::uniform_real_distribution<double> offset(-0.3, 0.3);
        std::uniform_int_distribution<std::size_t> which(0, atlas.places().size() - 1);
        for (int i = 0; i < 1024; ++i) {
            const AtlasPlace& place = atlas.places()[which(random)];
            points.push_back(
                {place.latitude + offset(random) / 2, place.longitude + offset(random)});
        }
    }
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            atlas.NearestWithin(points[i++ % points.size()], kNearestPlaceRadiusKm));
}
BENCHMARK(BM_AtlasNearest)->Arg(0)->Arg(1)->ArgName("near_a_place")->Unit(benchmark::kMicrosecond);

} // namespace
