#include "playback/video_player.h"

#include <algorithm>

#include "playback/winamp_control.h"
#include "win/window.h"

namespace qlm {

std::u16string ReadLocalMachineString(const std::u16string& key, const std::u16string& value) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, AnsiPath(key).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return {};
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1, type = 0;
    const std::string name = AnsiPath(value);
    LONG r = RegQueryValueExA(h, name.empty() ? nullptr : name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(h);
    if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    buffer[std::min<DWORD>(size, sizeof buffer - 1)] = 0;
    return FromAnsi(buffer);
}

TVideoPlayers::TVideoPlayers(VideoHooks hooks) : hooks_(std::move(hooks)) {}

TVideoPlayers::~TVideoPlayers() { CloseRunning(); }

void TVideoPlayers::Load(const VideoPlayerLookup& lookup, int savedId) {
    entries_ = FindVideoPlayers(lookup);
    if (entries_.size() > kMaxEntries) entries_.resize(kMaxEntries);
    currentIndex_ = ChooseVideoPlayer(entries_, savedId);
    currentId_ = currentIndex_ < 0 ? -1 : entries_[static_cast<size_t>(currentIndex_)].id;
    currentProgram_ = currentIndex_ < 0 ? std::u16string() : entries_[static_cast<size_t>(currentIndex_)].program;
}

void TVideoPlayers::Clear() {
    entries_.clear();
    currentIndex_ = -1;
    currentId_ = -1;
    currentProgram_.clear();
}

std::vector<std::u16string> TVideoPlayers::Captions() const {
    std::vector<std::u16string> captions;
    for (const auto& e : entries_) captions.push_back(e.caption);
    return captions;
}

int TVideoPlayers::IndexOfId(int id) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].id == id) return static_cast<int>(i);
    return -1;
}

std::vector<bool> TVideoPlayers::Shown() const {
    std::vector<bool> shown;
    for (const auto& e : entries_) shown.push_back(!hooks_.fileExists || hooks_.fileExists(e.program));
    return shown;
}

void TVideoPlayers::Choose(size_t index) {
    if (index >= entries_.size() || static_cast<int>(index) == currentIndex_) return;
    CloseRunning();
    currentIndex_ = static_cast<int>(index);
    currentId_ = entries_[index].id;
    currentProgram_ = entries_[index].program;
}

bool TVideoPlayers::Running() const {
    return process_.hProcess && process_.dwProcessId && GetProcessVersion(process_.dwProcessId) != 0 &&
           WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

namespace {

struct ThreadWindows {
    DWORD thread;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectThreadWindow(HWND w, LPARAM p) {
    auto* t = reinterpret_cast<ThreadWindows*>(p);
    if (GetWindowThreadProcessId(w, nullptr) == t->thread) t->windows.push_back(w);
    return TRUE;
}

std::vector<HWND> WindowsOfThread(DWORD thread) {
    ThreadWindows t{thread, {}};
    EnumWindows(CollectThreadWindow, reinterpret_cast<LPARAM>(&t));
    return t.windows;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

void TVideoPlayers::CloseRunning() {
    try {
        if (Running()) {
            if (currentId_ == kQlmVideoPlayerId) {
                auto windows = WindowsOfThread(process_.dwThreadId);
                if (!windows.empty()) SendMessageTimeoutW(windows.front(), WM_COMMAND, kCloseCommand, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
                Sleep(100);
                PumpMessages();
                TerminateProcess(process_.hProcess, 0);
            } else {
                TerminateProcess(process_.hProcess, 0);
                Sleep(30);
            }
        }
    } catch (...) {
    }
    if (process_.hThread) CloseHandle(process_.hThread);
    if (process_.hProcess) CloseHandle(process_.hProcess);
    process_ = {};
}

void TVideoPlayers::PlayVideo(const std::u16string& videoFile, bool fromList) {
    if (fromList && hooks_.stopAudio) hooks_.stopAudio();
    const bool present = !currentProgram_.empty() && (!hooks_.fileExists || hooks_.fileExists(currentProgram_));
    if (present) {
        CloseRunning();
        std::wstring line = win::Wide(VideoCommandLine(currentProgram_, videoFile));
        std::wstring program = win::Wide(currentProgram_);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION pi{};
        if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            process_ = pi;
            WaitForInputIdle(pi.hProcess, 3000);
            for (HWND w : WindowsOfThread(pi.dwThreadId))
                SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        }
    } else if (hooks_.noPlayer) {
        hooks_.noPlayer();
    }
    if (fromList && hooks_.afterVideo) hooks_.afterVideo();
}

}  // namespace qlm
