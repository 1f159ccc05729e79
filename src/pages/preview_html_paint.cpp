// Painting the HTML view: background, boxes, borders, text, pictures and the selection.
#include <algorithm>
#include <climits>

#include "pages/preview_html_impl.h"

namespace qlm {

using namespace preview_detail;

namespace {

COLORREF Cr(html::Color c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

void Fill(HDC dc, int x, int y, int w, int h, COLORREF c) {
    if (w <= 0 || h <= 0) return;
    SetDCBrushColor(dc, c);
    RECT r{x, y, x + w, y + h};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void DrawPicture(HDC dc, HDC src, HBITMAP bmp, bool alpha, int x, int y, int w, int h, int pw, int ph) {
    if (!bmp || w <= 0 || h <= 0) return;
    HGDIOBJ old = SelectObject(src, bmp);
    if (alpha) {
        BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, x, y, w, h, src, 0, 0, pw, ph, bf);
    } else if (w == pw && h == ph) {
        BitBlt(dc, x, y, w, h, src, 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(dc, w < pw || h < ph ? HALFTONE : COLORONCOLOR);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, x, y, w, h, src, 0, 0, pw, ph, SRCCOPY);
    }
    SelectObject(src, old);
}

}  // namespace

void TPreviewHTML::FormPaint() {
    Impl& m = *impl_;
    win::PaintScope ps(hwnd());
    RECT rc;
    GetClientRect(hwnd(), &rc);
    if (rc.right <= 0 || rc.bottom <= 0) return;
    if (!m.backDc || m.backSize.cx < rc.right || m.backSize.cy < rc.bottom) {
        if (m.backDc && m.backOld) SelectObject(m.backDc.get(), m.backOld);
        m.backDc.reset(CreateCompatibleDC(ps.dc()));
        m.backBitmap.reset(CreateCompatibleBitmap(ps.dc(), rc.right, rc.bottom));
        m.backOld = SelectObject(m.backDc.get(), m.backBitmap.get());
        m.backSize = {rc.right, rc.bottom};
    }
    HDC dc = m.backDc.get();
    const RECT& clip = ps.rect();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    SelectObject(dc, GetStockObject(DC_PEN));
    Fill(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, Cr(m.page.background));
    const int ox = m.scrollX, oy = m.scrollY;
    const DWORD now = GetTickCount();
    auto tile = [&](int url, int x, int y, int w, int h) {
        if (url < 0) return;
        Impl::PictureEntry* e = m.PictureFor(m.page.urls[static_cast<size_t>(url)]);
        if (!e || !e->ok || e->pic.width <= 0 || e->pic.height <= 0) return;
        HBITMAP bmp = m.FrameBitmap(*e, 0);
        const int pw = e->pic.width, ph = e->pic.height;
        const int left = std::max(x, static_cast<int>(clip.left)), top = std::max(y, static_cast<int>(clip.top));
        const int right = std::min(x + w, static_cast<int>(clip.right)), bottom = std::min(y + h, static_cast<int>(clip.bottom));
        if (left >= right || top >= bottom) return;
        const int s2 = SaveDC(dc);
        IntersectClipRect(dc, left, top, right, bottom);
        const int tx0 = x + (left - x) / pw * pw, ty0 = y + (top - y) / ph * ph;
        for (int ty = ty0; ty < bottom; ty += ph)
            for (int tx = tx0; tx < right; tx += pw) DrawPicture(dc, m.srcDc.get(), bmp, e->pic.transparent, tx, ty, pw, ph, pw, ph);
        RestoreDC(dc, s2);
    };
    if (m.page.backgroundImage >= 0) {
        // The page's picture scrolls with the page.
        const int x0 = -ox, y0 = -oy;
        tile(m.page.backgroundImage, x0, y0, std::max(m.page.width, m.clientW) + ox, std::max(m.page.height, m.clientH) + oy);
    }
    std::vector<int> items;
    m.ItemsIn(oy + clip.top, oy + clip.bottom, items);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    for (int i : items) {
        const html::Item& it = m.page.items[static_cast<size_t>(i)];
        const int x = it.x - ox, y = it.y - oy;
        if (x > clip.right || x + it.w < clip.left) continue;
        switch (it.kind) {
        case html::ItemKind::Fill: Fill(dc, x, y, it.w, it.h, Cr(it.color)); break;
        case html::ItemKind::BackgroundImage: tile(it.url, x, y, it.w, it.h); break;
        case html::ItemKind::Border: {
            const COLORREF solid = Cr(it.color);
            const COLORREF dark = it.inset ? RGB(128, 128, 128) : solid, light = it.inset ? RGB(255, 255, 255) : solid;
            Fill(dc, x, y, it.w, it.border[html::kTop], dark);
            Fill(dc, x, y, it.border[html::kLeft], it.h, dark);
            Fill(dc, x, y + it.h - it.border[html::kBottom], it.w, it.border[html::kBottom], light);
            Fill(dc, x + it.w - it.border[html::kRight], y, it.border[html::kRight], it.h, light);
            break;
        }
        case html::ItemKind::Bullet: {
            SetDCBrushColor(dc, Cr(it.color));
            SetDCPenColor(dc, Cr(it.color));
            if (it.bullet == html::BulletShape::Square) {
                Fill(dc, x, y, it.w, it.h, Cr(it.color));
            } else {
                HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(it.bullet == html::BulletShape::Disc ? DC_BRUSH : NULL_BRUSH));
                Ellipse(dc, x, y, x + it.w, y + it.h);
                SelectObject(dc, oldBrush);
            }
            break;
        }
        case html::ItemKind::Image: {
            Impl::PictureEntry* e = it.url >= 0 ? m.PictureFor(m.page.urls[static_cast<size_t>(it.url)]) : nullptr;
            if (e && e->ok) {
                const int frame = m.FrameAt(*e, now);
                e->shownFrame = frame;
                DrawPicture(dc, m.srcDc.get(), m.FrameBitmap(*e, frame), e->pic.transparent, x, y, it.w, it.h, e->pic.width,
                            e->pic.height);
            } else {
                // A picture that cannot be read: its box and its alt text.
                Fill(dc, x, y, it.w, 1, RGB(128, 128, 128));
                Fill(dc, x, y, 1, it.h, RGB(128, 128, 128));
                Fill(dc, x, y + it.h - 1, it.w, 1, RGB(220, 220, 220));
                Fill(dc, x + it.w - 1, y, 1, it.h, RGB(220, 220, 220));
                if (!it.text.empty() && it.font >= 0) {
                    const int s2 = SaveDC(dc);
                    IntersectClipRect(dc, x + 1, y + 1, x + it.w - 1, y + it.h - 1);
                    SelectObject(dc, m.measurer.Font(it.font));
                    SetTextColor(dc, Cr(it.color));
                    ExtTextOutW(dc, x + 3, y + 3, 0, nullptr, reinterpret_cast<const wchar_t*>(it.text.data()),
                                static_cast<UINT>(it.text.size()), nullptr);
                    RestoreDC(dc, s2);
                }
            }
            break;
        }
        case html::ItemKind::Text: {
            SelectObject(dc, m.measurer.Font(it.font));
            const bool visitedLink = it.link >= 0 && it.color == m.page.linkColor && m.LinkVisited(it.link);
            SetTextColor(dc, Cr(visitedLink ? m.page.visitedLinkColor : it.color));
            const auto* text = reinterpret_cast<const wchar_t*>(it.text.data());
            m.measurer.Advances(it.font, it.text, m.advances);
            ExtTextOutW(dc, x, y, 0, nullptr, text, static_cast<UINT>(it.text.size()), m.advances.data());
            int from = 0, to = 0;
            const int order = m.orderOfItem[static_cast<size_t>(i)];
            if (order >= 0 && m.SelectedRange(order, from, to)) {
                const std::u16string_view view(it.text);
                const int x0 = x + m.measurer.Width(it.font, view.substr(0, static_cast<size_t>(from)));
                const int w = m.measurer.Width(it.font, view.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
                Fill(dc, x0, y, w, it.h, highlight);
                SetTextColor(dc, highlightText);
                ExtTextOutW(dc, x0, y, 0, nullptr, text + from, static_cast<UINT>(to - from), m.advances.data() + from);
            }
            break;
        }
        }
    }
    RestoreDC(dc, saved);
    BitBlt(ps.dc(), clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, dc, clip.left, clip.top, SRCCOPY);
}

}  // namespace qlm
