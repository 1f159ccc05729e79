#include "tools/find_wait.h"

namespace qlm::find {

bool WaitBounded(const std::function<bool()>& ready, const std::function<void()>& pump,
                 const std::function<int64_t()>& nowMs, int timeoutMs) {
    const int64_t start = nowMs();
    while (!ready()) {
        if (nowMs() - start >= timeoutMs) return false;
        pump();
    }
    return true;
}

}  // namespace qlm::find
