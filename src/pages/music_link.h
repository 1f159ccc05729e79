// Links of the disk's information pages that play music instead of opening a
// page: an address holding "*MUSIC" followed by 1-based song positions, e.g.
// "*MUSIC 2 1" plays the first child of the second top-level node.
#pragma once

#include <string_view>
#include <vector>

namespace qlm {

class Catalogue;
struct TRDataNode;

constexpr size_t kMaxMusicLinkPositions = 21;

// True when the address, in upper case, holds "*MUSIC".
bool IsMusicLink(std::u16string_view address);

// The positions after "*MUSIC": decimal numbers separated by blanks ("%20" in
// an escaped address counts as a blank). The list ends at the first other
// character and holds at most kMaxMusicLinkPositions numbers; further numbers
// are ignored.
std::vector<int> MusicLinkPositions(std::u16string_view address);

// The node the positions lead to: the first picks a top-level node, each
// further one a child of the node reached so far. Null when a position is 0
// or past the last sibling, when a node to descend into has no children, when
// the list is empty, or when the node reached is not a song.
const TRDataNode* MusicLinkNode(const Catalogue& catalogue, const std::vector<int>& positions);

}  // namespace qlm
