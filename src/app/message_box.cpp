#include "app/message_box.h"

#include <memory>

#include "app/message_box_layout.h"
#include "app/skin/skin_table.h"
#include "win/modal_loop.h"

namespace qlm {

namespace {

constexpr wchar_t kClassName[] = L"TMessageForm";

// The program-wide reference. A modeless box stays referenced until its
// owner frees it; a modal box shown meanwhile takes the reference for its own
// life and gives it back afterwards, so the box underneath can still be freed.
TMessageForm* g_active = nullptr;
std::unique_ptr<TMessageForm> g_modeless;

COLORREF Ref(skin::Colour c) { return RGB(c.r, c.g, c.b); }

const char* IconResource(int kind) {
    switch (kind) {
        case kIconError: return "ERRORICON";
        case kIconWarning: return "WARNINGICON";
        case kIconQuestion: return "QUESTIONICON";
        case kIconInformation: return "INFOICON";
        default: return nullptr;
    }
}

void DrawPicture(HDC dc, const SkinPicture& p, int x, int y) {
    if (p.Empty()) return;
    win::UniqueMemoryDc mem(CreateCompatibleDC(dc));
    win::SelectScope sel(mem.get(), p.Handle());
    BitBlt(dc, x, y, p.Width(), p.Height(), mem.get(), 0, 0, SRCCOPY);
}

std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

}  // namespace

TMessageForm::TMessageForm(std::u16string text, std::u16string caption, int iconKind, int flags,
                           std::vector<std::u16string> buttonCaptions, std::string resultCodes)
    : text_(std::move(text)),
      caption_(std::move(caption)),
      iconKind_(iconKind),
      flags_(flags),
      captions_(std::move(buttonCaptions)),
      codes_(std::move(resultCodes)) {}

TMessageForm::~TMessageForm() {
    if (g_active == this) g_active = nullptr;
}

bool TMessageForm::CreateForm(HWND owner) {
    RegisterWindowClass(kClassName, CS_HREDRAW | CS_VREDRAW, nullptr);
    const bool modeless = codes_.empty() || (flags_ & kMessageModeless);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN | (modeless ? 0 : WS_SYSMENU);
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT r{0, 0, kMessageClientWidth, kMessageClientHeight};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    win::CreateParams p;
    p.className = kClassName;
    p.title = W(caption_);
    p.style = style;
    p.exStyle = exStyle;
    p.x = x;
    p.y = y;
    p.width = w;
    p.height = h;
    p.parent = owner;
    return Create(p);
}

void TMessageForm::FormCreate() {
    background_.reset(CreateSolidBrush(Ref(skin::colour::kDialog)));
    font_.reset(CreateFontW(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
    decoration_ = LoadSkinPicture(std::string_view("MSGLOGO"));
    // The painted text, also as a hidden child for screen readers and test drivers.
    CreateWindowExW(0, L"STATIC", W(text_).c_str(), WS_CHILD, 0, 0, 0, 0, hwnd(),
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextChildId)), win::ModuleInstance(), nullptr);
    RECT wr;
    GetWindowRect(hwnd(), &wr);
    // The layout works on the form's outer width, as it always has.
    const auto lefts = MessageButtonLefts(wr.right - wr.left, static_cast<int>(codes_.size()));
    for (size_t i = 0; i < codes_.size(); ++i) {
        const std::wstring caption = i < captions_.size() ? W(captions_[i]) : std::wstring();
        HWND b = CreateWindowExW(0, L"BUTTON", caption.c_str(),
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, lefts[i], kMessageButtonTop,
                                 kMessageButtonWidth, kMessageButtonHeight, hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstButtonId + i)),
                                 win::ModuleInstance(), nullptr);
        SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        buttons_.push_back(b);
    }
}

void TMessageForm::FormShow() {
    const char* name = IconResource(iconKind_);
    icon_ = name ? LoadSkinPicture(std::string_view(name)) : SkinPicture();
    result_ = 0;
}

void TMessageForm::FormPaint() {
    win::PaintScope ps(hwnd());
    HDC dc = ps.dc();
    RECT client;
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, background_.get());
    // a lighter band behind the buttons
    if (!buttons_.empty()) {
        RECT band{0, kMessageButtonTop - 6, client.right, client.bottom};
        win::UniqueBrush b(CreateSolidBrush(RGB(38, 41, 47)));
        FillRect(dc, &band, b.get());
        win::UniquePen pen(CreatePen(PS_SOLID, 1, RGB(28, 30, 35)));
        win::SelectScope sp(dc, pen.get());
        MoveToEx(dc, 0, band.top, nullptr);
        LineTo(dc, client.right, band.top);
    }
    DrawPicture(dc, icon_, 14, 32);
    DrawPicture(dc, decoration_, 370, 32);
    win::SelectScope sf(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Ref(skin::colour::kDialogText));
    const std::wstring text = W(text_);
    RECT box{70, 9, 70 + 291, 9 + 85};
    RECT measure = box;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure,
              DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX | DT_EDITCONTROL);
    const int h = measure.bottom - measure.top;
    if (h < box.bottom - box.top) box.top += (box.bottom - box.top - h) / 2;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS);
}

