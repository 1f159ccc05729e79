#include "win/modal_loop.h"

namespace qlm::win {

void RunModalLoop(HWND window, HWND owner, const bool& done, const std::function<bool(MSG&)>& preview) {
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    MSG m{};
    bool quit = false;
    while (!done) {
        const BOOL got = GetMessageW(&m, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            break;
        }
        if (got < 0) break;
        if (preview && preview(m)) continue;
        if (IsDialogMessageW(window, &m)) continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    if (ownerWasEnabled) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (quit) PostQuitMessage(static_cast<int>(m.wParam));
}

}  // namespace qlm::win
