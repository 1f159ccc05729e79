// The main window's menus wired to the parts: what the pop-up and the field
// menus ask of the catalogue browser and the favourites, and what a language
// switch redoes.
#include "app/main_form.h"
#include "app/main_ui.h"
#include "content/catalogue.h"

namespace qlm {

// What the menus ask of the catalogue browser.
void TMainForm::WireMainUi() {
    WirePages();
    MainSeams& seams = ui_->Seams();
    if (!browser_) return;
    // "Тексты" of the pop-up: the node under it, in the text window brought up.
    commands_.Bind(Cmd::TextMenuItem, [this] {
        if (const TRDataNode* node = browser_->PopupNode()) browser_->SelectNode(node);
        if (!form4_) return;
        if (form4_->Tag() == 0) form4_->SetTextWindowMode(form4_->Docked() ? 2 : 1);
        form4_->BringToFront();
    });
    seams.rebuildVisibleTree = [this] { browser_->RebuildVisibleTree(); };
    browser_->hooks.popupMenu = [this](HWND over, POINT screen) {
        ui_->ShowPopupMenu(browser_->IsTree(over) ? PopupList::Tree : PopupList::SongsList, screen);
    };
    seams.popupContext = [this](PopupList list) {
        auto kind = [](const TRDataNode* n) {
            if (!n) return ItemKind::None;
            return n->IsSong() ? ItemKind::Song : n->Kind == kKindVideo ? ItemKind::Video : ItemKind::Other;
        };
        PopupContext c;
        if (list == PopupList::Tree) c.underPopup = kind(browser_->PopupNode());
        if (list == PopupList::SongsList) {
            auto rows = browser_->SelectedListItems();
            c.selected = kind(rows.empty() ? nullptr : rows.front());
        }
        if (favorites_) {
            c.favoritesCount = static_cast<int>(favorites_->Items().size());
            c.favoriteSelected = list == PopupList::Favorites && favorites_->SelectedIndex() >= 0;
        }
        return c;
    };
    seams.refreshFieldEntries = [this] { ApplySongListFields(); };
    seams.refreshPlayChecked = [this] { UpdatePlayCommandStates(); };
    seams.favoritesLanguage = [this] { ShowFavoritesNames(); };
    // The playing song's title carries the shown tag fields and the names of the active language.
    browser_->hooks.titleStripChanged = [this] { ShowPlayingTitleAgain(); };
    auto previous = seams.languageChanged;
    seams.languageChanged = [this, previous](const std::u16string& languageId) {
        if (previous) previous(languageId);
        PassLanguageToTextWindow();
        ShowPlayingTitleAgain();
    };
}

// The field submenus of both menus and their entries as the disk's tags allow.
void TMainForm::ApplySongListFields() {
    if (!browser_ || !ui_) return;
    const browse::FieldMenuState s = browser_->FieldMenus();
    TMainMenus& m = ui_->Menus();
    for (const char* name : {"ShowFieldsMainMenuItem", "N5", "ListFieldsMenu"}) m.SetVisible(name, s.visible);
    const char* mainEntries[] = {"ShowComposerMainMenuItem", "ShowArtistMainMenuItem", "ShowAlbumMainMenuItem",
                                 "ShowYearMainMenuItem", "ShowGenreMainMenuItem"};
    const char* listEntries[] = {"ComposerListFields", "ArtistListFields", "AlbumListFields", "YearListFields",
                                 "GenreListFields"};
    for (size_t f = 0; f < s.entryVisible.size(); ++f) {
        m.SetVisible(mainEntries[f], s.entryVisible[f]);
        m.SetVisible(listEntries[f], s.entryVisible[f]);
    }
    DrawMenuBar(hwnd());
}
void TMainForm::ShowPlayingTitleAgain() {
    if (panel_) panel_->RefreshTitle();
}
}  // namespace qlm
