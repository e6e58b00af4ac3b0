// The character format of one line of the report area: bold or not, size in
// points, colour as red, green and blue components. Front ends render it in
// their own way (a rich-text box, or nothing at all on a terminal).
#pragma once

#include <cstdint>

namespace toravel {

struct CharacterFormat {
    bool bold = false;
    int pointSize = 0;
    std::uint8_t r = 0, g = 0, b = 0;

    friend bool operator==(const CharacterFormat&, const CharacterFormat&) = default;
};

} // namespace toravel
