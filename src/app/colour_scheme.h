// The three colour schemes of the player panel and the pixel swap that moves
// the panel's backgrounds from one scheme to another (window-free).
#pragma once

#include <array>
#include <cstdint>

namespace qlm {

struct SchemeColour {
    uint8_t r, g, b;
    // As the pixel of a 32-bit DIB reads when taken as one little-endian word.
    constexpr uint32_t Pixel() const { return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b; }
    constexpr uint32_t ColorRef() const { return r | (uint32_t{g} << 8) | (uint32_t{b} << 16); }
};

inline constexpr std::array<SchemeColour, 3> kColourSchemes{{{142, 197, 233}, {111, 221, 50}, {246, 184, 51}}};

// Any index above 2 counts as 0.
constexpr int NormalSchemeIndex(int index) { return index < 0 || index > 2 ? 0 : index; }
constexpr int NextSchemeIndex(int index) { return (NormalSchemeIndex(index) + 1) % 3; }

// Which columns of a panel background are swapped: the left part from column 10
// on, the right part whole, the stretched centre only its first column.
enum class PanelPart { Left, Right, Center };

// A 32-bit top-down pixel block; stride in pixels.
struct PixelBlock {
    uint32_t* pixels;
    int width;
    int height;
    int stride;
};

// Replaces every pixel equal to `from` by `to` in rows 10 .. height - 20 of the
// part's columns; a block lower than 30 rows stays as it is. Answers the count.
int SwapSchemeColour(PixelBlock block, PanelPart part, SchemeColour from, SchemeColour to);

}  // namespace qlm
