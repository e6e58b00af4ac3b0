// Speed of the command line's batch mode: births spread over 1900–2030 at 50
// places of the city list, each with its IANA zone, calculated as
// `toravel-cli --batch` calculates them (the lunar tables and calendar days
// kept between births, JSON Lines written to a stream that counts them) on
// the build tree's db/. A batch of 10,000 births a run, its stores empty at
// the start, as in a new process. Target: at least 5,000 births a second.
#include <benchmark/benchmark.h>

#include <fstream>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "batch/batch_run.h"

namespace {

using namespace toravel;

// Counts what is written and keeps nothing.
class CountingBuffer : public std::streambuf {
public:
    std::size_t written = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize count) override {
        written += static_cast<std::size_t>(count);
        return count;
    }
    int overflow(int c) override {
        ++written;
        return c;
    }
};

struct Place {
    std::string latitude, longitude, zone;
};

// Every sixth city of data/atlas.txt, "name;55°7558';37°6173';zone", as
// decimal degrees with a point.
std::vector<Place> FiftyPlaces() {
    std::ifstream in(TORAVEL_ATLAS_TXT);
    std::vector<Place> places;
    const auto degrees = [](std::string text) {
        const std::size_t sign = text.find("°");
        text.replace(sign, std::string("°").size(), ".");
        text.erase(text.find('\''));
        return text;
    };
    int index = 0;
    for (std::string line; std::getline(in, line) && places.size() < 50; ++index) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, ';');)
            fields.push_back(field);
        if (index % 6 == 0 && fields.size() >= 4)
            places.push_back({degrees(fields[1]), degrees(fields[2]), fields[3]});
    }
    return places;
}

std::string BirthsCsv(int count) {
    const std::vector<Place> places = FiftyPlaces();
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> year(1900, 2030), dayOfYear(0, 364), minute(0, 1439);
    std::uniform_int_distribution<std::size_t> place(0, places.size() - 1);
    std::string csv = "name,date,time,latitude,longitude,zone_name\n";
    char line[160];
    for (int i = 0; i < count; ++i) {
        const int days = dayOfYear(random), minutes = minute(random);
        int month = 1, day = days + 1;
        static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        while (day > lengths[month - 1])
            day -= lengths[month++ - 1];
        const Place& p = places[place(random)];
        std::snprintf(line, sizeof line, "b%d,%02d.%02d.%04d,%02d:%02d,%s,%s,%s\n", i, day, month,
                      year(random), minutes / 60, minutes % 60, p.latitude.c_str(),
                      p.longitude.c_str(), p.zone.c_str());
        csv += line;
    }
    return csv;
}

void BM_BatchOfBirths(benchmark::State& state) {
    const int births = static_cast<int>(state.range(0));
    const std::string csv = BirthsCsv(births);
    batch::BatchSettings settings;
    settings.db = TORAVEL_BENCH_DB_DIR;
    std::uint64_t failed = 0;
    for (auto _ : state) {
        std::istringstream in(csv);
        CountingBuffer buffer;
        std::ostream out(&buffer);
        const batch::BatchSummary summary = batch::RunBatch(in, out, settings);
        failed += summary.failed + (summary.fileError ? 1 : 0);
        benchmark::DoNotOptimize(buffer.written);
    }
    if (failed != 0)
        state.SkipWithError("a birth of the batch failed");
    state.SetItemsProcessed(state.iterations() * births);
    // The moonrise searches a birth needed: the lunar day depends on those
    // up to its own date, some 15 of the 41 days.
    batch::BatchCalculator calculator(TORAVEL_BENCH_DB_DIR);
    std::istringstream in(csv);
    batch::BatchLineReader reader(in);
    for (batch::BatchLine line; reader.Next(line);)
        calculator.Calculate(line, false);
    state.counters["moonrises_searched"] =
        static_cast<double>(calculator.Tables().MoonrisesSearched()) / births;
    state.counters["moonrises_reused"] =
        static_cast<double>(calculator.Tables().MoonrisesReused()) / births;
}
BENCHMARK(BM_BatchOfBirths)->Arg(10'000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace
