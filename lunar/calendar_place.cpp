#include "lunar/calendar_place.h"

#include <cmath>
#include <string_view>

#include "lunar/lunar_month_error.h"
#include "lunar/moonrise_count.h"
#include "platform/birthplace_zone.h"

namespace toravel {
namespace {

// The name as the message may quote it: plain ASCII of sensible length, or
// nothing (a name of control characters or megabytes is not repeated).
std::string ShownName(std::string_view name) {
    while (!name.empty() && static_cast<unsigned char>(name.front()) <= 32)
        name.remove_prefix(1);
    while (!name.empty() && static_cast<unsigned char>(name.back()) <= 32)
        name.remove_suffix(1);
    if (name.size() > 64)
        return {};
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126)
            return {};
    return std::string(name);
}

} // namespace

bool HasZoneName(const CalendarPlace& place) {
    for (const char c : place.zoneName)
        if (static_cast<unsigned char>(c) > 32)
            return true;
    return false;
}

void CheckCalendarPlace(const CalendarPlace& place) {
    // The comparisons are false for NaN, so NaN is refused as well.
    if (!(std::fabs(place.latitudeDegrees) <= 90.0 && std::fabs(place.longitudeDegrees) <= 180.0))
        throw LunarMonthError(InvalidBirthplaceMessage);
    if (HasZoneName(place)) {
        if (!IsKnownZoneName(place.zoneName)) {
            const std::string shown = ShownName(place.zoneName);
            throw LunarMonthError(shown.empty() ? "часовой пояс места неизвестен"
                                                : "часовой пояс «" + shown + "» неизвестен");
        }
    } else if (place.fixedOffsetSeconds < -LargestFixedOffsetSeconds ||
               place.fixedOffsetSeconds > LargestFixedOffsetSeconds) {
        throw LunarMonthError("смещение от Гринвича вне диапазона от −18 до +18 часов");
    }
}

} // namespace toravel
