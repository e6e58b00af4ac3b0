#include "horoscope/calculation_command.h"

#include <exception>
#include <string>
#include <string_view>

#include "horoscope/report.h"
#include "horoscope/world_classification.h"
#include "lunar/calculation_state.h"
#include "lunar/moonrise_count.h"
#include "lunar/new_moon_search.h"
#include "platform/ascii_text.h"
#include "platform/conversions.h"
#include "platform/tdatetime.h"

namespace toravel {
namespace {

// The message for a birthplace with a blank coordinate; nullptr when both
// are given. Whether they are numbers is not asked here.
const char* MissingBirthplaceMessage(const HoroscopeView& view) {
    const bool noLatitude = OnlyBlanksAndControls(view.LatitudeText());
    const bool noLongitude = OnlyBlanksAndControls(view.LongitudeText());
    if (noLatitude && noLongitude)
        return NoPlaceMessage;
    if (noLatitude)
        return NoLatitudeMessage;
    if (noLongitude)
        return NoLongitudeMessage;
    return nullptr;
}

// The birth date at the time of day of the time picker, to the whole second
// (the picker's date part and any fraction of a second are dropped), and the
// same to the whole minute.
struct BirthMoments {
    TDateTime toSecond;
    TDateTime toMinute;
};

BirthMoments BirthMomentOf(TDateTime date, TDateTime time) {
    int year, month, day, hour, minute, second, millisecond;
    int timeYear, timeMonth, timeDay;
    DecodeDateTime(date, year, month, day, hour, minute, second, millisecond);
    DecodeDateTime(time, timeYear, timeMonth, timeDay, hour, minute, second, millisecond);
    return {EncodeDateTime(year, month, day, hour, minute, second),
            EncodeDateTime(year, month, day, hour, minute, 0)};
}

void ListNewMoons(HoroscopeView& view, const CalculationState& state) {
    view.AppendLine("новолуния расчетного года");
    for (TDateTime newMoon : state.NewMoonTable)
        view.AppendLine(DateTimeToStr(newMoon));
    view.AppendLine(" ");
}

// The new moon the lunar month of the moment begins with: the last entry not
// after the moment. Between two entries this is the earlier one; a moment
// after the last entry, or equal to an entry, takes that entry. A moment
// before the first entry changes nothing.
void ChoosePrecedingNewMoon(CalculationState& state) {
    for (int i = NewMoonCount - 1; i >= 0; --i) {
        const TDateTime entry = state.NewMoonTable[static_cast<std::size_t>(i)];
        if (entry <= state.CalculationMoment) {
            state.PrecedingNewMoon = entry;
            return;
        }
    }
}

// Ends the command with a message box.
void StopWithMessage(HoroscopeView& view, CalculationOutcome& outcome, const std::string& text) {
    view.ShowMessage(text);
    outcome.ending = CalculationEnding::StoppedByMessage;
    outcome.text = text;
}

// The command; `outcome` is kept up to date as it goes, so that it tells
// what was done also when an error ends the command.
void RunCommand(HoroscopeView& view, CalendarDayLookup& calendarDays, LunarTables& tables,
                CalculationOutcome& outcome) {
    if (const char* missing = MissingBirthplaceMessage(view)) {
        StopWithMessage(view, outcome, missing);
        return;
    }

    view.ClearReport();

    CalculationState& state = SharedCalculationState();
    state.NewMoonFlag = false;
    state.ZoneOffsetDays = StrToInt(view.ZoneHoursText()) / 24.0;
    const std::string lunarDayText = view.LunarDayFieldText();
    state.GivenLunarDay = OnlyBlanksAndControls(lunarDayText) ? 0 : StrToInt(lunarDayText);

    state.LunarDay = 0;
    state.DayWorld.clear();
    state.LunarWorld.clear();
    state.PeriodWorld.clear();
    state.CircleName.clear();

    int year, month, day, hour, minute, second, millisecond;
    DecodeDateTime(view.BirthDate(), year, month, day, hour, minute, second, millisecond);

    if (state.GivenLunarDay == 0) {
        tables.ComputeNewMoonsOfYear(year);
        outcome.newMoonsComputed = true;
        if (view.ListingWanted())
            ListNewMoons(view, state);
        const BirthMoments moment = BirthMomentOf(view.BirthDate(), view.BirthTime());
        state.CalculationMoment = moment.toSecond;
        ChoosePrecedingNewMoon(state);

        // The table holds new moons to the minute; so is the moment compared.
        for (TDateTime newMoon : state.NewMoonTable) {
            if (newMoon == moment.toMinute)
                state.NewMoonFlag = true;
        }

        try {
            tables.CountMoonrisesSinceNewMoon(view);
        } catch (const InvalidBirthplaceError& e) {
            StopWithMessage(view, outcome, e.what());
            return;
        }
        outcome.moonrisesComputed = true;
    }

    state.DayWorld.clear();
    if (const auto record = calendarDays.FindCalendarDay(month, day)) {
        state.DayWorld = record->Mir;
        state.CircleName = record->Krug;
    }
    if (state.DayWorld.empty())
        view.ShowMessage(DayNotFoundMessage);

    if (state.LunarDay == 0 && state.GivenLunarDay != 0)
        state.LunarDay = state.GivenLunarDay;

    state.LunarWorld = WorldOfLunarDay(state.LunarDay);
    state.PeriodWorld = CombineWorlds(state.DayWorld, state.LunarWorld);

    WriteReport(view);
    view.EnablePictureButtons();
}

} // namespace

CalculationOutcome RunCalculationCommand(HoroscopeView& view, CalendarDayLookup& calendarDays,
                                         LunarTables& tables) {
    CalculationOutcome outcome;
    RunCommand(view, calendarDays, tables, outcome);
    return outcome;
}

CalculationOutcome RunCalculationCommandReportingErrors(HoroscopeView& view,
                                                        CalendarDayLookup& calendarDays,
                                                        LunarTables& tables) {
    CalculationOutcome outcome;
    try {
        RunCommand(view, calendarDays, tables, outcome);
    } catch (const std::exception& e) {
        outcome.ending = CalculationEnding::StoppedByError;
        outcome.text = e.what();
    }
    return outcome;
}

} // namespace toravel
