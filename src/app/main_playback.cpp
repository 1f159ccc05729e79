// The main window's wiring of playback: the play commands and the player
// panel are filled from the window's lists and bound to its command table.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "app/app_state.h"
#include "app/main_form.h"
#include "app/main_ui.h"
#include "app/message_box.h"
#include "content/catalogue.h"
#include "lang/language.h"
#include "playback/winamp_control.h"

namespace qlm {

namespace {

bool FileThere(const std::u16string& f) {
    std::wstring w = win::Wide(f);
    const DWORD a = GetFileAttributesW(w.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Lets the window paint while a long play list is built, at most every 100 ms;
// only paint messages, so no command can start in the middle of the build.
void KeepPainting() {
    static DWORD last = 0;
    const DWORD now = GetTickCount();
    if (now - last < 100) return;
    last = now;
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the system sees us answering
    while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&msg);
}

const TRDataNode* NodeOfItem(HWND tree, HTREEITEM item) {
    if (!tree || !item) return nullptr;
    TVITEMW it{};
    it.mask = TVIF_PARAM;
    it.hItem = item;
    if (!TreeView_GetItem(tree, &it)) return nullptr;
    return TheCatalogue().Node(static_cast<int32_t>(it.lParam));
}

}  // namespace

void TMainForm::CreatePlayback() {
    if (!players_) return;
    PlaySources src;
    src.selectedTreeNode = [this] {
        return browser_ ? browser_->SelectedNode() : NodeOfItem(tree_, tree_ ? TreeView_GetSelection(tree_) : nullptr);
    };
    src.selectedSongListItem = [this] {
        if (!browser_) return static_cast<const TRDataNode*>(nullptr);
        auto rows = browser_->SelectedListItems();
        return rows.empty() ? nullptr : rows.front();
    };
    // The favourites list: its items' stored paths and its selection.
    src.favorites.count = [this] { return favorites_ ? static_cast<int>(favorites_->Items().size()) : 0; };
    src.favorites.path = [this](int i) {
        if (!favorites_ || i < 0 || static_cast<size_t>(i) >= favorites_->Items().size()) return std::u16string();
        const TRDataNode* song = favorites_->Items()[static_cast<size_t>(i)].song;
        return song ? TheCatalogue().DiskText(song->Path) : std::u16string();
    };
    src.favorites.selected = [this] { return favorites_ ? favorites_->SelectedIndex() : -1; };
    src.lastEnteredList = [this] { return play_.LastEntered; };
    if (browser_) browser_->hooks.songListEntered = [this] { play_.LastEntered = PlayList::SongList; };
    if (favorites_) favorites_->On().entered = [this] { play_.LastEntered = PlayList::Favorites; };
    src.focusedList = [this] {
        HWND f = GetFocus();
        if (f && f == tree_) return PlayList::Tree;
        if (f && f == songsList_) return PlayList::SongList;
        if (f && f == favoritesList_) return PlayList::Favorites;
        return PlayList::None;
    };
    src.listVisible = [this](PlayList l) {
        HWND w = l == PlayList::SongList ? songsList_ : l == PlayList::Favorites ? favoritesList_ : tree_;
        return w && IsWindowVisible(w);
    };
    src.focusList = [this](PlayList l) {
        HWND w = l == PlayList::SongList ? songsList_ : l == PlayList::Favorites ? favoritesList_ : tree_;
        if (w) SetFocus(w);
    };
    src.lastPressOnTreeLabel = [this] {
        TVHITTESTINFO hit{};
        const DWORD pos = GetMessagePos();
        hit.pt = {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
        ScreenToClient(tree_, &hit.pt);
        return TreeView_HitTest(tree_, &hit) && (hit.flags & TVHT_ONITEMLABEL);
    };
    src.repaintList = [this](PlayList l) {
        if (l == PlayList::Tree && browser_) {
            browser_->UpdatePlayingMarkers(true);
            return;
        }
        HWND w = l == PlayList::Favorites ? favoritesList_ : tree_;
        if (w) InvalidateRect(w, nullptr, FALSE);
    };

    PlayHooks hooks;
    hooks.env.fileExists = FileThere;
    hooks.env.sleep = [](uint32_t ms) { Sleep(ms); };
    hooks.env.tickCount = [] { return static_cast<uint32_t>(GetTickCount()); };
    hooks.env.keepAlive = KeepPainting;
    hooks.closeVideo = [this] {
        if (videos_) videos_->CloseRunning();
    };
    hooks.playVideo = [this](const TRDataNode& node) {
        if (videos_) videos_->PlayVideo(TheCatalogue().VideoFile(node), true);
    };
    hooks.buttonsChanged = [this] { UpdatePlayCommandStates(); };
    hooks.refreshSoon = [this] {
        if (panel_) panel_->RequestLookup();
    };
    hooks.confirmOnlyWinamp = [] {
        const std::u16string buttons = lang::Text("Messages", "Yes") + u"\n" + lang::Text("Messages", "No");
        return ShowMessageBox(lang::Text("Messages", "InFutureYouWorkOnlyWinamp"), lang::Text("MainMsg", "Warning"),
                              kIconWarning, 0, buttons, "\x01\x02") == 1;
    };
    hooks.leaveToWinamp = [this] { LeaveToWinamp(); };
    hooks.winampWindowExists = [this] { return panel_ ? panel_->WinampWindowExists() : false; };
    hooks.activateMainWindow = [this] { SetForegroundWindow(hwnd()); };
    playCommands_ = std::make_unique<TPlayCommands>(play_, *players_, TheCatalogue(), src, hooks);
    playCommands_->Bind(commands_);
    // Enter or a double click in the favourites plays that item alone.
    if (favorites_) favorites_->On().playItem = [this](int) { playCommands_->PlayFromList(PlayList::Favorites, false); };
    if (browser_)
        browser_->hooks.playFromNode = [this](const TRDataNode&, bool fromSongList, bool byDoubleClick) {
            playCommands_->PlayFromList(fromSongList ? PlayList::SongList : PlayList::Tree, byDoubleClick);
        };

    PanelSources panelSrc;
    panelSrc.favoritesCount = src.favorites.count;
    panelSrc.favoritePath = src.favorites.path;
    panelSrc.favoriteCaption = [this](int i) {
        if (!favorites_ || i < 0 || static_cast<size_t>(i) >= favorites_->Items().size()) return std::u16string();
        return favorites_->Items()[static_cast<size_t>(i)].caption;
    };
    panelSrc.repaintList = src.repaintList;
    panelSrc.schemeChanged = [this](int scheme) { settings_.colorScheme = scheme; };
    panelSrc.schemeTargets.playerLeft = Image("PlayerLeftImage");
    panelSrc.schemeTargets.playerCenter = Image("PlayerCenterImage");
    panelSrc.schemeTargets.playerRight = Image("PlayerRightImage");
    panelSrc.schemeTargets.ldLogo = Image("LDLogo");
    panelSrc.schemeTargets.tlElt = Image("TLElt");
    panelSrc.schemeTargets.lWall = Image("LWall");
    panel_ = std::make_unique<TPlayerPanel>(play_, *players_, TheCatalogue(), *playCommands_, panelSrc);
    panel_->Create(buttonHost_, textFont_.get(), digitsFont_.get());
    SetTimer(hwnd(), TPlayerPanel::kTimer2, TPlayerPanel::kTimer2Interval, nullptr);

    VideoHooks vh;
    vh.fileExists = FileThere;
    vh.stopAudio = [this] {
        players_->Stop();
        play_.UserStopped = true;
    };
    vh.afterVideo = [this] {
        InvalidateRect(tree_, nullptr, FALSE);
        if (panel_) panel_->ClearLines();
    };
    vh.noPlayer = [] {
        ShowMessageBox(lang::Text("Messages", "DntAVIPlayer"), lang::Text("MainMsg", "Error"), kIconError, 0, u"OK",
                       "\x01");
    };
    videos_ = std::make_unique<TVideoPlayers>(vh);
    if (ui_) {
        // "Выбрать видеоплейер" lists the video programs; choosing one moves the check.
        MainSeams& seams = ui_->Seams();
        seams.videoPlayers = [this] { return videos_->Captions(); };
        seams.videoPlayerChosen = [this] { return videos_->IndexOfId(settings_.videoPlayerId); };
        seams.videoPlayersShown = [this] { return videos_->Shown(); };
        seams.videoPlayerChoose = [this](int position) {
            videos_->Choose(static_cast<size_t>(position));
            settings_.videoPlayerId = videos_->CurrentId();
            ui_->Menus().SetDynamicItems(DynamicMenu::VideoPlayers, videos_->Captions(), kVideoPlayerMenuFirst,
                                         videos_->CurrentIndex());
        };
    }
    LoadVideoPlayers();

    // The top bar's play and expand buttons run the same commands as the menus and keys.
    for (auto [name, id] : {std::pair{"PlayAllBtn", Cmd::PlayAll}, std::pair{"PlayCheckedBtn", Cmd::PlayChecked},
                            std::pair{"PlayFavoritBtn", Cmd::PlayFavorit}, std::pair{"ExpTreeBtn", Cmd::ExpandTree}})
        if (TImageButton* b = Image(name)) b->OnClick = [this, id](TImageButton&) { commands_.Run(id); };
    PlaybackResize();
}

void TMainForm::LoadVideoPlayers() {
    if (!videos_) return;
    videos_->CloseRunning();
    const Catalogue& cat = TheCatalogue();
    if (!cat.VideosPresent()) {
        videos_->Clear();
        return;
    }
    VideoPlayerLookup lookup;
    lookup.readLocalMachine = ReadLocalMachineString;
    lookup.fileExists = FileThere;
    lookup.diskRoot = App().diskRoot;
    lookup.installedProgramPath = App().installedProgramPath;
    lookup.defaultCaption = lang::Text("Messages", "UseDefault");
    videos_->Load(lookup, settings_.videoPlayerId);
    settings_.videoPlayerId = videos_->CurrentId();
    if (ui_) ui_->Menus().SetRuleEnabled("SelVideoPlayerMenuItem", videos_->MenuEnabled());
}

void TMainForm::PlaybackResize() {
    if (!panel_) return;
    const int p = layout_.Find("Panel1"), c = layout_.Find("PlayerCenterImage");
    if (p < 0 || c < 0) return;
    const LayoutRect& r = layout_.Bounds(p);
    panel_->Layout(RECT{r.left, r.top, r.right, r.bottom}, layout_.Bounds(c).Width());
}

void TMainForm::Timer2Timer() {
    if (panel_) panel_->Timer2Tick();
}

void TMainForm::LeaveToWinamp() {
    // Winamp plays on: the player is released without being stopped or hidden.
    leavingToWinamp_ = true;
    if (players_)
        if (auto* winamp = dynamic_cast<TWinampControl*>(players_->Current())) winamp->LeaveRunning();
    PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void TMainForm::LoadFirstLeafPlayList() {
    if (playCommands_) playCommands_->LoadStartupList();
}

void TMainForm::UpdatePlayCommandStates() {
    if (!playCommands_) return;
    for (const PlayButtonLook& look : playCommands_->ButtonLooks())
        if (TImageButton* b = Image(look.button)) SetButtonPicture(*b, look.pressed, false, false, !look.enabled);
}

}  // namespace qlm
