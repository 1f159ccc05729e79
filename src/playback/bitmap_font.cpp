#include "playback/bitmap_font.h"

#include <algorithm>

namespace qlm {

namespace {

SkinPicture InvertedOf(const SkinPicture& sheet) {
    // Black glyph pixels become white, everything else black: ORed first, it
    // clears the glyph's footprint to white so the AND that follows sets it.
    SkinPicture inv = SkinPicture::Blank(sheet.Width(), sheet.Height());
    const int n = sheet.Width() * sheet.Height();
    for (int i = 0; i < n; ++i) inv.Pixels()[i] = (sheet.Pixels()[i] & 0xFFFFFFu) == 0 ? 0xFFFFFFu : 0;
    return inv;
}

}  // namespace

TMyFontClass::TMyFontClass(HBITMAP sheet, FontMode mode, int cellHeight, int cellWidth)
    : sheet_(SkinPicture::CopyOf(sheet)),
      inverted_(InvertedOf(sheet_)),
      colourCell_(SkinPicture::Blank(cellWidth, cellHeight - 2)),
      workCell_(SkinPicture::Blank(cellWidth, cellHeight - 2)),
      metrics_(mode, cellHeight, cellWidth, [this](int x, int y) {
          if (x >= sheet_.Width() || y >= sheet_.Height()) return false;
          return sheet_.PixelAt(x, y) != 0xFFFFFFu;
      }) {
    sheetDc_.reset(CreateCompatibleDC(nullptr));
    invertedDc_.reset(CreateCompatibleDC(nullptr));
    colourDc_.reset(CreateCompatibleDC(nullptr));
    workDc_.reset(CreateCompatibleDC(nullptr));
    oldSheet_ = SelectObject(sheetDc_.get(), sheet_.Handle());
    oldInverted_ = SelectObject(invertedDc_.get(), inverted_.Handle());
    oldColour_ = SelectObject(colourDc_.get(), colourCell_.Handle());
    oldWork_ = SelectObject(workDc_.get(), workCell_.Handle());
    // The colour cell starts black, matching the remembered fill colour 0.
    if (!colourCell_.Empty())
        std::fill(colourCell_.Pixels(), colourCell_.Pixels() + colourCell_.Width() * colourCell_.Height(), 0u);
}

TMyFontClass::~TMyFontClass() {
    if (sheetDc_) SelectObject(sheetDc_.get(), oldSheet_);
    if (invertedDc_) SelectObject(invertedDc_.get(), oldInverted_);
    if (colourDc_) SelectObject(colourDc_.get(), oldColour_);
    if (workDc_) SelectObject(workDc_.get(), oldWork_);
}

void TMyFontClass::DrawCell(FontCell cell, HDC canvas, COLORREF colour, int x, int y) {
    const int cw = metrics_.CellWidth(), ch = metrics_.CellHeight();
    const int sx = cell.col * cw + 1 + metrics_.LeftMargin(cell);
    const int sy = cell.row * ch + 2;
    const int w = metrics_.GlyphWidth(cell), h = ch - 2;
    if (w <= 0) return;
    BitBlt(canvas, x, y, w, h, invertedDc_.get(), sx, sy, SRCPAINT);
    colour &= 0xFFFFFFu;
    if (colour == 0) {
        BitBlt(canvas, x, y, w, h, sheetDc_.get(), sx, sy, SRCAND);
    } else if (colour != 0xFFFFFFu) {
        if (colour != lastFill_) {
            RECT r{0, 0, cw, h};
            win::UniqueBrush brush(CreateSolidBrush(colour));
            FillRect(colourDc_.get(), &r, brush.get());
            lastFill_ = colour;
        }
        BitBlt(workDc_.get(), 0, 0, w, h, colourDc_.get(), 0, 0, SRCCOPY);
        BitBlt(workDc_.get(), 0, 0, w, h, sheetDc_.get(), sx, sy, SRCPAINT);
        BitBlt(canvas, x, y, w, h, workDc_.get(), 0, 0, SRCAND);
    }
}

template <class Text>
bool TMyFontClass::DrawText(Text text, HDC canvas, bool underline, COLORREF colour, int y, int x) {
    bool allFound = true;
    const int start = x;
    for (auto ch : text) {
        FontCell cell;
        if constexpr (sizeof(ch) == 1)
            cell = metrics_.CellOf(static_cast<uint8_t>(ch));
        else
            cell = metrics_.CellOf(static_cast<char16_t>(ch));
        if (!cell.Valid()) {
            allFound = false;
            if (metrics_.Mode() == FontMode::Digits) {
                x += metrics_.CellWidth() - 1;
                continue;
            }
            cell = FontCell{0, 0};  // the text font shows the space instead
        }
        DrawCell(cell, canvas, colour, x, y);
        x += metrics_.GlyphWidth(cell);
    }
    if (underline && x > start) {
        win::UniquePen pen(CreatePen(PS_SOLID, 1, colour & 0xFFFFFFu));
        win::SelectScope sel(canvas, pen.get());
        const int ly = y + metrics_.CellHeight() - 4;
        MoveToEx(canvas, start, ly, nullptr);
        LineTo(canvas, x, ly);
    }
    return allFound;
}

bool TMyFontClass::Draw(std::string_view text, HDC canvas, bool underline, COLORREF colour, int y, int x) {
    return DrawText(text, canvas, underline, colour, y, x);
}

bool TMyFontClass::Draw(std::u16string_view text, HDC canvas, bool underline, COLORREF colour, int y, int x) {
    return DrawText(text, canvas, underline, colour, y, x);
}

namespace {

std::unique_ptr<TMyFontClass> FontFromResource(const wchar_t* name, FontMode mode, int cellHeight, int cellWidth) {
    SkinPicture sheet = LoadSkinPicture(std::wstring_view(name));
    if (sheet.Empty()) return nullptr;
    return std::make_unique<TMyFontClass>(sheet.Handle(), mode, cellHeight, cellWidth);
}

}  // namespace

std::unique_ptr<TMyFontClass> CreateTextFont() { return FontFromResource(L"BitmapFont", FontMode::Text, 19, 12); }
std::unique_ptr<TMyFontClass> CreateDigitsFont() {
    return FontFromResource(L"BitmapBigFont", FontMode::Digits, 18, 11);
}

}  // namespace qlm
