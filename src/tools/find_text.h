// How the find dialog compares texts: Latin and Russian letters without
// regard to case ("ё" with "Ё" too); every other letter only matches itself,
// so "é" and "É" stay apart as the disks' own search always kept them.
#pragma once

#include <string>
#include <string_view>

namespace qlm::find {

// The letters a-z and а-я to their capitals, ё to Ё; everything else as is.
// One character in, one out, so positions in the result are positions in the text.
char16_t FoldChar(char16_t c);
std::u16string FoldText(std::u16string_view text);

// 0-based position of `needle` in `haystack`, both already folded; npos when absent.
size_t FindFolded(std::u16string_view haystack, std::u16string_view needle);

// Convenience forms that fold both sides.
bool ContainsText(std::u16string_view text, std::u16string_view wanted);
bool EqualsText(std::u16string_view text, std::u16string_view wanted);

}  // namespace qlm::find
