// The play queue and the play commands against a player with a real list.
#include <gtest/gtest.h>

#include <set>

#include "playback/list_player.h"
#include "playback/play_commands.h"
#include "playback/play_queue.h"

using namespace qlm;
using qlm::test::ListPlayer;

namespace {

TRDataNode Make(uint8_t kind, std::string name, std::string path = {}) {
    TRDataNode n;
    n.Kind = kind;
    n.Name = std::move(name);
    n.Path = std::move(path);
    return n;
}

using Names = std::vector<std::string>;

// A: songs a1 .. a7;  B: folder B1 (b1, b2), song b3, text entry t (positions 1, 0);  song r1 on the root.
struct Disk : ::testing::Test {
    Catalogue cat;
    ListPlayer player;
    std::set<std::string> missing;
    uint32_t clock = 0;
    std::vector<uint32_t> sleeps;
    TRDataNode *A, *B, *B1, *b3, *t, *r1;
    std::vector<TRDataNode*> a;
    QueueEnv env;

    Disk() {
        cat.root = u"C:\\D\\";
        A = &cat.AddNode(nullptr, Placement::LastRoot, Make(kKindFolder, "A"));
        for (int i = 1; i <= 7; ++i)
            a.push_back(&cat.AddNode(A, Placement::LastChild,
                                     Make(kKindSong, "a" + std::to_string(i), "A\\" + std::to_string(i) + ".mp3")));
        B = &cat.AddNode(nullptr, Placement::LastRoot, Make(kKindFolder, "B"));
        B1 = &cat.AddNode(B, Placement::LastChild, Make(kKindFolder, "B1"));
        cat.AddNode(B1, Placement::LastChild, Make(kKindSong, "b1", "B\\b1.mp3"));
        cat.AddNode(B1, Placement::LastChild, Make(kKindSong, "b2", "B\\b2.mp3"));
        b3 = &cat.AddNode(B, Placement::LastChild, Make(kKindSong, "b3", "B\\b3.mp3"));
        t = &cat.AddNode(B, Placement::LastChild, Make(kKindTextEntry, "t"));
        t->Text = std::make_unique<TTTextNode>();
        t->Text->Count = 2;
        t->Text->Values = {1, 0};
        r1 = &cat.AddNode(nullptr, Placement::LastRoot, Make(kKindSong, "r1", "r1.mp3"));
        cat.ForEachNode([&](TRDataNode& n) {
            if (n.IsSong()) cat.IndexSong(n);
        });
        env.fileExists = [this](const std::u16string& f) {
            std::string s = Utf16ToUtf8(f);
            return !missing.count(s.substr(s.find("Sound\\") + 6));
        };
        env.sleep = [this](uint32_t ms) {
            sleeps.push_back(ms);
            clock += ms;
        };
        env.tickCount = [this] { return clock; };
    }
};

TEST_F(Disk, AddFileWaitingSkipsMissingFilesAndGivesUpOnAPlayerThatDoesNotTakeThem) {
    PlayQueue q(player, cat, env);
    missing.insert("A\\2.mp3");
    EXPECT_TRUE(q.AddFileWaiting(cat.SongFile(*a[0])));
    EXPECT_FALSE(q.AddFileWaiting(cat.SongFile(*a[1])));
    EXPECT_EQ(player.list.size(), 1u);
    EXPECT_TRUE(sleeps.empty()) << "a player that took the file at once costs no sleep";

    player.acceptFiles = false;
    EXPECT_FALSE(q.AddFileWaiting(cat.SongFile(*a[2])));
    // Polled every 10 ms until more than 199 ms had passed.
    EXPECT_EQ(sleeps.size(), 20u);
    for (uint32_t s : sleeps) EXPECT_EQ(s, 10u);
    EXPECT_GT(clock, 199u);
}

TEST_F(Disk, LongQueuesAskTheListLengthOncePerSong) {
    PlayQueue q(player, cat, env);
    player.listLengthCalls = 0;
    q.BuildQueue(A, kPlayDisk, false, nullptr);
    EXPECT_EQ(player.list.size(), 7u);
    EXPECT_EQ(player.listLengthCalls, 8);  // the first length, then one confirmation per song
}

TEST_F(Disk, PlayAllFromTheFifthSongWrapsToTheOnesBefore) {
    PlayQueue q(player, cat, env);
    q.BuildQueue(a[4], kPlayAll, true, nullptr);
    EXPECT_EQ(player.Names(), (Names{"A\\5.mp3", "A\\6.mp3", "A\\7.mp3", "B\\b1.mp3", "B\\b2.mp3", "B\\b3.mp3",
                                     "r1.mp3", "A\\1.mp3", "A\\2.mp3", "A\\3.mp3", "A\\4.mp3"}));
    // From the start (switch off) the whole disk in order, whatever is selected.
    q.BuildQueue(a[4], kPlayAll, false, nullptr);
    EXPECT_EQ(player.Names().front(), "A\\1.mp3");
    EXPECT_EQ(player.list.size(), 11u);
    // The list is emptied and the player stopped first; nothing plays yet.
    EXPECT_EQ(player.log[0], "Clear");
    EXPECT_EQ(player.log[1], "Stop");
    EXPECT_EQ(std::count(player.log.begin(), player.log.end(), "Play"), 0);
}

TEST_F(Disk, PlayDiskTakesTheLevelOfASongOrEverythingBelowAFolder) {
    PlayQueue q(player, cat, env);
    q.BuildQueue(b3, kPlayDisk, false, nullptr);
    EXPECT_EQ(player.Names(), (Names{"B\\b3.mp3"})) << "songs of the sibling folder B1 are not taken";
    q.BuildQueue(b3, kPlayDisk, true, nullptr);
    EXPECT_EQ(player.Names(), (Names{"B\\b3.mp3"}));
    q.BuildQueue(a[2], kPlayDisk, true, nullptr);
    EXPECT_EQ(player.Names(), (Names{"A\\3.mp3", "A\\4.mp3", "A\\5.mp3", "A\\6.mp3", "A\\7.mp3", "A\\1.mp3", "A\\2.mp3"}));
    q.BuildQueue(B, kPlayDisk, true, nullptr);
    EXPECT_EQ(player.Names(), (Names{"B\\b1.mp3", "B\\b2.mp3", "B\\b3.mp3"}));
    // A text entry takes its level and descends into its sibling folders.
    q.BuildQueue(t, kPlayDisk, false, nullptr);
    EXPECT_EQ(player.Names(), (Names{"B\\b1.mp3", "B\\b2.mp3", "B\\b3.mp3"}));
}

TEST_F(Disk, PlayCheckedTakesOnlyCheckedSongsAndSkipsMissingOnes) {
    PlayQueue q(player, cat, env);
    a[1]->Flags |= kNodeChecked;
    a[5]->Flags |= kNodeChecked;
    r1->Flags |= kNodeChecked;
    missing.insert("r1.mp3");
    q.BuildQueue(a[3], kPlayChecked, true, nullptr);
    EXPECT_EQ(player.Names(), (Names{"A\\6.mp3", "A\\2.mp3"}));
}

TEST_F(Disk, FavouritesWalkStartsAtTheSelectedItemWhenAskedAndSkipsMissingFiles) {
    std::vector<std::u16string> items{u"A\\1.mp3", u"B\\b3.mp3", u"E:\\other\\x.mp3", u"r1.mp3"};
    int selected = 2;
    FavoritesSource fav{[&] { return static_cast<int>(items.size()); },
                        [&](int i) { return items[static_cast<size_t>(i)]; }, [&] { return selected; }};
    missing.insert("B\\b3.mp3");
    env.fileExists = [this](const std::u16string& f) {
        std::string s = Utf16ToUtf8(f);
        auto at = s.find("Sound\\");
        return at == std::string::npos || !missing.count(s.substr(at + 6));
    };
    PlayQueue q(player, cat, env);
    q.BuildQueue(nullptr, kPlayFavorites, true, &fav);
    EXPECT_EQ(player.Names(), (Names{"E:\\other\\x.mp3", "r1.mp3", "A\\1.mp3"}));
    q.BuildQueue(nullptr, kPlayFavorites, false, &fav);
    EXPECT_EQ(player.Names(), (Names{"A\\1.mp3", "E:\\other\\x.mp3", "r1.mp3"}));
}

TEST_F(Disk, TextEntryNamesSongsByPositionAmongItsParentsSongsOrByLine) {
    TextEntrySongs s = SongsOfTextEntry(cat, *t);
    // B's songs are only b3 (B1 is a folder): position 1 is out of range.
    ASSERT_EQ(s.files.size(), 1u);
    EXPECT_EQ(s.firstSong, b3);
    t->Text->Flags = TTTextNode::kHasLines;
    t->Text->Lines = {"A\\7.mp3", "r1.mp3", "not counted"};
    s = SongsOfTextEntry(cat, *t);
    EXPECT_EQ(s.files, (std::vector<std::u16string>{u"C:\\D\\Sound\\A\\7.mp3", u"C:\\D\\Sound\\r1.mp3"}));
    EXPECT_EQ(s.firstSong, nullptr);
}

TEST_F(Disk, SingleSongSteppingWrapsInsideTheLevelAndAtTheEndOfTheTree) {
    EXPECT_EQ(PreviousSongInLevel(cat, *a[0]), a[6]);
    EXPECT_EQ(NextSongInLevel(cat, *a[6]), a[0]);
    EXPECT_EQ(NextSongInLevel(cat, *a[2]), a[3]);
    EXPECT_EQ(NextSongInLevel(cat, *b3), b3) << "the only song of its level";
    // Depth first: a7 is followed by B1's first song; r1, the last, by a1.
    EXPECT_EQ(cat.Node(NextSongInTreeOrder(cat, a[6])->ListIndex)->Name, "b1");
    EXPECT_EQ(NextSongInTreeOrder(cat, r1), a[0]);
    EXPECT_EQ(NextSongInTreeOrder(cat, t), r1);
    Catalogue empty;
    TRDataNode& f = empty.AddNode(nullptr, Placement::LastRoot, Make(kKindFolder, "f"));
    empty.AddNode(&f, Placement::LastChild, Make(kKindTextItem, "x"));
    EXPECT_EQ(NextSongInTreeOrder(empty, &f), nullptr);
    EXPECT_EQ(PreviousFavoriteIndex(0, 3), 2);
    EXPECT_EQ(NextFavoriteIndex(2, 3), 0);
    EXPECT_EQ(NextFavoriteIndex(0, 0), -1);
}

TEST_F(Disk, StartUpTakesTheFirstLeafThatIsNotBelowATextEntry) {
    EXPECT_EQ(StartupLeaf(cat), a[0]);
    Catalogue c;
    c.AddNode(nullptr, Placement::LastRoot, Make(kKindTextEntry, "intro"));
    TRDataNode& f = c.AddNode(nullptr, Placement::LastRoot, Make(kKindFolder, "f"));
    TRDataNode& g = c.AddNode(&f, Placement::LastChild, Make(kKindFolder, "g"));
    TRDataNode& s = c.AddNode(&g, Placement::LastChild, Make(kKindSong, "s", "s.mp3"));
    EXPECT_EQ(StartupLeaf(c), &s);
    EXPECT_EQ(FirstLeaf(c)->Name, "intro");
}

// ---- the commands

struct Commands : Disk {
    PlayState state;
    const TRDataNode* treeSel = nullptr;
    const TRDataNode* songSel = nullptr;
    PlayList lastEntered = PlayList::None;
    PlayList focused = PlayList::Tree;
    std::vector<std::u16string> favs;
    int favSel = -1;
    std::vector<std::string> events;
    CommandTable table;
    std::unique_ptr<TPlayCommands> cmd;

