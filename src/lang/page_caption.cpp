#include "lang/page_caption.h"

namespace qlm::lang {
namespace {
bool Blank(char16_t c) { return c == u' ' || c == u'\t'; }
}  // namespace

std::u16string NormalizePageCaption(std::u16string_view caption) {
    while (!caption.empty() && Blank(caption.front())) caption.remove_prefix(1);
    while (!caption.empty() && (Blank(caption.back()) || caption.back() == 0)) caption.remove_suffix(1);
    // Removing the character at the walk's position brings the next one
    // there, so one pass that drops or keeps characters does the walk.
    std::u16string s;
    s.reserve(caption.size());
    size_t j = 0;
    for (; j + 3 <= caption.size(); ++j) {
        bool drop = (Blank(caption[j]) && Blank(caption[j + 1])) || (caption[j] == u'&' && !Blank(caption[j + 1]));
        if (!drop) s.push_back(caption[j]);
    }
    s.append(caption.substr(j));
    return s;
}

}  // namespace qlm::lang
