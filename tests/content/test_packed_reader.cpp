#include <gtest/gtest.h>

#include "content/disk_loader.h"
#include "packed_file.h"

using namespace qlm;
using namespace qlm::test;

namespace {

LoadResult Load(Catalogue& c, const std::string& bytes) { return LoadDescriptionBytes(c, bytes, {}); }

std::string Names(const Catalogue& c) {  // the tree as "a(b,c),d"
    std::string out;
    auto walk = [&](auto& self, const std::vector<TRDataNode*>& nodes) -> void {
        for (size_t i = 0; i < nodes.size(); ++i) {
            if (i) out += ',';
            out += nodes[i]->Name;
            if (!nodes[i]->Children.empty()) {
                out += '(';
                self(self, nodes[i]->Children);
                out += ')';
            }
        }
    };
    walk(walk, c.Roots());
    return out;
}

}  // namespace

TEST(PackedForm, ProbeNeedsMagicPackedBitAndSecondMagic) {
    PackedFile good(0);
    EXPECT_TRUE(IsPackedBytes(good.NoPages().TreeFollows(false).Bytes()));
    std::string noBit = good.Bytes();
    // Flip the header dword so bit 4 reads clear.
    DescriptionWriter w;
    w.WritePlain(kPackedMagic);
    w.WritePlain("\1\1");
    w.WriteShortRecord("a");
    w.WriteShortRecord("b");
    w.WriteKeyedDword(0);
    w.WriteShortRecord(kPackedMagic);
    EXPECT_FALSE(IsPackedBytes(w.Bytes()));
    EXPECT_FALSE(IsPackedBytes(std::string("QLMP\0\1\1\1", 8)));
    EXPECT_FALSE(IsPackedBytes(noBit.substr(0, 12)));
}

TEST(PackedForm, HeaderFlagsBecomeSettings) {
    const uint32_t flags = (1u << 0) | (1u << 1) | (1u << 2) | (1u << 5) | (1u << 3) | (1u << 6) | (1u << 9) |
                           (1u << 10) | (1u << 11) | (1u << 13) | (1u << 14) | (1u << 15) | (1u << 16);
    PackedFile f(flags, 1, 1, 0x0003001F);
    f.w.WriteKeyedWord(1);  // one page
    f.w.WriteKeyedDword(0xA5);
    f.w.WriteShortRecord("Caption");
    f.w.WriteShortRecord("page.htm");
    f.w.WriteKeyedByte(9);
    f.w.WriteKeyedByte(0);
    f.TreeFollows(false);
    f.w.WriteKeyedDword(0);  // no video tree
    f.w.WriteKeyedDword(1);  // picture list
    f.w.WriteKeyedByte(0);
    f.w.WriteKeyedWord(1);   // two languages
    for (const char* s : {"a.jpg", "A", "A2", "b.jpg", "B", "B2"}) f.w.WriteLongRecord(s);
    f.w.WriteLongRecord(kEndPictureList);
    Catalogue c;
    auto r = Load(c, f.Bytes());
    EXPECT_EQ(r.outcome, LoadOutcome::Loaded);
    EXPECT_TRUE(r.packed);
    EXPECT_FALSE(r.formatError);
    const auto& s = c.settings;
    EXPECT_EQ(s.DiskIdentifier, "ID-1");
    EXPECT_EQ(s.DiskTitle, "Title");
    EXPECT_EQ(s.TitlePicture, "title.jpg");
    EXPECT_TRUE(s.HasTexts && s.SlidesEnabled && s.VideoListInFile && s.DualLanguageNames && s.DualLanguageVideos &&
                s.PictureListInFile && s.NumberSongs && s.TextsNotSearchable && s.TagsInFile && s.DualLanguageTexts &&
                s.DualLanguageSlides);
    EXPECT_EQ(s.TagFieldsAvailable, 0x1F);
    EXPECT_EQ(s.TagFieldsShown, 3);
    EXPECT_EQ(s.Charset1, 204);
    EXPECT_EQ(s.Charset2, 0);
    EXPECT_EQ(s.TextCharset, 238);
    ASSERT_EQ(c.pages.size(), 1u);
    EXPECT_EQ(c.pages[0].Flags, 0xA5u);
    EXPECT_EQ(c.pages[0].Byte, 9);
    ASSERT_EQ(c.slides.size(), 2u);
    EXPECT_EQ(c.slides[1].Caption2, "B2");
    EXPECT_EQ(c.slideBytes.size(), 2u);
}

TEST(PackedForm, VideoListNeedsBothBitsAndPictureListNeedsSlides) {
    Catalogue c;
    PackedFile f((1u << 2) | (1u << 9));
    Load(c, f.NoPages().TreeFollows(false).Bytes());
    EXPECT_FALSE(c.settings.VideoListInFile);
    EXPECT_FALSE(c.settings.PictureListInFile);
}

