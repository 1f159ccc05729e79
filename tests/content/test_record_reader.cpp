#include <gtest/gtest.h>

#include "content/disk_loader.h"
#include "record_file.h"

using namespace qlm;
using namespace qlm::test;
using namespace std::string_literals;

namespace {

LoadResult Load(Catalogue& c, const std::vector<Rec>& recs, bool second = false) {
    LoadOptions o;
    o.secondLanguageActive = second;
    return LoadDescriptionBytes(c, RecordFile(recs), o);
}

std::string Z(std::string_view a, std::string_view b) { return std::string(a) + '\0' + std::string(b); }

}  // namespace

TEST(RecordForm, MinimalDiskHasIdentifierAndNoNodes) {
    Catalogue c;
    auto r = Load(c, {S("  CDQLM=DISK-01"), S("EndOfCFG")});
    EXPECT_EQ(r.outcome, LoadOutcome::Loaded);
    EXPECT_FALSE(r.formatError);
    EXPECT_FALSE(r.packed);
    EXPECT_EQ(c.settings.DiskIdentifier, "DISK-01");
    EXPECT_TRUE(c.Empty());
    EXPECT_FALSE(r.bookModeAvailable);
}

TEST(RecordForm, FirstRecordMustBeTheIdentifier) {
    Catalogue c;
    EXPECT_EQ(Load(c, {S("CDRUS=x"), S("CDQLM=a")}).outcome, LoadOutcome::NotADisk);
    EXPECT_EQ(LoadDescriptionBytes(c, "", {}).outcome, LoadOutcome::NotADisk);
}

TEST(RecordForm, HeaderSwitchesAndTexts) {
    Catalogue c;
    LoadResult r;  // the reader alone: no after-loading step turns SlidesEnabled off
    ReadRecordForm(RecordFile({S("CDQLM=id"), S("CDRUS=" + Cp1251("Сборник")), S("\t PSSH= 1"), S("PVT=0"), S("PVV=7 x"),
                      S("ev=1"), S("natovpage=1"), S("T=Pic\\title one.jpg "), S("Charset=238"),
                      S("TextLanguage=204"), S("DL=1"), S("VDL=0"), S("SDL=1"), S("PNI=1"), S("ELS=1"),
                      S("P='Анонс' FN='html\\a.htm'"), S("P='Help'   FN='h.htm"), S("EndOfCFG trailing")}), c, r);
    EXPECT_TRUE(r.formatError);  // the page whose file lacks its closing quote
    auto& s = c.settings;
    EXPECT_EQ(DecodeToUtf8(s.DiskTitle, 204), "Сборник");
    EXPECT_TRUE(s.SlidesEnabled);
    EXPECT_FALSE(s.HasTexts);
    EXPECT_TRUE(s.VideosEnabled);
    EXPECT_TRUE(s.VideoListInFile);
    EXPECT_EQ(s.TitlePicture, "Pic\\title one.jpg ");
    EXPECT_EQ(s.Charset1, 238);
    EXPECT_EQ(s.Charset2, 238);
    EXPECT_EQ(s.TextCharset, 204);
    EXPECT_TRUE(s.DualLanguageNames);
    EXPECT_FALSE(s.DualLanguageVideos);
    EXPECT_TRUE(s.DualLanguageSlides);
    EXPECT_TRUE(s.NumberSongs);
    EXPECT_TRUE(s.LongFolderRecords);
    ASSERT_EQ(c.pages.size(), 2u);
    EXPECT_EQ(c.pages[0].Caption, "Анонс");
    EXPECT_EQ(c.pages[0].File, "html\\a.htm");
    EXPECT_EQ(c.pages[1].File, "h.htm");
}

TEST(RecordForm, MalformedHeaderRecordsStopWithFormatError) {
    const std::vector<std::string> bad = {"PSSH=x", "PSSH=", "PSSH=1x", "EV=abc", "ET=", "ELS=1 ", "ELS=2",
                                          "CDRUS =a", "", "P='caption'", "P='no closing", "CVF=video"};
    for (const auto& rec : bad) {
        Catalogue c;
        auto r = Load(c, {S("CDQLM=id"), S("CDRUS=before"), S(rec), S("CDRUS=after"), S("EndOfCFG"),
                          S(Z("F=dir", "N=Folder"))});
        EXPECT_TRUE(r.formatError) << rec;
        EXPECT_EQ(c.settings.DiskTitle, "before") << rec;
        EXPECT_TRUE(c.Empty()) << rec;  // the folder list is not read
    }
}

