#include "app/tooltips_window.h"

namespace qlm {

namespace {
constexpr wchar_t kClassName[] = L"TToolTipsWindow";
}

bool TToolTipsWindow::CreateTip(HWND owner) {
    RegisterWindowClass(kClassName, CS_SAVEBITS, nullptr);
    win::CreateParams p;
    p.className = kClassName;
    p.style = WS_POPUP | WS_BORDER | WS_DISABLED;
    p.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    p.x = 0;
    p.y = 0;
    p.width = 118;
    p.height = 17;
    p.parent = owner;
    if (!Create(p)) return false;
    SetClientSize(116, 15);
    return true;
}

void TToolTipsWindow::ClearCanvas() {
    if (canvas_.Empty()) return;
    RECT r{0, 0, canvas_.Width(), canvas_.Height()};
    FillRect(canvasDc_.get(), &r, GetSysColorBrush(COLOR_INFOBK));
    SetTextColor(canvasDc_.get(), GetSysColor(COLOR_INFOTEXT));
    SetBkMode(canvasDc_.get(), TRANSPARENT);
}

void TToolTipsWindow::SetClientSize(int width, int height) {
    if (width <= 0 || height <= 0) return;
    if (canvasDc_) SelectObject(canvasDc_.get(), oldCanvas_);
    canvas_ = SkinPicture::Blank(width, height);
    if (!canvasDc_) canvasDc_.reset(CreateCompatibleDC(nullptr));
    oldCanvas_ = SelectObject(canvasDc_.get(), canvas_.Handle());
    ClearCanvas();
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_EXSTYLE)));
    SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void TToolTipsWindow::ShowAt(int screenX, int screenY) {
    SetWindowPos(hwnd(), HWND_TOPMOST, screenX, screenY, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(hwnd(), nullptr, FALSE);
    KillTimer(hwnd(), kTimerId);
    SetTimer(hwnd(), kTimerId, hidePause_, nullptr);
}

void TToolTipsWindow::HideTip() {
    KillTimer(hwnd(), kTimerId);
    ShowWindow(hwnd(), SW_HIDE);
}

void TToolTipsWindow::TimerTimer() { HideTip(); }

LRESULT TToolTipsWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            win::PaintScope ps(hwnd());
            if (!canvas_.Empty())
                BitBlt(ps.dc(), 0, 0, canvas_.Width(), canvas_.Height(), canvasDc_.get(), 0, 0, SRCCOPY);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_TIMER:
            if (wParam == kTimerId) TimerTimer();
            return 0;
        case WM_NCDESTROY:
            if (canvasDc_) SelectObject(canvasDc_.get(), oldCanvas_);
            return Default(msg, wParam, lParam);
        default:
            return Default(msg, wParam, lParam);
    }
}

}  // namespace qlm
