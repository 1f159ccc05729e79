#include "playback/panel_logic.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qlm {

std::string FormatPlayTime(int32_t seconds) {
    if (seconds < 0) seconds = 0;
    const int32_t h = seconds / 3600, m = (seconds % 3600) / 60, x = seconds % 60;
    char text[32];
    if (h == 0)
        std::snprintf(text, sizeof text, "%d:%02d", static_cast<int>(m), static_cast<int>(x));
    else
        std::snprintf(text, sizeof text, "%d:%02d:%02d", static_cast<int>(h), static_cast<int>(m),
                      static_cast<int>(x));
    return text;
}

int SliderButtonLeft(const SliderGeometry& g, double duration, double position) {
    int p = g.leftWidth;
    if (duration > 0) p += static_cast<int>(std::lround(position / duration * g.travel));
    return p - g.buttonWidth / 2;
}

int ClampSliderLeft(const SliderGeometry& g, int wantedLeft) {
    const int low = g.leftWidth - g.buttonWidth / 2;
    return std::clamp(wantedLeft, low, low + std::max(0, g.travel));
}

int32_t SeekTargetMs(const SliderGeometry& g, int buttonLeft, int32_t wholeDuration) {
    if (g.travel <= 0) return 0;
    const double at = static_cast<double>(buttonLeft + g.buttonWidth / 2 - g.leftWidth) * wholeDuration / g.travel;
    return 1000 * static_cast<int32_t>(std::lround(std::max(0.0, at)));
}

void ScrollLine::SetText(int width) {
    textWidth = width;
    offset = 0;
    delay = kStartDelay;
}

bool ScrollLine::Tick() {
    if (!scrolling) return false;
    if (delay > 0) {
        --delay;
        return false;
    }
    if (textWidth <= lineWidth) return false;
    offset += kStep;
    if (offset > textWidth + kGap) {
        scrolling = false;
        offset = 0;
    }
    return true;
}

void ScrollLine::Toggle() {
    scrolling = !scrolling;
    if (!scrolling) {
        offset = 0;
        delay = 0;
    }
}

int ScrollLine::StripWidth() const { return std::max(2 * textWidth + kGap, lineWidth); }

std::u16string ShortenForStrip(const std::u16string& text, const std::function<int(const std::u16string&)>& width) {
    int w2 = 2 * width(text);
    if (w2 < kStripWidthLimit) return text;
    std::u16string t = text;
    // In proportion first: aim at the middle of the band.
    const double target = (kStripShortLow + kStripShortHigh) / 2.0;
    size_t len = static_cast<size_t>(static_cast<double>(t.size()) * target / w2);
    if (len < t.size()) t.resize(len);
    w2 = 2 * width(t);
    // Then a character at a time, whichever way is needed.
    while (w2 > kStripShortHigh && !t.empty()) {
        t.pop_back();
        w2 = 2 * width(t);
    }
    while (w2 < kStripShortLow && t.size() < text.size()) {
        std::u16string longer = t + text[t.size()];
        const int lw2 = 2 * width(longer);
        if (lw2 > kStripShortHigh) break;
        t = std::move(longer);
        w2 = lw2;
    }
    return t + u"...";
}

IconSwitch IconSwitchOf(int pressY, int releaseX, int releaseY) {
    if (pressY <= 10) return releaseX <= 12 && releaseY <= 11 ? IconSwitch::Title : IconSwitch::None;
    if (pressY <= 24) return releaseX < 13 && releaseY >= 12 && releaseY <= 24 ? IconSwitch::Comment : IconSwitch::None;
    return IconSwitch::None;
}

}  // namespace qlm
