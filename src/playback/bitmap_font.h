// TMyFontClass: the bitmap font of every skinned text, cut from a glyph sheet
// (black glyphs on white, 32 x 8 cells) and drawn with raster operations only.
#pragma once

#include <windows.h>

#include <memory>
#include <string_view>

#include "app/skin_picture.h"
#include "playback/bitmap_font_map.h"
#include "win/handles.h"

namespace qlm {

class TMyFontClass {
public:
    // Copies the sheet; in text mode the margins are measured here, once.
    TMyFontClass(HBITMAP sheet, FontMode mode, int cellHeight, int cellWidth);
    TMyFontClass(const TMyFontClass&) = delete;
    TMyFontClass& operator=(const TMyFontClass&) = delete;
    ~TMyFontClass();

    void SetCharset(uint8_t charset) { metrics_.SetCharset(charset); }
    uint8_t Charset() const { return metrics_.Charset().charset; }
    int TextWidth(std::string_view text) const { return metrics_.TextWidth(text); }
    int TextWidth(std::u16string_view text) const { return metrics_.TextWidth(text); }
    int CellHeight() const { return metrics_.CellHeight(); }
    const BitmapFontMetrics& Metrics() const { return metrics_; }

    // Draws at (x, y) in the colour (0 black, 0xFFFFFF white, any COLORREF);
    // answers false when a character had no cell.
    bool Draw(std::string_view text, HDC canvas, bool underline, COLORREF colour, int y, int x);
    bool Draw(std::u16string_view text, HDC canvas, bool underline, COLORREF colour, int y, int x);

private:
    template <class Text>
    bool DrawText(Text text, HDC canvas, bool underline, COLORREF colour, int y, int x);
    void DrawCell(FontCell cell, HDC canvas, COLORREF colour, int x, int y);

    SkinPicture sheet_;
    SkinPicture inverted_;
    SkinPicture colourCell_;
    SkinPicture workCell_;
    win::UniqueMemoryDc sheetDc_, invertedDc_, colourDc_, workDc_;
    HGDIOBJ oldSheet_ = nullptr, oldInverted_ = nullptr, oldColour_ = nullptr, oldWork_ = nullptr;
    COLORREF lastFill_ = 0;
    BitmapFontMetrics metrics_;
};

// The two fonts of the program, from the resources "BitmapFont" (text, cells
// 12 x 19) and "BitmapBigFont" (digits, cells 11 x 18); null when missing.
std::unique_ptr<TMyFontClass> CreateTextFont();
std::unique_ptr<TMyFontClass> CreateDigitsFont();

}  // namespace qlm
