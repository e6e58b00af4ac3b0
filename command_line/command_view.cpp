#include "cli/cli_view.h"

namespace toravel::cli {

void CliView::AppendLine(const std::string& line) {
    area.push_back(line);
}

void CliView::ClearReport() {
    area.clear();
    reportLines.clear();
    reportFormats.clear();
}

// A terminal has no character formats: the line is kept as it is, and its
// format for the front ends that print.
void CliView::AppendFormattedLine(const CharacterFormat& format, const std::string& line) {
    area.push_back(line);
    reportLines.push_back(line);
    reportFormats.push_back(format);
}

void CliView::ShowMessage(const std::string& text) {
    messages.push_back(text);
    messageStream_ << text << '\n' << std::flush;
}

} // namespace toravel::cli
