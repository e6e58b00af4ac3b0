// Speed and memory of a month's lunar calendar: the year's 56 phases, the
// moonrise of every local day from the new moon before the month to its
// end, the clock of the place from the tz database, and (with the worlds)
// the 28 to 31 calendar-day records looked up in the build tree's encrypted
// bd.mdb, opened before the timed loop as the desktop application keeps it.
//
// Memory: every allocation of the process is counted by the replaced
// operator new, so the bytes one month allocates, and the most it holds at
// once, are reported per iteration as counters.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "horoscope/calculation_command.h"
#include "horoscope/horoscope_view.h"
#include "horoscope/month_calendar.h"
#include "lunar/calculation_state.h"
#include "lunar/lunar_month.h"
#include "lunar/working_stream.h"
#include "storage/horoscope_database.h"

// The replacements below pair operator new with free() through malloc();
// GCC sees only the standard pairing and would warn at every inlined delete.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {

std::size_t liveBytes = 0;
std::size_t peakBytes = 0;
std::size_t allocatedBytes = 0;

} // namespace

void* operator new(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr)
        throw std::bad_alloc();
    const std::size_t usable = malloc_usable_size(p);
    liveBytes += usable;
    allocatedBytes += usable;
    if (liveBytes > peakBytes)
        peakBytes = liveBytes;
    return p;
}

void operator delete(void* p) noexcept {
    if (p == nullptr)
        return;
    liveBytes -= malloc_usable_size(p);
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

namespace {

using namespace toravel;

const CalendarPlace Moscow{55.7558, 37.6173, "Europe/Moscow"};
const CalendarPlace Berlin{52.52, 13.405, "Europe/Berlin"};

// The months of 2020 to 2029 in turn, so that no one month stands for all.
struct Months {
    CalendarMonth month{2020, 1};
    CalendarMonth Next() {
        const CalendarMonth current = month;
        month = month.year == 2029 && month.month == 12 ? CalendarMonth{2020, 1}
                                                        : NextCalendarMonth(month);
        return current;
    }
};

void ReportMemory(benchmark::State& state, std::size_t allocated, std::size_t peak) {
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["bytes_allocated"] = static_cast<double>(allocated) / iterations;
    state.counters["peak_bytes"] = static_cast<double>(peak);
}

void LunarMonthAt(benchmark::State& state, const CalendarPlace& place) {
    SetLunarWorkingStream(&DiscardingStream());
    ComputeLunarMonth(place, {2020, 1}); // the tz database is read on first use
    Months months;
    std::size_t allocated = 0;
    std::size_t peak = 0;
    for (auto _ : state) {
        const std::size_t before = allocatedBytes;
        peakBytes = liveBytes;
        const std::size_t base = liveBytes;
        LunarMonth month = ComputeLunarMonth(place, months.Next());
        benchmark::DoNotOptimize(month);
        allocated += allocatedBytes - before;
        peak = std::max(peak, peakBytes - base);
    }
    ReportMemory(state, allocated, peak);
}

void BM_LunarMonthMoscow(benchmark::State& state) {
    LunarMonthAt(state, Moscow);
}
BENCHMARK(BM_LunarMonthMoscow)->Unit(benchmark::kMillisecond);

// Two clock changes a year: their months search the day of the change twice.
void BM_LunarMonthBerlin(benchmark::State& state) {
    LunarMonthAt(state, Berlin);
}
BENCHMARK(BM_LunarMonthBerlin)->Unit(benchmark::kMillisecond);

void BM_MonthCalendarDatabaseOpenedOnce(benchmark::State& state) {
    SetLunarWorkingStream(&DiscardingStream());
    HoroscopeDatabase database(ConnectionStringForDirectory(TORAVEL_BENCH_DB_DIR));
    database.FindCalendarDay(1, 1); // opens the file before the timed loop
    ComputeLunarMonth(Moscow, {2020, 1});
    Months months;
    std::size_t allocated = 0;
    std::size_t peak = 0;
    for (auto _ : state) {
        const std::size_t before = allocatedBytes;
        peakBytes = liveBytes;
        const std::size_t base = liveBytes;
        MonthCalendar calendar = ComputeMonthCalendar(Moscow, months.Next(), database);
        if (!calendar.days.front().recordFound)
            state.SkipWithError("the calendar day was not found");
        benchmark::DoNotOptimize(calendar);
        allocated += allocatedBytes - before;
        peak = std::max(peak, peakBytes - base);
    }
    ReportMemory(state, allocated, peak);
}
BENCHMARK(BM_MonthCalendarDatabaseOpenedOnce)->Unit(benchmark::kMillisecond);

// For comparison: one birth calculation at Moscow (15 June at 14:30 of the
// years in turn), the report kept, with the same counters.
class BirthView : public HoroscopeView {
public:
    TDateTime date = 0.0;
    std::vector<std::string> area;
    std::string LatitudeText() const override { return "55,7558"; }
    std::string LongitudeText() const override { return "37,6173"; }
    bool ListingWanted() const override { return false; }
    std::string LunarDayFieldText() const override { return {}; }
    std::string ZoneHoursText() const override { return "3"; }
    TDateTime BirthDate() const override { return date; }
    TDateTime BirthTime() const override { return EncodeDateTime(1899, 12, 30, 14, 30); }
    void AppendLine(const std::string& line) override { area.push_back(line); }
    void ClearReport() override { area.clear(); }
    void AppendFormattedLine(const CharacterFormat&, const std::string& line) override {
        area.push_back(line);
    }
    void ShowMessage(const std::string&) override {}
    void EnablePictureButtons() override {}
};

void BM_SingleCalculationForComparison(benchmark::State& state) {
    SetLunarWorkingStream(&DiscardingStream());
    SharedCalculationState().ComputerZoneOffset = 0.0;
    HoroscopeDatabase database(ConnectionStringForDirectory(TORAVEL_BENCH_DB_DIR));
    database.FindCalendarDay(1, 1);
    BirthView view;
    view.area.reserve(8);
    int year = 2020;
    std::size_t allocated = 0;
    std::size_t peak = 0;
    for (auto _ : state) {
        view.date = EncodeDateTime(year, 6, 15);
        year = year < 2029 ? year + 1 : 2020;
        const std::size_t before = allocatedBytes;
        peakBytes = liveBytes;
        const std::size_t base = liveBytes;
        RunCalculationCommand(view, database);
        allocated += allocatedBytes - before;
        peak = std::max(peak, peakBytes - base);
    }
    ReportMemory(state, allocated, peak);
}
BENCHMARK(BM_SingleCalculationForComparison)->Unit(benchmark::kMillisecond);

} // namespace
