// Pictures of the skin: the one loader of bitmap resources by name, giving a
// 32-bit top-down DIB section whose pixels the program may read and change.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/colour_scheme.h"
#include "win/handles.h"

namespace qlm {

class SkinPicture {
public:
    SkinPicture() = default;
    SkinPicture(SkinPicture&&) noexcept = default;
    SkinPicture& operator=(SkinPicture&&) noexcept = default;

    bool Empty() const { return !bitmap_; }
    HBITMAP Handle() const { return bitmap_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Pixels as 0x00RRGGBB words, rows top to bottom.
    uint32_t* Pixels() const { return bits_; }
    uint32_t PixelAt(int x, int y) const { return bits_[static_cast<std::ptrdiff_t>(y) * width_ + x] & 0xFFFFFFu; }
    PixelBlock Block() const { return {bits_, width_, height_, width_}; }

    // A blank picture of the given size (white).
    static SkinPicture Blank(int width, int height);
    // A 32-bit copy of any bitmap.
    static SkinPicture CopyOf(HBITMAP source);

private:
    win::UniqueBitmap bitmap_;
    uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// Loads the named bitmap resource (any case) of the running program; an empty
// picture when there is none.
SkinPicture LoadSkinPicture(std::wstring_view name);
SkinPicture LoadSkinPicture(std::string_view asciiName);

}  // namespace qlm
