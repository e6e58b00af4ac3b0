// Loading of the city list: reading, line splitting, Windows-1251 decoding.
#include "storage/city_list.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include <iconv.h>

#include "storage/windows_path.h"

namespace toravel {
namespace {

constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";

struct IconvCloser {
    void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};

} // namespace

std::string Windows1251ToUtf8(std::string_view bytes) {
    iconv_t handle = iconv_open("UTF-8", "CP1251");
    if (handle == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("The C library cannot convert from Windows-1251");
    }
    const std::unique_ptr<void, IconvCloser> closer(handle);

    std::string result;
    char buffer[1024];
    // iconv's interface takes a non-const input pointer but never writes
    // through it.
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t status = iconv(handle, &in, &inLeft, &out, &outLeft);
        result.append(buffer, static_cast<std::size_t>(out - buffer));
        if (status == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            // A byte with no character (98 hex) or anything iconv refuses:
            // mark it and go on with the next byte.
            result.append(ReplacementCharacter);
            ++in;
            --inLeft;
        }
    }
    return result;
}

std::vector<std::string> DecodeCityList(std::string_view windows1251Text) {
    // CR and LF are the same bytes in both encodings, so the text is decoded
    // once and split afterwards.
    const std::string text = Windows1251ToUtf8(windows1251Text);
    std::vector<std::string> lines;
    std::size_t position = 0;
    while (position < text.size()) {
        std::size_t end = text.find_first_of("\r\n", position);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(position, end - position));
        position = end;
        if (position < text.size() && text[position] == '\r') {
            ++position;
        }
        if (position < text.size() && text[position] == '\n') {
            ++position;
        }
    }
    return lines;
}

std::vector<std::string> LoadCityList(std::string_view path) {
    const std::filesystem::path resolved = ResolveWindowsPath(path);
    std::error_code error;
    std::ifstream file;
    // Only a regular file: a named pipe would wait for a writer for ever, and
    // a device such as /dev/zero would be read without end.
    if (std::filesystem::is_regular_file(resolved, error)) {
        file.open(resolved, std::ios::binary);
    }
    if (!file.is_open()) {
        throw FileOpenError("Cannot open file " + std::string(path));
    }
    std::string bytes;
    char chunk[4096];
    while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
        bytes.append(chunk, static_cast<std::size_t>(file.gcount()));
    }
    if (file.bad()) {
        throw FileOpenError("Cannot open file " + std::string(path));
    }
    return DecodeCityList(bytes);
}

} // namespace toravel
