// JPEG decoding over libjpeg with our own error manager.
//
// libjpeg reports a fatal error by calling error_exit, which by default
// prints and ends the process. Ours records the message and longjmps back to
// the one setjmp in RunGuarded. Everything between that setjmp and the
// library's frames is C or trivially destructible (DecoderSession, the steps'
// locals), so the jump skips no C++ destructor, and no exception is ever
// thrown through the library: DecodeJpeg throws only after RunGuarded has
// returned. Corrupt-data warnings (a truncated file, a damaged Huffman code)
// are treated as errors too, rather than showing a picture padded with grey.
#include "pictures/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <cstring>
#include <string>

#include <jpeglib.h>

namespace toravel {
namespace {

// Progressive files may hold many scans, each a full pass over the
// coefficients; a hostile file could repeat them endlessly. Real encoders
// write about ten.
constexpr int kMaxScans = 500;

// Memory the library may allocate for one picture (coefficient buffers of a
// progressive picture at the pixel cap need about 100 MiB).
constexpr long kMaxLibraryMemory = 256L * 1024 * 1024;

// Everything the guarded steps touch. Trivially destructible by design:
// a longjmp may leave it mid-way, and the caller then only destroys the
// library state and reads the message.
struct DecoderSession {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr error;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool created;
    // Input of the header step.
    const std::uint8_t* data;
    std::size_t size;
    // Output of the pixel step: first byte and byte length of a row.
    std::uint8_t* pixels;
    std::size_t row_bytes;
};

DecoderSession& SessionOf(j_common_ptr cinfo) {
    // client_data is set to the session before the library is first called.
    return *static_cast<DecoderSession*>(cinfo->client_data);
}

[[noreturn]] void FailWithLibraryMessage(j_common_ptr cinfo) {
    DecoderSession& session = SessionOf(cinfo);
    (*cinfo->err->format_message)(cinfo, session.message);
    std::longjmp(session.jump, 1);
}

extern "C" {

void OnLibraryError(j_common_ptr cinfo) {
    FailWithLibraryMessage(cinfo);
}

// Level -1 is a warning about corrupt data; higher levels are traces.
void OnLibraryMessage(j_common_ptr cinfo, int level) {
    if (level < 0)
        FailWithLibraryMessage(cinfo);
}

void OnLibraryOutput(j_common_ptr) {}

void OnProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor)
        return;
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
        DecoderSession& session = SessionOf(cinfo);
        std::snprintf(session.message, sizeof session.message, "more than %d scans", kMaxScans);
        std::longjmp(session.jump, 1);
    }
}

} // extern "C"

using GuardedStep = void (*)(DecoderSession&);

// The only setjmp: runs one step and tells whether the library failed in it.
// Nothing here or in a step owns a resource, so the jump leaks nothing.
bool RunGuarded(DecoderSession& session, GuardedStep step) {
    if (setjmp(session.jump) != 0)
        return false;
    step(session);
    return true;
}

void CreateAndReadHeader(DecoderSession& s) {
    jpeg_create_decompress(&s.cinfo);
    s.created = true;
    s.cinfo.client_data = &s;
    s.cinfo.progress = &s.progress;
    s.cinfo.mem->max_memory_to_use = kMaxLibraryMemory;
    jpeg_mem_src(&s.cinfo, s.data, static_cast<unsigned long>(s.size));
    jpeg_read_header(&s.cinfo, TRUE);
    s.cinfo.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&s.cinfo);
}

void DecompressPixels(DecoderSession& s) {
    jpeg_start_decompress(&s.cinfo);
    while (s.cinfo.output_scanline < s.cinfo.output_height) {
        JSAMPROW row = s.pixels + std::size_t{s.cinfo.output_scanline} * s.row_bytes;
        jpeg_read_scanlines(&s.cinfo, &row, 1);
    }
    jpeg_finish_decompress(&s.cinfo);
}

// Destroys the library state when it goes, however DecodeJpeg leaves.
class SessionCleanup {
public:
    explicit SessionCleanup(DecoderSession& session) : session_(session) {}
    ~SessionCleanup() {
        if (session_.created)
            jpeg_destroy_decompress(&session_.cinfo);
    }
    SessionCleanup(const SessionCleanup&) = delete;
    SessionCleanup& operator=(const SessionCleanup&) = delete;

private:
    DecoderSession& session_;
};

[[noreturn]] void ThrowCorrupt(const DecoderSession& session) {
    throw JpegError(std::string("Рисунок повреждён: ") + session.message);
}

} // namespace

DecodedImage DecodeJpeg(std::span<const std::uint8_t> data) {
    if (data.empty())
        throw NotAJpegError("Поле рисунка пусто");
    if (!StartsWithJpegMarker(data))
        throw NotAJpegError("Поле не содержит рисунка JPEG");

    DecoderSession session{};
    session.cinfo.err = jpeg_std_error(&session.error);
    session.error.error_exit = OnLibraryError;
    session.error.emit_message = OnLibraryMessage;
    session.error.output_message = OnLibraryOutput;
    session.progress.progress_monitor = OnProgress;
    session.cinfo.client_data = &session;
    session.data = data.data();
    session.size = data.size();
    SessionCleanup cleanup(session);

    if (!RunGuarded(session, CreateAndReadHeader))
        ThrowCorrupt(session);

    const JDIMENSION width = session.cinfo.output_width;
    const JDIMENSION height = session.cinfo.output_height;
    if (width > kMaxJpegSide || height > kMaxJpegSide ||
        std::size_t{width} * height > kMaxJpegPixels) {
        throw JpegError("Рисунок слишком велик: " + std::to_string(width) + " × " +
                        std::to_string(height) + " точек, допустимо не более " +
                        std::to_string(kMaxJpegSide) + " точек по стороне и " +
                        std::to_string(kMaxJpegPixels) + " точек всего");
    }
    if (session.cinfo.output_components != 3)
        throw JpegError("Рисунок повреждён: неожиданное число цветовых составляющих");

    DecodedImage image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.rgb.resize(std::size_t{width} * height * 3);
    session.pixels = image.rgb.data();
    session.row_bytes = std::size_t{width} * 3;

    if (!RunGuarded(session, DecompressPixels))
        ThrowCorrupt(session);
    return image;
}

} // namespace toravel
