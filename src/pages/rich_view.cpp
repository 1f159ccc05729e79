#include "pages/rich_view.h"

#include <richedit.h>

#include <algorithm>
#include <vector>

#include "pages/text_lookup.h"
#include "pages/text_window_mode.h"
#include "win/handles.h"
#include "win/printer.h"
#include "win/window.h"

namespace qlm {
namespace {

// Twips of Arial 15 px on a 96 dpi screen.
constexpr LONG kFontTwips = 15 * 1440 / 96;

std::string ReadFileBytes(const std::u16string& path, bool* ok) {
    *ok = false;
    win::UniqueFile f(CreateFileW(win::Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return {};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.get(), &size) || size.QuadPart > (64 << 20)) return {};
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return {};
    bytes.resize(read);
    *ok = true;
    return bytes;
}

struct StreamSource {
    const std::string* bytes;
    size_t at = 0;
};

DWORD CALLBACK StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto* s = reinterpret_cast<StreamSource*>(cookie);
    size_t n = std::min<size_t>(static_cast<size_t>(wanted), s->bytes->size() - s->at);
    memcpy(buffer, s->bytes->data() + s->at, n);
    s->at += n;
    *given = static_cast<LONG>(n);
    return 0;
}

}  // namespace

bool TRichView::Create(HWND parent, int id) {
    static HMODULE riched = LoadLibraryW(L"riched20.dll");  // kept for the process's life
    if (!riched) return false;
    parent_ = parent;
    id_ = id;
    hwnd_ = CreateControl();
    if (hwnd_) ShowWindow(hwnd_, SW_SHOWNA);
    return hwnd_ != nullptr;
}

// Hidden: it is filled out of sight and shows once, with its text.
HWND TRichView::CreateControl() const {
    RECT rc{};
    GetClientRect(parent_, &rc);
    HWND h = CreateWindowExW(0, RICHEDIT_CLASSW, L"",
                             WS_CHILD | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                 ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL,
                             0, 0, rc.right, rc.bottom, parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                             win::ModuleInstance(), nullptr);
    if (!h) return nullptr;
    SendMessageW(h, EM_SETBKGNDCOLOR, 0, kRichViewBackground);
    SendMessageW(h, EM_SETTARGETDEVICE, 0, 1);  // no word wrap
    SendMessageW(h, EM_EXLIMITTEXT, 0, 64 << 20);
    ApplyViewFont(h);
    return h;
}

