#include "horoscope/world_classification.h"

#include <array>

namespace toravel {
namespace {

// The world of each lunar day, day 1 first: twelve Upper, thirteen Middle
// and five Lower (5, 12, 17, 25, 26).
constexpr std::array<std::string_view, 30> LunarDayWorlds = {
    "c", "b", "b", "c", "h", "b", "b", "c", "c", "c", // 1–10
    "c", "h", "c", "b", "b", "b", "h", "c", "b", "c", // 11–20
    "b", "c", "c", "b", "h", "h", "c", "b", "b", "c", // 21–30
};

// Index of a world letter: 0 for "b", 1 for "c", 2 for "h", -1 otherwise.
int WorldIndex(std::string_view world) {
    if (world == "b")
        return 0;
    if (world == "c")
        return 1;
    if (world == "h")
        return 2;
    return -1;
}

// Equal worlds give that world; Upper with Middle gives Middle, Upper with
// Lower gives Upper, Middle with Lower gives Lower, in either order.
constexpr std::array<std::array<std::string_view, 3>, 3> Combination = {{
    {"b", "c", "b"}, // day world "b" with lunar world "b", "c", "h"
    {"c", "c", "h"}, // day world "c"
    {"b", "h", "h"}, // day world "h"
}};

constexpr std::array<std::string_view, 3> WorldNames = {
    "Верхнего мира (Прави)",
    "Среднего мира (Яви)",
    "Нижнего мира (Нави)",
};

} // namespace

std::string WorldOfLunarDay(std::int32_t lunarDay) {
    if (lunarDay < 1 || lunarDay > 30)
        return {};
    return std::string(LunarDayWorlds[static_cast<std::size_t>(lunarDay - 1)]);
}

std::string CombineWorlds(std::string_view dayWorld, std::string_view lunarWorld) {
    const int day = WorldIndex(dayWorld);
    const int lunar = WorldIndex(lunarWorld);
    if (day < 0 || lunar < 0)
        return {};
    return std::string(Combination[static_cast<std::size_t>(day)][static_cast<std::size_t>(lunar)]);
}

std::string_view WorldName(std::string_view world) {
    const int index = WorldIndex(world);
    if (index < 0)
        return {};
    return WorldNames[static_cast<std::size_t>(index)];
}

} // namespace toravel
