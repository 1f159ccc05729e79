// The one table of the main window's commands. Every command has an id that
// is also its menu item id; the main menu, the pop-up menu and the keyboard
// all reach a command through this table, so a command is wired once: the
// subsystem that owns a command binds its handler (and, where the command can
// be unavailable, an enabled test) to the id, and the menus and keys follow.
//
// Window-free: key codes are the platform's virtual-key numbers, spelled out
// here so the table builds and is tested natively too.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace qlm {

// Menu item ids. Dynamic menus (languages, video players, information pages)
// use the ranges after kDynamicFirst.
enum class Cmd : uint16_t {
    None = 0,
    // Start
    PlayAll = 100,
    PlayDisk,
    PlayChecked,
    PlayFavorit,
    PlayDemo,
    // View
    ExpandTree,      // menu and button: expand or collapse the whole tree
    ExpandAll,       // Ctrl+Down
    CollapseAll,     // Ctrl+Up
    OnlyWinamp,
    FieldComposer,
    FieldArtist,
    FieldAlbum,
    FieldYear,
    FieldGenre,
    ShowWinamp,
    ShowInformation,  // hidden, no action
    ShowFavorit,
    BookModeNone,
    BookModeVertical,
    BookModeHorizontal,
    TextWindowNone,
    TextWindowDock,
    TextWindowFloat,
    // Service
    Find,
    SelectAudioPlayer,  // hidden
    SlideShowSequential,
    SlideShowRandom,
    SlideDelay1,
    SlideDelay3,
    SlideDelay5,
    SlideDelay10,
    SlideDelay20,
    SlideDelay30,
    SlideDelay60,
    PrintContent,
    // ?
    Update,
    About,
    Help,  // hidden
    // Pop-up only
    Info,
    TextMenuItem,
    SlideMenuItem,
    PlayFromPosition,  // BeginMenuItem
    SaveAs,
    // Keys only
    FavoritesRemove,    // Ctrl+Left
    FavoritesAdd,       // Ctrl+Right
    FavoritesClear,     // Ctrl+Delete
    TextWindowFront,    // Ctrl+F2
    TextWindowToggle,   // F12
    PlayerPause,        // Pause
    PlayerPrevious,     // B
    PlayerNext,         // N
    PlayerPlay,         // P
    PlayerStop,         // S
    SlidePrevious,      // Page Up
    SlideNext,          // Page Down
    Last,
};

constexpr uint16_t kDynamicFirst = 2000;
constexpr uint16_t kLanguageMenuFirst = 2000;     // up to 199 language files
constexpr uint16_t kVideoPlayerMenuFirst = 2200;  // up to 99 video players
constexpr uint16_t kInformPageMenuFirst = 2300;   // up to 199 information pages

// Modifiers of a key: exactly one or none is honoured.
enum KeyModifier : uint8_t { kModNone = 0, kModCtrl = 1, kModAlt = 2, kModShift = 4 };

struct KeyChord {
    uint16_t vk = 0;
    uint8_t modifiers = kModNone;
    bool operator==(const KeyChord&) const = default;
};

struct KeyRow {
    KeyChord key;
    Cmd command;
    bool consumed;  // the control with the focus does not see the key
};

// The keyboard of the main window.
std::span<const KeyRow> KeyTable();

// The command of a key press with the modifiers held, or nothing. Ctrl with
// Shift (or any two modifiers) is no command.
std::optional<KeyRow> CommandForKey(uint16_t vk, uint8_t modifiers);

class CommandTable {
public:
    using Handler = std::function<void()>;
    using Test = std::function<bool()>;

    CommandTable();

    // Binds the command's handler and, optionally, when it is available. A
    // later binding replaces an earlier one.
    void Bind(Cmd id, Handler run, Test enabled = {}, Test checked = {});
    // Binds one handler to a dynamic range: it receives the offset in the range.
    void BindRange(uint16_t first, uint16_t count, std::function<void(uint16_t)> run);

    bool IsBound(Cmd id) const;
    bool Enabled(Cmd id) const;  // bound and its test passes (no test: true)
    bool Checked(Cmd id) const;  // its checked test, false without one
    // Runs the command when it is bound and enabled; true when it ran.
    bool Run(Cmd id) const;
    // Runs a menu item id: a command or a member of a bound dynamic range.
    bool RunId(uint16_t id) const;
    // Told of every id asked to run, and whether it ran (tests watch keys and menus).
    void SetObserver(std::function<void(uint16_t id, bool ran)> observer) { observer_ = std::move(observer); }

private:
    struct Entry {
        Handler run;
        Test enabled;
        Test checked;
    };
    struct Range {
        uint16_t first;
        uint16_t count;
        std::function<void(uint16_t)> run;
    };
    std::vector<Entry> entries_;
    std::vector<Range> ranges_;
    std::function<void(uint16_t, bool)> observer_;
};

}  // namespace qlm
