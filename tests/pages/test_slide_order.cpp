#include <gtest/gtest.h>

#include <set>

#include "pages/caption_strip.h"
#include "pages/slide_order.h"

namespace qlm {
namespace {

const SlideOrder::Show kAlwaysLoads = [](int) { return true; };

TEST(SlideOrder, SequentialWrapsBothWays) {
    SlideOrder one(1);
    EXPECT_EQ(one.Step(true, kAlwaysLoads, {}), 1);
    EXPECT_EQ(one.Step(true, kAlwaysLoads, {}), 1);
    EXPECT_EQ(one.Step(false, kAlwaysLoads, {}), 1);

    SlideOrder three(3);
    EXPECT_EQ(three.Step(false, kAlwaysLoads, {}), 3);
    EXPECT_EQ(three.Step(true, kAlwaysLoads, {}), 1);
    EXPECT_EQ(three.Step(false, kAlwaysLoads, {}), 3);
    // A picture that fails to load is passed over; the next step goes on after it.
    EXPECT_EQ(three.Step(true, [](int n) { return n != 1; }, {}), 0);
    EXPECT_EQ(three.Step(true, kAlwaysLoads, {}), 2);
    SlideOrder none(0);
    EXPECT_EQ(none.Step(true, kAlwaysLoads, {}), 0);
}

TEST(SlideOrder, RandomShowsEverySlideOncePerCycle) {
    SlideOrder order(3);
    order.SetMode(SlideOrder::kRandom);
    int draws = 0;
    SlideOrder::Draw draw = [&](int n) { return (draws++ * 7) % n; };
    for (int cycle = 0; cycle < 3; ++cycle) {
        std::set<int> seen;
        for (int i = 0; i < 3; ++i) seen.insert(order.Step(true, kAlwaysLoads, draw));
        EXPECT_EQ(seen, (std::set<int>{1, 2, 3})) << "cycle " << cycle;
    }
    // Back to disk order: it goes on from the slide shown last.
    int last = order.Current();
    order.SetMode(SlideOrder::kSequential);
    EXPECT_EQ(order.Step(true, kAlwaysLoads, {}), last % 3 + 1);
}

TEST(SlideOrder, RandomFailureStillLeavesASlideForEveryDraw) {
    SlideOrder order(3);
    order.SetMode(SlideOrder::kRandom);
    SlideOrder::Draw last = [](int n) { return n - 1; };
    EXPECT_EQ(order.Step(true, [](int) { return false; }, last), 0);
    EXPECT_EQ(order.Remaining(), 2);
    EXPECT_NE(order.Step(true, kAlwaysLoads, last), 0);
    EXPECT_NE(order.Step(true, kAlwaysLoads, last), 0);
    EXPECT_NE(order.Step(true, kAlwaysLoads, last), 0);  // a new cycle
}

TEST(CaptionStrip, ScrollsEndlesslyOnlyWhenTheTextIsWider) {
    EXPECT_EQ(StripWidth(50, 300), 300);
    EXPECT_EQ(StripWidth(400, 300), 900);
    CaptionScroll fits;
    fits.Set(100, 300);
    for (int i = 0; i < 40; ++i) EXPECT_FALSE(fits.Tick());
    CaptionScroll wide;
    wide.Set(400, 300);
    for (int i = 0; i < kStripStartDelay; ++i) EXPECT_FALSE(wide.Tick());
    EXPECT_TRUE(wide.Tick());
    EXPECT_EQ(wide.Offset(), 3);
    int ticks = 1;
    while (wide.Offset() != 0) {
        wide.Tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 501 / 3);  // the tick that passes 400 + 100 goes back to the start
    EXPECT_TRUE(wide.Tick());       // and on again
}

TEST(CaptionStrip, LongCaptionsAreShortenedWithAnEllipsis) {
    auto width = [](const std::u16string& s) { return static_cast<int>(s.size()) * 7; };
    std::u16string shortText(100, u'a');
    EXPECT_EQ(ShortenSlideCaption(shortText, width), shortText);
    std::u16string longText(5000, u'a');
    std::u16string cut = ShortenSlideCaption(longText, width);
    ASSERT_GE(cut.size(), 3u);
    EXPECT_EQ(cut.substr(cut.size() - 3), u"...");
    int strip = 2 * width(cut) + kStripGap;
    EXPECT_LE(strip, kStripMaxWidth - 30);
    EXPECT_GE(strip, kStripMaxWidth - 54);
}

TEST(DelayField, StepsByOneBetweenOneAndNinetyNineAndLeavesOtherTextAlone) {
    EXPECT_EQ(StepDelayField(u"5", 1), u"6");
    EXPECT_EQ(StepDelayField(u"5", -1), u"4");
    EXPECT_EQ(StepDelayField(u" 9 ", 1), u"10");
    EXPECT_EQ(StepDelayField(u"2", -1), u"1");
    EXPECT_EQ(StepDelayField(u"1", -1), std::nullopt);   // not below one second
    EXPECT_EQ(StepDelayField(u"99", 1), std::nullopt);   // nor past the field's two digits
    EXPECT_EQ(StepDelayField(u"", 1), std::nullopt);
    EXPECT_EQ(StepDelayField(u"5s", 1), std::nullopt);
    EXPECT_EQ(StepDelayField(u"-3", 1), std::nullopt);
}

}  // namespace
}  // namespace qlm
