#include "tools/print_layout.h"

#include <algorithm>

namespace qlm::print {

ColumnChoice ChooseColumns(ColumnMode mode, int exactCount, const Page& page, int gap, int columnWidth) {
    const int printable = page.PrintableWidth();
    switch (mode) {
    case ColumnMode::One:
        return {1, true};
    case ColumnMode::Exact: {
        const int n = std::max(exactCount, 1);
        const long long room = static_cast<long long>(printable) - static_cast<long long>(gap) * (n - 1) -
                               static_cast<long long>(n) * columnWidth;
        return {n, room >= 0};
    }
    case ColumnMode::Maximum: {
        // n columns take n * width + (n - 1) * gap; the widest n that fits,
        // one column when not even one does (the line is then cut at the edge).
        const long long pitch = static_cast<long long>(columnWidth) + std::max(gap, 0);
        if (pitch <= 0 || printable <= 0) return {1, true};
        const long long n = (static_cast<long long>(printable) + std::max(gap, 0)) / pitch;
        return {static_cast<int>(std::clamp<long long>(n, 1, 1000)), true};
    }
    }
    return {1, true};
}

std::vector<Placement> PlaceLines(const std::vector<PrintLine>& lines, const std::array<FontMetrics, 3>& fonts,
                                  const Page& page, int columns, int gap, int columnWidth) {
    std::vector<Placement> out;
    out.reserve(lines.size());
    Placement at{0, 0, page.left, page.top};
    bool previousWasSong = false;
    const int floor = page.height - page.bottom;
    for (const PrintLine& line : lines) {
        const FontMetrics& f = fonts[static_cast<size_t>(line.kind)];
        if (floor - f.zeroHeight < at.y) {
            if (at.column + 1 < columns) {
                ++at.column;
                at.x += gap + columnWidth;
            } else {
                ++at.page;
                at.column = 0;
                at.x = page.left;
            }
            at.y = page.top;
        }
        const bool header = line.kind != LineKind::Song;
        if (at.y != page.top && at.y + f.zeroWidth < floor && header && previousWasSong) at.y += f.lineHeight;
        out.push_back(at);
        at.y += f.lineHeight;
        previousWasSong = !header;
    }
    return out;
}

}  // namespace qlm::print
