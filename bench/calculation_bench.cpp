// Speed of one calculation on the computed path, end to end: the 14 new
// moons of the birth year, the 41 moonrises from the preceding new moon, the
// calendar day looked up in the build tree's encrypted bd.mdb, and the
// four-line report, through a window stand-in that keeps the lines.
//
// The desktop application opens the database once and keeps it; the
// command-line front end opens it once per process. Both are measured: with
// the database opened before the timed loop, and with the open (reading,
// decrypting and attaching the file) inside every iteration. The working
// texts of the lunar calendar go to the discarding stream, as in both front
// ends.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "horoscope/calculation_command.h"
#include "horoscope/horoscope_view.h"
#include "lunar/calculation_state.h"
#include "lunar/working_stream.h"
#include "platform/tdatetime.h"
#include "storage/horoscope_database.h"

namespace {

using namespace toravel;

// The main window with its fields filled in, keeping what is written.
class BenchView : public HoroscopeView {
public:
    std::string latitude = "55,75";
    std::string longitude = "37,62";
    bool listing = false;
    TDateTime birthDate = 0.0;
    TDateTime birthTime = 0.0;
    std::vector<std::string> area;
    int messages = 0;

    std::string LatitudeText() const override { return latitude; }
    std::string LongitudeText() const override { return longitude; }
    bool ListingWanted() const override { return listing; }
    std::string LunarDayFieldText() const override { return {}; }
    std::string ZoneHoursText() const override { return "3"; }
    TDateTime BirthDate() const override { return birthDate; }
    TDateTime BirthTime() const override { return birthTime; }
    void AppendLine(const std::string& line) override { area.push_back(line); }
    void ClearReport() override { area.clear(); }
    void AppendFormattedLine(const CharacterFormat&, const std::string& line) override {
        area.push_back(line);
    }
    void ShowMessage(const std::string&) override { ++messages; }
    void EnablePictureButtons() override {}
};

// A birth on 15 June at 14:30 of a year from 1950 to 2049 in turn, so that
// no single year's lunations stand for all.
struct BirthYears {
    int year = 1950;
    void Next(BenchView& view) {
        view.birthDate = EncodeDateTime(year, 6, 15);
        view.birthTime = EncodeDateTime(1899, 12, 30, 14, 30, 0);
        year = year < 2049 ? year + 1 : 1950;
    }
};

void Prepare() {
    SetLunarWorkingStream(&DiscardingStream());
    SharedCalculationState().ComputerZoneOffset = 0.0;
}

void CheckReport(benchmark::State& state, const BenchView& view) {
    // Four report lines and no message: the calendar day was found.
    if (view.area.size() != 4 || view.messages != 0)
        state.SkipWithError("the calculation did not write its report");
}

void BM_CalculationDatabaseOpenedOnce(benchmark::State& state) {
    Prepare();
    HoroscopeDatabase database(ConnectionStringForDirectory(TORAVEL_BENCH_DB_DIR));
    database.FindCalendarDay(1, 1); // opens the file before the timed loop
    BenchView view;
    view.listing = state.range(0) != 0;
    BirthYears years;
    for (auto _ : state) {
        years.Next(view);
        RunCalculationCommand(view, database);
        benchmark::DoNotOptimize(view.area.data());
    }
    if (!view.listing)
        CheckReport(state, view);
    SetLunarWorkingStream(nullptr);
}
BENCHMARK(BM_CalculationDatabaseOpenedOnce)
    ->ArgName("listing")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

void BM_CalculationDatabaseOpenedEachRun(benchmark::State& state) {
    Prepare();
    const std::string connection = ConnectionStringForDirectory(TORAVEL_BENCH_DB_DIR);
    BenchView view;
    BirthYears years;
    for (auto _ : state) {
        years.Next(view);
        HoroscopeDatabase database(connection);
        RunCalculationCommand(view, database);
        benchmark::DoNotOptimize(view.area.data());
    }
    CheckReport(state, view);
    SetLunarWorkingStream(nullptr);
}
BENCHMARK(BM_CalculationDatabaseOpenedEachRun)->Unit(benchmark::kMicrosecond);

// The database's share alone: open the file and find one calendar day.
void BM_DatabaseOpenAndLookup(benchmark::State& state) {
    const std::string connection = ConnectionStringForDirectory(TORAVEL_BENCH_DB_DIR);
    for (auto _ : state) {
        HoroscopeDatabase database(connection);
        benchmark::DoNotOptimize(database.FindCalendarDay(6, 15));
    }
}
BENCHMARK(BM_DatabaseOpenAndLookup)->Unit(benchmark::kMicrosecond);

// The lookup in a database already open: a walk over the table's records.
void BM_CalendarDayLookup(benchmark::State& state) {
    HoroscopeDatabase database(ConnectionStringForDirectory(TORAVEL_BENCH_DB_DIR));
    database.FindCalendarDay(1, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(database.FindCalendarDay(6, 15));
}
BENCHMARK(BM_CalendarDayLookup)->Unit(benchmark::kMicrosecond);

} // namespace
