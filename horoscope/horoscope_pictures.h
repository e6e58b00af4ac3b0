// The four pictures of a horoscope: picture fields of the first record of
// table t, each holding one JPEG file, in the order of the picture buttons
// Button3 to Button6. They are the same whatever the calculation found; only
// the amulet depends on the person's sex. The window shows one at a time on
// its picture window, toravel-pdf prints all four.
#pragma once

#include <string_view>

namespace toravel {

struct HoroscopePicture {
    std::string_view field;         // the picture field of table t
    std::string_view buttonCaption; // the caption of its picture button
    std::string_view windowCaption; // the picture window's caption while it shows it
};

inline constexpr HoroscopePicture MeaningPicture{"рас", "Значение периода", "Значение периода"};
inline constexpr HoroscopePicture MassagePicture{"пмас", "Оберегающий массаж", "Массаж"};
inline constexpr HoroscopePicture GymnasticsPicture{"гим", "Гимнастика", "Гимнастика"};

// The amulet for a man (field моб) or a woman (field жоб).
constexpr HoroscopePicture AmuletPicture(bool female) {
    return {female ? "жоб" : "моб", "Оберег", "Оберег"};
}

} // namespace toravel
