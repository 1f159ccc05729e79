// Winamp.exe, the stand-in player: takes Winamp's place where Winamp is not
// installed (tests, the demo disk). Options: /LOG=path (or QLM_WINAMP_LOG)
// appends one line per message received.
#include <windows.h>

#include "player/standin_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    qlm::player::StandInWindow window(qlm::player::LogPathFrom(GetCommandLineW()));
    // Everything is ready before the window exists, and the loop runs at
    // once after: a shell that finds the window is answered straight away.
    if (!window.CreateMain()) return 1;
    ShowWindow(window.hwnd(), showCommand);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
