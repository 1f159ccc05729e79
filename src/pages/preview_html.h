// TPreviewHTML: the program's own HTML view, a child window that shows the
// disk's pages (and .txt files and pictures linked from them). It parses
// with libxml2, lays out with pages/html and paints with GDI; no script runs.
//
// Use:
//   TPreviewHTML view;
//   view.OnBeforeNavigate = [](const std::u16string& url, bool& cancel) { ... };
//   view.OnProgressChange = [](int progress, int max) { if (max == 0) ...loaded... };
//   view.Create(parentHwnd, rect, id);
//   view.Navigate(u"D:\\Info\\page.htm");        // or a file: URL
//
// Navigate, GoBack, GoForward and Refresh return at once; the page loads on
// a message of its own, then the events arrive in this order:
//   CommandStateChange(2, canGoBack), CommandStateChange(1, canGoForward),
//   DownloadComplete(), ProgressChange(-1, 0).
// BeforeNavigate comes first, inside the call (or the click), and may cancel.
// A page that cannot be read shows an empty view: the events still arrive
// and LocationURL is then "". There are no frames, so FrameBeforeNavigate and
// FrameNavigateComplete are never raised (the members exist for owners that
// wire every event). Nothing here throws into the caller.
//
// Links: a click raises BeforeNavigate with the resolved address ("file:///"
// + the path with forward slashes, not %-escaped, so "*MUSIC 1 2" keeps its
// blanks). Unless cancelled: pages, .txt files and pictures open in the view
// and enter the history; "#name" scrolls; http:, https:, ftp:, news: and
// mailto: go to OpenExternal (the system's browser or mail program by
// default); javascript: and other local files (programs above all) do nothing.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "win/window.h"

namespace qlm {

class TPreviewHTML : public win::Window {
public:
    TPreviewHTML();
    ~TPreviewHTML() override;

    // A visible child of `parent` with the control id `id`.
    bool Create(HWND parent, const RECT& bounds, int id);
    void SetBounds(const RECT& bounds);
    void Show(bool visible);

    // A local path ("C:\dir\page.htm", relative ones against the page shown)
    // or a file: URL, with an optional "#name".
    void Navigate(std::u16string_view address);
    void GoBack();
    void GoForward();
    void Refresh();
    // "file:///C:/dir/page.htm#name" (other characters %-escaped UTF-8); "" when nothing is shown.
    std::string LocationURL() const;

    bool CanGoBack() const;
    bool CanGoForward() const;
    std::u16string Title() const;

    // The selected text (lines end in CR LF); Ctrl+A and Ctrl+C do the same.
    std::u16string SelectedText() const;
    void SelectAll();
    bool CopySelection();

    // Where `text` is first shown, in client coordinates (its middle); false
    // if it is not on the page. For tests and for owners that point at text.
    bool PointOfText(std::u16string_view text, POINT& client) const;
    int ScrollY() const;

    std::function<void(const std::u16string& url, bool& cancel)> OnBeforeNavigate;
    std::function<void(const std::u16string& url, bool& cancel)> OnFrameBeforeNavigate;
    std::function<void()> OnDownloadComplete;
    std::function<void(const std::u16string& url)> OnFrameNavigateComplete;
    std::function<void(int command, bool enable)> OnCommandStateChange;
    std::function<void(int progress, int progressMax)> OnProgressChange;
    // Opens an http:, https:, ftp:, news: or mailto: link; by default ShellExecute.
    std::function<void(const std::u16string& url)> OpenExternal;

    struct Impl;  // the page, its pictures, history and selection (preview_html.cpp)

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    std::unique_ptr<Impl> impl_;

    void FormCreate();
    void FormResize();
    void FormPaint();
    void LoadPending();
    void Scroll(int bar, int code);
    void MouseWheel(int delta);
    void KeyDown(WPARAM key);
    void MouseDown(POINT client);
    void MouseMove(POINT client, bool buttonDown);
    void MouseUp(POINT client);
    bool SetCursorForPoint();
    void AnimationTimer();
};

}  // namespace qlm
