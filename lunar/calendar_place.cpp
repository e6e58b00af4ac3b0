#include "lunar/calendar_place.h"

#include <cmath>
#include <string_view>

#include "lunar/lunar_month_error.h"
#include "lunar/moonrise_count.h"
#include "place/birthplace_zone.h"
#include "platform/ascii_text.h"

namespace toravel {
bool HasZoneName(const CalendarPlace& place) {
    return !OnlyBlanksAndControls(place.zoneName);
}

void CheckCalendarPlace(const CalendarPlace& place) {
    // The comparisons are false for NaN, so NaN is refused as well.
    if (!(std::fabs(place.latitudeDegrees) <= 90.0 && std::fabs(place.longitudeDegrees) <= 180.0))
        throw LunarMonthError(InvalidBirthplaceMessage);
    if (HasZoneName(place)) {
        if (!IsKnownZoneName(place.zoneName)) {
            const std::string shown(QuotableAscii(place.zoneName));
            throw LunarMonthError(shown.empty() ? "часовой пояс места неизвестен"
                                                : "часовой пояс «" + shown + "» неизвестен");
        }
    } else if (place.fixedOffsetSeconds < -LargestFixedOffsetSeconds ||
               place.fixedOffsetSeconds > LargestFixedOffsetSeconds) {
        throw LunarMonthError("смещение от Гринвича вне диапазона от −18 до +18 часов");
    }
}

} // namespace toravel
