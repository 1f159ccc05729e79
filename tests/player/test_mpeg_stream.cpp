#include <gtest/gtest.h>

#include "player/mpeg_stream.h"
#include "player/silent_mp3.h"

using namespace qlm::player;
using namespace qlm::test;

namespace {

std::optional<MpegStreamInfo> Read(const std::string& file, bool id3v1 = false) {
    uint64_t skip = Id3v2TagSize(file.substr(0, 10));
    return ReadMpegStreamInfo(std::string_view(file).substr(std::min<size_t>(skip, file.size())), skip,
                              file.size(), id3v1);
}

TEST(MpegStream, ConstantBitRateLengthFromFileSize) {
    std::string f = SilentMp3(100);
    auto info = Read(f);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->first.version, 1);
    EXPECT_EQ(info->first.layer, 3);
    EXPECT_EQ(info->first.bitrateKbps, 128);
    EXPECT_EQ(info->first.sampleRate, 44100);
    EXPECT_EQ(info->first.channels, 1);
    EXPECT_EQ(info->first.frameBytes, kSilentFrameBytes);
    EXPECT_EQ(info->firstFrameOffset, 0u);
    EXPECT_EQ(info->frameCount, -1);
    EXPECT_EQ(info->durationMs, 100 * kSilentFrameBytes * 8 / 128);
}

TEST(MpegStream, XingFrameCountAndId3TagsAreHonoured) {
    std::string f = SilentMp3(200, true, 1000) + "TAG" + std::string(125, 'x');
    auto info = Read(f, true);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->firstFrameOffset, 1000u);
    EXPECT_EQ(info->frameCount, 200);
    EXPECT_EQ(info->durationMs, static_cast<int64_t>(200 * kSilentFrameMs));
    EXPECT_EQ(info->audioBytes, 201u * kSilentFrameBytes);
}

TEST(MpegStream, FalseSyncBeforeTheStreamIsSkipped) {
    // A sync-like pattern whose "next frame" is not there.
    std::string junk = std::string("\xFF\xFB\x90\xC0", 4) + std::string(50, 'j');
    std::string f = junk + SilentMp3(10);
    auto info = Read(f);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->firstFrameOffset, junk.size());
}

TEST(MpegStream, NotAnMpegStream) {
    EXPECT_FALSE(Read(std::string(5000, 'a')));
    EXPECT_FALSE(Read(""));
    EXPECT_FALSE(Read(std::string("\xFF\xFF\xFF\xFF", 4)));  // reserved fields
}

}  // namespace
