// Parsing of one city-list line into the birthplace fields.
#include "place/city_line.h"

#include <array>
#include <cstddef>

#include "platform/ascii_text.h"

namespace toravel {
namespace {

constexpr char Separator = ';';
constexpr std::string_view DegreeSign = "\u00B0"; // two bytes in UTF-8
constexpr char MinuteSign = '\'';

// The first four pieces of the line with strtok's rules; later pieces are
// ignored, missing ones stay empty.
std::array<std::string_view, 4> SplitLikeStrtok(std::string_view line) {
    std::array<std::string_view, 4> pieces{};
    std::size_t position = 0;
    for (auto& piece : pieces) {
        position = line.find_first_not_of(Separator, position);
        if (position == std::string_view::npos) {
            break;
        }
        std::size_t end = line.find(Separator, position);
        if (end == std::string_view::npos) {
            end = line.size();
        }
        piece = line.substr(position, end - position);
        position = end;
    }
    return pieces;
}

std::string ReplaceDegreeSigns(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    std::size_t position = 0;
    for (;;) {
        const std::size_t found = text.find(DegreeSign, position);
        if (found == std::string_view::npos) {
            result.append(text.substr(position));
            return result;
        }
        result.append(text.substr(position, found - position));
        result.push_back(',');
        position = found + DegreeSign.size();
    }
}

// Ends the text before the minute sign; apostrophes that open the text, or
// follow other apostrophes only, are not a minute sign.
std::string_view CutAtMinuteSign(std::string_view text) {
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == MinuteSign && text[i - 1] != MinuteSign) {
            return text.substr(0, i);
        }
    }
    return text;
}

std::string CoordinateText(std::string_view piece) {
    const std::string withCommas = ReplaceDegreeSigns(piece);
    return std::string(TrimBlanksAndControls(CutAtMinuteSign(withCommas)));
}

} // namespace

CityCoordinateTexts ApplyCityLine(std::string_view line) {
    const auto pieces = SplitLikeStrtok(line);
    return {CoordinateText(pieces[1]), CoordinateText(pieces[2])};
}

CityIdentity CityIdentityOfLine(std::string_view line) {
    const auto pieces = SplitLikeStrtok(line);
    return {std::string(TrimBlanksAndControls(pieces[0])),
            std::string(TrimBlanksAndControls(pieces[3]))};
}

} // namespace toravel
