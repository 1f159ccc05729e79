// The window's pictures come from the one picture loader (JPEG, GIF with its
// frames, BMP) that the HTML view and the slide show use too.
#include "pages/text_picture.h"

#include <filesystem>

#include "pages/picture_loader.h"

namespace qlm {

PictureFrames LoadPictureFrames(const std::u16string& path) {
    pictures::Picture picture;
    if (!pictures::Load(std::filesystem::path(std::wstring(path.begin(), path.end())), picture)) return {};
    PictureFrames frames;
    frames.reserve(picture.frames.size());
    for (pictures::Frame& f : picture.frames) {
        PictureFrame frame;
        frame.width = picture.width;
        frame.height = picture.height;
        frame.bgra = std::move(f.pixels);
        frame.delayMs = f.delayMs;
        frames.push_back(std::move(frame));
    }
    return frames;
}

}  // namespace qlm
