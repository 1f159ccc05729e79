#include "pages/preview_html.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <climits>

#include "pages/preview_html_impl.h"

namespace qlm {

using namespace preview_detail;

namespace {

constexpr wchar_t kClassName[] = L"QlmPreviewHTML";

bool ValidUtf8WithHighBytes(std::string_view s) {
    bool high = false;
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        high = true;
        const size_t len = (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        for (size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        i += len;
    }
    return high;
}

std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else out.push_back(c);
    }
    return out;
}

}  // namespace

TPreviewHTML::TPreviewHTML() : impl_(std::make_unique<Impl>()) {}
TPreviewHTML::~TPreviewHTML() {
    if (hwnd()) {
        KillTimer(hwnd(), kAnimationTimer);
        Destroy();
    }
}

bool TPreviewHTML::Create(HWND parent, const RECT& bounds, int id) {
    try {
        RegisterWindowClass(kClassName, CS_DBLCLKS, nullptr);
        win::CreateParams p;
        p.className = kClassName;
        p.style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | WS_CLIPSIBLINGS;
        p.x = bounds.left;
        p.y = bounds.top;
        p.width = bounds.right - bounds.left;
        p.height = bounds.bottom - bounds.top;
        p.parent = parent;
        p.menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
        return win::Window::Create(p);
    } catch (...) {
        return false;
    }
}

