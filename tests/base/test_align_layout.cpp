#include <gtest/gtest.h>

#include "base/align_layout.h"

using namespace qlm;

TEST(AlignLayout, EdgesThenClientInDesignOrder) {
    AlignLayout l;
    int left = l.Add(AlignLayout::kRoot, "Panel3", Align::Left, 80);
    int top = l.Add(AlignLayout::kRoot, "MainTopPanel", Align::Top, 40);
    int bottom = l.Add(AlignLayout::kRoot, "MainBottomPanel", Align::Bottom, 90);
    int page = l.Add(AlignLayout::kRoot, "PageControlPanel", Align::Client);
    int dock = l.Add(page, "Form4Panel", Align::Right, 125);
    int tree = l.Add(page, "Tree", Align::Client);
    l.Arrange(600, 500);
    // Top and bottom bars span the whole width; the left column sits between them.
    EXPECT_EQ(l.Bounds(top), (LayoutRect{0, 0, 600, 40}));
    EXPECT_EQ(l.Bounds(bottom), (LayoutRect{0, 410, 600, 500}));
    EXPECT_EQ(l.Bounds(left), (LayoutRect{0, 40, 80, 410}));
    EXPECT_EQ(l.Bounds(page), (LayoutRect{80, 40, 600, 410}));
    EXPECT_EQ(l.Bounds(dock), (LayoutRect{475, 40, 600, 410}));
    EXPECT_EQ(l.Bounds(tree), (LayoutRect{80, 40, 475, 410}));

    // A hidden box gives its room back; its children count as hidden too.
    l.SetVisible(page, false);
    EXPECT_FALSE(l.Visible(tree));
    l.SetVisible(page, true);
    l.SetVisible(dock, false);
    l.Arrange(600, 500);
    EXPECT_EQ(l.Bounds(tree), (LayoutRect{80, 40, 600, 410}));
}

TEST(AlignLayout, StackingAndShrinkingWindow) {
    AlignLayout l;
    int a = l.Add(AlignLayout::kRoot, "a", Align::Top, 57);
    int b = l.Add(AlignLayout::kRoot, "b", Align::Top, 57);
    int fixed = l.Add(b, "btn", Align::None, 0, {5, 6, 25, 26});
    int fill = l.Add(AlignLayout::kRoot, "fill", Align::Client);
    l.Arrange(100, 80);
    EXPECT_EQ(l.Bounds(a), (LayoutRect{0, 0, 100, 57}));
    EXPECT_EQ(l.Bounds(b), (LayoutRect{0, 57, 100, 80}));  // cut at the window edge
    EXPECT_EQ(l.Bounds(fixed), (LayoutRect{5, 63, 25, 83}));
    EXPECT_EQ(l.Bounds(fill).Height(), 0);
    l.Arrange(-5, -5);  // a minimised window never yields negative boxes
    EXPECT_GE(l.Bounds(fill).Width(), 0);
    EXPECT_EQ(l.Find("btn"), fixed);
    EXPECT_EQ(l.Find("none"), -1);
}
