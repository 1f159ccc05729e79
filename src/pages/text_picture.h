// Decoding a picture file for the text window. This is the one place the
// window gets pixels from a file: JPEG and BMP give one frame, an animated
// GIF all of its frames (once a GIF decoder is linked in here).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qlm {

struct PictureFrame {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> bgra;  // top-down rows, 0xAARRGGBB
    int delayMs = 0;             // how long an animation shows this frame
};
using PictureFrames = std::vector<PictureFrame>;

// Empty when the file is missing, unreadable or of a kind not decoded here.
PictureFrames LoadPictureFrames(const std::u16string& path);

}  // namespace qlm
