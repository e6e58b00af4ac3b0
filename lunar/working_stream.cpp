#include "lunar/working_stream.h"

#include <iostream>

namespace toravel {
namespace {
std::ostream* workingStream = nullptr;
}

std::ostream& LunarWorkingStream() { return workingStream ? *workingStream : std::cout; }

void SetLunarWorkingStream(std::ostream* stream) { workingStream = stream; }

}  // namespace toravel