void TRichView::ApplyViewFont(HWND control) const {
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
    cf.yHeight = kFontTwips;
    cf.bCharSet = charset_;
    cf.crTextColor = RGB(0, 0, 0);
    wcscpy(cf.szFaceName, L"Arial");
    SendMessageW(control, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    SendMessageW(control, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
}

// The fresh control shows on top and takes the old one's place, focus
// included; the old one only hides (it is fully covered) until CompleteLoad.
void TRichView::Replace(HWND fresh) {
    SetWindowPos(fresh, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HWND old = hwnd_;
    hwnd_ = fresh;
    if (!old) return;
    if (GetFocus() == old) SetFocus(fresh);
    if (retired_) DestroyWindow(retired_);
    SetWindowPos(old, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    retired_ = old;
}

void TRichView::Clear() {
    rest_.clear();
    if (HWND fresh = CreateControl()) {
        Replace(fresh);
        return;
    }
    SendMessageW(hwnd_, EM_SETSEL, 0, 0);
    SetWindowTextW(hwnd_, L"");
    ApplyViewFont(hwnd_);
}

bool TRichView::LoadFile(const std::u16string& path) {
    rest_.clear();
    bool ok = false;
    std::string bytes = ReadFileBytes(path, &ok);
    HWND fresh = CreateControl();
    HWND target = fresh;
    if (!fresh) {
        Clear();
        target = hwnd_;
    }
    if (ok && LooksLikeRtf(bytes)) {
        StreamSource source{&bytes};
        EDITSTREAM es{};
        es.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
        es.pfnCallback = StreamIn;
        SendMessageW(target, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
    } else if (ok) {
        std::wstring text = win::Wide(DecodeTextFile(bytes, charset_));
        size_t first = FirstPartLength(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
        if (first < text.size()) rest_ = text.substr(first);
        text.resize(first);
        SETTEXTEX st{ST_DEFAULT, 1200};
        SendMessageW(target, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&st), reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(target, EM_SETSEL, 0, 0);
    SendMessageW(target, EM_SCROLLCARET, 0, 0);
    if (fresh) Replace(fresh);
    return ok;
}

void TRichView::CompleteLoad() {
    if (retired_) {
        DestroyWindow(retired_);
        retired_ = nullptr;
    }
    if (rest_.empty()) return;
    std::wstring rest = std::move(rest_);
    rest_.clear();
    CHARRANGE sel{};
    SendMessageW(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    POINT scroll{};
    SendMessageW(hwnd_, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    int end = LoadedLength();
    SendMessageW(hwnd_, EM_SETSEL, end, end);
    SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(rest.c_str()));
    SendMessageW(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    SendMessageW(hwnd_, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    // The text on screen stays as it was: no erase; the scroll bars change.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TRichView::AddLine(const std::u16string& line) {
    CompleteLoad();
    int end = LoadedLength();
    SendMessageW(hwnd_, EM_SETSEL, end, end);
    std::wstring text = win::Wide(line);
    if (end > 0) text.insert(0, L"\r");
    SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

std::u16string TRichView::Text() {
    CompleteLoad();
    int n = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    text.resize(GetWindowTextW(hwnd_, text.data(), n + 1));
    return win::U16(text);
}

int TRichView::TextLength() {
    CompleteLoad();
    return LoadedLength();
}

int TRichView::LoadedLength() const {
    GETTEXTLENGTHEX gl{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<int>(SendMessageW(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&gl), 0));
}

void TRichView::Repaint() {
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

bool TRichView::Print(HDC printer) {
    win::PageMetrics m = win::PageMetricsOf(printer);
    TwipsRect r = TextPrintRect(PixelsToTwips(m.width, m.dpiX), PixelsToTwips(m.height, m.dpiY));
    FORMATRANGE fr{};
    fr.hdc = fr.hdcTarget = printer;
    fr.rc = {r.left, r.top, r.right, r.bottom};
    fr.rcPage = fr.rc;
    fr.chrg.cpMin = 0;
    fr.chrg.cpMax = -1;
    const LONG length = TextLength();
    // Lines wrap at the page's edge on paper; the screen view does not wrap.
    SendMessageW(hwnd_, EM_SETTARGETDEVICE, 0, 0);
    SendMessageW(hwnd_, EM_FORMATRANGE, FALSE, 0);  // the formatting cache goes before ...
    int oldMapMode = SetMapMode(printer, MM_TEXT);
    // A control that formats nothing for the printer (Wine's) still gets the
    // text on paper, as plain lines.
    bool formats = length == 0 ||
                   SendMessageW(hwnd_, EM_FORMATRANGE, FALSE, reinterpret_cast<LPARAM>(&fr)) > 0;
    SendMessageW(hwnd_, EM_FORMATRANGE, FALSE, 0);
    bool ok = false;
    {
        win::PrintJob job(printer, L"");
        if (job.Started()) {
            ok = formats ? PrintFormatted(job, fr, length) : PrintLines(job, printer, r, m);
            ok = job.Finish() && ok;
        }
    }
    SendMessageW(hwnd_, EM_FORMATRANGE, FALSE, 0);  // ... and after
    SendMessageW(hwnd_, EM_SETTARGETDEVICE, 0, 1);
    SetMapMode(printer, oldMapMode);
    return ok;
}

bool TRichView::PrintFormatted(win::PrintJob& job, FORMATRANGE& fr, long length) {
    do {
        if (!job.BeginPage()) return false;
        LONG next = static_cast<LONG>(SendMessageW(hwnd_, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&fr)));
        if (!job.EndPage()) return false;
        if (next <= fr.chrg.cpMin) break;  // nothing fitted: no endless pages
        fr.chrg.cpMin = next;
    } while (fr.chrg.cpMin < length);
    return true;
}

bool TRichView::PrintLines(win::PrintJob& job, HDC printer, const TwipsRect& r, const win::PageMetrics& m) {
    auto x = [&](int twips) { return MulDiv(twips, m.dpiX, 1440); };
    auto y = [&](int twips) { return MulDiv(twips, m.dpiY, 1440); };
    const int left = x(r.left), top = y(r.top), bottom = y(r.bottom);
    win::UniqueFont font(CreateFontW(-MulDiv(15, m.dpiY, 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset_,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial"));
    std::wstring text = win::Wide(Text());
    std::vector<std::wstring> lines(1);
    for (wchar_t c : text) {
        if (c == L'\r' || c == L'\n') {
            if (c == L'\n' && !text.empty() && lines.back().empty() && lines.size() > 1) continue;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    if (!job.BeginPage()) return false;
    win::SelectScope select(printer, font.get());
    TEXTMETRICW tm{};
    GetTextMetricsW(printer, &tm);
    const int step = std::max<int>(1, tm.tmHeight + tm.tmExternalLeading);
    int at = top;
    for (const auto& line : lines) {
        if (at + step > bottom && at > top) {
            if (!job.EndPage() || !job.BeginPage()) return false;
            SelectObject(printer, font.get());  // a new page may reset the DC
            at = top;
        }
        TextOutW(printer, left, at, line.c_str(), static_cast<int>(line.size()));
        at += step;
    }
    return job.EndPage();
}

}  // namespace qlm
