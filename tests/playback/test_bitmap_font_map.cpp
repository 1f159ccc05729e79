// Cell maps, charset switching, margins measured on a synthetic sheet, and the
// generated glyph sheets checked against the layout the maps expect.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "playback/bitmap_font_map.h"

namespace qlm {
namespace {

FontCell C(int col, int row) { return FontCell{col, row}; }

FontCharset Charset(uint8_t value) {
    FontCharset cs;
    cs.Set(value);
    return cs;
}

TEST(FontCells, ByteMapOfTheTextFont) {
    const auto cyr = Charset(204), west = Charset(0), central = Charset(238);
    EXPECT_EQ(ByteCell(FontMode::Text, cyr, ' '), C(0, 0));
    EXPECT_EQ(ByteCell(FontMode::Text, cyr, 'A'), C(1, 1));
    EXPECT_EQ(ByteCell(FontMode::Text, cyr, '~'), C(30, 2));
    EXPECT_FALSE(ByteCell(FontMode::Text, cyr, 31).Valid());
    EXPECT_EQ(ByteCell(FontMode::Text, cyr, 0xC0), C(0, 3));   // А
    EXPECT_EQ(ByteCell(FontMode::Text, cyr, 0xFF), C(31, 4));  // я
    EXPECT_EQ(ByteCell(FontMode::Text, west, 0xC0), C(0, 6));  // À
    EXPECT_EQ(ByteCell(FontMode::Text, west, 0xFF), C(31, 7));
    for (uint8_t dash : {150, 151, 173}) EXPECT_EQ(ByteCell(FontMode::Text, cyr, dash), C(13, 0));
    // Row 5 signs in every set; Cyrillic-only letters replace 161/162.
    EXPECT_EQ(ByteCell(FontMode::Text, cyr, 168), C(0, 5));
    EXPECT_EQ(ByteCell(FontMode::Text, west, 169), C(11, 5));
    EXPECT_EQ(ByteCell(FontMode::Text, cyr, 162), C(21, 5));
    EXPECT_EQ(ByteCell(FontMode::Text, west, 162), C(6, 5));
    EXPECT_EQ(ByteCell(FontMode::Text, cyr, 161), C(20, 5));
    EXPECT_FALSE(ByteCell(FontMode::Text, west, 161).Valid());
    EXPECT_EQ(ByteCell(FontMode::Text, cyr, 178), C(9, 1));
    EXPECT_EQ(ByteCell(FontMode::Text, cyr, 179), C(9, 2));
    EXPECT_EQ(ByteCell(FontMode::Text, cyr, 136), C(17, 5));
    EXPECT_FALSE(ByteCell(FontMode::Text, cyr, 128).Valid());
    EXPECT_EQ(ByteCell(FontMode::Text, west, 128), C(17, 5));
    // Latin: Š/š in place of Ë/ë, which move to row 5 in the Western sub-set.
    EXPECT_EQ(ByteCell(FontMode::Text, central, 138), C(11, 6));
    EXPECT_EQ(ByteCell(FontMode::Text, west, 154), C(11, 7));
    EXPECT_EQ(ByteCell(FontMode::Text, west, 203), C(0, 5));
    EXPECT_EQ(ByteCell(FontMode::Text, central, 203), C(11, 6));
    EXPECT_EQ(ByteCell(FontMode::Text, west, 140), C(3, 5));
    EXPECT_FALSE(ByteCell(FontMode::Text, central, 140).Valid());
    EXPECT_EQ(ByteCell(FontMode::Text, central, 216), C(26, 5));  // Ř
    EXPECT_EQ(ByteCell(FontMode::Text, central, 248), C(27, 5));  // ř
    EXPECT_EQ(ByteCell(FontMode::Text, west, 216), C(24, 6));     // Ø
}

TEST(FontCells, DigitsFont) {
    const FontCharset cs;
    for (int d = 0; d < 10; ++d) EXPECT_EQ(ByteCell(FontMode::Digits, cs, static_cast<uint8_t>('0' + d)), C(d, 0));
    EXPECT_EQ(ByteCell(FontMode::Digits, cs, ':'), C(10, 0));
    EXPECT_EQ(ByteCell(FontMode::Digits, cs, '-'), C(11, 0));
    EXPECT_EQ(WideCell(FontMode::Digits, u'+'), C(12, 0));
    EXPECT_FALSE(ByteCell(FontMode::Digits, cs, 'k').Valid());
    EXPECT_FALSE(ByteCell(FontMode::Digits, cs, ' ').Valid());
}

TEST(FontCells, CharsetSwitching) {
    FontCharset cs;
    EXPECT_EQ(cs.charset, 204);
    cs.Set(238);
    EXPECT_EQ(cs.selector, 1);
    EXPECT_EQ(cs.latinSubset, 1);
    cs.Set(0);
    EXPECT_EQ(cs.latinSubset, 0);
    cs.Set(238);
    cs.Set(161);  // another non-Cyrillic set keeps the sub-set chosen last
    EXPECT_EQ(cs.selector, 1);
    EXPECT_EQ(cs.latinSubset, 1);
    cs.Set(204);
    EXPECT_EQ(cs.selector, 0);
    EXPECT_EQ(cs.latinSubset, 1);
    EXPECT_EQ(cs.charset, 204);
}

TEST(FontCells, WideMap) {
    EXPECT_EQ(WideCell(FontMode::Text, u'Z'), C(26, 1));
    EXPECT_FALSE(WideCell(FontMode::Text, 0x7F).Valid());
    EXPECT_EQ(WideCell(FontMode::Text, u'Ж'), C(6, 3));
    EXPECT_EQ(WideCell(FontMode::Text, u'ж'), C(6, 4));
    EXPECT_EQ(WideCell(FontMode::Text, u'Ë'), C(0, 5));
    EXPECT_EQ(WideCell(FontMode::Text, u'ë'), C(1, 5));
    EXPECT_EQ(WideCell(FontMode::Text, u'Ö'), C(22, 6));
    EXPECT_EQ(WideCell(FontMode::Text, u'Ў'), C(20, 5));
    EXPECT_EQ(WideCell(FontMode::Text, u'Ř'), C(26, 5));
    EXPECT_EQ(WideCell(FontMode::Text, u'—'), C(13, 0));
    EXPECT_EQ(WideCell(FontMode::Text, u'…'), C(22, 5));
    EXPECT_EQ(WideCell(FontMode::Text, u'№'), C(16, 5));
    EXPECT_EQ(WideCell(FontMode::Text, u'€'), C(17, 5));
    EXPECT_EQ(WideCell(FontMode::Text, 0xA0), C(31, 2));
    EXPECT_EQ(WideCell(FontMode::Text, u'«'), C(18, 5));
    EXPECT_EQ(WideCell(FontMode::Text, u'°'), C(13, 5));
    EXPECT_FALSE(WideCell(FontMode::Text, u'Ą').Valid());
    EXPECT_FALSE(WideCell(FontMode::Text, u'中').Valid());
}

// Wherever a byte and its decoded UTF-16 character both have a cell, it is the same cell.
TEST(FontCells, ByteAndWideMapsAgree) {
    for (uint8_t charset : {uint8_t{204}, uint8_t{0}}) {
        const auto cs = Charset(charset);
        for (int b = 32; b < 256; ++b) {
            const std::string byte(1, static_cast<char>(b));
            const std::u16string u = DecodeText(byte, charset);
            ASSERT_EQ(u.size(), 1u);
            const FontCell bc = ByteCell(FontMode::Text, cs, static_cast<uint8_t>(b));
            const FontCell wc = WideCell(FontMode::Text, u[0]);
            if (b >= 0xC0 || (b >= 0x20 && b < 0x7F)) {
                EXPECT_TRUE(bc.Valid() && wc.Valid()) << charset << " " << b;
            }
            if (bc.Valid() && wc.Valid()) {
                EXPECT_EQ(bc, wc) << charset << " " << b;
            }
        }
    }
}

// A sheet given as a set of inked pixels.
struct Sheet {
    std::set<std::pair<int, int>> ink;
    void Cell(int col, int row, int x, int y, int cw = 12, int ch = 19) { ink.insert({col * cw + x, row * ch + y}); }
    std::function<bool(int, int)> Fn() const {
        return [this](int x, int y) { return ink.count({x, y}) > 0; };
    }
};

TEST(FontMargins, MeasuredOnceFromTheSheet) {
    Sheet s;
    s.Cell(1, 1, 4, 5);   // 'A': ink in columns 4 .. 7
    s.Cell(1, 1, 7, 12);
    s.Cell(2, 1, 1, 9);   // 'B': ink in column 1 only
    s.Cell(3, 1, 0, 9);   // 'C': ink only in column 0 (never scanned)
    s.Cell(4, 1, 11, 3);  // 'D': ink in the last column
    s.Cell(5, 1, 6, 0);   // 'E': ink only in row 0 (never scanned)
    s.Cell(0, 0, 2, 5);   // the space with ink: its left margin is 6 all the same
    s.Cell(0, 0, 5, 5);
    const BitmapFontMetrics m(FontMode::Text, 19, 12, s.Fn());
    EXPECT_EQ(m.LeftMargin(C(1, 1)), 2);
    EXPECT_EQ(m.RightMargin(C(1, 1)), 3);  // 12 - 7 - 2
    EXPECT_EQ(m.GlyphWidth(C(1, 1)), 6);   // one blank column, four inked, one blank
    EXPECT_EQ(m.LeftMargin(C(2, 1)), 0);
    EXPECT_EQ(m.RightMargin(C(2, 1)), 9);
    EXPECT_EQ(m.LeftMargin(C(3, 1)), 0);
    EXPECT_EQ(m.RightMargin(C(3, 1)), 0);
    EXPECT_EQ(m.LeftMargin(C(4, 1)), 9);
    EXPECT_EQ(m.RightMargin(C(4, 1)), 0);
    EXPECT_EQ(m.GlyphWidth(C(5, 1)), 11);  // empty
    EXPECT_EQ(m.LeftMargin(C(0, 0)), 6);
    EXPECT_EQ(m.RightMargin(C(0, 0)), 5);  // 12 - 5 - 2
    EXPECT_EQ(m.GlyphWidth(C(0, 0)), 12 - 6 - 5 - 1);

    EXPECT_EQ(m.TextWidth(std::string_view("AB")), 6 + 2);
    EXPECT_EQ(m.TextWidth(std::string_view("A\x01")), 6 + 12);  // no cell: the cell width
    EXPECT_EQ(m.TextWidth(std::u16string_view(u"A\u4e2d")), 6 + 12);
}

TEST(FontMargins, DigitsFontHasFixedMargins) {
    int asked = 0;
    const BitmapFontMetrics m(FontMode::Digits, 18, 11, [&](int, int) { return ++asked, true; });
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(m.GlyphWidth(C(0, 0)), 10);
    EXPECT_EQ(m.GlyphWidth(C(10, 0)), 8);
    EXPECT_EQ(m.TextWidth(std::string_view("1:02:05")), 5 * 10 + 2 * 8);
    EXPECT_EQ(m.TextWidth(std::string_view("1 k")), 10 + 11 + 11);
}

// ------------------------------------------------------------------ the generated sheets

struct Bitmap {
    int w = 0, h = 0;
    std::vector<uint32_t> px;  // 0x00RRGGBB, top-down
    bool Ink(int x, int y) const { return (px[static_cast<size_t>(y) * w + x] & 0xFFFFFF) != 0xFFFFFF; }
};

// Reads an uncompressed 24-bit BMP as the generator writes it.
Bitmap ReadBmp(const std::string& path) {
    Bitmap b;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return b;
    std::vector<unsigned char> d;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) d.insert(d.end(), buf, buf + n);
    std::fclose(f);
    auto u32 = [&](size_t o) { return d[o] | d[o + 1] << 8 | d[o + 2] << 16 | static_cast<uint32_t>(d[o + 3]) << 24; };
    if (d.size() < 54 || d[0] != 'B' || d[1] != 'M' || (d[28] | d[29] << 8) != 24) return b;
    const uint32_t offset = u32(10);
    b.w = static_cast<int>(u32(18));
    const int h = static_cast<int>(u32(22));
    b.h = h < 0 ? -h : h;
    const size_t stride = (static_cast<size_t>(b.w) * 3 + 3) & ~size_t{3};
    b.px.resize(static_cast<size_t>(b.w) * b.h);
    for (int y = 0; y < b.h; ++y) {
        const size_t row = offset + stride * static_cast<size_t>(h < 0 ? y : b.h - 1 - y);
        for (int x = 0; x < b.w; ++x) {
            const size_t o = row + static_cast<size_t>(x) * 3;
            b.px[static_cast<size_t>(y) * b.w + x] = d[o] | d[o + 1] << 8 | d[o + 2] << 16;
        }
    }
    return b;
}

std::string PicturePath(const char* name) {
    const char* bin = std::getenv("QLM_BINARY_DIR");
    std::string p = std::string(bin ? bin : ".") + "/src/app/skin/pictures/" + name + ".bmp";
#ifdef _WIN32
    for (auto& c : p)
        if (c == '/') c = '\\';
    p = "Z:" + p;
#endif
    return p;
}

TEST(GlyphSheets, TextSheetHoldsAGlyphInEveryMappedCellAndNoInkOutsideTheCopiedArea) {
    const Bitmap sheet = ReadBmp(PicturePath("BITMAPFONT"));
    ASSERT_EQ(sheet.w, 384);
    ASSERT_EQ(sheet.h, 152);
    auto inked = [&](FontCell c) {
        for (int y = 0; y < 19; ++y)
            for (int x = 0; x < 12; ++x)
                if (sheet.Ink(c.col * 12 + x, c.row * 19 + y)) return true;
        return false;
    };
    std::set<int> mapped;
    for (uint8_t charset : {uint8_t{204}, uint8_t{0}, uint8_t{238}})
        for (int b = 33; b < 256; ++b) {
            const FontCell c = ByteCell(FontMode::Text, Charset(charset), static_cast<uint8_t>(b));
            if (c.Valid() && b != 127 && b != 160) mapped.insert(c.Index());
        }
    for (char16_t u = 0x21; u < 0x2200; ++u) {
        const FontCell c = WideCell(FontMode::Text, u);
        if (c.Valid() && u != 0xA0) mapped.insert(c.Index());
    }
    for (int i : mapped) EXPECT_TRUE(inked(C(i % 32, i / 32))) << "cell " << i % 32 << "," << i / 32;
    EXPECT_FALSE(inked(C(0, 0)));   // space
    EXPECT_FALSE(inked(C(31, 2)));  // no-break space
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 32; ++col)
            for (int x = 0; x < 12; ++x)
                for (int y = 0; y < 19; ++y)
                    if (sheet.Ink(col * 12 + x, row * 19 + y)) {
                        ASSERT_TRUE(x >= 1 && y >= 2) << "cell " << col << "," << row << " pixel " << x << "," << y;
                    }

