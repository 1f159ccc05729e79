#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/restart_resume.h"

using namespace qlm;

namespace {

// A player that keeps its list and position, and steps like Winamp 5:
// Play starts the first entry whatever the list position.
class ListPlayer : public TVNTPlayer {
public:
    std::vector<std::u16string> list;
    int pos = 0, state = kPlayerStopped, seekMs = -1;
    std::vector<std::string> calls;
    void ClearList() override { list.clear(), pos = 0, calls.push_back("clear"); }
    bool AddFile(const std::u16string& f) override { list.push_back(f); return true; }
    void Stop() override { state = kPlayerStopped, calls.push_back("stop"); }
    void Play() override { pos = 0, state = kPlayerPlaying, calls.push_back("play"); }
    void Pause() override { state = state == kPlayerPaused ? kPlayerPlaying : kPlayerPaused, calls.push_back("pause"); }
    void NextTrack() override { if (pos + 1 < static_cast<int>(list.size())) ++pos; }
    void PrevTrack() override { if (pos > 0) --pos; }
    void Seek(int32_t ms) override { seekMs = ms; }
    int32_t GetListLength() override { return static_cast<int32_t>(list.size()); }
    int32_t GetListPosition() override { return pos; }
    int32_t GetState() override { return state; }
    void GetListFile(int32_t i, std::u16string& name) override {
        name = i >= 0 && i < static_cast<int32_t>(list.size()) ? list[i] : std::u16string();
    }
    int32_t GetPosition() override { return seekMs; }
};

struct Target : ResumeTarget {
    std::u16string deleted;
    int favorites = 0, focus = 0, mode = -1;
    bool stoppedByProgram = false, demo = false;
    void DeleteInstaller(const std::u16string& p) override { deleted = p; }
    void ShowFavorites(int w) override { favorites = w; }
    void FocusControl(int c) override { focus = c; }
    void MarkStoppedByProgram() override { stoppedByProgram = true; }
    void SetPlayMode(int m) override { mode = m; }
    void StartDemoMode() override { demo = true; }
};

ResumeWaits NoWaits() {
    auto now = std::make_shared<int64_t>(0);
    return {[now](int ms) { *now += ms; }, [now] { return *now; }};
}

}  // namespace

TEST(RestartResume, PausedHandOverComesBackAtItsEntryAndPosition) {
    app::RestartHandOver h;
    h.lastCD = u"DISK";
    h.playList = {u"C:\\a.mp3", u"C:\\b.mp3", u"C:\\c.mp3"};
    h.playIndex = 2;
    h.isPlay = kPlayerPaused;
    h.playFilePos = 61000;
    h.control = 2;
    h.playMode = 5;
    h.showFav = 140;
    h.instFile = u"C:\\Temp\\QLMsetup.exe";
    h.demoMode = true;
    ListPlayer player;
    player.list = {u"old"};
    Target t;
    EXPECT_TRUE(ApplyRestartHandOver(h, player, t, NoWaits()));
    EXPECT_EQ(player.list, h.playList);  // the old list went first
    EXPECT_EQ(player.calls.front(), "clear");
    EXPECT_EQ(player.pos, 2);
    EXPECT_EQ(player.state, kPlayerPaused);
    EXPECT_EQ(player.seekMs, 61000);
    EXPECT_EQ(t.deleted, h.instFile);
    EXPECT_EQ(t.favorites, 140);
    EXPECT_EQ(t.focus, 2);
    EXPECT_EQ(t.mode, 5);
    EXPECT_TRUE(t.demo);
    EXPECT_FALSE(t.stoppedByProgram);
}

TEST(RestartResume, StoppedHandOverStaysStoppedAndEmptyListLeavesThePlayer) {
    app::RestartHandOver h;
    h.playList = {u"C:\\a.mp3", u"C:\\b.mp3"};
    h.playIndex = 1;
    h.isPlay = kPlayerStopped;
    h.playMode = 2;
    ListPlayer player;
    Target t;
    EXPECT_TRUE(ApplyRestartHandOver(h, player, t, NoWaits()));
    EXPECT_EQ(player.state, kPlayerStopped);
    EXPECT_EQ(player.pos, 1);
    EXPECT_TRUE(t.stoppedByProgram);
    EXPECT_EQ(t.mode, 2);
    EXPECT_TRUE(t.deleted.empty());
    EXPECT_EQ(t.focus, 0);

    app::RestartHandOver empty;
    ListPlayer untouched;
    untouched.list = {u"keep"};
    Target t2;
    EXPECT_TRUE(ApplyRestartHandOver(empty, untouched, t2, NoWaits()));
    EXPECT_EQ(untouched.list.size(), 1u);
    EXPECT_TRUE(untouched.calls.empty());
}

// The writer's side: what a player holds goes into qlm.ini and comes back
// into another player after the restart, at the same entry and position.
TEST(RestartResume, HandOverGatheredFromAPlayerResumesTheSameList) {
    ListPlayer before;
    before.list = {u"K:\\Sound\\a.mp3", u"", u"K:\\Sound\\c.mp3", u"K:\\Sound\\d.mp3"};
    before.pos = 3;
    before.state = kPlayerPlaying;
    before.seekMs = 20400;
    HandOverWindowState window{u"DISK-7", 1, 2, 0};
    app::RestartHandOver h = CollectRestartHandOver(before, window, u"C:\\Temp\\qlm1.tmp");
    EXPECT_EQ(h.playList.size(), 4u);
    EXPECT_EQ(h.playIndex, 3);
    EXPECT_EQ(h.isPlay, kPlayerPlaying);
    EXPECT_EQ(h.playFilePos, 20400);
    EXPECT_EQ(h.instFile, u"C:\\Temp\\qlm1.tmp");

    app::MemoryProfileStore ini;
    app::MemoryRegistryStore reg;
    app::WriteRestartHandOver(ini, reg, h, u"English");
    EXPECT_EQ(reg.values[u"Language"], u"English");
    // The empty entry is skipped with its number, so the reader stops there.
    EXPECT_FALSE(ini.Read(u"WAList", u"File1"));
    EXPECT_EQ(ini.Read(u"WAList", u"File2"), u"K:\\Sound\\c.mp3");

    auto back = app::TakeRestartHandOver(ini, u"DISK-7");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->instFile, h.instFile);
    EXPECT_EQ(back->control, 1);
    EXPECT_EQ(back->playMode, 2);
    EXPECT_FALSE(ini.HasSection(u"One Run"));
    ListPlayer after;
    Target t;
    EXPECT_TRUE(ApplyRestartHandOver(*back, after, t, NoWaits()));
    EXPECT_EQ(after.list, std::vector<std::u16string>{u"K:\\Sound\\a.mp3"});
    EXPECT_EQ(t.deleted, h.instFile);
}

TEST(RestartResume, PlayerThatCannotAnswerHandsOverAStoppedEmptyList) {
    struct Unreachable : ListPlayer {
        int32_t GetListPosition() override { return -1; }
        int32_t GetState() override { return kPlayerUnknownState; }
        int32_t GetPosition() override { return -1; }
    } player;
    app::RestartHandOver h = CollectRestartHandOver(player, {u"D", 0, 1, 150}, u"");
    EXPECT_TRUE(h.playList.empty());
    EXPECT_EQ(h.playIndex, 0);
    EXPECT_EQ(h.isPlay, kPlayerStopped);
    EXPECT_EQ(h.playFilePos, 0);
    EXPECT_EQ(h.showFav, 150);
    EXPECT_TRUE(h.instFile.empty());
}
