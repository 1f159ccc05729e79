// Stream information of an MP3 file: the first MPEG audio frame header (MPEG-1,
// MPEG-2 and MPEG-2.5, Layers I to III) and a Xing or VBRI header behind it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "content/byte_source.h"

namespace qlm {

// The fields of a 4-byte frame header, as stored.
struct MpegFrameHeader {
    uint8_t VersionId = 0;        // 0 MPEG-2.5, 2 MPEG-2, 3 MPEG-1 (1 is reserved)
    uint8_t LayerId = 0;          // 1 Layer III, 2 Layer II, 3 Layer I
    bool ProtectionBit = false;
    uint8_t BitRateIndex = 0;
    uint8_t SampleRateIndex = 0;
    bool PaddingBit = false;
    bool PrivateBit = false;
    uint8_t ModeId = 4;           // 0 Stereo, 1 Joint Stereo, 2 Dual Channel, 3 Mono; 4 before any file
    uint8_t ModeExtension = 0;
    bool CopyrightBit = false;
    bool OriginalBit = false;
    uint8_t EmphasisId = 0;
};

enum : uint8_t { kMpeg25 = 0, kMpeg2 = 2, kMpeg1 = 3 };
enum : uint8_t { kLayer3 = 1, kLayer2 = 2, kLayer1 = 3 };
enum : uint8_t { kModeMono = 3, kModeUnknown = 4 };

// `b` holds at least 4 bytes.
bool IsFrameHeader(std::string_view b);
MpegFrameHeader DecodeFrameHeader(std::string_view b);
int FrameBitRate(const MpegFrameHeader& h);     // kbit/s
int FrameSampleRate(const MpegFrameHeader& h);  // Hz
// Bytes of audio per kbit/s of bit rate per 1000 Hz of sample rate: samples per frame / 8.
int FrameCoefficient(const MpegFrameHeader& h);
// Length of the frame in bytes as the MPEG standard counts it: the quotient is
// truncated before the padding is added (Layer I counts 4-byte slots).
int FrameLength(const MpegFrameHeader& h);

// First position in `block` (0 to kLastFrameStart) holding a valid header that
// is followed by another valid header one frame length later; npos when none.
size_t FindFrame(std::string_view block, MpegFrameHeader& header);

class TMPEGaudio {
public:
    static constexpr size_t kBlockSize = 3458;
    static constexpr size_t kLastFrameStart = 1729;

    // Fills the fields from the file; false when it could not be opened.
    bool ReadStream(std::u16string_view file);
    bool ReadStream(ByteSource& file);

    int BitRate() const;        // kbit/s
    double Duration() const;    // seconds
    std::string_view ChannelModeText() const;
    bool IsVBR() const { return VbrFound; }
    bool IsValid() const;

    int SampleRate() const { return Found ? FrameSampleRate(Frame) : 0; }
    int Layer() const { return Found ? 4 - Frame.LayerId : 0; }
    // 1, 2 or 2.5; 0 when no frame was found.
    double Version() const;

    void Reset();

    uint64_t FileSize = 0;
    uint64_t ID3v2Size = 0;         // where the audio part starts
    // Offset of the first frame within the block it was found in. For the
    // first block that is its distance from the start of the audio part.
    uint64_t FirstFrame = 0;
    uint64_t FramePosition = 0;     // offset of that frame from the start of the audio part
    bool FoundInMiddle = false;
    MpegFrameHeader Frame;
    bool Found = false;
    bool VbrFound = false;
    std::string VbrKind;            // "Xing", "VBRI" or empty
    uint32_t VbrFrames = 0;
    uint32_t VbrBytes = 0;
    bool Wave = false;              // a RIFF/WAVE wrapper
    bool HasID3v1 = false;
    bool HasID3v2 = false;          // an ID3v2.3 tag
    std::u16string FileName;

private:
    void FindVbrHeader(std::string_view block, size_t framePos);
};

}  // namespace qlm