TEST(RecordForm, TolerantValuesAreAcceptedOrIgnored) {
    Catalogue c;
    auto r = Load(c, {S("CDQLM=id"), S("Charset=999"), S("TextLanguage=x"), S("P='a' x"), S("F=ignored"),
                      S("MF=ignored"), S("EV=-0"), S("EndOfCFG")});
    EXPECT_FALSE(r.formatError);
    EXPECT_EQ(c.settings.Charset1, 204);
    EXPECT_TRUE(c.pages.empty());
}

TEST(RecordForm, FolderListBuildsFoldersSongsAndIndex) {
    Catalogue c;
    auto r = Load(c, {S("CDQLM=id"), S("EndOfCFG"), S(Z("F=Rock", "N=" + Cp1251("Рок"))),
                      S(Z("FN=one.mp3", "N=One")), S(Z("FN=two.mp3", "X=skipped")), S(Z("FN=two.mp3", "N=Two")),
                      S(Z("F=Pop", "N=Pop")), S(Z("FN=one.mp3", "N=Other one")), S("END"),
                      S(Z("FN=never.mp3", "N=never"))});
    EXPECT_FALSE(r.formatError);
    ASSERT_EQ(c.Roots().size(), 2u);
    const TRDataNode& rock = *c.Roots()[0];
    EXPECT_EQ(rock.Path, "Rock");
    EXPECT_EQ(Utf16ToUtf8(rock.NameText()), "Рок");
    ASSERT_EQ(rock.Children.size(), 2u);
    EXPECT_EQ(rock.Children[1]->Path, "Rock\\two.mp3");
    EXPECT_EQ(c.NodeCount(), 5u);
    EXPECT_EQ(c.DeepestFolderLevel(), 1);
    EXPECT_TRUE(r.bookModeAvailable);
    // Same file name in two folders: one bucket, told apart by the full path.
    c.root = u"D:\\";
    const TRDataNode* pop1 = c.FindSongByPath(u"d:\\SOUND\\pop\\ONE.MP3");
    ASSERT_NE(pop1, nullptr);
    EXPECT_EQ(Utf16ToUtf8(pop1->NameText()), "Other one");
    EXPECT_EQ(c.FindSongByPath(u"D:\\Sound\\Rock\\one.mp3"), rock.Children[0]);
    EXPECT_EQ(c.FindSongByPath(u"D:\\Sound\\Rock\\three.mp3"), nullptr);
}

TEST(RecordForm, TwoLevelFoldersAndDualLanguageNames) {
    Catalogue c;
    auto r = Load(c, {S("CDQLM=id"), S("ET=1"), S("DL=1"), S("Charset=238"), S("EndOfCFG"),
                      S(Z("F=orphan", "N=Orphan")),  // before any group: on the root level
                      S(Z("MF=Rock", "N=" + Z("Rok", "Rock"))), S(Z("F=Band", "N=" + Z("Kapela", "Band"))),
                      S(Z("FN=01.mp3", "N=" + Z("Jeden", "One"))), S(Z("MF=Pop", "X=no name: ignored")),
                      S(Z("FN=02.mp3", "N=Two"))},
                 true);
    EXPECT_FALSE(r.formatError);
    ASSERT_EQ(c.Roots().size(), 2u);
    const TRDataNode& band = *c.Roots()[1]->Children.at(0);
    ASSERT_EQ(band.Children.size(), 2u);
    EXPECT_EQ(band.Children[0]->Path, "Rock\\Band\\01.mp3");
    EXPECT_EQ(band.Children[0]->Name2, "One");
    EXPECT_EQ(band.Children[1]->Name2, "");  // a one-language name in a two-language disk
    EXPECT_EQ(band.Charset, 238);            // names are in the disk's character set
    EXPECT_EQ(c.NodeDisplayText(band, true, false), u"Band");
    EXPECT_EQ(c.NodeDisplayText(*band.Children[1], true, false), u"Two");
    EXPECT_EQ(c.DeepestLevel(), 2);
    EXPECT_EQ(c.NameCharset(), 238);
}

