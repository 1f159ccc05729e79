#include <gtest/gtest.h>

#include <cmath>

#include "content/byte_source.h"
#include "content/mpeg_audio.h"
#include "content/mp3_builder.h"

using namespace qlm;
using namespace qlm::test;

namespace {

TMPEGaudio Read(const std::string& bytes) {
    MemorySource src(bytes);
    TMPEGaudio a;
    EXPECT_TRUE(a.ReadStream(src));
    return a;
}

// A source that serves a buffer the way a file does and counts the reads.
class CountingSource final : public ChunkedSource {
public:
    explicit CountingSource(std::string bytes) : bytes_(std::move(bytes)) { SetOpen(bytes_.size()); }

protected:
    size_t ReadAt(uint64_t offset, char* out, size_t count) override {
        const size_t n = std::min<size_t>(count, bytes_.size() - size_t(offset));
        bytes_.copy(out, n, size_t(offset));
        return n;
    }

private:
    std::string bytes_;
};

}  // namespace

TEST(FrameLength, FollowsTheStandardQuotientThenPadding) {
    FrameSpec f;  // MPEG-1 Layer III 128 kbit/s 44.1 kHz
    EXPECT_EQ(SpecFrameLength(f), 417);  // 144 * 128000 / 44100 = 417.96, not rounded up
    f.padding = true;
    EXPECT_EQ(SpecFrameLength(f), 418);
    f = {kMpeg1, kLayer3, 14, 1};  // 320 kbit/s, 48 kHz
    EXPECT_EQ(SpecFrameLength(f), 960);
    f = {kMpeg2, kLayer3, 8, 0};  // 64 kbit/s, 22.05 kHz
    EXPECT_EQ(SpecFrameLength(f), 208);
    f = {kMpeg25, kLayer3, 2, 2};  // 16 kbit/s, 8 kHz
    EXPECT_EQ(SpecFrameLength(f), 144);
    // Layer II has 1152 samples a frame in every version.
    f = {kMpeg2, kLayer2, 8, 0};
    EXPECT_EQ(SpecFrameLength(f), 417);
    // Layer I counts 4-byte slots: 12 * 32000 / 44100 = 8 slots.
    f = {kMpeg1, kLayer1, 1, 0};
    EXPECT_EQ(SpecFrameLength(f), 32);
    f.padding = true;
    EXPECT_EQ(SpecFrameLength(f), 36);
}

TEST(FrameHeader, RejectsReservedAndFreeValues) {
    EXPECT_TRUE(IsFrameHeader(FrameHeaderBytes({})));
    auto with = [](int byte, uint8_t value) {
        std::string h = FrameHeaderBytes({});
        h[byte] = char(value);
        return IsFrameHeader(h);
    };
    EXPECT_FALSE(with(0, 0xFE));
    EXPECT_FALSE(with(1, 0xDB));  // a sync bit missing
    EXPECT_FALSE(with(1, 0xEB));  // reserved version
    EXPECT_FALSE(with(1, 0xF9));  // reserved layer
    EXPECT_FALSE(with(2, 0x00));  // free format
    EXPECT_FALSE(with(2, 0xF0));  // bad bit rate
    EXPECT_FALSE(with(2, 0x9C));  // reserved sample rate
    EXPECT_FALSE(with(3, 0x42));  // reserved emphasis
}

TEST(ReadStream, ConstantBitRateDurationCountsEverythingAfterTheTag) {
    // 128 kbit/s, 1,600,000 bytes of audio after a bare 10-byte ID3v2 header: 100 s.
    std::string audio = Frames({}, 3836, 0);
    audio.resize(1600000, '\0');
    const TMPEGaudio a = Read(ID3v2Tag({}) + audio);
    ASSERT_TRUE(a.Found);
    EXPECT_EQ(a.ID3v2Size, 10u);
    EXPECT_EQ(a.FirstFrame, 0u);
    EXPECT_EQ(a.BitRate(), 128);
    EXPECT_DOUBLE_EQ(a.Duration(), 100.0);
    EXPECT_TRUE(a.IsValid());
    EXPECT_FALSE(a.IsVBR());
    EXPECT_EQ(a.ChannelModeText(), "Joint Stereo");
    EXPECT_EQ(a.SampleRate(), 44100);
    EXPECT_EQ(a.Layer(), 3);
    EXPECT_EQ(a.Version(), 1);
}

TEST(ReadStream, RealFortyFourKiloHertzStreamIsFound) {
    // An encoder pads about two frames in five at 44.1 kHz: lengths 417 and 418 alternate.
    FrameSpec f;
    f.mode = 0;
    const TMPEGaudio a = Read(std::string(100, 'x') + Frames(f, 40, 2));
    ASSERT_TRUE(a.Found);
    EXPECT_EQ(a.FirstFrame, 100u);
    EXPECT_EQ(a.ChannelModeText(), "Stereo");
}

TEST(ReadStream, AlonePatternThatLooksLikeAHeaderIsNotAFrame) {
    std::string bytes = FrameHeaderBytes({}) + std::string(600, '\0') + Frames({}, 10);
    const TMPEGaudio a = Read(bytes);
    ASSERT_TRUE(a.Found);
    EXPECT_EQ(a.FirstFrame, 604u);
}

TEST(ReadStream, AudioBehindLongGarbageIsFoundInTheMiddle) {
    const std::string garbage(5000, '\x11');
    const TMPEGaudio a = Read(ID3v2Tag({{"TIT2", TextBody("t")}}) + garbage + Frames({}, 200, 3));
    ASSERT_TRUE(a.Found);
    EXPECT_TRUE(a.FoundInMiddle);
    EXPECT_EQ(a.BitRate(), 128);
    EXPECT_TRUE(a.IsValid());
    EXPECT_GE(a.FramePosition, garbage.size());

    // Too short for a second block: nothing found, and every field is reset.
    const TMPEGaudio none = Read(garbage.substr(0, 3000) + Frames({}, 1));
    EXPECT_FALSE(none.Found);
    EXPECT_EQ(none.FileSize, 0u);
    EXPECT_EQ(none.Duration(), 0);
    EXPECT_EQ(none.ChannelModeText(), "Unknown");
    EXPECT_FALSE(none.IsValid());
}

