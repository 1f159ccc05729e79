// Pictures come from any disk: any bytes must decode or be refused cleanly.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "pages/picture_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qlm::pictures::Picture pic;
    if (qlm::pictures::Decode(std::string_view(reinterpret_cast<const char*>(data), size), pic)) {
        for (const qlm::pictures::Frame& f : pic.frames)
            if (f.pixels.size() != static_cast<size_t>(pic.width) * static_cast<size_t>(pic.height)) __builtin_trap();
    }
    return 0;
}
