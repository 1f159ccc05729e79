#include "pages/picture_box.h"

namespace qlm {
namespace {
constexpr const wchar_t* kClassName = L"TQlmPictureBox";
constexpr UINT_PTR kFrameTimer = 1;
}  // namespace

bool TPictureBox::Create(HWND parent, Fit fit) {
    fit_ = fit;
    RegisterWindowClass(kClassName, CS_HREDRAW | CS_VREDRAW, nullptr);
    win::CreateParams p;
    p.className = kClassName;
    p.style = WS_CHILD | WS_CLIPSIBLINGS;
    p.x = p.y = 0;
    p.width = p.height = 0;
    p.parent = parent;
    return win::Window::Create(p);
}

void TPictureBox::SetFrames(PictureFrames frames) {
    KillTimer(hwnd(), kFrameTimer);
    frames_ = std::move(frames);
    current_ = 0;
    MakeBitmap();
    if (frames_.size() > 1) SetTimer(hwnd(), kFrameTimer, frames_[0].delayMs > 10 ? frames_[0].delayMs : 100, nullptr);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void TPictureBox::MakeBitmap() {
    bitmap_.reset();
    if (frames_.empty()) return;
    const PictureFrame& f = frames_[current_];
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = f.width;
    bi.bmiHeader.biHeight = -f.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap_ && bits) memcpy(bits, f.bgra.data(), f.bgra.size() * sizeof(uint32_t));
}

void TPictureBox::NextFrame() {
    if (frames_.size() < 2) return;
    current_ = (current_ + 1) % frames_.size();
    MakeBitmap();
    int delay = frames_[current_].delayMs > 10 ? frames_[current_].delayMs : 100;
    SetTimer(hwnd(), kFrameTimer, delay, nullptr);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

LRESULT TPictureBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_TIMER:
            if (wParam == kFrameTimer) NextFrame();
            return 0;
        case WM_NCHITTEST:
            return HTTRANSPARENT;  // clicks belong to the window below
        default:
            return Default(msg, wParam, lParam);
    }
}

void TPictureBox::Paint() {
    win::PaintScope paint(hwnd());
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    FillRect(paint.dc(), &rc, GetSysColorBrush(COLOR_BTNFACE));
    if (!bitmap_ || frames_.empty()) return;
    const PictureFrame& f = frames_[current_];
    win::UniqueMemoryDc mem(CreateCompatibleDC(paint.dc()));
    win::SelectScope sel(mem.get(), bitmap_.get());
    if (fit_ == Fit::Stretch) {
        SetStretchBltMode(paint.dc(), HALFTONE);
        SetBrushOrgEx(paint.dc(), 0, 0, nullptr);
        StretchBlt(paint.dc(), 0, 0, rc.right, rc.bottom, mem.get(), 0, 0, f.width, f.height, SRCCOPY);
    } else {
        BitBlt(paint.dc(), (rc.right - f.width) / 2, (rc.bottom - f.height) / 2, f.width, f.height, mem.get(), 0, 0,
               SRCCOPY);
    }
}

}  // namespace qlm
