// UTF-8 as the Unicode standard defines it (section 3.9, table 3-7): no
// overlong forms, no surrogates, nothing beyond U+10FFFF, no sequence cut
// short. Every text the CSV reader hands on and the person file stores has
// passed IsValidUtf8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace toravel {

// The code point that begins at `at`, advancing `at` past it; nothing, and
// `at` unchanged, for an ill-formed sequence.
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& at);

bool IsValidUtf8(std::string_view text);

// The number of code points of a valid text.
std::size_t CodePointCount(std::string_view validText);

// Appends the UTF-8 form of a code point (surrogates and values beyond
// U+10FFFF are not code points of a text and must not be passed).
void AppendUtf8(std::string& out, char32_t codePoint);

} // namespace toravel
