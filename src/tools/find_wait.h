// Waiting for the song list after a tree selection in book mode: the list
// fills on its own time, so the find dialog polls it while messages go on,
// but never longer than a bound, so a list that never reports cannot hang
// the program.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace qlm::find {

inline constexpr int kListWaitMs = 2000;
inline constexpr int kListPollMs = 50;

// Calls `pump` (process messages and sleep one poll step) until `ready` is
// true or `timeoutMs` passed by `nowMs`. True when it became ready.
bool WaitBounded(const std::function<bool()>& ready, const std::function<void()>& pump,
                 const std::function<int64_t()>& nowMs, int timeoutMs = kListWaitMs);

}  // namespace qlm::find

namespace qlm {
struct TRDataNode;
}

namespace qlm::find {

// The steps of selecting a match in book mode, lent by the tree and the song
// list. The list refills after the tree selection; the wait for it is bounded.
struct BookModeList {
    std::function<void(const TRDataNode& node)> selectTreeNode;  // the node's place in the tree; the list refills
    std::function<bool()> filled;                                // the list reports it is filled
    std::function<void()> pump;                                  // process messages, sleep one poll step
    std::function<int64_t()> nowMs;
    std::function<void()> clearSelection;
    // Selects the item that carries the node (the first item for a top-level
    // node) and answers its top in list pixels, or nothing when it is not there.
    std::function<std::optional<int>(const TRDataNode& node)> selectItem;
    std::function<void(int dy)> scrollBy;
    std::function<void()> focus;
};

inline constexpr int kItemMarginPx = 30;  // the selected item stands this far below the list's top

// Selects the node's song-list item; true when the list was filled in time.
// A list that never reports filled costs kListWaitMs and the selection goes on.
bool SelectInBookMode(const BookModeList& list, const TRDataNode& node);

}  // namespace qlm::find
