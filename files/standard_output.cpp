#include "files/standard_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>

#include "files/descriptor_output.h"
#include "files/system_reason.h"

namespace toravel {
namespace {

bool IsOpen(int descriptor) {
    return ::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF;
}

} // namespace

CheckedStandardOutput::CheckedStandardOutput() {
    const bool outputOpen = IsOpen(STDOUT_FILENO);
    // open() takes the lowest free number: each closed one in turn.
    for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
        if (!IsOpen(descriptor)) {
            const int opened =
                ::open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
            if (opened >= 0 && opened != descriptor)
                ::close(opened);
        }
    }
    std::cout.flush();
    buffer_ = std::make_unique<DescriptorOutput>(STDOUT_FILENO);
    if (!outputOpen)
        buffer_->Fail(EBADF);
    previous_ = std::cout.rdbuf(buffer_.get());
}

CheckedStandardOutput::~CheckedStandardOutput() {
    buffer_->Flush();
    std::cout.rdbuf(previous_);
}

bool CheckedStandardOutput::Good() const {
    return buffer_->Error() == 0;
}

int CheckedStandardOutput::Finish(int status, std::ostream& err) {
    if (buffer_->Flush())
        return status;
    err << "не удалось вывести результат: " << WriteFailureReason(buffer_->Error()) << '\n';
    return status == 0 ? 1 : status;
}

} // namespace toravel
