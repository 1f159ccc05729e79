#include "playback/bitmap_font_map.h"

#include <algorithm>

namespace qlm {

void FontCharset::Set(uint8_t value) {
    if (value == charset) return;
    charset = value;
    if (value == 204) {
        selector = 0;
        return;
    }
    selector = 1;
    if (value == 0) latinSubset = 0;
    if (value == 238) latinSubset = 1;
}

namespace {

constexpr FontCell Cell(int col, int row) { return FontCell{col, row}; }

FontCell DigitCell(unsigned c) {
    if (c >= '0' && c <= '9') return Cell(static_cast<int>(c - '0'), 0);
    if (c == ':') return Cell(10, 0);
    if (c == '-') return Cell(11, 0);
    if (c == '+') return Cell(12, 0);
    return {};
}

// Signs of row 5 that every set shares (code in the 8-bit table).
FontCell SharedSignCell(uint8_t c) {
    switch (c) {
        case 133: return Cell(22, 5);
        case 153: return Cell(2, 5);
        case 171: return Cell(18, 5);
        case 187: return Cell(19, 5);
        case 176: return Cell(13, 5);
        case 177: return Cell(14, 5);
        case 182: return Cell(25, 5);
        case 167: return Cell(10, 5);
        case 168: return Cell(0, 5);
        case 169: return Cell(11, 5);
        case 174: return Cell(12, 5);
        case 184: return Cell(1, 5);
        case 185: return Cell(16, 5);
        default: break;
    }
    if (c >= 162 && c <= 165) return Cell(c - 156, 5);
    return {};
}

}  // namespace

FontCell ByteCell(FontMode mode, const FontCharset& cs, uint8_t c) {
    if (mode == FontMode::Digits) return DigitCell(c);
    if (c < 32) return {};
    if (c <= 127) return Cell((c - 32) % 32, (c - 32) / 32);
    const bool cyrillic = cs.selector == 0;
    if (c >= 192) {
        if (!cyrillic && cs.latinSubset == 1) {
            if (c == 216) return Cell(26, 5);
            if (c == 248) return Cell(27, 5);
        }
        if (!cyrillic && cs.latinSubset == 0) {
            if (c == 203) return Cell(0, 5);
            if (c == 235) return Cell(1, 5);
        }
        return Cell((c - 192) % 32, cyrillic ? c / 32 - 3 : c / 32);
    }
    if (c == 150 || c == 151 || c == 173) return Cell(13, 0);
    if (cyrillic) {
        switch (c) {
            case 161: return Cell(20, 5);
            case 162: return Cell(21, 5);
            case 170: return Cell(23, 5);
            case 186: return Cell(24, 5);
            case 136: return Cell(17, 5);
            case 178: return Cell(9, 1);
            case 179: return Cell(9, 2);
            default: break;
        }
    } else {
        switch (c) {
            case 128: return Cell(17, 5);
            case 138: return Cell(11, 6);
            case 154: return Cell(11, 7);
            default: break;
        }
        if (cs.latinSubset == 0) {
            switch (c) {
                case 140: return Cell(3, 5);
                case 156: return Cell(4, 5);
                case 159: return Cell(5, 5);
                case 191: return Cell(15, 5);
                default: break;
            }
        }
    }
    return SharedSignCell(c);
}

FontCell WideCell(FontMode mode, char16_t u) {
    if (mode == FontMode::Digits) return DigitCell(u);
    if (u >= 0x20 && u <= 0x7E) return Cell((u - 32) % 32, (u - 32) / 32);
    if (u >= 0x410 && u <= 0x44F) return Cell((u - 0x410) % 32, u < 0x430 ? 3 : 4);
    if (u == 0xCB) return Cell(0, 5);
    if (u == 0xEB) return Cell(1, 5);
    if (u >= 0xC0 && u <= 0xFF) return Cell((u - 0xC0) % 32, u < 0xE0 ? 6 : 7);
    switch (u) {
        case 0x401: return Cell(0, 5);
        case 0x451: return Cell(1, 5);
        case 0x404: return Cell(23, 5);
        case 0x454: return Cell(24, 5);
        case 0x406: return Cell(9, 1);
        case 0x456: return Cell(9, 2);
        case 0x40E: return Cell(20, 5);
        case 0x45E: return Cell(21, 5);
        case 0x152: return Cell(3, 5);
        case 0x153: return Cell(4, 5);
        case 0x158: return Cell(26, 5);
        case 0x159: return Cell(27, 5);
        case 0x160: return Cell(11, 6);
        case 0x161: return Cell(11, 7);
        case 0x178: return Cell(5, 5);
        case 0x2013:
        case 0x2014:
        case 0xAD: return Cell(13, 0);
        case 0x2026: return Cell(22, 5);
        case 0x2116: return Cell(16, 5);
        case 0x20AC: return Cell(17, 5);
        case 0x2122: return Cell(2, 5);
        case 0xA0: return Cell(31, 2);
        case 0xBF: return Cell(15, 5);
        default: break;
    }
    if (u >= 0xA2 && u <= 0xBF) return SharedSignCell(static_cast<uint8_t>(u));
    return {};
}

BitmapFontMetrics::BitmapFontMetrics(FontMode mode, int cellHeight, int cellWidth,
                                     const std::function<bool(int, int)>& isInk)
    : mode_(mode), cellHeight_(cellHeight), cellWidth_(cellWidth) {
    if (mode == FontMode::Digits) {
        right_[10] = 2;  // ":" is narrower than the digits
        return;
    }
    // Margins are measured once: columns 1 .. width-1 and rows 1 .. height-1 of
    // each cell are scanned inwards from either edge, the first scanned column
    // at distance 1 (column 1 from the left, column width-1 from the right);
    // L and R are the distances of the first inked column, -1 for an empty
    // cell. A margin of distance - 2 leaves one blank column on each side.
    for (int row = 0; row < kFontRows; ++row) {
        for (int col = 0; col < kFontColumns; ++col) {
            const int x0 = col * cellWidth, y0 = row * cellHeight;
            auto inked = [&](int x) {
                for (int y = 1; y < cellHeight; ++y)
                    if (isInk(x0 + x, y0 + y)) return true;
                return false;
            };
            int l = -1, r = -1;
            for (int x = 1; x < cellWidth; ++x)
                if (inked(x)) {
                    l = x;
                    break;
                }
            for (int x = cellWidth - 1; x >= 1; --x)
                if (inked(x)) {
                    r = cellWidth - x;
                    break;
                }
            const int i = row * kFontColumns + col;
            left_[i] = static_cast<uint8_t>(std::max(l - 2, 0));
            right_[i] = static_cast<uint8_t>(std::max(r - 2, 0));
        }
    }
    left_[0] = 6;  // the space
}

int BitmapFontMetrics::TextWidth(std::string_view text) const {
    int w = 0;
    for (unsigned char c : text) {
        const FontCell cell = CellOf(static_cast<uint8_t>(c));
        w += cell.Valid() ? GlyphWidth(cell) : cellWidth_;
    }
    return w;
}

int BitmapFontMetrics::TextWidth(std::u16string_view text) const {
    int w = 0;
    for (char16_t c : text) {
        const FontCell cell = CellOf(c);
        w += cell.Valid() ? GlyphWidth(cell) : cellWidth_;
    }
    return w;
}

}  // namespace qlm
