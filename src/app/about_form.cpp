#include "app/about_form.h"

#include <shellapi.h>

#include "app/version_info.h"
#include "lang/language.h"
#include "win/modal_loop.h"

namespace qlm {
namespace {

constexpr int kWidth = 380;
constexpr int kHeight = 270;
constexpr int kOkId = IDOK;

std::wstring W(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }

HFONT MakeFont(int height, int weight, bool underline, uint8_t charset) {
    return CreateFontW(-height, 0, 0, 0, weight, FALSE, underline, FALSE, charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
}

// The user's thousands separator, "," when the locale names none.
std::u16string ThousandsSeparator() {
    wchar_t sep[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, sep, 8) <= 1) return u",";
    return std::u16string(sep, sep + wcslen(sep));
}

}  // namespace

TAboutForm::TAboutForm(Deployment deployment, std::u16string programFile)
    : deployment_(std::move(deployment)), programFile_(std::move(programFile)) {}

HWND TAboutForm::AddLabel(int id, const std::u16string& text, int x, int y, int w, int h, DWORD style) {
    HWND label = CreateWindowExW(0, L"STATIC", W(text).c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), win::ModuleInstance(), nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return label;
}

void TAboutForm::FormCreate() {
    // The panel font takes the character set of the language in use.
    const uint8_t charset = lang::CurrentLanguage().Texts().Charset();
    font_.reset(MakeFont(12, FW_NORMAL, false, charset));
    boldFont_.reset(MakeFont(16, FW_BOLD, false, charset));
    linkFont_.reset(MakeFont(12, FW_NORMAL, true, charset));

    SetWindowTextW(hwnd(), W(lang::Text("About", "Caption")).c_str());
    // The program's icon, or the skin's logo while the program carries none.
    HICON programIcon = LoadIconW(win::ModuleInstance(), L"MAINICON");
    if (!programIcon) logo_ = LoadSkinPicture(std::string_view("MSGLOGO"));
    HWND icon = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | (programIcon ? SS_ICON : SS_BITMAP),
                                12, 14, 41, 41, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kImage1)),
                                win::ModuleInstance(), nullptr);
    if (programIcon)
        SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(programIcon), 0);
    else if (!logo_.Empty())
        SendMessageW(icon, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo_.Handle()));

    HWND name = AddLabel(kLabel1, u"QLM musical player", 64, 14, 290, 20);
    SendMessageW(name, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);
    const std::string version = ReadVersionInfo(programFile_).fileVersion;  // "0.0.0.0" without a resource
    const std::u16string fileVersion(version.begin(), version.end());
    AddLabel(kVersionLabel, u"version " + fileVersion, 64, 36, 290, 16);
    AddLabel(kLabel2, deployment_.publisher + u"\r\n" + deployment_.phone, 64, 60, 290, 32);
    HWND mail = AddLabel(kLabel6, deployment_.email, 64, 94, 290, 16, SS_NOTIFY);
    HWND home = AddLabel(kLabel3, deployment_.homePage, 64, 112, 290, 16, SS_NOTIFY);
    for (HWND link : {mail, home}) SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);

    AddLabel(kLabel4, lang::Text("About", "Memory"), 16, 146, 200, 16);
    AddLabel(kTotalMemLabel, u"", 216, 146, 140, 16, SS_RIGHT);
    AddLabel(kLabel5, lang::Text("About", "FreeMem"), 16, 166, 200, 16);
    AddLabel(kFreeMemLabel, u"", 216, 166, 140, 16, SS_RIGHT);
    FillMemoryLines();

    HWND ok = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                              (kWidth - 90) / 2, 196, 90, 26, hwnd(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kOkId)), win::ModuleInstance(), nullptr);
    SendMessageW(ok, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

void TAboutForm::FillMemoryLines() {
    // The extended status: the old call stops at 2 or 4 GB.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return;
    const std::u16string sep = ThousandsSeparator();
    SetDlgItemTextW(hwnd(), kTotalMemLabel, W(KilobytesText(status.ullTotalPhys, sep)).c_str());
    SetDlgItemTextW(hwnd(), kFreeMemLabel, W(KilobytesText(status.ullAvailPhys, sep)).c_str());
}

bool TAboutForm::IsLink(HWND control) const {
    return control && (control == GetDlgItem(hwnd(), kLabel6) || control == GetDlgItem(hwnd(), kLabel3));
}

void TAboutForm::LinkClick(int id) {
    wchar_t text[512] = {};
    GetDlgItemTextW(hwnd(), id, text, 512);
    std::wstring target = id == kLabel6 ? L"mailto:" + std::wstring(text) : std::wstring(text);
    // Show state 0, as the links were always opened; a failure is not reported.
    ShellExecuteW(hwnd(), L"open", target.c_str(), nullptr, nullptr, 0);
}

LRESULT TAboutForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            FormCreate();
            return 0;
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkMode(dc, TRANSPARENT);
            if (IsLink(reinterpret_cast<HWND>(lParam))) SetTextColor(dc, RGB(0, 0, 255));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_SETCURSOR:
            if (IsLink(reinterpret_cast<HWND>(wParam))) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            return Default(msg, wParam, lParam);
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if ((id == kLabel6 || id == kLabel3) && HIWORD(wParam) == STN_CLICKED)
                LinkClick(id);
            else if (id == IDOK || id == IDCANCEL)
                closed_ = true;
            return 0;
        }
        case WM_CLOSE:
            closed_ = true;
            return 0;
        default:
            return Default(msg, wParam, lParam);
    }
}

void TAboutForm::ShowModal(HWND owner) {
    RegisterWindowClass(kClassName, CS_HREDRAW | CS_VREDRAW, GetSysColorBrush(COLOR_BTNFACE));
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    win::CreateParams p;
    p.className = kClassName;
    p.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    p.exStyle = WS_EX_DLGMODALFRAME;
    p.parent = owner;
    p.width = kWidth;
    p.height = kHeight;
    p.x = area.left + (area.right - area.left - kWidth) / 2;
    p.y = area.top + (area.bottom - area.top - kHeight) / 2;
    if (!Create(p)) return;
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(GetDlgItem(hwnd(), kOkId));
    win::RunModalLoop(hwnd(), owner, closed_);
    Destroy();
}

void ShowAboutBox(HWND owner, const Deployment& deployment, const std::u16string& programFile) {
    TAboutForm form(deployment, programFile);
    form.ShowModal(owner);
}

}  // namespace qlm
