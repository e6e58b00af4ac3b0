#include "command_line/month_request.h"

#include "command_line/option_values.h"
#include "lunar/lunar_month_error.h"
#include "place/birthplace_hint_place.h"
#include "place/birthplace_zone.h"
#include "platform/conversions.h"
#include "platform/utf8_text.h"

namespace toravel::command_line {
namespace {

std::optional<double> Degrees(const std::string& text) {
    try {
        return StrToFloat(text);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

} // namespace

PreparedMonth PrepareMonth(const CommandOptions& o, std::ostream& notes) {
    const auto usage = [](const std::string& problem) {
        return PreparedMonth{std::nullopt, UsageError(problem)};
    };
    MonthRequest request;
    try {
        request.month = ParseCalendarMonth(*o.month);
    } catch (const LunarMonthError& e) {
        // The calendar quotes the text as it is; a long or broken one is
        // quoted here, cut short and as valid text.
        if (o.month->size() <= 40 && IsValidUtf8(*o.month))
            return usage(std::string("--month: ") + e.what());
        return usage("--month: " + QuotedValue(*o.month) +
                     ": нужен месяц в виде ММ.ГГГГ, например 03.2026");
    }
    if (o.city.empty() && !o.place && o.latitude.empty() && o.longitude.empty())
        return usage("--month: нужно место: --place, --city или --lat с --lon");

    const bool ownZone = !o.utcOffset && !o.zoneName;
    CommandOptions lookup = o;
    lookup.clockNaming = "--zone-name или --utc-offset"; // a month takes no --zone
    BirthplaceLookup where = LookUpBirthplace(lookup, ownZone, notes);
    if (!where.resolved)
        return {std::nullopt, where.error};
    const ResolvedBirthplace& resolved = *where.resolved;
    const auto latitude = Degrees(resolved.latitude);
    const auto longitude = Degrees(resolved.longitude);
    if (!latitude || !longitude)
        return usage("--month: широта " + QuotedValue(resolved.latitude) + " и долгота " +
                     QuotedValue(resolved.longitude) + " должны быть числами градусов");
    request.place.latitudeDegrees = *latitude;
    request.place.longitudeDegrees = *longitude;
    request.birthplace = resolved.place;

    if (o.utcOffset) {
        request.clockSource = ClockSource::UtcOffset;
        request.place.fixedOffsetSeconds = *ParseUtcOffset(*o.utcOffset);
    } else if (o.zoneName) {
        request.clockSource = ClockSource::ZoneName;
        if (!IsKnownZoneName(*o.zoneName))
            return usage("--zone-name: такого часового пояса нет в базе часовых поясов: " +
                         QuotedValue(*o.zoneName));
        request.place.zoneName = *o.zoneName;
    } else {
        request.clockSource = ClockSource::AutoZone;
        if (resolved.zone.empty())
            return usage("--month: у " + resolved.zoneOwner +
                         " не указан часовой пояс; задайте --zone-name или --utc-offset");
        request.place.zoneName = resolved.zone;
    }
    try {
        CheckCalendarPlace(request.place);
    } catch (const LunarMonthError& e) {
        return usage(std::string("--month: ") + e.what());
    }
    return {std::move(request), std::nullopt};
}

std::string MonthPlaceLine(const MonthRequest& request) {
    std::string line;
    if (request.birthplace && !request.birthplace->distanceKm)
        line = BirthplaceName(*request.birthplace) + " ";
    line += "(" + CoordinateFieldText(request.place.latitudeDegrees) + "; " +
            CoordinateFieldText(request.place.longitudeDegrees) + "), ";
    line += HasZoneName(request.place) ? request.place.zoneName
                                       : "UTC" + UtcOffsetText(request.place.fixedOffsetSeconds);
    return line;
}

} // namespace toravel::command_line