TEST(PackedForm, EmptyOrAbsentPictureListTurnsSlidesOff) {
    for (int variant = 0; variant < 3; ++variant) {
        PackedFile f((1u << 1) | (1u << 9));
        f.NoPages().TreeFollows(false);
        if (variant == 1) f.w.WriteKeyedDword(0);
        if (variant == 2) {
            f.w.WriteKeyedDword(1);
            f.w.WriteKeyedByte(0);
            f.w.WriteKeyedWord(0);
            f.w.WriteLongRecord("");
        }
        Catalogue c;
        auto r = Load(c, f.Bytes());
        EXPECT_EQ(r.formatError, variant == 0) << variant;  // variant 0 ends before the list's dword
        EXPECT_TRUE(c.slides.empty());
        EXPECT_FALSE(c.settings.SlidesEnabled) << variant;
    }
}

TEST(PackedForm, VersionsFromOnePointTwoAreRefused) {
    for (auto [major, minor, refused] : {std::tuple{1, 0, false}, {1, 1, false}, {1, 2, true}, {2, 0, true}, {0, 9, false}}) {
        PackedFile f(0, static_cast<uint8_t>(major), static_cast<uint8_t>(minor));
        Catalogue c;
        auto r = Load(c, f.NoPages().TreeFollows(false).Bytes());
        EXPECT_EQ(r.outcome, refused ? LoadOutcome::NewerVersion : LoadOutcome::Loaded) << major << "." << minor;
        EXPECT_EQ(r.versionMajor, major);
        EXPECT_EQ(r.versionMinor, minor);
    }
}

TEST(PackedForm, LevelsShapeTheTree) {
    PackedFile f(0);
    f.NoPages().TreeFollows();
    f.Folder(0, "A").Folder(1, "B").Song(2, "s1", "A\\B\\1.mp3").Song(2, "s2", "A\\B\\2.mp3").Folder(1, "C");
    f.Song(2, "s3", "A\\C\\3.mp3").Folder(0, "D").Song(1, "s4", "D\\4.mp3").End();
    f.Song(0, "after end", "x.mp3");  // the video tree's dword would be read here; nothing more is read
    Catalogue c;
    auto r = Load(c, f.Bytes());
    EXPECT_FALSE(r.formatError);
    EXPECT_EQ(Names(c), "A(B(s1,s2),C(s3)),D(s4)");
    EXPECT_EQ(c.DeepestLevel(), 2);
    EXPECT_EQ(c.DeepestFolderLevel(), 2);
    EXPECT_EQ(c.NodeCount(), 8u);
    for (size_t i = 0; i < c.NodeCount(); ++i) EXPECT_EQ(c.Node(static_cast<int32_t>(i))->ListIndex, static_cast<int32_t>(i));
    EXPECT_EQ(c.Node(2)->StateImage, kStateSong);
    EXPECT_EQ(c.Node(0)->StateImage, kStateFolder);
}

TEST(PackedForm, FirstRecordOnLevelOneStandsAtTheRoot) {
    PackedFile f(0);
    f.NoPages().TreeFollows().Folder(1, "A").Song(2, "s", "s.mp3").Folder(1, "B").Folder(0, "C").End();
    Catalogue c;
    EXPECT_FALSE(Load(c, f.Bytes()).formatError);
    EXPECT_EQ(Names(c), "A(s),B,C");
}

TEST(PackedForm, LevelRisingByMoreThanOneIsAFormatError) {
    PackedFile f(0);
    f.NoPages().TreeFollows().Folder(0, "A").Song(1, "s1", "1.mp3").Song(3, "deep", "3.mp3").Song(1, "s2", "2.mp3").End();
    Catalogue c;
    auto r = Load(c, f.Bytes());
    EXPECT_TRUE(r.formatError);
    EXPECT_EQ(Names(c), "A(s1)");  // what came before stays
    PackedFile g(0);
    g.NoPages().TreeFollows().Folder(2, "first");
    EXPECT_TRUE(Load(c, g.End().Bytes()).formatError);
    EXPECT_TRUE(c.Empty());
}

TEST(PackedForm, TreesDeeperThanTheLevelLimitEndWithFormatError) {
    PackedFile f(0);
    f.NoPages().TreeFollows();
    for (int level = 0; level <= kMaxNodeLevel + 1; ++level) f.Folder(static_cast<uint16_t>(level), "f");
    Catalogue c;
    EXPECT_TRUE(Load(c, f.End().Bytes()).formatError);
    EXPECT_EQ(c.NodeCount(), kMaxNodeLevel + 1u);
    EXPECT_EQ(c.DeepestLevel(), kMaxNodeLevel);
}

