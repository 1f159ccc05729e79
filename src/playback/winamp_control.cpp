#include "playback/winamp_control.h"

#include <cstring>
#include <vector>

namespace qlm {

using namespace winamp;

std::string AnsiPath(const std::u16string& path) {
    auto convert = [](const wchar_t* w, int n, BOOL* lossy) {
        std::string out;
        int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w, n, nullptr, 0, nullptr, lossy);
        if (size <= 0) return out;
        out.resize(size);
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w, n, out.data(), size, nullptr, lossy);
        return out;
    };
    if (path.empty()) return {};
    std::wstring wide(path.begin(), path.end());
    BOOL lossy = FALSE;
    std::string ansi = convert(wide.c_str(), static_cast<int>(wide.size()), &lossy);
    if (!lossy) return ansi;
    wchar_t shortPath[MAX_PATH * 4];
    DWORD n = GetShortPathNameW(wide.c_str(), shortPath, static_cast<DWORD>(std::size(shortPath)));
    if (n == 0 || n >= std::size(shortPath)) return ansi;  // the best the code page can do
    BOOL shortLossy = FALSE;
    std::string shortAnsi = convert(shortPath, static_cast<int>(n), &shortLossy);
    return shortLossy ? ansi : shortAnsi;
}

std::u16string FromAnsi(std::string_view text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return std::u16string(wide.begin(), wide.end());
}

TWinampControl::TWinampControl(const std::u16string& exePath, int32_t showCommand)
    : showCommand_(showCommand), exePath_(exePath) {
    EnsureWindow();
    ShowPlayerWindow(kWinampPlayerId, showCommand);
    ClearList();
    Stop();
}

TWinampControl::~TWinampControl() {
    if (leaveRunning_) {
        ForgetProcess();
        return;
    }
    // A Winamp that is already gone is not started again only to be ended.
    if (HWND w = FindWindowA(kWinampWindowClass, nullptr)) {
        window_ = w;
        if (Send(WM_NULL, 0, 0)) {
            ShowWindow(window_, SW_HIDE);
            Command(kCommandStop);  // Close
            Send(WM_USER, 0, kIpcDelete);
            Sleep(5);
        }
    }
    if (OurProcessRuns()) {
        TerminateProcess(processInfo_.hProcess, 0);
        WaitForSingleObject(processInfo_.hProcess, 100);
    }
    ForgetProcess();
}

void TWinampControl::ForgetProcess() {
    if (processInfo_.hThread) CloseHandle(processInfo_.hThread);
    if (processInfo_.hProcess) CloseHandle(processInfo_.hProcess);
    processInfo_ = {};
}

bool TWinampControl::OurProcessRuns() const {
    return processInfo_.hProcess && WaitForSingleObject(processInfo_.hProcess, 0) == WAIT_TIMEOUT;
}

bool TWinampControl::Send(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* answer) {
    DWORD_PTR result = 0;
    if (!window_ ||
        !SendMessageTimeoutA(window_, msg, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG, sendTimeoutMs_, &result)) {
        window_ = nullptr;
        return false;
    }
    if (answer) *answer = static_cast<LRESULT>(result);
    return true;
}

bool TWinampControl::Command(WPARAM id) { return Send(WM_COMMAND, id, 0); }

bool TWinampControl::StartProgram() {
    // A player we started that is still running but shows no window is given
    // no twin: the next operation looks for its window again.
    if (OurProcessRuns()) return true;
    ForgetProcess();
    // Quoted, so a path with spaces cannot start another program on the way.
    std::string commandLine(1, '"');
    commandLine += AnsiPath(exePath_);
    commandLine += '"';
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(showCommand_);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    processInfo_ = pi;
    return true;
}

bool TWinampControl::EnsureWindow() {
    if (HWND w = FindWindowA(kWinampWindowClass, nullptr)) {
        window_ = w;
        return true;
    }
    window_ = nullptr;
    const bool ourProcessWasRunning = OurProcessRuns();
    if (!StartProgram()) return false;
    const DWORD start = GetTickCount();
    const DWORD bound = ourProcessWasRunning ? 0 : kStartTimeoutMs;
    HWND w = nullptr;
    for (;;) {
        w = FindWindowA(kWinampWindowClass, nullptr);
        if (w || GetTickCount() - start > bound) break;
        Sleep(5);
    }
    if (!w) return false;
    // Winamp registers its window before its message loop runs; wait until it
    // answers, within the same bound, so the first real message is not lost.
    DWORD_PTR version = 0;
    while (!SendMessageTimeoutA(w, WM_USER, 0, kIpcGetVersion, SMTO_NORMAL | SMTO_ABORTIFHUNG, 200, &version)) {
        if (GetTickCount() - start > kStartTimeoutMs || !IsWindow(w)) return false;
        Sleep(5);
    }
    window_ = w;
    return Send(WM_USER, 0, kIpcDelete);
}

void TWinampControl::Reserved() {}

void TWinampControl::Close() { Stop(); }

void TWinampControl::Play() {
    if (EnsureWindow()) Send(WM_USER, 0, kIpcStartPlay);
}
void TWinampControl::Stop() {
    if (EnsureWindow()) Command(kCommandStop);
}
void TWinampControl::Pause() {
    if (EnsureWindow()) Command(kCommandPause);
}
void TWinampControl::NextTrack() {
    if (EnsureWindow()) Command(kCommandNext);
}
void TWinampControl::PrevTrack() {
    if (EnsureWindow()) Command(kCommandPrev);
}

int32_t TWinampControl::GetTrackLength() {
    LRESULT r = 0;
    if (!EnsureWindow() || !Send(WM_USER, 1, kIpcGetOutputTime, &r)) return 0;
    return static_cast<int32_t>(r);
}

