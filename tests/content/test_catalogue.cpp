#include <gtest/gtest.h>

#include "content/catalogue.h"
#include "content/text_case.h"

using namespace qlm;

namespace {

TRDataNode Make(uint8_t kind, std::string name, std::string path = {}, std::string name2 = {}) {
    TRDataNode n;
    n.Kind = kind;
    n.Name = std::move(name);
    n.Name2 = std::move(name2);
    n.Path = std::move(path);
    return n;
}

}  // namespace

TEST(Catalogue, ElfHashMatchesTheSystemVFunction) {
    EXPECT_EQ(ElfHash(""), 0u);
    EXPECT_EQ(ElfHash("printf"), 0x077905A6u);
    EXPECT_EQ(ElfHash("exit"), 0x0006CF04u);
    EXPECT_EQ(ElfHash("SONG.MP3"), ElfHash(UpperCaseBytes("song.mp3", 204)));
    // Cyrillic lower case folds in Windows-1251 ("песня" -> "ПЕСНЯ").
    EXPECT_EQ(UpperCaseBytes("\xEF\xE5\xF1\xED\xFF\xB8", 204), "\xCF\xC5\xD1\xCD\xDF\xA8");
    EXPECT_EQ(UpperChar(u'ł'), u'Ł');
    EXPECT_EQ(UpperChar(u'ё'), u'Ё');
    EXPECT_TRUE(EqualsIgnoringCase(u"C:\\Sound\\Ёлка.mp3", u"c:\\SOUND\\ёЛКА.MP3"));
}

TEST(Catalogue, PlacementKeepsOrderLevelsAndSiblingIndexes) {
    Catalogue c;
    TRDataNode& a = c.AddNode(nullptr, Placement::LastRoot, Make(kKindFolder, "a"));
    TRDataNode& a1 = c.AddNode(&a, Placement::LastChild, Make(kKindSong, "a1", "a\\1.mp3"));
    TRDataNode& a2 = c.AddNode(&a1, Placement::LastSibling, Make(kKindTextEntry, "a2"));
    TRDataNode& b = c.AddNode(&a, Placement::LastSibling, Make(kKindFolder, "b"));
    TRDataNode& x = c.AddNode(nullptr, Placement::LastChild, Make(kKindTextItem, "x"));
    EXPECT_EQ(a2.Parent, &a);
    EXPECT_EQ(a2.SiblingIndex, 1);
    EXPECT_EQ(b.Parent, nullptr);
    EXPECT_EQ(x.Level, 0);
    EXPECT_EQ(c.Roots().size(), 3u);
    EXPECT_EQ(c.DeepestFolderLevel(), 1);
    EXPECT_EQ(a2.StateImage, 0);
    EXPECT_EQ(&c.Siblings(a1), &a.Children);
    std::string order;
    for (TRDataNode* n = c.FirstInTreeOrder(); n; n = c.NextInTreeOrder(n)) order += n->Name + " ";
    EXPECT_EQ(order, "a a1 a2 b x ");
    EXPECT_EQ(c.Node(3), &b);
    EXPECT_EQ(c.Node(5), nullptr);
    EXPECT_EQ(c.Node(-1), nullptr);
    c.Release();
    EXPECT_TRUE(c.Empty());
    EXPECT_TRUE(c.Roots().empty());
    EXPECT_EQ(c.DeepestLevel(), -1);
}

TEST(Catalogue, SongOrdinalCountsOnlySongsPerParent) {
    Catalogue c;
    c.settings.NumberSongs = true;
    TRDataNode& s1 = c.AddNode(nullptr, Placement::LastRoot, Make(kKindSong, "one"));
    TRDataNode& f = c.AddNode(nullptr, Placement::LastRoot, Make(kKindFolder, "folder"));
    TRDataNode& s2 = c.AddNode(nullptr, Placement::LastRoot, Make(kKindSong, "two"));
    TRDataNode& inner = c.AddNode(&f, Placement::LastChild, Make(kKindSong, "inner"));
    EXPECT_EQ(c.SongOrdinal(s1), u"1. ");
    EXPECT_EQ(c.SongOrdinal(s2), u"2. ");
    EXPECT_EQ(c.SongOrdinal(inner), u"1. ");
    EXPECT_EQ(c.SongOrdinal(f), u"");
    EXPECT_EQ(c.NodeDisplayText(s2, true, false), u"2. two");
    EXPECT_EQ(c.NodeDisplayText(s2, true, true), u"two");
    EXPECT_EQ(c.NodeDisplayText(f, true, false), u"folder");
}

