#include "pages/caption_strip.h"

#include <algorithm>

namespace qlm {

int StripWidth(int textWidth, int viewWidth) { return std::max(2 * textWidth + kStripGap, viewWidth); }

std::u16string ShortenSlideCaption(const std::u16string& text, const std::function<int(const std::u16string&)>& width) {
    if (2 * width(text) + kStripGap <= kStripMaxWidth) return text;
    constexpr int kSpare = 30;
    // Cut by halves first so a very long caption costs few measurements, then
    // character by character to the longest that fits.
    size_t keep = text.size();
    auto fits = [&](size_t n) { return 2 * width(text.substr(0, n) + u"...") + kStripGap <= kStripMaxWidth - kSpare; };
    size_t low = 0, high = keep;  // fits(low) holds; fits(high) may not
    while (low < high) {
        size_t mid = low + (high - low + 1) / 2;
        if (fits(mid))
            low = mid;
        else
            high = mid - 1;
    }
    return text.substr(0, low) + u"...";
}

}  // namespace qlm
