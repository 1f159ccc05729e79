// Moves the child windows bound to the boxes of an AlignLayout in one
// DeferWindowPos batch per relayout: every bound window is a direct child of
// the same top-level window, so the batch is valid and the window repaints once.
#pragma once

#include <windows.h>

#include <vector>

#include "base/align_layout.h"

namespace qlm::win {

class AlignedWindows {
public:
    explicit AlignedWindows(AlignLayout& layout) : layout_(layout) {}

    // `child` takes the bounds of `box` (shrunk by `inset` on each side) and is
    // shown exactly while the box is visible.
    void Bind(int box, HWND child, int inset = 0);
    // Lays the layout out for the parent's client area and moves the children.
    void Relayout(HWND parent);

private:
    struct Binding {
        int box;
        HWND child;
        int inset;
    };
    AlignLayout& layout_;
    std::vector<Binding> bindings_;
};

}  // namespace qlm::win
