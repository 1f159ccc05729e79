#include "app/skin/skin_table.h"

#include <cctype>

namespace qlm::skin {

namespace {

constexpr PictureFamily kFamilies[] = {
#define SKIN_PICTURE(base, suffixes, w, h) {#base, suffixes, w, h},
#define SKIN_COLOUR(name, r, g, b)
#define SKIN_SPOT(name, x, y)
#include "app/skin/skin_pictures.def"
#undef SKIN_PICTURE
#undef SKIN_COLOUR
#undef SKIN_SPOT
};

std::vector<std::string> Suffixes(const char* list) {
    std::vector<std::string> out;
    std::string cur;
    for (const char* p = list;; ++p) {
        if (*p == ' ' || *p == '\0') {
            if (!cur.empty()) out.push_back(cur);
            cur.clear();
            if (*p == '\0') break;
        } else {
            cur += *p;
        }
    }
    if (out.empty()) out.emplace_back();
    return out;
}

std::string Upper(std::string_view s) {
    std::string u(s);
    for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

}  // namespace

std::span<const PictureFamily> PictureFamilies() { return kFamilies; }

std::vector<std::string> AllPictureNames() {
    std::vector<std::string> names;
    for (const auto& f : kFamilies)
        for (const auto& s : Suffixes(f.suffixes)) names.push_back(std::string(f.base) + s);
    return names;
}

std::optional<Spot> PictureSize(std::string_view name) {
    const std::string u = Upper(name);
    for (const auto& f : kFamilies)
        for (const auto& s : Suffixes(f.suffixes))
            if (u == std::string(f.base) + s) return Spot{f.width, f.height};
    return std::nullopt;
}

}  // namespace qlm::skin
