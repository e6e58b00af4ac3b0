// The text that the application's standard error display shows for an
// error: the error's message with "." appended when its last byte, compared
// as unsigned, sorts after ".", so a message ending in a letter (Latin or
// Cyrillic) gets its full stop and one ending in ".", "!" or a quote keeps
// its end. An empty message stays empty. The window's error box, toravel-cli
// and toravel-pdf show errors with it.
#pragma once

#include <string>
#include <string_view>

namespace toravel {

std::string ErrorDisplayText(std::string_view message);

} // namespace toravel
