// Value readers shared by the style computer (style.cpp) and the colour and
// length parsing (style_values.cpp).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pages/html/style.h"

namespace qlm::html::style_detail {

bool Blank(char c);
std::string Lower(std::string_view s);
std::string_view Trim(std::string_view s);
// Splits on blanks, keeping "rgb(1, 2, 3)" and quoted names whole.
std::vector<std::string> Tokens(std::string_view s);
// "12", "12px", "1.5em", "50%", "10pt"... false when it is none of them.
bool ParseLength(std::string_view text, int fontSize, Length& out);
int Px(std::string_view text, int fontSize, int fallback);
// An HTML attribute length: "200" or "50%".
bool AttrLength(const std::string* a, Length& out);
int AttrInt(const std::string* a, int fallback);

constexpr int kHtmlFontSizes[8] = {0, 10, 13, 16, 18, 24, 32, 48};
bool ParseFontSize(std::string_view text, int parentSize, int& out);
ListType ListTypeNamed(std::string_view text, bool attribute);

}  // namespace qlm::html::style_detail
