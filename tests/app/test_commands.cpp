#include "app/commands.h"

#include <gtest/gtest.h>

#include <set>

namespace qlm {
namespace {

TEST(CommandTable, NoKeyOrCommandIsUsedTwice) {
    std::set<std::pair<uint16_t, uint8_t>> keys;
    std::set<Cmd> commands;
    for (const KeyRow& row : KeyTable()) {
        EXPECT_TRUE(keys.insert({row.key.vk, row.key.modifiers}).second) << "key " << row.key.vk;
        EXPECT_TRUE(commands.insert(row.command).second) << "command " << static_cast<int>(row.command);
        EXPECT_LT(static_cast<uint16_t>(row.command), kDynamicFirst);
    }
    // The dynamic menu ranges do not overlap each other.
    EXPECT_LE(kLanguageMenuFirst + 199, kVideoPlayerMenuFirst);
    EXPECT_LE(kVideoPlayerMenuFirst + 99, kInformPageMenuFirst);
    EXPECT_LT(static_cast<uint16_t>(Cmd::Last), kDynamicFirst);
}

TEST(CommandTable, KeysHonourExactlyOneModifierOrNone) {
    ASSERT_TRUE(CommandForKey('1', kModCtrl));
    EXPECT_EQ(CommandForKey('1', kModCtrl)->command, Cmd::PlayAll);
    EXPECT_FALSE(CommandForKey('1', kModCtrl | kModShift));  // Ctrl+Shift+1 plays nothing
    EXPECT_FALSE(CommandForKey('1', kModNone));
    EXPECT_EQ(CommandForKey('P', kModNone)->command, Cmd::PlayerPlay);
    EXPECT_EQ(CommandForKey('P', kModCtrl)->command, Cmd::PrintContent);
    EXPECT_FALSE(CommandForKey('P', kModShift));
    EXPECT_TRUE(CommandForKey('F', kModCtrl)->consumed);
    EXPECT_EQ(CommandForKey('F', kModAlt)->command, Cmd::ShowFavorit);
}

TEST(CommandTable, RunsOnlyBoundAndEnabledCommands) {
    CommandTable table;
    int runs = 0;
    bool enabled = false;
    EXPECT_FALSE(table.Run(Cmd::PlayChecked));  // not bound
    table.Bind(Cmd::PlayChecked, [&] { ++runs; }, [&] { return enabled; });
    EXPECT_FALSE(table.Run(Cmd::PlayChecked));
    enabled = true;
    EXPECT_TRUE(table.RunId(static_cast<uint16_t>(Cmd::PlayChecked)));
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(table.Checked(Cmd::PlayChecked));

    uint16_t chosen = 0;
    table.BindRange(kLanguageMenuFirst, 3, [&](uint16_t i) { chosen = i; });
    EXPECT_TRUE(table.RunId(kLanguageMenuFirst + 2));
    EXPECT_EQ(chosen, 2);
    EXPECT_FALSE(table.RunId(kLanguageMenuFirst + 3));
    EXPECT_FALSE(table.RunId(60000));
}

}  // namespace
}  // namespace qlm

// ---- The menu tables ----

#include "app/deployment.h"
#include "app/menu_table.h"
#include "app/page_rules.h"
#include "lang/main_window_slots.h"
#include "lang/texts.h"

