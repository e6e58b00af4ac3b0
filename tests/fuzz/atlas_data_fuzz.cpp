// The atlas's data readers over arbitrary bytes: the first byte's lowest bit
// chooses a geonames place record (0) or a message catalog (1) for the rest.
// A record's texts lie within the bytes; a catalog's translations are found
// by their originals. Either a result or nothing, never a read past the end.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "atlas/geonames_place_record.h"
#include "atlas/message_catalog.h"

using namespace toravel;

namespace {

bool Within(std::string_view piece, std::string_view whole) {
    return piece.data() >= whole.data() &&
           piece.data() + piece.size() <= whole.data() + whole.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if ((data[0] & 1) == 0) {
        const auto record = ParseGeonamesPlaceRecord(bytes);
        if (record) {
            for (const std::string_view text :
                 {record->id, record->name, record->regionCode, record->region, record->countryCode,
                  record->country, record->zone})
                if (!Within(text, bytes) || text.find('\0') != std::string_view::npos)
                    std::abort();
        }
        return 0;
    }
    std::string problem;
    const auto catalog = MessageCatalog::Parse(std::string(bytes), problem);
    if (!catalog && problem.empty())
        std::abort();
    if (catalog)
        catalog->Translate("524901");
    return 0;
}
