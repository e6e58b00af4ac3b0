// The city list over arbitrary bytes: the file's lines as the picker lists
// them, and each line taken apart into the birthplace fields. The fields
// never begin or end with a blank or control byte and hold no degree sign.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "place/city_line.h"
#include "storage/city_list.h"

using namespace toravel;

namespace {

void CheckField(std::string_view field) {
    if (!field.empty() && (static_cast<unsigned char>(field.front()) <= 32 ||
                           static_cast<unsigned char>(field.back()) <= 32))
        std::abort();
    if (field.find("\u00B0") != std::string_view::npos)
        std::abort();
}

void CheckLine(std::string_view line) {
    const CityCoordinateTexts fields = ApplyCityLine(line);
    CheckField(fields.latitude);
    CheckField(fields.longitude);
    CityIdentityOfLine(line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckLine(bytes);
    for (const std::string& line : DecodeCityList(bytes))
        CheckLine(line);
    return 0;
}
