#include "app/colour_scheme.h"

#include <algorithm>
#include <cstddef>

namespace qlm {

int SwapSchemeColour(PixelBlock b, PanelPart part, SchemeColour from, SchemeColour to) {
    if (!b.pixels || b.height < 30 || b.width <= 0) return 0;
    int x0 = 0, x1 = b.width;  // columns [x0, x1)
    if (part == PanelPart::Left) x0 = 10;
    if (part == PanelPart::Center) x1 = 1;
    x1 = std::min(x1, b.width);
    const uint32_t f = from.Pixel(), t = to.Pixel();
    int count = 0;
    for (int y = 10; y <= b.height - 20; ++y) {
        uint32_t* row = b.pixels + static_cast<std::ptrdiff_t>(y) * b.stride;
        for (int x = x0; x < x1; ++x) {
            // The fourth byte of a DIB pixel is unused padding.
            if ((row[x] & 0xFFFFFFu) == f) {
                row[x] = (row[x] & 0xFF000000u) | t;
                ++count;
            }
        }
    }
    return count;
}

}  // namespace qlm
