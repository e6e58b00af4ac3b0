// The page's binding built natively, for bench/web_core_ratio.mjs: the very
// functions the WebAssembly module exports, on the same births. Reads the
// web data folder's files, then one calculation request a line from
// standard input; prints the microseconds a calculation took, the best of
// three rounds over all of them.
//
//   toravel-bench-web-core build/web-data < requests.jsonl
#include <algorithm>
#include <chrono>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

extern "C" {
const char* toravel_load_calendar(const char* json);
const char* toravel_load_zones(const char* bytes, std::size_t size);
const char* toravel_calculate(const char* requestJson);
}

namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: toravel-bench-web-core WEB_DATA_DIR < requests.jsonl\n";
        return 2;
    }
    const std::string folder = argv[1];
    const std::string zones = FileText(folder + "/zones.bin");
    if (*toravel_load_calendar(FileText(folder + "/calendar.json").c_str()) != '\0' ||
        *toravel_load_zones(zones.data(), zones.size()) != '\0') {
        std::cerr << "the web data cannot be read from " << folder << '\n';
        return 1;
    }
    std::vector<std::string> requests;
    for (std::string line; std::getline(std::cin, line);)
        requests.push_back(line);
    if (requests.empty())
        return 1;
    double best = 1e300;
    for (int round = 0; round < 3; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (const std::string& request : requests)
            toravel_calculate(request.c_str());
        const std::chrono::duration<double, std::micro> took =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count() / static_cast<double>(requests.size()));
    }
    std::cout << best << '\n';
    return 0;
}
