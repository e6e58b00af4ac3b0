#include "horoscope/month_calendar_text.h"

#include <cmath>
#include <cstdio>

#include "place/birthplace_zone.h"

namespace toravel {
namespace {

std::string CircleWord(const std::string& reportWord) {
    if (reportWord == "Первому")
        return "первый";
    if (reportWord == "Второму")
        return "второй";
    if (reportWord == "Третьему")
        return "третий";
    return reportWord.empty() ? "—" : reportWord;
}

std::string TimeText(const ClockMoment& moment, int noonOffsetSeconds) {
    int year, month, day, hour, minute, second, millisecond;
    DecodeDateTime(moment.local, year, month, day, hour, minute, second, millisecond);
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
    std::string shown = text;
    if (moment.offsetSeconds != noonOffsetSeconds)
        shown += " (" + UtcOffsetText(moment.offsetSeconds) + ")";
    return shown;
}

} // namespace

const MonthTableCells& MonthTableTitles() {
    static const MonthTableCells titles = {"Дата",    "Лунные дни",   "Луна",
                                           "Мир дня", "Миры периода", "Круг"};
    return titles;
}

MonthTableCells MonthTableRow(const MonthCalendarDay& day) {
    static constexpr const char* weekdays[] = {"пн", "вт", "ср", "чт", "пт", "сб", "вс"};
    const LunarMonthDay& lunar = day.lunar;
    int year, month, date, hour, minute, second, millisecond;
    DecodeDateTime(lunar.date, year, month, date, hour, minute, second, millisecond);
    char dateText[16];
    std::snprintf(dateText, sizeof dateText, "%02d.%02d", date, month);

    std::string lunarDays = std::to_string(lunar.lunarDayAtStart);
    for (const LunarDayBeginning& beginning : lunar.beginnings) {
        lunarDays += "; " + std::to_string(beginning.lunarDay) + " с " +
                     TimeText(beginning.moment, lunar.noonOffsetSeconds);
        if (beginning.kind == LunarDayBeginningKind::NewMoon)
            lunarDays += ", новолуние";
    }
    if (lunar.noMoonrise)
        lunarDays += "; восхода нет";

    std::string moon;
    if (lunar.fullMoon)
        moon = "полнолуние " + TimeText(*lunar.fullMoon, lunar.noonOffsetSeconds);
    if (lunar.moonriseAtNewMoon)
        moon += std::string(moon.empty() ? "" : "; ") + "восход в минуту новолуния";
    // A date's other moonrise, which begins no lunar day.
    for (const ClockMoment& rise : lunar.otherMoonrises)
        moon += std::string(moon.empty() ? "" : "; ") + "второй восход " +
                TimeText(rise, lunar.noonOffsetSeconds);

    std::string periods;
    for (const LunarDayWorlds& worlds : day.lunarDays) {
        if (!periods.empty())
            periods += " → ";
        periods += WorldShortName(worlds.periodWorld);
    }
    return {std::string(weekdays[IsoWeekday(lunar.date) - 1]) + " " + dateText,
            lunarDays,
            moon,
            std::string(WorldShortName(day.dayWorld)),
            periods,
            CircleWord(day.circle)};
}

std::string MonthCalendarTitle(const CalendarMonth& month) {
    static constexpr const char* names[] = {"январь",   "февраль", "март",   "апрель",
                                            "май",      "июнь",    "июль",   "август",
                                            "сентябрь", "октябрь", "ноябрь", "декабрь"};
    return "Лунный календарь: " + std::string(names[month.month - 1]) + " " +
           std::to_string(month.year);
}

std::string MonthTableLegend() {
    return "Лунные дни: «22; 23 с 04:49» — в начале суток идёт 22-й лунный день, 23-й "
           "начинается в 04:49 по часам места";
}

std::string_view WorldShortName(std::string_view letter) {
    if (letter == "b")
        return "Правь";
    if (letter == "c")
        return "Явь";
    if (letter == "h")
        return "Навь";
    return "—";
}

int IsoWeekday(TDateTime date) {
    // 30 December 1899, day 0, was a Saturday.
    const long long day = static_cast<long long>(std::floor(date));
    return static_cast<int>(((day + 5) % 7 + 7) % 7) + 1;
}

} // namespace toravel
