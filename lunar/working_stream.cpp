#include "lunar/working_stream.h"

#include <iostream>
#include <streambuf>

namespace toravel {
namespace {

std::ostream* workingStream = nullptr;

class DiscardingBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

} // namespace

std::ostream& LunarWorkingStream() {
    return workingStream ? *workingStream : std::cout;
}

void SetLunarWorkingStream(std::ostream* stream) {
    workingStream = stream;
}

std::ostream& DiscardingStream() {
    static DiscardingBuffer buffer;
    static std::ostream stream(&buffer);
    return stream;
}

} // namespace toravel
