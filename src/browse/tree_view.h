// TVNTTreeView: the platform's tree-view control with two tool-tip events and
// the owner's text-width function. The control's own tips are off; the view
// decides per mouse move which stage the tip of the node under the cursor is
// in and lets the owner draw it (or leave it to the default).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

namespace qlm::browse {

class TVNTTreeView {
public:
    // Node is the tree item; the text is UTF-16.
    std::function<void(HTREEITEM node, std::u16string& ttText)> OnToolTipsText;
    // Flags: 0 cursor left of the text, 1 the text fits, 2 it does not fit.
    std::function<void(HTREEITEM node, int flags, const std::u16string& ttText, bool& defaultDraw)>
        OnCustomDrawToolTips;
    std::function<int(const std::u16string& text, HTREEITEM node)> TextWidth;
    // Raw input the owner handles before the control; true when consumed.
    std::function<bool(UINT msg, WPARAM wParam, LPARAM lParam)> OnInput;

    bool Create(HWND parent, int id);
    HWND hwnd() const { return hwnd_; }
    // The caption of an item (its display text).
    std::u16string Caption(HTREEITEM item) const;
    // The text rectangle of an item in client coordinates; false when hidden.
    bool TextRect(HTREEITEM item, RECT& rc) const;
    HTREEITEM ItemAt(int x, int y) const;

private:
    static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
    void MouseMoved(int x, int y);
    HWND hwnd_ = nullptr;
    WNDPROC controlProc_ = nullptr;
    bool tracking_ = false;
};

}  // namespace qlm::browse
