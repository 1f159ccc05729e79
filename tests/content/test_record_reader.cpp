#include <gtest/gtest.h>

#include "content/disk_loader.h"
#include "record_file.h"

using namespace qlm;
using namespace qlm::test;

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
