// A window that shows one page in the HTML view, to look at pages by hand:
//   html_view_demo PAGE [WIDTH HEIGHT [SECONDS]]   (closes itself after SECONDS when given)
// Alt+Left / Alt+Right go back and forward; the caption names the page.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "base/text_codec.h"
#include "pages/preview_html.h"
#include "win/window.h"

namespace {

class DemoWindow : public qlm::win::Window {
public:
    qlm::TPreviewHTML view;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_SIZE: {
            RECT rc;
            GetClientRect(hwnd(), &rc);
            view.SetBounds(rc);
            return 0;
        }
        case WM_DESTROY: PostQuitMessage(0); return 0;
        }
        return Default(msg, wParam, lParam);
    }
};

void CALLBACK QuitNow(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 2) return 2;
    const int w = argc > 3 ? _wtoi(argv[2]) : 800, h = argc > 3 ? _wtoi(argv[3]) : 600;
    qlm::win::Window::RegisterWindowClass(L"QlmHtmlDemo", CS_HREDRAW | CS_VREDRAW, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    DemoWindow win;
    qlm::win::CreateParams p;
    p.className = L"QlmHtmlDemo";
    p.title = L"HTML view";
    p.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    p.x = 0;
    p.y = 0;
    p.width = w;
    p.height = h;
    if (!win.Create(p)) return 1;
    RECT rc;
    GetClientRect(win.hwnd(), &rc);
    win.view.Create(win.hwnd(), rc, 100);
    win.view.OnDownloadComplete = [&] {
        const std::string url = win.view.LocationURL();
        SetWindowTextW(win.hwnd(), std::wstring(url.begin(), url.end()).c_str());
    };
    win.view.Navigate(reinterpret_cast<const char16_t*>(argv[1]));
    SetFocus(win.view.hwnd());
    if (argc > 4) SetTimer(nullptr, 0, static_cast<UINT>(_wtoi(argv[4])) * 1000, QuitNow);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_LEFT) win.view.GoBack();
        if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_RIGHT) win.view.GoForward();
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
