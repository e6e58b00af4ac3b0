#include "batch/stored_lunar_tables.h"

#include <bit>
#include <limits>

#include "lunar/moonrise_count.h"
#include "lunar/working_stream.h"

namespace toravel::batch {
namespace {

// About 20 MB of moonrises, a few hundred years of phases and tables.
constexpr std::size_t kStoredMoonrises = 1u << 18;
constexpr std::size_t kStoredYears = 512;
constexpr std::size_t kStoredNewMoonTables = 1u << 14;

std::uint64_t Bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

std::size_t Mix(std::size_t seed, std::uint64_t value) {
    return seed ^
           (std::hash<std::uint64_t>{}(value) + 0x9e3779b97f4a7c15ull + (seed << 6) + (seed >> 2));
}

template <typename Map> void BoundSize(Map& map, std::size_t limit) {
    if (map.size() >= limit)
        map.clear();
}

} // namespace

std::size_t StoredLunarTables::KeyHash::operator()(const MoonriseKey& key) const {
    return Mix(Mix(Mix(Mix(0, key.dayStart), key.offset), key.longitude), key.latitude);
}

std::size_t StoredLunarTables::KeyHash::operator()(const NewMoonKey& key) const {
    return Mix(Mix(Mix(0, static_cast<std::uint64_t>(key.year)), key.computerOffset),
               key.zoneOffset);
}

void StoredLunarTables::ComputeNewMoonsOfYear(int year) {
    CalculationState& state = SharedCalculationState();
    const NewMoonKey key{year, Bits(state.ComputerZoneOffset), Bits(state.ZoneOffsetDays)};
    if (const auto table = newMoons_.find(key); table != newMoons_.end()) {
        state.NewMoonTable = table->second;
        return;
    }
    auto phases = phases_.find(year);
    if (phases == phases_.end()) {
        BoundSize(phases_, kStoredYears);
        phases = phases_.emplace(year, FindLunarPhasesOfYear(year)).first;
    }
    FillNewMoonTable(phases->second);
    BoundSize(newMoons_, kStoredNewMoonTables);
    newMoons_.emplace(key, state.NewMoonTable);
}

TDateTime StoredLunarTables::MoonriseEntry(double dayStart, double offset, double longitude,
                                           double latitude) {
    const MoonriseKey key{Bits(dayStart), Bits(offset), Bits(longitude), Bits(latitude)};
    if (const auto found = moonrises_.find(key); found != moonrises_.end()) {
        ++moonrisesReused_;
        return found->second;
    }
    ++moonrisesSearched_;
    const TDateTime entry =
        MoonriseEntryOfDay(dayStart, offset, longitude, latitude, LunarWorkingStream());
    BoundSize(moonrises_, kStoredMoonrises);
    moonrises_.emplace(key, entry);
    return entry;
}

void StoredLunarTables::CountMoonrisesSinceNewMoon(LunarCalendarView& view) {
    double dayStart = 0.0, longitude = 0.0, latitude = 0.0, offset = 0.0;
    ReadRiseSetInput(view, dayStart, longitude, latitude, offset);

    CalculationState& state = SharedCalculationState();
    const int searched = view.ListingWanted() ? MoonriseDayCount
                                              : MoonriseEntriesCounted(state.PrecedingNewMoon,
                                                                       state.CalculationMoment);
    for (int i = 0; i < MoonriseDayCount; ++i) {
        state.MoonriseTable[static_cast<std::size_t>(i)] =
            i < searched ? MoonriseEntry(dayStart + i, offset, longitude, latitude)
                         : std::numeric_limits<double>::max();
    }
    if (view.ListingWanted())
        ListMoonrises(view, state.MoonriseTable);
    state.LunarDay = LunarDayAmongMoonrises(state.PrecedingNewMoon, state.CalculationMoment,
                                            state.MoonriseTable, state.LunarDay);
}

} // namespace toravel::batch
