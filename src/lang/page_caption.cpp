#include "lang/page_caption.h"

namespace qlm::lang {
namespace {
bool Blank(char16_t c) { return c == u' ' || c == u'\t'; }
}  // namespace

std::u16string NormalizePageCaption(std::u16string_view caption) {
    while (!caption.empty() && Blank(caption.front())) caption.remove_prefix(1);
    while (!caption.empty() && (Blank(caption.back()) || caption.back() == 0)) caption.remove_suffix(1);
    std::u16string s(caption);
    size_t i = 0;
    while (s.size() >= 3 && i <= s.size() - 3) {
        if (Blank(s[i]) && Blank(s[i + 1]))
            s.erase(i, 1);
        else if (s[i] == u'&' && !Blank(s[i + 1]))
            s.erase(i, 1);
        else
            ++i;
    }
    return s;
}

}  // namespace qlm::lang
