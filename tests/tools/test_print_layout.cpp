#include <gtest/gtest.h>

#include "tools/print_layout.h"

using namespace qlm::print;

namespace {

Page A4ish() {
    Page p;
    p.width = 1000;
    p.height = 1000;
    return p;  // margins 50
}

PrintLine Line(LineKind kind) {
    PrintLine l;
    l.kind = kind;
    return l;
}

std::vector<PrintLine> Songs(int n) { return std::vector<PrintLine>(static_cast<size_t>(n), PrintLine{}); }

const std::array<FontMetrics, 3> kFonts = {FontMetrics{120, 120, 60}, FontMetrics{110, 110, 55},
                                           FontMetrics{100, 100, 50}};

}  // namespace

TEST(PrintLayout, ExactColumnsMustFit) {
    const Page p = A4ish();  // 900 printable
    EXPECT_TRUE(ChooseColumns(ColumnMode::Exact, 2, p, 80, 410).fits);   // 410 + 80 + 410 = 900
    EXPECT_FALSE(ChooseColumns(ColumnMode::Exact, 2, p, 80, 411).fits);
    const ColumnChoice nine = ChooseColumns(ColumnMode::Exact, 9, p, 80, 300);
    EXPECT_FALSE(nine.fits);
    EXPECT_EQ(nine.columns, 9);
    EXPECT_EQ(ChooseColumns(ColumnMode::One, 9, p, 80, 5000).columns, 1);
    EXPECT_TRUE(ChooseColumns(ColumnMode::One, 9, p, 80, 5000).fits);
}

TEST(PrintLayout, MaximumTakesAsManyColumnsAsFitAndNeverFails) {
    const Page p = A4ish();
    EXPECT_EQ(ChooseColumns(ColumnMode::Maximum, 0, p, 80, 200).columns, 3);  // 3*200 + 2*80 = 760
    EXPECT_EQ(ChooseColumns(ColumnMode::Maximum, 0, p, 0, 300).columns, 3);
    EXPECT_EQ(ChooseColumns(ColumnMode::Maximum, 0, p, 80, 410).columns, 2);
    // A line wider than the page with the gap as wide as the column, and a zero-width list.
    EXPECT_EQ(ChooseColumns(ColumnMode::Maximum, 0, p, 2000, 2000).columns, 1);
    EXPECT_EQ(ChooseColumns(ColumnMode::Maximum, 0, p, 0, 0).columns, 1);
    Page narrow = p;
    narrow.left = narrow.right = 600;
    EXPECT_EQ(ChooseColumns(ColumnMode::Maximum, 0, narrow, 80, 100).columns, 1);
}

TEST(PrintLayout, AFullColumnMovesOnBeforeTheLineThatWouldCrossTheMargin) {
    // 900 pixels between the margins hold exactly nine lines of 100.
    const auto at = PlaceLines(Songs(19), kFonts, A4ish(), 2, 80, 300);
    ASSERT_EQ(at.size(), 19u);
    EXPECT_EQ(at[8], (Placement{0, 0, 50, 850}));
    EXPECT_EQ(at[9], (Placement{0, 1, 50 + 80 + 300, 50}));
    EXPECT_EQ(at[17], (Placement{0, 1, 430, 850}));
    EXPECT_EQ(at[18], (Placement{1, 0, 50, 50}));
}

TEST(PrintLayout, BlankLineBeforeAHeaderThatFollowsASong) {
    std::vector<PrintLine> lines = {Line(LineKind::Header1), Line(LineKind::Header2), Line(LineKind::Song),
                                    Line(LineKind::Song),    Line(LineKind::Header2), Line(LineKind::Song)};
    const auto at = PlaceLines(lines, kFonts, A4ish(), 1, 0, 300);
    EXPECT_EQ(at[0].y, 50);
    EXPECT_EQ(at[1].y, 170);  // no blank line between headers
    EXPECT_EQ(at[2].y, 280);
    EXPECT_EQ(at[3].y, 380);
    EXPECT_EQ(at[4].y, 480 + 110);
    EXPECT_EQ(at[5].y, 700);
    // A header at the top of a column gets none.
    lines = Songs(9);
    lines.push_back(Line(LineKind::Header2));
    EXPECT_EQ(PlaceLines(lines, kFonts, A4ish(), 1, 0, 300).back(), (Placement{1, 0, 50, 50}));
}
