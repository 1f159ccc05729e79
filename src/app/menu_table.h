// The entries of the main menu MainMenu1 and the pop-up menu PopupMenuS as one
// table each: component name, the command it runs (its item id), the language
// text of its caption, whether it is hidden, and where it sits (its level in
// the submenu structure). The menus are built from these tables and re-captioned
// from them; their enabled and checked states come from the command table.
//
// Window-free, so the tables are checked natively.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/commands.h"

namespace qlm {

enum class MenuKind : uint8_t {
    Item,       // runs its command (none: an entry without action)
    Submenu,    // the rows of the next level that follow it are its entries
    Separator,
};

// Submenus whose entries the program makes at run time.
enum class DynamicMenu : uint8_t { None, Languages, VideoPlayers };

struct MenuRow {
    int level = 0;              // 0: on the menu bar (or the pop-up itself)
    std::string_view name;      // component name
    MenuKind kind = MenuKind::Item;
    Cmd command = Cmd::None;
    std::string_view section;   // language text of the caption...
    std::string_view key;
    std::string_view literal;   // ...or a caption that is no language text
    bool hidden = false;
    bool radio = false;         // its check is a radio mark (one of a group)
    DynamicMenu dynamic = DynamicMenu::None;
    bool showKey = false;       // the caption names the command's key
};

std::span<const MenuRow> MainMenuRows();
std::span<const MenuRow> PopupMenuRows();

// A row of either table by component name; null when unknown.
const MenuRow* FindMenuRow(std::string_view name);

// The key of a command in the key table, if it has one.
std::optional<KeyChord> KeyOfCommand(Cmd command);
// "Ctrl+P", "Alt+F", "F11" as menus show keys.
std::u16string KeyName(KeyChord key);

// ---- The pop-up menu's rules before it opens ----

enum class PopupList : uint8_t { None, Tree, SongsList, Favorites };
enum class ItemKind : uint8_t { None, Song, Video, Other };

// What the pop-up opens over; the lists' owners answer it.
struct PopupContext {
    PopupList list = PopupList::None;
    ItemKind underPopup = ItemKind::None;  // tree: the node under the mouse
    ItemKind selected = ItemKind::None;    // song list: the selected item
    bool favoriteSelected = false;         // favourites list
    int checkedCount = 0;                  // checked songs
    int favoritesCount = 0;                // items of the favourites list
    bool diskHasTexts = false;
    bool slidesPage = false;               // the slide page button is shown
};

struct PopupStates {
    bool playEntriesVisible = false;  // from N3 to N9
    bool playCheckedEnabled = false;  // Playchecked1
    bool playFavoritEnabled = false;  // PlayFavori1
    bool infoEnabled = false;         // InfoMenu
    bool saveAsVisible = false;       // SaveAsMenu, and N4 with it
    bool printVisible = true;         // PrintMenu, and N6 with it
    bool textVisible = false;         // TextMenuItem
    bool slideVisible = false;        // SlideMenuItem
};

PopupStates PopupMenuRules(const PopupContext& context);

}  // namespace qlm
