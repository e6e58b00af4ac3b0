// The texts of the birthplace-offset hint.
#include "place/birthplace_zone_hint.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/ascii_text.h"

namespace toravel {
namespace {

std::string Number(long value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::string(digits, end);
}

// "30 мин", "29 мин 43 с", "17 с".
std::string DurationText(long magnitudeSeconds) {
    const long minutes = magnitudeSeconds / 60;
    const long secs = magnitudeSeconds % 60;
    std::string text;
    if (minutes != 0)
        text = Number(minutes) + " мин";
    if (secs != 0)
        text += (text.empty() ? "" : " ") + Number(secs) + " с";
    return text;
}

long NearestWholeHour(long seconds) {
    return seconds >= 0 ? (seconds + 1800) / 3600 : -((-seconds + 1800) / 3600);
}

// The whole hours the spin box must hold for the clock `offsetSeconds`, and
// what the hint says of them.
void AddSpinValue(BirthplaceZoneHint& hint, int offsetSeconds, int computerOffsetSeconds) {
    const long difference = static_cast<long>(offsetSeconds) - computerOffsetSeconds;
    const long hours = NearestWholeHour(difference);
    hint.spinValue = static_cast<int>(hours);
    hint.canApply = hours >= kBirthplaceSpinMinimum && hours <= kBirthplaceSpinMaximum;
    if (!hint.canApply) {
        hint.text += "; для расчёта нужно " + Number(hours) + ", а поле принимает от " +
                     Number(kBirthplaceSpinMinimum) + " до " + Number(kBirthplaceSpinMaximum);
        return;
    }
    hint.text += "; для расчёта укажите " + Number(hours);
    // The calculation's clock against the birthplace's, with that value.
    const long ahead = hours * 3600 - difference;
    if (ahead > 0)
        hint.text +=
            " — ближайший целый час, часы расчёта опередят местные на " + DurationText(ahead);
    else if (ahead < 0)
        hint.text +=
            " — ближайший целый час, часы расчёта отстанут от местных на " + DurationText(-ahead);
}

} // namespace

int NauticalOffsetSeconds(double longitudeDegrees) {
    // Zones 15° wide centred on multiples of 15°; the 180th meridian is the
    // edge of zones +12 and -12.
    const double clamped = std::clamp(longitudeDegrees, -180.0, 180.0);
    return static_cast<int>(std::round(clamped / 15.0)) * 3600;
}

BirthplaceZoneHint MakeNauticalZoneHint(double longitudeDegrees, int computerOffsetSeconds) {
    BirthplaceZoneHint hint;
    if (!std::isfinite(longitudeDegrees))
        return hint;
    const int offset = NauticalOffsetSeconds(longitudeDegrees);
    const int hours = offset / 3600;
    hint.text = "в открытом море — поясное время по долготе: UTC" +
                std::string(hours < 0 ? "-" : "+") + Number(hours < 0 ? -hours : hours);
    AddSpinValue(hint, offset, computerOffsetSeconds);
    return hint;
}

BirthplaceZoneHint MakeBirthplaceZoneHint(std::string_view zoneName, TDateTime birthLocal,
                                          int computerOffsetSeconds,
                                          std::string_view placeWording) {
    BirthplaceZoneHint hint;
    if (OnlyBlanksAndControls(zoneName))
        return hint;
    if (!IsKnownZoneName(zoneName)) {
        const std::string shown(QuotableAscii(zoneName));
        hint.text = shown.empty() ? "часовой пояс места рождения неизвестен"
                                  : "часовой пояс места рождения «" + shown + "» неизвестен";
        return hint;
    }
    hint.offset = BirthplaceOffsetAt(zoneName, birthLocal);
    if (!hint.offset)
        return hint; // the moment is no date

    const BirthplaceOffset& place = *hint.offset;
    hint.text = std::string(placeWording) + " " + UtcOffsetLabel(place.offsetSeconds);
    if (place.summerTime)
        hint.text += " (летнее время)";
    else if (place.keepsDaylightTimeThatYear)
        hint.text += " (зимнее время)";
    AddSpinValue(hint, place.offsetSeconds, computerOffsetSeconds);
    if (place.reading != LocalClockReading::Unique)
        hint.text += "; время рождения приходится на перевод часов, взято смещение до перевода";
    return hint;
}

} // namespace toravel
