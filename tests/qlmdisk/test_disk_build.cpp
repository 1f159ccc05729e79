#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/file_path.h"
#include "base/text_codec.h"
#include "content/build_tree_path.h"
#include "content/byte_source.h"
#include "content/disk_loader.h"
#include "content/mp3_builder.h"
#include "content/tag_scan.h"
#include "qlmdisk/disk_build.h"
#include "qlmdisk/probe_json.h"

using namespace qlm;
using namespace qlm::disk;
using namespace qlm::test;
namespace fs = std::filesystem;

namespace {

const std::string kAudio = Frames({}, 12);

class MusicFolder {
public:
    explicit MusicFolder(const std::string& name) : base_(BuildTreePath("tests/qlmdisk/build/" + name + "/")) {
        fs::remove_all(FsPath(base_));
    }
    std::u16string Music() const { return base_ + u"music"; }
    std::u16string Disk() const { return base_ + u"disk"; }
    void Add(const std::string& relative, const std::string& bytes) const {
        std::u16string p = Music() + u"\\" + Utf8ToUtf16(relative);
        fs::create_directories(FsPath(p).parent_path());
        std::ofstream(FsPath(p), std::ios::binary) << bytes;
    }

private:
    std::u16string base_;
};

bool Build(const MusicFolder& m, DiskManifest::Form form, std::string& error) {
    BuildOptions o;
    o.musicDir = m.Music();
    o.diskDir = m.Disk();
    o.form = form;
    o.id = "ID-1";
    BuildSummary s;
    return BuildDisk(o, s, error);
}

LoadResult Load(const MusicFolder& m, Catalogue& c) {
    LoadOptions o;
    o.root = m.Disk();
    return LoadDiskDescription(c, o);
}

std::string Name(const TRDataNode* n) { return Utf16ToUtf8(n->NameText()); }

}  // namespace

TEST(DiskBuild, PackedDiskCarriesTreeTagsAndSideFolders) {
    MusicFolder m("packed");
    m.Add("Rock/B side.mp3", kAudio + ID3v1Tag("Title B", "Band", "LP", "1990", "", 17));
    m.Add("Rock/A side.MP3",
          ID3v2Tag({{"TIT2", TextBody("\xCF\xE5\xF1\xED\xFF")}, {"TCOM", TextBody("Comp")}, {"TCON", TextBody("(13)")}}) +
              kAudio);
    m.Add("Rock/notes.txt", "not a song");
    m.Add("Empty/readme.txt", "no songs here");
    m.Add("Jazz/Live/untagged.mp3", kAudio);
    m.Add("Text/Rock/A side.txt", "words");
    m.Add("Picture/one.jpg", "jpeg");
    m.Add("About.htm", "<html></html>");
    std::string error;
    ASSERT_TRUE(Build(m, DiskManifest::Form::Packed, error)) << error;

    Catalogue c;
    const LoadResult r = Load(m, c);
    ASSERT_EQ(r.outcome, LoadOutcome::Loaded);
    EXPECT_TRUE(r.packed);
    EXPECT_FALSE(r.NeedsTagScan(c));
    EXPECT_EQ(c.settings.DiskIdentifier, "ID-1");
    EXPECT_EQ(c.settings.DiskTitle, "music");
    EXPECT_TRUE(c.settings.HasTexts);
    EXPECT_TRUE(c.settings.SlidesEnabled);
    ASSERT_EQ(c.pages.size(), 1u);
    EXPECT_EQ(c.pages[0].File, "About.htm");

    ASSERT_EQ(c.Roots().size(), 2u);  // the folder without songs is left out
    const TRDataNode* jazz = c.Roots()[0];
    const TRDataNode* rock = c.Roots()[1];
    EXPECT_EQ(Name(jazz), "Jazz");
    ASSERT_EQ(jazz->Children.size(), 1u);
    EXPECT_EQ(Name(jazz->Children[0]), "Live");
    EXPECT_EQ(Name(jazz->Children[0]->Children[0]), "untagged");
    ASSERT_EQ(rock->Children.size(), 2u);
    const TRDataNode* a = rock->Children[0];
    const TRDataNode* b = rock->Children[1];
    EXPECT_EQ(Name(a), "Песня");  // the title tag names the song
    EXPECT_EQ(a->Path, "Rock\\A side.MP3");
    EXPECT_EQ(Name(b), "Title B");
    ASSERT_TRUE(a->Tags && b->Tags);
    EXPECT_EQ(a->Tags->Value(kComposer, false), "Comp");
    EXPECT_EQ(a->Tags->Value(kGenre, false), "Pop");
    EXPECT_EQ(b->Tags->Value(kArtist, false), "Band");
    EXPECT_EQ(b->Tags->Value(kGenre, false), "Rock");
    EXPECT_EQ(c.settings.TagFieldsAvailable, 0b11111);

    std::string copied;
    ASSERT_TRUE(ReadWholeFile(FsPath(c.SongFile(*b)), copied));
    EXPECT_EQ(copied, kAudio + ID3v1Tag("Title B", "Band", "LP", "1990", "", 17));
    EXPECT_TRUE(fs::exists(FsPath(m.Disk() + u"\\Text\\Rock\\A side.txt")));
    EXPECT_TRUE(fs::exists(FsPath(m.Disk() + u"\\Picture\\one.jpg")));
}

