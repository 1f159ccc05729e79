// The video programs the shell can start, free of windows: the program named
// by the registered .avi "play" command, the menu's entries and which one is
// chosen, and the command line of a video.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qlm {

enum VideoPlayerId : uint8_t {
    kMediaPlayerId = 1,     // Windows Media Player
    kSystemAviPlayerId = 2,  // the program registered for .avi files
    kQlmVideoPlayerId = 3,   // "QLM Video Player" (play.exe)
};

struct VideoPlayerEntry {
    std::u16string caption;
    std::u16string program;
    uint8_t id = 0;
};

// The program of a registered command: the leading quoted part (up to the
// quote closing the first one), or a command without a leading quote up to
// its first quote; then every quote removed. "C:\P F\p.exe" /play "%L" ->
// C:\P F\p.exe.
std::u16string ProgramOfCommand(const std::u16string& command);

struct VideoPlayerLookup {
    // HKEY_LOCAL_MACHINE default values and named values; empty when missing.
    std::function<std::u16string(const std::u16string& key, const std::u16string& value)> readLocalMachine;
    std::function<bool(const std::u16string&)> fileExists;
    std::u16string diskRoot;              // with a trailing backslash
    std::u16string installedProgramPath;  // the installed qlm.exe, empty when none
    std::u16string defaultCaption;        // "Используемый по умолчанию"
};

// The menu's entries in their order, each only when its program exists.
std::vector<VideoPlayerEntry> FindVideoPlayers(const VideoPlayerLookup& lookup);
// The entry chosen at load: the saved id, else the first; -1 when none.
int ChooseVideoPlayer(const std::vector<VideoPlayerEntry>& entries, int savedId);

// The command line of a video: the program in quotes (a path with blanks is
// one argument), a space, the video file in quotes.
std::u16string VideoCommandLine(const std::u16string& program, const std::u16string& videoFile);

}  // namespace qlm
