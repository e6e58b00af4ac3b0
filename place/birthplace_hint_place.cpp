// The choice of the hint's place and the texts that go with it.
#include "place/birthplace_hint_place.h"

#include <algorithm>
#include <cmath>

#include "place/city_line.h"
#include "platform/conversions.h"
#include "platform/regional_settings.h"

namespace toravel {
namespace {

std::optional<double> FieldNumber(std::string_view text) {
    try {
        return StrToFloat(text);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

// The longitudes' difference brought into −180 … 180, so that 179,999 and
// −179,999 are neighbours.
double LongitudeDifference(double a, double b) {
    const double difference = std::remainder(a - b, 360.0);
    return std::fabs(difference);
}

bool SamePoint(GeographicPoint fields, GeographicPoint place) {
    // The slack keeps a value typed to two decimals, 0.01° off, inside.
    constexpr double tolerance = kPickedPlaceToleranceDegrees + 1e-9;
    return std::fabs(fields.latitude - place.latitude) <= tolerance &&
           LongitudeDifference(fields.longitude, place.longitude) <= tolerance;
}

} // namespace

std::optional<PickedPlace> PickedPlaceOfCityLine(std::string_view line) {
    const CityCoordinateTexts texts = ApplyCityLine(line);
    const auto point = FieldCoordinates(texts.latitude, texts.longitude);
    if (!point)
        return std::nullopt;
    CityIdentity identity = CityIdentityOfLine(line);
    return PickedPlace{std::move(identity.name), *point, std::move(identity.zone)};
}

PickedPlace PickedPlaceOfAtlasPlace(const AtlasPlace& place) {
    return PickedPlace{place.name, {place.latitude, place.longitude}, place.zone};
}

std::optional<GeographicPoint> FieldCoordinates(std::string_view latitudeText,
                                                std::string_view longitudeText) {
    const auto latitude = FieldNumber(latitudeText);
    const auto longitude = FieldNumber(longitudeText);
    if (!latitude || !longitude || std::fabs(*latitude) > 90.0 || std::fabs(*longitude) > 180.0)
        return std::nullopt;
    return GeographicPoint{*latitude, *longitude};
}

HintPlace ChooseHintPlace(std::string_view latitudeText, std::string_view longitudeText,
                          const std::optional<PickedPlace>& picked, const AtlasAccess& atlas) {
    HintPlace choice;
    const auto point = FieldCoordinates(latitudeText, longitudeText);
    if (!point)
        return choice;
    const bool pickedPoint = picked && SamePoint(*point, picked->point);
    if (pickedPoint && !picked->zone.empty()) {
        choice.source = HintPlaceSource::PickedPlace;
        choice.name = picked->name;
        choice.zone = picked->zone;
        return choice;
    }
    const WorldAtlas* world = atlas ? atlas() : nullptr;
    if (world == nullptr)
        return choice;
    const auto nearest = world->NearestWithin(*point, kNearestPlaceRadiusKm);
    if (!nearest) {
        // A place picked there is no sea, even without a zone of its own.
        if (!pickedPoint) {
            choice.source = HintPlaceSource::OpenSea;
            choice.longitude = point->longitude;
        }
        return choice;
    }
    choice.source = HintPlaceSource::NearestAtlasPlace;
    choice.name = nearest->place->name;
    choice.zone = nearest->place->zone;
    choice.distanceKm = nearest->distanceKm;
    choice.atlasPlace = nearest->place;
    return choice;
}

std::string HintPlaceWording(const HintPlace& place) {
    if (place.source == HintPlaceSource::NearestAtlasPlace)
        return "ближайшее место атласа — " + place.name + ", " + DistanceKmText(place.distanceKm) +
               ":";
    return "в месте рождения";
}

std::string DistanceKmText(double km) {
    const double whole = std::round(km);
    if (!(whole >= 1.0))
        return "менее 1 км";
    // No two points on the Earth are farther apart than some 20,000 km.
    return IntToStr(static_cast<int>(std::min(whole, 1e9))) + " км";
}

BirthplaceZoneHint MakeHintForPlace(const HintPlace& place, TDateTime birthLocal,
                                    int computerOffsetSeconds) {
    if (place.source == HintPlaceSource::None)
        return {};
    if (place.source == HintPlaceSource::OpenSea)
        return MakeNauticalZoneHint(place.longitude, computerOffsetSeconds);
    return MakeBirthplaceZoneHint(place.zone, birthLocal, computerOffsetSeconds,
                                  HintPlaceWording(place));
}

BirthplaceZoneHint FieldsZoneHint(std::string_view latitudeText, std::string_view longitudeText,
                                  const std::optional<PickedPlace>& picked,
                                  const AtlasAccess& atlas, TDateTime birthLocal,
                                  int computerOffsetSeconds) {
    return MakeHintForPlace(ChooseHintPlace(latitudeText, longitudeText, picked, atlas), birthLocal,
                            computerOffsetSeconds);
}

namespace {

// Where the hint's value comes from: a zone of the database, or at sea the
// nautical time of the longitude.
const char* HintSource(const BirthplaceZoneHint& hint) {
    return hint.offset ? "по базе часовых поясов" : "по поясному времени";
}

} // namespace

std::optional<std::string> ZoneMismatchWarning(int spinValue, const BirthplaceZoneHint& hint) {
    if (!hint.spinValue || *hint.spinValue == spinValue)
        return std::nullopt;
    return "указано " + IntToStr(spinValue) + ", а " + HintSource(hint) + " нужно " +
           IntToStr(*hint.spinValue);
}

std::optional<std::string> ReportZoneWarning(int reportHours, int spinValue,
                                             const BirthplaceZoneHint& hint) {
    if (!hint.spinValue || *hint.spinValue == reportHours)
        return std::nullopt;
    if (spinValue != *hint.spinValue)
        return ZoneMismatchWarning(spinValue, hint);
    const std::string needed = IntToStr(*hint.spinValue);
    return "отчёт рассчитан с " + IntToStr(reportHours) + ", а " + HintSource(hint) + " нужно " +
           needed + "; «расчет» даст результат для " + needed;
}

std::string CoordinateFieldText(double degrees) {
    // Beyond this no coordinate lies, and the scaled value stays exact.
    if (!std::isfinite(degrees) || std::fabs(degrees) > 1e9)
        return {};
    const long long tenThousandths = std::llround(degrees * 10000.0);
    const long long magnitude = tenThousandths < 0 ? -tenThousandths : tenThousandths;
    std::string text = tenThousandths < 0 ? "-" : "";
    text += std::to_string(magnitude / 10000);
    std::string decimals = std::to_string(magnitude % 10000);
    decimals.insert(0, 4 - decimals.size(), '0');
    while (!decimals.empty() && decimals.back() == '0')
        decimals.pop_back();
    if (!decimals.empty())
        text += regional::kDecimalSeparator + decimals;
    return text;
}

} // namespace toravel
