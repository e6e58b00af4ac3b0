#include "app/termination.h"

namespace toravel {
namespace {
bool terminationRequested = false;
}

void RequestTermination() {
    terminationRequested = true;
}
bool TerminationRequested() {
    return terminationRequested;
}
void ResetTerminationRequest() {
    terminationRequested = false;
}

} // namespace toravel
