// What the stand-in player needs to know about an MPEG audio stream, taken
// from the shell's own stream reader (TMPEGaudio) so that the player and the
// player panel agree on every song's length.
#pragma once

#include <cstdint>
#include <optional>

#include "content/mpeg_audio.h"

namespace qlm::player {

struct MpegStreamInfo {
    int version = 1;           // 1, 2, or 25 for MPEG 2.5
    int layer = 3;
    int bitrateKbps = 0;       // of the first frame
    int averageBitrateKbps = 0;
    int sampleRate = 0;
    int channels = 2;
    bool padding = false;      // of the first frame
    int frameBytes = 0;        // of the first frame
    uint64_t firstFrameOffset = 0;
    uint64_t audioBytes = 0;   // from the first frame to the end, less a trailing ID3v1 tag
    int64_t durationMs = 0;
};

// nullopt when the reader found no audio frame.
std::optional<MpegStreamInfo> StreamInfoOf(const TMPEGaudio& stream);

// Whether 4 bytes start a frame of the same stream (version, layer and rate).
bool IsFrameOf(const unsigned char* p, const MpegStreamInfo& stream);

}  // namespace qlm::player
