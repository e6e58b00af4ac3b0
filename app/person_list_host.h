// What the person list asks of the main window: its inputs as a person to
// save, the name they were opened or saved under, the session's last
// calculation, and word of what became of a saved person. The main window
// implements it; tests put a stand-in in its place.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/birth_inputs.h"
#include "people/person.h"

namespace toravel {

class PersonListHost {
public:
    virtual ~PersonListHost() = default;

    // The window's inputs as a person of that name, or why they make none.
    virtual PersonOfInputsResult InputsAsPerson(std::string_view name) const = 0;
    // The name of the person the inputs were opened or saved as; empty when
    // they belong to no one.
    virtual std::string InputsPersonName() const = 0;
    // The inputs and result of the session's last calculation, named after
    // its person when its inputs were one's; nothing before the first.
    virtual std::optional<Person> LastCalculation() const = 0;

    // The inputs now belong to the person saved as `person`.
    virtual void InputsSavedAs(const Person& person) = 0;
    // The person of that name is no longer in the file.
    virtual void PersonRemoved(std::string_view name) = 0;

    // Where the offset box holds another value than the birthplace's zone
    // asks for at the birth moment: what the red line under the zone hint
    // says of it, the hint itself, and the value «подставить» would put in
    // (none when the box cannot take it). Nothing when they agree or no zone
    // is known.
    struct ZoneDisagreement {
        std::string warning; // "указано 5, а по базе часовых поясов нужно 2"
        std::string hint; // "в месте рождения UTC+2:00 (летнее время); …"
        std::optional<int> hintValue;
    };
    virtual std::optional<ZoneDisagreement> InputsZoneDisagreement() const { return {}; }
    // Puts the hint's value into the offset box, as «подставить» does.
    virtual void SubstituteHintValue() {}
};

} // namespace toravel
