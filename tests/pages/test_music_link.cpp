#include <gtest/gtest.h>

#include "content/catalogue.h"
#include "pages/music_link.h"

namespace qlm {
namespace {

TRDataNode Make(uint8_t kind, std::string name, std::string path = {}) {
    TRDataNode n;
    n.Kind = kind;
    n.Name = std::move(name);
    n.Path = std::move(path);
    return n;
}

// Three top-level nodes: a folder of two songs, a folder of a folder, a song.
struct Disk {
    Catalogue c;
    TRDataNode *a, *a1, *a2, *b, *b1, *b1x, *song;
    Disk() {
        a = &c.AddNode(nullptr, Placement::LastRoot, Make(kKindFolder, "a"));
        a1 = &c.AddNode(a, Placement::LastChild, Make(kKindSong, "a1", "a\\1.mp3"));
        a2 = &c.AddNode(a, Placement::LastChild, Make(kKindSong, "a2", "a\\2.mp3"));
        b = &c.AddNode(nullptr, Placement::LastRoot, Make(kKindFolder, "b"));
        b1 = &c.AddNode(b, Placement::LastChild, Make(kKindFolder, "b1"));
        b1x = &c.AddNode(b1, Placement::LastChild, Make(kKindSong, "b1x", "b\\x.mp3"));
        song = &c.AddNode(nullptr, Placement::LastRoot, Make(kKindSong, "s", "s.mp3"));
    }
};

TEST(MusicLink, ReadsPositionsUpToTheFirstOtherCharacter) {
    EXPECT_TRUE(IsMusicLink(u"info/*music 1"));
    EXPECT_FALSE(IsMusicLink(u"info/music.htm"));
    EXPECT_EQ(MusicLinkPositions(u"*MUSIC 2 1"), (std::vector<int>{2, 1}));
    EXPECT_EQ(MusicLinkPositions(u"file:///D:/Info/*MUSIC%202%201"), (std::vector<int>{2, 1}));
    EXPECT_EQ(MusicLinkPositions(u"*MUSIC  3\t4  "), (std::vector<int>{3, 4}));
    EXPECT_EQ(MusicLinkPositions(u"*MUSIC 1 x 2"), (std::vector<int>{1}));
    EXPECT_EQ(MusicLinkPositions(u"*MUSIC 1,2"), (std::vector<int>{1}));
    EXPECT_TRUE(MusicLinkPositions(u"*MUSIC").empty());
    EXPECT_EQ(MusicLinkPositions(u"*MUSIC 99999999999999999999").size(), 1u);
    std::u16string many = u"*MUSIC";
    for (int i = 0; i < 30; ++i) many += u" 1";
    EXPECT_EQ(MusicLinkPositions(many).size(), kMaxMusicLinkPositions);
}

TEST(MusicLink, WalksDownFromTheFirstTopLevelNode) {
    Disk d;
    EXPECT_EQ(MusicLinkNode(d.c, {1, 2}), d.a2);
    EXPECT_EQ(MusicLinkNode(d.c, {2, 1, 1}), d.b1x);
    EXPECT_EQ(MusicLinkNode(d.c, {3}), d.song);
    EXPECT_EQ(MusicLinkNode(d.c, {4}), nullptr);     // past the last top-level node
    EXPECT_EQ(MusicLinkNode(d.c, {0}), nullptr);
    EXPECT_EQ(MusicLinkNode(d.c, {1, 3}), nullptr);  // past the last child
    EXPECT_EQ(MusicLinkNode(d.c, {3, 1}), nullptr);  // a song has no children to descend into
    EXPECT_EQ(MusicLinkNode(d.c, {2, 1}), nullptr);  // a folder has no file to play
    EXPECT_EQ(MusicLinkNode(d.c, {}), nullptr);
    Catalogue empty;
    EXPECT_EQ(MusicLinkNode(empty, {1}), nullptr);
}

}  // namespace
}  // namespace qlm
