// The HTML view's scrolling, keyboard, mouse (selection, links) and animation.
#include "pages/preview_html_impl.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <climits>

namespace qlm {

using namespace preview_detail;

namespace {

void ScrollTo(HWND hwnd, TPreviewHTML::Impl& m, int x, int y) {
    const int oldX = m.scrollX, oldY = m.scrollY;
    m.scrollX = x;
    m.scrollY = y;
    UpdateBars(hwnd, m);
    if (m.scrollX != oldX || m.scrollY != oldY) InvalidateRect(hwnd, nullptr, FALSE);
}

}  // namespace

void TPreviewHTML::Scroll(int bar, int code) {
    Impl& m = *impl_;
    SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(hwnd(), bar, &si);
    int pos = bar == SB_VERT ? m.scrollY : m.scrollX;
    const int pageSize = bar == SB_VERT ? m.clientH : m.clientW;
    switch (code) {
    case SB_LINEUP: pos -= kLine; break;
    case SB_LINEDOWN: pos += kLine; break;
    case SB_PAGEUP: pos -= std::max(kLine, pageSize - kLine); break;
    case SB_PAGEDOWN: pos += std::max(kLine, pageSize - kLine); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = INT_MAX / 2; break;
    default: return;
    }
    if (bar == SB_VERT) ScrollTo(hwnd(), m, m.scrollX, pos);
    else ScrollTo(hwnd(), m, pos, m.scrollY);
}

void TPreviewHTML::MouseWheel(int delta) {
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    if (lines == WHEEL_PAGESCROLL) lines = static_cast<UINT>(std::max(1, impl_->clientH / 19));
    ScrollTo(hwnd(), *impl_, impl_->scrollX, impl_->scrollY - delta * static_cast<int>(lines) * 19 / WHEEL_DELTA);
}

void TPreviewHTML::KeyDown(WPARAM key) {
    Impl& m = *impl_;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const int pageStep = std::max(kLine, m.clientH - kLine);
    switch (key) {
    case VK_UP: ScrollTo(hwnd(), m, m.scrollX, m.scrollY - kLine); break;
    case VK_DOWN: ScrollTo(hwnd(), m, m.scrollX, m.scrollY + kLine); break;
    case VK_LEFT: ScrollTo(hwnd(), m, m.scrollX - kLine, m.scrollY); break;
    case VK_RIGHT: ScrollTo(hwnd(), m, m.scrollX + kLine, m.scrollY); break;
    case VK_PRIOR: ScrollTo(hwnd(), m, m.scrollX, m.scrollY - pageStep); break;
    case VK_NEXT:
    case VK_SPACE: ScrollTo(hwnd(), m, m.scrollX, m.scrollY + pageStep); break;
    case VK_HOME: ScrollTo(hwnd(), m, ctrl ? 0 : m.scrollX, 0); break;
    case VK_END: ScrollTo(hwnd(), m, m.scrollX, INT_MAX / 2); break;
    case 'A':
        if (ctrl) SelectAll();
        break;
    case 'C':
    case VK_INSERT:
        if (ctrl) CopySelection();
        break;
    default: break;
    }
}

void TPreviewHTML::MouseDown(POINT pt) {
    Impl& m = *impl_;
    SetFocus(hwnd());
    SetCapture(hwnd());
    m.selecting = true;
    m.dragged = false;
    m.downPoint = pt;
    m.downLink = m.LinkAt(pt.x + m.scrollX, pt.y + m.scrollY);
    const bool had = m.HasSelection();
    m.anchor = m.focus = m.HitText(pt.x + m.scrollX, pt.y + m.scrollY);
    if (had) InvalidateRect(hwnd(), nullptr, FALSE);
}

void TPreviewHTML::MouseMove(POINT pt, bool buttonDown) {
    Impl& m = *impl_;
    const int link = m.LinkAt(pt.x + m.scrollX, pt.y + m.scrollY);
    if (link != m.hoverLink) {
        m.hoverLink = link;
        if (m.tooltip) {
            SendMessageW(m.tooltip, TTM_POP, 0, 0);
            if (link >= 0) {
                const std::string& href = m.page.links[static_cast<size_t>(link)];
                const std::u16string written = Utf8ToUtf16(href);
                const html::Target t = html::ResolveLink(written, m.pagePath);
                const std::u16string shown = t.kind == html::LinkKind::External ? t.url
                                             : t.path.empty()                   ? written
                                                                                : t.path + (t.fragment.empty() ? u"" : u"#" + t.fragment);
                m.tipText = win::Wide(shown);
                TTTOOLINFOW ti{};
                ti.cbSize = TTTOOLINFOW_V2_SIZE;
                ti.hwnd = hwnd();
                ti.uId = reinterpret_cast<UINT_PTR>(hwnd());
                ti.lpszText = m.tipText.data();
                SendMessageW(m.tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
            }
            SendMessageW(m.tooltip, TTM_ACTIVATE, link >= 0, 0);
        }
    }
    if (!m.selecting || !buttonDown) return;
    if (std::abs(pt.x - m.downPoint.x) > 3 || std::abs(pt.y - m.downPoint.y) > 3) m.dragged = true;
    if (!m.dragged) return;
    // Dragging past the edge scrolls the page along.
    if (pt.y < 0) ScrollTo(hwnd(), m, m.scrollX, m.scrollY - kLine / 2);
    if (pt.y > m.clientH) ScrollTo(hwnd(), m, m.scrollX, m.scrollY + kLine / 2);
    const Impl::Pos p = m.HitText(pt.x + m.scrollX, pt.y + m.scrollY);
    if (!(p == m.focus)) {
        m.focus = p;
        InvalidateRect(hwnd(), nullptr, FALSE);
    }
}

void TPreviewHTML::MouseUp(POINT pt) {
    Impl& m = *impl_;
    if (GetCapture() == hwnd()) ReleaseCapture();
    const bool click = m.selecting && !m.dragged;
    m.selecting = false;
    if (!click) return;
    m.anchor = m.focus = Impl::Pos{};
    const int link = m.LinkAt(pt.x + m.scrollX, pt.y + m.scrollY);
    if (link < 0 || link != m.downLink) return;
    try {
        const std::u16string written = Utf8ToUtf16(m.page.links[static_cast<size_t>(link)]);
        const html::Target t = html::ResolveLink(written, m.pagePath);
        if (!AskBefore(OnBeforeNavigate, ReportedUrl(t, written))) return;
        if (t.kind == html::LinkKind::External) {
            m.Visit(Impl::VisitKey(t));
            InvalidateRect(hwnd(), nullptr, FALSE);
        }
        switch (t.kind) {
        case html::LinkKind::Page:
        case html::LinkKind::Text:
        case html::LinkKind::Picture:
            m.pending = Impl::Pending{t.path, t.fragment, t.kind, Impl::How::New, -1};
            PostMessageW(hwnd(), kMsgLoad, 0, 0);
            break;
        case html::LinkKind::Fragment: {
            auto it = m.page.anchors.find(Utf16ToUtf8(t.fragment));
            if (it != m.page.anchors.end()) ScrollTo(hwnd(), m, m.scrollX, it->second);
            m.fragment = t.fragment;
            break;
        }
        case html::LinkKind::External:
            if (OpenExternal) OpenExternal(t.url);
            else ShellExecuteW(nullptr, L"open", win::Wide(t.url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            break;
        case html::LinkKind::Ignored: break;
        }
    } catch (...) {
    }
}

bool TPreviewHTML::SetCursorForPoint() {
    Impl& m = *impl_;
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(hwnd(), &pt);
    const bool onLink = m.LinkAt(pt.x + m.scrollX, pt.y + m.scrollY) >= 0;
    SetCursor(LoadCursorW(nullptr, onLink ? IDC_HAND : IDC_ARROW));
    return true;
}

void TPreviewHTML::AnimationTimer() {
    Impl& m = *impl_;
    if (!m.animated || !IsWindowVisible(hwnd())) return;
    const DWORD now = GetTickCount();
    std::vector<int> visible;
    m.ItemsIn(m.scrollY, m.scrollY + m.clientH, visible);
    for (int i : visible) {
        const html::Item& it = m.page.items[static_cast<size_t>(i)];
        if (it.kind != html::ItemKind::Image || it.url < 0) continue;
        Impl::PictureEntry* e = m.PictureFor(m.page.urls[static_cast<size_t>(it.url)]);
        if (!e || !e->ok || !e->pic.Animated()) continue;
        if (m.FrameAt(*e, now) != e->shownFrame) {
            RECT r{it.x - m.scrollX, it.y - m.scrollY, it.x - m.scrollX + it.w, it.y - m.scrollY + it.h};
            InvalidateRect(hwnd(), &r, FALSE);
        }
    }
}

}  // namespace qlm
