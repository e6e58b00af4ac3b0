// Text → integer, real and date-time conversions over arbitrary bytes: each
// either gives a value or refuses with ConversionError, whose message quotes
// the text back (what() ends at a NUL byte, so only up to the first one).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/conversions.h"

using namespace toravel;

template <typename Convert> void Check(std::string_view text, Convert convert) {
    try {
        convert(text);
    } catch (const ConversionError& e) {
        const std::string_view quoted = text.substr(0, text.find('\0'));
        if (std::string_view(e.what()).find(quoted) == std::string_view::npos)
            std::abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Check(text, [](std::string_view t) { StrToInt(t); });
    Check(text, [](std::string_view t) {
        if (!std::isfinite(StrToFloat(t)))
            std::abort();
    });
    Check(text, [](std::string_view t) {
        // An accepted date-time prints back without throwing.
        DateTimeToStr(StrToDateTime(t));
    });
    return 0;
}
