#include "app/birth_inputs.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "place/birthplace_zone.h"
#include "platform/conversions.h"

namespace toravel {
namespace {

constexpr int LargestPersonOffsetSeconds = 14 * 3600;
constexpr int SpinMinimum = -12;
constexpr int SpinMaximum = 12;

bool IsBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= 32; });
}

// The field's number as the calculation reads it, or the reason it is none.
std::string ReadCoordinate(std::string_view text, std::string_view what, double limit,
                           std::optional<double>& degrees) {
    double value = 0.0;
    try {
        value = StrToFloat(text);
    } catch (const ConversionError&) {
        return std::string(what) + " «" + std::string(text) + "» — не число";
    }
    if (!(std::fabs(value) <= limit)) {
        const std::string bound = IntToStr(static_cast<int>(limit));
        return std::string(what) + " вне −" + bound + " … " + bound;
    }
    degrees = value;
    return {};
}

// Half-hours and more away from zero, as the zone hint rounds.
int NearestWholeHours(int seconds) {
    const int hours = (std::abs(seconds) + 1800) / 3600;
    return seconds < 0 ? -hours : hours;
}

} // namespace

PersonOfInputsResult PersonOfInputs(const BirthInputs& inputs, std::string_view name,
                                    int computerOffsetSeconds) {
    Person person;
    person.name = std::string(name);
    person.date = inputs.date;
    person.time = inputs.time;

    const bool noLatitude = IsBlank(inputs.latitudeText);
    const bool noLongitude = IsBlank(inputs.longitudeText);
    if (noLatitude != noLongitude)
        return {std::nullopt, noLatitude ? "нет данных о широте" : "нет данных о долготе"};
    if (!noLatitude) {
        std::string problem = ReadCoordinate(inputs.latitudeText, "Широта", 90.0, person.latitude);
        if (problem.empty())
            problem = ReadCoordinate(inputs.longitudeText, "Долгота", 180.0, person.longitude);
        if (!problem.empty())
            return {std::nullopt, problem};
        person.place = inputs.placeName;
        // A zone the tz database does not know (a mistyped city list line)
        // says nothing about the clock.
        if (IsKnownZoneName(inputs.zoneName))
            person.zoneName = inputs.zoneName;
    }

    person.zoneHours = inputs.zoneHours;
    person.utcOffset = PersonUtcOffsetText(computerOffsetSeconds + 3600 * inputs.zoneHours);
    person.sex = inputs.female ? Sex::Female : Sex::Male;

    if (!IsBlank(inputs.lunarDayText)) {
        int lunarDay = 0;
        try {
            lunarDay = StrToInt(inputs.lunarDayText);
        } catch (const ConversionError&) {
            return {std::nullopt, "Лунный день «" + inputs.lunarDayText + "» — не число"};
        }
        if (lunarDay != 0) // 0 asks for the computed lunar day, as an empty field
            person.lunarDay = lunarDay;
    }
    return {std::move(person), {}};
}

InputsOfPersonResult InputsOfPerson(const Person& person, int computerOffsetSeconds) {
    InputsOfPersonResult result;
    BirthInputs& inputs = result.inputs;
    inputs.date = person.date;
    inputs.time = person.time;
    inputs.lunarDayText = person.lunarDay ? IntToStr(*person.lunarDay) : std::string();
    if (person.latitude && person.longitude) {
        inputs.latitudeText = CoordinateText(*person.latitude);
        inputs.longitudeText = CoordinateText(*person.longitude);
        inputs.placeName = person.place;
        inputs.zoneName = person.zoneName;
    }
    inputs.female = person.sex == Sex::Female;

    // The clock the person's calculation runs on: the one kept with it, or
    // else its zone's at the birth moment.
    std::optional<int> clock = PersonUtcOffsetSeconds(person.utcOffset);
    if (!clock && !person.zoneName.empty()) {
        try {
            const TDateTime birth = StrToDateTime(person.date + " " + person.time);
            if (const auto offset = BirthplaceOffsetAt(person.zoneName, birth))
                clock = offset->offsetSeconds;
        } catch (const ConversionError&) {
            // No moment, no zone offset: the hours as kept below.
        }
    }
    if (!clock) {
        inputs.zoneHours = std::clamp(person.zoneHours.value_or(0), SpinMinimum, SpinMaximum);
        return result;
    }
    const int difference = *clock - computerOffsetSeconds;
    inputs.zoneHours = std::clamp(NearestWholeHours(difference), SpinMinimum, SpinMaximum);
    if (inputs.zoneHours * 3600 != difference) {
        result.note = "Часы места рождения (" + UtcOffsetLabel(*clock) +
                      ") не задать целым числом часов на этом компьютере (его пояс " +
                      UtcOffsetLabel(computerOffsetSeconds) + "): в поле разницы в часах " +
                      IntToStr(inputs.zoneHours) + ", расчёт пойдёт по " +
                      UtcOffsetLabel(computerOffsetSeconds + 3600 * inputs.zoneHours) + ".";
    }
    return result;
}

std::string PersonUtcOffsetText(int offsetSeconds) {
    if (offsetSeconds % 60 != 0 || std::abs(offsetSeconds) > LargestPersonOffsetSeconds)
        return {};
    return UtcOffsetText(offsetSeconds);
}

std::optional<int> PersonUtcOffsetSeconds(std::string_view text) {
    if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || text[3] != ':')
        return std::nullopt;
    int value[2] = {0, 0};
    for (int part = 0; part < 2; ++part) {
        const char tens = text[1 + 3 * part];
        const char units = text[2 + 3 * part];
        if (tens < '0' || tens > '9' || units < '0' || units > '9')
            return std::nullopt;
        value[part] = (tens - '0') * 10 + (units - '0');
    }
    if (value[1] > 59)
        return std::nullopt;
    const int seconds = value[0] * 3600 + value[1] * 60;
    return text[0] == '-' ? -seconds : seconds;
}

std::string CoordinateText(double degrees) {
    std::string text = DegreesText(degrees);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

} // namespace toravel
