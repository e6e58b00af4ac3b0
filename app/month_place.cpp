#include "app/month_place.h"

#include <algorithm>

#include "app/birth_inputs.h"
#include "horoscope/calculation_command.h"
#include "platform/conversions.h"

namespace toravel {
namespace {

bool IsBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= 32; });
}

std::string Trimmed(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32)
        text.remove_suffix(1);
    return std::string(text);
}

} // namespace

MonthPlaceChoice ChooseMonthPlace(std::string_view latitudeText, std::string_view longitudeText,
                                  const std::optional<PickedPlace>& picked,
                                  const AtlasAccess& atlas, int zoneHours,
                                  int computerOffsetSeconds) {
    MonthPlaceChoice choice;
    const bool noLatitude = IsBlank(latitudeText);
    const bool noLongitude = IsBlank(longitudeText);
    if (noLatitude || noLongitude) {
        choice.missing = noLatitude && noLongitude ? NoPlaceMessage
                         : noLatitude              ? NoLatitudeMessage
                                                   : NoLongitudeMessage;
        return choice;
    }
    MonthPlace month;
    month.place.latitudeDegrees = StrToFloat(latitudeText);
    month.place.longitudeDegrees = StrToFloat(longitudeText);

    const HintPlace zonePlace = ChooseHintPlace(latitudeText, longitudeText, picked, atlas);
    if (zonePlace.source != HintPlaceSource::None && !zonePlace.zone.empty()) {
        month.place.zoneName = zonePlace.zone;
        month.title = zonePlace.source == HintPlaceSource::PickedPlace
                          ? zonePlace.name
                          : "широта " + Trimmed(latitudeText) + ", долгота " +
                                Trimmed(longitudeText) + " (" + HintPlaceWording(zonePlace) + " " +
                                zonePlace.zone + ")";
        if (zonePlace.source == HintPlaceSource::PickedPlace)
            month.title += ", часовой пояс " + zonePlace.zone;
        choice.place = std::move(month);
        return choice;
    }

    const int offset = computerOffsetSeconds + 3600 * zoneHours;
    month.place.fixedOffsetSeconds = offset;
    month.title = "широта " + Trimmed(latitudeText) + ", долгота " + Trimmed(longitudeText) +
                  "; постоянное смещение " + UtcOffsetLabel(offset) + " (разница в часах " +
                  IntToStr(zoneHours) + " и пояс компьютера " +
                  UtcOffsetLabel(computerOffsetSeconds) + "), без перехода на летнее время";
    choice.place = std::move(month);
    return choice;
}

} // namespace toravel
