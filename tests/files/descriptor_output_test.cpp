// The checked stream buffer: every kind of failed write is kept with its
// reason, and the stream over it goes bad.
#include "files/descriptor_output.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <ostream>
#include <string>

#include "files/system_reason.h"

namespace toravel {
namespace {

TEST(DescriptorOutput, EveryFailedWriteIsKeptWithItsReason) {
    // A reader that went away, with SIGPIPE ignored as some parents leave it.
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    ::close(pipe[0]);
    const int full = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    const int closed = ::dup(full);
    ::close(closed);
    const struct {
        const char* name;
        int descriptor;
        int error;
        const char* reason;
    } rows[] = {
        {"a full disk", full, ENOSPC, "на диске нет места"},
        {"a closed pipe", pipe[1], EPIPE, "читающая программа закрыла канал"},
        {"a closed descriptor", closed, EBADF, "поток вывода закрыт"},
    };
    for (const auto& row : rows) {
        DescriptorOutput buffer(row.descriptor);
        std::ostream out(&buffer);
        out << "a line\n";
        EXPECT_TRUE(out.good()) << row.name << ": still in the buffer";
        out.flush();
        EXPECT_FALSE(out.good()) << row.name;
        EXPECT_EQ(buffer.Error(), row.error) << row.name;
        EXPECT_EQ(WriteFailureReason(buffer.Error()), row.reason) << row.name;
        EXPECT_FALSE(buffer.Flush()) << row.name << ": and stays failed";
        // More than the buffer holds fails at once, too.
        DescriptorOutput large(row.descriptor);
        std::ostream direct(&large);
        direct << std::string(100'000, 'x');
        EXPECT_FALSE(direct.good()) << row.name;
    }
    ::close(full);
    ::close(pipe[1]);
    std::signal(SIGPIPE, previous);
}

} // namespace
} // namespace toravel
