// The main window's inputs as plain values, and the person of the person file
// they make: what «Сохранить» of the person list keeps, what «Открыть» puts
// back into the window, and whether a calculation ran on a saved person's
// inputs (so that its print carries the name and its result is kept).
//
// The window's offset box holds hours that the calculation adds to the
// computer's own offset, so the same hours mean another clock on another
// computer. A person therefore keeps the clock the calculation ran on as
// `utcOffset` (computer's offset + hours), and opening the person sets the
// hours that give that clock here. No Qt: the window reads its controls into
// BirthInputs and writes them back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "people/person.h"
#include "place/birthplace_zone.h"

namespace toravel {

struct BirthInputs {
    std::string date;          // "17.05.1990", as the date picker shows it
    std::string time;          // "14:30", or "14:30:15" when the seconds are not zero
    std::string lunarDayText;  // the typed lunar day as it stands, usually empty
    int zoneHours = 0;         // the offset box
    std::string latitudeText;  // the latitude field, "55,7558"
    std::string longitudeText; // the longitude field
    // The place picked from the city list or the atlas while the fields hold
    // its coordinates, with its IANA zone; both empty for typed coordinates.
    std::string placeName;
    std::string zoneName;
    bool female = false;

    friend bool operator==(const BirthInputs&, const BirthInputs&) = default;
};

// The person of that name with these inputs, or the Russian reason why the
// inputs make none (a field that holds no number, one coordinate without the
// other). Blank coordinate fields make a person without a birthplace; the
// typed lunar day is read as the calculation reads it.
struct PersonOfInputsResult {
    std::optional<Person> person;
    std::string problem;
};
PersonOfInputsResult PersonOfInputs(const BirthInputs& inputs, std::string_view name,
                                    int computerOffsetSeconds);

// The inputs that give the person's calculation on this computer, and, when
// the person's clock cannot be set in whole hours here (or only its zone is
// known and the zone cannot be read), what was set instead, in Russian.
struct InputsOfPersonResult {
    BirthInputs inputs;
    std::string note; // empty when the person's calculation is reproduced
};
InputsOfPersonResult InputsOfPerson(const Person& person, int computerOffsetSeconds);

// "+03:00", "-05:30": an offset as the person file keeps it; empty for one
// that is not whole minutes or lies beyond ±14 hours.
std::string PersonUtcOffsetText(int offsetSeconds);

// The offset "+03:00" stands for, in seconds; nothing for another text.
std::optional<int> PersonUtcOffsetSeconds(std::string_view text);

// The coordinate as the window's field holds it: the shortest decimal text
// that reads back as the same number, with a comma ("55,7558", "-0,1278").
std::string CoordinateText(double degrees);

} // namespace toravel
