// Case folding for file-name comparison: upper case of the letters of the
// three disk code pages (Latin, Latin-1, Latin Extended-A, Cyrillic).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qlm {

char16_t UpperChar(char16_t c);
std::u16string UpperCase(std::u16string_view text);
// Upper case of 8-bit text in the given Windows character set.
std::string UpperCaseBytes(std::string_view bytes, uint8_t charset);
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace qlm
