#include "content/mpeg_audio.h"

#include <algorithm>
#include <cmath>

#include "content/file_source.h"
#include "content/id3v1.h"
#include "content/id3v2.h"

namespace qlm {
namespace {

// Bit rates in kbit/s by index 1 to 14.
constexpr int kBitRates[5][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // MPEG-1 Layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // MPEG-1 Layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // MPEG-1 Layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},     // MPEG-2/2.5 Layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},          // MPEG-2/2.5 Layers II, III
};
constexpr int kSampleRates[4][3] = {
    {11025, 12000, 8000},   // MPEG-2.5
    {0, 0, 0},              // reserved
    {22050, 24000, 16000},  // MPEG-2
    {44100, 48000, 32000},  // MPEG-1
};
constexpr std::string_view kModeTexts[5] = {"Stereo", "Joint Stereo", "Dual Channel", "Mono", "Unknown"};

uint32_t BigEndian32(std::string_view b) {
    return (uint32_t(uint8_t(b[0])) << 24) | (uint32_t(uint8_t(b[1])) << 16) | (uint32_t(uint8_t(b[2])) << 8) |
           uint32_t(uint8_t(b[3]));
}

bool IsValidHeaderAt(std::string_view block, size_t pos) {
    return pos + 4 <= block.size() && IsFrameHeader(block.substr(pos, 4));
}

}  // namespace

bool IsFrameHeader(std::string_view b) {
    const uint8_t b0 = uint8_t(b[0]), b1 = uint8_t(b[1]), b2 = uint8_t(b[2]), b3 = uint8_t(b[3]);
    return b0 == 0xFF && b1 >= 0xE0 && ((b1 >> 3) & 3) != 1 && ((b1 >> 1) & 3) != 0 && (b2 >> 4) != 0 &&
           (b2 >> 4) != 15 && ((b2 >> 2) & 3) != 3 && (b3 & 3) != 2;
}

MpegFrameHeader DecodeFrameHeader(std::string_view b) {
    const uint8_t b1 = uint8_t(b[1]), b2 = uint8_t(b[2]), b3 = uint8_t(b[3]);
    MpegFrameHeader h;
    h.VersionId = (b1 >> 3) & 3;
    h.LayerId = (b1 >> 1) & 3;
    h.ProtectionBit = b1 & 1;
    h.BitRateIndex = b2 >> 4;
    h.SampleRateIndex = (b2 >> 2) & 3;
    h.PaddingBit = (b2 >> 1) & 1;
    h.PrivateBit = b2 & 1;
    h.ModeId = b3 >> 6;
    h.ModeExtension = (b3 >> 4) & 3;
    h.CopyrightBit = (b3 >> 3) & 1;
    h.OriginalBit = (b3 >> 2) & 1;
    h.EmphasisId = b3 & 3;
    return h;
}

int FrameBitRate(const MpegFrameHeader& h) {
    if (h.BitRateIndex == 0 || h.BitRateIndex > 14 || h.LayerId == 0 || h.VersionId == 1) return 0;
    int table;
    if (h.VersionId == kMpeg1)
        table = 3 - h.LayerId;  // Layer I 0, Layer II 1, Layer III 2
    else
        table = h.LayerId == kLayer1 ? 3 : 4;
    return kBitRates[table][h.BitRateIndex];
}

int FrameSampleRate(const MpegFrameHeader& h) {
    return h.SampleRateIndex < 3 ? kSampleRates[h.VersionId & 3][h.SampleRateIndex] : 0;
}

int FrameCoefficient(const MpegFrameHeader& h) {
    // 384 samples a frame in Layer I, 1152 in Layer II, 1152 (MPEG-1) or 576 in Layer III.
    if (h.LayerId == kLayer1) return 48;
    if (h.LayerId == kLayer3 && h.VersionId != kMpeg1) return 72;
    return 144;
}

int FrameLength(const MpegFrameHeader& h) {
    const int64_t bitRate = FrameBitRate(h), sampleRate = FrameSampleRate(h);
    if (bitRate == 0 || sampleRate == 0) return 0;
    if (h.LayerId == kLayer1) return int((12 * bitRate * 1000 / sampleRate + (h.PaddingBit ? 1 : 0)) * 4);
    return int(FrameCoefficient(h) * bitRate * 1000 / sampleRate + (h.PaddingBit ? 1 : 0));
}

size_t FindFrame(std::string_view block, MpegFrameHeader& header) {
    for (size_t pos = 0; pos <= TMPEGaudio::kLastFrameStart && pos + 4 <= block.size(); ++pos) {
        if (!IsValidHeaderAt(block, pos)) continue;
        const MpegFrameHeader h = DecodeFrameHeader(block.substr(pos, 4));
        if (IsValidHeaderAt(block, pos + size_t(FrameLength(h)))) {
            header = h;
            return pos;
        }
    }
    return std::string_view::npos;
}

void TMPEGaudio::Reset() {
    std::u16string name = std::move(FileName);
    *this = TMPEGaudio{};
    FileName = std::move(name);
}

bool TMPEGaudio::ReadStream(std::u16string_view file) {
    FileSource source(file);
    FileName.assign(file);
    return ReadStream(source);
}

bool TMPEGaudio::ReadStream(ByteSource& file) {
    Reset();
    if (!file.IsOpen()) return false;
    ID3v1Fields v1;
    HasID3v1 = ReadID3v1(file, v1);
    ID3v2Size = ID3v2TagSize(file);
    const std::string_view head = file.Read(0, 4);
    HasID3v2 = ID3v2Size > 0 && head.size() == 4 && uint8_t(head[3]) == 3;
    FileSize = file.Size();

    std::string block(file.Read(ID3v2Size, kBlockSize));
    Wave = block.size() >= 12 && block.compare(8, 4, "WAVE") == 0;
    size_t pos = FindFrame(block, Frame);
    uint64_t blockStart = 0;
    if (pos == std::string_view::npos && block.size() == kBlockSize) {
        // Audio behind a long stretch of anything else is still found in the middle.
        blockStart = (FileSize - ID3v2Size) / 2;
        block.assign(file.Read(ID3v2Size + blockStart, kBlockSize));
        pos = FindFrame(block, Frame);
        FoundInMiddle = pos != std::string_view::npos;
    }
    if (pos == std::string_view::npos) {
        Reset();
        return true;
    }
    Found = true;
    FirstFrame = pos;
    FramePosition = blockStart + pos;
    FindVbrHeader(block, pos);
    return true;
}

void TMPEGaudio::FindVbrHeader(std::string_view block, size_t framePos) {
    const bool mono = Frame.ModeId == kModeMono;
    const size_t sideInfo = Frame.VersionId == kMpeg1 ? (mono ? 21 : 36) : (mono ? 13 : 21);
    auto at = [&](size_t offset, size_t length) {
        const size_t p = framePos + offset;
        return p + length <= block.size() ? block.substr(p, length) : std::string_view();
    };
    if (std::string_view x = at(sideInfo, 16); x.substr(0, 4) == "Xing") {
        VbrFound = true;
        VbrKind = "Xing";
        VbrFrames = BigEndian32(x.substr(8, 4));
        VbrBytes = BigEndian32(x.substr(12, 4));
        return;
    }
    // A VBRI header stands 32 bytes after the frame header whatever the mode.
    for (size_t offset : {sideInfo, size_t(36)}) {
        if (std::string_view v = at(offset, 18); v.substr(0, 4) == "VBRI") {
            VbrFound = true;
            VbrKind = "VBRI";
            VbrBytes = BigEndian32(v.substr(10, 4));
            VbrFrames = BigEndian32(v.substr(14, 4));
            return;
        }
    }
}

int TMPEGaudio::BitRate() const {
    if (!Found) return 0;
    if (VbrFound && VbrFrames > 0) {
        const double padding = Frame.PaddingBit ? (Frame.LayerId == kLayer1 ? 4 : 1) : 0;
        const double rate =
            (double(VbrBytes) / VbrFrames - padding) * FrameSampleRate(Frame) / FrameCoefficient(Frame) / 1000;
        return int(std::round(std::clamp(rate, -1.0, 1e6)));  // nonsense counts stay in range and fail IsValid
    }
    return FrameBitRate(Frame);
}

double TMPEGaudio::Duration() const {
    if (!Found) return 0;
    if (VbrFound && VbrFrames > 0) return double(FrameCoefficient(Frame)) * VbrFrames * 8 / FrameSampleRate(Frame);
    const double audio = double(FileSize) - double(ID3v2Size) - double(FirstFrame);
    return audio * 8 / FrameBitRate(Frame) / 1000;
}

std::string_view TMPEGaudio::ChannelModeText() const { return kModeTexts[Frame.ModeId <= 4 ? Frame.ModeId : 4]; }

bool TMPEGaudio::IsValid() const {
    const int rate = BitRate();
    return Found && rate >= 8 && rate <= 448 && Duration() >= 0.1;
}

double TMPEGaudio::Version() const {
    if (!Found) return 0;
    return Frame.VersionId == kMpeg1 ? 1 : Frame.VersionId == kMpeg2 ? 2 : 2.5;
}

}  // namespace qlm
