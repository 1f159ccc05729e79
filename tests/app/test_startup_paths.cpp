#include <gtest/gtest.h>

#include "app/startup_paths.h"
#include "app/version_compare.h"
#include "base/text_codec.h"

using namespace qlm;

namespace {
DiskRootChoice Choose(std::optional<std::u16string_view> param, bool fromCd = false) {
    return ChooseDiskRoot(fromCd, u"E:\\Prog\\", param);
}
}  // namespace

TEST(DiskRootChoice, SwitchesAndForms) {
    EXPECT_EQ(Choose(std::nullopt).source, DiskRootSource::SearchDrives);
    EXPECT_EQ(Choose(u"-W").source, DiskRootSource::SearchDrives);
    EXPECT_EQ(Choose(u"-w").source, DiskRootSource::SearchDrives);

    auto d = Choose(u"-d");
    EXPECT_EQ(d.source, DiskRootSource::ProgramFolder);
    EXPECT_EQ(d.root, u"E:\\Prog\\");

    auto letter = Choose(u"D=F");
    EXPECT_EQ(letter.source, DiskRootSource::DriveLetter);
    EXPECT_EQ(letter.root, u"F:\\");

    // Only an upper-case D makes the drive form: "d=F" names a folder.
    auto lower = Choose(u"d=F");
    EXPECT_EQ(lower.source, DiskRootSource::Folder);
    EXPECT_EQ(lower.root, u"d=F\\");

    auto folder = Choose(u"C:\\Music");
    EXPECT_EQ(folder.source, DiskRootSource::Folder);
    EXPECT_EQ(folder.root, u"C:\\Music\\");
    EXPECT_EQ(Choose(u"C:\\Music\\").root, u"C:\\Music\\");
}

TEST(DiskRootChoice, RunningFromCdIgnoresTheCommandLine) {
    auto c = ChooseDiskRoot(true, u"G:\\", u"D=F");
    EXPECT_EQ(c.source, DiskRootSource::ProgramFolder);
    EXPECT_EQ(c.root, u"G:\\");
}

TEST(CommandLine, FirstParameterSkipsProgramAndHonoursQuotes) {
    EXPECT_EQ(FirstCommandLineParameter(u"qlm.exe"), std::nullopt);
    EXPECT_EQ(FirstCommandLineParameter(u"\"C:\\Program Files\\qlm.exe\"   "), std::nullopt);
    EXPECT_EQ(FirstCommandLineParameter(u"\"C:\\Program Files\\qlm.exe\" -d"), u"-d");
    EXPECT_EQ(FirstCommandLineParameter(u"qlm.exe \"Z:\\my disk\\\" second"), u"Z:\\my disk\\");
    EXPECT_EQ(FirstCommandLineParameter(u"qlm.exe\tD=E x"), u"D=E");
}

TEST(ProgramPaths, SupportFolderFollowsTheInstalledCopy) {
    EXPECT_EQ(SupportFolder(u"C:\\QLM\\qlm.exe", u"c:\\qlm\\QLM.EXE"), u"c:\\qlm\\");
    EXPECT_EQ(SupportFolder(u"E:\\qlm.exe", u"C:\\QLM\\qlm.exe"), u"E:\\About\\");
    EXPECT_EQ(SupportFolder(u"E:\\Disk\\qlm.exe", u""), u"E:\\Disk\\About\\");
}

TEST(VersionCompare, PartsCompareAsNumbers) {
    EXPECT_TRUE(IsVersionHigher("1.0.10.0", "1.0.6.0"));
    EXPECT_FALSE(IsVersionHigher("1.0.6.0", "1.0.10.0"));
    // Exactly the program's own version is not higher (and so is accepted).
    EXPECT_FALSE(IsVersionHigher("2.1.0.5", "2.1.0.5"));
    EXPECT_TRUE(IsVersionHigher("2.1.0.5", "2.1.0.5", true));
    // Missing and non-numeric parts count as 0; a fifth part is ignored.
    EXPECT_FALSE(IsVersionHigher("2.1", "2.1.0.0"));
    EXPECT_FALSE(IsVersionHigher("2.x.9", "2.0.9"));
    EXPECT_FALSE(IsVersionHigher("1.0.0.0.9", "1.0.0.0"));
    EXPECT_TRUE(IsVersionHigher("3", "2.99.99.99"));
    EXPECT_FALSE(IsVersionHigher("", "0.0.0.0"));
}

#include "app/page_buttons.h"

TEST(PageButtons, CaptionsDecideThePagesAndTheMinimumHeight) {
    DiskSettings s;
    std::vector<PageEntry> pages;
    PageButtons none = PageButtonsOf(s, false, pages);
    EXPECT_EQ(none.VisibleCount(), 0);
    EXPECT_EQ(MinimumWindowHeight(none), 468);  // only the list button

    s.HasTexts = true;
    s.SlidesEnabled = true;
    pages = {{EncodeFromUtf8("&анонс", 204), "a.htm"}, {EncodeFromUtf8("Помощь", 204), "h.htm"},
             {EncodeFromUtf8("Анонс и ещё", 204), "i.htm"}};
    PageButtons all = PageButtonsOf(s, true, pages);
    EXPECT_TRUE(all.anons && all.help && all.inform && all.text && all.slides);
    EXPECT_EQ(MinimumWindowHeight(all), 621);  // all five page buttons

    // Slides switched on but none present: no slide button.
    PageButtons noSlides = PageButtonsOf(s, false, {});
    EXPECT_FALSE(noSlides.slides);
    EXPECT_EQ(MinimumWindowHeight(noSlides), 468);  // list + texts
    s.SlidesEnabled = false;
    PageButtons three = PageButtonsOf(s, false, {pages[0], pages[1]});
    EXPECT_EQ(three.VisibleCount(), 3);
    EXPECT_EQ(MinimumWindowHeight(three), 507);
}
