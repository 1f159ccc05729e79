#include "tools/update_form.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <uxtheme.h>

#include "app/message_box.h"
#include "app/settings_store.h"
#include "app/settings_win.h"
#include "app/version_info.h"
#include "lang/language.h"
#include "tools/update_logic.h"

namespace qlm {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 500;
constexpr int kBitBtn1Id = 101;
constexpr int kSpeedButton1Id = 102;
constexpr int kDeleteCheckBoxId = 103;
constexpr int kClientWidth = 372;
constexpr int kClientHeight = 158;
constexpr COLORREF kNavy = RGB(0, 0, 128);
// Result codes of the message boxes asked here.
constexpr char kYes = 6, kNo = 7, kOk = 1, kCancel = 2;

std::u16string T(std::string_view key) { return lang::Text("Update", key); }
std::u16string Shared(std::string_view section, std::string_view key) { return lang::Text(section, key); }
std::u16string YesNo() { return Shared("Messages", "Yes") + u"\n" + Shared("Messages", "No"); }
constexpr std::u16string_view kProductCaption = u"QLM Musical Player";

std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

void ShowOk(const std::u16string& text, const std::u16string& caption, int icon) {
    ShowMessageBox(text, caption, icon, 0, u"OK", std::string(1, kOk));
}

}  // namespace

TUpdateQLMForm::TUpdateQLMForm(UpdateHost& host) : host_(host) {
    http_.OnHostResolved = [this] { NMHTTP1HostResolved(); };
    http_.OnConnected = [this] { NMHTTP1Connect(); };
    http_.OnPacketRecvd = [this] { NMHTTP1PacketRecvd(); };
    http_.OnSuccess = [this](HttpCommand c) { NMHTTP1Success(c); };
    http_.OnFailure = [this](HttpCommand c) { NMHTTP1Failure(c); };
    http_.OnConnectionFailed = [this] { NMHTTP1ConnectionFailed(); };
    http_.OnInvalidHost = [this] { NMHTTP1InvalidHost(); };
}

TUpdateQLMForm::~TUpdateQLMForm() { http_.Abort(); }

bool TUpdateQLMForm::CreateAndCheck() {
    RegisterWindowClass(kClassName, CS_HREDRAW | CS_VREDRAW, GetSysColorBrush(COLOR_BTNFACE));
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT r{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    const int w = r.right - r.left, h = r.bottom - r.top;
    win::CreateParams p;
    p.className = kClassName;
    p.title = W(T("Update"));
    p.style = style;
    p.exStyle = exStyle;
    p.x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    p.y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    p.width = w;
    p.height = h;
    p.parent = host_.MainWindow();
    if (!Create(p)) return false;
    Check();
    if (!updateFound_ || !hwnd()) return false;
    EnableOwnerWindows(false);
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
    return true;
}

void TUpdateQLMForm::ShowAgain() {
    if (checking_ || !updateFound_ || finished_ || !hwnd()) return;
    EnableOwnerWindows(false);
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
}

void TUpdateQLMForm::AbortTransfer() {
    aborted_ = true;
    checkCancelled_ = true;
    if (hwnd()) KillTimer(hwnd(), kTimer1);
    http_.Abort();
}

LRESULT TUpdateQLMForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            FormCreate();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) FormActivate();
            return Default(msg, wParam, lParam);
        case kUpdateMessage:
            DownloadInstaller();
            return 0;
        case WM_TIMER:
            if (wParam == kTimer1) Timer1Timer();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kBitBtn1Id) CloseBtnClick();
            if (LOWORD(wParam) == kSpeedButton1Id) SpeedButton1Click();
            return 0;
        case WM_CLOSE:
            CloseBtnClick();
            return 0;
        default:
            return Default(msg, wParam, lParam);
    }
}

// ---- Creation ----

void TUpdateQLMForm::FormCreate() {
    app::WinProfileStore ini{std::u16string(app::kSettingsFileName)};
    server_ = app::ReadString(ini, update::kUpdateSection, update::kServerKey, update::kDefaultServer);
    homePage_ = app::ReadString(ini, update::kUpdateSection, update::kHomePageKey, update::kDefaultHomePage);
    CreateControls();
}

