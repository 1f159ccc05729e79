#include "win/splitter_bar.h"

namespace qlm::win {

namespace {
constexpr const wchar_t* kClass = L"TQlmSplitter";
}

bool SplitterBar::Create(HWND parent, std::function<void(int edge)> dragged) {
    dragged_ = std::move(dragged);
    RegisterWindowClass(kClass, 0, GetSysColorBrush(COLOR_BTNFACE));
    CreateParams p;
    p.className = kClass;
    p.style = WS_CHILD | WS_CLIPSIBLINGS;
    p.x = p.y = p.width = p.height = 0;
    p.parent = parent;
    return Window::Create(p);
}

LRESULT SplitterBar::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SETCURSOR:
            SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
            return TRUE;
        case WM_LBUTTONDOWN:
            grabX_ = static_cast<short>(LOWORD(lParam));
            SetCapture(hwnd());
            return 0;
        case WM_MOUSEMOVE:
            if (GetCapture() == hwnd()) Drag();
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == hwnd()) {
                Drag();
                ReleaseCapture();
            }
            return 0;
        default:
            return Default(msg, wParam, lParam);
    }
}

void SplitterBar::Drag() {
    POINT pt{};
    GetCursorPos(&pt);
    RECT bar{};
    GetWindowRect(hwnd(), &bar);
    if (dragged_) dragged_(pt.x - grabX_ + (bar.right - bar.left));
}

}  // namespace qlm::win
