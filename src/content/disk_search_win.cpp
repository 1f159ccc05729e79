#include "content/disk_search_win.h"

#include <shlobj.h>

#include "base/file_path.h"
#include "app/message_box.h"
#include "lang/language.h"
#include "win/handles.h"

namespace qlm {

std::u16string CdDriveLetters() {
    return DriveLettersOf(GetLogicalDrives(), [](char16_t letter) {
        std::wstring root = win::Wide(DriveRoot(letter));
        return GetDriveTypeW(root.c_str()) == DRIVE_CDROM;
    });
}

std::u16string VolumeNameOf(std::u16string_view root) {
    wchar_t name[MAX_PATH + 1] = {};
    std::wstring r = win::Wide(root);
    if (!GetVolumeInformationW(r.c_str(), name, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) return {};
    return win::U16(name).substr(0, 36);
}

std::u16string DiskSearchText(DiskSearchTextId id, const std::u16string&) {
    switch (id) {
        case DiskSearchTextId::NotFound: return lang::Text("Messages", "DiskNotFound");
        case DiskSearchTextId::ErrorCaption: return lang::Text("MainMsg", "Error");
        case DiskSearchTextId::Retry: return lang::Text("Messages", "Retry");
        case DiskSearchTextId::Browse: return lang::Text("Messages", "Browse");
        case DiskSearchTextId::Cancel: return lang::Text("MainMsg", "Cancel");
        case DiskSearchTextId::BrowseTitle: return lang::Text("Other", "SelectFoldersWithQLMMusic");
        case DiskSearchTextId::SelectCaption: return lang::Text("SelectCD", "Caption");
        case DiskSearchTextId::SelectPrompt: return lang::Text("SelectCD", "SelectCD");
    }
    return {};
}

int DiskSearchCharset(const std::u16string&) { return lang::CurrentLanguage().Texts().Charset(); }

int AskDiskNotFoundBox(HWND, const std::u16string& languageId) {
    std::u16string buttons = DiskSearchText(DiskSearchTextId::Retry, languageId) + u"\n" +
                             DiskSearchText(DiskSearchTextId::Browse, languageId) + u"\n" +
                             DiskSearchText(DiskSearchTextId::Cancel, languageId);
    return ShowMessageBox(DiskSearchText(DiskSearchTextId::NotFound, languageId),
                          DiskSearchText(DiskSearchTextId::ErrorCaption, languageId), kIconError, 0, buttons,
                          std::string{static_cast<char>(kNotFoundRetry), static_cast<char>(kNotFoundBrowse),
                                      static_cast<char>(kNotFoundCancel)});
}

namespace {

int CALLBACK BrowseCallback(HWND dialog, UINT msg, LPARAM lParam, LPARAM) {
    if (msg == BFFM_INITIALIZED) {  // nothing chosen yet: nothing to confirm
        SendMessageW(dialog, BFFM_ENABLEOK, 0, 0);
        return 0;
    }
    if (msg != BFFM_SELCHANGED) return 0;
    wchar_t path[MAX_PATH * 2] = {};
    bool isFolder = SHGetPathFromIDListW(reinterpret_cast<LPCITEMIDLIST>(lParam), path) != FALSE;
    SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
    SendMessageW(dialog, BFFM_ENABLEOK, 0, isFolder && IsDiskRoot(win::U16(path)) ? 1 : 0);
    return 0;
}

}  // namespace

std::optional<std::u16string> BrowseForDiskFolder(HWND owner, const std::u16string& title) {
    std::wstring wideTitle = win::Wide(title);
    BROWSEINFOW bi{};
    bi.hwndOwner = owner;
    bi.lpszTitle = wideTitle.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    bi.lpfn = &BrowseCallback;
    LPITEMIDLIST chosen = SHBrowseForFolderW(&bi);
    if (!chosen) return std::nullopt;
    wchar_t path[MAX_PATH * 2] = {};
    bool ok = SHGetPathFromIDListW(chosen, path) != FALSE;
    CoTaskMemFree(chosen);
    if (!ok) return std::nullopt;
    return WithTrailingBackslash(win::U16(path));
}

int WinDiskSearchPorts::AskDiskNotFound() { return AskDiskNotFoundBox(owner_, languageId_); }

std::optional<std::u16string> WinDiskSearchPorts::BrowseForDiskFolder() {
    return qlm::BrowseForDiskFolder(owner_, DiskSearchText(DiskSearchTextId::BrowseTitle, languageId_));
}

std::optional<char16_t> WinDiskSearchPorts::ChooseDrive(std::u16string_view acceptedLetters) {
    TSelectCDForm form;
    return form.Choose(owner_, acceptedLetters, languageId_);
}

// ---- TSelectCDForm ----

namespace {
constexpr int kOkId = IDOK;
constexpr int kDriveBoxId = 200;
}  // namespace

std::optional<char16_t> TSelectCDForm::Choose(HWND owner, std::u16string_view letters,
                                              const std::u16string& languageId) {
    RegisterWindowClass(L"TSelectCDForm", 0, GetSysColorBrush(COLOR_BTNFACE));
    win::CreateParams p;
    p.className = L"TSelectCDForm";
    p.title = win::Wide(DiskSearchText(DiskSearchTextId::SelectCaption, languageId));
    p.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    p.exStyle = WS_EX_DLGMODALFRAME;
    p.width = 300;
    p.height = 150;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    p.x = work.left + (work.right - work.left - p.width) / 2;
    p.y = work.top + (work.bottom - work.top - p.height) / 2;
    p.parent = owner;
    if (!Create(p)) return std::nullopt;

    LOGFONTW lf{};
    lf.lfHeight = -13;
    lf.lfCharSet = static_cast<BYTE>(DiskSearchCharset(languageId));
    wcscpy(lf.lfFaceName, L"MS Sans Serif");
    font_ = CreateFontIndirectW(&lf);
    HINSTANCE inst = win::ModuleInstance();
    HWND prompt = CreateWindowExW(0, L"STATIC", win::Wide(DiskSearchText(DiskSearchTextId::SelectPrompt, languageId)).c_str(),
                                  WS_CHILD | WS_VISIBLE, 12, 10, 270, 18, hwnd(), nullptr, inst, nullptr);
    driveBox_ = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL,
                                12, 32, 270, 200, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kDriveBoxId)),
                                inst, nullptr);
    okButton_ = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 110, 72,
                                75, 25, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kOkId)), inst, nullptr);
    for (HWND c : {prompt, driveBox_, okButton_}) SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    for (char16_t letter : letters) {
        std::wstring line = win::Wide(DriveChoiceLine(letter, VolumeNameOf(DriveRoot(letter))));
        SendMessageW(driveBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    SendMessageW(driveBox_, CB_SETCURSEL, 0, 0);

    // Modal: the owner is disabled while the dialog runs its own loop.
    bool ownerEnabled = owner && IsWindowEnabled(owner);
    if (ownerEnabled) EnableWindow(owner, FALSE);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(driveBox_);
    MSG msg;
    while (!done_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            Finish(false);
            continue;
        }
        if (!IsDialogMessageW(hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (msg.message == WM_QUIT) PostQuitMessage(static_cast<int>(msg.wParam));
    }
    if (ownerEnabled) EnableWindow(owner, TRUE);
    Destroy();
    if (font_) DeleteObject(font_);
    font_ = nullptr;
    return result_;
}

void TSelectCDForm::Finish(bool ok) {
    if (done_) return;
    done_ = true;
    if (ok) {
        int sel = static_cast<int>(SendMessageW(driveBox_, CB_GETCURSEL, 0, 0));
        wchar_t line[64] = {};
        if (sel >= 0 && SendMessageW(driveBox_, CB_GETLBTEXTLEN, sel, 0) < 63) {
            SendMessageW(driveBox_, CB_GETLBTEXT, sel, reinterpret_cast<LPARAM>(line));
            if (line[0]) result_ = static_cast<char16_t>(line[0]);
        }
    }
    ShowWindow(hwnd(), SW_HIDE);
}

LRESULT TSelectCDForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kOkId) Finish(true);
            if (LOWORD(wParam) == IDCANCEL) Finish(false);
            return 0;
        case WM_CLOSE:
            Finish(false);
            return 0;
        default:
            return Default(msg, wParam, lParam);
    }
}

}  // namespace qlm
