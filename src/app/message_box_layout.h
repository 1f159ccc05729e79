// Arithmetic of the skinned message box, kept free of windows for testing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qlm {

inline constexpr int kMessageClientWidth = 423;
inline constexpr int kMessageClientHeight = 128;
inline constexpr int kMessageButtonTop = 95;
inline constexpr int kMessageButtonWidth = 60;
inline constexpr int kMessageButtonHeight = 25;
inline constexpr int kMessageButtonPitch = 100;

// Rounds a half to the even neighbour, as the box's layout always did.
int RoundHalfEven(double v);

// Left edges of `count` buttons: b = form width - count * 100 - 10,
// x = round(b / 2) + 93; each button sits at x - its width, then x grows by 100.
std::vector<int> MessageButtonLefts(int formWidth, int count, int buttonWidth = kMessageButtonWidth);

// One caption per line; CR, LF and CR LF all end a line.
std::vector<std::u16string> SplitButtonCaptions(std::u16string_view captions);

}  // namespace qlm
