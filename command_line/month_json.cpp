#include "command_line/month_json.h"

#include <cmath>
#include <cstdio>

#include "command_line/calculation_clock.h"
#include "horoscope/month_calendar_text.h"
#include "place/birthplace_zone.h"

namespace toravel::command_line {
namespace {

Json MomentJson(const std::optional<ClockMoment>& moment) {
    return moment ? Json(IsoMomentText(*moment)) : Json(nullptr);
}

} // namespace

Json MonthJson(const MonthRequest& request, const MonthCalendar& calendar) {
    Json document = JsonDocument(JsonKind::Month);
    char month[16];
    std::snprintf(month, sizeof month, "%04d-%02d", calendar.month.year, calendar.month.month);
    document["month"] = month;
    document["coordinates"] = {{"latitude", calendar.place.latitudeDegrees},
                               {"longitude", calendar.place.longitudeDegrees}};
    document["birthplace"] = BirthplaceJson(request.birthplace);
    const bool zone = HasZoneName(calendar.place);
    document["clock"] = {
        {"source", ClockSourceName(request.clockSource)},
        {"zone_name", zone ? Json(calendar.place.zoneName) : Json(nullptr)},
        {"utc_offset",
         zone ? Json(nullptr) : Json(UtcOffsetText(calendar.place.fixedOffsetSeconds))}};

    Json days = Json::array();
    for (const MonthCalendarDay& day : calendar.days) {
        const LunarMonthDay& lunar = day.lunar;
        Json beginnings = Json::array();
        for (std::size_t i = 0; i < lunar.beginnings.size(); ++i) {
            const LunarDayBeginning& beginning = lunar.beginnings[i];
            const LunarDayWorlds& worlds = day.lunarDays[i + 1];
            beginnings.push_back(
                {{"lunar_day", beginning.lunarDay},
                 {"moment", IsoMomentText(beginning.moment)},
                 {"kind",
                  beginning.kind == LunarDayBeginningKind::NewMoon ? "new_moon" : "moonrise"},
                 {"in_force_at_its_minute", beginning.inForceAtItsMinute},
                 {"lunar_world", WorldJson(worlds.lunarWorld)},
                 {"period_world", WorldJson(worlds.periodWorld)}});
        }
        Json otherMoonrises = Json::array();
        for (const ClockMoment& rise : lunar.otherMoonrises)
            otherMoonrises.push_back(IsoMomentText(rise));
        const LunarDayWorlds& start = day.lunarDays.front();
        days.push_back({{"date", IsoDateText(lunar.date)},
                        {"weekday", IsoWeekday(lunar.date)},
                        {"lunar_day_at_start", lunar.lunarDayAtStart},
                        {"lunar_world_at_start", WorldJson(start.lunarWorld)},
                        {"period_world_at_start", WorldJson(start.periodWorld)},
                        {"beginnings", std::move(beginnings)},
                        {"full_moon", MomentJson(lunar.fullMoon)},
                        {"no_moonrise", lunar.noMoonrise},
                        {"moonrise_at_new_moon", MomentJson(lunar.moonriseAtNewMoon)},
                        {"other_moonrises", std::move(otherMoonrises)},
                        {"day_world", WorldJson(day.dayWorld)},
                        {"circle", CircleJson(day.circle)},
                        {"utc_offset_at_noon", UtcOffsetText(lunar.noonOffsetSeconds)}});
    }
    document["days"] = std::move(days);
    document["error"] = nullptr;
    return document;
}

} // namespace toravel::command_line
