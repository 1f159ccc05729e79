// The arithmetic of the player panel, free of windows: the time text, where
// the slider sits and where a release seeks to, the scrolling of the title and
// comment lines, the shortening of very long texts, the two switches of the
// line icon, and the volume steps of a held button.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qlm {

// "m:ss", or "h:mm:ss" from an hour on; -1 (unknown) counts as 0.
std::string FormatPlayTime(int32_t seconds);

struct SliderGeometry {
    int leftWidth = 38;    // PlayerLeftImage
    int travel = 0;        // W: the width of PlayerCenterImage
    int buttonWidth = 22;  // SliderBtn
};

// Left edge of the slider button for the position (both in seconds).
int SliderButtonLeft(const SliderGeometry& g, double duration, double position);
// Width of the progress bar for a button at `buttonLeft`.
inline int ProgressWidth(const SliderGeometry& g, int buttonLeft) { return buttonLeft - g.leftWidth; }
// Where a drag may put the button's left edge (grab point kept inside the travel).
int ClampSliderLeft(const SliderGeometry& g, int wantedLeft);
// The seek target in ms of a release with the button's left edge at `buttonLeft`.
int32_t SeekTargetMs(const SliderGeometry& g, int buttonLeft, int32_t wholeDuration);

// One scrolling text line (title or comment).
struct ScrollLine {
    static constexpr int kStartDelay = 17;  // ticks of Timer2 before it moves
    static constexpr int kStep = 3;         // pixels a tick
    static constexpr int kGap = 100;        // between the text and its repeat
    int textWidth = 0;
    int lineWidth = 0;
    int offset = 0;
    int delay = kStartDelay;
    bool scrolling = false;

    // A new text: back to the start, with the delay.
    void SetText(int width);
    // One Timer2 tick; true when the line must be redrawn.
    bool Tick();
    // The icon's switch: off shows the start at once, without delay.
    void Toggle();
    // Width of the off-screen strip: two copies and the gap, at least the line.
    int StripWidth() const;
};

// Texts wider than this (doubled) would make a strip larger than GDI allows.
constexpr int kStripWidthLimit = 16283;
constexpr int kStripShortLow = 16229;
constexpr int kStripShortHigh = 16253;
// Shortens a text whose doubled width reaches the limit until its doubled
// width lies in [low, high] (first in proportion, then one character at a
// time) and appends "..."; other texts come back unchanged.
std::u16string ShortenForStrip(const std::u16string& text, const std::function<int(const std::u16string&)>& width);

// The line icon PlIconStr: which switch a press and release toggle.
enum class IconSwitch { None, Title, Comment };
IconSwitch IconSwitchOf(int pressY, int releaseX, int releaseY);

// Volume steps: a click gives two, each Timer1 tick while held four.
constexpr int kVolumeStepsPerClick = 2;
constexpr int kVolumeStepsPerTick = 4;

}  // namespace qlm
