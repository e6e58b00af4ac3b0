#include "app/person_details.h"

#include "app/birth_inputs.h"
#include "app/month_table.h"
#include "platform/conversions.h"

namespace toravel {
namespace {

// "2026-12-10T08:00:00Z" as "2026-12-10 08:00 UTC"; another text as it is.
std::string MomentText(const std::string& utc) {
    if (utc.size() == 20 && utc[10] == 'T' && utc[19] == 'Z')
        return utc.substr(0, 10) + " " + utc.substr(11, 5) + " UTC";
    return utc;
}

} // namespace

std::string PersonDetailsText(const Person& p) {
    std::string text = p.date + " " + p.time + "; ";
    if (p.latitude && p.longitude) {
        const std::string coordinates =
            CoordinateText(*p.latitude) + "; " + CoordinateText(*p.longitude);
        text += p.place.empty() ? "широта и долгота " + coordinates
                                : p.place + " (" + coordinates + ")";
        if (!p.zoneName.empty())
            text += ", часовой пояс " + p.zoneName;
    } else {
        text += "место рождения не указано";
    }
    if (const auto offset = PersonUtcOffsetSeconds(p.utcOffset))
        text += "; часы места " + UtcOffsetLabel(*offset);
    else if (p.zoneHours)
        text += "; разница в часах " + IntToStr(*p.zoneHours);
    if (p.sex != Sex::Unknown)
        text += std::string("; пол ") + (p.sex == Sex::Female ? "женский" : "мужской");
    if (p.lunarDay)
        text += "; лунный день указан: " + IntToStr(*p.lunarDay);
    text += ".";
    if (p.lastResult) {
        const LastResult& r = *p.lastResult;
        text += " Последний расчёт";
        if (!r.calculated.empty())
            text += " (" + MomentText(r.calculated) + ")";
        text += ": " + IntToStr(r.lunarDay) + "-й лунный день";
        if (!r.circle.empty())
            text += ", круг " + r.circle;
        if (!r.periodWorld.empty())
            text += ", мир периода " + std::string(WorldShortName(r.periodWorld));
        text += ".";
    }
    return text;
}

} // namespace toravel
