#include <gtest/gtest.h>

#include "playback/panel_logic.h"

using namespace qlm;

TEST(PanelLogic, TimeTextShowsHoursOnlyWhenThereAreAny) {
    EXPECT_EQ(FormatPlayTime(3725), "1:02:05");
    EXPECT_EQ(FormatPlayTime(65), "1:05");
    EXPECT_EQ(FormatPlayTime(-1), "0:00");
    EXPECT_EQ(FormatPlayTime(0), "0:00");
    EXPECT_EQ(FormatPlayTime(600), "10:00");
    EXPECT_EQ(FormatPlayTime(36000), "10:00:00");
}

TEST(PanelLogic, SliderRestsLeftWithoutADurationAndReleaseSeeksFromTheButtonCentre) {
    SliderGeometry g{38, 200, 22};
    EXPECT_EQ(SliderButtonLeft(g, 0, 50), 38 - 11);
    EXPECT_EQ(ProgressWidth(g, SliderButtonLeft(g, 0, 50)), -11);
    EXPECT_EQ(SeekTargetMs(g, SliderButtonLeft(g, 0, 50), 0), 0);
    EXPECT_EQ(SliderButtonLeft(g, 100, 50), 38 + 100 - 11);
    EXPECT_EQ(SliderButtonLeft(g, 100, 100), 38 + 200 - 11);
    EXPECT_EQ(SeekTargetMs(g, 38 + 100 - 11, 100), 50000);
    EXPECT_EQ(ClampSliderLeft(g, -50), 27);
    EXPECT_EQ(ClampSliderLeft(g, 5000), 227);
    EXPECT_EQ(SeekTargetMs(SliderGeometry{38, 0, 22}, 100, 100), 0) << "no travel, no division by it";
}

TEST(PanelLogic, NarrowTitleStaysAndAWideOneTurnsOnceAfterTheDelay) {
    ScrollLine narrow;
    narrow.lineWidth = 241;
    narrow.scrolling = true;
    narrow.SetText(100);
    for (int i = 0; i < 200; ++i) narrow.Tick();
    EXPECT_EQ(narrow.offset, 0);
    EXPECT_TRUE(narrow.scrolling);
    EXPECT_EQ(narrow.StripWidth(), 300);

    ScrollLine wide;
    wide.lineWidth = 241;
    wide.scrolling = true;
    wide.SetText(400);
    EXPECT_EQ(wide.StripWidth(), 900);
    for (int i = 0; i < 17; ++i) EXPECT_FALSE(wide.Tick());
    EXPECT_EQ(wide.offset, 0);
    EXPECT_TRUE(wide.Tick());
    EXPECT_EQ(wide.offset, 3);
    int ticks = 1;
    while (wide.scrolling && ticks < 1000) {
        wide.Tick();
        ++ticks;
    }
    EXPECT_FALSE(wide.scrolling);
    EXPECT_EQ(wide.offset, 0);
    EXPECT_EQ(ticks, 167);  // 3-pixel steps until the offset passed 400 + 100
    wide.Toggle();
    EXPECT_TRUE(wide.scrolling);
    wide.Toggle();
    EXPECT_EQ(wide.delay, 0);
}

TEST(PanelLogic, VeryLongTextsAreShortenedIntoTheBand) {
    auto width = [](const std::u16string& s) { return static_cast<int>(s.size()) * 7; };
    std::u16string shortText(500, u'x');
    EXPECT_EQ(ShortenForStrip(shortText, width), shortText);
    std::u16string longText(3000, u'x');
    std::u16string cut = ShortenForStrip(longText, width);
    ASSERT_GT(cut.size(), 3u);
    EXPECT_EQ(cut.substr(cut.size() - 3), u"...");
    const int w2 = 2 * width(cut.substr(0, cut.size() - 3));
    EXPECT_GE(w2, kStripShortLow);
    EXPECT_LE(w2, kStripShortHigh);
    // Just at the limit: 16283 / 2 rounded up.
    std::u16string edge(1164, u'x');  // 2 * 8148 >= 16283
    auto width14 = [](const std::u16string& s) { return static_cast<int>(s.size()) * 7 + 1; };
    EXPECT_NE(ShortenForStrip(edge, width14), edge);
}

TEST(PanelLogic, IconSwitchesByPressAndReleasePlace) {
    EXPECT_EQ(IconSwitchOf(5, 12, 11), IconSwitch::Title);
    EXPECT_EQ(IconSwitchOf(5, 13, 11), IconSwitch::None);
    EXPECT_EQ(IconSwitchOf(15, 12, 12), IconSwitch::Comment);
    EXPECT_EQ(IconSwitchOf(15, 13, 12), IconSwitch::None);
    EXPECT_EQ(IconSwitchOf(25, 1, 15), IconSwitch::None);
}