void TMessageForm::DrawButton(const DRAWITEMSTRUCT& di) {
    HDC dc = di.hDC;
    RECT r = di.rcItem;
    const bool pressed = (di.itemState & ODS_SELECTED) != 0;
    const bool focused = (di.itemState & ODS_FOCUS) != 0;
    // Metal face: a vertical gradient inside a dark rim, like the skin's buttons.
    win::UniqueBrush rim(CreateSolidBrush(RGB(16, 17, 20)));
    FillRect(dc, &r, rim.get());
    const int h = r.bottom - r.top - 2;
    const COLORREF top = pressed ? RGB(34, 37, 43) : RGB(104, 111, 123);
    const COLORREF bottom = pressed ? RGB(62, 67, 76) : RGB(52, 56, 64);
    for (int i = 0; i < h; ++i) {
        const double t = h > 1 ? static_cast<double>(i) / (h - 1) : 0;
        auto lerp = [t](int a, int b) { return static_cast<int>(a + (b - a) * t + 0.5); };
        win::UniquePen pen(CreatePen(PS_SOLID, 1,
                                     RGB(lerp(GetRValue(top), GetRValue(bottom)), lerp(GetGValue(top), GetGValue(bottom)),
                                         lerp(GetBValue(top), GetBValue(bottom)))));
        win::SelectScope sp(dc, pen.get());
        MoveToEx(dc, r.left + 1, r.top + 1 + i, nullptr);
        LineTo(dc, r.right - 1, r.top + 1 + i);
    }
    if (focused) {
        const auto a = skin::colour::kAccent;
        win::UniquePen pen(CreatePen(PS_SOLID, 1, RGB(a.r, a.g, a.b)));
        win::SelectScope sp(dc, pen.get());
        win::SelectScope sb(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
    wchar_t buf[128];
    const int n = GetWindowTextW(di.hwndItem, buf, 128);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, pressed ? RGB(150, 208, 246) : RGB(236, 240, 246));
    if (pressed) OffsetRect(&r, 1, 1);
    DrawTextW(dc, buf, n, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TMessageForm::ButtonClick(size_t index) {
    if (index >= codes_.size()) return;
    result_ = static_cast<uint8_t>(codes_[index]);
    CloseForm();
}

void TMessageForm::FormKeyPress(wchar_t key) {
    if (key == 27 && !(flags_ & kMessageNoEscape)) {
        result_ = 0;
        CloseForm();
    }
}

void TMessageForm::CloseForm() {
    if (closed_) return;
    closed_ = true;
    if (!modal_) {
        ShowWindow(hwnd(), SW_HIDE);
        if (OnClose) OnClose(*this);
    }
}

LRESULT TMessageForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            FormCreate();
            return 0;
        case WM_PAINT:
            FormPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_DRAWITEM:
            DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) >= kFirstButtonId)
                ButtonClick(LOWORD(wParam) - kFirstButtonId);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) FormKeyPress(27);
            return 0;
        case WM_CLOSE:
            CloseForm();
            return 0;
        default:
            return Default(msg, wParam, lParam);
    }
}

uint8_t TMessageForm::ShowModal() {
    modal_ = true;
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    FormShow();
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    if (!buttons_.empty()) SetFocus(buttons_.front());
    win::RunModalLoop(hwnd(), owner, closed_, [this](MSG& m) {
        const bool ours = m.hwnd == hwnd() || IsChild(hwnd(), m.hwnd);
        if (!ours || m.message != WM_KEYDOWN) return false;
        if (m.wParam == VK_ESCAPE) {
            FormKeyPress(27);
            return true;
        }
        if (m.wParam == VK_RETURN) {
            for (size_t i = 0; i < buttons_.size(); ++i)
                if (GetFocus() == buttons_[i]) {
                    ButtonClick(i);
                    break;
                }
            return true;
        }
        return false;
    });
    ShowWindow(hwnd(), SW_HIDE);
    return result_;
}

void TMessageForm::ShowModeless() {
    modal_ = false;
    FormShow();
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    UpdateWindow(hwnd());
}

uint8_t ShowMessageBox(std::u16string_view text, std::u16string_view caption, int iconKind, int flags,
                       std::u16string_view buttonCaptions, std::string_view resultCodes) {
    auto form = std::make_unique<TMessageForm>(std::u16string(text), std::u16string(caption), iconKind, flags,
                                               SplitButtonCaptions(buttonCaptions), std::string(resultCodes));
    HWND owner = GetActiveWindow();
    if (owner && g_modeless && owner == g_modeless->hwnd()) owner = GetWindow(owner, GW_OWNER);
    if (!form->CreateForm(owner)) return 0;
    if (resultCodes.empty() || (flags & kMessageModeless)) {
        // At most one box is referenced: an older modeless one goes now.
        g_modeless.reset();
        g_modeless = std::move(form);
        g_active = g_modeless.get();
        g_modeless->ShowModeless();
        return 0;
    }
    TMessageForm* previous = g_active;
    g_active = form.get();
    const uint8_t result = form->ShowModal();
    form.reset();
    g_active = previous;
    return result;
}

TMessageForm* ActiveMessageForm() { return g_active; }

void FreeMessageForm() {
    if (g_active == g_modeless.get()) g_active = nullptr;
    g_modeless.reset();
}

}  // namespace qlm
