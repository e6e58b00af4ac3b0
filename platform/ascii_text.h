// Byte-wise text helpers that no locale can change: ASCII case, and the two
// kinds of blank that surround texts. A blank or a tab surrounds what is
// typed or stored as a number or a key; a blank or any control character
// (codes up to 32) is what the window's fields and the city list treat as
// nothing. Bytes above 127 (UTF-8 and Windows-1251 letters) are never blank
// and keep their case.
#pragma once

#include <algorithm>
#include <string_view>

namespace toravel {

// 'A'–'Z' to 'a'–'z'; every other byte unchanged.
constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal length and equal bytes but for ASCII case.
constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

constexpr bool IsSpaceOrTab(char c) {
    return c == ' ' || c == '\t';
}

constexpr bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// The text without the bytes that `blank` holds for at either end.
template <typename Blank> constexpr std::string_view TrimEnds(std::string_view text, Blank blank) {
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

constexpr std::string_view TrimSpacesAndTabs(std::string_view text) {
    return TrimEnds(text, IsSpaceOrTab);
}

constexpr std::string_view TrimBlanksAndControls(std::string_view text) {
    return TrimEnds(text, IsBlankOrControl);
}

// Nothing left once blanks and control characters are trimmed (the empty
// text too).
constexpr bool OnlyBlanksAndControls(std::string_view text) {
    return TrimBlanksAndControls(text).empty();
}

} // namespace toravel
