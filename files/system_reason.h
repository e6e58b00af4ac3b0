// The operating system's reason for a failed file operation, in Russian.
#pragma once

#include <string>

namespace toravel {

// The reason for an errno value a user can act on ("на диске нет места");
// the empty text for the others.
std::string SystemReason(int error);

// SystemReason, or "ошибка записи (код N)" for an error without a text of
// its own.
std::string WriteFailureReason(int error);

} // namespace toravel
