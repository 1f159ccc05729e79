// What the stand-in takes from the shell's stream reader.
#include <gtest/gtest.h>

#include "content/byte_source.h"
#include "player/mpeg_stream.h"
#include "player/silent_mp3.h"

using namespace qlm;
using namespace qlm::player;
using namespace qlm::test;

namespace {

std::optional<MpegStreamInfo> Read(const std::string& file) {
    MemorySource source(file);
    TMPEGaudio stream;
    if (!stream.ReadStream(source)) return std::nullopt;
    return StreamInfoOf(stream);
}

TEST(MpegStream, ConstantBitRateLengthFromFileSize) {
    auto info = Read(SilentMp3(100));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->layer, 3);
    EXPECT_EQ(info->bitrateKbps, 128);
    EXPECT_EQ(info->sampleRate, 44100);
    EXPECT_EQ(info->channels, 1);
    EXPECT_EQ(info->frameBytes, kSilentFrameBytes);
    EXPECT_EQ(info->firstFrameOffset, 0u);
    EXPECT_EQ(info->audioBytes, 100u * kSilentFrameBytes);
    EXPECT_EQ(info->durationMs, 100 * kSilentFrameBytes * 8 / 128);
}

TEST(MpegStream, FrameCountAndTagsPlaceTheAudio) {
    std::string f = SilentMp3(200, true, 1000) + "TAG" + std::string(125, 'x');
    auto info = Read(f);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->firstFrameOffset, 1000u);
    EXPECT_EQ(info->audioBytes, 201u * kSilentFrameBytes);
    EXPECT_NEAR(static_cast<double>(info->durationMs), 200 * kSilentFrameMs, 1.0);
    // A frame of the same stream is recognised for seeking, anything else not.
    const auto* frame = reinterpret_cast<const unsigned char*>(f.data() + 1000 + kSilentFrameBytes);
    EXPECT_TRUE(IsFrameOf(frame, *info));
    EXPECT_FALSE(IsFrameOf(reinterpret_cast<const unsigned char*>("\xFF\xF3\x90\xC0"), *info));  // MPEG-2
    EXPECT_FALSE(IsFrameOf(reinterpret_cast<const unsigned char*>("TAGx"), *info));
}

TEST(MpegStream, NotAnMpegStream) {
    EXPECT_FALSE(Read(std::string(5000, 'a')));
    EXPECT_FALSE(Read(""));
}

}  // namespace