namespace qlm {
namespace {

void CheckMenuTable(std::span<const MenuRow> rows, const char* which) {
    std::set<Cmd> commands;
    int previousLevel = -1;
    MenuKind previousKind = MenuKind::Submenu;
    lang::Texts builtIn;
    for (const MenuRow& r : rows) {
        SCOPED_TRACE(std::string(which) + " " + std::string(r.name));
        if (r.command != Cmd::None) {
            EXPECT_TRUE(commands.insert(r.command).second) << "menu id used twice";
        }
        // A deeper level only right under a submenu entry.
        if (r.level > previousLevel) {
            EXPECT_EQ(r.level, previousLevel + 1);
            if (previousLevel >= 0 || r.level > 0) {
                EXPECT_EQ(previousKind, MenuKind::Submenu);
            }
        }
        previousLevel = r.level;
        previousKind = r.kind;
        if (r.kind == MenuKind::Separator || r.hidden) continue;
        // Every visible entry has a caption in the built-in texts.
        if (r.section.empty()) {
            EXPECT_FALSE(r.literal.empty());
        } else {
            EXPECT_FALSE(builtIn.Text(r.section, r.key).empty()) << r.section << "/" << r.key;
        }
    }
}

TEST(MenuTable, NoMenuIdTwiceInAMenuAndEveryEntryHasItsCaption) {
    CheckMenuTable(MainMenuRows(), "MainMenu1");
    CheckMenuTable(PopupMenuRows(), "PopupMenuS");
    // Component names are unique across both menus.
    std::set<std::string_view> names;
    for (auto rows : {MainMenuRows(), PopupMenuRows()})
        for (const MenuRow& r : rows) EXPECT_TRUE(names.insert(r.name).second) << r.name;
    // Menu ids stay clear of the run-time ranges.
    for (auto rows : {MainMenuRows(), PopupMenuRows()})
        for (const MenuRow& r : rows) EXPECT_LT(static_cast<uint16_t>(r.command), kDynamicFirst);
}

TEST(MenuTable, CaptionKeysAgreeWithTheLanguageSlots) {
    // The language tables name the key of each menu component; the menus must use the same.
    for (const lang::ControlSlot& slot : lang::MainWindowSlots())
        for (std::string_view control : slot.controls) {
            if (control.empty()) continue;
            const MenuRow* row = FindMenuRow(control);
            if (!row) continue;  // a button or hint
            EXPECT_EQ(row->section, slot.section) << control;
            EXPECT_EQ(row->key, slot.key) << control;
        }
    for (const char* hidden : {"MenuOnlyWinamp", "MenuShowInformation", "SelectAudioPlayerMenuItem", "MenuHelp",
                               "ShowGenreMainMenuItem", "GenreListFields", "MenuLanguageList", "FontMenu"}) {
        ASSERT_NE(FindMenuRow(hidden), nullptr) << hidden;
        EXPECT_TRUE(FindMenuRow(hidden)->hidden) << hidden;
    }
    EXPECT_EQ(FindMenuRow("MenuLanguageSelect")->dynamic, DynamicMenu::Languages);
    EXPECT_EQ(FindMenuRow("SelectLanguage")->dynamic, DynamicMenu::Languages);
}

TEST(MenuTable, KeyNamesOfTheShortcutTexts) {
    EXPECT_EQ(KeyName(*KeyOfCommand(Cmd::PrintContent)), u"Ctrl+P");
    EXPECT_EQ(KeyName(*KeyOfCommand(Cmd::ShowFavorit)), u"Alt+F");
    EXPECT_EQ(KeyName(*KeyOfCommand(Cmd::ShowWinamp)), u"F11");
    EXPECT_EQ(KeyName(*KeyOfCommand(Cmd::TextWindowToggle)), u"F12");
    EXPECT_EQ(KeyName(*KeyOfCommand(Cmd::CollapseAll)), u"Ctrl+Up");
    EXPECT_FALSE(KeyOfCommand(Cmd::About));
}

TEST(PopupRules, StatesFollowTheListUnderThePopup) {
    PopupContext c;
    c.list = PopupList::Favorites;
    c.favoritesCount = 2;
    PopupStates s = PopupMenuRules(c);
    EXPECT_FALSE(s.playEntriesVisible);
    EXPECT_TRUE(s.saveAsVisible);
    EXPECT_FALSE(s.infoEnabled);  // nothing selected
    EXPECT_TRUE(s.playFavoritEnabled);
    EXPECT_FALSE(s.playCheckedEnabled);
    c.favoriteSelected = true;
    EXPECT_TRUE(PopupMenuRules(c).infoEnabled);

    c = {};
    c.list = PopupList::SongsList;
    c.selected = ItemKind::Video;
    c.checkedCount = 1;
    s = PopupMenuRules(c);
    EXPECT_TRUE(s.playEntriesVisible);
    EXPECT_TRUE(s.saveAsVisible);  // a video can be saved
    EXPECT_FALSE(s.infoEnabled);   // but has no tags
    EXPECT_TRUE(s.playCheckedEnabled);
    c.selected = ItemKind::Other;
    EXPECT_FALSE(PopupMenuRules(c).saveAsVisible);

    c = {};
    c.list = PopupList::Tree;
    c.underPopup = ItemKind::Other;  // a folder
    c.diskHasTexts = true;
    s = PopupMenuRules(c);
    EXPECT_TRUE(s.playEntriesVisible);
    EXPECT_FALSE(s.saveAsVisible);
    EXPECT_TRUE(s.textVisible);
    EXPECT_FALSE(s.slideVisible);
    c.underPopup = ItemKind::Song;
    EXPECT_TRUE(PopupMenuRules(c).saveAsVisible);
}

TEST(PageRules, ClickingTheCurrentPageAgainDoesNothingExceptSeveralInformationPages) {
    EXPECT_TRUE(DecidePageClick(kPageList, kPageList, 3).nothing);
    EXPECT_TRUE(DecidePageClick(kPageInform, kPageInform, 1).nothing);
    PageClick again = DecidePageClick(kPageInform, kPageInform, 2);
    EXPECT_FALSE(again.nothing);
    EXPECT_TRUE(again.popupInformMenu);
    EXPECT_FALSE(again.infoButtonsUp);
    PageClick menu = DecidePageClick(kPageList, kPageInform, 2);
    EXPECT_TRUE(menu.popupInformMenu && menu.infoButtonsUp);
    EXPECT_FALSE(menu.becomeCurrent || menu.showPanels);  // the page opens from its menu
    PageClick one = DecidePageClick(kPageList, kPageInform, 1);
    EXPECT_TRUE(one.becomeCurrent && one.showPanels && !one.popupInformMenu);
    PageClick slides = DecidePageClick(kPageList, kPageSlides, 0);
    EXPECT_TRUE(slides.becomeCurrent && slides.showPanels);
}

TEST(PageRules, FavouritesPanelTakesItsWidthFromTheLists) {
    AlignLayout layout;
    int lists = layout.Add(AlignLayout::kRoot, "ClientPanel", Align::Client);
    int panel = layout.Add(lists, "FavoriPanel", Align::Right, 110);
    layout.Add(lists, "Splitter2", Align::Right, 3);
    int left = layout.Add(lists, "LeftPanel", Align::Client);
    layout.SetVisible(panel, false);
    layout.SetVisible(layout.Find("Splitter2"), false);
    FavoritesPanelLayout fav(layout);
    layout.Arrange(600, 400);
    EXPECT_FALSE(fav.Shown());
    EXPECT_EQ(layout.Bounds(left).Width(), 600);
    fav.Show(true, 150);
    layout.Arrange(600, 400);
    EXPECT_TRUE(fav.Shown());
    EXPECT_EQ(layout.Bounds(panel).Width(), 150);
    EXPECT_EQ(layout.Bounds(left).Width(), 600 - 150 - 3);
    fav.Show(false, 0);
    layout.Arrange(600, 400);
    EXPECT_EQ(layout.Bounds(left).Width(), 600);
    EXPECT_EQ(fav.Width(), 150);  // kept for the next showing
}

TEST(Deployment, BuiltInTextsUnlessTheSettingsFileNamesOthers) {
    app::MemoryProfileStore ini;
    Deployment d = ReadDeployment(ini);
    EXPECT_FALSE(d.banner1.empty());
    EXPECT_FALSE(d.banner2.empty());
    EXPECT_NE(d.banner1, d.banner2);
    ini.Write(u"Deployment", u"Banner2", u"http://example.org/new");
    ini.Write(u"deployment", u"homepage", u"http://example.org/");
    ini.Write(u"Deployment", u"EMail", u"");  // empty keeps the built-in one
    Deployment o = ReadDeployment(ini);
    EXPECT_EQ(o.banner1, d.banner1);
    EXPECT_EQ(o.banner2, u"http://example.org/new");
    EXPECT_EQ(o.homePage, u"http://example.org/");
    EXPECT_EQ(o.email, d.email);
}

TEST(Deployment, MemoryInKilobytesWithThousandsSeparators) {
    EXPECT_EQ(GroupThousands(0, u","), u"0");
    EXPECT_EQ(GroupThousands(999, u","), u"999");
    EXPECT_EQ(GroupThousands(1000, u","), u"1,000");
    EXPECT_EQ(GroupThousands(1234567, u"\u00a0"), u"1\u00a0234\u00a0567");
    // More than 4 GB: the figures are not capped.
    EXPECT_EQ(KilobytesText(17179869184ull, u","), u"16,777,216 KB");
    EXPECT_EQ(KilobytesText(1023, u","), u"0 KB");
}

}  // namespace
}  // namespace qlm