TEST(RecordForm, GroupsAreIgnoredWithoutTwoLevelFolders) {
    Catalogue c;
    Load(c, {S("CDQLM=id"), S("EndOfCFG"), S(Z("MF=g", "N=G")), S(Z("F=f", "N=F")), S(Z("FN=s.mp3", "N=S"))});
    ASSERT_EQ(c.Roots().size(), 1u);
    EXPECT_EQ(c.Roots()[0]->Children.at(0)->Path, "f\\s.mp3");
}

TEST(RecordForm, LongFolderRecordsAndTruncatedFolderList) {
    Catalogue c;
    const std::string longName(300, 'n');
    std::string bytes = RecordFile({S("CDQLM=id"), S("ELS=1"), S("EndOfCFG"), L(Z("F=f", "N=" + longName)),
                                    L(Z("FN=a.mp3", "N=A")), L(Z("FN=b.mp3", "N=B"))});
    auto r = LoadDescriptionBytes(c, bytes, {});
    EXPECT_FALSE(r.formatError);
    EXPECT_EQ(c.Roots().at(0)->Name, longName);
    EXPECT_EQ(c.NodeCount(), 3u);
    r = LoadDescriptionBytes(c, bytes.substr(0, bytes.size() - 3), {});
    EXPECT_TRUE(r.formatError);
    EXPECT_EQ(c.NodeCount(), 2u);
}

TEST(RecordForm, PictureListWithAndWithoutSecondCaptions) {
    Catalogue c;
    LoadResult r;
    ReadRecordForm(RecordFile({S("CDQLM=id"), S("SDL=1"), S("PICList"), L("a.jpg\0A\0A2"s), L("b.jpg\0B"s),
                               L("\1\2\3#PICList"), S("SDL=0"), S("PICList"), L("c.jpg\0C\0ignored"s), L(""),
                               S("EndOfCFG")}),
                   c, r);
    EXPECT_FALSE(r.formatError);
    ASSERT_EQ(c.slides.size(), 4u);
    EXPECT_EQ(c.slides[0].Caption2, "A2");
    EXPECT_EQ(c.slides[1].Caption2, "");
    EXPECT_EQ(c.slides[2].Caption, "C");
    EXPECT_EQ(c.slides[2].Caption2, "");
    EXPECT_EQ(c.slides[3].File, "");  // the empty record still adds a slide
    EXPECT_TRUE(c.settings.PictureListInFile);
}

TEST(RecordForm, DualLanguageVideoRecords) {
    Catalogue c;
    auto r = Load(c, {S("CDQLM=id"), S("EV=1"), S("VDL=1"), S("VI=Before any folder"), L("VIF=x.avi"), L("VI2=X2"),
                      S("CVF=Klipy\1rest"), S("CVF2=Clips"), S("VI=Klip"), L("VIF=k.avi\1Opis\1k.jpg"),
                      L("VI2=Clip\1About"), S("EndOfCFG")},
                 true);
    EXPECT_FALSE(r.formatError);
    ASSERT_EQ(c.Roots().size(), 2u);
    EXPECT_EQ(c.Roots()[0]->Kind, kKindVideo);
    const TRDataNode& folder = *c.Roots()[1];
    EXPECT_EQ(folder.Name, "Klipy");
    EXPECT_EQ(folder.Name2, "Clips");
    const TRDataNode& clip = *folder.Children.at(0);
    EXPECT_EQ(clip.Name2, "Clip");
    EXPECT_EQ(clip.Video->Description2, "About");
    EXPECT_EQ(c.NodeDisplayText(clip, true, false), u"Clip");
}

TEST(RecordForm, DualLanguageSwitchLooksRightAfterTheEqualsSign) {
    Catalogue c;
    LoadResult r;
    ReadRecordForm(RecordFile({S("CDQLM=id"), S("  DL=1"), S("VDL=11"), S("SDL="), S("EndOfCFG")}), c, r);
    EXPECT_TRUE(c.settings.DualLanguageNames);
    EXPECT_TRUE(c.settings.DualLanguageVideos);
    EXPECT_FALSE(c.settings.DualLanguageSlides);
}
