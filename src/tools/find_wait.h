// Waiting for the song list after a tree selection in book mode: the list
// fills on its own time, so the find dialog polls it while messages go on,
// but never longer than a bound, so a list that never reports cannot hang
// the program.
#pragma once

#include <cstdint>
#include <functional>

namespace qlm::find {

inline constexpr int kListWaitMs = 2000;
inline constexpr int kListPollMs = 50;

// Calls `pump` (process messages and sleep one poll step) until `ready` is
// true or `timeoutMs` passed by `nowMs`. True when it became ready.
bool WaitBounded(const std::function<bool()>& ready, const std::function<void()>& pump,
                 const std::function<int64_t()>& nowMs, int timeoutMs = kListWaitMs);

}  // namespace qlm::find