TEST(ReadStream, XingHeaderGivesFramesBytesAndAverageBitRate) {
    FrameSpec f;
    f.bitRateIndex = 5;  // 64 kbit/s first frame
    // 1000 frames of 1152 samples at 44.1 kHz; 160 kbit/s on average.
    const uint32_t bytes = uint32_t(std::lround(1000 * 144.0 * 160000 / 44100));
    const TMPEGaudio a = Read(XingFrame(f, 1000, bytes) + Frames(f, 20));
    ASSERT_TRUE(a.IsVBR());
    EXPECT_EQ(a.VbrKind, "Xing");
    EXPECT_EQ(a.VbrFrames, 1000u);
    EXPECT_EQ(a.VbrBytes, bytes);
    EXPECT_EQ(a.BitRate(), 160);
    EXPECT_NEAR(a.Duration(), 1000 * 1152 / 44100.0, 1e-9);

    // MPEG-2 mono: side information of 9 bytes, 576 samples a frame.
    FrameSpec m{kMpeg2, kLayer3, 8, 0, false, 3};
    const TMPEGaudio b = Read(XingFrame(m, 500, 500 * 200) + Frames(m, 20));
    ASSERT_TRUE(b.IsVBR());
    EXPECT_NEAR(b.Duration(), 500 * 576 / 22050.0, 1e-9);
    EXPECT_EQ(b.ChannelModeText(), "Mono");
}

TEST(ReadStream, VbriHeader) {
    const TMPEGaudio a = Read(VbriFrame({}, 300, 300 * 417) + Frames({}, 10));
    ASSERT_TRUE(a.IsVBR());
    EXPECT_EQ(a.VbrKind, "VBRI");
    EXPECT_EQ(a.VbrFrames, 300u);
    EXPECT_EQ(a.BitRate(), 128);
    FrameSpec mono;
    mono.mode = 3;  // not at the Xing place for mono, still found
    EXPECT_EQ(Read(VbriFrame(mono, 300, 300 * 417) + Frames(mono, 10)).VbrKind, "VBRI");
}

TEST(ReadStream, NonsenseVbrCountsAreNotValid) {
    const TMPEGaudio a = Read(XingFrame({}, 1, 0xFFFFFFFF) + Frames({}, 10));
    EXPECT_TRUE(a.Found);
    EXPECT_FALSE(a.IsValid());
    const TMPEGaudio b = Read(XingFrame({}, 0, 1000) + Frames({}, 10));  // no frames: CBR figures
    EXPECT_EQ(b.BitRate(), 128);
}

TEST(ReadStream, TagSizeBeyondTheFileMeansNoTag) {
    std::string tag = ID3v2Tag({});
    tag.replace(6, 4, Syncsafe(1000000));
    const TMPEGaudio a = Read(tag + Frames({}, 20));
    EXPECT_EQ(a.ID3v2Size, 0u);
    ASSERT_TRUE(a.Found);
    EXPECT_EQ(a.FirstFrame, 10u);
    EXPECT_FALSE(a.HasID3v2);
}

TEST(ReadStream, WaveWrapperIsMarked) {
    std::string riff("RIFF\x10\x20\x00\x00WAVEfmt ", 16);
    riff.resize(60, '\0');
    const TMPEGaudio a = Read(riff + Frames({}, 10));
    EXPECT_TRUE(a.Wave);
    EXPECT_EQ(a.FirstFrame, 60u);
}

TEST(ReadStream, OneOpenServesTagsAndStreamWithFewReads) {
    // Tag, first block and the ID3v1 tail: the head and the tail are read once each.
    const std::string file = ID3v2Tag({{"TIT2", TextBody("x")}}, 2000) + Frames({}, 300) +
                             ID3v1Tag("t", "a", "b", "2000", "c", 1);
    CountingSource src(file);
    TMPEGaudio a;
    ASSERT_TRUE(a.ReadStream(src));
    EXPECT_TRUE(a.HasID3v1);
    EXPECT_TRUE(a.HasID3v2);
    EXPECT_TRUE(a.IsValid());
    EXPECT_EQ(src.StorageReads(), 2);
    a.ReadStream(src);
    EXPECT_EQ(src.StorageReads(), 2);

    // A small file is one read.
    CountingSource small(Frames({}, 20));
    a.ReadStream(small);
    EXPECT_EQ(small.StorageReads(), 1);
}

TEST(ReadStream, UnopenableFileFails) {
    TMPEGaudio a;
    EXPECT_FALSE(a.ReadStream(u"/nonexistent/dir/song.mp3"));
    EXPECT_FALSE(a.Found);
    EXPECT_EQ(a.ChannelModeText(), "Unknown");
}

TEST(ReadStream, EveryTruncationOfARealHeadIsSafe) {
    const std::string file = ID3v2Tag({{"TIT2", TextBody("x")}, {"COMM", CommentBody("", "c")}}) +
                             XingFrame({}, 100, 41700) + Frames({}, 8) + ID3v1Tag("t", "", "", "", "", 1);
    for (size_t n = 0; n <= file.size(); n += 7) {
        const std::string cut = file.substr(0, n);
        MemorySource src(cut);
        TMPEGaudio a;
        a.ReadStream(src);
        EXPECT_LE(a.FirstFrame, n);
    }
}
