#pragma once
// The message loop of a modal window of our own: the owner is disabled while
// it runs and gets the activation back after; a WM_QUIT that arrives meanwhile
// ends the loop and is posted again, so the program's main loop ends as well.
#include <windows.h>

#include <functional>

namespace qlm::win {

// Runs until `done` turns true. `preview` sees each message first and answers
// true when it handled it; the window's dialog keys (Tab, arrows) come next.
void RunModalLoop(HWND window, HWND owner, const bool& done, const std::function<bool(MSG&)>& preview = {});

}  // namespace qlm::win
