// One player registered with the dispatcher.
#pragma once

#include <cstdint>
#include <string>

namespace qlm {

struct TPlayerItem {
    int32_t Id = 0;              // 1 Winamp; 0 a built-in player (none exists)
    std::u16string Path;         // the player program's full file name
    int32_t ShowCommand = 0;     // ShowWindow code for the player's window
};

}  // namespace qlm