void TPreviewHTML::SetBounds(const RECT& r) {
    if (hwnd()) MoveWindow(hwnd(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void TPreviewHTML::Show(bool visible) {
    if (hwnd()) ShowWindow(hwnd(), visible ? SW_SHOWNA : SW_HIDE);
}

namespace preview_detail {

std::u16string ReportedUrl(const html::Target& t, std::u16string_view written) {
    if (t.kind == html::LinkKind::External) return t.url;
    if (t.path.empty()) return std::u16string(written);
    std::u16string u = u"file:///" + t.path;
    for (size_t i = 8; i < u.size(); ++i)
        if (u[i] == '\\') u[i] = '/';
    if (u.rfind(u"file:////", 0) == 0) u.erase(5, 2);  // \\server\share
    if (!t.fragment.empty()) u += u"#" + t.fragment;
    return u;
}

bool AskBefore(const std::function<void(const std::u16string&, bool&)>& before, const std::u16string& url) {
    bool cancel = false;
    if (before) {
        try {
            before(url, cancel);
        } catch (...) {
        }
    }
    return !cancel;
}

void UpdateBars(HWND hwnd, TPreviewHTML::Impl& m) {
    m.scrollY = std::clamp(m.scrollY, 0, std::max(0, m.page.height - m.clientH));
    m.scrollX = std::clamp(m.scrollX, 0, std::max(0, m.page.width - m.clientW));
    SCROLLINFO si{sizeof(si), SIF_ALL | SIF_DISABLENOSCROLL, 0, std::max(0, m.page.height - 1),
                  static_cast<UINT>(std::max(0, m.clientH)), m.scrollY, 0};
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
    const bool wide = m.page.width > m.clientW && m.clientW > 0;
    SCROLLINFO sh{sizeof(sh), SIF_ALL, 0, wide ? m.page.width - 1 : 0, static_cast<UINT>(std::max(0, m.clientW)),
                  wide ? m.scrollX : 0, 0};
    SetScrollInfo(hwnd, SB_HORZ, &sh, TRUE);
    if (!wide) m.scrollX = 0;
}

}  // namespace preview_detail

void TPreviewHTML::Navigate(std::u16string_view address) {
    try {
        html::Target t = html::ResolveLink(address, impl_->pagePath);
        if (!AskBefore(OnBeforeNavigate, ReportedUrl(t, address))) return;
        if (t.kind == html::LinkKind::External) {
            if (OpenExternal) OpenExternal(t.url);
            return;
        }
        if (t.path.empty()) return;
        // The owner asked for this address: an unknown extension is read as a page.
        if (t.kind == html::LinkKind::Ignored || t.kind == html::LinkKind::Fragment) t.kind = html::LinkKind::Page;
        impl_->pending = Impl::Pending{t.path, t.fragment, t.kind, Impl::How::New, -1};
        if (hwnd()) PostMessageW(hwnd(), kMsgLoad, 0, 0);
    } catch (...) {
    }
}

void TPreviewHTML::GoBack() {
    try {
        Impl& m = *impl_;
        if (m.historyIndex <= 0) return;
        const Impl::HistoryEntry& e = m.history[static_cast<size_t>(m.historyIndex - 1)];
        html::Target t;
        t.kind = e.kind;
        t.path = e.path;
        t.fragment = e.fragment;
        if (!AskBefore(OnBeforeNavigate, ReportedUrl(t, e.path))) return;
        m.pending = Impl::Pending{e.path, e.fragment, e.kind, Impl::How::Move, m.historyIndex - 1};
        if (hwnd()) PostMessageW(hwnd(), kMsgLoad, 0, 0);
    } catch (...) {
    }
}

void TPreviewHTML::GoForward() {
    try {
        Impl& m = *impl_;
        if (m.historyIndex < 0 || m.historyIndex + 1 >= static_cast<int>(m.history.size())) return;
        const Impl::HistoryEntry& e = m.history[static_cast<size_t>(m.historyIndex + 1)];
        html::Target t;
        t.kind = e.kind;
        t.path = e.path;
        t.fragment = e.fragment;
        if (!AskBefore(OnBeforeNavigate, ReportedUrl(t, e.path))) return;
        m.pending = Impl::Pending{e.path, e.fragment, e.kind, Impl::How::Move, m.historyIndex + 1};
        if (hwnd()) PostMessageW(hwnd(), kMsgLoad, 0, 0);
    } catch (...) {
    }
}

void TPreviewHTML::Refresh() {
    try {
        Impl& m = *impl_;
        if (m.historyIndex < 0) return;
        const Impl::HistoryEntry& e = m.history[static_cast<size_t>(m.historyIndex)];
        m.pending = Impl::Pending{e.path, e.fragment, e.kind, Impl::How::Reload, m.historyIndex};
        if (hwnd()) PostMessageW(hwnd(), kMsgLoad, 0, 0);
    } catch (...) {
    }
}

std::string TPreviewHTML::LocationURL() const {
    try {
        if (!impl_->shown) return {};
        return html::FileUrl(impl_->pagePath, impl_->fragment);
    } catch (...) {
        return {};
    }
}

bool TPreviewHTML::CanGoBack() const { return impl_->historyIndex > 0; }
bool TPreviewHTML::CanGoForward() const {
    return impl_->historyIndex >= 0 && impl_->historyIndex + 1 < static_cast<int>(impl_->history.size());
}
std::u16string TPreviewHTML::Title() const { return impl_->page.title; }
std::u16string TPreviewHTML::SelectedText() const { return impl_->Selected(); }
int TPreviewHTML::ScrollY() const { return impl_->scrollY; }

void TPreviewHTML::SelectAll() {
    Impl& m = *impl_;
    if (m.page.textItems.empty()) return;
    m.anchor = {0, 0};
    const int last = static_cast<int>(m.page.textItems.size()) - 1;
    m.focus = {last, static_cast<int>(m.page.items[static_cast<size_t>(m.page.textItems.back())].text.size())};
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

bool TPreviewHTML::CopySelection() {
    const std::u16string text = impl_->Selected();
    if (text.empty() || !OpenClipboard(hwnd())) return false;
    EmptyClipboard();
    bool ok = false;
    if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
        if (auto* p = static_cast<wchar_t*>(GlobalLock(mem))) {
            std::copy(text.begin(), text.end(), p);
            p[text.size()] = 0;
            GlobalUnlock(mem);
            ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
        }
        if (!ok) GlobalFree(mem);
    }
    CloseClipboard();
    return ok;
}

bool TPreviewHTML::PointOfText(std::u16string_view text, POINT& client) const {
    const Impl& m = *impl_;
    for (int i : m.page.textItems) {
        const html::Item& it = m.page.items[static_cast<size_t>(i)];
        const size_t at = it.text.find(text);
        if (at == std::u16string::npos) continue;
        auto& meas = const_cast<html::GdiMeasurer&>(m.measurer);
        const int x0 = meas.Width(it.font, std::u16string_view(it.text).substr(0, at));
        const int w = meas.Width(it.font, text);
        client.x = it.x + x0 + w / 2 - m.scrollX;
        client.y = it.y + it.h / 2 - m.scrollY;
        return true;
    }
    return false;
}

LRESULT TPreviewHTML::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: FormCreate(); return 0;
    case WM_SIZE: FormResize(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: FormPaint(); return 0;
    case kMsgLoad: LoadPending(); return 0;
    case WM_VSCROLL: Scroll(SB_VERT, LOWORD(wParam)); return 0;
    case WM_HSCROLL: Scroll(SB_HORZ, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL: MouseWheel(GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    case WM_KEYDOWN: KeyDown(wParam); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: MouseDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_MOUSEMOVE: MouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, (wParam & MK_LBUTTON) != 0); return 0;
    case WM_LBUTTONUP: MouseUp({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && SetCursorForPoint()) return TRUE;
        break;
    case WM_TIMER:
        if (wParam == kAnimationTimer) AnimationTimer();
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd(), kAnimationTimer);
        if (impl_->tooltip) DestroyWindow(impl_->tooltip);
        impl_->tooltip = nullptr;
        break;
    }
    return Default(msg, wParam, lParam);
}

void TPreviewHTML::FormCreate() {
    Impl& m = *impl_;
    m.srcDc.reset(CreateCompatibleDC(nullptr));
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    m.tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                win::ModuleInstance(), nullptr);
    if (m.tooltip) {
        TTTOOLINFOW ti{};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = hwnd();
        ti.uId = reinterpret_cast<UINT_PTR>(hwnd());
        m.tipText = L" ";
        ti.lpszText = m.tipText.data();
        SendMessageW(m.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        SendMessageW(m.tooltip, TTM_SETMAXTIPWIDTH, 0, 600);
        SendMessageW(m.tooltip, TTM_ACTIVATE, FALSE, 0);
    }
    SCROLLINFO si{sizeof(si), SIF_ALL | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    SetScrollInfo(hwnd(), SB_VERT, &si, TRUE);
    ShowScrollBar(hwnd(), SB_HORZ, FALSE);
    if (m.pending) PostMessageW(hwnd(), kMsgLoad, 0, 0);
}

void TPreviewHTML::FormResize() {
    Impl& m = *impl_;
    RECT rc;
    GetClientRect(hwnd(), &rc);
    m.clientW = rc.right;
    m.clientH = rc.bottom;
    if (m.hasDocument && m.layoutWidth != m.clientW && m.clientW > 0) {
        // Keep the same part of the page in view: by its share of the height.
        const double share = m.page.height > 0 ? static_cast<double>(m.scrollY) / m.page.height : 0;
        m.Relayout(m.clientW);
        m.scrollY = static_cast<int>(share * m.page.height);
    }
    UpdateBars(hwnd(), m);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void TPreviewHTML::LoadPending() {
    Impl& m = *impl_;
    if (!m.pending) return;
    const Impl::Pending p = *m.pending;
    m.pending.reset();
    try {
        if (OnProgressChange) OnProgressChange(0, 100);
        if (m.historyIndex >= 0 && m.historyIndex < static_cast<int>(m.history.size()))
            m.history[static_cast<size_t>(m.historyIndex)].scrollY = m.scrollY;
        std::string bytes;
        const bool read = ReadWholeFile(FsPath(p.path), bytes);
        m.pictures.clear();
        m.animated = false;
        m.pagePath = p.path;
        m.Visit(preview_detail::Lower(p.path));
        m.fragment = p.fragment;
        m.shown = read;
        if (read) {
            if (p.kind == html::LinkKind::Text) {
                html::Charset cs = html::DetectCharset(bytes);
                if (cs == html::Charset::Windows1251 && ValidUtf8WithHighBytes(bytes)) cs = html::Charset::Utf8;
                m.doc = html::ParseUtf8("<html><body><pre>" + Escape(html::PageToUtf8(bytes, cs)) + "</pre></body></html>");
            } else if (p.kind == html::LinkKind::Picture) {
                const size_t slash = p.path.find_last_of(u'\\');
                const std::u16string name = slash == std::u16string::npos ? p.path : p.path.substr(slash + 1);
                m.doc = html::ParseUtf8("<html><body><img src=\"" + Escape(Utf16ToUtf8(name)) + "\"></body></html>");
            } else {
                m.doc = html::ParseDocument(bytes);
            }
        } else {
            m.doc = html::Document{};
            m.doc.nodes.emplace_back();
        }
        m.hasDocument = true;
        if (read) {
            if (p.how == Impl::How::New) {
                if (m.historyIndex + 1 < static_cast<int>(m.history.size())) m.history.resize(static_cast<size_t>(m.historyIndex + 1));
                m.history.push_back({p.path, p.fragment, p.kind, 0});
                m.historyIndex = static_cast<int>(m.history.size()) - 1;
            } else if (p.how == Impl::How::Move) {
                m.historyIndex = p.target;
            }
        }
        RECT rc;
        GetClientRect(hwnd(), &rc);
        m.clientW = rc.right;
        m.clientH = rc.bottom;
        m.Relayout(m.clientW);
        m.scrollX = 0;
        m.scrollY = 0;
        if (p.how != Impl::How::New && m.historyIndex >= 0) m.scrollY = m.history[static_cast<size_t>(m.historyIndex)].scrollY;
        if (!p.fragment.empty()) {
            auto it = m.page.anchors.find(Utf16ToUtf8(p.fragment));
            if (it != m.page.anchors.end()) m.scrollY = it->second;
        }
        UpdateBars(hwnd(), m);
        m.animationStart = GetTickCount();
        if (m.animated) SetTimer(hwnd(), kAnimationTimer, 50, nullptr);
        else KillTimer(hwnd(), kAnimationTimer);
        InvalidateRect(hwnd(), nullptr, FALSE);
    } catch (...) {
        m.shown = false;
    }
    try {
        if (OnCommandStateChange) {
            OnCommandStateChange(2, CanGoBack());
            OnCommandStateChange(1, CanGoForward());
        }
        if (OnDownloadComplete) OnDownloadComplete();
        if (OnProgressChange) OnProgressChange(-1, 0);
    } catch (...) {
    }
}

}  // namespace qlm
