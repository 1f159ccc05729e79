#include "app/message_box_layout.h"

#include <cmath>

namespace qlm {

int RoundHalfEven(double v) {
    const double f = std::floor(v);
    const double d = v - f;
    if (d > 0.5) return static_cast<int>(f) + 1;
    if (d < 0.5) return static_cast<int>(f);
    const int i = static_cast<int>(f);
    return (i % 2 == 0) ? i : i + 1;
}

std::vector<int> MessageButtonLefts(int formWidth, int count, int buttonWidth) {
    std::vector<int> lefts;
    if (count <= 0) return lefts;
    const int b = formWidth - count * kMessageButtonPitch - 10;
    int x = RoundHalfEven(b / 2.0) + 93;
    for (int i = 0; i < count; ++i) {
        lefts.push_back(x - buttonWidth);
        x += kMessageButtonPitch;
    }
    return lefts;
}

std::vector<std::u16string> SplitButtonCaptions(std::u16string_view s) {
    std::vector<std::u16string> lines;
    std::u16string cur;
    for (size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (c == u'\r' || c == u'\n') {
            lines.push_back(cur);
            cur.clear();
            if (c == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n') ++i;
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

}  // namespace qlm
