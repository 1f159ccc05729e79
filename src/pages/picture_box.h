// A child window that shows a decoded picture: stretched over its bounds
// (the text window's Image2) or centred at its own size and animated through
// its frames (the title picture when it is a GIF).
#pragma once

#include <windows.h>

#include "pages/text_picture.h"
#include "win/handles.h"
#include "win/window.h"

namespace qlm {

class TPictureBox : public win::Window {
public:
    enum class Fit { Stretch, Centre };
    bool Create(HWND parent, Fit fit);
    // Shows the frames (the first one at once); empty frames clear the box.
    void SetFrames(PictureFrames frames);
    bool Empty() const { return frames_.empty(); }
    int PictureWidth() const { return frames_.empty() ? 0 : frames_[0].width; }
    int PictureHeight() const { return frames_.empty() ? 0 : frames_[0].height; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    void NextFrame();
    void MakeBitmap();
    Fit fit_ = Fit::Stretch;
    PictureFrames frames_;
    size_t current_ = 0;
    win::UniqueBitmap bitmap_;
};

}  // namespace qlm
