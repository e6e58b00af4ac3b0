// The connection-string parse over arbitrary text: settings with a non-empty
// data source, or a DatabaseError; and a parsed data source written back with
// its quotes doubled parses to the same settings.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "storage/database.h"

using namespace toravel;

namespace {

std::string Quoted(const std::string& value) {
    std::string text = "\"";
    for (char c : value) {
        text += c;
        if (c == '"')
            text += '"';
    }
    return text + "\"";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ConnectionSettings settings;
    try {
        settings = ParseConnectionString(text);
    } catch (const DatabaseError&) {
        return 0;
    }
    if (settings.dataSource.empty())
        std::abort();
    const ConnectionSettings again =
        ParseConnectionString("Data Source=" + Quoted(settings.dataSource) +
                              ";Jet OLEDB:Database Password=" + Quoted(settings.password));
    if (again.dataSource != settings.dataSource || again.password != settings.password)
        std::abort();
    return 0;
}
