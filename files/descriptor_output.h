// A stream buffer over a file descriptor whose every write is checked: the
// first failure (a full disk, a closed pipe, a closed descriptor) is kept
// with its errno, and from then on every write fails, so a stream over it
// goes bad and stays bad. The standard library's streams over stdio do not
// say why they failed, and QPdfWriter does not look at a device's answer at
// all; this one can be asked afterwards.
//
//     DescriptorOutput buffer(fd);
//     std::ostream out(&buffer);
//     out << text;
//     if (!buffer.Flush()) report(WriteFailureReason(buffer.Error()));
#pragma once

#include <array>
#include <cstddef>
#include <streambuf>

namespace toravel {

class DescriptorOutput : public std::streambuf {
public:
    // The descriptor stays the caller's: it is neither closed nor synced.
    explicit DescriptorOutput(int descriptor);
    ~DescriptorOutput() override;
    DescriptorOutput(const DescriptorOutput&) = delete;
    DescriptorOutput& operator=(const DescriptorOutput&) = delete;

    // Writes what is buffered. False when this or an earlier write failed.
    bool Flush();

    // The errno of the first failed write; 0 while every write succeeded.
    int Error() const { return error_; }

    // Makes every later write fail with `error` (a descriptor known to be
    // unusable before anything is written).
    void Fail(int error);

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* data, std::streamsize size) override;
    int sync() override;

private:
    bool WriteAll(const char* data, std::size_t size);

    int descriptor_;
    int error_ = 0;
    std::array<char, 64 * 1024> buffer_{};
};

} // namespace toravel
