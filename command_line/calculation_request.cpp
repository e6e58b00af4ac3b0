#include "command_line/calculation_request.h"

#include "command_line/option_values.h"
#include "place/birthplace_hint_place.h"
#include "place/birthplace_zone.h"
#include "platform/computer_zone.h"
#include "platform/utf8_text.h"

namespace toravel::command_line {

TDateTime CalculationRequest::BirthLocal() const {
    return DateOf(birthDate) + TimeOf(birthTime);
}

PreparedCalculation PrepareCalculation(const CommandOptions& o, std::ostream& notes) {
    const auto usage = [](const std::string& problem) {
        return PreparedCalculation{std::nullopt, UsageError(problem)};
    };
    if (o.date.empty())
        return usage(MissingRequiredOption("--date"));
    const auto birthDate = ParseBirthDate(o.date);
    if (!birthDate)
        return usage("--date: нет такой даты: " + QuotedValue(o.date) +
                     " (нужна ДД.ММ.ГГГГ или ГГГГ-ММ-ДД, годы 2 … 9998)");
    const auto birthTime = ParseBirthTime(o.time);
    if (!birthTime)
        return usage("--time: нужно время ЧЧ:ММ или ЧЧ:ММ:СС: " + QuotedValue(o.time));
    if (CodePointCount(o.lunarDay) > 2)
        return usage("--lunar-day: в поле лунного дня не более двух знаков: " +
                     QuotedValue(o.lunarDay));

    CalculationRequest request;
    request.birthDate = *birthDate;
    request.birthTime = *birthTime;
    request.placeText = o.place ? o.place : o.placeLabel;
    request.lunarDay = o.lunarDay;
    request.listing = o.list;
    request.female = o.sex == "female";

    // With no clock named, a birthplace that is a place (or lies near one)
    // runs on that place's own clock; typed coordinates that are no point on
    // the Earth are left to the calculation, which says what is wrong.
    const bool clockNamed = o.utcOffset || o.zoneName || o.zone || o.autoZone;
    const bool placeNamed = !o.city.empty() || o.place.has_value();
    const bool ownZone =
        o.autoZone ||
        (!clockNamed && (placeNamed || FieldCoordinates(o.latitude, o.longitude).has_value()));
    BirthplaceLookup birthplace = LookUpBirthplace(o, ownZone, notes);
    if (!birthplace.resolved)
        return {std::nullopt, birthplace.error};
    const ResolvedBirthplace& where = *birthplace.resolved;
    request.latitude = where.latitude;
    request.longitude = where.longitude;
    request.birthplace = where.place;

    const TDateTime birthLocal = request.BirthLocal();
    if (o.utcOffset) {
        request.clock = FixedClock(*ParseUtcOffset(*o.utcOffset));
    } else if (o.zoneName) {
        if (!IsKnownZoneName(*o.zoneName))
            return usage("--zone-name: такого часового пояса нет в базе часовых поясов: " +
                         QuotedValue(*o.zoneName));
        const auto clock = ZoneClock(ClockSource::ZoneName, *o.zoneName, birthLocal);
        if (!clock)
            return usage("--zone-name: нет смещения пояса " + QuotedValue(*o.zoneName) +
                         " на момент рождения");
        request.clock = *clock;
    } else if (ownZone) {
        // Named after the option when it was given; otherwise the message
        // says which options would do instead.
        const std::string asked = o.autoZone ? "--auto-zone: " : "";
        const std::string instead = o.autoZone ? std::string() : "; задайте " + o.clockNaming;
        if (where.zone.empty())
            return usage(asked + "у " + where.zoneOwner + " в списке не указан часовой пояс" +
                         instead);
        if (!IsKnownZoneName(where.zone))
            return usage(asked + "часовой пояс " + QuotedValue(where.zone) + " " + where.zoneOwner +
                         " неизвестен" + instead);
        const auto clock = ZoneClock(ClockSource::AutoZone, where.zone, birthLocal);
        if (!clock)
            return usage(asked + "нет смещения пояса " + QuotedValue(where.zone) +
                         " на момент рождения" + instead);
        request.clock = *clock;
        notes << (o.autoZone ? "--auto-zone: " : "часы места рождения: ")
              << ClockDescription(*clock) << '\n'
              << std::flush;
    } else {
        request.clock = WindowClock(o.zone.value_or(0), ComputeComputerZoneOffset());
    }
    return {std::move(request), std::nullopt};
}

} // namespace toravel::command_line
