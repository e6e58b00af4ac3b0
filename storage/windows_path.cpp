// Case-insensitive resolution of Windows-style relative paths.
#include "storage/windows_path.h"

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/ascii_text.h"

namespace toravel {
namespace {

// The entry of directory that the component names, if any.
std::optional<std::string> FindEntry(const std::filesystem::path& directory,
                                     const std::string& component) {
    std::error_code error;
    if (std::filesystem::exists(directory / component, error)) {
        return component;
    }
    std::vector<std::string> matches;
    std::filesystem::directory_iterator entries(directory, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        std::string name = entries->path().filename().string();
        if (EqualIgnoringAsciiCase(name, component)) {
            matches.push_back(std::move(name));
        }
    }
    if (matches.empty()) {
        return std::nullopt;
    }
    return *std::min_element(matches.begin(), matches.end());
}

} // namespace

std::filesystem::path ResolveWindowsPath(std::string_view path) {
    std::filesystem::path result;
    const bool absolute = !path.empty() && (path.front() == '\\' || path.front() == '/');
    if (absolute) {
        result = "/";
    }
    bool missing = false; // once a component is missing, the rest cannot exist
    std::size_t position = 0;
    while (position <= path.size()) {
        std::size_t end = path.find_first_of("\\/", position);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        const std::string component(path.substr(position, end - position));
        position = end + 1;
        if (component.empty() || component == ".") {
            continue;
        }
        if (component == "..") {
            result /= "..";
            continue;
        }
        const std::filesystem::path directory =
            result.empty() ? std::filesystem::path(".") : result;
        std::optional<std::string> entry;
        if (!missing) {
            entry = FindEntry(directory, component);
        }
        missing = !entry.has_value();
        result /= entry.value_or(component);
    }
    if (result.empty()) {
        result = ".";
    }
    return result;
}

} // namespace toravel
