#include "command_line/command_view.h"

namespace toravel::command_line {

std::vector<std::string> CommandView::ListingLines() const {
    const std::size_t listed = area.size() - reportLines.size();
    return {area.begin(), area.begin() + static_cast<std::ptrdiff_t>(listed)};
}

void CommandView::AppendLine(const std::string& line) {
    area.push_back(line);
}

void CommandView::ClearReport() {
    area.clear();
    reportLines.clear();
    reportFormats.clear();
}

// A terminal has no character formats: the line is kept as it is, and its
// format for the front ends that print.
void CommandView::AppendFormattedLine(const CharacterFormat& format, const std::string& line) {
    area.push_back(line);
    reportLines.push_back(line);
    reportFormats.push_back(format);
}

void CommandView::ShowMessage(const std::string& text) {
    messages.push_back(text);
    if (messageStream_ != nullptr)
        *messageStream_ << text << '\n' << std::flush;
}

} // namespace toravel::command_line
