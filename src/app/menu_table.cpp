#include "app/menu_table.h"

#include <array>

namespace qlm {
namespace {

constexpr MenuKind kSub = MenuKind::Submenu;
constexpr MenuKind kSep = MenuKind::Separator;
constexpr MenuKind kItem = MenuKind::Item;

// A row with a caption from section MainMenu.
constexpr MenuRow Entry(int level, std::string_view name, Cmd cmd, std::string_view key, bool hidden = false) {
    MenuRow r;
    r.level = level;
    r.name = name;
    r.kind = kItem;
    r.command = cmd;
    r.section = "MainMenu";
    r.key = key;
    r.hidden = hidden;
    return r;
}
constexpr MenuRow Sub(int level, std::string_view name, std::string_view key, bool hidden = false) {
    MenuRow r = Entry(level, name, Cmd::None, key, hidden);
    r.kind = kSub;
    return r;
}
constexpr MenuRow Sep(int level, std::string_view name) {
    MenuRow r;
    r.level = level;
    r.name = name;
    r.kind = kSep;
    return r;
}
constexpr MenuRow Radio(MenuRow r) {
    r.radio = true;
    return r;
}
constexpr MenuRow WithKey(MenuRow r) {
    r.showKey = true;
    return r;
}
constexpr MenuRow Dynamic(MenuRow r, DynamicMenu d) {
    r.dynamic = d;
    return r;
}
constexpr MenuRow From(MenuRow r, std::string_view section) {
    r.section = section;
    return r;
}
constexpr MenuRow Literal(int level, std::string_view name, MenuKind kind, Cmd cmd, std::string_view caption,
                          bool hidden = false) {
    MenuRow r;
    r.level = level;
    r.name = name;
    r.kind = kind;
    r.command = cmd;
    r.literal = caption;
    r.hidden = hidden;
    return r;
}

constexpr std::array kMainMenu = {
    Sub(0, "MenuStart", "Start"),
    WithKey(Entry(1, "MenuPlayAll", Cmd::PlayAll, "All")),
    WithKey(Entry(1, "MenuPlayDisk", Cmd::PlayDisk, "Disk")),
    WithKey(Entry(1, "MenuPlayChecked", Cmd::PlayChecked, "Checked")),
    WithKey(Entry(1, "MenuPlayFavorit", Cmd::PlayFavorit, "Favorit")),
    Sep(1, "N1"),
    WithKey(Entry(1, "MenuPlayDemo", Cmd::PlayDemo, "Demo")),

    Sub(0, "MenuView", "View"),
    Entry(1, "MenuExpandTree", Cmd::ExpandTree, "ExpTree"),
    WithKey(Entry(1, "MenuOnlyWinamp", Cmd::OnlyWinamp, "OnlyWinamp", true)),
    Sub(1, "ShowFieldsMainMenuItem", "SelectFieldsShow"),
    Entry(2, "ShowComposerMainMenuItem", Cmd::FieldComposer, "Composer"),
    Entry(2, "ShowArtistMainMenuItem", Cmd::FieldArtist, "Artist"),
    Entry(2, "ShowAlbumMainMenuItem", Cmd::FieldAlbum, "Album"),
    Entry(2, "ShowYearMainMenuItem", Cmd::FieldYear, "Year"),
    Entry(2, "ShowGenreMainMenuItem", Cmd::FieldGenre, "Genre", true),
    Sep(1, "N5"),
    WithKey(Entry(1, "MenuShowWinamp", Cmd::ShowWinamp, "ShowWinamp")),
    Literal(1, "MenuShowInformation", kItem, Cmd::ShowInformation, "", true),
    WithKey(Entry(1, "MenuShowFavorit", Cmd::ShowFavorit, "MyFavorit")),
    Sub(1, "MenuBookMode", "BookMode"),
    Radio(From(Entry(2, "MenuNoneBookMode", Cmd::BookModeNone, "No"), "Messages")),
    Radio(Entry(2, "MenuVerticalBookMode", Cmd::BookModeVertical, "VMode")),
    Radio(Entry(2, "MenuHorisontalBookMode", Cmd::BookModeHorizontal, "HMode")),
    Sub(1, "MenuTextWindow", "TextWindows"),
    Radio(From(Entry(2, "MenuNoText", Cmd::TextWindowNone, "No"), "Messages")),
    Radio(Entry(2, "MenuShowTextDock", Cmd::TextWindowDock, "InMainWindow")),
    Radio(Entry(2, "MenuShowTextWindow", Cmd::TextWindowFloat, "InOtherWindow")),

    Sub(0, "MenuService", "Service"),
    WithKey(Entry(1, "MenuFind", Cmd::Find, "Find")),
    Sep(1, "N7"),
    Entry(1, "SelectAudioPlayerMenuItem", Cmd::SelectAudioPlayer, "SelectAP", true),
    Dynamic(Sub(1, "SelVideoPlayerMenuItem", "SelectVP"), DynamicMenu::VideoPlayers),
    Sep(1, "N8"),
    Dynamic(Sub(1, "MenuLanguageSelect", "SelectLanguage"), DynamicMenu::Languages),
    Literal(1, "MenuLanguageList", kItem, Cmd::None, "", true),
    Literal(1, "ListLanguageMenu", kItem, Cmd::None, "", true),
    Literal(1, "MenuFontSelect", kSub, Cmd::None, "", true),
    Literal(2, "FontMenu", kItem, Cmd::None, "", true),
    Sub(1, "MenuSlideShowMode", "SlideShowMode"),
    Radio(Entry(2, "MenuStepbySlideMode", Cmd::SlideShowSequential, "StepbyStep")),
    Radio(Entry(2, "MenuRandomSlideMode", Cmd::SlideShowRandom, "Random")),
    Sub(1, "MenuSpeedSlideShow", "DelaySlideShow"),
    Radio(Literal(2, "N01", kItem, Cmd::SlideDelay1, "1")),
    Radio(Literal(2, "N03", kItem, Cmd::SlideDelay3, "3")),
    Radio(Literal(2, "N05", kItem, Cmd::SlideDelay5, "5")),
    Radio(Literal(2, "N101", kItem, Cmd::SlideDelay10, "10")),
    Radio(Literal(2, "N201", kItem, Cmd::SlideDelay20, "20")),
    Radio(Literal(2, "N301", kItem, Cmd::SlideDelay30, "30")),
    Radio(Literal(2, "N601", kItem, Cmd::SlideDelay60, "60")),
    Sep(1, "N10"),
    WithKey(Entry(1, "MenuPrintContent", Cmd::PrintContent, "PrintListDisk")),

    Literal(0, "N2", kSub, Cmd::None, "?"),
    Entry(1, "QLM1", Cmd::Update, "Update"),
    From(Entry(1, "MenuAbout", Cmd::About, "SystemMenuAbout"), "Other"),
    Entry(1, "MenuHelp", Cmd::Help, "Help", true),
};

constexpr std::array kPopupMenu = {
    Entry(0, "InfoMenu", Cmd::Info, "Info"),
    Sep(0, "N11"),
    Entry(0, "TextMenuItem", Cmd::TextMenuItem, "Texts"),
    From(Entry(0, "SlideMenuItem", Cmd::SlideMenuItem, "SlidePage"), "Pages"),
    Sep(0, "N3"),
    WithKey(Entry(0, "Playall1", Cmd::PlayAll, "PlayAll")),
    WithKey(Entry(0, "Playtopic1", Cmd::PlayDisk, "PlayFolder")),
    WithKey(Entry(0, "Playchecked1", Cmd::PlayChecked, "PlayChecked")),
    WithKey(Entry(0, "PlayFavori1", Cmd::PlayFavorit, "PlayFavorit")),
    Entry(0, "BeginMenuItem", Cmd::PlayFromPosition, "PlayWithCurPos"),
    Sep(0, "N9"),
    Sub(0, "ListFieldsMenu", "SelectFieldsShow"),
    Entry(1, "ComposerListFields", Cmd::FieldComposer, "Composer"),
    Entry(1, "ArtistListFields", Cmd::FieldArtist, "Artist"),
    Entry(1, "AlbumListFields", Cmd::FieldAlbum, "Album"),
    Entry(1, "YearListFields", Cmd::FieldYear, "Year"),
    Entry(1, "GenreListFields", Cmd::FieldGenre, "Genre", true),
    Dynamic(Sub(0, "SelectLanguage", "SelectLanguage"), DynamicMenu::Languages),
    Sep(0, "N6"),
    WithKey(Entry(0, "PrintMenu", Cmd::PrintContent, "PrintListDisk")),
    Sep(0, "N4"),
    Entry(0, "SaveAsMenu", Cmd::SaveAs, "SaveAs"),
};

}  // namespace

std::span<const MenuRow> MainMenuRows() { return kMainMenu; }
std::span<const MenuRow> PopupMenuRows() { return kPopupMenu; }

const MenuRow* FindMenuRow(std::string_view name) {
    for (const MenuRow& r : kMainMenu)
        if (r.name == name) return &r;
    for (const MenuRow& r : kPopupMenu)
        if (r.name == name) return &r;
    return nullptr;
}

std::optional<KeyChord> KeyOfCommand(Cmd command) {
    for (const KeyRow& row : KeyTable())
        if (row.command == command) return row.key;
    return std::nullopt;
}

std::u16string KeyName(KeyChord key) {
    std::u16string name;
    if (key.modifiers & kModCtrl) name += u"Ctrl+";
    if (key.modifiers & kModAlt) name += u"Alt+";
    if (key.modifiers & kModShift) name += u"Shift+";
    const uint16_t vk = key.vk;
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
        name += static_cast<char16_t>(vk);
    } else if (vk >= 0x70 && vk <= 0x87) {  // F1..F24
        name += u"F";
        int n = vk - 0x70 + 1;
        if (n >= 10) name += static_cast<char16_t>(u'0' + n / 10);
        name += static_cast<char16_t>(u'0' + n % 10);
    } else {
        switch (vk) {
            case 0x13: name += u"Pause"; break;
            case 0x21: name += u"PgUp"; break;
            case 0x22: name += u"PgDn"; break;
            case 0x25: name += u"Left"; break;
            case 0x26: name += u"Up"; break;
            case 0x27: name += u"Right"; break;
            case 0x28: name += u"Down"; break;
            case 0x2E: name += u"Del"; break;
            default: name += u"?"; break;
        }
    }
    return name;
}

PopupStates PopupMenuRules(const PopupContext& c) {
    PopupStates s;
    s.playCheckedEnabled = c.checkedCount > 0;
    s.playFavoritEnabled = c.favoritesCount > 0;
    s.playEntriesVisible = c.list == PopupList::Tree || c.list == PopupList::SongsList;
    switch (c.list) {
        case PopupList::Favorites:
            s.infoEnabled = c.favoriteSelected;
            s.saveAsVisible = true;
            break;
        case PopupList::SongsList:
            s.infoEnabled = c.selected == ItemKind::Song;
            s.saveAsVisible = c.selected == ItemKind::Song || c.selected == ItemKind::Video;
            break;
        case PopupList::Tree:
            // Tags exist for songs only: a folder under the mouse has none to show.
            s.infoEnabled = c.underPopup == ItemKind::Song;
            s.saveAsVisible = c.underPopup == ItemKind::Song || c.underPopup == ItemKind::Video;
            break;
        case PopupList::None:
            break;
    }
    s.textVisible = c.diskHasTexts;
    s.slideVisible = c.slidesPage;
    return s;
}

}  // namespace qlm
