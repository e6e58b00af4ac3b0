// The error of a month's lunar calendar that the user caused: a month or a
// place the calendar cannot be made for. Its message is Russian and complete,
// meant to be shown as it stands (a message box, or the command line's error
// output with exit code 2).
#pragma once

#include <stdexcept>
#include <string>

namespace toravel {

class LunarMonthError : public std::runtime_error {
public:
    explicit LunarMonthError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace toravel
