// The lunar tables of a batch of births, kept between births: a year's
// phases (the new-moon search, about 0.25 ms, depends on the year alone), the
// year's new-moon table on each clock, and the moonrise of each day at each
// place on each clock. A birth's tables are made from them as the searches
// make them, bit for bit: the same routines on the same numbers.
//
// Without a listing only the moonrises up to the birth's own date are
// searched: the lunar day depends on no later one (MoonriseEntriesCounted),
// and the table's later entries hold the largest double.
//
// Memory is bounded: a store that grows past its limit starts again empty.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "lunar/calculation_state.h"
#include "lunar/lunar_tables.h"
#include "lunar/new_moon_search.h"

namespace toravel::batch {

class StoredLunarTables final : public LunarTables {
public:
    void ComputeNewMoonsOfYear(int year) override;
    void CountMoonrisesSinceNewMoon(LunarCalendarView& view) override;

    // How often a moonrise was searched, and how often found in the store.
    std::uint64_t MoonrisesSearched() const { return moonrisesSearched_; }
    std::uint64_t MoonrisesReused() const { return moonrisesReused_; }

private:
    // Every number exactly as the search takes it: the doubles' bits.
    struct MoonriseKey {
        std::uint64_t dayStart, offset, longitude, latitude;
        friend bool operator==(const MoonriseKey&, const MoonriseKey&) = default;
    };
    struct NewMoonKey {
        int year;
        std::uint64_t computerOffset, zoneOffset;
        friend bool operator==(const NewMoonKey&, const NewMoonKey&) = default;
    };
    struct KeyHash {
        std::size_t operator()(const MoonriseKey& key) const;
        std::size_t operator()(const NewMoonKey& key) const;
    };

    TDateTime MoonriseEntry(double dayStart, double offset, double longitude, double latitude);

    std::unordered_map<int, LunarPhasesOfYear> phases_;
    std::unordered_map<NewMoonKey, std::array<TDateTime, NewMoonCount>, KeyHash> newMoons_;
    std::unordered_map<MoonriseKey, TDateTime, KeyHash> moonrises_;
    std::uint64_t moonrisesSearched_ = 0;
    std::uint64_t moonrisesReused_ = 0;
};

} // namespace toravel::batch
