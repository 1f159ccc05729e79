// The resume helper against the stand-in's behaviour, which starts the first
// entry on Play whatever the list position (as Winamp 5 does).
#include <gtest/gtest.h>

#include "playback/player_resume.h"
#include "player/player_core.h"

using namespace qlm;
using namespace qlm::player;

namespace {

struct ClockHost : PlayerHost {
    int64_t now = 0;
    int64_t NowMs() override { return now; }
    std::optional<TrackInfo> Probe(const std::string&) override { return TrackInfo{60000, 44100, 128, 2}; }
};

// The stand-in's core seen through the player interface, message for message
// as the Winamp remote control sends them.
class CorePlayer final : public TVNTPlayer {
public:
    explicit CorePlayer(PlayerCore& core) : core_(core) {}
    void Play() override { core_.OnUser(0, 102); }
    void Stop() override { core_.OnCommand(40047); }
    void Pause() override { core_.OnCommand(40046); }
    void NextTrack() override { core_.OnCommand(40048); }
    void PrevTrack() override { core_.OnCommand(40044); }
    int32_t GetPosition() override { return static_cast<int32_t>(core_.OnUser(0, 105)); }
    void Seek(int32_t ms) override { core_.OnUser(ms, 106); }
    int32_t GetState() override { return static_cast<int32_t>(core_.OnUser(0, 104)); }
    int32_t GetListLength() override { return static_cast<int32_t>(core_.OnUser(0, 124)); }
    int32_t GetListPosition() override { return static_cast<int32_t>(core_.OnUser(0, 125)); }
    bool AddFile(const std::u16string& name) override {
        std::string a(name.begin(), name.end());
        return core_.OnCopyData(100, a.c_str(), a.size() + 1) != 0;
    }

private:
    PlayerCore& core_;
};

struct Resume : ::testing::Test {
    ClockHost host;
    PlayerCore core{host};
    CorePlayer player{core};
    ResumeWaits waits{[this](int ms) { host.now += ms; }, [this] { return host.now; }};
    void SetUp() override {
        for (auto n : {u"C:\\a.mp3", u"C:\\b.mp3", u"C:\\c.mp3", u"C:\\d.mp3"}) player.AddFile(n);
    }
};

TEST_F(Resume, NaiveStepThenPlayLandsOnTheFirstEntry) {
    // Why the helper exists: stepping first is undone by Play.
    player.NextTrack();
    player.NextTrack();
    player.Play();
    EXPECT_EQ(player.GetListPosition(), 0);
}

TEST_F(Resume, PlayingResumesAtTheEntryAndPosition) {
    EXPECT_TRUE(PlayFromEntry(player, 2, 12345, kPlayerPlaying, waits));
    EXPECT_EQ(player.GetListPosition(), 2);
    EXPECT_EQ(player.GetState(), kPlayerPlaying);
    EXPECT_EQ(player.GetPosition(), 12345);
    EXPECT_EQ(core.PlayingName(), "C:\\c.mp3");
}

TEST_F(Resume, PausedResumesPausedAtThePosition) {
    EXPECT_TRUE(PlayFromEntry(player, 3, 5000, kPlayerPaused, waits));
    EXPECT_EQ(player.GetState(), kPlayerPaused);
    EXPECT_EQ(player.GetListPosition(), 3);
    host.now += 1000;
    EXPECT_EQ(player.GetPosition(), 5000);
}

TEST_F(Resume, StoppedStepsWithoutEverPlaying) {
    EXPECT_TRUE(PlayFromEntry(player, 1, 5000, kPlayerStopped, waits));
    EXPECT_EQ(player.GetState(), kPlayerStopped);
    EXPECT_EQ(player.GetListPosition(), 1);
    EXPECT_TRUE(core.PlayingName().empty());
}

TEST_F(Resume, IndexPastTheListTakesTheLastEntryAndEmptyListDoesNothing) {
    EXPECT_TRUE(PlayFromEntry(player, 40, 0, kPlayerPlaying, waits));
    EXPECT_EQ(player.GetListPosition(), 3);
    core.OnUser(0, 101);
    core.OnCommand(40047);
    EXPECT_FALSE(PlayFromEntry(player, 0, 0, kPlayerPlaying, waits));
    EXPECT_EQ(player.GetState(), kPlayerStopped);
}

TEST_F(Resume, APlayerThatNeverStepsIsGivenUpOnInBoundedTime) {
    struct Stuck final : TVNTPlayer {
        int32_t GetListLength() override { return 5; }
        int32_t GetListPosition() override { return 0; }
        void Play() override {}
        void NextTrack() override {}
        void Seek(int32_t) override {}
    } stuck;
    int64_t start = host.now;
    EXPECT_FALSE(PlayFromEntry(stuck, 3, 0, kPlayerPlaying, waits));
    EXPECT_LE(host.now - start, 3200);
}

}  // namespace
