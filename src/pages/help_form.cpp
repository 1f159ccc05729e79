#include "pages/help_form.h"
#include "win/files.h"

#include "app/message_box.h"
#include "lang/language.h"
#include "pages/music_link.h"
#include "pages/page_entries.h"
#include "pages/preview_html.h"

namespace qlm {
namespace {

constexpr WORD kPrevId = 1, kNextId = 2, kCloseId = 3;
constexpr int kButtonHeight = 25, kButtonWidth = 75, kBottomHeight = 37;


std::u16string WithoutLeadingAmpersand(std::u16string s) {
    if (!s.empty() && s.front() == u'&') s.erase(0, 1);
    return s;
}

}  // namespace

THelpForm::THelpForm() = default;
THelpForm::~THelpForm() {
    Destroy();
    if (font_) DeleteObject(font_);
}

void THelpForm::ShowModal(HWND owner, const std::u16string& supportFolder, const std::u16string& languageId,
                          bool runningInstalled) {
    RegisterWindowClass(L"THelpForm", CS_HREDRAW | CS_VREDRAW, GetSysColorBrush(COLOR_3DFACE));
    const bool language = !languageId.empty();
    std::u16string caption = language ? WithoutLeadingAmpersand(lang::Text("MainMenu", "Help")) : u"Помощь";
    win::CreateParams p;
    p.className = L"THelpForm";
    p.title = win::Wide(caption);
    p.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    p.parent = owner;
    RECT ownerRect{};
    GetWindowRect(owner, &ownerRect);
    p.width = 560;
    p.height = 480;
    p.x = ownerRect.left + 40;
    p.y = ownerRect.top + 40;
    if (!Create(p)) return;
    SetWindowTextW(closeBtn_, win::Wide(language ? lang::Text("Find", "Cancel") : u"Закрыть").c_str());

    navigations_ = 0;
    EnableWindow(prevBtn_, FALSE);
    EnableWindow(nextBtn_, FALSE);
    std::u16string found = FindProgramHelp(supportFolder, languageId, win::FileExists);
    if (!found.empty()) {
        page_ = found.substr(0, 255);
        view_->Navigate(found);
    } else {
        page_ = LanguageVersion(supportFolder, languageId, u"h_help.htm").substr(0, 255);
        // In the installed folder the help belongs to the installation.
        if (runningInstalled)
            ShowMessageBox(lang::Text("Messages", "HelpNotFound"), u"Ошибка", 0, 0, u"OK", std::string_view("\x01", 1));
    }

    EnableWindow(owner, FALSE);
    ShowWindow(hwnd(), SW_SHOW);
    MSG msg;
    while (!done_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && (msg.hwnd == hwnd() || IsChild(hwnd(), msg.hwnd))) {
            done_ = true;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (msg.message == WM_QUIT) PostQuitMessage(static_cast<int>(msg.wParam));
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
    Destroy();
}

LRESULT THelpForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            FormCreate();
            return 0;
        case WM_SIZE:
            FormResize();
            return 0;
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.x = kMinWidth;
            return 0;
        case WM_COMMAND:
            FormCommand(LOWORD(wParam));
            return 0;
        case WM_CLOSE:
            done_ = true;
            return 0;
        default:
            return Default(msg, wParam, lParam);
    }
}

void THelpForm::FormCreate() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    font_ = CreateFontIndirectW(&metrics.lfMessageFont);
    auto button = [&](WORD id, const wchar_t* text) {
        HWND b = CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0,
                                 kButtonWidth, kButtonHeight, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 win::ModuleInstance(), nullptr);
        SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return b;
    };
    prevBtn_ = button(kPrevId, L"<<");
    nextBtn_ = button(kNextId, L">>");
    closeBtn_ = button(kCloseId, L"Закрыть");
    view_ = std::make_unique<TPreviewHTML>();
    if (view_->Create(hwnd(), RECT{0, 0, 1, 1}, 100)) {
        view_->OnBeforeNavigate = [this](const std::u16string& url, bool& cancel) { HTMLVBeforeNavigate(url, cancel); };
        view_->OnDownloadComplete = [this] { HTMLVDocumentComplete(); };
        view_->OnCommandStateChange = [this](int command, bool enabled) {
            if (command == 1) EnableWindow(nextBtn_, enabled);
            if (command == 2) EnableWindow(prevBtn_, enabled);
        };
    }
}

void THelpForm::FormResize() {
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    const int bottom = rc.bottom - kBottomHeight;
    if (view_ && view_->hwnd()) MoveWindow(view_->hwnd(), 0, 0, rc.right, std::max(0, bottom), TRUE);
    const int y = bottom + (kBottomHeight - kButtonHeight) / 2;
    MoveWindow(prevBtn_, 8, y, kButtonWidth, kButtonHeight, TRUE);
    MoveWindow(nextBtn_, 16 + kButtonWidth, y, kButtonWidth, kButtonHeight, TRUE);
    // The close button stays in the middle of its bar.
    MoveWindow(closeBtn_, (rc.right - kButtonWidth) / 2, y, kButtonWidth, kButtonHeight, TRUE);
}

void THelpForm::FormCommand(WORD id) {
    switch (id) {
        case kPrevId:
            if (view_) view_->GoBack();
            break;
        case kNextId:
            if (view_) view_->GoForward();
            break;
        case kCloseId:
            done_ = true;
            break;
        default:
            break;
    }
}

void THelpForm::HTMLVBeforeNavigate(const std::u16string& url, bool& cancel) {
    // The first navigation opens the help page itself; later music links lead nowhere here.
    if (navigations_++ == 0) return;
    if (IsMusicLink(url)) cancel = true;
}

void THelpForm::HTMLVDocumentComplete() {
    if (navigations_ <= 1 || !view_) return;
    std::u16string location = PathOfFileUrl(view_->LocationURL()).substr(0, 255);
    if (location != page_) page_ = location;
}

}  // namespace qlm
