// The application's request to terminate.
//
// Start-up and the main window's creation may ask the application to end
// (a data file missing, the database table not open). The request only sets
// a flag: main posts a queued quit just before it enters the event loop, so
// start-up still runs to its end, the events already queued are handled and
// the loop ends at its next turn without any action of the user. (A quit
// requested before the loop runs is lost, and one queued earlier is swallowed
// by the own loop of a modal message box shown in between.)
//
// Each request says why, in Russian; main writes the reasons to standard
// error and ends with a non-zero status, so that a launcher or a script can
// tell a start-up that could not run from a session the user ended.
#pragma once

#include <string>
#include <vector>

namespace toravel {

void RequestTermination(std::string reason);
bool TerminationRequested();
// The reasons in the order they were given.
const std::vector<std::string>& TerminationReasons();

// For tests that start the window more than once in one process.
void ResetTerminationRequest();

} // namespace toravel
