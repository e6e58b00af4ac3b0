// The picture decoder over arbitrary bytes: a picture whose size matches its
// pixels, or a JpegError; never a crash, a hang or an exit of the process.
#include <cstdint>
#include <cstdlib>

#include "pictures/jpeg_decoder.h"

using namespace toravel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const DecodedImage image = DecodeJpeg(data, size);
        if (image.width <= 0 || image.height <= 0 ||
            image.rgb.size() !=
                static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3)
            std::abort();
    } catch (const JpegError&) {
    }
    return 0;
}
