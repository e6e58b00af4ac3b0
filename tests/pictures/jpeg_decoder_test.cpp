#include "pictures/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/pictures/jpeg_decoder_samples.h"

namespace toravel {
namespace {

using Bytes = std::vector<std::uint8_t>;

template <std::size_t N> Bytes ToBytes(const std::uint8_t (&array)[N]) {
    return Bytes(array, array + N);
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Offset of the first frame header (SOF0 or SOF2) marker, or 0.
std::size_t FrameHeader(const Bytes& jpeg) {
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2))
            return i;
    return 0;
}

// Offset of the start-of-scan marker, or 0.
std::size_t StartOfScan(const Bytes& jpeg) {
    for (std::size_t i = 2; i + 4 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA)
            return i;
    return 0;
}

// The same file claiming another size in its frame header.
Bytes WithDeclaredSize(Bytes jpeg, unsigned width, unsigned height) {
    const std::size_t sof = FrameHeader(jpeg);
    jpeg[sof + 5] = static_cast<std::uint8_t>(height >> 8);
    jpeg[sof + 6] = static_cast<std::uint8_t>(height & 0xFF);
    jpeg[sof + 7] = static_cast<std::uint8_t>(width >> 8);
    jpeg[sof + 8] = static_cast<std::uint8_t>(width & 0xFF);
    return jpeg;
}

struct Rgb {
    int r, g, b;
};

Rgb PixelAt(const DecodedImage& image, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * image.width + x) * 3;
    return {image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]};
}

void ExpectNear(const Rgb& actual, const Rgb& expected, int tolerance, const std::string& where) {
    EXPECT_NEAR(actual.r, expected.r, tolerance) << where << ": red";
    EXPECT_NEAR(actual.g, expected.g, tolerance) << where << ": green";
    EXPECT_NEAR(actual.b, expected.b, tolerance) << where << ": blue";
}

// The message of the JpegError that decoding throws, or "no error".
std::string DecodeError(const Bytes& data) {
    try {
        DecodeJpeg(data);
    } catch (const NotAJpegError& e) {
        return std::string("not a JPEG: ") + e.what();
    } catch (const JpegError& e) {
        return e.what();
    }
    return "no error";
}

TEST(JpegDecoder, StoredPicturesDecodeToTheirPageSize) {
    struct Case {
        const char* file;
        int width, height;
    };
    const Case cases[] = {
        {"ras.jpg", 794, 1123}, {"pmas.jpg", 794, 1123}, {"gim.jpg", 794, 1123},
        {"mob.jpg", 559, 794},  {"zhob.jpg", 559, 794},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Bytes data = ReadFile(std::string(TORAVEL_PICTURES_DIR) + "/" + c.file);
        ASSERT_FALSE(data.empty()) << "missing picture " << c.file;
        const DecodedImage image = DecodeJpeg(data);
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        ASSERT_EQ(image.rgb.size(), static_cast<std::size_t>(c.width) * c.height * 3);
        // The outer margin is bare linen (246, 239, 220): a swapped channel
        // order or a mis-strided row would show here.
        ExpectNear(PixelAt(image, 4, 4), {246, 239, 220}, 10, "top-left margin");
        ExpectNear(PixelAt(image, c.width - 5, c.height - 5), {246, 239, 220}, 10,
                   "bottom-right margin");
    }
}

TEST(JpegDecoder, ColourAndGreyPicturesComeOutAsRgb) {
    const DecodedImage colour = DecodeJpeg(ToBytes(test::kTinyColourJpeg));
    ASSERT_EQ(colour.width, 24);
    ASSERT_EQ(colour.height, 16);
    ASSERT_EQ(colour.rgb.size(), 24u * 16 * 3);
    ExpectNear(PixelAt(colour, 3, 8), {200, 40, 30}, 16, "red half");
    ExpectNear(PixelAt(colour, 20, 8), {30, 60, 200}, 16, "blue half");

    const DecodedImage grey = DecodeJpeg(ToBytes(test::kTinyGreyJpeg));
    ASSERT_EQ(grey.width, 16);
    ASSERT_EQ(grey.height, 8);
    ASSERT_EQ(grey.rgb.size(), 16u * 8 * 3);
    ExpectNear(PixelAt(grey, 7, 3), {128, 128, 128}, 3, "grey picture");
}

TEST(JpegDecoder, BuffersWithoutAPictureAreRecognisable) {
    const struct {
        const char* name;
        Bytes data;
    } cases[] = {
        {"empty", {}},
        {"one byte FF", {0xFF}},
        {"PNG signature", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}},
        {"text", {'G', 'I', 'F', '8', '9', 'a'}},
        {"FF D8 swapped", {0xD8, 0xFF, 0xFF, 0xE0}},
    };
    for (const auto& c : cases) {
        EXPECT_THROW(DecodeJpeg(c.data), NotAJpegError) << c.name;
    }
    EXPECT_THROW(DecodeJpeg(nullptr, 0), NotAJpegError) << "null pointer, no bytes";
}

