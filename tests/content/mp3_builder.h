// Makes MP3 bytes for tests and the benchmark: silent MPEG frames with valid
// headers, Xing/VBRI headers and ID3 tags laid out as real writers do.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "content/mpeg_audio.h"

namespace qlm::test {

struct FrameSpec {
    uint8_t version = kMpeg1;
    uint8_t layer = kLayer3;
    uint8_t bitRateIndex = 9;     // 128 kbit/s for MPEG-1 Layer III
    uint8_t sampleRateIndex = 0;  // 44100 Hz for MPEG-1
    bool padding = false;
    uint8_t mode = 1;             // Joint Stereo
};

inline std::string FrameHeaderBytes(const FrameSpec& f) {
    std::string h(4, '\0');
    h[0] = char(0xFF);
    h[1] = char(0xE0 | (f.version << 3) | (f.layer << 1) | 1);  // no CRC
    h[2] = char((f.bitRateIndex << 4) | (f.sampleRateIndex << 2) | (f.padding ? 2 : 0));
    h[3] = char(f.mode << 6);
    return h;
}

inline int SpecFrameLength(const FrameSpec& f) { return FrameLength(DecodeFrameHeader(FrameHeaderBytes(f))); }

// One frame of silence: the header followed by zeros up to the frame length.
inline std::string Frame(const FrameSpec& f) {
    std::string frame = FrameHeaderBytes(f);
    frame.resize(size_t(SpecFrameLength(f)), '\0');
    return frame;
}

// `count` frames; with `paddingEvery` > 0 every n-th frame is padded, the way
// an encoder keeps 44.1 kHz streams at their bit rate.
inline std::string Frames(FrameSpec f, int count, int paddingEvery = 0) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        f.padding = paddingEvery > 0 && i % paddingEvery == paddingEvery - 1;
        out += Frame(f);
    }
    return out;
}

inline void PutBigEndian32(std::string& s, size_t at, uint32_t v) {
    s[at] = char(v >> 24);
    s[at + 1] = char(v >> 16);
    s[at + 2] = char(v >> 8);
    s[at + 3] = char(v);
}

inline size_t SideInfoOffset(const FrameSpec& f) {
    const bool mono = f.mode == 3;
    return f.version == kMpeg1 ? (mono ? 21 : 36) : (mono ? 13 : 21);
}

// A first frame that carries a Xing header with the given counts.
inline std::string XingFrame(const FrameSpec& f, uint32_t frames, uint32_t bytes) {
    std::string frame = Frame(f);
    const size_t at = SideInfoOffset(f);
    frame.replace(at, 4, "Xing");
    PutBigEndian32(frame, at + 4, 3);  // frames and bytes present
    PutBigEndian32(frame, at + 8, frames);
    PutBigEndian32(frame, at + 12, bytes);
    return frame;
}

// A first frame with a VBRI header 32 bytes behind the frame header.
inline std::string VbriFrame(const FrameSpec& f, uint32_t frames, uint32_t bytes) {
    std::string frame = Frame(f);
    frame.replace(36, 4, "VBRI");
    PutBigEndian32(frame, 36 + 10, bytes);
    PutBigEndian32(frame, 36 + 14, frames);
    return frame;
}

inline std::string Syncsafe(uint32_t v) {
    return {char((v >> 21) & 0x7F), char((v >> 14) & 0x7F), char((v >> 7) & 0x7F), char(v & 0x7F)};
}

// An ID3v2 tag of `major` version holding `frames` (identifier, body) and
// `padding` zero bytes.
inline std::string ID3v2Tag(const std::vector<std::pair<std::string, std::string>>& frames, size_t padding = 0,
                            uint8_t major = 3) {
    std::string body;
    for (const auto& [id, data] : frames) {
        std::string h = id;
        h.resize(4, ' ');
        h.append(4, '\0');
        PutBigEndian32(h, 4, uint32_t(data.size()));
        h.append(2, '\0');
        body += h + data;
    }
    body.append(padding, '\0');
    return std::string("ID3") + char(major) + '\0' + '\0' + Syncsafe(uint32_t(body.size())) + body;
}

// Body of a Latin-1 text frame.
inline std::string TextBody(std::string_view text) { return std::string(1, '\0') + std::string(text); }
// Body of a Latin-1 COMM frame.
inline std::string CommentBody(std::string_view description, std::string_view text) {
    return std::string(1, '\0') + "eng" + std::string(description) + '\0' + std::string(text);
}

inline std::string Field(std::string_view text, size_t length) {
    std::string f(text.substr(0, length));
    f.resize(length, '\0');
    return f;
}

inline std::string ID3v1Tag(std::string_view title, std::string_view artist, std::string_view album,
                            std::string_view year, std::string_view comment, uint8_t genre) {
    return "TAG" + Field(title, 30) + Field(artist, 30) + Field(album, 30) + Field(year, 4) + Field(comment, 30) +
           char(genre);
}

}  // namespace qlm::test
