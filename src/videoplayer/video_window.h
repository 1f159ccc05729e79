// play.exe, the shell's own video player: one window that plays the video
// named on its command line through the system's MCI video playback, and
// closes on WM_COMMAND 40002 (the shell's "close" request) or when the video ends.
#pragma once

#include <windows.h>

#include <string>

#include "win/window.h"

namespace qlm::video {

inline constexpr wchar_t kVideoWindowClass[] = L"QLMVideoPlayer";
inline constexpr WPARAM kCloseCommand = 40002;

class TVideoWindow final : public win::Window {
public:
    explicit TVideoWindow(std::wstring file) : file_(std::move(file)) {}
    ~TVideoWindow() override;
    bool CreateMain();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FormResize();
    void FormPaint();
    void FormCommand(WPARAM id);
    void PlayEnded();
    bool Mci(const std::wstring& command, std::wstring* answer = nullptr);
    void CloseDevice();

    std::wstring file_;
    bool open_ = false;
    std::wstring error_;
};

// The file argument of the command line: the first argument after the
// program, without its quotes.
std::wstring VideoFileOf(const wchar_t* commandLine);

}  // namespace qlm::video
