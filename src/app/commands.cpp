#include "app/commands.h"

#include <array>

namespace qlm {
namespace {

// Virtual-key numbers of the keys the window answers.
constexpr uint16_t kVkPause = 0x13, kVkPrior = 0x21, kVkNext = 0x22, kVkLeft = 0x25, kVkUp = 0x26,
                   kVkRight = 0x27, kVkDown = 0x28, kVkDelete = 0x2E, kVkF2 = 0x71, kVkF11 = 0x7A,
                   kVkF12 = 0x7B;
constexpr uint16_t Letter(char c) { return static_cast<uint16_t>(c); }

constexpr std::array kKeys = {
    KeyRow{{kVkLeft, kModCtrl}, Cmd::FavoritesRemove, false},
    KeyRow{{kVkRight, kModCtrl}, Cmd::FavoritesAdd, false},
    KeyRow{{kVkUp, kModCtrl}, Cmd::CollapseAll, false},
    KeyRow{{kVkDown, kModCtrl}, Cmd::ExpandAll, false},
    KeyRow{{kVkDelete, kModCtrl}, Cmd::FavoritesClear, false},
    KeyRow{{Letter('1'), kModCtrl}, Cmd::PlayAll, false},
    KeyRow{{Letter('2'), kModCtrl}, Cmd::PlayDisk, false},
    KeyRow{{Letter('3'), kModCtrl}, Cmd::PlayChecked, false},
    KeyRow{{Letter('4'), kModCtrl}, Cmd::PlayFavorit, false},
    KeyRow{{Letter('D'), kModCtrl}, Cmd::PlayDemo, false},
    KeyRow{{Letter('F'), kModCtrl}, Cmd::Find, true},
    KeyRow{{Letter('P'), kModCtrl}, Cmd::PrintContent, false},
    KeyRow{{kVkF2, kModCtrl}, Cmd::TextWindowFront, false},
    KeyRow{{Letter('X'), kModAlt}, Cmd::OnlyWinamp, true},
    KeyRow{{Letter('F'), kModAlt}, Cmd::ShowFavorit, true},
    KeyRow{{kVkPause, kModNone}, Cmd::PlayerPause, false},
    KeyRow{{kVkPrior, kModNone}, Cmd::SlidePrevious, false},
    KeyRow{{kVkNext, kModNone}, Cmd::SlideNext, false},
    KeyRow{{Letter('B'), kModNone}, Cmd::PlayerPrevious, false},
    KeyRow{{Letter('N'), kModNone}, Cmd::PlayerNext, false},
    KeyRow{{Letter('P'), kModNone}, Cmd::PlayerPlay, false},
    KeyRow{{Letter('S'), kModNone}, Cmd::PlayerStop, false},
    KeyRow{{kVkF11, kModNone}, Cmd::ShowWinamp, false},
    KeyRow{{kVkF12, kModNone}, Cmd::TextWindowToggle, false},
};

bool SingleModifier(uint8_t m) { return m == kModNone || m == kModCtrl || m == kModAlt || m == kModShift; }

size_t Slot(Cmd id) { return static_cast<size_t>(id); }

}  // namespace

std::span<const KeyRow> KeyTable() { return kKeys; }

std::optional<KeyRow> CommandForKey(uint16_t vk, uint8_t modifiers) {
    if (!SingleModifier(modifiers)) return std::nullopt;
    for (const KeyRow& row : kKeys)
        if (row.key == KeyChord{vk, modifiers}) return row;
    return std::nullopt;
}

CommandTable::CommandTable() : entries_(Slot(Cmd::Last)) {}

void CommandTable::Bind(Cmd id, Handler run, Test enabled, Test checked) {
    if (Slot(id) >= entries_.size()) return;
    entries_[Slot(id)] = Entry{std::move(run), std::move(enabled), std::move(checked)};
}

void CommandTable::BindRange(uint16_t first, uint16_t count, std::function<void(uint16_t)> run) {
    for (Range& r : ranges_)
        if (r.first == first) {
            r = Range{first, count, std::move(run)};
            return;
        }
    ranges_.push_back(Range{first, count, std::move(run)});
}

bool CommandTable::IsBound(Cmd id) const { return Slot(id) < entries_.size() && entries_[Slot(id)].run != nullptr; }

bool CommandTable::Enabled(Cmd id) const {
    if (!IsBound(id)) return false;
    const Entry& e = entries_[Slot(id)];
    return !e.enabled || e.enabled();
}

bool CommandTable::Checked(Cmd id) const {
    if (Slot(id) >= entries_.size()) return false;
    const Entry& e = entries_[Slot(id)];
    return e.checked && e.checked();
}

bool CommandTable::Run(Cmd id) const {
    if (observer_) observer_(static_cast<uint16_t>(id), Enabled(id));
    if (!Enabled(id)) return false;
    // A copy: the handler may rebind its own command.
    Handler run = entries_[Slot(id)].run;
    run();
    return true;
}

bool CommandTable::RunId(uint16_t id) const {
    if (id < kDynamicFirst) return id < entries_.size() && Run(static_cast<Cmd>(id));
    for (const Range& r : ranges_)
        if (id >= r.first && id < r.first + r.count && r.run) {
            if (observer_) observer_(id, true);
            auto run = r.run;
            run(static_cast<uint16_t>(id - r.first));
            return true;
        }
    return false;
}

}  // namespace qlm
