// JPEG decoding for the picture window: one complete JPEG file in memory
// (a picture field of the horoscope database) becomes 8-bit RGB pixels.
//
// Decoding goes through libjpeg with an error manager of our own, so that a
// corrupt, truncated or foreign buffer ends in an exception here instead of
// the library's default exit(). Sizes are checked against a cap before any
// pixel memory is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace toravel {

// Decoded picture: rows top to bottom, each row `width` pixels of three bytes
// (red, green, blue) with no padding, so a row is 3 × width bytes. This is the
// layout of QImage::Format_RGB888 with a bytes-per-line of 3 × width.
struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// Largest picture we accept: either side at most this many pixels, and the
// whole picture at most kMaxJpegPixels pixels (48 MiB of RGB). Our pages are
// under 1200 pixels on a side; the cap only guards against a buffer that
// declares a gigantic image.
inline constexpr int kMaxJpegSide = 8192;
inline constexpr std::size_t kMaxJpegPixels = std::size_t{4096} * 4096;

// Every decoding failure: the message says what went wrong.
class JpegError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The buffer holds no picture at all: it is empty or does not start with the
// JPEG start-of-image marker FF D8. A caller may show "no picture" for this
// instead of an error.
class NotAJpegError : public JpegError {
public:
    using JpegError::JpegError;
};

// Whether the buffer starts with the JPEG start-of-image marker FF D8, as
// every JPEG file does.
constexpr bool StartsWithJpegMarker(std::span<const std::uint8_t> data) {
    return data.size() >= 2 && data[0] == 0xFF && data[1] == 0xD8;
}

// Decodes one JPEG file held in memory. Grey-scale and colour (YCbCr, RGB)
// pictures, baseline or progressive, come out as RGB; a CMYK picture is
// refused with JpegError.
// Throws NotAJpegError for an empty buffer or one without the FF D8 marker,
// and JpegError for a corrupt or truncated stream or a picture over the cap.
DecodedImage DecodeJpeg(std::span<const std::uint8_t> data);

inline DecodedImage DecodeJpeg(const std::uint8_t* data, std::size_t size) {
    return DecodeJpeg(std::span<const std::uint8_t>(data, size));
}

} // namespace toravel
