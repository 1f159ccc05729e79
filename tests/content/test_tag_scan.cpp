#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/file_path.h"
#include "base/text_codec.h"
#include "content/build_tree_path.h"
#include "content/catalogue.h"
#include "content/mp3_builder.h"
#include "content/tag_scan.h"

using namespace qlm;
using namespace qlm::test;

namespace {

// A disk root of our own under the build tree, as a Windows-style path of this platform.
std::u16string FreshDiskRoot(const std::string& name) {
    const std::u16string root = BuildTreePath("tests/content/tagscan/" + name + "/");
    std::filesystem::remove_all(FsPath(root));
    std::filesystem::create_directories(FsPath(root + u"Sound\\Album"));
    return root;
}

void WriteSong(const std::u16string& root, const std::string& name, const std::string& bytes) {
    std::ofstream(FsPath(root + u"Sound\\Album\\" + Utf8ToUtf16(name)), std::ios::binary) << bytes;
}

TRDataNode& AddSong(Catalogue& c, TRDataNode& folder, const std::string& file) {
    TRDataNode n;
    n.Kind = kKindSong;
    n.Name = file;
    n.Path = "Album\\" + file;
    TRDataNode& song = c.AddNode(&folder, Placement::LastChild, std::move(n));
    c.IndexSong(song);
    return song;
}

TRDataNode& AddFolder(Catalogue& c) {
    TRDataNode n;
    n.Name = "Album";
    n.Path = "Album";
    return c.AddNode(nullptr, Placement::LastRoot, std::move(n));
}

const std::string kAudio = Frames({}, 12);

}  // namespace

TEST(TagScan, EachSongTakesID3v2ThenID3v1ThenNothing) {
    Catalogue c;
    c.root = FreshDiskRoot("mixed");
    WriteSong(c.root, "v2.mp3",
              ID3v2Tag({{"TCOM", TextBody("Composer")}, {"TPE1", TextBody("Artist")}, {"TALB", TextBody("Album")},
                        {"TYER", TextBody("2001")}, {"TCON", TextBody("(13)")}}) +
                  kAudio + ID3v1Tag("", "v1 artist", "", "", "", 1));
    WriteSong(c.root, "v1.mp3", kAudio + ID3v1Tag("T", "Old Artist", "Old Album", "1987", "", 17));
    WriteSong(c.root, "v24.mp3",
              ID3v2Tag({{"TPE1", TextBody("new")}}, 0, 4) + kAudio + ID3v1Tag("", "Fallback", "", "", "", 0));
    WriteSong(c.root, "none.mp3", kAudio);

    TRDataNode& folder = AddFolder(c);
    TRDataNode& v2 = AddSong(c, folder, "v2.mp3");
    TRDataNode& v1 = AddSong(c, folder, "v1.mp3");
    TRDataNode& v24 = AddSong(c, folder, "v24.mp3");
    TRDataNode& none = AddSong(c, folder, "none.mp3");
    TRDataNode& missing = AddSong(c, folder, "missing.mp3");
    c.EnsureTags(none).Prefix() = "stale";
    c.settings.TagFieldsShown = 6;

    TagScan(c);
    ASSERT_TRUE(v2.Tags && v1.Tags && v24.Tags && none.Tags && missing.Tags);
    for (bool second : {false, true}) {
        EXPECT_EQ(v2.Tags->Value(kComposer, second), "Composer");
        EXPECT_EQ(v2.Tags->Value(kArtist, second), "Artist");
        EXPECT_EQ(v2.Tags->Value(kAlbum, second), "Album");
        EXPECT_EQ(v2.Tags->Value(kYear, second), "2001");
        EXPECT_EQ(v2.Tags->Value(kGenre, second), "");
    }
    EXPECT_EQ(v1.Tags->Value(kArtist, false), "Old Artist");
    EXPECT_EQ(v1.Tags->Value(kAlbum, false), "Old Album");
    EXPECT_EQ(v1.Tags->Value(kYear, false), "1987");
    EXPECT_EQ(v1.Tags->Value(kArtist, true), "");
    EXPECT_EQ(v1.Tags->Value(kComposer, false), "");
    EXPECT_EQ(v24.Tags->Value(kArtist, false), "Fallback");
    EXPECT_EQ(none.Tags->Prefix(), "");
    for (const std::string& f : missing.Tags->Fields) EXPECT_EQ(f, "");

    EXPECT_EQ(c.settings.TagFieldsAvailable, 0b01111);
    EXPECT_EQ(c.settings.TagFieldsShown, 0);
}

TEST(TagScan, ID3v1OnlyDiskOffersNoComposerAndUntaggedDiskOffersNothing) {
    Catalogue c;
    c.root = FreshDiskRoot("v1only");
    WriteSong(c.root, "a.mp3", kAudio + ID3v1Tag("", "A", "", "", "", 0));
    WriteSong(c.root, "b.mp3", kAudio);
    TRDataNode& folder = AddFolder(c);
    AddSong(c, folder, "a.mp3");
    AddSong(c, folder, "b.mp3");
    TagScan(c);
    EXPECT_EQ(c.settings.TagFieldsAvailable, 0b01110);

    Catalogue bare;
    bare.root = c.root;
    TRDataNode& f2 = AddFolder(bare);
    TRDataNode& b = AddSong(bare, f2, "b.mp3");
    TagScan(bare);
    EXPECT_EQ(bare.settings.TagFieldsAvailable, 0);
    EXPECT_TRUE(b.Tags != nullptr);
}
