#include <gtest/gtest.h>

#include <set>

#include "pages/page_entries.h"

namespace qlm {
namespace {

TEST(PageEntries, CaptionsSortIntoAnnouncementHelpAndInformation) {
    EXPECT_EQ(PageKindOf(u"&Анонс"), PageKind::Announcement);
    EXPECT_EQ(PageKindOf(u"аНОНс"), PageKind::Announcement);
    EXPECT_EQ(PageKindOf(u"Анонс дисков"), PageKind::Information);
    EXPECT_EQ(PageKindOf(u"&Помощь"), PageKind::Help);
    EXPECT_EQ(PageKindOf(u"ПОМОЩЬ"), PageKind::Help);
    EXPECT_EQ(PageKindOf(u"О диске"), PageKind::Information);
    EXPECT_TRUE(IsCompiledHelpFile(u"Anons\\news.ChM"));
    EXPECT_FALSE(IsCompiledHelpFile(u"Anons\\news.htm"));
}

TEST(PageEntries, LanguageVersionsComeFirst) {
    std::set<std::u16string> files = {u"D:\\Info\\English\\about.htm", u"D:\\Info\\about.htm", u"D:\\Info\\more.htm",
                                      u"C:\\QLM\\h_help.htm", u"C:\\QLM\\English\\help.htm"};
    FileExists exists = [&](const std::u16string& f) { return files.count(f) > 0; };
    EXPECT_EQ(LanguageVersion(u"Info\\", u"English", u"a.htm"), u"Info\\English\\a.htm");
    EXPECT_EQ(LanguageVersion(u"Info\\", u"", u"a.htm"), u"Info\\a.htm");
    EXPECT_EQ(FindDiskPage(u"D:\\", u"Info\\about.htm", u"English", exists), u"D:\\Info\\English\\about.htm");
    EXPECT_EQ(FindDiskPage(u"D:\\", u"Info\\about.htm", u"", exists), u"D:\\Info\\about.htm");
    EXPECT_EQ(FindDiskPage(u"D:\\", u"Info\\more.htm", u"English", exists), u"D:\\Info\\more.htm");
    EXPECT_EQ(FindDiskPage(u"D:\\", u"Info\\gone.htm", u"English", exists), u"");
    // Running installed, the disk's help name gives way to the program's own.
    EXPECT_EQ(FindHelpPage(u"C:\\QLM\\", u"help.htm", u"", true, exists), u"C:\\QLM\\h_help.htm");
    EXPECT_EQ(FindHelpPage(u"C:\\QLM\\", u"help.htm", u"English", false, exists), u"C:\\QLM\\English\\help.htm");
    EXPECT_EQ(FindProgramHelp(u"C:\\QLM\\", u"English", exists), u"C:\\QLM\\h_help.htm");
    EXPECT_EQ(FindProgramHelp(u"C:\\Other\\", u"", exists), u"");
    EXPECT_TRUE(RunsFromInstalledFolder(u"C:\\Program Files\\QLM\\qlm.exe", u"c:\\program files\\qlm\\QLM.EXE"));
    EXPECT_FALSE(RunsFromInstalledFolder(u"D:\\qlm.exe", u"C:\\Program Files\\QLM\\qlm.exe"));
    EXPECT_FALSE(RunsFromInstalledFolder(u"D:\\qlm.exe", u""));
}

TEST(PageEntries, FileAddressesBecomePaths) {
    EXPECT_EQ(PathOfFileUrl("file:///D:/Info/about.htm"), u"D:\\Info\\about.htm");
    EXPECT_EQ(PathOfFileUrl("file:///D:/Info%20dir/%D0%90.htm#top"), u"D:\\Info dir\\А.htm");
    EXPECT_EQ(PathOfFileUrl("file:///D:/100%"), u"D:\\100%");
    EXPECT_EQ(PathOfFileUrl("http://example.org/a%20b"), u"http://example.org/a%20b");
    EXPECT_EQ(PathOfFileUrl(""), u"");
}

}  // namespace
}  // namespace qlm
