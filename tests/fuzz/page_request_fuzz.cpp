// The web page's requests over arbitrary bytes, through the binding the
// WebAssembly module exports (built natively here): a link's query, a
// calculation's and a month's JSON. Whatever comes in, the answer is one
// JSON document, never a crash.
#include <cstdint>
#include <cstdlib>
#include <string>

#include <nlohmann/json.hpp>

extern "C" {
const char* toravel_parse_link(const char* query);
const char* toravel_calculate(const char* requestJson);
const char* toravel_month(const char* requestJson);
}

namespace {

void MustBeJson(const char* answer) {
    if (!nlohmann::json::accept(answer))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const char* link = toravel_parse_link(text.c_str());
    MustBeJson(link);
    // What a link stands for is calculated, as the page does on opening it.
    const nlohmann::json parsed = nlohmann::json::parse(link);
    if (parsed.contains("request")) {
        const std::string request = parsed["request"].dump();
        MustBeJson(toravel_calculate(request.c_str()));
    }
    MustBeJson(toravel_calculate(text.c_str()));
    MustBeJson(toravel_month(text.c_str()));
    return 0;
}
