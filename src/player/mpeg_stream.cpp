#include "player/mpeg_stream.h"

namespace qlm::player {
namespace {

// Bit rates in kbit/s by [MPEG-1?][layer-1][index]; index 0 is free format.
constexpr int kBitrates[2][3][16] = {
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}},
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
};
constexpr int kSampleRates[3] = {44100, 48000, 32000};

uint32_t Be32(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

}  // namespace

uint64_t Id3v2TagSize(std::string_view head) {
    if (head.size() < 10 || head.substr(0, 3) != "ID3") return 0;
    auto b = reinterpret_cast<const unsigned char*>(head.data());
    if ((b[6] | b[7] | b[8] | b[9]) & 0x80) return 0;
    uint64_t size = (uint64_t(b[6]) << 21) | (uint64_t(b[7]) << 14) | (uint64_t(b[8]) << 7) | b[9];
    return 10 + size + ((b[5] & 0x10) ? 10 : 0);
}

std::optional<MpegFrameHeader> ParseFrameHeader(const unsigned char* p) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return std::nullopt;
    const int versionBits = (p[1] >> 3) & 3;
    const int layerBits = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return std::nullopt;
    MpegFrameHeader h;
    h.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
    h.layer = 4 - layerBits;
    h.bitrateKbps = kBitrates[h.version == 1][h.layer - 1][bitrateIndex];
    h.sampleRate = kSampleRates[rateIndex] / (h.version == 1 ? 1 : h.version == 2 ? 2 : 4);
    h.padding = (p[2] >> 1) & 1;
    h.channels = (p[3] >> 6) == 3 ? 1 : 2;
    const int bps = h.bitrateKbps * 1000;
    if (h.layer == 1) {
        h.samplesPerFrame = 384;
        h.frameBytes = (12 * bps / h.sampleRate + h.padding) * 4;
    } else {
        h.samplesPerFrame = (h.layer == 3 && h.version != 1) ? 576 : 1152;
        h.frameBytes = h.samplesPerFrame / 8 * bps / h.sampleRate + h.padding;
    }
    return h;
}

std::optional<MpegStreamInfo> ReadMpegStreamInfo(std::string_view head, uint64_t headOffset, uint64_t fileSize,
                                                 bool hasId3v1) {
    const auto* b = reinterpret_cast<const unsigned char*>(head.data());
    const uint64_t end = fileSize - (hasId3v1 && fileSize >= 128 ? 128 : 0);
    for (uint64_t at = 0; at + 4 <= head.size(); ++at) {
        auto h = ParseFrameHeader(b + at);
        if (!h) continue;
        // A lone sync pattern inside other data is not a stream: the next
        // frame must follow where this one says, when that lies in view.
        const uint64_t next = at + h->frameBytes;
        if (next + 4 <= head.size()) {
            auto h2 = ParseFrameHeader(b + next);
            if (!h2 || h2->version != h->version || h2->layer != h->layer || h2->sampleRate != h->sampleRate)
                continue;
        }
        MpegStreamInfo info;
        info.first = *h;
        info.firstFrameOffset = headOffset + at;
        info.audioBytes = end > info.firstFrameOffset ? end - info.firstFrameOffset : 0;

        // Xing/Info after the side information, or VBRI at a fixed place.
        const int side = h->version == 1 ? (h->channels == 1 ? 17 : 32) : (h->channels == 1 ? 9 : 17);
        const uint64_t xing = at + 4 + side;
        const uint64_t vbri = at + 4 + 32;
        if (h->layer == 3 && xing + 12 <= head.size() &&
            (head.substr(xing, 4) == "Xing" || head.substr(xing, 4) == "Info") && (Be32(b + xing + 4) & 1)) {
            info.frameCount = Be32(b + xing + 8);
        } else if (h->layer == 3 && vbri + 18 <= head.size() && head.substr(vbri, 4) == "VBRI") {
            info.frameCount = Be32(b + vbri + 14);
        }
        if (info.frameCount >= 0) {
            info.durationMs = info.frameCount * h->samplesPerFrame * 1000LL / h->sampleRate;
            info.averageBitrateKbps =
                info.durationMs > 0 ? static_cast<int>(info.audioBytes * 8 / static_cast<uint64_t>(info.durationMs))
                                    : h->bitrateKbps;
        } else {
            info.durationMs = static_cast<int64_t>(info.audioBytes * 8 / static_cast<uint64_t>(h->bitrateKbps));
            info.averageBitrateKbps = h->bitrateKbps;
        }
        return info;
    }
    return std::nullopt;
}

}  // namespace qlm::player
