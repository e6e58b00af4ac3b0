// The place the month window's lunar calendar is made for: the birthplace in
// the main window's fields, told on the clock of its zone when one is known
// (the place picked from the city list or the atlas while the fields hold
// its coordinates, else the nearest atlas place), otherwise on the clock the
// calculation would use: the offset box's hours plus the computer's own
// offset, held fixed all year. The title says which. No Qt.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lunar/calendar_place.h"
#include "place/birthplace_hint_place.h"

namespace toravel {

struct MonthPlace {
    CalendarPlace place;
    // "Москва, часовой пояс Europe/Moscow"; for a fixed offset "широта 55,75,
    // долгота 37,62; постоянное смещение UTC+3:00 (разница в часах 0 и пояс
    // компьютера UTC+3:00)".
    std::string title;
    // The place in a word or two, for a file name: "Москва", the nearest
    // atlas place's name, or the coordinates "55,75 37,62".
    std::string name;
};

struct MonthPlaceChoice {
    std::optional<MonthPlace> place;
    // What is missing, as the calculation says it ("нет данных о широте"),
    // when the fields hold no birthplace.
    std::string missing;
};

// Throws ConversionError, with the calculation's own message, for a field
// that holds no number; a point off the Earth is left to the calendar, which
// refuses it with its message.
MonthPlaceChoice ChooseMonthPlace(std::string_view latitudeText, std::string_view longitudeText,
                                  const std::optional<PickedPlace>& picked,
                                  const AtlasAccess& atlas, int zoneHours,
                                  int computerOffsetSeconds);

} // namespace toravel
