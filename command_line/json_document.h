// The frame of every JSON document the command line writes (docs/json.md,
// schema docs/toravel-1.schema.json): the format and its version, the kind
// of document, and "error", null or one object with a code and a Russian
// message; and the pieces that several kinds share: worlds, circles and
// moments.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "command_line/command_error.h"
#include "lunar/clock_moment.h"

namespace toravel::command_line {

// Keys stay in the order they are written, so a document reads from its
// format down to its error.
using Json = nlohmann::ordered_json;

// The version written into every document; a change that takes away or
// changes the meaning of a key makes it "toravel/2".
inline constexpr const char* JsonFormat = "toravel/1";

enum class JsonKind {
    Horoscope, // a calculation
    Month,     // a month's lunar calendar
    Places,    // the atlas's matches
    People,    // the person file's list
};

// {"format": "toravel/1", "kind": …}.
Json JsonDocument(JsonKind kind);

// The document of a run that ended with an error.
Json FailureJson(JsonKind kind, const CommandError& error);

// {"code": …, "message": …}.
Json ErrorJson(const CommandError& error);

// A whole document as it is written: indented by two blanks, or on one line
// for JSON Lines, with a line break. Bytes that are no UTF-8 are replaced.
std::string JsonText(const Json& document, bool oneLine = false);

// A world letter ("b", "c", "h") as {"code": "prav", "name": "Правь",
// "description": "Верхний мир"}; null for no world (any other text).
Json WorldJson(std::string_view letter);

// The circle as the report names it ("Первому") as {"number": 1, "name":
// "Первый круг", "report_word": "Первому"}; number and name are null for
// a word that is none of the three; null for the empty text.
Json CircleJson(std::string_view reportWord);

// A moment as ISO 8601 with its clock's offset ("2026-12-01T13:41:00+03:00").
std::string IsoMoment(TDateTime local, int offsetSeconds);

} // namespace toravel::command_line
