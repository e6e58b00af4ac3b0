// The three worlds of the Slavic cosmos and how a birth moment is placed in
// them: by its lunar day through a fixed table of 30 rows, and by combining
// the calendar day's world with the lunar day's into the world of the period.
//
// A world letter is "b" (Upper world, Prav), "c" (Middle world, Yav), "h"
// (Lower world, Nav), or the empty text when there is no world. Letters are
// compared exactly: byte for byte, case-sensitive, no trimming.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace toravel {

// The world of lunar day 1 to 30; the empty text for any other number.
std::string WorldOfLunarDay(std::int32_t lunarDay);

// The world of the period from the calendar day's and the lunar day's
// worlds; the empty text when either is not exactly "b", "c" or "h".
std::string CombineWorlds(std::string_view dayWorld, std::string_view lunarWorld);

// The world's name as the report gives it, in the genitive ("Верхнего мира
// (Прави)" for "b"); the empty text for anything but the three letters.
std::string_view WorldName(std::string_view world);

} // namespace toravel
