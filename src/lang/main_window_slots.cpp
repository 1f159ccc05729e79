#include "lang/main_window_slots.h"

namespace qlm::lang {
namespace {

constexpr SlotKind C = SlotKind::Caption;
constexpr SlotKind H = SlotKind::Hint;

constexpr ControlSlot kSlots[] = {
    {"MainMenu", "Start", C, {"MenuStart"}},
    {"MainMenu", "All", C, {"MenuPlayAll"}},
    {"MainMenu", "Disk", C, {"MenuPlayDisk"}},
    {"MainMenu", "Checked", C, {"MenuPlayChecked"}},
    {"MainMenu", "Favorit", C, {"MenuPlayFavorit"}},
    {"MainMenu", "Demo", C, {"MenuPlayDemo"}},
    {"MainMenu", "View", C, {"MenuView"}},
    {"MainMenu", "ShowWinamp", C, {"MenuShowWinamp"}},
    {"MainMenu", "MyFavorit", C, {"MenuShowFavorit"}},
    {"MainMenu", "SelectVP", C, {"SelVideoPlayerMenuItem"}},
    {"MainMenu", "SelectAP", C, {"SelectAudioPlayerMenuItem"}},
    {"MainMenu", "MPlayerInt", C, {"MediaplayerIntMenu"}},
    {"MainMenu", "BookMode", C, {"MenuBookMode"}},
    {"MainMenu", "HMode", C, {"MenuHorisontalBookMode"}},
    {"MainMenu", "VMode", C, {"MenuVerticalBookMode"}},
    {"MainMenu", "TextWindows", C, {"MenuTextWindow"}},
    {"MainMenu", "InMainWindow", C, {"MenuShowTextDock"}},
    {"MainMenu", "InOtherWindow", C, {"MenuShowTextWindow"}},
    {"MainMenu", "SlideShowMode", C, {"MenuSlideShowMode"}},
    {"MainMenu", "StepbyStep", C, {"MenuStepbySlideMode"}},
    {"MainMenu", "Random", C, {"MenuRandomSlideMode"}},
    {"MainMenu", "DelaySlideShow", C, {"MenuSpeedSlideShow"}},
    {"MainMenu", "Service", C, {"MenuService"}},
    {"MainMenu", "Help", C, {"MenuHelp"}},
    {"MainMenu", "OnlyWinamp", C, {"MenuOnlyWinamp"}},
    {"MainMenu", "ExpTree", C, {"MenuExpandTree"}},
    {"MainMenu", "Find", C, {"MenuFind"}},
    {"MainMenu", "Info", C, {"InfoMenu"}},
    {"MainMenu", "PlayAll", C, {"Playall1"}},
    {"MainMenu", "PlayFolder", C, {"Playtopic1"}},
    {"MainMenu", "PlayChecked", C, {"Playchecked1"}},
    {"MainMenu", "PlayFavorit", C, {"PlayFavori1"}},
    {"MainMenu", "PlayWithCurPos", C, {"BeginMenuItem"}},
    {"MainMenu", "SelectLanguage", C, {"SelectLanguage", "MenuLanguageSelect"}},
    {"MainMenu", "SelectFieldsShow", C, {"ListFieldsMenu", "ShowFieldsMainMenuItem"}},
    {"MainMenu", "Composer", C, {"ComposerListFields", "ShowComposerMainMenuItem"}},
    {"MainMenu", "Artist", C, {"ArtistListFields", "ShowArtistMainMenuItem"}},
    {"MainMenu", "Album", C, {"AlbumListFields", "ShowAlbumMainMenuItem"}},
    {"MainMenu", "Year", C, {"YearListFields", "ShowYearMainMenuItem"}},
    {"MainMenu", "Genre", C, {"GenreListFields", "ShowGenreMainMenuItem"}},
    {"MainMenu", "PrintListDisk", C, {"PrintMenu", "MenuPrintContent"}},
    {"MainMenu", "SaveAs", C, {"SaveAsMenu"}},
    {"MainMenu", "Texts", C, {"TextMenuItem"}},
    {"MainMenu", "Update", C, {"QLM1"}},
    {"Messages", "No", C, {"MenuNoneBookMode", "MenuNoText"}},

    {"MainButtons", "PlayAll", H, {"PlayAllBtn"}},
    {"MainButtons", "PlayChecked", H, {"PlayCheckedBtn"}},
    {"MainButtons", "PlayFavorit", H, {"PlayFavoritBtn"}},
    {"MainButtons", "Text", H, {"TextBtn"}},
    {"MainButtons", "ExpandTree", H, {"ExpTreeBtn"}},
    {"MainButtons", "Find", H, {"FindBtn"}},
    {"MainButtons", "ShowInfo", H, {"TextBtn"}},
    {"MainButtons", "MyFavorites", C, {"MyLoveBtn"}},

    {"Pages", "SlidePage", C, {"SlideMenuItem"}},
    {"Other", "SystemMenuAbout", C, {"MenuAbout"}},

    {"SlidePage", "PreviousBtn", H, {"PreviousBitBtn"}, true},
    {"SlidePage", "NextBtn", H, {"NextBitBtn"}, true},
    {"SlidePage", "EnableRandomMode", H, {"RandomBtn"}, true},
    {"SlidePage", "StepByStepMode", H, {"StepByBtn"}, true},
    {"SlidePage", "OnOffSlideModeBtn", H, {"PlayPicBtn", "StopPicBtn"}, true},
    {"SlidePage", "DelayBtn", H, {"MinusBtn", "PlusBtn", "SpinEdit1"}, true},
};

}  // namespace

std::span<const ControlSlot> MainWindowSlots() { return kSlots; }

}  // namespace qlm::lang
