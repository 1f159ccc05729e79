// Base of every window class of the program: one window-procedure thunk that
// finds the object at WM_NCCREATE, dispatches to HandleMessage and keeps
// exceptions from crossing user32's frames.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qlm::win {

struct CreateParams {
    const wchar_t* className = nullptr;
    std::wstring title;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    HWND parent = nullptr;
    HMENU menuOrId = nullptr;
};

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }

    // Registers a class whose procedure is the thunk; a second call is harmless.
    static bool RegisterWindowClass(const wchar_t* className, UINT style = CS_HREDRAW | CS_VREDRAW,
                                    HBRUSH background = nullptr, HICON icon = nullptr);
    bool Create(const CreateParams& params);
    void Destroy();

protected:
    // Named handlers live in the derived classes; this only dispatches.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcW(hwnd_, msg, wParam, lParam); }
    // Called after WM_NCDESTROY; the object may delete itself here.
    virtual void OnFinalMessage() {}

private:
    static LRESULT CALLBACK Thunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// UTF-16 text of the model as the Windows wide type, and back.
inline std::wstring Wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
inline std::u16string U16(std::wstring_view s) { return std::u16string(s.begin(), s.end()); }

HINSTANCE ModuleInstance();

}  // namespace qlm::win
