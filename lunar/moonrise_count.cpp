#include "lunar/moonrise_count.h"

#include <cmath>
#include <ostream>
#include <string>

#include "astro/calendar.h"
#include "astro/constants.h"
#include "lunar/calculation_state.h"
#include "lunar/rise_set.h"
#include "lunar/text_output.h"
#include "lunar/working_stream.h"
#include "platform/conversions.h"

namespace toravel {
namespace {

// The entry's text made from the captured numbers: "d.m.yyyy", or that, a
// blank and "h:m", the numbers without leading zeros.
std::string DateEntryText(const CapturedTextFields& captured) {
    return IntToStr(captured.date.day) + "." + IntToStr(captured.date.month) + "." +
           IntToStr(captured.date.year);
}

// " h:m", the rise's time of day rounded to the minute by the text output,
// as the entry takes it.
std::string RiseClockText(double riseHour, std::ostream& stream, CapturedTextFields& captured) {
    WriteClockTimeText(stream, ClockTimeText(riseHour, TimeTextFormat::HoursMinutes));
    int hour = captured.clock.hour;
    int minute = captured.clock.minute;
    if (hour >= 24) {
        // A moonrise in the last half minute of the day rounds to 24:00,
        // which is no time of day: keep it at 23:59 of its own day, where it
        // belongs.
        hour = 23;
        minute = 59;
    } else if (hour == 0 && minute == 0) {
        // A moonrise in the first half minute of the day would read back as
        // 00:00, the mark of a day without moonrise, and the count would
        // lose it: keep it at 00:01.
        minute = 1;
    }
    return " " + IntToStr(hour) + ":" + IntToStr(minute);
}

bool IsMidnight(TDateTime t) {
    return TimeOf(t) == 0.0;
}

} // namespace

void ReadRiseSetInput(const LunarCalendarView& view, double& dayStart, double& longitude,
                      double& latitude, double& offset) {
    const CalculationState& state = SharedCalculationState();

    // The date fields of the new moon are read from its short-date text
    // dd.mm.yyyy: the day from characters 1–2, the month from 4–5, the year
    // from 7–10.
    const std::string text = DateTimeToStr(state.PrecedingNewMoon);
    const int year = StrToInt(std::string_view(text).substr(6, 4));
    const int month = StrToInt(std::string_view(text).substr(3, 2));
    const int day = StrToInt(std::string_view(text).substr(0, 2));

    // Both conversions happen before any output is written, so that a bad
    // text leaves the caller's variables as they were.
    const double lonDegrees = StrToFloat(view.LongitudeText());
    const double latDegrees = StrToFloat(view.LatitudeText());
    // The comparisons are false for NaN, so NaN is refused as well.
    if (!(std::fabs(latDegrees) <= 90.0 && std::fabs(lonDegrees) <= 180.0)) {
        throw InvalidBirthplaceError();
    }

    longitude = lonDegrees * RadiansPerDegree;
    latitude = latDegrees * RadiansPerDegree;
    offset = state.ComputerZoneOffset + state.ZoneOffsetDays;
    dayStart = ModifiedJulianDate(year, month, day, 0, 0, 0.0) - offset;
}

TDateTime MoonriseEntryOfDay(double dayStart, double offset, double longitude, double latitude,
                             std::ostream& stream) {
    CapturedTextFields& captured = SharedCapturedTextFields();
    WriteDateTimeText(stream, DateTimeText(dayStart + offset, TimeTextFormat::DateOnly));
    std::string entry = DateEntryText(captured);

    double riseHour = 0.0, setHour = 0.0;
    bool riseFound = false, setFound = false, upAtStart = false;
    FindRiseSetEvents(RiseSetKind::Moonrise, dayStart, longitude, latitude, riseHour, setHour,
                      riseFound, setFound, upAtStart);

    if (riseFound) {
        entry += RiseClockText(riseHour, stream, captured);
    } else if (setFound) {
        stream << " ----- ";
    } else if (upAtStart) {
        stream << "   always visible ";
    } else {
        stream << "  always invisible";
    }
    return StrToDateTime(entry);
}

TDateTime MoonriseEntryAt(double dayStart, double offset, double riseHour, std::ostream& stream) {
    CapturedTextFields& captured = SharedCapturedTextFields();
    WriteDateTimeText(stream, DateTimeText(dayStart + offset, TimeTextFormat::DateOnly));
    std::string entry = DateEntryText(captured);
    entry += RiseClockText(riseHour, stream, captured);
    return StrToDateTime(entry);
}

void CountMoonrisesSinceNewMoon(LunarCalendarView& view) {
    double dayStart = 0.0, longitude = 0.0, latitude = 0.0, offset = 0.0;
    ReadRiseSetInput(view, dayStart, longitude, latitude, offset);

    CalculationState& state = SharedCalculationState();
    std::ostream& stream = LunarWorkingStream();

    // Moonrise of each day from the new moon's date on.
    for (int i = 0; i < MoonriseDayCount; ++i) {
        state.MoonriseTable[static_cast<std::size_t>(i)] =
            MoonriseEntryOfDay(dayStart + i, offset, longitude, latitude, stream);
    }

    if (view.ListingWanted())
        ListMoonrises(view, state.MoonriseTable);

    state.LunarDay = LunarDayAmongMoonrises(state.PrecedingNewMoon, state.CalculationMoment,
                                            state.MoonriseTable, state.LunarDay);
}

void ListMoonrises(LunarCalendarView& view, const std::array<TDateTime, MoonriseDayCount>& table) {
    view.AppendLine("восходы лун от ближайшего новолуния");
    for (TDateTime moonrise : table)
        view.AppendLine(DateTimeToStr(moonrise));
    view.AppendLine(" ");
}

std::int32_t LunarDayAmongMoonrises(TDateTime newMoon, TDateTime moment,
                                    const std::array<TDateTime, MoonriseDayCount>& table,
                                    std::int32_t unset) {
    // A moonrise later on the new moon's own date begins lunar day 2.
    const int firstRiseAfterNewMoon =
        (DateOf(newMoon) == DateOf(table[0]) && newMoon < table[0]) ? 1 : 0;

    // Each moonrise up to the moment adds one through the pair it begins; a
    // day without moonrise has an entry too, and is taken off again. The new
    // moon's own date is not: the new moon itself begins lunar day 1 there.
    std::int32_t lunarDay = unset;
    int moonlessBefore = 0;
    for (int i = 0; i < MoonriseDayCount; ++i) {
        const TDateTime entry = table[static_cast<std::size_t>(i)];
        if (i > 0 && IsMidnight(entry) && moment > entry)
            ++moonlessBefore;
        if (i < MoonriseDayCount - 1 && entry <= moment &&
            moment <= table[static_cast<std::size_t>(i + 1)]) {
            lunarDay = i + 1;
            break;
        }
    }
    return lunarDay - moonlessBefore + firstRiseAfterNewMoon;
}

int MoonriseEntriesCounted(TDateTime newMoon, TDateTime moment) {
    // Entry i lies on the i-th date from the new moon's. The pair that holds
    // the moment begins at the latest with the entry of the moment's date;
    // the entry of the day after only has to lie after the moment, as every
    // later entry does.
    const double days = DateOf(moment) - DateOf(newMoon);
    if (!(days >= 0.0))
        return 1;
    if (days >= MoonriseDayCount - 1)
        return MoonriseDayCount;
    return static_cast<int>(days) + 1;
}

} // namespace toravel
