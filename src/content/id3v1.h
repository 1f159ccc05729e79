// The ID3v1 tag: the 128-byte block at the end of an MP3 file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "content/byte_source.h"

namespace qlm {

struct ID3v1Fields {
    std::string Title;    // 30 bytes at offset 3
    std::string Artist;   // 30 at 33
    std::string Album;    // 30 at 63
    std::string Year;     // 4 at 93
    std::string Comment;  // 30 at 97; an ID3v1.1 track number stays in it
    uint8_t Genre = 255;  // byte 127, the ID3v1 genre number
};

constexpr size_t kID3v1Size = 128;

// Removes trailing bytes 0, tab and space.
std::string_view TrimTagTail(std::string_view text);

// `block` must be the last 128 bytes of the file.
bool ParseID3v1(std::string_view block, ID3v1Fields& out);
// Found when the last 128 bytes begin with "TAG"; `out` is cleared otherwise.
bool ReadID3v1(ByteSource& file, ID3v1Fields& out);

}  // namespace qlm
