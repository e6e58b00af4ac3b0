// How a run of a command-line front end ends: its exit status and, when it
// did not end well, one error with a code for scripts and a Russian message
// for people (docs/json.md lists the codes).
#pragma once

#include <string>

namespace toravel::command_line {

inline constexpr int ExitDone = 0;   // a result, also after the calendar day's not-found message
inline constexpr int ExitFailed = 1; // a calculation or data error
inline constexpr int ExitUsage = 2;  // the options were wrong; nothing was computed

namespace error_code {
inline constexpr const char* Usage = "usage";                          // exit 2
inline constexpr const char* NoBirthplace = "no_birthplace";           // a blank coordinate
inline constexpr const char* InvalidBirthplace = "invalid_birthplace"; // no place on the Earth
inline constexpr const char* NotANumber = "not_a_number";              // a field that is no number
inline constexpr const char* Database = "database";                  // bd.mdb missing or unreadable
inline constexpr const char* AtlasUnavailable = "atlas_unavailable"; // no world atlas
inline constexpr const char* Calculation = "calculation";            // the search failed
inline constexpr const char* Input = "input";            // a batch line that cannot be used
inline constexpr const char* PersonFile = "person_file"; // the person file refused
inline constexpr const char* NotFound = "not_found";     // --places found nothing
inline constexpr const char* Output = "output";          // a file that cannot be written
} // namespace error_code

struct CommandError {
    int status = ExitFailed;
    std::string code;
    std::string message; // Russian, whole; no trailing line break

    friend bool operator==(const CommandError&, const CommandError&) = default;
};

// "ошибка в параметрах: " and the problem ("--date: нет такой даты …").
inline CommandError UsageError(const std::string& problem) {
    return {ExitUsage, error_code::Usage, "ошибка в параметрах: " + problem};
}

} // namespace toravel::command_line
