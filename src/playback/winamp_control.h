// TWinampControl: the player interface carried out by remote-controlling an
// external Winamp through its window messages (commands as WM_COMMAND,
// queries as WM_USER, file names as WM_COPYDATA). Any program whose main
// window has the class "Winamp v1.x" and answers these messages will do.
#pragma once

#include <windows.h>

#include <string>

#include "playback/multi_players.h"
#include "playback/player_find_winamp.h"
#include "playback/player_interface.h"

namespace qlm {

inline constexpr char kWinampWindowClass[] = "Winamp v1.x";

// Winamp's message numbers as the shell uses them.
namespace winamp {
constexpr UINT kIpcGetVersion = 0;
constexpr UINT kIpcDelete = 101;
constexpr UINT kIpcStartPlay = 102;
constexpr UINT kIpcIsPlaying = 104;
constexpr UINT kIpcGetOutputTime = 105;
constexpr UINT kIpcJumpToTime = 106;
constexpr UINT kIpcGetListLength = 124;
constexpr UINT kIpcGetListPos = 125;
constexpr UINT kIpcGetPlaylistFile = 211;
constexpr ULONG_PTR kCopyDataPlayFile = 100;
constexpr WPARAM kCommandPrev = 40044;
constexpr WPARAM kCommandPlay = 40045;
constexpr WPARAM kCommandPause = 40046;
constexpr WPARAM kCommandStop = 40047;
constexpr WPARAM kCommandNext = 40048;
constexpr WPARAM kCommandVolumeUp = 40058;
constexpr WPARAM kCommandVolumeDown = 40059;
// ReadProcessMemory reads this much from the address that 211 answers.
constexpr size_t kListFileReadSize = 1001;
}  // namespace winamp

class TWinampControl final : public TVNTPlayer {
public:
    // A player that takes longer than this for one message counts as gone,
    // so a hung Winamp never freezes the shell. Generous, because opening a
    // song may wait for a CD to spin up.
    static constexpr UINT kSendTimeoutMs = 10000;
    // How long a freshly started Winamp may take to show its window.
    static constexpr DWORD kStartTimeoutMs = 10000;

    // Finds or starts Winamp, shows its window as asked, empties its play list
    // and stops it.
    TWinampControl(const std::u16string& exePath, int32_t showCommand);
    // Hides, stops and empties Winamp; ends it only when this object started it.
    ~TWinampControl() override;

    void Reserved() override;
    void Close() override;
    void Play() override;
    void Stop() override;
    void Pause() override;
    void NextTrack() override;
    void PrevTrack() override;
    int32_t GetTrackLength() override;
    int32_t GetPosition() override;
    void Seek(int32_t ms) override;
    void VolumeUp() override;
    void VolumeDown() override;
    int32_t GetState() override;
    int32_t GetListLength() override;
    void GetListFile(int32_t index, std::u16string& name) override;
    int32_t GetListPosition() override;
    void GetCurrentFile(std::u16string& name) override;
    void ClearList() override;
    bool AddFile(const std::u16string& name) override;
    bool ShowPlayerWindow(int32_t playerId, int32_t showCommand) override;

    // Finds Winamp's window by class, starting the program when there is none.
    bool EnsureWindow();
    // The shell leaves and Winamp plays on: the destructor then leaves it as it is.
    void LeaveRunning() { leaveRunning_ = true; }

    // The bound of one message (kSendTimeoutMs unless changed).
    void SetSendTimeout(UINT ms) { sendTimeoutMs_ = ms; }

    HWND Window() const { return window_; }
    const PROCESS_INFORMATION& ProcessInfo() const { return processInfo_; }
    int32_t ShowCommand() const { return showCommand_; }
    const std::u16string& ExePath() const { return exePath_; }

private:
    // One message with the time-out; false (and the window forgotten) when the
    // player did not answer.
    bool Send(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* answer = nullptr);
    bool Command(WPARAM id);
    bool StartProgram();
    bool OurProcessRuns() const;
    void ForgetProcess();

    HWND window_ = nullptr;
    PROCESS_INFORMATION processInfo_{};
    int32_t showCommand_ = 0;
    std::u16string exePath_;
    UINT sendTimeoutMs_ = kSendTimeoutMs;
    bool leaveRunning_ = false;
};

// The dispatcher's factory for the program: Winamp (id 1) becomes a TWinampControl.
PlayerFactory WinampPlayerFactory();

// The Windows registry and file system for FindWinampProgram.
RegistryStringReader LocalMachineRegistryReader();
FileExistsCheck WindowsFileExists();
inline std::u16string FindWinampProgram(const std::u16string& diskRoot, bool runningFromCd) {
    return FindWinampProgram(diskRoot, runningFromCd, LocalMachineRegistryReader(), WindowsFileExists());
}

// A Windows path in the ANSI code page that Winamp speaks; a name the code
// page cannot hold is passed in its 8.3 form, which it can.
std::string AnsiPath(const std::u16string& path);
std::u16string FromAnsi(std::string_view text);

}  // namespace qlm
