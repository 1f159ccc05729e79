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

namespace qlm::find {

bool SelectInBookMode(const BookModeList& list, const TRDataNode& node) {
    list.selectTreeNode(node);
    const bool filled = WaitBounded(list.filled, list.pump, list.nowMs);
    list.clearSelection();
    if (const auto top = list.selectItem(node)) list.scrollBy(*top - kItemMarginPx);
    list.focus();
    return filled;
}

}  // namespace qlm::find
