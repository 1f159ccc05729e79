#include "browse/tag_form.h"

#include <commctrl.h>

#include "base/text_codec.h"
#include "content/file_source.h"
#include "lang/language.h"
#include "win/modal_loop.h"

namespace qlm::browse {
namespace {

constexpr const char* kCaptionKeys[TForm3::kFieldCount] = {"Title",  "Artist",  "Album",   "Year",
                                                           "Genre",  "Comment", "Composer"};
// Layout of the fixed dialog (client pixels).
constexpr int kWidth = 380;
constexpr int kLabelWidth = 90;
constexpr int kMargin = 10;
constexpr int kLine = 22;
constexpr int kMultiHeight = 48;

bool Multiline(int f) { return f == TForm3::kTitle || f == TForm3::kComment; }

// Edits show Windows line breaks.
std::u16string WithCrLf(const std::u16string& text) {
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out += u'\r';
        out += text[i];
    }
    return out;
}

}  // namespace

TForm3::TForm3(uint8_t charset, uint8_t captionCharset) : charset_(charset), captionCharset_(captionCharset) {}
TForm3::~TForm3() {
    if (hwnd()) DestroyWindow(hwnd());
}

bool TForm3::CreateForm(HWND owner) {
    owner_ = owner;
    RegisterWindowClass(kClassName, CS_HREDRAW | CS_VREDRAW, GetSysColorBrush(COLOR_BTNFACE));
    win::CreateParams p;
    p.className = kClassName;
    p.title = win::Wide(lang::Text("Info", "Caption"));
    p.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    p.exStyle = WS_EX_DLGMODALFRAME;
    p.parent = owner;
    int height = kMargin * 2 + kLine * 5 + kMultiHeight * 2 + 8 * 6 + 34;
    RECT r{0, 0, kWidth, height};
    AdjustWindowRectEx(&r, p.style, FALSE, p.exStyle);
    p.width = r.right - r.left;
    p.height = r.bottom - r.top;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    p.x = work.left + (work.right - work.left - p.width) / 2;
    p.y = work.top + (work.bottom - work.top - p.height) / 2;
    if (!Create(p)) return false;
    FormCreate();
    return true;
}

void TForm3::FormCreate() {
    HINSTANCE inst = win::ModuleInstance();
    auto makeFont = [](uint8_t charset) {
        LOGFONTW lf{};
        lf.lfHeight = -11;
        lf.lfCharSet = charset;
        lstrcpyW(lf.lfFaceName, L"Tahoma");
        return win::UniqueFont(CreateFontIndirectW(&lf));
    };
    fieldFont_ = makeFont(charset_);
    captionFont_ = makeFont(captionCharset_);
    int y = kMargin;
    for (int f = 0; f < kFieldCount; ++f) {
        int h = Multiline(f) ? kMultiHeight : kLine;
        labels_[f] = CreateWindowExW(0, L"STATIC", win::Wide(lang::Text("Info", kCaptionKeys[f])).c_str(),
                                     WS_CHILD | WS_VISIBLE, kMargin, y + 3, kLabelWidth, 16, hwnd(), nullptr, inst,
                                     nullptr);
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL;
        if (Multiline(f)) style = (style & ~ES_AUTOHSCROLL) | ES_MULTILINE | ES_AUTOVSCROLL;
        edits_[f] = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", style, kMargin + kLabelWidth, y,
                                    kWidth - 2 * kMargin - kLabelWidth, h, hwnd(),
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstEditId + f)), inst, nullptr);
        SendMessageW(labels_[f], WM_SETFONT, reinterpret_cast<WPARAM>(captionFont_.get()), FALSE);
        SendMessageW(edits_[f], WM_SETFONT, reinterpret_cast<WPARAM>(fieldFont_.get()), FALSE);
        SetWindowSubclass(edits_[f], KeyProc, 1, reinterpret_cast<DWORD_PTR>(this));
        y += h + 8;
    }
    close_ = CreateWindowExW(0, L"BUTTON", win::Wide(lang::Text("Info", "Close")).c_str(),
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, kWidth - kMargin - 90, y + 2, 90,
                             26, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseId)), inst, nullptr);
    SendMessageW(close_, WM_SETFONT, reinterpret_cast<WPARAM>(captionFont_.get()), FALSE);
    SetWindowSubclass(close_, KeyProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void TForm3::SetFields(const TagWindowFields& t) {
    const std::string* values[kFieldCount] = {&t.title, &t.artist, &t.album, &t.year, &t.genre, &t.comment, &t.composer};
    for (int f = 0; f < kFieldCount; ++f) {
        std::u16string text = WithCrLf(DecodeText(*values[f], charset_));
        SetWindowTextW(edits_[f], win::Wide(text).c_str());
        if (Multiline(f)) {
            // Scroll bars only where the text needs them.
            LONG style = GetWindowLongW(edits_[f], GWL_STYLE);
            LONG wanted = NeedsScrollBar(text) ? (style | WS_VSCROLL) : (style & ~WS_VSCROLL);
            if (wanted != style) {
                SetWindowLongW(edits_[f], GWL_STYLE, wanted);
                SetWindowPos(edits_[f], nullptr, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
            }
            ShowScrollBar(edits_[f], SB_VERT, NeedsScrollBar(text));
        }
    }
}

std::u16string TForm3::FieldText(Field f) const {
    wchar_t buffer[4096] = {};
    GetWindowTextW(edits_[f], buffer, 4096);
    return win::U16(buffer);
}

bool TForm3::ShowTags(const std::u16string& file) {
    FileSource source(file);
    TId3Tag20 v2;
    if (ReadID3v2(source, v2)) {
        SetFields(*TagFieldsFrom(&v2, nullptr));
        return true;
    }
    ID3v1Fields v1;
    if (ReadID3v1(source, v1)) {
        SetFields(*TagFieldsFrom(nullptr, &v1));
        return true;
    }
    return false;
}

void TForm3::ShowModal() {
    ShowWindow(hwnd(), SW_SHOW);
    SetFocus(close_);
    win::RunModalLoop(hwnd(), owner_, closed_);
    ShowWindow(hwnd(), SW_HIDE);
}

void TForm3::CloseForm() { closed_ = true; }

LRESULT CALLBACK TForm3::KeyProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (msg == WM_KEYDOWN && wParam == VK_ESCAPE) {
        reinterpret_cast<TForm3*>(data)->CloseForm();
        return 0;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(h, KeyProc, 1);
    return DefSubclassProc(h, msg, wParam, lParam);
}

LRESULT TForm3::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kCloseId) CloseForm();
            return 0;
        case WM_CLOSE:
            CloseForm();
            return 0;
        case WM_CTLCOLORSTATIC:
            // Read-only edits keep a white ground.
            if (reinterpret_cast<HWND>(lParam) != labels_[0] && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) >= kFirstEditId) {
                SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            }
            return Default(msg, wParam, lParam);
        default:
            return Default(msg, wParam, lParam);
    }
}

}  // namespace qlm::browse
