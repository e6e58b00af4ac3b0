// The hint under the birthplace-offset spin box: the birthplace's offset from
// Greenwich at the birth moment (tz database) and the whole hours the spin box
// must hold for the calculation to run on the birthplace's clock.
//
// The calculation's clock is Greenwich time plus the computer's own offset
// (worked out at start-up) plus the spin box's hours, so the spin box must
// hold the birthplace's offset minus the computer's. Where that difference is
// not whole hours the nearest hour is offered and the minutes left over are
// named. Nothing here changes the spin box; the window's button does that.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "place/birthplace_zone.h"
#include "platform/tdatetime.h"

namespace toravel {

// The range of the birthplace-offset spin box, whole hours.
inline constexpr int kBirthplaceSpinMinimum = -12;
inline constexpr int kBirthplaceSpinMaximum = 12;

struct BirthplaceZoneHint {
    // The label's text; empty when the place has no zone (or the moment is
    // not a date of the years 1 to 9999): nothing to say.
    std::string text;
    // The birthplace's offset minus the computer's, to the nearest whole hour
    // (halves away from zero); set whenever the zone is known, even out of range.
    std::optional<int> spinValue;
    // spinValue lies within the spin box's range: the "подставить" button may
    // put it in. False for an unknown zone and for a value out of range.
    bool canApply = false;
    // The lookup behind the text, when the zone is known.
    std::optional<BirthplaceOffset> offset;
};

// zoneName: the place's IANA zone name, empty when the place has none.
// birthLocal: the birth date and time on the birthplace's clock.
// computerOffsetSeconds: the computer's own offset that the calculation adds
// (ComputeComputerZoneOffset().offsetSeconds), positive east.
// placeWording: what the offset belongs to, the text's opening words.
BirthplaceZoneHint MakeBirthplaceZoneHint(std::string_view zoneName, TDateTime birthLocal,
                                          int computerOffsetSeconds,
                                          std::string_view placeWording = "в месте рождения");

// At sea, far from any place and its zone, ships keep the nautical time of
// their longitude: UTC + round(longitude / 15) whole hours. The hint says so
// ("в открытом море — поясное время по долготе: UTC-2; для расчёта укажите
// -5") and gives the spin box's value as for a zone; `offset` stays empty.
BirthplaceZoneHint MakeNauticalZoneHint(double longitudeDegrees, int computerOffsetSeconds);

// The nautical offset of a longitude in degrees (east positive), seconds.
int NauticalOffsetSeconds(double longitudeDegrees);

} // namespace toravel
