#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "player/player_core.h"

using namespace qlm::player;

namespace {

constexpr intptr_t kDelete = 101, kStartPlay = 102, kIsPlaying = 104, kOutputTime = 105, kJump = 106,
                   kListLength = 124, kListPos = 125, kListFile = 211;
constexpr int kPrev = 40044, kPause = 40046, kStop = 40047, kNext = 40048, kVolUp = 40058, kVolDown = 40059;

struct FakeHost : PlayerHost {
    int64_t now = 1000;
    std::map<std::string, int64_t> lengths;  // missing: cannot be opened
    std::vector<std::string> audio;
    int64_t NowMs() override { return now; }
    std::optional<TrackInfo> Probe(const std::string& name) override {
        auto it = lengths.find(name);
        if (it == lengths.end()) return std::nullopt;
        return TrackInfo{it->second, 44100, 128, 2};
    }
    void AudioStart(const std::string& name, int64_t from) override {
        audio.push_back("start " + name + " " + std::to_string(from));
    }
    void AudioPause(bool p) override { audio.push_back(p ? "pause" : "resume"); }
    void AudioStop() override { audio.push_back("stop"); }
};

struct Core : ::testing::Test {
    FakeHost host;
    PlayerCore core{host};
    intptr_t User(intptr_t w, intptr_t l) { return core.OnUser(w, l); }
    bool Add(const std::string& name) { return core.OnCopyData(100, name.c_str(), name.size() + 1) != 0; }
    std::string File(int i) {
        auto p = reinterpret_cast<const char*>(User(i, kListFile));
        return p ? std::string(p) : "<null>";
    }
    void ThreeSongs() {
        host.lengths = {{"a.mp3", 10000}, {"b.mp3", 20000}, {"c.mp3", 30000}};
        for (auto n : {"a.mp3", "b.mp3", "c.mp3"}) Add(n);
    }
};

TEST_F(Core, EmptyList) {
    EXPECT_EQ(User(0, kIsPlaying), 0);
    EXPECT_EQ(User(0, kListLength), 0);
    EXPECT_EQ(User(0, kListPos), 0);
    EXPECT_EQ(User(0, kOutputTime), -1);
    EXPECT_EQ(User(1, kOutputTime), -1);
    EXPECT_EQ(User(0, kListFile), 0);
    EXPECT_EQ(User(5000, kJump), -1);
    EXPECT_EQ(User(0, kDelete), 0);
    EXPECT_EQ(User(0, kStartPlay), 1);
    EXPECT_EQ(User(0, kIsPlaying), 0);
    EXPECT_EQ(core.OnCommand(kNext), 0);
    EXPECT_EQ(User(0, kListPos), 0);
    EXPECT_EQ(User(0, 9999), 1);  // unknown request, as Winamp
}

TEST_F(Core, CopyDataAppendsWithoutTouchingPositionOrState) {
    ThreeSongs();
    EXPECT_EQ(User(0, kListLength), 3);
    EXPECT_EQ(File(0), "a.mp3");
    EXPECT_EQ(File(2), "c.mp3");
    EXPECT_EQ(File(3), "<null>");
    EXPECT_EQ(File(-1), "<null>");
    EXPECT_EQ(User(0, kListPos), 0);
    EXPECT_EQ(User(0, kIsPlaying), 0);
    // Other dwData values and strings without room are refused or cut at size.
    EXPECT_EQ(core.OnCopyData(99, "x", 2), 0);
    EXPECT_EQ(core.OnCopyData(100, "", 1), 0);
    const char unterminated[4] = {'d', '.', 'm', 'p'};
    EXPECT_EQ(core.OnCopyData(100, unterminated, 4), 1);
    EXPECT_EQ(File(3), "d.mp");
}

TEST_F(Core, NameBuffersHoldAThousandAndOneReadableBytesAtAStableAddress) {
    ThreeSongs();
    auto first = User(1, kListFile);
    Add("later.mp3");
    EXPECT_EQ(User(1, kListFile), first);
    const char* p = reinterpret_cast<const char*>(first);
    char copy[1001];
    std::memcpy(copy, p, sizeof copy);  // ASan checks the bound
    EXPECT_STREQ(copy, "b.mp3");
}

TEST_F(Core, StoppedAnswersAndSteppingWithoutPlaying) {
    ThreeSongs();
    EXPECT_EQ(User(1, kOutputTime), 10);     // length of the entry at the position
    EXPECT_EQ(User(2, kOutputTime), 10000);  // the same in ms
    EXPECT_EQ(User(7, kOutputTime), 0);      // unknown mode
    core.OnCommand(kNext);
    core.OnCommand(kNext);
    core.OnCommand(kNext);  // no wrap at the last entry
    EXPECT_EQ(User(0, kListPos), 2);
    EXPECT_EQ(User(0, kIsPlaying), 0);
    core.OnCommand(kPause);  // no effect while stopped
    EXPECT_EQ(User(0, kIsPlaying), 0);
    EXPECT_TRUE(host.audio.empty());
}

TEST_F(Core, PlayStartsTheFirstEntryWhateverThePosition) {
    ThreeSongs();
    core.OnCommand(kNext);
    core.OnCommand(kNext);
    ASSERT_EQ(User(0, kListPos), 2);
    User(0, kStartPlay);
    EXPECT_EQ(User(0, kListPos), 0);
    EXPECT_EQ(User(0, kIsPlaying), 1);
    EXPECT_EQ(User(0, kOutputTime), 0);
    host.now += 1500;
    EXPECT_EQ(User(0, kOutputTime), 1500);
    EXPECT_EQ(User(1, kOutputTime), 10);
}

TEST_F(Core, PausedFreezesThePositionAndTogglesBack) {
    ThreeSongs();
    User(0, kStartPlay);
    host.now += 2000;
    core.OnCommand(kPause);
    EXPECT_EQ(User(0, kIsPlaying), 3);
    host.now += 5000;
    EXPECT_EQ(User(0, kOutputTime), 2000);
    EXPECT_EQ(User(4000, kJump), 0);  // seeking leaves the pause alone
    EXPECT_EQ(User(0, kIsPlaying), 3);
    EXPECT_EQ(User(0, kOutputTime), 4000);
    core.OnCommand(kPause);
    host.now += 100;
    EXPECT_EQ(User(0, kIsPlaying), 1);
    EXPECT_EQ(User(0, kOutputTime), 4100);
    // Next from paused plays the next entry, not paused.
    core.OnCommand(kPause);
    core.OnCommand(kNext);
    EXPECT_EQ(User(0, kIsPlaying), 1);
    EXPECT_EQ(User(0, kListPos), 1);
}

TEST_F(Core, TrackEndAdvancesAndStopsAfterTheLast) {
    ThreeSongs();
    User(0, kStartPlay);
    host.now += 10000;
    core.Tick();
    EXPECT_EQ(User(0, kListPos), 1);
    EXPECT_EQ(User(0, kOutputTime), 0);
    EXPECT_EQ(User(0, kIsPlaying), 1);
    // Seeking past the end counts as the end of the track.
    EXPECT_EQ(User(25000, kJump), 1);
    EXPECT_EQ(User(0, kListPos), 2);
    host.now += 30001;
    core.Tick();
    EXPECT_EQ(User(0, kIsPlaying), 0);
    EXPECT_EQ(User(0, kListPos), 2);  // stays on the last entry
    EXPECT_EQ(User(0, kOutputTime), -1);
    EXPECT_EQ(User(1, kOutputTime), 30);
}

TEST_F(Core, SeekClampsNegativeAndIsRefusedWhenStopped) {
    ThreeSongs();
    EXPECT_EQ(User(3000, kJump), -1);
    User(0, kStartPlay);
    host.now += 3000;
    EXPECT_EQ(User(static_cast<intptr_t>(-50), kJump), 0);
    EXPECT_EQ(User(0, kOutputTime), 0);
}

TEST_F(Core, PrevAndNextWhilePlayingStartTheirEntryWithoutWrapping) {
    ThreeSongs();
    User(0, kStartPlay);
    core.OnCommand(kPrev);  // at entry 0: nothing
    EXPECT_EQ(User(0, kListPos), 0);
    core.OnCommand(kNext);
    core.OnCommand(kNext);
    EXPECT_EQ(User(0, kListPos), 2);
    host.now += 700;
    core.OnCommand(kNext);  // at the last entry: nothing, keeps playing
    EXPECT_EQ(User(0, kListPos), 2);
    EXPECT_EQ(User(0, kOutputTime), 700);
    core.OnCommand(kPrev);
    EXPECT_EQ(User(0, kListPos), 1);
    EXPECT_EQ(User(0, kOutputTime), 0);
    core.OnCommand(kStop);
    EXPECT_EQ(User(0, kIsPlaying), 0);
    EXPECT_EQ(User(0, kListPos), 1);  // stop keeps the position
}

TEST_F(Core, UnplayableEntriesAreSkippedForward) {
    host.lengths = {{"ok.mp3", 5000}};
    Add("missing.mp3");
    Add("ok.mp3");
    User(0, kStartPlay);
    EXPECT_EQ(User(0, kListPos), 1);
    EXPECT_EQ(User(0, kIsPlaying), 1);
    host.lengths.clear();
    PlayerCore other(host);
    other.OnCopyData(100, "x.mp3", 6);
    other.OnUser(0, kStartPlay);
    EXPECT_EQ(other.OnUser(0, kIsPlaying), 0);
    EXPECT_EQ(other.OnUser(1, kOutputTime), -1);  // unknown length
}

TEST_F(Core, ClearingDuringPlaybackLetsTheTrackPlayOn) {
    ThreeSongs();
    User(0, kStartPlay);
    core.OnCommand(kNext);
    EXPECT_EQ(User(0, kDelete), 1);
    EXPECT_EQ(User(0, kListLength), 0);
    EXPECT_EQ(User(0, kListPos), 0);
    EXPECT_EQ(User(0, kIsPlaying), 1);
    EXPECT_EQ(core.PlayingName(), "b.mp3");
    Add("c.mp3");
    Add("a.mp3");
    host.now += 20000;
    core.Tick();  // the old track ends the playback
    EXPECT_EQ(User(0, kIsPlaying), 0);
    EXPECT_EQ(User(0, kListPos), 0);
}

TEST_F(Core, VolumeStepsByFourWithinTheScale) {
    EXPECT_EQ(User(-666, 122), 255);
    core.OnCommand(kVolUp);
    EXPECT_EQ(core.Volume(), 255);
    core.OnCommand(kVolDown);
    EXPECT_EQ(core.Volume(), 251);
    User(2, 122);
    core.OnCommand(kVolDown);
    EXPECT_EQ(core.Volume(), 0);
}

}  // namespace