    // Margins of the real sheet leave every glyph at least one pixel of spacing.
    const BitmapFontMetrics m(FontMode::Text, 19, 12, [&](int x, int y) { return sheet.Ink(x, y); });
    for (int i : mapped) EXPECT_GE(m.GlyphWidth(C(i % 32, i / 32)), 3) << i;
    EXPECT_EQ(m.GlyphWidth(C(0, 0)), 5);  // an empty space cell
}

TEST(GlyphSheets, DigitsSheetInkStaysInsideTheCopiedColumns) {
    const Bitmap sheet = ReadBmp(PicturePath("BITMAPBIGFONT"));
    ASSERT_EQ(sheet.w, 352);
    ASSERT_EQ(sheet.h, 144);
    for (int col = 0; col < 32; ++col) {
        int inkCount = 0;
        for (int x = 0; x < 11; ++x)
            for (int y = 0; y < 18; ++y)
                if (sheet.Ink(col * 11 + x, y)) {
                    ++inkCount;
                    const int lastColumn = col == 10 ? 8 : 10;
                    EXPECT_TRUE(x >= 1 && x <= lastColumn && y >= 2) << col << ": " << x << "," << y;
                }
        EXPECT_EQ(inkCount > 0, col <= 12) << col;
    }
    for (int x = 0; x < sheet.w; ++x)
        for (int y = 18; y < sheet.h; ++y) ASSERT_FALSE(sheet.Ink(x, y));
}

}  // namespace
}  // namespace qlm
