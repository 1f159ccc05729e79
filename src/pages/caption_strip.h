// Arithmetic of a scrolling caption: an off-screen strip holding the text
// twice, 100 pixels apart, copied into the visible line from a moving offset.
// Window-free; the slide show draws and blits what this computes.
#pragma once

#include <functional>
#include <string>

namespace qlm {

constexpr int kStripGap = 100;          // between the two copies of the text
constexpr int kStripMaxWidth = 16383;   // widest strip a bitmap is made for
constexpr int kStripStartDelay = 17;    // ticks before scrolling starts
constexpr int kStripStep = 3;           // pixels per tick

// Width of the strip for a text of `textWidth` in a line of `viewWidth`.
int StripWidth(int textWidth, int viewWidth);
// True when the text is drawn a second time at textWidth + kStripGap.
inline bool StripHasSecondCopy(int textWidth, int viewWidth) { return textWidth > viewWidth; }

// The text shortened, with "..." appended, until its strip fits kStripMaxWidth
// with 30 pixels or more to spare; unchanged when it already fits.
std::u16string ShortenSlideCaption(const std::u16string& text, const std::function<int(const std::u16string&)>& width);

class CaptionScroll {
public:
    void Set(int textWidth, int viewWidth) {
        textWidth_ = textWidth;
        viewWidth_ = viewWidth;
        offset_ = 0;
        delay_ = kStripStartDelay;
    }
    void SetViewWidth(int viewWidth) { viewWidth_ = viewWidth; }
    // One timer tick; true when the offset moved (the line needs redrawing).
    // The caption scrolls endlessly; one that fits stands still.
    bool Tick() {
        if (delay_ > 0) {
            --delay_;
            return false;
        }
        if (viewWidth_ >= textWidth_) return false;
        offset_ += kStripStep;
        if (offset_ > textWidth_ + kStripGap) offset_ = 0;
        return true;
    }
    int Offset() const { return offset_; }

private:
    int textWidth_ = 0;
    int viewWidth_ = 0;
    int offset_ = 0;
    int delay_ = 0;
};

}  // namespace qlm
