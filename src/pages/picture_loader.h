// Pictures of the disk's pages, texts and slides: JPEG (libjpeg-turbo), GIF
// (giflib, every frame of an animation) and BMP, decoded into 32-bit pixels.
// Window-free, so the decoders run under the sanitizers and a fuzzer.
//
//   qlm::pictures::Picture pic;
//   if (qlm::pictures::Load(path, pic)) { pic.width, pic.height, pic.frames[i].pixels, .delayMs }
//
// Pixels are rows top to bottom, each 0xAARRGGBB (BGRA bytes in memory),
// with premultiplied alpha: ready for a top-down DIB section and AlphaBlend.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace qlm::pictures {

struct Frame {
    std::vector<uint32_t> pixels;  // width * height, the whole picture as shown at this step
    int delayMs = 0;               // how long this frame stays; 0 for a still picture
};

struct Picture {
    int width = 0;
    int height = 0;
    bool transparent = false;  // some pixel is not opaque
    std::vector<Frame> frames;
    bool Animated() const { return frames.size() > 1; }
};

enum class Format { Unknown, Jpeg, Gif, Bmp };

// By the first bytes, not by the file name.
Format Sniff(std::string_view bytes);

// Pictures above this many pixels are refused rather than allocated.
constexpr int64_t kMaxPixels = 40'000'000;

// False for an unknown format or a picture that cannot be read; `out` is
// then empty. A truncated animation keeps the frames read before the damage.
bool Decode(std::string_view bytes, Picture& out);
bool Load(const std::filesystem::path& path, Picture& out);

}  // namespace qlm::pictures
