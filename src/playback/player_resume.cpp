#include "playback/player_resume.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace qlm {

ResumeWaits ResumeWaits::Real() {
    return {[](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); },
            [] {
                return static_cast<int64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                std::chrono::steady_clock::now().time_since_epoch())
                                                .count());
            }};
}

bool PlayFromEntry(TVNTPlayer& player, int32_t index, int32_t positionMs, int32_t playState,
                   const ResumeWaits& waits) {
    const int32_t length = player.GetListLength();
    if (length <= 0) return false;
    index = std::clamp(index, 0, length - 1);
    const bool play = playState != kPlayerStopped;

    if (play) {
        player.Play();
        waits.sleep(10);
    } else {
        player.Stop();
    }

    const int64_t start = waits.nowMs();
    bool reached = false;
    for (;;) {
        int32_t pos = player.GetListPosition();
        if (pos == index) {
            reached = true;
            break;
        }
        if (pos < 0 || waits.nowMs() - start > 3000) break;  // unreachable, or a player that does not step
        if (pos < index)
            player.NextTrack();
        else
            player.PrevTrack();
        waits.sleep(30);
    }

    if (play) {
        waits.sleep(30);
        if (positionMs > 0) player.Seek(positionMs);
        if (playState == kPlayerPaused) player.Pause();
    }
    return reached;
}

}  // namespace qlm
