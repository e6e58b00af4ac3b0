#include "lunar/lunar_month.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "astro/calendar.h"
#include "astro/constants.h"
#include "lunar/moonrise_count.h"
#include "lunar/new_moon_search.h"
#include "lunar/place_clock.h"
#include "lunar/rise_set.h"
#include "lunar/working_stream.h"

namespace toravel {
namespace {

constexpr std::int64_t SecondsPerDay = 86400;
constexpr double MjdOfTDateTimeEpoch = 15018.0; // MJD = TDateTime + 15018
constexpr std::size_t Lunations = std::tuple_size_v<LunarPhasesOfYear> / 4;

// The first second of a whole TDateTime day, on whichever clock it counts.
std::int64_t DaySecond(TDateTime day) {
    return std::llround(day * SecondsPerDay);
}

// A phase on the clock in force at it, to the minute as the new-moon table
// holds it.
ClockMoment PhaseOnClock(double universalMjd, const PlaceClock& clock) {
    const auto second =
        static_cast<std::int64_t>(std::floor((universalMjd - MjdOfTDateTimeEpoch) * SecondsPerDay));
    const int offset = clock.OffsetAtUniversal(second);
    // The calculation adds its offset in days to the phase's MJD; an offset
    // of whole hours in seconds / 86 400 is the same double as hours / 24.
    const double clockMjd = universalMjd + offset / static_cast<double>(SecondsPerDay);
    return {ClockMinuteOfPhase(clockMjd, DiscardingStream()), offset};
}

// Numbers the lunar days as the new moons and moonrises come, in the order
// of time, and puts each beginning on the day of the month it is shown on.
class LunarDayTimeline {
public:
    LunarDayTimeline(std::vector<LunarMonthDay>& days, TDateTime firstDay)
        : days_(days), firstDay_(firstDay) {}

    void NewMoon(const ClockMoment& moment) {
        lunarDay_ = 1;
        newMoonSecond_ = moment.UniversalSecond();
        newMoonDate_ = DateOf(moment.local);
        if (LunarMonthDay* day = DayOf(moment))
            day->beginnings.push_back({1, moment, LunarDayBeginningKind::NewMoon, true});
    }

    // One more lunar day after the new moon; a moonrise in the new moon's
    // minute begins none, and one before the first new moon is not shown.
    void Moonrise(const ClockMoment& moment) {
        if (!newMoonSecond_)
            return;
        LunarMonthDay* day = DayOf(moment);
        if (moment.UniversalSecond() <= *newMoonSecond_) {
            if (day != nullptr)
                day->moonriseAtNewMoon = moment;
            return;
        }
        ++lunarDay_;
        // The first moonrise on the new moon's date is in force at its own
        // minute, as the calculation counts it.
        const bool onNewMoonDate = DateOf(moment.local) == newMoonDate_;
        if (day != nullptr)
            day->beginnings.push_back(
                {lunarDay_, moment, LunarDayBeginningKind::Moonrise, onNewMoonDate});
    }

    std::int32_t LunarDay() const { return lunarDay_; }

private:
    LunarMonthDay* DayOf(const ClockMoment& moment) {
        const double index = DateOf(moment.local) - firstDay_;
        if (index < 0 || index >= static_cast<double>(days_.size()))
            return nullptr;
        return &days_[static_cast<std::size_t>(index)];
    }