TEST(PackedForm, NodeWithoutKindEndsTheTree) {
    PackedFile f(0);
    f.NoPages().TreeFollows().Folder(0, "A").Node(1, 1u << 7, "bad", "x").Folder(0, "B").End();
    Catalogue c;
    auto r = Load(c, f.Bytes());
    EXPECT_TRUE(r.formatError);
    EXPECT_EQ(Names(c), "A");
}

TEST(PackedForm, EndRecordNeedsAllThreeParts) {
    PackedFile f(0);
    f.NoPages().TreeFollows().Folder(0, "A");
    f.Node(65535, 15 | (1u << 8), "#ENDL", "p");  // other flags: a real folder on level 65535
    Catalogue c;
    EXPECT_TRUE(Load(c, f.Bytes()).formatError);  // a level jump
    PackedFile g(0);
    g.NoPages().TreeFollows().Folder(0, "A").Node(0, 15, "#ENDL", "path").End();
    EXPECT_FALSE(Load(c, g.Bytes()).formatError);
    EXPECT_EQ(Names(c), "A,#ENDL");  // only level 65535 ends the tree
}

TEST(PackedForm, NodeRecordsCarryEveryKind) {
    const uint32_t header = (1u << 11) | (1u << 3);
    PackedFile f(header, 1, 1, 0x00000012);  // Artist and Genre available
    f.NoPages().TreeFollows();
    // Folder with its own character sets and a UTF-16 second name.
    f.w.WriteKeyedWord(0);
    f.w.WriteKeyedDword(1u | (1u << 11) | (1u << 14) | (1u << 15));
    f.w.WriteKeyedByte(238);
    f.w.WriteWideRecord(u"Ελλάδα");
    f.w.WriteKeyedByte(0);
    f.w.WriteWideRecord(u"Greece");
    f.w.WriteLongRecord("Greece");
    // Song with second names, tags and prefix.
    f.w.WriteKeyedWord(1);
    f.w.WriteKeyedDword(2u | (1u << 12) | (1u << 15));
    f.w.WriteLongRecord("Name");
    f.w.WriteLongRecord("Name2");
    f.w.WriteLongRecord("Greece\\a.mp3");
    for (const char* t : {"Artist", "Artist2", "Genre", "Genre2"}) f.w.WriteShortRecord(t);
    f.w.WriteLongRecord("> ");
    // Text entry with lines and colour, then with values.
    f.w.WriteKeyedWord(1);
    f.w.WriteKeyedDword(4u | (1u << 12) | (1u << 13));
    f.w.WriteLongRecord("Lines");
    f.w.WriteKeyedWord(2);
    f.w.WriteLongRecord("Text\\l.txt");
    f.w.WriteKeyedDword(0x00FF00);
    f.w.WriteLongRecord("Greece\\a.mp3");
    f.w.WriteLongRecord("Greece\\b.mp3");
    f.w.WriteKeyedWord(1);
    f.w.WriteKeyedDword(4u);
    f.w.WriteLongRecord("Values");
    f.w.WriteKeyedWord(3);
    f.w.WriteLongRecord("Text\\v.txt");
    for (uint16_t v : {0, 5, 65535}) f.w.WriteKeyedWord(v);
    // Text item (bit 3) and a folder by bit 4.
    f.w.WriteKeyedWord(1);
    f.w.WriteKeyedDword(8u);
    f.w.WriteLongRecord("Item");
    f.w.WriteKeyedDword(0xFFFFFFFF);
    f.w.WriteKeyedDword(42);
    f.Node(0, 16u | 32u, "Bit4", "bit4");
    f.End();
    Catalogue c;
    auto r = Load(c, f.Bytes());
    ASSERT_FALSE(r.formatError);
    ASSERT_EQ(c.NodeCount(), 6u);
    const TRDataNode& folder = *c.Node(0);
    EXPECT_TRUE(folder.HasWideNames());
    EXPECT_EQ(folder.Flags, kNodeWideNames);
    EXPECT_EQ(folder.WideName, u"Ελλάδα");
    EXPECT_EQ(folder.NameText(true), u"Greece");
    EXPECT_EQ(folder.Charset, 238);
    EXPECT_EQ(folder.Charset2, 0);
    const TRDataNode& song = *c.Node(1);
    ASSERT_TRUE(song.Tags);
    EXPECT_EQ(song.Tags->Value(kArtist, false), "Artist");
    EXPECT_EQ(song.Tags->Value(kGenre, true), "Genre2");
    EXPECT_EQ(song.Tags->Value(kComposer, false), "");
    EXPECT_EQ(song.Tags->Prefix(), "> ");
    EXPECT_EQ(song.Charset, 204);
    EXPECT_EQ(song.Charset2, 204);  // no separate second charset in the header
    const TRDataNode& lines = *c.Node(2);
    ASSERT_TRUE(lines.Text);
    EXPECT_EQ(lines.Kind, kKindTextEntry);
    EXPECT_EQ(lines.Text->Flags, TTTextNode::kHasLines);
    EXPECT_EQ(lines.Text->Lines.size(), 2u);
    EXPECT_EQ(lines.Text->TextColour, 0x00FF00u);
    const TRDataNode& values = *c.Node(3);
    EXPECT_EQ(values.Text->Values, (std::vector<uint16_t>{0, 5, 65535}));
    EXPECT_EQ(values.Text->TextColour, 0u);
    const TRDataNode& item = *c.Node(4);
    EXPECT_EQ(item.Kind, kKindTextItem);
    EXPECT_EQ(item.Value1, -1);
    EXPECT_EQ(item.Value2, 42);
    EXPECT_EQ(c.Node(5)->Kind, kKindFolder);
    EXPECT_EQ(c.Node(5)->Path, "bit4");
    c.root = u"E:\\";
    EXPECT_EQ(c.FindSongByPath(u"E:\\Sound\\greece\\A.MP3"), &song);
}

