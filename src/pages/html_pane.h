// The text window's view of ".htm" texts (PreviewHTML1), as the window sees
// it: one call that shows an HTML file, a refresh, and a report when loading
// has finished.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace qlm {

class TextHtmlPane {
public:
    virtual ~TextHtmlPane() = default;
    // The pane's child window (shown, hidden and moved by the text window).
    virtual HWND Window() const = 0;
    // Shows this ".htm" file.
    virtual void Navigate(const std::u16string& file) = 0;
    virtual void Refresh() = 0;
    // Called when a load has finished.
    std::function<void()> OnLoaded;
};

// The program's HTML view as the text window's pane.
std::unique_ptr<TextHtmlPane> CreateHtmlPane(HWND parent);

}  // namespace qlm
