// Just enough of an MPEG audio stream for the stand-in player: where the
// first frame is, its format, and how long the stream plays.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qlm::player {

struct MpegFrameHeader {
    int version = 1;          // 1, 2, or 25 for MPEG 2.5
    int layer = 3;
    int bitrateKbps = 0;
    int sampleRate = 0;
    int channels = 2;
    bool padding = false;
    int samplesPerFrame = 0;
    int frameBytes = 0;
};

// Decodes a 4-byte frame header; nullopt for anything that is not one
// (including free-format bit rates, which have no computable frame size).
std::optional<MpegFrameHeader> ParseFrameHeader(const unsigned char* p);

struct MpegStreamInfo {
    MpegFrameHeader first;
    uint64_t firstFrameOffset = 0;
    uint64_t audioBytes = 0;      // from the first frame to the end, less a trailing ID3v1 tag
    int64_t frameCount = -1;      // from a Xing/Info or VBRI header, -1 when absent
    int64_t durationMs = 0;
    int averageBitrateKbps = 0;
};

// Bytes an ID3v2 tag takes at the start of a file (from its first 10 bytes); 0 without one.
uint64_t Id3v2TagSize(std::string_view first10);

// head: bytes of the file from headOffset on (the end of any ID3v2 tag;
// 64 KiB is plenty); fileSize: the whole file's size; hasId3v1: the file ends
// in a 128-byte "TAG" block. nullopt when no frame is found in head.
std::optional<MpegStreamInfo> ReadMpegStreamInfo(std::string_view head, uint64_t headOffset, uint64_t fileSize,
                                                 bool hasId3v1);

}  // namespace qlm::player
