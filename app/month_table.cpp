#include "app/month_table.h"

#include <chrono>
#include <cmath>

#include "app/birth_inputs.h"
#include "lunar/place_clock.h"
#include "platform/conversions.h"

namespace toravel {
namespace {

constexpr std::int64_t SecondsPerDay = 86400;
// Days from 30 December 1899 (TDateTime 0) to 1 January 1970.
constexpr std::int64_t UnixEpochDay = 25569;

std::string TwoDigits(int value) {
    return std::string(value < 10 ? "0" : "") + IntToStr(value);
}

struct Fields {
    int year, month, day, hour, minute, second, millisecond;
};

Fields FieldsOf(TDateTime t) {
    Fields f{};
    DecodeDateTime(t, f.year, f.month, f.day, f.hour, f.minute, f.second, f.millisecond);
    return f;
}

// "13:41", and the clock's offset after it where the day's noon is on
// another clock.
std::string MomentTime(const ClockMoment& moment, const LunarMonthDay& day) {
    const Fields f = FieldsOf(moment.local);
    std::string text = TwoDigits(f.hour) + ":" + TwoDigits(f.minute);
    if (moment.offsetSeconds != day.noonOffsetSeconds)
        text += " " + UtcOffsetLabel(moment.offsetSeconds);
    return text;
}

std::string LunarDayWorldsText(const LunarDayWorlds& worlds) {
    return "мир лунного дня " + std::string(WorldShortName(worlds.lunarWorld)) + ", мир периода " +
           std::string(WorldShortName(worlds.periodWorld));
}

// The day in full: the lunar day at 00:00 and each beginning with their
// worlds, the Moon, the calendar day's world and circle (named as the
// table names it).
std::string DetailsOf(const MonthCalendarDay& day, const std::string& circle) {
    const LunarMonthDay& lunar = day.lunar;
    // lunarDays[0] is in force at 00:00, lunarDays[i + 1] from beginnings[i].
    const auto worldsAt = [&day](std::size_t i) {
        return i < day.lunarDays.size() ? day.lunarDays[i] : LunarDayWorlds{};
    };
    std::string details = "с начала суток — " + IntToStr(lunar.lunarDayAtStart) +
                          "-й лунный день: " + LunarDayWorldsText(worldsAt(0));
    for (std::size_t i = 0; i < lunar.beginnings.size(); ++i) {
        const LunarDayBeginning& b = lunar.beginnings[i];
        const bool newMoon = b.kind == LunarDayBeginningKind::NewMoon;
        details += "\nс " + MomentTime(b.moment, lunar) + " (" +
                   (newMoon ? "новолуние" : "восход Луны") + ") — " + IntToStr(b.lunarDay) +
                   "-й лунный день: " + LunarDayWorldsText(worldsAt(i + 1));
    }
    if (lunar.moonriseAtNewMoon) {
        details += "\nвосход Луны в минуту новолуния " +
                   MomentTime(*lunar.moonriseAtNewMoon, lunar) + " нового лунного дня не начинает";
    }
    if (lunar.fullMoon)
        details += "\nполнолуние " + MomentTime(*lunar.fullMoon, lunar);
    if (lunar.noMoonrise)
        details += "\nЛуна в этот день не восходит";
    if (day.recordFound) {
        details += "\nмир дня " + std::string(WorldShortName(day.dayWorld)) + ", круг " + circle;
    } else {
        details += "\nв базе нет записи этого дня: мир дня и круг неизвестны";
    }
    return details;
}

} // namespace

ClockMoment PlaceNow(const CalendarPlace& place, std::int64_t universalSecond) {
    const PlaceClock clock(place, universalSecond - SecondsPerDay, universalSecond + SecondsPerDay);
    const int offset = clock.OffsetAtUniversal(universalSecond);
    std::int64_t local = universalSecond + offset;
    local -= ((local % 60) + 60) % 60; // the whole minute, as the calendar's moments
    const auto day = static_cast<int>(local >= 0 ? local / SecondsPerDay
                                                 : -((-local + SecondsPerDay - 1) / SecondsPerDay));
    const auto secondOfDay = static_cast<int>(local - std::int64_t{day} * SecondsPerDay);
    const Fields date = FieldsOf(static_cast<TDateTime>(day));
    const TDateTime reading = EncodeDateTime(date.year, date.month, date.day, secondOfDay / 3600,
                                             secondOfDay / 60 % 60, 0);
    return ClockMoment{reading, offset};
}

std::int64_t UniversalSecondNow() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::seconds>(now).count() +
           UnixEpochDay * SecondsPerDay;
}

MonthTable MakeMonthTable(const MonthCalendar& calendar, const std::optional<ClockMoment>& now) {
    MonthTable table;
    table.title = MonthTitle(calendar.month);
    table.rows.reserve(calendar.days.size());
    const double today = now ? std::floor(now->local) : -1e300;
    for (const MonthCalendarDay& day : calendar.days) {
        const MonthTableCells cells = MonthTableRow(day);
        MonthWindowRow row{cells, DetailsOf(day, cells[MonthCircleColumn]),
                           IsoWeekday(day.lunar.date) >= 6, false};
        if (day.lunar.date == today) {
            row.today = true;
            table.todayRow = table.rows.size();
            const Fields f = FieldsOf(now->local);
            const std::int32_t lunarDay = LunarDayInForceAt(day.lunar, *now);
            // Its worlds: those of the last beginning in force by now, by
            // the rule LunarDayInForceAt applies.
            std::size_t inForce = 0;
            const std::int64_t second = now->UniversalSecond();
            for (std::size_t i = 0; i < day.lunar.beginnings.size(); ++i) {
                const LunarDayBeginning& b = day.lunar.beginnings[i];
                const std::int64_t begins = b.moment.UniversalSecond();
                if (begins < second || (begins == second && b.inForceAtItsMinute))
                    inForce = i + 1;
            }
            const std::string world =
                inForce < day.lunarDays.size() ? day.lunarDays[inForce].periodWorld : "";
            table.now = "Сейчас " + TwoDigits(f.day) + "." + TwoDigits(f.month) + "." +
                        IntToStr(f.year) + " " + TwoDigits(f.hour) + ":" + TwoDigits(f.minute) +
                        " по часам места — " + IntToStr(lunarDay) + "-й лунный день";
            if (!world.empty())
                table.now += ", мир периода " + std::string(WorldShortName(world));
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::string MonthTitle(const CalendarMonth& month) {
    static const char* const names[] = {"Январь",   "Февраль", "Март",   "Апрель",
                                        "Май",      "Июнь",    "Июль",   "Август",
                                        "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};
    const bool valid = month.month >= 1 && month.month <= 12;
    return std::string(valid ? names[month.month - 1] : "?") + " " + IntToStr(month.year);
}

} // namespace toravel
