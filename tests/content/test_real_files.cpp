// Files written by real encoders and tag editors (made at build time by
// make_mp3_fixtures.sh), checked against what mediainfo says about them.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "base/file_path.h"
#include "base/text_codec.h"
#include "content/build_tree_path.h"
#include "content/file_source.h"
#include "content/genres.h"
#include "content/id3v1.h"
#include "content/id3v2.h"
#include "content/mpeg_audio.h"
#include "content/song_comment.h"

using namespace qlm;

namespace {

std::u16string Fixture(const std::string& name) { return test::BuildTreePath("tests/content/mp3/" + name); }

struct Reference {
    nlohmann::json general, audio;
};

Reference MediaInfo(const std::string& name) {
    std::string text;
    EXPECT_TRUE(ReadWholeFile(FsPath(Fixture(name + ".json")), text)) << name;
    Reference r;
    if (text.empty()) return r;
    const nlohmann::json doc = nlohmann::json::parse(text);
    for (const auto& track : doc["media"]["track"]) {
        if (track["@type"] == "General") r.general = track;
        if (track["@type"] == "Audio") r.audio = track;
    }
    return r;
}

double Number(const nlohmann::json& j, const char* key) {
    return j.contains(key) ? std::stod(j[key].get<std::string>()) : std::nan("");
}
std::string Text(const nlohmann::json& j, const char* key) { return j.contains(key) ? j[key].get<std::string>() : ""; }

const char* const kFiles[] = {"cbr128_stereo",    "cbr128_joint_bare", "vbr_joint",          "mpeg2_mono",
                              "mpeg2_vbr_mono",   "mpeg25_mono",       "speech_plain",       "speech_lame_tags",
                              "speech_v1_only",   "vbr_utf16",         "editor_tags"};

}  // namespace

TEST(RealFiles, StreamFiguresAgreeWithMediaInfo) {
    for (const char* name : kFiles) {
        SCOPED_TRACE(name);
        const Reference ref = MediaInfo(name);
        TMPEGaudio a;
        ASSERT_TRUE(a.ReadStream(Fixture(std::string(name) + ".mp3")));
        ASSERT_TRUE(a.Found);
        EXPECT_TRUE(a.IsValid());
        EXPECT_EQ(a.FileSize, uint64_t(Number(ref.general, "FileSize")));
        EXPECT_EQ(a.Version(), Number(ref.audio, "Format_Version"));
        EXPECT_EQ("Layer " + std::to_string(a.Layer()), Text(ref.audio, "Format_Profile"));
        EXPECT_EQ(a.SampleRate(), Number(ref.audio, "SamplingRate"));
        if (Text(ref.audio, "Format_Settings_Mode") == "Joint stereo")
            EXPECT_EQ(a.ChannelModeText(), "Joint Stereo");
        else
            EXPECT_EQ(a.ChannelModeText(), Number(ref.audio, "Channels") == 1 ? "Mono" : "Stereo");

        const bool vbr = Text(ref.audio, "BitRate_Mode") == "VBR";
        EXPECT_EQ(a.IsVBR(), vbr);
        const double frameTime = FrameCoefficient(a.Frame) * 8.0 / a.SampleRate();
        if (vbr) {
            EXPECT_EQ(a.VbrKind, "Xing");
            EXPECT_NEAR(a.BitRate() * 1000, Number(ref.audio, "BitRate"), 2500);
            EXPECT_NEAR(a.Duration(), Number(ref.audio, "Duration"), frameTime + 0.001);
        } else {
            EXPECT_EQ(a.BitRate() * 1000, Number(ref.audio, "BitRate"));
            // The LAME information frame and the ID3v1 block count as audio here.
            const double v1 = a.HasID3v1 ? 128 * 8.0 / a.BitRate() / 1000 : 0;
            EXPECT_NEAR(a.Duration(), Number(ref.audio, "Duration"), frameTime + v1 + 0.001);
        }
    }
}

TEST(RealFiles, TagsAgreeWithMediaInfo) {
    for (const char* name : kFiles) {
        SCOPED_TRACE(name);
        const Reference ref = MediaInfo(name);
        FileSource file(Fixture(std::string(name) + ".mp3"));
        TId3Tag20 v2;
        ID3v1Fields v1;
        const bool hasV2 = ReadID3v2(file, v2);
        const bool hasV1 = ReadID3v1(file, v1);
        auto pick = [&](const std::string& fromV2, const std::string& fromV1) {
            return DecodeToUtf8(hasV2 ? fromV2 : fromV1, kCyrillicCharset);
        };
        if (std::string(name) == "editor_tags") {
            // mediainfo reads these Windows-1251 bytes as Latin-1; the disk's code page decides here.
            EXPECT_EQ(pick(v2.TPE1, v1.Artist), "Артист");
            EXPECT_EQ(DecodeToUtf8(v1.Artist, kCyrillicCharset), "Артист");
            EXPECT_EQ(v2.TCOM, "Composer D");
            EXPECT_EQ(v2.TRCK, "5");
        } else {
            EXPECT_EQ(pick(v2.TPE1, v1.Artist), Text(ref.general, "Performer"));
        }
        EXPECT_EQ(pick(v2.TIT2, v1.Title), Text(ref.general, "Title"));
        EXPECT_EQ(pick(v2.TALB, v1.Album), Text(ref.general, "Album"));
        EXPECT_EQ(pick(v2.TYER, v1.Year), Text(ref.general, "Recorded_Date"));
        EXPECT_EQ(DecodeToUtf8(SongComment(file, {}), kCyrillicCharset), Text(ref.general, "Comment"));
        EXPECT_EQ(hasV2 ? GenreText(v2.TCON) : hasV1 ? std::string(GenreName(v1.Genre)) : "",
                  Text(ref.general, "Genre"));
    }
}
