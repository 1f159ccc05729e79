// One line per message the stand-in received, so tests can check exactly
// what a shell sent and what it was answered. Off unless a path is given.
#pragma once

#include <windows.h>

#include <string>

#include "win/handles.h"

namespace qlm::player {

class MessageLog {
public:
    // Appends to this file; an empty path leaves the log off.
    explicit MessageLog(const std::wstring& path);
    bool Enabled() const { return static_cast<bool>(file_); }
    // e.g. "WM_USER wParam=0 lParam=104 -> 1"
    void User(WPARAM wParam, LPARAM lParam, LRESULT answer);
    void Command(WPARAM wParam, LPARAM lParam, LRESULT answer);
    // e.g. "WM_COPYDATA wParam=0 dwData=100 cbData=9 data="C:\a.mp3" zero=1 -> 1"
    void CopyData(WPARAM wParam, const COPYDATASTRUCT* cds, LRESULT answer);

private:
    void Write(const std::string& line);
    win::UniqueFile file_;
};

// The log path: "/LOG=path" on the command line, else QLM_WINAMP_LOG.
std::wstring LogPathFrom(const wchar_t* commandLine);

}  // namespace qlm::player
