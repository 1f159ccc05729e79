#include "tools/find_text.h"

namespace qlm::find {

char16_t FoldChar(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
    if (c >= u'а' && c <= u'я') return static_cast<char16_t>(c - 32);
    if (c == u'ё') return u'Ё';
    return c;
}

std::u16string FoldText(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out) c = FoldChar(c);
    return out;
}

size_t FindFolded(std::u16string_view haystack, std::u16string_view needle) {
    if (needle.empty()) return std::u16string_view::npos;
    return haystack.find(needle);
}

bool ContainsText(std::u16string_view text, std::u16string_view wanted) {
    return FindFolded(FoldText(text), FoldText(wanted)) != std::u16string_view::npos;
}

bool EqualsText(std::u16string_view text, std::u16string_view wanted) { return FoldText(text) == FoldText(wanted); }

}  // namespace qlm::find
