// The restart hand-over both ways: before an update's installer starts, the
// player's list, position and state and the main window's play mode are
// gathered for qlm.ini; after the restart they are given back to the player.
// Window-free: the main window's part comes in through ResumeTarget and
// HandOverWindowState.
#pragma once

#include <string>

#include "app/settings_store.h"
#include "playback/player_interface.h"
#include "playback/player_resume.h"

namespace qlm {

class ResumeTarget {
public:
    virtual ~ResumeTarget() = default;
    virtual void DeleteInstaller(const std::u16string& path) = 0;
    virtual void ShowFavorites(int width) = 0;
    virtual void FocusControl(int control) = 0;  // 1 the tree, 2 the favourites list
    virtual void MarkStoppedByProgram() = 0;     // no automatic advance
    virtual void SetPlayMode(int mode) = 0;
    virtual void StartDemoMode() = 0;
};

// Applies a hand-over written for this disk (TakeRestartHandOver decides
// that and erases it). True: something was resumed.
bool ApplyRestartHandOver(const app::RestartHandOver& handOver, TVNTPlayer& player, ResumeTarget& target,
                          const ResumeWaits& waits = ResumeWaits::Real());

// What the main window adds to the player's state in a hand-over.
struct HandOverWindowState {
    std::u16string diskIdentifier;  // LastCD
    int control = 0;                // 1 the tree had the focus, 2 the favourites list, 0 other
    int playMode = 0;
    int favoritesWidth = 0;         // the favourites panel's width while shown, else 0
};

// The hand-over of the running program: the player's list (entries it cannot
// name stay empty and are skipped when written), list position, state and
// position in the current file, with `installer` as InstFile (empty: none).
// Answers the player cannot give count as 0.
app::RestartHandOver CollectRestartHandOver(TVNTPlayer& player, const HandOverWindowState& window,
                                            std::u16string installer);

}  // namespace qlm
