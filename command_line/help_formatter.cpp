#include "command_line/help_formatter.h"

#include <string_view>

#include "command_line/option_values.h"
#include "platform/utf8_text.h"

namespace toravel::command_line {
namespace {

// Replaces the first `from` in text by `to`; false when it is not there.
bool ReplaceFirst(std::string& text, std::string_view from, std::string_view to) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos)
        return false;
    text.replace(at, from.size(), to);
    return true;
}

// CLI11's messages for the errors a user can make, in Russian; anything else
// is passed on as CLI11 wrote it.
std::string RussianMessage(const CLI::Error& error) {
    std::string text = error.what();
    const std::string name = error.get_name();
    if (name == "RequiredError") {
        if (ReplaceFirst(text, " is required", ""))
            return "не задан обязательный параметр " + text;
    } else if (name == "RequiresError") {
        if (ReplaceFirst(text, " requires ", " требует "))
            return text;
    } else if (name == "ExcludesError") {
        if (ReplaceFirst(text, " excludes ", " нельзя задавать вместе с "))
            return text;
    } else if (text.find("not expected") != std::string::npos) {
        const std::size_t colon = text.find(':');
        return "лишние аргументы" +
               (colon == std::string::npos ? std::string() : text.substr(colon));
    } else if (name == "ArgumentMismatch") {
        const std::size_t colon = text.find(':');
        if (colon != std::string::npos) {
            // "--date: At Most 1 required but received 2": the option twice.
            if (text.find("At Most", colon) != std::string::npos)
                return text.substr(0, colon) + ": задан больше одного раза";
            return text.substr(0, colon) + ": не задано значение";
        }
    }
    return text;
}

} // namespace

RussianHelpFormatter::RussianHelpFormatter() {
    label("Usage", "Запуск");
    label("OPTIONS", "ПАРАМЕТРЫ");
    label("REQUIRED", "(обязательный)");
    label("Excludes", "исключает");
    label("Needs", "требует");
    column_width(34);
}

std::string RussianHelpFormatter::make_option(const CLI::Option* option, bool isPositional) const {
    std::string text = "  " + make_option_name(option, isPositional) + make_option_opts(option);
    const std::string description = make_option_desc(option);
    const std::size_t width = get_column_width();
    const std::size_t used = CodePointCount(text);
    if (used < width) {
        text.append(width - used, ' ');
    } else {
        text += "\n" + std::string(width, ' ');
    }
    for (char c : description) {
        text += c;
        if (c == '\n')
            text.append(width, ' ');
    }
    return text + "\n";
}

std::string RussianUsageFailure(const CLI::App* app, const CLI::Error& error) {
    return UsageErrorText(RussianMessage(error), app->get_name());
}

CLI::Validator OneOf(std::vector<std::string> values) {
    return CLI::Validator(
        [values](std::string& text) -> std::string {
            std::string wanted;
            for (std::size_t i = 0; i < values.size(); ++i) {
                if (values[i] == text)
                    return {};
                wanted += (i == 0 ? "" : i + 1 == values.size() ? " или " : ", ") + values[i];
            }
            return "нужно " + wanted + ": " + QuotedValue(text);
        },
        "");
}

std::string ErrorText(const CommandError& error, const std::string& program) {
    std::string text = error.message + "\n";
    if (error.status == ExitUsage)
        text += "Справка: " + program + " --help\n";
    return text;
}

std::string RussianUsageProblem(const CLI::Error& error) {
    return RussianMessage(error);
}

std::string UsageErrorText(const std::string& problem, const std::string& program) {
    return "ошибка в параметрах: " + problem + "\nСправка: " + program + " --help\n";
}

} // namespace toravel::command_line
