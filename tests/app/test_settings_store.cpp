#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "app/settings_store.h"

namespace qlm::app {
namespace {

TEST(SettingsStore, FirstRunGivesTheDefaults) {
    MemoryProfileStore ini;
    Settings s = LoadSettings(ini, {.slidesEnabled = true});
    EXPECT_EQ(s, Settings{});
    EXPECT_EQ(s.main, (WindowBounds{70, 201, 330, 348}));
    EXPECT_TRUE(s.textDocked);
    EXPECT_EQ(s.textDockWidth, 125);
    EXPECT_EQ(s.slideDelay, 5);
    EXPECT_EQ(s.videoPlayerId, -1);
    Position wa = WinampPosition(s, 70, 201);
    EXPECT_EQ(wa.left, 70);
    EXPECT_EQ(wa.top, 86);
    EXPECT_TRUE(ini.Sections().empty()) << "reading must not create anything";
}

TEST(SettingsStore, SaveThenLoadGivesTheSameSettings) {
    Settings s;
    s.main = {10, 20, 600, 500};
    s.mainMaximized = true;
    s.playFromCurrentPosition = true;
    s.bookModeHorizontal = true;
    s.bookMode = true;
    s.colorScheme = 2;
    s.favoritesWidth = 150;
    s.songsListWidth = 90;
    s.songsListHeight = 120;
    s.text = {-5, 7, 300, 200};
    s.textMaximized = true;
    s.textDocked = false;
    s.textDockWidth = 222;
    s.slideDelay = 30;
    s.winampLeft = 400;
    s.winampTop = -3;
    s.winampVisible = true;
    s.videoPlayerId = 2;

    MemoryProfileStore ini;
    MemoryRegistryStore reg;
    DiskContext disk{.slidesEnabled = true, .catalogueFlat = false};
    SaveSettings(ini, reg, u"English", s, disk);
    EXPECT_EQ(LoadSettings(ini, disk), s);
    EXPECT_EQ(ReadLanguageId(reg), u"English");
    EXPECT_EQ(ReadString(ini, u"settings", u"MMAX"), u"1") << "booleans are written as 1 and 0";
    EXPECT_EQ(ReadString(ini, u"Settings", u"IDock"), u"0");
}

TEST(SettingsStore, WinampPositionIsWrittenFromTheMainWindowWhenUnknown) {
    Settings s;
    s.main = {100, 300, 500, 400};
    MemoryProfileStore ini;
    MemoryRegistryStore reg;
    SaveSettings(ini, reg, u"", s, {});
    EXPECT_EQ(ReadInt(ini, u"Settings", u"WALeft", 0), 100);
    EXPECT_EQ(ReadInt(ini, u"Settings", u"WATop", 0), 185);
    EXPECT_EQ(ReadLanguageId(reg), u"");
    EXPECT_EQ(reg.writes, 1);
}

TEST(SettingsStore, TypeRules) {
    MemoryProfileStore ini;
    ini.Write(u"Settings", u"MMax", u"7");          // any non-zero integer is true
    ini.Write(u"Settings", u"IDock", u"0");
    ini.Write(u"Settings", u"WVis", u"-1");
    ini.Write(u"Settings", u"Pwcp", u"yes");        // not a number: the default
    ini.Write(u"Settings", u"MWidth", u" 640 ");
    ini.Write(u"Settings", u"MHeight", u"12abc");
    ini.Write(u"Settings", u"MLeft", u"99999999999");
    ini.Write(u"Settings", u"WALeft", u"junk");
    Settings s = LoadSettings(ini, {});
    EXPECT_TRUE(s.mainMaximized);
    EXPECT_FALSE(s.textDocked);
    EXPECT_TRUE(s.winampVisible);
    EXPECT_FALSE(s.playFromCurrentPosition);
    EXPECT_EQ(s.main.width, 640);
    EXPECT_EQ(s.main.height, 348);
    EXPECT_EQ(s.main.left, 70);
    EXPECT_FALSE(s.winampLeft.has_value());
}

TEST(SettingsStore, VideoPlayerIdUnderBothSpellings) {
    MemoryProfileStore ini;
    MemoryRegistryStore reg;
    Settings s;
    s.videoPlayerId = 3;
    SaveSettings(ini, reg, u"", s, {});
    const auto& section = ini.Sections().find(u"Settings")->second;
    ASSERT_NE(section.find(u"ExtVPId"), section.end());
    EXPECT_EQ(section.find(u"ExtVPId")->first, u"ExtVPId") << "written with this spelling";
    EXPECT_EQ(LoadSettings(ini, {}).videoPlayerId, 3);

    MemoryProfileStore old;
    old.Write(u"Settings", u"ExtVPID", u"1");
    EXPECT_EQ(LoadSettings(old, {}).videoPlayerId, 1);
}

TEST(SettingsStore, DiskDecidesWhatIsReadAndWritten) {
    MemoryProfileStore ini;
    MemoryRegistryStore reg;
    ini.Write(u"Settings", u"BookMode", u"1");
    ini.Write(u"Settings", u"SDelay", u"12");

    Settings loaded = LoadSettings(ini, {.slidesEnabled = false, .catalogueFlat = true});
    EXPECT_EQ(loaded.slideDelay, 5) << "no slides: SDelay is not read";
    EXPECT_TRUE(loaded.bookMode);
    EXPECT_FALSE(BookModeAtLoad(loaded, true));
    EXPECT_TRUE(BookModeAtLoad(loaded, false));

    loaded.bookMode = false;
    loaded.slideDelay = 60;
    SaveSettings(ini, reg, u"", loaded, {.slidesEnabled = false, .catalogueFlat = true});
    EXPECT_EQ(ReadString(ini, u"Settings", u"BookMode"), u"1") << "a flat catalogue keeps the stored wish";
    EXPECT_EQ(ReadString(ini, u"Settings", u"SDelay"), u"12");

    EXPECT_EQ(LoadSettings(ini, {.slidesEnabled = true}).slideDelay, 10) << "read through the snapping";
    SaveSettings(ini, reg, u"", loaded, {.slidesEnabled = true, .catalogueFlat = false});
    EXPECT_EQ(ReadString(ini, u"Settings", u"BookMode"), u"0");
    EXPECT_EQ(ReadString(ini, u"Settings", u"SDelay"), u"60");
}

TEST(SettingsStore, SlideDelaySnapping) {
    struct Case {
        int from, to;
    } table[] = {{0, 1},   {1, 1},   {2, 3},   {3, 3},   {4, 5},   {7, 5},   {8, 10},  {14, 10},
                 {15, 20}, {24, 20}, {25, 30}, {44, 30}, {45, 60}, {60, 60}, {12, 10}, {100, 60},
                 {-3, 1},  {INT_MIN, 1}, {INT_MAX, 60}};
    for (const auto& c : table) EXPECT_EQ(SnapSlideDelay(c.from), c.to) << c.from;
    for (int v = -5; v <= 70; ++v) {
        int snapped = SnapSlideDelay(v);
        EXPECT_NE(std::find(kSlideDelays.begin(), kSlideDelays.end(), snapped), kSlideDelays.end()) << v;
        if (v > -5) {
            EXPECT_GE(snapped, SnapSlideDelay(v - 1)) << "monotonic at " << v;
        }
    }
}

TEST(SettingsStore, SongListExtentRules) {
    EXPECT_EQ(SongsListExtent(80, 300), 80);
    EXPECT_EQ(SongsListExtent(-200, 300), 200);
    EXPECT_EQ(SongsListExtent(290, 300), 290);
    EXPECT_EQ(SongsListExtent(291, 300), 150) << "less than 10 pixels would remain";
    EXPECT_EQ(SongsListExtent(-295, 300), 150);
    EXPECT_EQ(SongsListExtent(500, 301), 150);
    EXPECT_EQ(SongsListExtent(INT_MIN, 300), 150);
    EXPECT_EQ(SongsListExtent(0, 0), 0);
}

RestartHandOver SampleHandOver() {
    RestartHandOver h;
    h.lastCD = u"ДИСК-01";
    h.playList = {u"D:\\Sound\\a.mp3", u"D:\\Sound\\Песня.mp3", u"D:\\Sound\\c.mp3"};
    h.playIndex = 2;
    h.isPlay = 3;
    h.playFilePos = 123456;
    h.control = 2;
    h.playMode = 7;
    h.showFav = 140;
    h.instFile = u"C:\\Temp\\QLMsetup.exe";
    return h;
}

TEST(RestartHandOver, RoundTripAndLanguage) {
    MemoryProfileStore ini;
    MemoryRegistryStore reg;
    RestartHandOver h = SampleHandOver();
    WriteRestartHandOver(ini, reg, h, u"English");
    EXPECT_EQ(ReadRestartHandOver(ini), h);
    EXPECT_EQ(ReadLanguageId(reg), u"English");

    ini.Write(u"One Run", u"DemoMode", u"1");  // only others write it
    EXPECT_TRUE(ReadRestartHandOver(ini).demoMode);
}

TEST(RestartHandOver, WriterReplacesTheOldListAndSkipsEmptyNames) {
    MemoryProfileStore ini;
    MemoryRegistryStore reg;
    ini.Write(u"WAList", u"File7", u"stale.mp3");
    RestartHandOver h = SampleHandOver();
    h.playList = {u"a.mp3", u"", u"c.mp3"};
    h.instFile.clear();
    WriteRestartHandOver(ini, reg, h, u"");
    EXPECT_EQ(ReadString(ini, u"WAList", u"File0"), u"a.mp3");
    EXPECT_FALSE(ini.Read(u"WAList", u"File1").has_value());
    EXPECT_EQ(ReadString(ini, u"WAList", u"File2"), u"c.mp3");
    EXPECT_FALSE(ini.Read(u"WAList", u"File7").has_value());
    EXPECT_FALSE(ini.Read(u"One Run", u"InstFile").has_value()) << "written only when there is one";
}

TEST(RestartHandOver, PlayListWithAGapStopsAtTheGap) {
    MemoryProfileStore ini;
    ini.Write(u"One Run", u"LastCD", u"X");
    ini.Write(u"WAList", u"File0", u"a.mp3");
    ini.Write(u"WAList", u"File1", u"b.mp3");
    ini.Write(u"WAList", u"File3", u"d.mp3");
    auto h = TakeRestartHandOver(ini, u"X");
    ASSERT_TRUE(h.has_value());
    EXPECT_EQ(h->playList, (std::vector<std::u16string>{u"a.mp3", u"b.mp3"}));
    EXPECT_FALSE(ini.HasSection(u"WAList"));
    EXPECT_FALSE(ini.HasSection(u"One Run"));
}

TEST(RestartHandOver, OnlyTheSameDiskResumesAndBothAreErased) {
    MemoryProfileStore ini;
    MemoryRegistryStore reg;
    WriteRestartHandOver(ini, reg, SampleHandOver(), u"");
    EXPECT_FALSE(TakeRestartHandOver(ini, u"диск-01").has_value()) << "identifiers compare exactly";
    EXPECT_FALSE(ini.HasSection(u"WAList"));
    EXPECT_FALSE(ini.HasSection(u"One Run"));

    WriteRestartHandOver(ini, reg, SampleHandOver(), u"");
    auto h = TakeRestartHandOver(ini, u"ДИСК-01");
    ASSERT_TRUE(h.has_value());
    EXPECT_EQ(*h, SampleHandOver());
    EXPECT_FALSE(TakeRestartHandOver(ini, u"ДИСК-01").has_value()) << "consumed once";

    MemoryProfileStore empty;
    EXPECT_FALSE(TakeRestartHandOver(empty, u"").has_value()) << "no hand-over, even for an empty identifier";
}

TEST(WinampProfile, BitmapFontOption) {
    EXPECT_EQ(WinampIniPath(u"C:\\Program Files\\Winamp\\winamp.exe"), u"C:\\Program Files\\Winamp\\Winamp.ini");
    EXPECT_EQ(WinampIniPath(u"winamp.exe"), u"Winamp.ini");
    MemoryProfileStore ini;
    EXPECT_TRUE(ReadWinampBitmapFont(ini));
    WriteWinampBitmapFont(ini, false);
    EXPECT_EQ(ReadString(ini, u"Winamp", u"bifont"), u"0");
    EXPECT_FALSE(ReadWinampBitmapFont(ini));
    WriteWinampBitmapFont(ini, true);
    EXPECT_TRUE(ReadWinampBitmapFont(ini));
}

}  // namespace
}  // namespace qlm::app
