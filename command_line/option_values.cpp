#include "cli/option_values.h"

#include <charconv>
#include <vector>

namespace toravel::cli {
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

} // namespace

std::optional<TDateTime> ParseBirthDate(std::string_view text) {
    const auto fields = DigitGroups(text, '.', {2, 2, 4});
    if (!fields)
        return std::nullopt;
    const int day = (*fields)[0], month = (*fields)[1], year = (*fields)[2];
    if (year < FirstBirthYear || year > LastBirthYear)
        return std::nullopt;
    TDateTime result = 0.0;
    if (!TryEncodeDateTime(year, month, day, 0, 0, 0, 0, result))
        return std::nullopt;
    return result;
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

std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    }
    return count;
}

} // namespace toravel::cli
