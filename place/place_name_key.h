// The form in which place names and search texts are compared: what a user
// types for "Ростов-на-Дону" or "Орёл" in any case, with or without the
// hyphens and the dots over ё, meets the atlas's spelling.
//
// Letters are lowered (Latin, Latin-1, Greek and Cyrillic), "ё" becomes "е",
// Latin letters with accents lose them ("Zürich" → "zurich"), apostrophes
// are dropped ("Noril'sk" → "norilsk", as it is typed), and every run of
// blanks, hyphens, dashes, dots, commas, quotes and brackets becomes one
// blank; blanks at either end are dropped. Other characters stay as they
// are. Texts are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace toravel {

// The key of a name or a search text; nothing for text that is not valid
// UTF-8 (an overlong form, a surrogate, a stray continuation byte, a
// sequence cut short, a code point beyond U+10FFFF).
std::optional<std::string> PlaceNameKey(std::string_view utf8);

// The other spelling a name's key is also found by: English transliterations
// of Russian names end a word in "-iy" or "-yy" where people write "-y"
// ("petropavlovsk kamchatskiy" is found as "petropavlovsk kamchatsky" too);
// nothing when the key has no such word. Only names get it: a search text
// is a name's beginning, and its last word may not be complete.
std::optional<std::string> PlaceNameOtherSpelling(std::string_view key);

} // namespace toravel
