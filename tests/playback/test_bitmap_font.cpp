// TMyFontClass drawing into memory bitmaps: pixels of black, coloured and
// white glyphs, advances, the fallback of characters without a cell, underline.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "app/skin_picture.h"
#include "playback/bitmap_font.h"
#include "win/handles.h"

namespace qlm {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0;

// A synthetic text sheet (cells 12 x 19): 'A' is a 3 x 4 block at cell
// columns 4..6, rows 5..8; 'B' has one black pixel and one grey one.
SkinPicture SyntheticSheet() {
    SkinPicture s = SkinPicture::Blank(32 * 12, 8 * 19);
    auto set = [&](int x, int y, uint32_t c) { s.Pixels()[y * s.Width() + x] = c; };
    for (int y = 5; y <= 8; ++y)
        for (int x = 4; x <= 6; ++x) set(1 * 12 + x, 1 * 19 + y, kBlack);  // 'A' = cell (1, 1)
    set(2 * 12 + 5, 1 * 19 + 6, kBlack);                                   // 'B' = cell (2, 1)
    set(2 * 12 + 6, 1 * 19 + 6, 0x808080);
    return s;
}

struct Canvas {
    SkinPicture pic;
    win::UniqueMemoryDc dc;
    HGDIOBJ old;
    Canvas(int w, int h, uint32_t fill) : pic(SkinPicture::Blank(w, h)), dc(CreateCompatibleDC(nullptr)) {
        std::fill(pic.Pixels(), pic.Pixels() + w * h, fill);
        old = SelectObject(dc.get(), pic.Handle());
    }
    ~Canvas() { SelectObject(dc.get(), old); }
    uint32_t At(int x, int y) {
        GdiFlush();
        return pic.PixelAt(x, y);
    }
};

class FontDrawing : public ::testing::Test {
protected:
    SkinPicture sheet = SyntheticSheet();
    TMyFontClass font{sheet.Handle(), FontMode::Text, 19, 12};
};

TEST_F(FontDrawing, BlackGlyphLandsAfterOneBlankColumnAndTwoRowsUp) {
    Canvas c(40, 20, kWhite);
    EXPECT_TRUE(font.Draw(std::string_view("A"), c.dc.get(), false, 0, 0, 10));
    // glyph copied from column 1 + left margin (2) = 3 and row 2 of the cell:
    // sheet column 4 lands at x 10 + 1, sheet row 5 at y 3
    EXPECT_EQ(c.At(10, 3), kWhite);
    EXPECT_EQ(c.At(11, 3), kBlack);
    EXPECT_EQ(c.At(13, 6), kBlack);
    EXPECT_EQ(c.At(14, 6), kWhite);
    EXPECT_EQ(c.At(11, 2), kWhite);
    EXPECT_EQ(c.At(11, 7), kWhite);
    EXPECT_EQ(font.TextWidth(std::string_view("A")), 5);
}

TEST_F(FontDrawing, ColouredGlyphKeepsTheBackgroundAroundIt) {
    const uint32_t green = 0x00C000, red = 0xC00000;
    Canvas c(40, 20, green);
    font.Draw(std::string_view("AB"), c.dc.get(), false, RGB(0xC0, 0, 0), 0, 0);
    EXPECT_EQ(c.At(1, 3), red);
    EXPECT_EQ(c.At(3, 6), red);
    EXPECT_EQ(c.At(0, 3), green);
    EXPECT_EQ(c.At(4, 6), green);
    // 'B' follows after A's 5 pixels: its black pixel in colour, its grey one
    // ANDs grey OR red onto the green (a darkened background, no colour of its own)
    const int bx = 5 + 1;  // B's left margin is 3: copy starts at sheet column 4, pixel 5 -> x + 1
    EXPECT_EQ(c.At(bx, 4), red);
    EXPECT_EQ(c.At(bx + 1, 4), (0xC00000u | 0x808080u) & green);
    // Drawing again in another colour refills the colour cell.
    Canvas c2(40, 20, kWhite);
    font.Draw(std::string_view("A"), c2.dc.get(), false, RGB(0, 0, 0xFF), 0, 0);
    EXPECT_EQ(c2.At(1, 3), 0x0000FFu);
}

TEST_F(FontDrawing, WhiteGlyphIsTheOrStepAlone) {
    const uint32_t dark = 0x202830;
    Canvas c(40, 20, dark);
    font.Draw(std::string_view("B"), c.dc.get(), false, RGB(255, 255, 255), 0, 0);
    EXPECT_EQ(c.At(1, 4), kWhite);
    EXPECT_EQ(c.At(2, 4), dark);  // the grey pixel is not drawn in white
}

TEST_F(FontDrawing, CharactersWithoutACellAndUnderline) {
    Canvas c(60, 20, kWhite);
    // A control character draws the space and answers false.
    EXPECT_FALSE(font.Draw(std::string_view("\x01" "A"), c.dc.get(), true, 0, 0, 0));
    const int space = font.Metrics().GlyphWidth(FontCell{0, 0});
    EXPECT_EQ(space, 5);
    EXPECT_EQ(c.At(space + 1, 3), kBlack);  // 'A' after the space
    // underline at y + cell height - 4 over the drawn width
    for (int x = 0; x < space + 5; ++x) EXPECT_EQ(c.At(x, 15), kBlack) << x;
    EXPECT_EQ(c.At(space + 5, 15), kWhite);
    EXPECT_TRUE(font.Draw(std::u16string_view(u"AB"), c.dc.get(), false, 0, 0, 30));
    EXPECT_FALSE(font.Draw(std::u16string_view(u"A\u4e2d"), c.dc.get(), false, 0, 0, 30));
}

TEST(FontResources, BothFontsLoadAndTheDigitsFontSkipsLetters) {
    auto text = CreateTextFont();
    auto digits = CreateDigitsFont();
    ASSERT_TRUE(text);
    ASSERT_TRUE(digits);
    EXPECT_EQ(text->CellHeight(), 19);
    EXPECT_EQ(digits->CellHeight(), 18);
    Canvas c(200, 20, kWhite);
    // A letter draws nothing, advances by cell width - 1 and makes Draw answer false.
    EXPECT_FALSE(digits->Draw(std::string_view("k1"), c.dc.get(), false, 0, 0, 0));
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < 18; ++y) ASSERT_EQ(c.At(x, y), kWhite);
    bool inked = false;
    for (int x = 10; x < 20; ++x)
        for (int y = 0; y < 16; ++y) inked |= c.At(x, y) == kBlack;
    EXPECT_TRUE(inked);
    EXPECT_EQ(digits->TextWidth(std::string_view("1:02:05")), 5 * 10 + 2 * 8);

    // Real glyphs: the drawn text spans exactly TextWidth.
    Canvas t(300, 20, kWhite);
    const std::u16string s = u"Привет, Queen!";
    EXPECT_TRUE(text->Draw(std::u16string_view(s), t.dc.get(), false, 0, 0, 0));
    int right = -1;
    for (int x = 0; x < 300; ++x)
        for (int y = 0; y < 17; ++y)
            if (t.At(x, y) != kWhite) right = x;
    const int w = text->TextWidth(std::u16string_view(s));
    EXPECT_LT(right, w);
    EXPECT_GE(right, w - 3);
}

}  // namespace
}  // namespace qlm
