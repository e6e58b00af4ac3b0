// Arbitrary bytes as a batch file: every line comes out either as the
// options of a calculation or as an error in valid text, and every such
// calculation's request is checked without a crash (no place names, so that
// the world atlas is never loaded; no astronomy).
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "batch/batch_line.h"
#include "command_line/calculation_request.h"
#include "lunar/working_stream.h"
#include "platform/utf8_text.h"

using namespace toravel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024)
        return 0;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    batch::BatchLineReader reader(in);
    if (reader.HeaderError()) {
        if (reader.HeaderError()->message.empty() || !IsValidUtf8(reader.HeaderError()->message))
            std::abort();
        return 0;
    }
    std::uint64_t previous = reader.HeaderLine();
    for (batch::BatchLine line; reader.Next(line);) {
        if (line.line <= previous || line.error.has_value() == line.options.has_value())
            std::abort();
        previous = line.line;
        if (line.error) {
            if (line.error->message.empty() || !IsValidUtf8(line.error->message))
                std::abort();
            continue;
        }
        if (line.options->place)
            continue;
        const command_line::PreparedCalculation prepared =
            command_line::PrepareCalculation(*line.options, DiscardingStream());
        if (prepared.request.has_value() == prepared.error.has_value())
            std::abort();
    }
    return 0;
}
