// TToolTipsWindow: a borderless, stay-on-top, never-active tip window whose
// owner draws the tip onto its canvas, sizes and places it; a timer hides it.
#pragma once

#include <windows.h>

#include "app/skin_picture.h"
#include "win/handles.h"
#include "win/window.h"

namespace qlm {

class TToolTipsWindow : public win::Window {
public:
    TToolTipsWindow() = default;
    bool CreateTip(HWND owner);

    // Resizes the client and the canvas (filled with the tool-tip colour).
    void SetClientSize(int width, int height);
    // The canvas `Canv` to draw the tip on.
    HDC Canvas() const { return canvasDc_.get(); }
    int ClientWidth() const { return canvas_.Width(); }
    int ClientHeight() const { return canvas_.Height(); }
    // Shows the window at a screen point without activating it and starts the hide timer.
    void ShowAt(int screenX, int screenY);
    void HideTip();
    // Interval of the hide timer (the hint-hide pause, 2500 ms by default).
    void SetHidePause(UINT ms) { hidePause_ = ms; }
    UINT HidePause() const { return hidePause_; }
    // The node whose tip is shown (owned by whoever shows the tip).
    const void* Node = nullptr;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void TimerTimer();
    void ClearCanvas();

    SkinPicture canvas_;
    win::UniqueMemoryDc canvasDc_;
    HGDIOBJ oldCanvas_ = nullptr;
    UINT hidePause_ = 2500;
    static constexpr UINT_PTR kTimerId = 1;
};

}  // namespace qlm
