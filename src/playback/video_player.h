// Video playback through an external program: the menu "Выбрать видеоплейер"
// of the disk's video programs, the chosen one (ExtVPID), starting a video and
// closing the program started last.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/commands.h"
#include "playback/video_choice.h"

namespace qlm {

struct VideoHooks {
    // The audio player stopped for a video played from a list (and the user-stopped flag set).
    std::function<void()> stopAudio;
    // After a video started from a list: the active list repainted, the panel's lines cleared.
    std::function<void()> afterVideo;
    // "Не обнаружен AVI плейер!" in the skinned box.
    std::function<void()> noPlayer;
    std::function<bool(const std::u16string&)> fileExists;
};

class TVideoPlayers {
public:
    static constexpr WPARAM kCloseCommand = 40002;
    static constexpr uint16_t kMaxEntries = 99;

    explicit TVideoPlayers(VideoHooks hooks);
    ~TVideoPlayers();
    TVideoPlayers(const TVideoPlayers&) = delete;
    TVideoPlayers& operator=(const TVideoPlayers&) = delete;

    // Built anew for each disk with videos; `savedId` is ExtVPID.
    void Load(const VideoPlayerLookup& lookup, int savedId);
    void Clear();
    const std::vector<VideoPlayerEntry>& Entries() const { return entries_; }
    bool MenuEnabled() const { return !entries_.empty(); }
    int CurrentId() const { return currentId_; }
    const std::u16string& CurrentProgram() const { return currentProgram_; }

    // The menu's captions in entry order (ids from kVideoPlayerMenuFirst) and
    // the checked one (-1: none).
    std::vector<std::u16string> Captions() const;
    int CurrentIndex() const { return currentIndex_; }
    // The entry of a player id (ExtVPID), -1 when none has it.
    int IndexOfId(int id) const;
    // Per entry: its program file exists now.
    std::vector<bool> Shown() const;
    void Choose(size_t index);

    // Starts the chosen program on {disk root}Video\<path>.
    void PlayVideo(const std::u16string& videoFile, bool fromList);
    // Ends the program started last, if it still runs.
    void CloseRunning();
    bool Running() const;
    DWORD RunningProcessId() const { return process_.dwProcessId; }

private:
    VideoHooks hooks_;
    std::vector<VideoPlayerEntry> entries_;
    int currentId_ = -1;
    int currentIndex_ = -1;
    std::u16string currentProgram_;
    PROCESS_INFORMATION process_{};
};

// HKEY_LOCAL_MACHINE string values through RegQueryValueExA into 1024 bytes.
std::u16string ReadLocalMachineString(const std::u16string& key, const std::u16string& value);

}  // namespace qlm
