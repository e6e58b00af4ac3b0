// A compiled zone file without its 32-bit data: readers of version 2 and
// later skip that block anyway, and the page downloads every byte. The
// first block shrinks to the least a well-formed file holds (one kind of
// time), then the file's 64-bit header, data and footer follow unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace toravel {

// Nothing for a file that is not of version 2 or later.
std::optional<std::string> ZoneFileWithoutV1Data(std::string_view file);

} // namespace toravel
