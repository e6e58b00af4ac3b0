// The city list file: Windows-1251 text, one city per line, read whole.
//
// Lines end with CR LF, a lone CR or a lone LF. Every line is one entry, empty
// lines included, in file order; a line ending at the very end of the file
// closes the last line and does not open an empty one, so "a\r\n" is one
// entry and "a\r\n\r\n" is two ("a" and ""). An empty file has no entries.
// The entries are returned as UTF-8.
//
// A NUL byte is an ordinary character of its line: a reader that stopped at
// it, as C-string line readers do, would silently drop the rest of the list.
// A byte that Windows-1251 leaves undefined (98 hex) becomes U+FFFD.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace toravel {

// The file cannot be opened. Message: "Cannot open file <path>".
class FileOpenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the city list at path (a Windows-style path such as ".\db\atlas.ini",
// resolved by ResolveWindowsPath). Throws FileOpenError, also when the path
// is no regular file (a directory, a named pipe, a device).
std::vector<std::string> LoadCityList(std::string_view path);

// The same splitting and decoding over bytes already read.
std::vector<std::string> DecodeCityList(std::string_view windows1251Text);

// Windows-1251 bytes as UTF-8, through the C library's iconv.
std::string Windows1251ToUtf8(std::string_view bytes);

} // namespace toravel
