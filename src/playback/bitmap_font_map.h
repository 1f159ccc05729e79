// Window-free half of the bitmap font: which sheet cell a character takes,
// the per-cell margins measured from the sheet, and text widths.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

namespace qlm {

inline constexpr int kFontColumns = 32;
inline constexpr int kFontRows = 8;

enum class FontMode : int32_t { Text = 0, Digits = 1 };

struct FontCell {
    int col = -1;
    int row = -1;
    bool Valid() const { return col >= 0; }
    int Index() const { return row * kFontColumns + col; }
    friend bool operator==(const FontCell&, const FontCell&) = default;
};

// Glyph-set selector, Latin sub-set and the character set they came from.
struct FontCharset {
    uint8_t selector = 0;  // 0 Cyrillic, 1 Latin
    uint8_t latinSubset = 0;  // 0 Western, 1 Central European
    uint8_t charset = 204;
    void Set(uint8_t value);
};

// Cell of an 8-bit character (Windows code page of the charset) / of UTF-16.
FontCell ByteCell(FontMode mode, const FontCharset& cs, uint8_t c);
FontCell WideCell(FontMode mode, char16_t u);

// The font's metrics: cell size, mode, the charset state and the margins.
class BitmapFontMetrics {
public:
    // isInk(x, y) answers whether the sheet pixel is not white; it is asked
    // only in text mode, once per pixel scanned.
    BitmapFontMetrics(FontMode mode, int cellHeight, int cellWidth, const std::function<bool(int x, int y)>& isInk);

    FontMode Mode() const { return mode_; }
    int CellWidth() const { return cellWidth_; }
    int CellHeight() const { return cellHeight_; }
    int LeftMargin(FontCell c) const { return left_[c.Index()]; }
    int RightMargin(FontCell c) const { return right_[c.Index()]; }
    // Pixels a glyph takes: cell width - left - right - 1.
    int GlyphWidth(FontCell c) const { return cellWidth_ - left_[c.Index()] - right_[c.Index()] - 1; }

    void SetCharset(uint8_t value) { charset_.Set(value); }
    const FontCharset& Charset() const { return charset_; }

    FontCell CellOf(uint8_t c) const { return ByteCell(mode_, charset_, c); }
    FontCell CellOf(char16_t u) const { return WideCell(mode_, u); }

    // Sum of glyph widths; a character without a cell counts the cell width.
    int TextWidth(std::string_view text) const;
    int TextWidth(std::u16string_view text) const;

private:
    FontMode mode_;
    int cellHeight_;
    int cellWidth_;
    std::array<uint8_t, 256> left_{};
    std::array<uint8_t, 256> right_{};
    FontCharset charset_;
};

}  // namespace qlm
