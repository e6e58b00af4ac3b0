// Rows of texts laid out in columns for a terminal: each column as wide as
// its widest cell in characters (UTF-8 code points), two blanks between
// columns, nothing after the last.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/utf8_text.h"

namespace toravel::cli {

// A cell of at most `most` characters: a longer valid text is cut and ends
// with "…", so that one long name does not push the columns after it off
// the terminal.
inline std::string ShortenedCell(const std::string& validText, std::size_t most) {
    if (most == 0 || CodePointCount(validText) <= most)
        return validText;
    std::size_t at = 0;
    for (std::size_t kept = 0; kept + 1 < most && at < validText.size(); ++kept) {
        if (!DecodeUtf8(validText, at))
            break; // not valid after all: cut before the fault
    }
    return validText.substr(0, at) + "…";
}

template <std::size_t Columns>
std::vector<std::string> AlignedColumns(const std::vector<std::array<std::string, Columns>>& rows) {
    std::array<std::size_t, Columns> widths{};
    for (const auto& row : rows)
        for (std::size_t c = 0; c < Columns; ++c)
            widths[c] = std::max(widths[c], CodePointCount(row[c]));
    std::vector<std::string> lines;
    lines.reserve(rows.size());
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < Columns; ++c) {
            line += row[c];
            if (c + 1 < Columns)
                line.append(widths[c] - CodePointCount(row[c]) + 2, ' ');
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace toravel::cli
