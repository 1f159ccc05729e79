#include "win/align_windows.h"

#include <algorithm>

namespace qlm::win {

void AlignedWindows::Bind(int box, HWND child, int inset) {
    if (child) bindings_.push_back({box, child, inset});
}

void AlignedWindows::Relayout(HWND parent) {
    RECT rc{};
    GetClientRect(parent, &rc);
    layout_.Arrange(rc.right - rc.left, rc.bottom - rc.top);
    HDWP batch = BeginDeferWindowPos(static_cast<int>(bindings_.size()));
    for (const auto& b : bindings_) {
        const LayoutRect& r = layout_.Bounds(b.box);
        bool shown = layout_.Visible(b.box) && r.Width() > 0 && r.Height() > 0;
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
        int w = std::max(0, r.Width() - 2 * b.inset), h = std::max(0, r.Height() - 2 * b.inset);
        if (batch) {
            batch = DeferWindowPos(batch, b.child, nullptr, r.left + b.inset, r.top + b.inset, w, h, flags);
        }
        if (!batch) {  // the batch failed: place this one directly
            SetWindowPos(b.child, nullptr, r.left + b.inset, r.top + b.inset, w, h, flags);
        }
    }
    if (batch) EndDeferWindowPos(batch);
    InvalidateRect(parent, nullptr, FALSE);
}

}  // namespace qlm::win
