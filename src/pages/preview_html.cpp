#include "pages/preview_html.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <unordered_map>

#include "base/file_path.h"
#include "base/text_codec.h"
#include "pages/html/document.h"
#include "pages/html/gdi_measurer.h"
#include "pages/html/layout.h"
#include "pages/html/page_url.h"
#include "pages/html/style.h"
#include "pages/picture_loader.h"
#include "win/handles.h"

namespace qlm {
namespace {

constexpr wchar_t kClassName[] = L"QlmPreviewHTML";
constexpr UINT kMsgLoad = WM_APP + 0x51;
constexpr UINT_PTR kAnimationTimer = 1;
constexpr int kBand = 256;
constexpr int kLine = 40;

COLORREF Cr(html::Color c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

std::u16string Lower(std::u16string s) {
    for (char16_t& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c - 'A' + 'a');
    return s;
}

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

struct TPreviewHTML::Impl : html::ImageSizer {
    struct PictureEntry {
        bool ok = false;
        pictures::Picture pic;
        std::vector<win::UniqueBitmap> bitmaps;
        int totalDelay = 0;
        int shownFrame = 0;
    };
    struct HistoryEntry {
        std::u16string path;
        std::u16string fragment;
        html::LinkKind kind = html::LinkKind::Page;
        int scrollY = 0;
    };
    enum class How { New, Move, Reload };
    struct Pending {
        std::u16string path, fragment;
        html::LinkKind kind = html::LinkKind::Page;
        How how = How::New;
        int target = -1;  // Move: the history entry
    };
    struct Pos {
        int order = -1;
        int offset = 0;
        bool operator<(const Pos& o) const { return order != o.order ? order < o.order : offset < o.offset; }
        bool operator==(const Pos& o) const { return order == o.order && offset == o.offset; }
    };

    html::GdiMeasurer measurer;
    html::Document doc;
    html::LayoutResult page;
    bool hasDocument = false;
    bool shown = false;  // a page was read: LocationURL names it
    std::u16string pagePath;
    std::u16string fragment;
    std::vector<HistoryEntry> history;
    int historyIndex = -1;
    std::optional<Pending> pending;

    int scrollX = 0, scrollY = 0;
    int clientW = 0, clientH = 0;
    int layoutWidth = -1;
    std::unordered_map<std::u16string, PictureEntry> pictures;
    std::vector<std::vector<int>> bands;
    std::vector<uint32_t> stamp;
    uint32_t stampNo = 0;
    std::vector<int> orderOfItem;

    Pos anchor, focus;
    bool selecting = false;
    bool dragged = false;
    POINT downPoint{};
    int downLink = -1;
    int hoverLink = -1;
    HWND tooltip = nullptr;
    std::wstring tipText;

    win::UniqueMemoryDc backDc;
    win::UniqueBitmap backBitmap;
    HGDIOBJ backOld = nullptr;
    SIZE backSize{0, 0};
    win::UniqueMemoryDc srcDc;
    std::vector<INT> advances;  // scratch for painting
    DWORD animationStart = 0;
    bool animated = false;

    ~Impl() override {
        if (backDc && backOld) SelectObject(backDc.get(), backOld);
    }

    // ---- Pictures ----
    std::u16string PicturePath(const std::string& url) const {
        const html::Target t = html::ResolveLink(Utf8ToUtf16(url), pagePath);
        if (t.kind == html::LinkKind::External || t.path.empty()) return {};
        return t.path;
    }
    PictureEntry* PictureFor(const std::string& url) {
        const std::u16string path = PicturePath(url);
        if (path.empty()) return nullptr;
        const std::u16string key = Lower(path);
        auto it = pictures.find(key);
        if (it != pictures.end()) return &it->second;
        PictureEntry e;
        e.ok = pictures::Load(FsPath(path), e.pic);
        for (const pictures::Frame& f : e.pic.frames) e.totalDelay += f.delayMs;
        if (e.pic.Animated()) animated = true;
        return &pictures.emplace(key, std::move(e)).first->second;
    }
    bool ImageSize(const std::string& url, int& w, int& h) override {
        PictureEntry* e = PictureFor(url);
        if (!e || !e->ok) return false;
        w = e->pic.width;
        h = e->pic.height;
        return true;
    }
    int FrameAt(const PictureEntry& e, DWORD now) const {
        if (e.pic.frames.size() < 2 || e.totalDelay <= 0) return 0;
        int t = static_cast<int>((now - animationStart) % static_cast<DWORD>(e.totalDelay));
        for (size_t i = 0; i < e.pic.frames.size(); ++i) {
            t -= e.pic.frames[i].delayMs;
            if (t < 0) return static_cast<int>(i);
        }
        return 0;
    }
    HBITMAP FrameBitmap(PictureEntry& e, int frame) {
        if (e.bitmaps.empty()) {
            for (const pictures::Frame& f : e.pic.frames) {
                BITMAPINFO bi{};
                bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
                bi.bmiHeader.biWidth = e.pic.width;
                bi.bmiHeader.biHeight = -e.pic.height;
                bi.bmiHeader.biPlanes = 1;
                bi.bmiHeader.biBitCount = 32;
                bi.bmiHeader.biCompression = BI_RGB;
                void* bits = nullptr;
                HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
                if (bmp && bits) std::memcpy(bits, f.pixels.data(), f.pixels.size() * 4);
                e.bitmaps.emplace_back(bmp);
            }
            // The DIB sections hold the pixels from now on.
            for (pictures::Frame& f : e.pic.frames) std::vector<uint32_t>().swap(f.pixels);
        }
        if (frame < 0 || frame >= static_cast<int>(e.bitmaps.size())) return nullptr;
        return e.bitmaps[static_cast<size_t>(frame)].get();
    }

    // ---- Layout ----
    void Relayout(int width) {
        layoutWidth = width;
        page = hasDocument ? html::Layout(doc, html::ComputeStyles(doc), measurer, *this, html::LayoutOptions{std::max(width, 40)})
                           : html::LayoutResult{};
        bands.assign(static_cast<size_t>(page.height / kBand + 1), {});
        for (size_t i = 0; i < page.items.size(); ++i) {
            const html::Item& it = page.items[i];
            if (it.w <= 0 && it.h <= 0 && it.kind != html::ItemKind::Text) continue;
            const int b0 = std::max(0, it.y / kBand), b1 = std::min(static_cast<int>(bands.size()) - 1, (it.y + std::max(it.h, 1)) / kBand);
            for (int b = b0; b <= b1; ++b) bands[static_cast<size_t>(b)].push_back(static_cast<int>(i));
        }
        stamp.assign(page.items.size(), 0);
        orderOfItem.assign(page.items.size(), -1);
        for (size_t k = 0; k < page.textItems.size(); ++k) orderOfItem[static_cast<size_t>(page.textItems[k])] = static_cast<int>(k);
        anchor = focus = Pos{};
    }

    // Items touching page rows [top, bottom), in painting order.
    void ItemsIn(int top, int bottom, std::vector<int>& out) {
        out.clear();
        if (bands.empty()) return;
        if (++stampNo == 0) {
            std::fill(stamp.begin(), stamp.end(), 0);
            stampNo = 1;
        }
        const int b0 = std::max(0, top / kBand), b1 = std::min(static_cast<int>(bands.size()) - 1, std::max(0, bottom) / kBand);
        for (int b = b0; b <= b1; ++b)
            for (int i : bands[static_cast<size_t>(b)]) {
                if (stamp[static_cast<size_t>(i)] == stampNo) continue;
                stamp[static_cast<size_t>(i)] = stampNo;
                const html::Item& it = page.items[static_cast<size_t>(i)];
                if (it.y + it.h < top || it.y > bottom) continue;
                out.push_back(i);
            }
        std::sort(out.begin(), out.end());
    }

    // ---- Selection ----
    Pos HitText(int px, int py) {
        Pos best;
        long long bestScore = -1;
        for (size_t k = 0; k < page.textItems.size(); ++k) {
            const html::Item& it = page.items[static_cast<size_t>(page.textItems[k])];
            const long long dy = py < it.y ? it.y - py : py >= it.y + it.h ? py - (it.y + it.h) + 1 : 0;
            const long long dx = px < it.x ? it.x - px : px >= it.x + it.w ? px - (it.x + it.w) + 1 : 0;
            const long long score = dy * 100000 + dx;
            if (bestScore < 0 || score < bestScore) {
                bestScore = score;
                best.order = static_cast<int>(k);
            }
            if (score == 0) break;
        }
        if (best.order < 0) return best;
        const html::Item& it = page.items[static_cast<size_t>(page.textItems[static_cast<size_t>(best.order)])];
        int x = it.x;
        best.offset = static_cast<int>(it.text.size());
        for (size_t i = 0; i < it.text.size(); ++i) {
            const int w = measurer.Width(it.font, std::u16string_view(it.text).substr(i, 1));
            if (px < x + w / 2) {
                best.offset = static_cast<int>(i);
                break;
            }
            x += w;
        }
        return best;
    }
    bool HasSelection() const { return anchor.order >= 0 && focus.order >= 0 && !(anchor == focus); }
    // The selected characters [from, to) of the text item of order k.
    bool SelectedRange(int k, int& from, int& to) const {
        if (!HasSelection()) return false;
        const Pos a = std::min(anchor, focus), b = std::max(anchor, focus);
        if (k < a.order || k > b.order) return false;
        const int len = static_cast<int>(page.items[static_cast<size_t>(page.textItems[static_cast<size_t>(k)])].text.size());
        from = k == a.order ? a.offset : 0;
        to = k == b.order ? b.offset : len;
        return to > from;
    }
    std::u16string Selected() const {
        std::u16string out;
        if (!HasSelection()) return out;
        const Pos a = std::min(anchor, focus), b = std::max(anchor, focus);
        int lastLine = -1;
        for (int k = a.order; k <= b.order; ++k) {
            const html::Item& it = page.items[static_cast<size_t>(page.textItems[static_cast<size_t>(k)])];
            int from = 0, to = 0;
            if (lastLine >= 0 && it.line != lastLine) {
                while (!out.empty() && out.back() == ' ') out.pop_back();
                out += u"\r\n";
            }
            lastLine = it.line;
            if (SelectedRange(k, from, to)) out += it.text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
        }
        return out;
    }

    // Only the items of the point's band are looked at: mouse moves stay cheap on long pages.
    int LinkAt(int px, int py) const {
        if (py < 0 || bands.empty() || py / kBand >= static_cast<int>(bands.size())) return -1;
        for (int i : bands[static_cast<size_t>(py / kBand)])
            if (const html::Item& it = page.items[static_cast<size_t>(i)]; it.link >= 0 && (it.kind == html::ItemKind::Text || it.kind == html::ItemKind::Image) && px >= it.x &&
                px < it.x + it.w && py >= it.y && py < it.y + it.h)
                return it.link;
        return -1;
    }
};

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

namespace {

// The address BeforeNavigate reports: the link as written for the outside
// world, else "file:///" and the path (blanks kept).
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

}  // namespace

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

namespace {

void UpdateBars(HWND hwnd, TPreviewHTML::Impl& m);

}  // namespace

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

namespace {

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

}  // namespace

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

// ---- Painting ------------------------------------------------------------------

namespace {

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
            SetTextColor(dc, Cr(it.color));
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
