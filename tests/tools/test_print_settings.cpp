#include <gtest/gtest.h>

#include "tools/find_wait.h"
#include "tools/print_settings.h"

#include "content/catalogue.h"

using namespace qlm;
using namespace qlm::print;

TEST(PrintSettings, DefaultsRoundTripAndRanges) {
    app::MemoryProfileStore ini;
    EXPECT_EQ(ReadPrinterSettings(ini), PrinterSettings{});
    PrinterSettings s{10, 20, 30, 40, 1, 9, 0, 1};
    WritePrinterSettings(ini, s);
    EXPECT_EQ(ReadPrinterSettings(ini), s);
    EXPECT_EQ(*ini.Read(u"Printer settings", u"ColsCount"), u"9");
    ini.Write(u"Printer settings", u"Cols", u"3");
    ini.Write(u"Printer settings", u"Left", u"0");
    ini.Write(u"Printer settings", u"ColsCount", u"12");
    const PrinterSettings r = ReadPrinterSettings(ini);
    EXPECT_EQ(r.cols, 0);
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.colsCount, 9);
}

TEST(PrintSettings, FontsDefaultToTheTreeFontAndKeepTheirStyle) {
    app::MemoryProfileStore ini;
    FontSpec f = ReadFont(ini, kSongFontSection, u"Tahoma");
    EXPECT_EQ(f, (FontSpec{u"Tahoma", 8, 0, 204, 0}));
    f = {u"Arial", 12, 0x0000FF, 0, kStyleItalic};
    WriteFont(ini, kHeader2FontSection, f);
    EXPECT_EQ(ReadFont(ini, kHeader2FontSection, u"Tahoma"), f);
    EXPECT_FALSE(ini.HasSection(kSongFontSection));
    EXPECT_EQ(HeaderFontOf(f).style, kStyleItalic | kStyleBold | kStyleUnderline);
}

TEST(FindWait, ListThatNeverFillsEndsTheWaitAtTheBound) {
    int64_t now = 0;
    int pumps = 0;
    auto pump = [&] {
        ++pumps;
        now += find::kListPollMs;
    };
    EXPECT_FALSE(find::WaitBounded([] { return false; }, pump, [&] { return now; }));
    EXPECT_EQ(pumps, find::kListWaitMs / find::kListPollMs);
    pumps = 0;
    EXPECT_TRUE(find::WaitBounded([&] { return pumps == 3; }, pump, [&] { return now; }));
    EXPECT_TRUE(find::WaitBounded([] { return true; }, pump, [&] { return now; }));
    EXPECT_EQ(pumps, 3);
}

TEST(FindWait, BookModeSelectionGoesOnWhenTheListNeverReports) {
    int64_t now = 0;
    std::string steps;
    find::BookModeList list;
    list.selectTreeNode = [&](const TRDataNode&) { steps += "tree "; };
    list.filled = [] { return false; };
    list.pump = [&] { now += find::kListPollMs; };
    list.nowMs = [&] { return now; };
    list.clearSelection = [&] { steps += "clear "; };
    list.selectItem = [&](const TRDataNode&) -> std::optional<int> {
        steps += "item ";
        return 100;
    };
    list.scrollBy = [&](int dy) { steps += "scroll" + std::to_string(dy) + " "; };
    list.focus = [&] { steps += "focus"; };
    TRDataNode song;
    EXPECT_FALSE(find::SelectInBookMode(list, song));
    EXPECT_EQ(now, find::kListWaitMs);
    EXPECT_EQ(steps, "tree clear item scroll70 focus");
}
