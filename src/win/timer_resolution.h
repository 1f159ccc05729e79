#pragma once
// The shell's short waits (10 ms between play-list checks, 5 ms after reading
// the player's list) must last what they say: with the system's default
// 15.6 ms timer a 5 ms Sleep takes three times as long and the panel's
// polling tick grows with it. Held for the program's run.
#include <windows.h>
#include <timeapi.h>

namespace qlm::win {

class TimerResolution {
public:
    TimerResolution() : ok_(timeBeginPeriod(1) == TIMERR_NOERROR) {}
    ~TimerResolution() {
        if (ok_) timeEndPeriod(1);
    }
    TimerResolution(const TimerResolution&) = delete;
    TimerResolution& operator=(const TimerResolution&) = delete;

private:
    bool ok_;
};

}  // namespace qlm::win
