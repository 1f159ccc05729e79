// The text window's view of ".htm" texts (PreviewHTML1), as the window sees
// it: one call that shows an HTML file, a refresh, and a report when loading
// has finished. The HTML view control plugs in through UseHtmlPane; until it
// does, a stand-in pane names the file it was asked to show.
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

using HtmlPaneFactory = std::function<std::unique_ptr<TextHtmlPane>(HWND parent)>;
// Text windows created after this call make their HTML pane with `factory`.
void UseHtmlPane(HtmlPaneFactory factory);
std::unique_ptr<TextHtmlPane> CreateHtmlPane(HWND parent);

}  // namespace qlm