TEST(Catalogue, DisplayTextAddsShownTagsInTheirOrderAndLanguage) {
    Catalogue c;
    c.settings.TagFieldsShown = 0x1F;
    TRDataNode& s = c.AddNode(nullptr, Placement::LastRoot, Make(kKindSong, "\xCF\xE5\xF1\xED\xFF", "", "Song"));
    TTTagNode& t = c.EnsureTags(s);
    EXPECT_EQ(&t, &c.EnsureTags(s));
    t.Value(kComposer, false) = "Bach";
    t.Value(kArtist, false) = "Band";
    t.Value(kArtist, true) = "Band2";
    t.Value(kAlbum, false) = "LP";
    t.Value(kYear, false) = "1999";
    t.Value(kGenre, false) = "";  // empty fields are left out
    t.Prefix() = "* ";
    EXPECT_EQ(c.NodeDisplayText(s, true, false), u"* Песня (Bach) / Band / \"LP\" (1999)");
    EXPECT_EQ(c.NodeDisplayText(s, false, false), u"Песня (Bach) / Band / \"LP\" (1999)");
    EXPECT_EQ(c.NodeDisplayText(s, true, true), u"Песня");
    c.settings.TagFieldsShown = 1u << kArtist;
    c.secondLanguageActive = true;
    EXPECT_EQ(c.NodeDisplayText(s, false, false), u"Песня / Band");  // no dual-language switch
    c.settings.DualLanguageNames = true;
    EXPECT_EQ(c.NodeDisplayText(s, false, false), u"Song / Band2");
    s.Name2.clear();
    EXPECT_EQ(c.NodeDisplayText(s, false, false), u"Песня / Band2");  // an empty second name falls back
}

TEST(Catalogue, VideosFollowTheirOwnDualLanguageSwitch) {
    Catalogue c;
    c.secondLanguageActive = true;
    c.settings.DualLanguageNames = true;
    TRDataNode& v = c.AddNode(nullptr, Placement::LastRoot, Make(kKindVideo, "Клип", "a.avi", "Clip"));
    TRDataNode& f = c.AddNode(nullptr, Placement::LastRoot, Make(kKindFolder, "Папка", "", "Folder"));
    EXPECT_EQ(c.NodeDisplayText(v, true, false), DecodeText("Клип", 204));
    EXPECT_EQ(c.NodeDisplayText(f, true, false), u"Folder");
    c.settings.DualLanguageVideos = true;
    EXPECT_EQ(c.NodeDisplayText(v, true, false), u"Clip");
    EXPECT_TRUE(c.VideosPresent());
}

TEST(Catalogue, FilesAreFormedFromTheRootAndDecodedByTheDiskCharset) {
    Catalogue c;
    c.root = u"D:\\";
    TRDataNode& s = c.AddNode(nullptr, Placement::LastRoot, Make(kKindSong, "s", "\xD0\xEE\xEA\\01.mp3"));
    c.IndexSong(s);
    EXPECT_EQ(c.SongFile(s), u"D:\\Sound\\Рок\\01.mp3");
    EXPECT_EQ(c.FindSongByPath(u"d:\\sound\\РОК\\01.MP3"), &s);
    EXPECT_EQ(c.FindSongByPath(u"d:\\sound\\other\\01.mp3"), nullptr);
    TRDataNode e = Make(kKindTextEntry, "e");
    e.Text = std::make_unique<TTTextNode>();
    e.Text->Text = "Text\\a.txt";
    TRDataNode& entry = c.AddNode(nullptr, Placement::LastRoot, std::move(e));
    EXPECT_EQ(c.TextEntryFile(entry), u"D:\\Text\\a.txt");
    EXPECT_EQ(c.TextEntryFile(s), u"");
    TRDataNode& v = c.AddNode(nullptr, Placement::LastRoot, Make(kKindVideo, "v", "clip.avi"));
    EXPECT_EQ(c.VideoFile(v), u"D:\\Video\\clip.avi");
}

TEST(Catalogue, SongsIterateInTreeOrder) {
    Catalogue c;
    TRDataNode& f = c.AddNode(nullptr, Placement::LastRoot, Make(kKindFolder, "f"));
    c.AddNode(nullptr, Placement::LastRoot, Make(kKindSong, "late"));
    c.AddNode(&f, Placement::LastChild, Make(kKindSong, "early"));
    std::string names;
    c.ForEachSong([&](TRDataNode& s) { names += s.Name + " "; });
    EXPECT_EQ(names, "early late ");
}
