// The platform's HTML Help library, for an announcement given as a compiled
// help file: loaded from the in-process server registered for its class id,
// and usable only when it exports both HtmlHelpA and HtmlHelpW.
#pragma once

#include <windows.h>

#include <string>

#include "win/handles.h"

namespace qlm {

class HtmlHelpLibrary {
public:
    HtmlHelpLibrary() = default;
    HtmlHelpLibrary(const HtmlHelpLibrary&) = delete;
    HtmlHelpLibrary& operator=(const HtmlHelpLibrary&) = delete;
    ~HtmlHelpLibrary() { Unload(); }

    // Loads the registered library once; false when it is missing or lacks an entry point.
    bool Load();
    bool Loaded() const { return static_cast<bool>(module_); }
    // Defines the embedded window type and shows `file`'s start topic in it,
    // a child filling `parent`. Null when HTML Help shows nothing.
    HWND ShowEmbedded(const std::u16string& file, HWND parent);
    void CloseAll();
    // Sends the close-all command before letting the library go.
    void Unload();

private:
    using HtmlHelpWProc = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    win::UniqueModule module_;
    HtmlHelpWProc htmlHelpW_ = nullptr;
};

}  // namespace qlm
