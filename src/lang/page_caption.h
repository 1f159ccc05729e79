// Information-page captions as keys of a language file's ExtPages section.
#pragma once

#include <string>
#include <string_view>

namespace qlm::lang {

// The key a caption is looked up under: leading tabs and spaces dropped,
// trailing NULs, tabs and spaces dropped; then, walking pairs of neighbouring
// characters up to the pair that starts at the third-to-last character, a
// blank before a blank and an "&" before a non-blank are removed. The last
// pair is never looked at, so "ab&c" keeps its "&".
std::u16string NormalizePageCaption(std::u16string_view caption);

}  // namespace qlm::lang
