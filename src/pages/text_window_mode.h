// The text window's three modes and what follows from them: the text
// button's tag, the dock panel's width, the checked menu item, and the print
// rectangle of its text. Window-free.
#pragma once

#include <optional>

namespace qlm {

// SetTextWindowMode's argument.
constexpr int kTextHidden = 0;
constexpr int kTextFloating = 1;
constexpr int kTextDocked = 2;

// The three items of the menu "Окно текстов".
enum class TextMenuItem { None, Dock, Float };

// The text button's tag: the mode limited to 0..1 (1: the window is shown).
int TextButtonTag(int mode);
// Form4Panel's width in a mode: nothing hidden, a drop strip floating, the
// docked width docked.
constexpr int kDropStripWidth = 10;
int DockPanelWidth(int mode, int dockedWidth);
// The item checked for a tag and whether the window sits in the panel.
TextMenuItem CheckedTextMenuItem(int tag, bool docked);
// The mode an item asks for; nothing when it is already checked.
std::optional<int> ModeOfMenuItem(TextMenuItem item, TextMenuItem checked);
// The text button toggles its tag: shown again goes back where it was.
int ModeForTextButton(int newTag, bool docked);

// The printed text's rectangle in twips on a page of W by H twips.
struct TwipsRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const TwipsRect&) const = default;
};
// Page size in twips from device pixels and dots per inch.
int PixelsToTwips(int pixels, int dotsPerInch);
// left = W * 0.04 + 200, top = H * 0.02 + 100 (products to the nearest
// integer, halves to even), right = W, bottom = H.
TwipsRect TextPrintRect(int pageWidthTwips, int pageHeightTwips);

}  // namespace qlm
