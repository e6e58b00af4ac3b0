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
