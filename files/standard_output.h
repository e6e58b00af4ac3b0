// Standard output of a command-line program, checked: the program's text
// goes through a DescriptorOutput on descriptor 1, so that a full disk, a
// reader that went away (with SIGPIPE ignored) or a closed descriptor is
// noticed and named instead of ending in exit status 0.
//
//     int main(int argc, char** argv) {
//         CheckedStandardOutput output;          // first thing in main
//         const int status = Run(argc, argv);    // writes to std::cout
//         return output.Finish(status, std::cerr);
//     }
//
// Standard input, output and error closed when the program starts are
// opened on /dev/null, so that no file the program opens later takes their
// numbers and receives its output; a closed standard output still counts as
// failed.
#pragma once

#include <memory>
#include <ostream>
#include <streambuf>

namespace toravel {

class DescriptorOutput;

class CheckedStandardOutput {
public:
    CheckedStandardOutput();
    ~CheckedStandardOutput(); // gives std::cout its own buffer back
    CheckedStandardOutput(const CheckedStandardOutput&) = delete;
    CheckedStandardOutput& operator=(const CheckedStandardOutput&) = delete;

    // Whether everything written so far reached standard output (what is
    // still buffered is not yet known).
    bool Good() const;

    // Writes out what is buffered. Returns `status` when everything reached
    // standard output; otherwise says why on `err` and returns 1 in place of
    // 0 (a failure's own status stays).
    int Finish(int status, std::ostream& err);

private:
    std::unique_ptr<DescriptorOutput> buffer_;
    std::streambuf* previous_ = nullptr;
};

} // namespace toravel
