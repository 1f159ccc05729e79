// The skin's table (skin_pictures.def) seen from C++: picture families and
// names, the painted colours and the spots pictures were drawn for.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qlm::skin {

struct PictureFamily {
    const char* base;
    const char* suffixes;  // blank-separated; empty: the bare base name
    int width;
    int height;
};

struct Colour {
    uint8_t r, g, b;
};

struct Spot {
    int x, y;
};

std::span<const PictureFamily> PictureFamilies();
// Every resource name of the skin, upper case, in table order.
std::vector<std::string> AllPictureNames();
// Width and height of the picture a name (any case) stands for.
std::optional<Spot> PictureSize(std::string_view name);

namespace colour {
#define SKIN_PICTURE(base, suffixes, w, h)
#define SKIN_COLOUR(name, r, g, b) inline constexpr Colour k##name{r, g, b};
#define SKIN_SPOT(name, x, y)
#include "app/skin/skin_pictures.def"
#undef SKIN_PICTURE
#undef SKIN_COLOUR
#undef SKIN_SPOT
}  // namespace colour

namespace spot {
#define SKIN_PICTURE(base, suffixes, w, h)
#define SKIN_COLOUR(name, r, g, b)
#define SKIN_SPOT(name, x, y) inline constexpr Spot k##name{x, y};
#include "app/skin/skin_pictures.def"
#undef SKIN_PICTURE
#undef SKIN_COLOUR
#undef SKIN_SPOT
}  // namespace spot

}  // namespace qlm::skin
