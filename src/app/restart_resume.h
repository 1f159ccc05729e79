// The restart resume: after an update restarted the program, the play list,
// position and play mode handed over in qlm.ini are given back to the player.
// Window-free: the main window's part comes in through ResumeTarget.
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

}  // namespace qlm
