#include "app/month_place.h"

#include "app/birth_inputs.h"
#include "horoscope/calculation_command.h"
#include "platform/ascii_text.h"
#include "platform/conversions.h"

namespace toravel {
namespace {

std::string Trimmed(std::string_view text) {
    return std::string(TrimBlanksAndControls(text));
}

} // namespace

MonthPlaceChoice ChooseMonthPlace(std::string_view latitudeText, std::string_view longitudeText,
                                  const std::optional<PickedPlace>& picked,
                                  const AtlasAccess& atlas, int zoneHours,
                                  int computerOffsetSeconds) {
    MonthPlaceChoice choice;
    const bool noLatitude = OnlyBlanksAndControls(latitudeText);
    const bool noLongitude = OnlyBlanksAndControls(longitudeText);
    if (noLatitude || noLongitude) {
        choice.missing = noLatitude && noLongitude ? NoPlaceMessage
                         : noLatitude              ? NoLatitudeMessage
                                                   : NoLongitudeMessage;
        return choice;
    }
    MonthPlace month;
    month.place.latitudeDegrees = StrToFloat(latitudeText);
    month.place.longitudeDegrees = StrToFloat(longitudeText);
    month.name = Trimmed(latitudeText) + " " + Trimmed(longitudeText);

    const HintPlace zonePlace = ChooseHintPlace(latitudeText, longitudeText, picked, atlas);
    if (zonePlace.source != HintPlaceSource::None && !zonePlace.zone.empty()) {
        month.place.zoneName = zonePlace.zone;
        month.name = zonePlace.name;
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