    Commands() {
        state.PlayMode = kPlayDisk;
        PlaySources src;
        src.selectedTreeNode = [this] { return treeSel; };
        src.selectedSongListItem = [this] { return songSel; };
        src.favorites = {[this] { return static_cast<int>(favs.size()); },
                         [this](int i) { return favs[static_cast<size_t>(i)]; }, [this] { return favSel; }};
        src.lastEnteredList = [this] { return lastEntered; };
        src.focusedList = [this] { return focused; };
        src.lastPressOnTreeLabel = [] { return true; };
        PlayHooks hooks;
        hooks.env = env;
        hooks.closeVideo = [this] { events.push_back("closeVideo"); };
        hooks.playVideo = [this](const TRDataNode& n) { events.push_back("video " + n.Name); };
        hooks.confirmOnlyWinamp = [] { return true; };
        hooks.leaveToWinamp = [this] { events.push_back("leave"); };
        hooks.winampWindowExists = [] { return true; };
        cmd = std::make_unique<TPlayCommands>(state, player, cat, src, hooks);
        cmd->Bind(table);
    }
};

TEST_F(Commands, PlayCheckedIsDisabledWithNothingCheckedAndThenSendsNothing) {
    treeSel = a[0];
    EXPECT_FALSE(table.Enabled(Cmd::PlayChecked));
    EXPECT_FALSE(table.Run(Cmd::PlayChecked));
    cmd->PlayCommand(Cmd::PlayChecked);
    EXPECT_TRUE(player.log.empty());
    EXPECT_FALSE(table.Enabled(Cmd::PlayFavorit));
    state.CheckedCount = 1;
    a[3]->Flags |= kNodeChecked;
    EXPECT_TRUE(table.Run(Cmd::PlayChecked));
    EXPECT_EQ(player.Names(), (Names{"A\\4.mp3"}));
    EXPECT_EQ(player.log.back(), "Play");
    EXPECT_EQ(state.PlayMode, kPlayChecked);
    EXPECT_TRUE(table.Checked(Cmd::PlayChecked));
    EXPECT_FALSE(table.Checked(Cmd::PlayAll));
    EXPECT_EQ(cmd->PressedButton(), Cmd::PlayChecked);
}

TEST_F(Commands, PlayAllFromTheSongListSelectionAndNothingWithoutATreeSelection) {
    lastEntered = PlayList::SongList;
    songSel = a[4];
    cmd->PlayCommand(Cmd::PlayAll);
    EXPECT_TRUE(player.list.empty()) << "the song list's item needs a tree selection too";
    treeSel = A;
    state.PlayFromPosition = true;
    cmd->PlayCommand(Cmd::PlayAll);
    EXPECT_EQ(player.Names().front(), "A\\5.mp3");
    EXPECT_EQ(player.list.size(), 11u);
    EXPECT_EQ(events.front(), "closeVideo");
    EXPECT_TRUE(state.UserStopped) << "cleared by the timer once the player plays";
}

TEST_F(Commands, DoubleClickOnASongPlaysItAloneAndTheEndMovesOnThroughTheCatalogue) {
    treeSel = r1;
    cmd->PlayFromList(PlayList::Tree, true);
    EXPECT_EQ(player.Names(), (Names{"r1.mp3"}));
    EXPECT_EQ(state.PlayMode, kPlaySingleSong);
    EXPECT_EQ(state.StepNode, r1);
    EXPECT_EQ(cmd->CheckedMode(), -1);
    // The last song ended: the first song of the catalogue follows.
    state.UserStopped = false;
    player.state = kPlayerStopped;
    EXPECT_TRUE(cmd->AdvanceAtEnd());
    EXPECT_EQ(player.Names(), (Names{"A\\1.mp3"}));
    EXPECT_EQ(player.log.back(), "Play");
    // A stop of the user's is not advanced.
    cmd->StopButton();
    EXPECT_FALSE(cmd->AdvanceAtEnd());
}

TEST_F(Commands, ACatalogueWithoutSongsStops) {
    Catalogue c;
    c.root = u"C:\\D\\";
    TRDataNode& f = c.AddNode(nullptr, Placement::LastRoot, Make(kKindFolder, "f"));
    PlayState st;
    PlaySources src;
    src.selectedTreeNode = [&] { return &f; };
    TPlayCommands only(st, player, c, src, {});
    st.PlayMode = kPlaySingleSong;
    st.StepNode = &f;
    st.UserStopped = false;
    EXPECT_FALSE(only.AdvanceAtEnd());
    EXPECT_TRUE(st.UserStopped);
    EXPECT_TRUE(player.log.empty());
}

TEST_F(Commands, PreviousAndNextWrapInsideTheLevelInSingleSongModeElseGoToThePlayer) {
    treeSel = a[6];
    cmd->PlayFromList(PlayList::Tree, false);
    cmd->NextButton();
    EXPECT_EQ(player.Names(), (Names{"A\\1.mp3"}));
    cmd->PreviousButton();
    EXPECT_EQ(player.Names(), (Names{"A\\7.mp3"}));
    state.PlayMode = kPlayAll;
    player.log.clear();
    cmd->NextButton();
    cmd->PreviousButton();
    EXPECT_EQ(player.log, (std::vector<std::string>{"Next", "Prev"}));
}

TEST_F(Commands, FavouritesStepSendsAMissingFileAllTheSame) {
    favs = {u"A\\1.mp3", u"gone.mp3", u"r1.mp3"};
    missing.insert("gone.mp3");
    favSel = 0;
    cmd->PlayFromList(PlayList::Favorites, false);
    EXPECT_EQ(state.ActiveList, ActiveListKind::Favorites);
    EXPECT_TRUE(state.StepList);
    cmd->NextButton();
    EXPECT_EQ(player.Names(), (Names{"gone.mp3"}));
    cmd->PreviousButton();
    cmd->PreviousButton();
    EXPECT_EQ(player.Names(), (Names{"r1.mp3"}));
    // In mode 7 the same file is skipped.
    treeSel = A;
    cmd->PlayCommand(Cmd::PlayFavorit);
    EXPECT_EQ(player.Names(), (Names{"A\\1.mp3", "r1.mp3"}));
    EXPECT_EQ(state.ActiveList, ActiveListKind::Favorites);
}

TEST_F(Commands, SongListKindsVideoFolderAndTextEntry) {
    treeSel = A;
    songSel = A;  // a folder item of the song list plays as a disk
    cmd->PlayFromList(PlayList::SongList, false);
    EXPECT_EQ(player.list.size(), 7u);
    EXPECT_EQ(state.PlayMode, kPlayDisk);
    EXPECT_EQ(state.StepNode, A);
    TRDataNode& v = cat.AddNode(nullptr, Placement::LastRoot, Make(kKindVideo, "clip", "clip.avi"));
    songSel = &v;
    cmd->PlayFromList(PlayList::SongList, false);
    EXPECT_EQ(events.back(), "video clip");
    treeSel = t;
    cmd->PlayFromList(PlayList::Tree, false);
    EXPECT_EQ(player.Names(), (Names{"B\\b3.mp3"}));
    EXPECT_EQ(state.PlayMode, kPlayTextEntry);
    // A folder in the tree acts as play disk.
    treeSel = B;
    cmd->PlayFromList(PlayList::Tree, true);
    EXPECT_EQ(state.PlayMode, kPlayDisk);
    EXPECT_EQ(player.list.size(), 3u);
}

TEST_F(Commands, PlayButtonPausesWhilePlayingAndPauseKeyOnlyThen) {
    treeSel = a[1];
    cmd->PlayButton();
    EXPECT_EQ(player.Names(), (Names{"A\\2.mp3"}));
    EXPECT_EQ(player.state, kPlayerPlaying);
    cmd->PlayButton();
    EXPECT_EQ(player.state, kPlayerPaused);
    cmd->PauseKey();  // paused, not playing: the key does nothing
    EXPECT_EQ(player.state, kPlayerPaused);
    cmd->PlayButton();
    cmd->PauseKey();
    EXPECT_EQ(player.state, kPlayerPaused);
}

TEST_F(Commands, DemoButtonPlaysTheDiskAndItsSecondPressStops) {
    treeSel = a[0];
    state.PlayMode = kPlaySingleSong;
    table.Run(Cmd::PlayDemo);
    EXPECT_TRUE(state.DemoMode);
    EXPECT_TRUE(table.Checked(Cmd::PlayDemo));
    EXPECT_EQ(state.PlayMode, kPlayDisk);
    EXPECT_EQ(player.list.size(), 7u);
    table.Run(Cmd::PlayDemo);
    EXPECT_FALSE(state.DemoMode);
    EXPECT_FALSE(table.Checked(Cmd::PlayDemo));
    EXPECT_EQ(player.log.back(), "Stop");
    EXPECT_TRUE(state.UserStopped);
}

TEST_F(Commands, WinampWindowEntryTogglesAndOnlyWinampShowsItBeforeLeaving) {
    table.Run(Cmd::ShowWinamp);
    EXPECT_TRUE(table.Checked(Cmd::ShowWinamp));
    table.Run(Cmd::ShowWinamp);
    EXPECT_EQ(player.log, (std::vector<std::string>{"Show 1 4", "Show 1 0"}));
    table.Run(Cmd::OnlyWinamp);
    EXPECT_EQ(player.log.back(), "Show 1 4");
    EXPECT_EQ(events.back(), "leave");
}

TEST_F(Commands, FavouritesEnteredLastIsWhereThePlayButtonAndTheDemoStart) {
    favs = {u"A\\2.mp3", u"r1.mp3"};
    favSel = 1;
    treeSel = a[0];
    lastEntered = PlayList::Favorites;
    focused = PlayList::None;
    cmd->PlayButton();
    EXPECT_EQ(player.Names(), (Names{"r1.mp3"}));
    EXPECT_EQ(state.ActiveList, ActiveListKind::Favorites);
    EXPECT_EQ(state.PlayMode, kPlaySingleSong);
    // The demo from a single song plays the favourites list, not the disk.
    player.state = kPlayerStopped;
    table.Run(Cmd::PlayDemo);
    EXPECT_EQ(state.PlayMode, kPlayFavorites);
    EXPECT_EQ(player.Names(), (Names{"A\\2.mp3", "r1.mp3"}));
    EXPECT_TRUE(state.DemoMode);
    // Play all still starts at the tree's selection.
    cmd->PlayCommand(Cmd::PlayAll);
    EXPECT_EQ(player.Names().front(), "A\\1.mp3");
}

TEST_F(Commands, ThePlayListsButtonStaysPressedWhileItsModeLastsAndEmptyOnesArePassive) {
    auto look = [this](Cmd c) {
        for (const PlayButtonLook& l : cmd->ButtonLooks())
            if (l.command == c) return l;
        return PlayButtonLook{Cmd::None, "", false, false};
    };
    ASSERT_EQ(cmd->ButtonLooks().size(), 3u);
    EXPECT_TRUE(look(Cmd::PlayAll).enabled);
    EXPECT_FALSE(look(Cmd::PlayChecked).enabled);
    EXPECT_FALSE(look(Cmd::PlayFavorit).enabled);
    favs = {u"A\\2.mp3"};
    treeSel = a[0];
    EXPECT_TRUE(look(Cmd::PlayFavorit).enabled);
    cmd->PlayCommand(Cmd::PlayFavorit);
    EXPECT_TRUE(look(Cmd::PlayFavorit).pressed);
    EXPECT_FALSE(look(Cmd::PlayAll).pressed);
    favs.push_back(u"r1.mp3");  // adding keeps the look while the mode lasts
    EXPECT_TRUE(look(Cmd::PlayFavorit).pressed);
    cmd->PlayCommand(Cmd::PlayAll);
    EXPECT_TRUE(look(Cmd::PlayAll).pressed);
    EXPECT_FALSE(look(Cmd::PlayFavorit).pressed);
    // A disk change makes the list anew in disk mode: no button stays down.
    cmd->LoadDiskChangeList();
    EXPECT_FALSE(look(Cmd::PlayAll).pressed);
    cmd->PlayCommand(Cmd::PlayAll);
    cmd->PlayFromList(PlayList::Tree, false);
    for (const PlayButtonLook& l : cmd->ButtonLooks()) EXPECT_FALSE(l.pressed) << l.button;
}

}  // namespace
