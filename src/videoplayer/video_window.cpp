#include "videoplayer/video_window.h"

#include <mmsystem.h>
#include <shellapi.h>

#include <cstdio>

namespace qlm::video {

std::wstring VideoFileOf(const wchar_t* commandLine) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(commandLine, &argc);
    std::wstring file;
    if (argv && argc >= 2) file = argv[1];
    if (argv) LocalFree(argv);
    return file;
}

TVideoWindow::~TVideoWindow() { CloseDevice(); }

bool TVideoWindow::CreateMain() {
    RegisterWindowClass(kVideoWindowClass, CS_HREDRAW | CS_VREDRAW, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)),
                        LoadIconW(nullptr, IDI_APPLICATION));
    win::CreateParams p;
    p.className = kVideoWindowClass;
    const size_t slash = file_.find_last_of(L"\\/");
    p.title = L"QLM Video Player - " + (slash == std::wstring::npos ? file_ : file_.substr(slash + 1));
    p.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    p.width = 360;
    p.height = 300;
    return Create(p);
}

LRESULT TVideoWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        FormCreate();
        return 0;
    case WM_SIZE:
        FormResize();
        return 0;
    case WM_PAINT:
        FormPaint();
        return 0;
    case WM_COMMAND:
        FormCommand(wParam);
        return 0;
    case MM_MCINOTIFY:
        if (wParam == MCI_NOTIFY_SUCCESSFUL) PlayEnded();
        return 0;
    case WM_DESTROY:
        CloseDevice();
        PostQuitMessage(0);
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}

bool TVideoWindow::Mci(const std::wstring& command, std::wstring* answer) {
    wchar_t buffer[256] = {};
    const MCIERROR e = mciSendStringW(command.c_str(), buffer, 256, hwnd());
    if (answer) *answer = buffer;
    if (e) {
        wchar_t text[256] = {};
        mciGetErrorStringW(e, text, 256);
        error_ = text;
    }
    return e == 0;
}

void TVideoWindow::FormCreate() {
    if (file_.empty()) {
        error_ = L"No video file given.";
        return;
    }
    wchar_t parent[32];
    std::swprintf(parent, 32, L"%lu", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(hwnd())));
    open_ = Mci(L"open \"" + file_ + L"\" type avivideo alias qlmvideo parent " + parent + L" style child");
    if (!open_) return;
    // The window takes the video's own size.
    std::wstring where;
    if (Mci(L"where qlmvideo source", &where)) {
        int x = 0, y = 0, w = 0, h = 0;
        if (std::swscanf(where.c_str(), L"%d %d %d %d", &x, &y, &w, &h) == 4 && w > 0 && h > 0) {
            RECT rc{0, 0, w, h};
            AdjustWindowRect(&rc, WS_OVERLAPPEDWINDOW, FALSE);
            SetWindowPos(hwnd(), nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
        }
    }
    FormResize();
    Mci(L"play qlmvideo notify");
}

void TVideoWindow::FormResize() {
    if (!open_) return;
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    wchar_t put[96];
    std::swprintf(put, 96, L"put qlmvideo window at 0 0 %ld %ld", rc.right, rc.bottom);
    Mci(put);
}

void TVideoWindow::FormPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    if (!open_ && !error_.empty()) {
        RECT rc{};
        GetClientRect(hwnd(), &rc);
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, error_.c_str(), -1, &rc, DT_CENTER | DT_VCENTER | DT_WORDBREAK);
    }
    EndPaint(hwnd(), &ps);
}

void TVideoWindow::FormCommand(WPARAM id) {
    if (LOWORD(id) == kCloseCommand) DestroyWindow(hwnd());
}

void TVideoWindow::PlayEnded() {
    // The last frame stays; the window closes when the user or the shell says so.
}

void TVideoWindow::CloseDevice() {
    if (!open_) return;
    open_ = false;
    mciSendStringW(L"close qlmvideo", nullptr, 0, nullptr);
}

}  // namespace qlm::video
