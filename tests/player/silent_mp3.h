// Small valid MP3 files made in the test itself: MPEG-1 Layer III frames,
// 128 kbit/s, 44.1 kHz, mono, whose side information is all zero (a decoder
// plays them as silence).
#pragma once

#include <cstdint>
#include <string>

namespace qlm::test {

constexpr int kSilentFrameBytes = 417;            // 144 * 128000 / 44100
constexpr double kSilentFrameMs = 1152 * 1000.0 / 44100;

inline std::string SilentFrame() {
    std::string f(kSilentFrameBytes, '\0');
    f[0] = '\xFF';
    f[1] = '\xFB';  // MPEG-1, Layer III, no CRC
    f[2] = '\x90';  // 128 kbit/s, 44.1 kHz, no padding
    f[3] = '\xC0';  // mono
    return f;
}

// frames of audio; withXing adds a leading Xing frame that counts them;
// id3v2Bytes puts a tag of that many bytes (header included) in front.
inline std::string SilentMp3(int frames, bool withXing = false, int id3v2Bytes = 0) {
    std::string out;
    if (id3v2Bytes >= 10) {
        uint32_t size = static_cast<uint32_t>(id3v2Bytes - 10);
        out = std::string("ID3\x03\x00\x00", 6);
        out += static_cast<char>((size >> 21) & 0x7F);
        out += static_cast<char>((size >> 14) & 0x7F);
        out += static_cast<char>((size >> 7) & 0x7F);
        out += static_cast<char>(size & 0x7F);
        out += std::string(size, '\0');
    }
    if (withXing) {
        std::string f = SilentFrame();
        const int at = 4 + 17;
        const uint32_t bytes = static_cast<uint32_t>(frames + 1) * kSilentFrameBytes;
        f.replace(at, 4, "Xing");
        f[at + 7] = 3;  // frame and byte counts present
        for (int k = 0; k < 4; ++k) {
            f[at + 8 + k] = static_cast<char>(static_cast<uint32_t>(frames) >> (24 - 8 * k));
            f[at + 12 + k] = static_cast<char>(bytes >> (24 - 8 * k));
        }
        out += f;
    }
    for (int i = 0; i < frames; ++i) out += SilentFrame();
    return out;
}

}  // namespace qlm::test