    std::vector<LunarMonthDay>& days_;
    TDateTime firstDay_;
    std::int32_t lunarDay_ = 0;
    std::optional<std::int64_t> newMoonSecond_;
    TDateTime newMoonDate_ = 0.0;
};

// The moonrises of one local day, on each clock in force during it: the one
// per clock that the count keeps, and the others the day has. A day on more
// than four clocks (no zone has had one) keeps the first four.
struct DayMoonrises {
    std::array<ClockMoment, 4> moments{};
    std::size_t count = 0;
    std::vector<ClockMoment> others;
};

// Inserts a moment in the order of time: the clocks come in order, their
// moonrises nearly always too.
void InsertInOrder(std::array<ClockMoment, 4>& moments, std::size_t& count,
                   const ClockMoment& moment) {
    std::size_t at = count++;
    for (; at > 0 && moments[at - 1].UniversalSecond() > moment.UniversalSecond(); --at)
        moments[at] = moments[at - 1];
    moments[at] = moment;
}

DayMoonrises MoonrisesOfDay(TDateTime date, const PlaceClock& clock, double longitude,
                            double latitude) {
    int year, month, day, hour, minute, second, millisecond;
    DecodeDateTime(date, year, month, day, hour, minute, second, millisecond);
    const double midnightMjd = ModifiedJulianDate(year, month, day, 0, 0, 0.0);
    DayMoonrises rises;
    clock.ForEachOffsetOfLocalDay(DaySecond(date), [&](int offsetSeconds) {
        // The calculation's search of that date on that clock: the same start
        // of the day, the same rounding of the moonrise to the minute.
        const double offset = offsetSeconds / static_cast<double>(SecondsPerDay);
        const double dayStart = midnightMjd - offset;
        const TDateTime entry =
            MoonriseEntryOfDay(dayStart, offset, longitude, latitude, DiscardingStream());
        if (TimeOf(entry) == 0.0)
            return; // no moonrise: the entry is the date alone
        // Each clock keeps the moonrise of the hours it is in force.
        const ClockMoment moment{entry, offsetSeconds};
        if (clock.OffsetAtUniversal(moment.UniversalSecond()) == offsetSeconds &&
            rises.count < rises.moments.size())
            InsertInOrder(rises.moments, rises.count, moment);

        // The day's other moonrises on this clock, rounded the same way.
        const RisesOfDay all = FindAllRises(RiseSetKind::Moonrise, dayStart, longitude, latitude);
        for (int i = 0; i < all.count; ++i) {
            const TDateTime other = MoonriseEntryAt(
                dayStart, offset, all.hours[static_cast<std::size_t>(i)], DiscardingStream());
            const ClockMoment otherMoment{other, offsetSeconds};
            if (other != entry &&
                clock.OffsetAtUniversal(otherMoment.UniversalSecond()) == offsetSeconds)
                rises.others.push_back(otherMoment);
        }
    });
    std::sort(rises.others.begin(), rises.others.end(), [](const auto& a, const auto& b) {
        return a.UniversalSecond() < b.UniversalSecond();
    });
    return rises;
}

} // namespace

LunarMonth ComputeLunarMonth(const CalendarPlace& place, const CalendarMonth& month) {
    CheckCalendarMonth(month);
    CheckCalendarPlace(place);

    const CalendarMonth next = NextCalendarMonth(month);
    const TDateTime firstDay = EncodeDateTime(month.year, month.month, 1);
    const TDateTime endDay = EncodeDateTime(next.year, next.month, 1);

    // The new moon in force at the month's first midnight lies at most a
    // lunation before it; the clock is wanted from its date on, with a day
    // to spare on either side for the offsets.
    const PlaceClock clock(place, DaySecond(firstDay - 33.0), DaySecond(endDay + 2.0));

    // The phases of the month's year: those the calculation of a birth in
    // this month uses. They reach from December of the year before to
    // January of the year after, beyond both ends of any month of the year.
    const LunarPhasesOfYear phases = FindLunarPhasesOfYear(month.year);
    std::array<ClockMoment, Lunations> newMoons;
    std::array<ClockMoment, Lunations> fullMoons;
    for (std::size_t lunation = 0; lunation < Lunations; ++lunation) {
        newMoons[lunation] = PhaseOnClock(phases[4 * lunation].universalMjd, clock);
        fullMoons[lunation] = PhaseOnClock(phases[4 * lunation + 2].universalMjd, clock);
    }

    LunarMonth result{place, month, {}};
    result.days.resize(static_cast<std::size_t>(endDay - firstDay));
    for (std::size_t i = 0; i < result.days.size(); ++i) {
        LunarMonthDay& day = result.days[i];
        day.date = firstDay + static_cast<double>(i);
        day.noonOffsetSeconds = clock.OffsetAtLocal(DaySecond(day.date) + SecondsPerDay / 2);
        day.noMoonrise = true;
        for (const ClockMoment& fullMoon : fullMoons)
            if (DateOf(fullMoon.local) == day.date)
                day.fullMoon = fullMoon;
    }

    // From the new moon in force at the month's first midnight (the last
    // one not after it; a new moon is in force at its own minute) on.
    const std::int64_t monthStart = clock.LocalToUniversal(DaySecond(firstDay));
    std::size_t nextNewMoon = 0;
    while (nextNewMoon + 1 < Lunations && newMoons[nextNewMoon + 1].UniversalSecond() <= monthStart)
        ++nextNewMoon;
    const TDateTime firstSearched = std::min(firstDay, DateOf(newMoons[nextNewMoon].local));

    LunarDayTimeline timeline(result.days, firstDay);
    // The new moons up to a moment, those of its very second included: a
    // new moon comes before a moonrise of the same minute.
    const auto newMoonsUntil = [&](std::int64_t second) {
        while (nextNewMoon < Lunations && newMoons[nextNewMoon].UniversalSecond() <= second)
            timeline.NewMoon(newMoons[nextNewMoon++]);
    };

    const double longitude = place.longitudeDegrees * RadiansPerDegree;
    const double latitude = place.latitudeDegrees * RadiansPerDegree;
    for (TDateTime date = firstSearched; date < endDay; date += 1.0) {
        LunarMonthDay* day =
            date >= firstDay ? &result.days[static_cast<std::size_t>(date - firstDay)] : nullptr;
        if (day != nullptr) {
            // Read with the offset before a change that skips or repeats it.
            newMoonsUntil(clock.LocalToUniversal(DaySecond(date)));
            day->lunarDayAtStart = timeline.LunarDay();
        }
        const DayMoonrises rises = MoonrisesOfDay(date, clock, longitude, latitude);
        for (std::size_t i = 0; i < rises.count; ++i) {
            newMoonsUntil(rises.moments[i].UniversalSecond());
            timeline.Moonrise(rises.moments[i]);
        }
        if (day != nullptr && rises.count > 0)
            day->noMoonrise = false;
        if (day != nullptr)
            day->otherMoonrises = rises.others;
    }
    newMoonsUntil(clock.LocalToUniversal(DaySecond(endDay)) - 1);
    return result;
}

std::int32_t LunarDayInForceAt(const LunarMonthDay& day, const ClockMoment& moment) {
    const std::int64_t second = moment.UniversalSecond();
    std::int32_t lunarDay = day.lunarDayAtStart;
    for (const LunarDayBeginning& b : day.beginnings) {
        const std::int64_t begins = b.moment.UniversalSecond();
        if (begins < second || (begins == second && b.inForceAtItsMinute))
            lunarDay = b.lunarDay;
    }
    return lunarDay;
}

} // namespace toravel
