// Opening the horoscope database: checking the file's header, deriving the
// key, opening the schema page and every page of table t, up to the first
// record of t; reading one picture, which opens its own pages; and the
// window's open, which checks every page first.
//
// The file is built like db/bd.mdb: the 366 calendar days and the pictures of
// data/pictures/ in the first record; while those are missing, about 1 MiB of
// random bytes (as incompressible as JPEG) stands in for them.
//
//   build/bench/toravel-bench-storage --benchmark_repetitions=20
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "storage/database.h"
#include "storage/database_file.h"
#include "tools/build_database/calendar_csv.h"
#include "tools/build_database/database_builder.h"

namespace {

using namespace toravel;

std::vector<tools::CalendarRow> FullCalendar() {
    static constexpr int Days[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::vector<tools::CalendarRow> rows;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= Days[month - 1]; ++day) {
            rows.push_back({month, day, "c", "Второму"});
        }
    }
    return rows;
}

std::vector<tools::Picture> Pictures() {
    auto pictures = tools::ReadPictures(TORAVEL_PICTURES_DIR, [](const std::string&) {});
    if (pictures.size() == tools::PictureSources.size()) {
        return pictures;
    }
    pictures.clear();
    // Five pages of about 200 KiB each.
    std::mt19937 random(852);
    for (const auto& source : tools::PictureSources) {
        std::vector<unsigned char> bytes(200u << 10);
        for (auto& b : bytes) {
            b = static_cast<unsigned char>(random());
        }
        pictures.push_back({std::string(source.field), std::move(bytes)});
    }
    return pictures;
}

// A working directory holding db/bd.mdb for the time of the benchmark.
class BenchDirectory {
public:
    explicit BenchDirectory(bool withPictures)
        : directory_(std::filesystem::temp_directory_path() /
                     ("toravel-bench-db-" + std::to_string(::getpid()))),
          previous_(std::filesystem::current_path()) {
        std::filesystem::create_directories(directory_ / "db");
        const auto image = tools::BuildDatabaseImage(
            FullCalendar(), withPictures ? Pictures() : std::vector<tools::Picture>{});
        const auto password = ParseConnectionString(HoroscopeConnectionString).password;
        tools::WriteFileAtomically(directory_ / "db" / "bd.mdb",
                                   DatabaseFileOfImage(image, password));
        std::filesystem::current_path(directory_);
    }
    ~BenchDirectory() {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(directory_);
    }
    BenchDirectory(const BenchDirectory&) = delete;
    BenchDirectory& operator=(const BenchDirectory&) = delete;

private:
    std::filesystem::path directory_;
    std::filesystem::path previous_;
};

// state.range(0): 1 with the pictures (the real file's size), 0 without.
// The pictures' pages are not opened, so both cost about the same.
void OpenDatabase(benchmark::State& state) {
    const BenchDirectory directory(state.range(0) != 0);
    const auto size = std::filesystem::file_size("db/bd.mdb");
    for (auto _ : state) {
        DatabaseConnection connection(HoroscopeConnectionString);
        TableCursor cursor(connection);
        benchmark::DoNotOptimize(cursor.Eof());
    }
    state.counters["file_bytes"] = static_cast<double>(size);
}
BENCHMARK(OpenDatabase)->ArgName("pictures")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// The open and one picture, as the window shows a picture for the first
// time: state.range(0) indexes PictureSources, 0 the first field of the
// record, 4 the last (found through the pointer map, past the others).
void OpenDatabaseAndReadPicture(benchmark::State& state) {
    const BenchDirectory directory(true);
    const auto& source = tools::PictureSources[static_cast<std::size_t>(state.range(0))];
    std::vector<unsigned char> bytes;
    for (auto _ : state) {
        DatabaseConnection connection(HoroscopeConnectionString);
        TableCursor cursor(connection);
        cursor.CopyFieldBytes(source.field, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["picture_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(OpenDatabaseAndReadPicture)
    ->ArgName("field")
    ->Arg(0)
    ->Arg(4)
    ->Unit(benchmark::kMicrosecond);

// The open as the window makes it at start-up: every page of the file
// checked, the pictures' included, then table t.
void OpenDatabaseCheckingEveryPage(benchmark::State& state) {
    const BenchDirectory directory(true);
    for (auto _ : state) {
        DatabaseConnection connection(HoroscopeConnectionString);
        connection.VerifyEveryPage();
        TableCursor cursor(connection);
        benchmark::DoNotOptimize(cursor.Eof());
    }
}
BENCHMARK(OpenDatabaseCheckingEveryPage)->Unit(benchmark::kMicrosecond);

} // namespace
