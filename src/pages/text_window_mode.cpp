#include "pages/text_window_mode.h"

#include <cstdint>

#include "pages/fit_picture.h"

namespace qlm {

int TextButtonTag(int mode) { return mode <= 0 ? 0 : 1; }

int DockPanelWidth(int mode, int dockedWidth) {
    if (mode == kTextDocked) return dockedWidth;
    if (mode == kTextFloating) return kDropStripWidth;
    return 0;
}

TextMenuItem CheckedTextMenuItem(int tag, bool docked) {
    if (tag == 0) return TextMenuItem::None;
    return docked ? TextMenuItem::Dock : TextMenuItem::Float;
}

std::optional<int> ModeOfMenuItem(TextMenuItem item, TextMenuItem checked) {
    if (item == checked) return std::nullopt;
    switch (item) {
        case TextMenuItem::None: return kTextHidden;
        case TextMenuItem::Dock: return kTextDocked;
        case TextMenuItem::Float: return kTextFloating;
    }
    return std::nullopt;
}

int ModeForTextButton(int newTag, bool docked) { return newTag == 1 && docked ? kTextDocked : newTag; }

int PixelsToTwips(int pixels, int dotsPerInch) {
    if (dotsPerInch <= 0) return 0;
    return static_cast<int>(int64_t{pixels} * 1440 / dotsPerInch);
}

TwipsRect TextPrintRect(int W, int H) {
    TwipsRect r;
    r.left = static_cast<int>(RoundDivHalfEven(int64_t{W} * 4, 100)) + 200;
    r.top = static_cast<int>(RoundDivHalfEven(int64_t{H} * 2, 100)) + 100;
    r.right = W;
    r.bottom = H;
    return r;
}

}  // namespace qlm