void TUpdateQLMForm::CreateControls() {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    font_.reset(CreateFontIndirectW(&ncm.lfMessageFont));
    HINSTANCE inst = win::ModuleInstance();
    auto make = [&](const wchar_t* cls, const std::u16string& text, DWORD style, int x, int y, int w, int h,
                    int id = 0) {
        HWND c = CreateWindowExW(0, cls, W(text).c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        return c;
    };
    gauge1_ = make(PROGRESS_CLASSW, u"", PBS_SMOOTH, 10, 12, 300, 18);
    SetWindowTheme(gauge1_, L"", L"");  // a themed bar ignores its colour
    SendMessageW(gauge1_, PBM_SETBARCOLOR, 0, kNavy);
    progressLabel_ = make(L"STATIC", u"0 %", SS_RIGHT, 314, 14, 48, 16);
    make(L"STATIC", T("Recvd"), SS_LEFT, 10, 40, 80, 16);
    curDownloadLabel_ = make(L"STATIC", u"", SS_LEFT, 92, 40, 90, 16);
    make(L"STATIC", T("LeftTime"), SS_LEFT, 192, 40, 80, 16);
    totalBytesLabel_ = make(L"STATIC", u"", SS_LEFT, 274, 40, 90, 16);
    make(L"STATIC", T("Time"), SS_LEFT, 10, 60, 80, 16);
    timeLeftLabel_ = make(L"STATIC", u"", SS_LEFT, 92, 60, 90, 16);
    make(L"STATIC", T("LeftTime"), SS_LEFT, 192, 60, 80, 16);
    timeWaitLabel_ = make(L"STATIC", u"", SS_LEFT, 274, 60, 90, 16);
    speedLabel_ = make(L"STATIC", u"", SS_LEFT, 10, 80, 200, 16);
    deleteCheckBox_ = make(L"BUTTON", T("DDBIns"), BS_AUTOCHECKBOX | WS_TABSTOP, 10, 100, 352, 18, kDeleteCheckBoxId);
    speedButton1_ = make(L"BUTTON", u"_", BS_PUSHBUTTON | WS_TABSTOP, 10, 126, 26, 24, kSpeedButton1Id);
    bitBtn1_ = make(L"BUTTON", T("Close"), BS_PUSHBUTTON | WS_TABSTOP, 272, 126, 90, 24, kBitBtn1Id);
}

void TUpdateQLMForm::EnableOwnerWindows(bool enable) {
    if (HWND main = host_.MainWindow()) EnableWindow(main, enable);
    if (HWND text = host_.TextWindow()) EnableWindow(text, enable);
}

void TUpdateQLMForm::SetLabel(HWND label, const std::u16string& text) { SetWindowTextW(label, W(text).c_str()); }

bool TUpdateQLMForm::AskYesNo(const std::u16string& text, const std::u16string& caption) {
    return ShowMessageBox(text, caption, kIconQuestion, 0, YesNo(), std::string{kYes, kNo}) == kYes;
}

void TUpdateQLMForm::OpenHomePage() {
    ShellExecuteW(nullptr, L"open", W(homePage_).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// ---- The check ----

void TUpdateQLMForm::Check() {
    const std::string own = OwnVersionInfo().fileVersion;
    const std::u16string installedPath = host_.InstalledProgramPath();
    const std::string installed = installedPath.empty() ? "0.0.0.0" : ReadVersionInfo(installedPath).fileVersion;

    checking_ = true;
    EnableOwnerWindows(false);
    http_.ReportLevel = 2;
    http_.InputFileMode = false;
    state_ = update::kIdle;
    ShowMessageBox(T("PlWBUF"), T("Update"), kIconInformation, kMessageModeless, Shared("MainMsg", "Cancel"),
                   std::string(1, kCancel));
    TMessageForm* box = ActiveMessageForm();
    if (box) {
        box->OnClose = [this](TMessageForm&) {
            http_.Abort();
            state_ = update::kIdle;
            checkCancelled_ = true;
        };
        SetWindowPos(box->hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }

    int code = -2;
    if (http_.Get(update::JoinUrl(server_, update::kVersionPath))) code = update::CheckResultCode(false, state_);
    if (box && ActiveMessageForm() == box) {
        box->OnClose = nullptr;
        FreeMessageForm();
    }
    if (code != 0 && !checkCancelled_)
        ShowOk(code == -2 ? T("NI") : T("LnkNF"), Shared("MainMsg", "Error"), kIconError);
    std::optional<std::string> server;
    if (code == 0 && !checkCancelled_) server = http_.Body();
    EnableOwnerWindows(true);
    checking_ = false;

    switch (update::DecideUpdate(server, own, installed)) {
        case update::CheckOutcome::NoServerVersion:
            break;
        case update::CheckOutcome::InstalledIsNewest:
            ShowOk(T("YHLU"), T("Update"), kIconInformation);
            break;
        case update::CheckOutcome::UpToDate:
            ShowOk(T("UNF"), std::u16string(kProductCaption), kIconInformation);
            if (AskYesNo(T("OS"), std::u16string(kProductCaption))) OpenHomePage();
            break;
        case update::CheckOutcome::UpdateFound:
            updateFound_ = true;
            break;
    }
}

// ---- The download ----

void TUpdateQLMForm::FormActivate() {
    if (activated_ || !updateFound_) return;
    activated_ = true;
    PostMessageW(hwnd(), kUpdateMessage, 0, 0);
}

void TUpdateQLMForm::DownloadInstaller() {
    wchar_t folder[MAX_PATH + 1] = {}, file[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, folder);
    if (!GetTempFileNameW(folder, L"qlm", 0, file)) {
        ShowOk(T("GetError"), Shared("MainMsg", "Error"), kIconError);
        return Finish();
    }
    tempFile_.assign(file, file + lstrlenW(file));
    http_.InputFileMode = true;
    http_.BodyFile = tempFile_;
    state_ = update::kIdle;
    SetTimer(hwnd(), kTimer1, kTimer1Interval, nullptr);
    http_.Get(update::JoinUrl(server_, update::kInstallerPath));  // its error is the state's
    if (hwnd()) KillTimer(hwnd(), kTimer1);

    if (aborted_ || !update::DownloadComplete(state_, http_.BytesRecvd(), http_.BytesTotal())) {
        if (!aborted_) ShowOk(T("GetError"), Shared("MainMsg", "Error"), kIconError);
        DeleteFileW(W(tempFile_).c_str());
        return Finish();
    }

    std::u16string installer = tempFile_;
    bool inTemp = true;
    if (SendMessageW(deleteCheckBox_, BM_GETCHECK, 0, 0) != BST_CHECKED) inTemp = !SaveInstallerCopy(installer);
    WriteHandOver(inTemp ? installer : std::u16string());
    if (AskYesNo(T("UC") + u" " + T("OS"), std::u16string(kProductCaption))) OpenHomePage();
    if (StartInstaller(installer)) {
        modalResult_ = kResultOk;
    } else {
        // Nothing will replace the program: it keeps running and the next
        // start finds no hand-over to apply.
        app::WinProfileStore ini{std::u16string(app::kSettingsFileName)};
        app::EraseRestartHandOver(ini);
        ShowOk(T("GetError"), Shared("MainMsg", "Error"), kIconError);
    }
    Finish();
}

bool TUpdateQLMForm::SaveInstallerCopy(std::u16string& installer) {
    for (;;) {
        wchar_t name[MAX_PATH * 2] = L"QLMsetup.exe";
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = IsWindowVisible(hwnd()) ? hwnd() : host_.MainWindow();
        ofn.lpstrFilter = L"*.EXE\0*.EXE\0";
        ofn.lpstrFile = name;
        ofn.nMaxFile = static_cast<DWORD>(std::size(name));
        ofn.lpstrDefExt = L"exe";
        ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
        if (!GetSaveFileNameW(&ofn)) {
            if (AskYesNo(T("DYWDSFile"), T("Update"))) return false;
            continue;
        }
        const std::wstring from = W(tempFile_);
        if (MoveFileW(from.c_str(), name) || (CopyFileW(from.c_str(), name, FALSE) && DeleteFileW(from.c_str()))) {
            installer.assign(name, name + lstrlenW(name));
            return true;
        }
        ShowOk(Shared("Messages", "ErrorCopyFile"), Shared("MainMsg", "Error"), kIconError);
    }
}

void TUpdateQLMForm::WriteHandOver(const std::u16string& tempInstaller) {
    HandOverWindowState window = host_.HandOverState();
    app::RestartHandOver h;
    if (TVNTPlayer* player = host_.Player()) {
        h = CollectRestartHandOver(*player, window, tempInstaller);
    } else {
        h.lastCD = window.diskIdentifier;
        h.control = window.control;
        h.playMode = window.playMode;
        h.showFav = window.favoritesWidth;
        h.instFile = tempInstaller;
    }
    app::WinProfileStore ini{std::u16string(app::kSettingsFileName)};
    app::WinRegistryStore registry;
    app::WriteRestartHandOver(ini, registry, h, host_.LanguageId());
}

bool TUpdateQLMForm::StartInstaller(const std::u16string& installer) {
    // Through the shell rather than CreateProcess: the installer asks for administrator
    // rights, and CreateProcess refuses such a program where UAC is on.
    std::wstring file = W(installer);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = hwnd();
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = L"#AU";  // the installer asks nothing and starts the installed shell
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

void TUpdateQLMForm::Finish() {
    finished_ = true;
    if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
    PostMessageW(host_.MainWindow(), kUpdateMessage, static_cast<WPARAM>(modalResult_), 0);
}

// ---- Progress, hiding and the abort ----

void TUpdateQLMForm::Timer1Timer() {
    if (state_ != update::kReceiving) return;
    const int64_t r = http_.BytesRecvd(), t = http_.BytesTotal();
    auto p = update::Progress(r, t, static_cast<int64_t>(static_cast<DWORD>(GetTickCount() - startMs_)));
    if (!p) return;
    SetLabel(curDownloadLabel_, p->received);
    SetLabel(totalBytesLabel_, p->remaining);
    // The bar counts in units that fit its 32-bit range.
    int shift = 0;
    while ((t >> shift) > 0x7fffffff) ++shift;
    SendMessageW(gauge1_, PBM_SETRANGE32, 0, static_cast<LPARAM>(t >> shift));
    SendMessageW(gauge1_, PBM_SETPOS, static_cast<WPARAM>(r >> shift), 0);
    SetLabel(progressLabel_, p->percentText);
    SetLabel(speedLabel_, p->speedText);
    SetLabel(timeLeftLabel_, p->elapsed);
    if (p->wait) SetLabel(timeWaitLabel_, *p->wait);
}

void TUpdateQLMForm::SpeedButton1Click() {
    EnableOwnerWindows(true);
    ShowWindow(hwnd(), SW_HIDE);
    SetActiveWindow(host_.MainWindow());
}

void TUpdateQLMForm::CloseBtnClick() {
    if (finished_) return;
    if (!AskYesNo(T("AQ"), Shared("MainMsg", "Warning"))) return;
    KillTimer(hwnd(), kTimer1);
    aborted_ = true;
    http_.Abort();
    ShowOk(T("UA"), T("Update"), kIconInformation);
    modalResult_ = kResultCancel;
}

// ---- Events of the HTTP client ----

void TUpdateQLMForm::NMHTTP1HostResolved() { state_ = update::kHostResolved; }
void TUpdateQLMForm::NMHTTP1Connect() { state_ = update::kConnected; }
void TUpdateQLMForm::NMHTTP1PacketRecvd() {
    if (state_ == update::kReceiving) return;
    state_ = update::kReceiving;
    startMs_ = GetTickCount();
}
void TUpdateQLMForm::NMHTTP1Success(HttpCommand cmd) {
    if (cmd == HttpCommand::Get) state_ = update::kSucceeded;
}
void TUpdateQLMForm::NMHTTP1Failure(HttpCommand cmd) {
    if (cmd == HttpCommand::Get) state_ = update::kFailed;
}
void TUpdateQLMForm::NMHTTP1ConnectionFailed() { state_ = update::kConnectionFailed; }
void TUpdateQLMForm::NMHTTP1InvalidHost() { state_ = update::kInvalidHost; }

}  // namespace qlm
