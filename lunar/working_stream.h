// The stream that receives the lunar calendar's working texts: every new
// moon, day and moonrise it writes on its way. Standard output unless a front
// end points it elsewhere (the command-line front end sends it to a null
// stream so that its standard output carries only its own output).
#pragma once

#include <ostream>

namespace toravel {

std::ostream& LunarWorkingStream();

// nullptr restores standard output. The stream must outlive its use.
void SetLunarWorkingStream(std::ostream* stream);

// A process-wide stream that discards everything written to it.
std::ostream& DiscardingStream();

} // namespace toravel
