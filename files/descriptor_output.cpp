#include "files/descriptor_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace toravel {

DescriptorOutput::DescriptorOutput(int descriptor) : descriptor_(descriptor) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

DescriptorOutput::~DescriptorOutput() {
    Flush();
}

void DescriptorOutput::Fail(int error) {
    if (error_ == 0)
        error_ = error;
}

bool DescriptorOutput::WriteAll(const char* data, std::size_t size) {
    while (size > 0 && error_ == 0) {
        const ssize_t written = ::write(descriptor_, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            // A write that takes nothing would be tried forever.
            Fail(written < 0 ? errno : EIO);
            break;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return error_ == 0;
}

bool DescriptorOutput::Flush() {
    const std::size_t pending = static_cast<std::size_t>(pptr() - pbase());
    const bool written = WriteAll(pbase(), pending);
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return written;
}

DescriptorOutput::int_type DescriptorOutput::overflow(int_type c) {
    if (!Flush())
        return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize DescriptorOutput::xsputn(const char* data, std::streamsize size) {
    if (error_ != 0)
        return 0;
    const auto count = static_cast<std::size_t>(size);
    const auto room = static_cast<std::size_t>(epptr() - pptr());
    if (count <= room) {
        std::memcpy(pptr(), data, count);
        pbump(static_cast<int>(count));
        return size;
    }
    // Larger than the room left: what is buffered, then the rest directly.
    if (!Flush() || !WriteAll(data, count))
        return 0;
    return size;
}

int DescriptorOutput::sync() {
    return Flush() ? 0 : -1;
}

} // namespace toravel
