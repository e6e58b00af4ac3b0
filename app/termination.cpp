#include "app/termination.h"

#include <utility>

namespace toravel {
namespace {
std::vector<std::string>& Reasons() {
    static std::vector<std::string> reasons;
    return reasons;
}
} // namespace

void RequestTermination(std::string reason) {
    Reasons().push_back(std::move(reason));
}
bool TerminationRequested() {
    return !Reasons().empty();
}
const std::vector<std::string>& TerminationReasons() {
    return Reasons();
}
void ResetTerminationRequest() {
    Reasons().clear();
}

} // namespace toravel
