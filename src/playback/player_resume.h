// Starting a play list at a given entry and position, for the restart resume.
//
// The player interface has no "play entry N": Play starts "the current entry",
// but Winamp 5 answers it by playing the FIRST entry whatever its list
// position, so stepping to the entry before Play would be undone by Play.
// This works with either behaviour: it starts play first and then steps with
// NextTrack/PrevTrack (which start the entry they reach while playing) until
// the player reports the wanted position; only then does it seek and, for a
// paused hand-over, pause. A stopped hand-over steps while stopped (a stopped
// player keeps its position) and never starts play.
#pragma once

#include <cstdint>
#include <functional>

#include "playback/player_interface.h"

namespace qlm {

struct ResumeWaits {
    // Sleeps this many milliseconds; the player applies commands at its own pace.
    std::function<void(int)> sleep;
    // A monotonic millisecond clock for the overall bound.
    std::function<int64_t()> nowMs;
    static ResumeWaits Real();
};

// playState: 0 stopped, 1 playing, 3 paused (as GetState answers). An index
// past the list is taken as the last entry. Gives up stepping after 3000 ms.
// True when the player ended on the wanted entry.
bool PlayFromEntry(TVNTPlayer& player, int32_t index, int32_t positionMs, int32_t playState,
                   const ResumeWaits& waits = ResumeWaits::Real());

}  // namespace qlm
