#include "player/mpeg_stream.h"

#include <cmath>
#include <string_view>

namespace qlm::player {

std::optional<MpegStreamInfo> StreamInfoOf(const TMPEGaudio& stream) {
    if (!stream.Found) return std::nullopt;
    const MpegFrameHeader& h = stream.Frame;
    MpegStreamInfo info;
    info.version = h.VersionId == kMpeg1 ? 1 : h.VersionId == kMpeg2 ? 2 : 25;
    info.layer = stream.Layer();
    info.bitrateKbps = FrameBitRate(h);
    info.averageBitrateKbps = stream.BitRate() > 0 ? stream.BitRate() : info.bitrateKbps;
    info.sampleRate = FrameSampleRate(h);
    info.channels = h.ModeId == kModeMono ? 1 : 2;
    info.padding = h.PaddingBit;
    info.frameBytes = FrameLength(h);
    info.firstFrameOffset = stream.ID3v2Size + stream.FramePosition;
    const uint64_t end = stream.FileSize - (stream.HasID3v1 && stream.FileSize >= 128 ? 128 : 0);
    info.audioBytes = end > info.firstFrameOffset ? end - info.firstFrameOffset : 0;
    const double seconds = stream.Duration();
    info.durationMs = std::isfinite(seconds) && seconds > 0 ? std::llround(seconds * 1000) : 0;
    if (info.sampleRate <= 0 || info.frameBytes <= 0) return std::nullopt;
    return info;
}

bool IsFrameOf(const unsigned char* p, const MpegStreamInfo& stream) {
    std::string_view b(reinterpret_cast<const char*>(p), 4);
    if (!IsFrameHeader(b)) return false;
    const MpegFrameHeader h = DecodeFrameHeader(b);
    return 4 - h.LayerId == stream.layer && FrameSampleRate(h) == stream.sampleRate;
}

}  // namespace qlm::player
