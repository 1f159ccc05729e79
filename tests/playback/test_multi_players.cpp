#include <gtest/gtest.h>

#include "playback/fake_player.h"
#include "playback/multi_players.h"

using namespace qlm;
using qlm::test::RecordingPlayer;

namespace {

struct Dispatcher : ::testing::Test {
    std::vector<std::string> log;
    std::vector<int32_t> made;  // ids handed to the factory
    TMultiPlayers players{false, [this](const TPlayerItem& item) -> std::unique_ptr<TVNTPlayer> {
                              made.push_back(item.Id);
                              return std::make_unique<RecordingPlayer>(&log);
                          }};
};

TEST_F(Dispatcher, StartsEmptyAndAnswersAsUnreachableWithoutAPlayer) {
    EXPECT_EQ(players.CurrentId(), -1);
    EXPECT_TRUE(players.Items().empty());
    EXPECT_EQ(players.Current(), nullptr);
    EXPECT_EQ(players.GetState(), -1);
    EXPECT_EQ(players.GetPosition(), -1);
    EXPECT_EQ(players.GetListPosition(), -1);
    EXPECT_EQ(players.GetListLength(), 0);
    EXPECT_EQ(players.GetTrackLength(), 0);
    EXPECT_FALSE(players.AddFile(u"C:\\a.mp3"));
    std::u16string name = u"stale";
    players.GetCurrentFile(name);
    EXPECT_TRUE(name.empty());
    players.Play();  // nothing to forward to, and no crash
}

TEST_F(Dispatcher, BuiltInEntryOnlyWhenAsked) {
    TMultiPlayers withBuiltIn(true, nullptr);
    ASSERT_EQ(withBuiltIn.Items().size(), 1u);
    EXPECT_EQ(withBuiltIn.Items()[0]->Id, 0);
    EXPECT_TRUE(withBuiltIn.Items()[0]->Path.empty());
    // The built-in id is known but makes no player.
    withBuiltIn.Select(0);
    EXPECT_EQ(withBuiltIn.CurrentId(), 0);
    EXPECT_EQ(withBuiltIn.Current(), nullptr);
}

TEST_F(Dispatcher, SelectCreatesForwardsAndSecondSelectDoesNothing) {
    players.Register(1, u"C:\\Winamp\\Winamp.exe", 0);
    EXPECT_EQ(players.LastItem(), players.Items().back().get());
    players.Select(1);
    EXPECT_EQ(players.CurrentId(), 1);
    EXPECT_EQ(made, std::vector<int32_t>{1});
    TVNTPlayer* first = players.Current();
    ASSERT_NE(first, nullptr);

    players.Select(1);
    EXPECT_EQ(players.Current(), first);
    EXPECT_EQ(made.size(), 1u);
    EXPECT_EQ(log, std::vector<std::string>{"create"});

    players.Play();
    EXPECT_TRUE(players.AddFile(u"C:\\a.mp3"));
    EXPECT_EQ(players.GetState(), kPlayerPaused);
    EXPECT_EQ(players.GetListLength(), 7);
    EXPECT_EQ(log, (std::vector<std::string>{"create", "Play", "AddFile"}));
}

TEST_F(Dispatcher, SelectingAnotherIdClosesAndDestroysTheCurrentPlayer) {
    players.Register(1, u"C:\\W.exe", 0);
    players.Register(5, u"C:\\Other.exe", 0);
    players.Select(1);
    players.Select(5);  // known, but not a kind this program can make
    EXPECT_EQ(log, (std::vector<std::string>{"create", "Close", "destroy"}));
    EXPECT_EQ(players.Current(), nullptr);
    EXPECT_EQ(players.CurrentId(), 5);
    players.Select(9);  // unknown: the id stays
    EXPECT_EQ(players.CurrentId(), 5);
    players.Select(1);
    EXPECT_EQ(players.CurrentId(), 1);
    EXPECT_EQ(made, (std::vector<int32_t>{1, 1}));
}

TEST_F(Dispatcher, ShowPlayerWindowForAnotherIdOnlyStoresTheShowCommand) {
    players.Register(1, u"C:\\W.exe", 0);
    players.Register(2, u"C:\\X.exe", 0);
    players.Register(2, u"C:\\Y.exe", 0);
    players.Select(1);
    log.clear();

    EXPECT_TRUE(players.ShowPlayerWindow(2, 4));  // true because Winamp is current
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(players.Items()[1]->ShowCommand, 4);
    EXPECT_EQ(players.Items()[2]->ShowCommand, 4);
    EXPECT_EQ(players.Items()[0]->ShowCommand, 0);

    EXPECT_TRUE(players.ShowPlayerWindow(1, 4));
    EXPECT_EQ(log, std::vector<std::string>{"Show 1 4"});
    EXPECT_EQ(players.Items()[0]->ShowCommand, 4);
}

TEST_F(Dispatcher, ShowPlayerWindowIsFalseUnlessWinampIsCurrent) {
    players.Register(2, u"C:\\X.exe", 0);
    players.Select(2);
    EXPECT_FALSE(players.ShowPlayerWindow(2, 4));
    EXPECT_EQ(players.Items()[0]->ShowCommand, 4);
    EXPECT_FALSE(players.ShowPlayerWindow(0, 4));
}

TEST_F(Dispatcher, DestructionClosesNothingButDestroysThePlayer) {
    {
        TMultiPlayers local(false, [this](const TPlayerItem&) -> std::unique_ptr<TVNTPlayer> {
            return std::make_unique<RecordingPlayer>(&log);
        });
        local.Register(1, u"C:\\W.exe", 0);
        local.Select(1);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"create", "destroy"}));
}

TEST(PlayerInterface, AbstractCallIsReportedByName) {
    struct Partial : TVNTPlayer {};
    Partial p;
    try {
        p.GetListLength();
        FAIL() << "no error";
    } catch (const TAbstractPlayerCall& e) {
        EXPECT_NE(std::string(e.what()).find("GetListLength"), std::string::npos);
    }
    std::u16string name;
    EXPECT_THROW(p.GetListFile(0, name), TAbstractPlayerCall);
    EXPECT_THROW(p.ShowPlayerWindow(1, 0), TAbstractPlayerCall);
}

}  // namespace
