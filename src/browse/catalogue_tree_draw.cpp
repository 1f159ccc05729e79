// The tree's owner drawing and its tool tips.
#include <windowsx.h>

#include <algorithm>

#include "app/skin_picture.h"
#include "browse/catalogue_browser.h"
#include "win/handles.h"

namespace qlm::browse {

// ---- drawing

void TCatalogueBrowser::DrawNodeText(HDC dc, const TRDataNode& node, const std::u16string& text, uint32_t colour,
                                     int x, int y, bool marker) {
    if (font_) {
        font_->SetCharset(CharsetOf(node));
        font_->Draw(std::u16string_view(text), dc, marker, colour, y, x);
        return;
    }
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    std::wstring w = win::Wide(text);
    TextOutW(dc, x, y, w.c_str(), static_cast<int>(w.size()));
}

int TCatalogueBrowser::TreeTextWidth(const std::u16string& text, HTREEITEM item) {
    const TRDataNode* node = NodeOf(item);
    if (font_) {
        if (node) font_->SetCharset(CharsetOf(*node));
        return font_->TextWidth(std::u16string_view(text));
    }
    win::WindowDc dc(tree_.hwnd());
    SIZE size{};
    std::wstring w = win::Wide(text);
    GetTextExtentPoint32W(dc.get(), w.c_str(), static_cast<int>(w.size()), &size);
    return size.cx;
}

void TCatalogueBrowser::DrawDottedFrame(HDC dc, const RECT& r) {
    // Black and yellow, pixel by pixel, all around.
    int i = 0;
    auto dot = [&](int x, int y) { SetPixelV(dc, x, y, (i++ & 1) ? RGB(255, 255, 0) : RGB(0, 0, 0)); };
    for (int x = r.left; x < r.right; ++x) dot(x, r.top);
    for (int y = r.top + 1; y < r.bottom; ++y) dot(r.right - 1, y);
    for (int x = r.right - 2; x >= r.left; --x) dot(x, r.bottom - 1);
    for (int y = r.bottom - 2; y > r.top; --y) dot(r.left, y);
}

void TCatalogueBrowser::DrawStateImage(HDC dc, uint8_t image, int x, int y) {
    // The images always lie on the tree colour (left of the text's fill), so
    // the pre-drawn copies give the same pixels as a masked draw.
    if (!paint_.DrawStateImage(dc, image, x, y) && images_)
        ImageList_Draw(images_, image, dc, x, y, ILD_TRANSPARENT);
}

bool TCatalogueBrowser::InTree(const TRDataNode& n) const { return withSongs_ || KeptInBook(n); }

bool TCatalogueBrowser::HasTreeChildren(const TRDataNode& n) const {
    for (const TRDataNode* c : n.Children)
        if (InTree(*c)) return true;
    return false;
}

bool TCatalogueBrowser::HasLaterSibling(const TRDataNode& n) const {
    const auto& siblings = cat_.Siblings(n);
    for (size_t i = static_cast<size_t>(n.SiblingIndex) + 1; i < siblings.size(); ++i)
        if (InTree(*siblings[i])) return true;
    return false;
}

void TCatalogueBrowser::TreeCustomDrawItem(HDC dc, HTREEITEM item, const TRDataNode& node, bool selected) {
    // Links, children and expansion come from the records: every question to
    // the control costs a search of all its items.
    RECT text{};
    if (!tree_.TextRect(item, text)) return;
    const std::u16string& caption = TextOf(node);
    const bool playing = play_.PlayingNode == &node;
    const int x = text.left + TextShift(node);
    if (font_) font_->SetCharset(CharsetOf(node));
    int width = font_ ? font_->TextWidth(std::u16string_view(caption)) : TreeTextWidth(caption, item);
    RECT fill{x, text.top, x + width + 3, text.bottom};
    const int cell = font_ ? font_->CellHeight() : 16;
    const int textDy = (text.bottom - text.top - cell) / 2;
    TTreePaintCache::RowKey key;
    key.node = node.ListIndex;
    key.colour = TreeTextColour(node, selected, playing);
    key.background = selected ? kSelectionBackground : kTreeBackground;
    key.charset = CharsetOf(node);
    key.marker = &node == visibleProxy_;
    // Without the bitmap font the text comes from the DC's own font: not kept.
    key.text = font_ ? &caption : nullptr;
    paint_.DrawTextRow(dc, fill, key, [&](HDC target, int left, int top) {
        DrawNodeText(target, node, caption, key.colour, left + 1, top + textDy, key.marker);
    });
    if (selected) DrawDottedFrame(dc, fill);

    // Expand box and connecting lines, in the control's own grey.
    const int boxLeft = text.left - 30, boxTop = text.top + 4;
    const int centreX = boxLeft + 4;
    const int midY = text.top + (text.bottom - text.top) / 2;
    auto vdots = [&](int lx, int y0, int y1) {
        for (int y = y0 + ((y0 ^ lx) & 1); y < y1; y += 2) SetPixelV(dc, lx, y, kLineColour);
    };
    bool hasNext = HasLaterSibling(node);
    bool hasPrev = node.Parent != nullptr || &node != cat_.FirstInTreeOrder();
    vdots(centreX, hasPrev ? text.top : midY, hasNext ? text.bottom : midY + 1);
    for (int lx = centreX + 2 - ((centreX + midY) & 1); lx < text.left - 18; lx += 2) SetPixelV(dc, lx, midY, kLineColour);
    int level = 1;
    for (const TRDataNode* a = node.Parent; a; a = a->Parent, ++level)
        if (HasLaterSibling(*a)) vdots(centreX - kTreeIndent * level, text.top, text.bottom);
    if (HasTreeChildren(node)) {
        RECT box{boxLeft, boxTop, boxLeft + 9, boxTop + 9};
        FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
        FrameRect(dc, &box, paint_.Brush(kLineColour));
        RECT minus{boxLeft + 2, boxTop + 4, boxLeft + 7, boxTop + 5};
        FillRect(dc, &minus, GetSysColorBrush(COLOR_WINDOWTEXT));
        if (node.Expanded != 1) {
            RECT bar{boxLeft + 4, boxTop + 2, boxLeft + 5, boxTop + 7};
            FillRect(dc, &bar, GetSysColorBrush(COLOR_WINDOWTEXT));
        }
    }
    DrawStateImage(dc, node.IsSong() ? StateImageOf(node) : node.StateImage, text.left - 18, text.top + 1);
}

LRESULT TCatalogueBrowser::TreeCustomDraw(NMTVCUSTOMDRAW& cd) {
    switch (cd.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: {
            auto item = reinterpret_cast<HTREEITEM>(cd.nmcd.dwItemSpec);
            const TRDataNode* node = cat_.Node(static_cast<int32_t>(cd.nmcd.lItemlParam));
            if (node) {
                bool selected = (cd.nmcd.uItemState & CDIS_SELECTED) != 0;
                TreeCustomDrawItem(cd.nmcd.hdc, item, *node, selected);
            }
            return CDRF_SKIPDEFAULT;
        }
        default:
            return CDRF_DODEFAULT;
    }
}

// ---- tool tips

void TCatalogueBrowser::TreeToolTipsText(HTREEITEM item, std::u16string& text) {
    while (!text.empty() && text.back() == u' ') text.pop_back();
    if (const TRDataNode* n = NodeOf(item); n && font_) font_->SetCharset(CharsetOf(*n));
}

void TCatalogueBrowser::TreeCustomDrawToolTips(HTREEITEM item, int stage, const std::u16string& text,
                                               bool& defaultDraw) {
    if (!Tips().hwnd()) return;
    const TRDataNode* node = NodeOf(item);
    if (!node || stage != static_cast<int>(TipStage::DoesNotFit)) {
        if (IsWindowVisible(Tips().hwnd())) Tips().HideTip();
        Tips().Node = nullptr;
        return;
    }
    defaultDraw = false;
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT rc{};
    tree_.TextRect(item, rc);
    MapWindowPoints(tree_.hwnd(), nullptr, reinterpret_cast<POINT*>(&rc), 2);
    if (IsWindowVisible(Tips().hwnd()) && Tips().Node == node) {
        RECT now{};
        GetWindowRect(Tips().hwnd(), &now);
        Tips().ShowAt(now.left, now.top);  // restarts the hide timer
        return;
    }
    const int border = GetSystemMetrics(SM_CXBORDER);
    const int width = TreeTextWidth(text, item) + 2 * (border + 2);
    const int height = rc.bottom - rc.top;
    Tips().SetClientSize(width, height);
    RECT all{0, 0, width, height};
    FillRect(Tips().Canvas(), &all, GetSysColorBrush(COLOR_INFOBK));
    int cell = font_ ? font_->CellHeight() : 16;
    DrawNodeText(Tips().Canvas(), *node, text, GetSysColor(COLOR_INFOTEXT), border + 2, (height - cell) / 2, false);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT frame{};
    GetWindowRect(Tips().hwnd(), &frame);
    Point at = PlaceToolTip({rc.left, rc.top, rc.right, rc.bottom}, cursor.y, GetSystemMetrics(SM_CYCURSOR) / 2,
                            frame.right - frame.left, frame.bottom - frame.top,
                            {work.left, work.top, work.right, work.bottom});
    Tips().Node = node;
    Tips().ShowAt(at.x, at.y);
}

}  // namespace qlm::browse