int32_t TWinampControl::GetPosition() {
    LRESULT r = 0;
    if (!EnsureWindow() || !Send(WM_USER, 0, kIpcGetOutputTime, &r)) return -1;
    return static_cast<int32_t>(r);
}

void TWinampControl::Seek(int32_t ms) {
    if (EnsureWindow()) Send(WM_USER, static_cast<WPARAM>(ms), kIpcJumpToTime);
}

void TWinampControl::VolumeUp() {
    if (EnsureWindow()) Command(kCommandVolumeUp);
}
void TWinampControl::VolumeDown() {
    if (EnsureWindow()) Command(kCommandVolumeDown);
}

int32_t TWinampControl::GetState() {
    LRESULT r = 0;
    if (!EnsureWindow() || !Send(WM_USER, 0, kIpcIsPlaying, &r)) return kPlayerUnknownState;
    return (r == kPlayerStopped || r == kPlayerPlaying || r == kPlayerPaused) ? static_cast<int32_t>(r)
                                                                              : kPlayerUnknownState;
}

int32_t TWinampControl::GetListLength() {
    LRESULT r = 0;
    if (!EnsureWindow() || !Send(WM_USER, 0, kIpcGetListLength, &r)) return 0;
    return static_cast<int32_t>(r);
}

int32_t TWinampControl::GetListPosition() {
    LRESULT r = 0;
    if (!EnsureWindow() || !Send(WM_USER, 0, kIpcGetListPos, &r)) return -1;
    return static_cast<int32_t>(r);
}

void TWinampControl::GetListFile(int32_t index, std::u16string& name) {
    name.clear();
    if (index < 0 || !EnsureWindow()) return;
    DWORD pid = 0;
    GetWindowThreadProcessId(window_, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return;
    LRESULT address = 0;
    char buffer[kListFileReadSize + 1] = {};
    // An index outside the list answers 0: there is nothing to read then.
    if (Send(WM_USER, static_cast<WPARAM>(index), kIpcGetPlaylistFile, &address) && address != 0) {
        const auto* from = reinterpret_cast<const char*>(address);
        SIZE_T got = 0;
        if (!ReadProcessMemory(process, from, buffer, kListFileReadSize, &got)) {
            // A short buffer at the end of a page: take what lies before the page end.
            const auto pageEnd = (reinterpret_cast<uintptr_t>(from) | 0xFFF) + 1;
            const SIZE_T first = static_cast<SIZE_T>(pageEnd - reinterpret_cast<uintptr_t>(from));
            std::memset(buffer, 0, sizeof(buffer));
            if (first >= kListFileReadSize || !ReadProcessMemory(process, from, buffer, first, &got))
                std::memset(buffer, 0, sizeof(buffer));
        }
        name = FromAnsi(std::string_view(buffer, strnlen(buffer, kListFileReadSize)));
    }
    CloseHandle(process);
    Sleep(5);
}

void TWinampControl::GetCurrentFile(std::u16string& name) { GetListFile(GetListPosition(), name); }

void TWinampControl::ClearList() {
    if (EnsureWindow()) Send(WM_USER, 0, kIpcDelete);
}

bool TWinampControl::AddFile(const std::u16string& name) {
    if (!EnsureWindow()) return false;
    std::string ansi = AnsiPath(name);
    std::vector<char> data(ansi.begin(), ansi.end());
    data.push_back('\0');  // counted in cbData
    COPYDATASTRUCT cds{};
    cds.dwData = kCopyDataPlayFile;
    cds.cbData = static_cast<DWORD>(data.size());
    cds.lpData = data.data();
    LRESULT r = 0;
    return Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), &r) && r != 0;
}

bool TWinampControl::ShowPlayerWindow(int32_t, int32_t showCommand) {
    showCommand_ = showCommand;
    // ShowWindow on another process's window waits for it: make sure it answers.
    if (!EnsureWindow() || !Send(WM_NULL, 0, 0)) return false;
    ShowWindow(window_, showCommand);
    if (showCommand != SW_HIDE) ShowOwnedPopups(window_, TRUE);
    return true;
}

PlayerFactory WinampPlayerFactory() {
    return [](const TPlayerItem& item) -> std::unique_ptr<TVNTPlayer> {
        return std::make_unique<TWinampControl>(item.Path, item.ShowCommand);
    };
}

RegistryStringReader LocalMachineRegistryReader() {
    return [](const std::u16string& key, const std::u16string& valueName) -> std::optional<std::u16string> {
        std::wstring k(key.begin(), key.end()), v(valueName.begin(), valueName.end());
        HKEY h = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, k.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return std::nullopt;
        std::optional<std::u16string> result;
        DWORD type = 0, size = 0;
        const wchar_t* name = v.empty() ? nullptr : v.c_str();
        if (RegQueryValueExW(h, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ)) {
            std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
            DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
            if (RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &got) ==
                ERROR_SUCCESS) {
                text.resize(wcsnlen(text.c_str(), text.size()));
                if (type == REG_EXPAND_SZ) {
                    wchar_t expanded[MAX_PATH * 4];
                    DWORD n = ExpandEnvironmentStringsW(text.c_str(), expanded, static_cast<DWORD>(std::size(expanded)));
                    if (n > 0 && n <= std::size(expanded)) text = expanded;
                }
                result = std::u16string(text.begin(), text.end());
            }
        }
        RegCloseKey(h);
        return result;
    };
}

FileExistsCheck WindowsFileExists() {
    return [](const std::u16string& path) {
        std::wstring p(path.begin(), path.end());
        DWORD attributes = GetFileAttributesW(p.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    };
}

}  // namespace qlm
