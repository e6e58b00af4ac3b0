// The person file with 10,000 people: opening it and listing them all, as
// the list window does when it opens (target: at most 100 ms), and the
// search as the user types a name (target: at most 10 ms a keystroke).
//
//   build/bench/toravel-bench-people --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "people/person_file.h"

namespace {

using namespace toravel;

constexpr int People = 10'000;

// Russian surnames, first names and patronymics in their thousands of
// combinations, as a practitioner's file of clients might hold them.
std::string NameOf(int i) {
    static const std::vector<std::string> surnames = {
        "Иванов",   "Смирнов", "Кузнецов", "Попов",   "Васильев", "Петров",   "Соколов",
        "Михайлов", "Новиков", "Фёдоров",  "Морозов", "Волков",   "Алексеев", "Лебедев",
        "Семёнов",  "Егоров",  "Павлов",   "Козлов",  "Степанов", "Николаев", "Орлов",
        "Андреев",  "Макаров", "Никитин",  "Захаров", "Зайцев",   "Соловьёв", "Борисов"};
    static const std::vector<std::string> first = {"Александр", "Мария",   "Дмитрий", "Анна",
                                                   "Сергей",    "Елена",   "Андрей",  "Ольга",
                                                   "Алексей",   "Наталья", "Иван",    "Ирина"};
    static const std::vector<std::string> middle = {"Александрович", "Сергеевич", "Иванович",
                                                    "Петрович",      "Юрьевич",   "Ильич"};
    return surnames[static_cast<std::size_t>(i) % surnames.size()] + " " +
           first[static_cast<std::size_t>(i / 28) % first.size()] + " " +
           middle[static_cast<std::size_t>(i / 336) % middle.size()] + " " + std::to_string(i);
}

// The file, made once in the temporary folder and removed at the end.
struct BenchmarkFile {
    std::filesystem::path path;
    ~BenchmarkFile() {
        std::error_code ignored;
        for (const char* suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(path.string() + suffix, ignored);
    }
};

const std::filesystem::path& TenThousandPeople() {
    static const BenchmarkFile file = [] {
        const auto path = std::filesystem::temp_directory_path() /
                          ("toravel-bench-people-" + std::to_string(::getpid()) + ".sqlite");
        std::filesystem::remove(path);
        PersonFile people(path);
        PersonFile::Transaction all(people);
        std::mt19937 random(10'000);
        for (int i = 0; i < People; ++i) {
            Person p;
            p.name = NameOf(i);
            p.date = std::to_string(10 + random() % 18) + ".0" + std::to_string(1 + random() % 9) +
                     "." + std::to_string(1920 + random() % 100);
            p.time = "14:30";
            p.place = "Москва";
            p.latitude = 55.75;
            p.longitude = 37.62;
            p.zoneHours = 3;
            p.note = std::string(random() % 400, 'n');
            people.Save(p, OnConflict::Skip);
        }
        all.Commit();
        return BenchmarkFile{path};
    }();
    return file.path;
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
        benchmark::DoNotOptimize(file.Find(NameOf(i)));
        i = (i + 7919) % People;
    }
}
BENCHMARK(BM_FindByName)->Unit(benchmark::kMicrosecond);

} // namespace
