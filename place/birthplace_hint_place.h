// Which place gives the birthplace-offset hint for the coordinates that are
// in the latitude and longitude fields now, the hint's text for it, and the
// warning when the spin box holds another value than the hint asks for.
//
// How the window uses it:
//  - picking a city of the list keeps PickedPlaceOfCityLine(line) as the
//    picked place; picking an atlas place keeps PickedPlaceOfAtlasPlace and
//    writes CoordinateFieldText of its latitude and longitude into the
//    fields, exactly as a typed value would stand there;
//  - whenever either field, the date, the time, the city or the pick
//    changes, FieldsZoneHint(...) gives the hint, the atlas passed as an
//    AtlasAccess so that start-up and picked places never load it: `text`
//    for the label, `canApply` and `spinValue` for "подставить" (hidden
//    without a value);
//  - after a "расчет" that wrote its report with another value than the
//    hint's, ReportZoneWarning(that value, spin box value, hint) is the red
//    line under the hint, until a report is calculated with the hint's value.
// The choice of place, in order:
//  1. the fields hold the picked place's coordinates (within 0.01°): its zone;
//  2. otherwise the nearest atlas place within 50 km of the fields' point,
//     named with its distance;
//  3. otherwise, with an atlas to say that no place is near, and no place
//     picked there: the open sea, on the nautical time of the longitude;
//  4. otherwise, or when a field holds no number on the Earth: no hint.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "place/birthplace_zone_hint.h"
#include "place/sphere_point_index.h"
#include "place/world_atlas.h"
#include "platform/tdatetime.h"

namespace toravel {

inline constexpr double kNearestPlaceRadiusKm = 50.0;
inline constexpr double kPickedPlaceToleranceDegrees = 0.01;

// A place picked from the city list or the atlas.
struct PickedPlace {
    std::string name;
    GeographicPoint point;
    std::string zone; // IANA name; empty when the city list gives none
};

// The city list line's place: its name, the coordinates it puts into the
// fields, its zone; nothing when those coordinates are no numbers.
std::optional<PickedPlace> PickedPlaceOfCityLine(std::string_view line);

PickedPlace PickedPlaceOfAtlasPlace(const AtlasPlace& place);

// The fields' texts read as the calculation reads them (a comma or a dot,
// blanks around); nothing when either is no number, or the point is not on
// the Earth.
std::optional<GeographicPoint> FieldCoordinates(std::string_view latitudeText,
                                                std::string_view longitudeText);

enum class HintPlaceSource {
    None,              // no hint
    PickedPlace,       // the fields hold the picked place's coordinates
    NearestAtlasPlace, // the nearest atlas place within the radius
    OpenSea,           // no atlas place within the radius
};

struct HintPlace {
    HintPlaceSource source = HintPlaceSource::None;
    std::string name;
    std::string zone;
    double distanceKm = 0.0;                // NearestAtlasPlace only
    const AtlasPlace* atlasPlace = nullptr; // NearestAtlasPlace only
    double longitude = 0.0;                 // OpenSea: the fields' longitude
};

// Gives the atlas, or null when there is none; asked only when the fields
// hold a point that no picked place explains, so the window, passing
// [] { return SharedWorldAtlas().atlas.get(); }, loads the atlas only then.
// An empty function counts as no atlas.
using AtlasAccess = std::function<const WorldAtlas*()>;

// The place for the fields' texts. `picked`: the place last picked, if any;
// a picked city without a zone counts as none. Without an atlas only a
// picked place gives a hint.
HintPlace ChooseHintPlace(std::string_view latitudeText, std::string_view longitudeText,
                          const std::optional<PickedPlace>& picked, const AtlasAccess& atlas);

// The hint for that place at the birth moment: as MakeBirthplaceZoneHint for
// a picked place ("в месте рождения UTC+4:00 …"); for the nearest atlas
// place it names the place and its distance ("ближайшее место атласа —
// Бердск, 14 км: UTC+7:00; для расчёта укажите 4"); at sea the nautical
// time (MakeNauticalZoneHint); empty for none.
BirthplaceZoneHint MakeHintForPlace(const HintPlace& place, TDateTime birthLocal,
                                    int computerOffsetSeconds);

// The hint's opening words for the place: "в месте рождения", or for the
// nearest atlas place "ближайшее место атласа — Бердск, 14 км:".
std::string HintPlaceWording(const HintPlace& place);

// A distance as the hint gives it: whole kilometres ("14 км"), "менее 1 км"
// below half a kilometre.
std::string DistanceKmText(double km);

// Both steps at once, for the window's handlers.
BirthplaceZoneHint FieldsZoneHint(std::string_view latitudeText, std::string_view longitudeText,
                                  const std::optional<PickedPlace>& picked,
                                  const AtlasAccess& atlas, TDateTime birthLocal,
                                  int computerOffsetSeconds);

// "указано 3, а по базе часовых поясов нужно 1" when the hint knows the value
// and the spin box holds another ("… а по поясному времени нужно -5" at
// sea); nothing otherwise.
std::optional<std::string> ZoneMismatchWarning(int spinValue, const BirthplaceZoneHint& hint);

// The red line for a report on screen calculated with `reportHours`: while
// the spin box holds another value than the hint, as ZoneMismatchWarning;
// once it holds the hint's value, that the report is still the one of the
// old value ("отчёт рассчитан с 0, а по базе часовых поясов нужно 5;
// «расчет» даст результат для 5"); nothing when the report's hours are the
// hint's, or the hint knows no value.
std::optional<std::string> ReportZoneWarning(int reportHours, int spinValue,
                                             const BirthplaceZoneHint& hint);

// Degrees as the fields hold them: rounded to four decimals (about 10 m),
// a comma before the decimals, no trailing zeros ("57,4391", "82,92", "-30",
// "0"); empty for a value that is no number.
std::string CoordinateFieldText(double degrees);

} // namespace toravel
