// The forms in which person names are compared, sorted and searched.
//
// Two names are the same person when their keys are equal: blanks at either
// end dropped, letters of every script folded by Unicode's full case
// folding ("Ёлкина", "ЁЛКИНА" and "ёлкина" are one name; "Straße" meets
// "STRASSE"). Nothing else is folded: ё and е, or hyphens and blanks, keep
// names apart. Canonically equivalent spellings (a precomposed "й" and "и"
// with a combining breve) are not unified.
#pragma once

#include <string>
#include <string_view>

namespace toravel {

// The case-folded text; invalid UTF-8 sequences are kept byte for byte.
std::string FoldCase(std::string_view text);

// The key that makes a name unique.
std::string NameKey(std::string_view name);

// The key the list is sorted by: the name key with ё read as е, as Russian
// dictionaries sort (in code-point order ё would follow я). Names equal in
// this key are sorted by their name keys, which put е before ё.
std::string NameSortKey(std::string_view name);

// What a search for part of a name looks for in the sort keys: the text
// folded as names are, ё read as е, so that «елкина» finds «Ёлкина» as the
// atlas search finds «Орел» for «Орёл».
std::string NameSearchKey(std::string_view text);

} // namespace toravel
