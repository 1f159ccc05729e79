// Which control of the main window takes which text. The main window walks
// this list in order and sets each named control's caption or hint to
// Text(section, key); order matters where a later key overwrites an earlier
// one (TextBtn takes MainButtons/Text, then MainButtons/ShowInfo). Texts that
// are kept for later use (message strings, the folder browser's title, the
// no-text notice) are not here: ask Text() when they are needed.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace qlm::lang {

enum class SlotKind { Caption, Hint };

struct ControlSlot {
    std::string_view section;
    std::string_view key;
    SlotKind kind;
    std::array<std::string_view, 3> controls;  // unused entries are empty
    bool slidesOnly = false;                   // set only when the disk has slides enabled
};

std::span<const ControlSlot> MainWindowSlots();

}  // namespace qlm::lang
