// A person of the person file: the inputs of a calculation under a name, a
// free note, and the last result calculated for them.
//
// Texts are UTF-8. The birth fields have the forms of the main window and the
// command line (csv/birth_columns.h says each one's range): date ДД.ММ.ГГГГ,
// time ЧЧ:ММ or ЧЧ:ММ:СС; the offset box's whole hours as entered, and, when
// known, the birthplace's own offset from Greenwich and its IANA zone.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "csv/birth_columns.h"

namespace toravel {

using Sex = BirthSex;

// What the last calculation for the person gave.
struct LastResult {
    int lunarDay = 0;
    std::string dayWorld;   // the world letters of the horoscope: "b", "c", "h"
    std::string lunarWorld; // or empty when there is none
    std::string periodWorld;
    std::string circle;     // the circle as the report names it
    std::string calculated; // UTC, ГГГГ-ММ-ДДTЧЧ:ММ:ССZ; the file fills it in when empty

    bool operator==(const LastResult&) const = default;
};

struct Person {
    std::string name; // required, unique ignoring case (people/name_key.h)
    std::string date;
    std::string time = "00:00";
    std::string place;
    std::optional<double> latitude; // both or neither
    std::optional<double> longitude;
    std::string zoneName;         // IANA, when known
    std::string utcOffset;        // ±ЧЧ:ММ, when known
    std::optional<int> zoneHours; // the offset box, −12 … 12
    Sex sex = Sex::Unknown;
    std::optional<int> lunarDay; // typed; nothing means computed
    std::string note;
    std::string created; // UTC, ГГГГ-ММ-ДДTЧЧ:ММ:ССZ; set by the file
    std::string changed;
    std::optional<LastResult> lastResult;

    bool operator==(const Person&) const = default;
};

inline constexpr std::size_t MaxNameCharacters = 10'000;
inline constexpr std::size_t MaxPlaceCharacters = 1'000;
inline constexpr std::size_t MaxNoteCharacters = 100'000;

// What is wrong with the person in Russian (the first fault found), or the
// empty text. The file saves no person with a fault.
std::string PersonFault(const Person& person);

// Whether the two give the same calculation: a saved result stays with a
// person whose replacement changes only the name, the note or the sex.
bool SameCalculationInputs(const Person& a, const Person& b);

// A person from a birth row (csv/birth_columns.h) and back; the row's extra
// columns are not kept.
Person PersonOfRow(const BirthRow& row);
BirthRow RowOfPerson(const Person& person);

} // namespace toravel