TEST(DiskBuild, RecordDiskLeavesTagsToThePlayersScan) {
    MusicFolder m("record");
    m.Add("Artist/Album 1/01.mp3", kAudio + ID3v1Tag("One", "Artist", "Album 1", "2000", "", 0));
    m.Add("Artist/Album 2/01.mp3", kAudio);
    const std::string longName(120, 'n');  // path and name outgrow a short record
    m.Add("Artist/Album 2/" + longName + ".mp3", kAudio);
    std::string error;
    ASSERT_TRUE(Build(m, DiskManifest::Form::Record, error)) << error;
    Catalogue c;
    const LoadResult r = Load(m, c);
    ASSERT_EQ(r.outcome, LoadOutcome::Loaded);
    EXPECT_FALSE(r.packed);
    EXPECT_TRUE(c.settings.TwoLevelFolders);
    ASSERT_TRUE(r.NeedsTagScan(c));
    TagScan(c);
    const TRDataNode* song = c.Roots()[0]->Children[0]->Children[0];
    EXPECT_EQ(song->Path, "Artist\\Album 1\\01.mp3");
    ASSERT_TRUE(song->Tags);
    EXPECT_EQ(song->Tags->Value(kAlbum, false), "Album 1");
    EXPECT_EQ(c.FindSongByPath(c.SongFile(*song)), song);
    EXPECT_TRUE(c.settings.LongFolderRecords);
    ASSERT_EQ(c.Roots()[0]->Children[1]->Children.size(), 2u);
    EXPECT_EQ(Name(c.Roots()[0]->Children[1]->Children[1]), longName);
}

TEST(DiskBuild, RecordFormRefusesWhatItCannotHold) {
    std::string error;
    MusicFolder top("record_top");
    top.Add("loose.mp3", kAudio);
    EXPECT_FALSE(Build(top, DiskManifest::Form::Record, error));
    EXPECT_NE(error.find("--form packed"), std::string::npos) << error;

    MusicFolder deep("record_deep");
    deep.Add("a/b/c/song.mp3", kAudio);
    EXPECT_FALSE(Build(deep, DiskManifest::Form::Record, error));

    MusicFolder mixed("record_mixed");
    mixed.Add("a/song.mp3", kAudio);
    mixed.Add("a/b/song.mp3", kAudio);
    EXPECT_FALSE(Build(mixed, DiskManifest::Form::Record, error));
    EXPECT_TRUE(Build(mixed, DiskManifest::Form::Packed, error)) << error;

    MusicFolder none("none");
    none.Add("a/readme.txt", "x");
    EXPECT_FALSE(Build(none, DiskManifest::Form::Packed, error));
}

TEST(Probe, ReportsTagsAndStreamAsUtf8Json) {
    const std::string file =
        ID3v2Tag({{"TIT2", TextBody("\xD2\xE5\xF1\xF2")}, {"TCON", TextBody("(17)")}, {"COMM", CommentBody("", "c")}}) +
        XingFrame({}, 10, 4170) + Frames({}, 9) + ID3v1Tag("v1", "", "", "", "", 13);
    MemorySource src(file);
    const auto j = ProbeSong(src);
    EXPECT_EQ(j["id3v2"]["found"], true);
    EXPECT_EQ(j["id3v2"]["TIT2"], "Тест");
    EXPECT_EQ(j["id3v1"]["genre"], 13);
    EXPECT_EQ(j["genreText"], "Rock");
    EXPECT_EQ(j["comment"], "c");
    EXPECT_EQ(j["stream"]["vbrKind"], "Xing");
    EXPECT_EQ(j["stream"]["frames"], 10);
    EXPECT_EQ(j["stream"]["bitRate"], 128);
    EXPECT_EQ(j["stream"]["channelModeText"], "Joint Stereo");
    EXPECT_EQ(j["stream"]["fileSize"], file.size());
}
