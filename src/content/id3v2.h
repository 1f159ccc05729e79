// The ID3v2 tag at the start of an MP3 file; only major version 3 (ID3v2.3)
// is read. Values are single-byte texts in the disk's code page.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "content/byte_source.h"

namespace qlm {

struct TId3Tag20 {
    std::string TRCK, TENC, WXXX, TCOP, TCOM, TOPE, COMM, TYER, TCON, TALB, TPE1, TIT2;

    static constexpr size_t kFieldCount = 12;
    // The frame identifiers in the order of the fields.
    static constexpr std::array<std::string_view, kFieldCount> kFrameIds = {
        "TRCK", "TENC", "WXXX", "TCOP", "TCOM", "TOPE", "COMM", "TYER", "TCON", "TALB", "TPE1", "TIT2"};

    std::string& Field(size_t index);
    const std::string& Field(size_t index) const;
};

// Frame data larger than this is skipped without being stored.
constexpr size_t kID3v2FrameBuffer = 65535;

// Size of the ID3v2 tag of any major version including its 10-byte header (and
// the footer of version 4), or 0 when the file does not start with a tag or the
// tag would reach past the end of the file. The audio starts there.
uint64_t ID3v2TagSize(ByteSource& file);

// Found when the file begins with "ID3", the major version is 3 and the tag
// lies within the file. `out` is cleared first.
bool ReadID3v2(ByteSource& file, TId3Tag20& out);

// Text of an ID3v2 text frame body after its encoding byte: Latin-1 bytes are
// kept as they are; UTF-16 and UTF-8 are converted to Windows-1251; a
// terminating zero is dropped.
std::string ID3v2Text(uint8_t encoding, std::string_view data);

}  // namespace qlm
