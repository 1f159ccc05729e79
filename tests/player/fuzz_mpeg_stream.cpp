// Arbitrary file heads through the MPEG stream reader.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "player/mpeg_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const uint64_t skip = qlm::player::Id3v2TagSize(bytes.substr(0, 10));
    std::string_view head = skip < bytes.size() ? bytes.substr(skip) : std::string_view();
    auto info = qlm::player::ReadMpegStreamInfo(head, skip, size, size > 200 && data[size - 128] == 'T');
    if (info && (info->durationMs < 0 || info->first.frameBytes <= 0)) __builtin_trap();
    return 0;
}
