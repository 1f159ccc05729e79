// play.exe: "QLM Video Player", started by the shell with a video file on
// its command line.
#include <windows.h>

#include "videoplayer/video_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    qlm::video::TVideoWindow window(qlm::video::VideoFileOf(GetCommandLineW()));
    if (!window.CreateMain()) return 1;
    ShowWindow(window.hwnd(), showCommand);
    UpdateWindow(window.hwnd());
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