TEST(JpegDecoder, DamagedHeadersAreErrorsNotExits) {
    const Bytes good = ToBytes(test::kTinyColourJpeg);
    const std::size_t sof = FrameHeader(good);
    ASSERT_NE(sof, 0u);
    struct Case {
        const char* name;
        Bytes data;
    };
    std::vector<Case> cases;
    cases.push_back({"start-of-image only", {0xFF, 0xD8}});
    cases.push_back({"start-of-image then garbage", {0xFF, 0xD8, 0x12, 0x34, 0x56, 0x78, 0x9A}});
    Bytes precision = good;
    precision[sof + 4] = 13;
    cases.push_back({"13-bit samples", precision});
    cases.push_back({"zero width", WithDeclaredSize(good, 0, 16)});
    Bytes components = good;
    components[sof + 9] = 0;
    cases.push_back({"no components", components});
    Bytes firstMarker = good;
    firstMarker[2] = 0x00; // the marker after FF D8 loses its FF
    cases.push_back({"garbage before the first marker", firstMarker});
    for (const Case& c : cases) {
        const std::string error = DecodeError(c.data);
        EXPECT_NE(error, "no error") << c.name;
        EXPECT_EQ(error.find("not a JPEG"), std::string::npos) << c.name << ": " << error;
    }
    // The decoder is still usable afterwards.
    EXPECT_EQ(DecodeJpeg(good).width, 24);
}

TEST(JpegDecoder, EveryTruncationIsAnError) {
    const Bytes good = ToBytes(test::kTinyColourJpeg);
    for (std::size_t length = 2; length < good.size(); ++length) {
        const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_NE(DecodeError(cut), "no error")
            << "first " << length << " of " << good.size() << " bytes";
    }
    // A stored page cut in half: the scan ends early.
    const Bytes page = ReadFile(std::string(TORAVEL_PICTURES_DIR) + "/mob.jpg");
    ASSERT_FALSE(page.empty());
    const Bytes half(page.begin(), page.begin() + static_cast<std::ptrdiff_t>(page.size() / 2));
    EXPECT_NE(DecodeError(half), "no error");
}

TEST(JpegDecoder, DamagedScanDataIsAnError) {
    const Bytes good = ToBytes(test::kTinyColourJpeg);
    const std::size_t scan = StartOfScan(good);
    ASSERT_NE(scan, 0u);
    // Halfway through the entropy-coded data, which runs from the end of the
    // scan header to the final FF D9.
    const std::size_t data = scan + 2 + (good[scan + 2] << 8 | good[scan + 3]);
    const std::size_t middle = data + (good.size() - 2 - data) / 2;
    Bytes restart = good; // a restart marker where none may be
    restart[middle] = 0xFF;
    restart[middle + 1] = 0xD3;
    EXPECT_NE(DecodeError(restart), "no error");
    Bytes early = good; // the end-of-image marker in the middle of the scan
    early[middle] = 0xFF;
    early[middle + 1] = 0xD9;
    EXPECT_NE(DecodeError(early), "no error");
}

// Whatever a single flipped byte does, decoding ends in an error or in a
// complete picture of the declared size, and the process goes on.
TEST(JpegDecoder, FlippedBytesNeverCrash) {
    const Bytes good = ToBytes(test::kTinyColourJpeg);
    int errors = 0;
    for (std::size_t at = 0; at < good.size(); ++at) {
        Bytes damaged = good;
        damaged[at] ^= 0xA5;
        try {
            const DecodedImage image = DecodeJpeg(damaged);
            ASSERT_GT(image.width, 0) << "byte " << at;
            ASSERT_GT(image.height, 0) << "byte " << at;
            ASSERT_EQ(image.rgb.size(), static_cast<std::size_t>(image.width) * image.height * 3)
                << "byte " << at;
        } catch (const JpegError&) {
            ++errors;
        }
    }
    EXPECT_GT(errors, 0);
}

TEST(JpegDecoder, OversizedPicturesAreRefusedBeforeDecoding) {
    const Bytes good = ToBytes(test::kTinyColourJpeg);
    const struct {
        unsigned width, height;
    } tooLarge[] = {{60000, 60000}, {8193, 16}, {16, 8193}, {8000, 8000}, {4097, 4096}};
    for (const auto& c : tooLarge) {
        const std::string error = DecodeError(WithDeclaredSize(good, c.width, c.height));
        EXPECT_NE(error.find("слишком велик"), std::string::npos)
            << c.width << " × " << c.height << ": " << error;
    }
    // At the cap itself the size passes; the tiny scan then runs out.
    for (const auto& c : {std::pair{8192u, 2048u}, std::pair{4096u, 4096u}}) {
        const std::string error = DecodeError(WithDeclaredSize(good, c.first, c.second));
        EXPECT_EQ(error.find("слишком велик"), std::string::npos) << c.first << " × " << c.second;
        EXPECT_NE(error, "no error") << c.first << " × " << c.second;
    }
}

} // namespace
} // namespace toravel
