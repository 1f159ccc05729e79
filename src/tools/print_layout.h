// Where each printed line goes: the number of columns a page holds, and the
// page, column and position of every line, all in printer device pixels.
// Window-free: the printing code measures its fonts and draws at the places
// this answers.
#pragma once

#include <array>
#include <vector>

#include "tools/print_lines.h"

namespace qlm::print {

enum class ColumnMode { One = 0, Exact = 1, Maximum = 2 };  // "1 столбец", "Точно", "Максимум"

struct Page {
    int width = 0, height = 0;
    int left = 50, top = 50, right = 50, bottom = 50;
    int PrintableWidth() const { return width - left - right; }
};

struct ColumnChoice {
    int columns = 1;
    bool fits = true;  // false: "Точно" cannot place its columns; nothing is printed
};

// `columnWidth` is the widest line. "Точно" takes `exactCount` columns when
// they fit beside each other with `gap` between them; "Максимум" as many as
// fit, at least one.
ColumnChoice ChooseColumns(ColumnMode mode, int exactCount, const Page& page, int gap, int columnWidth);

// What the layout needs of a line's font.
struct FontMetrics {
    int lineHeight = 0;
    int zeroHeight = 0;  // extent of "0"
    int zeroWidth = 0;
};

struct Placement {
    int page = 0;  // 0-based
    int column = 0;
    int x = 0, y = 0;
    bool operator==(const Placement&) const = default;
};

// One placement per line. A line moves to the next column (or page) when the
// bottom margin leaves no room for a "0" of its font below y; a header that
// follows a song gets a blank line above it unless it stands at the top.
std::vector<Placement> PlaceLines(const std::vector<PrintLine>& lines, const std::array<FontMetrics, 3>& fonts,
                                  const Page& page, int columns, int gap, int columnWidth);

}  // namespace qlm::print
