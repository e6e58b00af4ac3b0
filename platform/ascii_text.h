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

// The trimmed text where a message may quote it: printable ASCII of at most
// 64 bytes (a zone name as typed); empty otherwise, so that control
// characters or megabytes of a bad input are not repeated back.
constexpr std::string_view QuotableAscii(std::string_view text) {
    text = TrimBlanksAndControls(text);
    if (text.size() > 64)
        return {};
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126)
            return {};
    return text;
}

} // namespace toravel
