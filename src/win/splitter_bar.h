// A thin child window at the left of a panel that the user drags to size the
// panel: it shows the west-east sizing cursor, captures the mouse while the
// button is down and reports, on every move and on release, where its right
// edge (the panel's left edge) goes, in screen coordinates; the point where
// the bar was taken keeps its place under the cursor.
#pragma once

#include <windows.h>

#include <functional>

#include "win/window.h"

namespace qlm::win {

class SplitterBar : public Window {
public:
    // `dragged` gets the screen x of the bar's right edge while it is dragged.
    bool Create(HWND parent, std::function<void(int edge)> dragged);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Drag();
    std::function<void(int)> dragged_;
    int grabX_ = 0;  // where in the bar the button went down
};

}  // namespace qlm::win