TEST(PackedForm, VideoTreeInVersionZeroIgnoresBitsFiveToTwelve) {
    for (uint8_t minor : {0, 1}) {
        PackedFile f((1u << 2) | (1u << 5), 1, minor);
        f.NoPages().TreeFollows(false);
        f.w.WriteKeyedDword(1);
        f.w.WriteKeyedWord(0);
        f.w.WriteKeyedDword(1u | (1u << 11));  // UTF-16 names only from version x.1
        if (minor == 0) f.w.WriteLongRecord("Clips"); else f.w.WriteWideRecord(u"Clips");
        f.w.WriteLongRecord("folder description");
        f.w.WriteLongRecord("");
        f.w.WriteLongRecord("folder.jpg");
        f.w.WriteKeyedWord(1);
        f.w.WriteKeyedDword(2u);
        f.w.WriteLongRecord("Clip");
        f.w.WriteLongRecord("About");
        f.w.WriteLongRecord("clip.avi");
        f.w.WriteLongRecord("clip.jpg");
        f.End();
        Catalogue c;
        auto r = Load(c, f.Bytes());
        ASSERT_FALSE(r.formatError) << int(minor);
        ASSERT_EQ(c.Roots().size(), 1u);
        const TRDataNode& folder = *c.Roots()[0];
        EXPECT_EQ(folder.Kind, kKindVideoFolder);
        EXPECT_EQ(folder.NameText(), u"Clips");
        EXPECT_EQ(folder.HasWideNames(), minor == 1);
        EXPECT_EQ(folder.StateImage, kStateVideoFolder);
        ASSERT_EQ(folder.Children.size(), 1u);
        const TRDataNode& clip = *folder.Children[0];
        EXPECT_EQ(clip.Kind, kKindVideo);
        ASSERT_TRUE(clip.Video);
        EXPECT_EQ(clip.Video->Description, "About");
        EXPECT_EQ(clip.Video->Picture, "clip.jpg");
        EXPECT_EQ(clip.Path, "clip.avi");
        EXPECT_TRUE(c.VideosPresent());
        EXPECT_EQ(c.DeepestFolderLevel(), -1);  // video kinds do not count as folders
        EXPECT_EQ(c.DeepestLevel(), 1);
    }
}

TEST(PackedForm, TruncationAnywhereKeepsWhatWasReadAndNeverFails) {
    PackedFile f(0);
    f.NoPages().TreeFollows();
    for (int i = 0; i < 20; ++i) f.Folder(0, std::string(1, static_cast<char>('A' + i))).Song(1, "s", "F\\s.mp3");
    std::string all = f.End().Bytes();
    size_t previous = 0;
    for (size_t cut = 0; cut < all.size(); cut += 7) {
        Catalogue c;
        auto r = LoadDescriptionBytes(c, all.substr(0, cut), {});
        if (cut >= 30) {
            EXPECT_TRUE(r.formatError || r.outcome != LoadOutcome::Loaded) << cut;
        }
        EXPECT_GE(c.NodeCount(), previous);
        previous = c.NodeCount();
    }
    Catalogue c;
    EXPECT_FALSE(LoadDescriptionBytes(c, all, {}).formatError);
    EXPECT_EQ(c.NodeCount(), 40u);
}
