#include "command_line/option_values.h"

#include <charconv>
#include <vector>

#include "platform/utf8_text.h"

namespace toravel::command_line {
namespace {

// Splits at `separator`; every piece must be 1 to maxDigits decimal digits.
std::optional<std::vector<int>> DigitGroups(std::string_view text, char separator,
                                            const std::vector<std::size_t>& maxDigits) {
    std::vector<int> values;
    std::size_t start = 0;
    for (std::size_t group = 0; group < maxDigits.size(); ++group) {
        const std::size_t end =
            group + 1 < maxDigits.size() ? text.find(separator, start) : text.size();
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view piece = text.substr(start, end - start);
        if (piece.empty() || piece.size() > maxDigits[group])
            return std::nullopt;
        int value = 0;
        const auto result = std::from_chars(piece.data(), piece.data() + piece.size(), value);
        if (result.ec != std::errc() || result.ptr != piece.data() + piece.size()) {
            return std::nullopt;
        }
        values.push_back(value);
        start = end + 1;
    }
    return values;
}

std::optional<TDateTime> DateOfFields(int year, int month, int day) {
    if (year < FirstBirthYear || year > LastBirthYear)
        return std::nullopt;
    TDateTime result = 0.0;
    if (!TryEncodeDateTime(year, month, day, 0, 0, 0, 0, result))
        return std::nullopt;
    return result;
}

} // namespace

std::optional<TDateTime> ParseBirthDate(std::string_view text) {
    if (const auto fields = DigitGroups(text, '.', {2, 2, 4}))
        return DateOfFields((*fields)[2], (*fields)[1], (*fields)[0]);
    if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        if (const auto fields = DigitGroups(text, '-', {4, 2, 2}))
            return DateOfFields((*fields)[0], (*fields)[1], (*fields)[2]);
    }
    return std::nullopt;
}

std::optional<TDateTime> ParseBirthTime(std::string_view text) {
    auto fields = DigitGroups(text, ':', {2, 2, 2});
    if (!fields)
        fields = DigitGroups(text, ':', {2, 2});
    if (!fields)
        return std::nullopt;
    fields->resize(3, 0);
    const int hour = (*fields)[0], minute = (*fields)[1], second = (*fields)[2];
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    // The time picker's value: its date is of no use, the time of day is.
    TDateTime result = 0.0;
    if (!TryEncodeDateTime(1899, 12, 30, hour, minute, second, 0, result))
        return std::nullopt;
    return result;
}

std::optional<int> ParseUtcOffset(std::string_view text) {
    int sign = 1;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        sign = text.front() == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    auto fields = DigitGroups(text, ':', {2, 2});
    if (fields && text.size() - text.find(':') != 3)
        return std::nullopt; // minutes have two digits: "+03:06", never "+03:6"
    if (!fields)
        fields = DigitGroups(text, ':', {2});
    if (!fields)
        return std::nullopt;
    fields->resize(2, 0);
    const int hours = (*fields)[0], minutes = (*fields)[1];
    if (minutes > 59)
        return std::nullopt;
    const int seconds = hours * 3600 + minutes * 60;
    if (seconds > LargestUtcOffsetSeconds)
        return std::nullopt;
    return sign * seconds;
}

std::string QuotedValue(std::string_view text) {
    constexpr std::size_t kShownCharacters = 60;
    std::string shown = "«";
    std::size_t at = 0;
    for (std::size_t count = 0; at < text.size(); ++count) {
        if (count == kShownCharacters) {
            shown += "…";
            break;
        }
        const std::size_t start = at;
        const std::optional<char32_t> c = DecodeUtf8(text, at);
        if (!c) {
            shown += '?';
            ++at;
        } else if (*c < 0x20 || *c == 0x7F) {
            shown += '?';
        } else {
            shown.append(text.substr(start, at - start));
        }
    }
    return shown + "»";
}

std::string MissingRequiredOption(const std::string& name) {
    return "не задан обязательный параметр " + name;
}

} // namespace toravel::command_line
