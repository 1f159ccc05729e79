#include "playback/play_commands.h"

namespace qlm {

namespace {

struct CommandRow {
    Cmd command;
    int32_t mode;
    ActiveListKind active;
    const char* button;  // null: no button
};

constexpr CommandRow kPlayCommands[] = {
    {Cmd::PlayAll, kPlayAll, ActiveListKind::Tree, "PlayAllBtn"},
    {Cmd::PlayDisk, kPlayDisk, ActiveListKind::Tree, nullptr},
    {Cmd::PlayChecked, kPlayChecked, ActiveListKind::Tree, "PlayCheckedBtn"},
    {Cmd::PlayFavorit, kPlayFavorites, ActiveListKind::Favorites, "PlayFavoritBtn"},
};

const CommandRow* RowOf(Cmd kind) {
    for (const auto& row : kPlayCommands)
        if (row.command == kind) return &row;
    return nullptr;
}

}  // namespace

TPlayCommands::TPlayCommands(PlayState& state, TVNTPlayer& player, const Catalogue& catalogue, PlaySources sources,
                             PlayHooks hooks)
    : state_(state),
      player_(player),
      catalogue_(catalogue),
      sources_(std::move(sources)),
      hooks_(std::move(hooks)),
      queue_(player, catalogue, hooks_.env) {}

void TPlayCommands::Sleep(uint32_t ms) const {
    if (hooks_.env.sleep) hooks_.env.sleep(ms);
}

void TPlayCommands::SetPressed(Cmd button) {
    pressed_ = button;
    if (hooks_.buttonsChanged) hooks_.buttonsChanged();
}

void TPlayCommands::Refresh() const {
    if (hooks_.refreshSoon) hooks_.refreshSoon();
}

void TPlayCommands::RepaintActive(ActiveListKind active) const {
    if (!sources_.repaintList) return;
    sources_.repaintList(active == ActiveListKind::Favorites ? PlayList::Favorites : PlayList::Tree);
}

const TRDataNode* TPlayCommands::TreeSelection() const {
    return sources_.selectedTreeNode ? sources_.selectedTreeNode() : nullptr;
}

void TPlayCommands::Bind(CommandTable& table) {
    for (const auto& row : kPlayCommands) {
        const Cmd id = row.command;
        table.Bind(
            id, [this, id] { PlayCommand(id); }, [this, id] { return CanPlay(id); },
            [this, mode = row.mode] { return checkedMode_ == mode; });
    }
    table.Bind(Cmd::PlayDemo, [this] { DemoButton(); }, {}, [this] { return demoMarked_; });
    table.Bind(Cmd::PlayFromPosition, [this] { state_.PlayFromPosition = !state_.PlayFromPosition; }, {},
               [this] { return state_.PlayFromPosition; });
    table.Bind(Cmd::PlayerPlay, [this] { PlayButton(); });
    table.Bind(Cmd::PlayerPause, [this] { PauseKey(); });
    table.Bind(Cmd::PlayerStop, [this] { StopButton(); });
    table.Bind(Cmd::PlayerPrevious, [this] { PreviousButton(); });
    table.Bind(Cmd::PlayerNext, [this] { NextButton(); });
    auto winampThere = [this] { return hooks_.winampWindowExists && hooks_.winampWindowExists(); };
    table.Bind(Cmd::ShowWinamp, [this] { ShowWinampWindow(); }, winampThere, [this] { return winampChecked_; });
    table.Bind(Cmd::OnlyWinamp, [this] { OnlyWinamp(); }, winampThere);
}

bool TPlayCommands::CanPlay(Cmd kind) const {
    if (kind == Cmd::PlayChecked) return state_.CheckedCount > 0;
    if (kind == Cmd::PlayFavorit) return sources_.favorites.count && sources_.favorites.count() > 0;
    return RowOf(kind) != nullptr;
}

std::vector<PlayButtonLook> TPlayCommands::ButtonLooks() const {
    std::vector<PlayButtonLook> looks;
    for (const auto& row : kPlayCommands) {
        if (!row.button) continue;
        // A disk change or a single song ends the mode; the button comes up with it.
        const bool pressed = pressed_ == row.command && state_.PlayMode == row.mode;
        looks.push_back({row.command, row.button, pressed, CanPlay(row.command)});
    }
    return looks;
}

void TPlayCommands::PlayCommand(Cmd kind) {
    const CommandRow* row = RowOf(kind);
    if (!row || !CanPlay(kind)) return;
    state_.DemoMode = false;
    if (hooks_.closeVideo) hooks_.closeVideo();
    SetPressed(row->button ? kind : Cmd::None);
    const ActiveListKind before = state_.ActiveList;
    state_.PlayMode = row->mode;
    state_.ActiveList = row->active;
    checkedMode_ = row->mode;
    state_.PlayingNode = nullptr;
    state_.PlayingFavorite = -1;

    const TRDataNode* start = TreeSelection();
    if (sources_.lastEnteredList && sources_.lastEnteredList() == PlayList::SongList) {
        state_.ActiveList = ActiveListKind::Tree;
        start = start && sources_.selectedSongListItem ? sources_.selectedSongListItem() : nullptr;
    }
    if (!start) return;

    state_.UserStopped = true;
    queue_.BuildQueue(start, state_.PlayMode, state_.PlayFromPosition, &sources_.favorites);
    Sleep(10);
    player_.Play();
    Refresh();
    RepaintActive(before);
}

void TPlayCommands::PlaySingle(const std::u16string& file) {
    player_.ClearList();
    player_.AddFile(file);
    player_.Play();
    Refresh();
}

void TPlayCommands::PlayFromList(PlayList list, bool byDoubleClick) {
    const TRDataNode* node = nullptr;
    int favorite = -1;
    switch (list) {
    case PlayList::Tree:
        node = TreeSelection();
        if (!node) return;
        if (byDoubleClick && sources_.lastPressOnTreeLabel && !sources_.lastPressOnTreeLabel()) return;
        if (node->Kind == kKindVideoFolder) return;
        break;
    case PlayList::SongList:
        node = sources_.selectedSongListItem ? sources_.selectedSongListItem() : nullptr;
        if (!node) return;
        break;
    case PlayList::Favorites:
        favorite = sources_.favorites.selected ? sources_.favorites.selected() : -1;
        if (favorite < 0 || !sources_.favorites.count || favorite >= sources_.favorites.count()) return;
        break;
    case PlayList::None:
        return;
    }
    // A folder or text item picked in the tree plays as its whole level.
    if (list == PlayList::Tree && (node->Kind == kKindFolder || node->Kind == kKindTextItem)) {
        PlayCommand(Cmd::PlayDisk);
        return;
    }

    if (hooks_.closeVideo) hooks_.closeVideo();
    SetPressed(Cmd::None);
    player_.ClearList();
    const ActiveListKind before = state_.ActiveList;
    state_.PlayingNode = nullptr;
    state_.PlayingFavorite = -1;
    RepaintActive(before);

    bool textEntry = false;
    const TRDataNode* textStep = nullptr;
    if (list == PlayList::Favorites) {
        state_.ActiveList = ActiveListKind::Favorites;
        player_.AddFile(FavoriteFileName(catalogue_.root, sources_.favorites.path(favorite)));
    } else {
        state_.ActiveList = ActiveListKind::Tree;
        switch (node->Kind) {
        case kKindVideo:
            if (hooks_.playVideo) hooks_.playVideo(*node);
            return;
        case kKindVideoFolder:
            break;
        case kKindTextEntry: {
            TextEntrySongs songs = SongsOfTextEntry(catalogue_, *node);
            for (const auto& file : songs.files) player_.AddFile(file);
            textStep = songs.firstSong;
            textEntry = true;
            break;
        }
        case kKindSong:
            player_.AddFile(catalogue_.SongFile(*node));
            break;
        case kKindFolder:
            // A folder of the song list plays as a disk of its own.
            state_.PlayMode = kPlayDisk;
            state_.UserStopped = true;
            queue_.BuildQueue(node, kPlayDisk, state_.PlayFromPosition, &sources_.favorites);
            state_.StepNode = node;
            state_.StepList = false;
            Sleep(10);
            player_.Play();
            checkedMode_ = kPlayDisk;
            if (hooks_.buttonsChanged) hooks_.buttonsChanged();
            Refresh();
            return;
        default:
            break;
        }
    }

    if (list == PlayList::Favorites) {
        state_.StepList = true;
        state_.StepIndex = favorite;
    } else {
        state_.StepList = false;
        state_.StepNode = node;
        if (list == PlayList::SongList) {
            const TRDataNode* tree = TreeSelection();
            if (tree && (tree->Kind == kKindSong || tree->Kind == kKindTextEntry || tree->Kind == kKindVideo))
                state_.StepNode = tree;
        }
        if (textStep) state_.StepNode = textStep;
    }
    state_.DemoMode = false;
    Sleep(10);
    player_.Play();
    state_.PlayMode = textEntry ? kPlayTextEntry : kPlaySingleSong;
    checkedMode_ = -1;
    demoMarked_ = false;
    if (hooks_.buttonsChanged) hooks_.buttonsChanged();
    Refresh();
}

void TPlayCommands::PlayButton() {
    const int32_t s = player_.GetState();
    if (s == kPlayerPlaying || s == kPlayerPaused) {
        player_.Pause();
        return;
    }
    PlayList focused = sources_.focusedList ? sources_.focusedList() : PlayList::None;
    if (focused == PlayList::Tree) {
        const TRDataNode* node = TreeSelection();
        if (!node) return;
        if (node->Kind == kKindFolder)
            PlayCommand(Cmd::PlayDisk);
        else
            PlayFromList(PlayList::Tree, false);
        return;
    }
    if (focused == PlayList::None) {
        focused = sources_.lastEnteredList ? sources_.lastEnteredList() : PlayList::None;
        if (focused == PlayList::None) focused = PlayList::Tree;
        if (sources_.listVisible && !sources_.listVisible(focused)) return;
        if (sources_.focusList) sources_.focusList(focused);
        if (focused == PlayList::Tree) {
            const TRDataNode* node = TreeSelection();
            if (node && node->Kind == kKindFolder) {
                PlayCommand(Cmd::PlayDisk);
                return;
            }
        }
    }
    PlayFromList(focused, false);
}

void TPlayCommands::PauseKey() {
    if (player_.GetState() == kPlayerPlaying) player_.Pause();
}

void TPlayCommands::StopButton() {
    state_.UserStopped = true;
    player_.Stop();
}

void TPlayCommands::PreviousButton() {
    if (state_.PlayMode != kPlaySingleSong) {
        player_.PrevTrack();
        return;
    }
    if (state_.StepList) {
        const int count = sources_.favorites.count ? sources_.favorites.count() : 0;
        const int i = PreviousFavoriteIndex(state_.StepIndex, count);
        if (i < 0) return;
        state_.StepIndex = i;
        PlaySingle(FavoriteFileName(catalogue_.root, sources_.favorites.path(i)));
        return;
    }
    if (!state_.StepNode) return;
    const TRDataNode* song = PreviousSongInLevel(catalogue_, *state_.StepNode);
    if (!song) return;
    state_.StepNode = song;
    PlaySingle(catalogue_.SongFile(*song));
}

void TPlayCommands::NextButton() {
    if (state_.PlayMode != kPlaySingleSong) {
        player_.NextTrack();
        return;
    }
    if (state_.StepList) {
        const int count = sources_.favorites.count ? sources_.favorites.count() : 0;
        const int i = NextFavoriteIndex(state_.StepIndex, count);
        if (i < 0) return;
        state_.StepIndex = i;
        PlaySingle(FavoriteFileName(catalogue_.root, sources_.favorites.path(i)));
        return;
    }
    if (!state_.StepNode) return;
    const TRDataNode* song = NextSongInLevel(catalogue_, *state_.StepNode);
    if (!song) return;
    state_.StepNode = song;
    PlaySingle(catalogue_.SongFile(*song));
}

bool TPlayCommands::AdvanceAtEnd() {
    if (state_.PlayMode != kPlaySingleSong || state_.UserStopped) return false;
    if (state_.StepList) {
        const int count = sources_.favorites.count ? sources_.favorites.count() : 0;
        const int i = NextFavoriteIndex(state_.StepIndex, count);
        if (i < 0) {
            state_.UserStopped = true;
            return false;
        }
        state_.StepIndex = i;
        PlaySingle(FavoriteFileName(catalogue_.root, sources_.favorites.path(i)));
        return true;
    }
    const TRDataNode* song = NextSongInTreeOrder(catalogue_, state_.StepNode);
    if (!song) {
        // Nothing to move on to: stay stopped instead of asking every tick.
        state_.UserStopped = true;
        return false;
    }
    state_.StepNode = song;
    PlaySingle(catalogue_.SongFile(*song));
    return true;
}

void TPlayCommands::DemoButton() {
    if (demoMarked_) {
        demoMarked_ = false;
        state_.DemoMode = false;
        if (hooks_.buttonsChanged) hooks_.buttonsChanged();
        player_.Stop();
        state_.UserStopped = true;
        return;
    }
    if (state_.PlayMode == kPlaySingleSong) {
        // The play command builds and starts the same list the demo would.
        const bool favorites = sources_.lastEnteredList && sources_.lastEnteredList() == PlayList::Favorites &&
                               CanPlay(Cmd::PlayFavorit);
        PlayCommand(favorites ? Cmd::PlayFavorit : Cmd::PlayDisk);
        demoMarked_ = true;
        state_.DemoMode = true;
        if (hooks_.buttonsChanged) hooks_.buttonsChanged();
        return;
    }
    demoMarked_ = true;
    state_.DemoMode = true;
    if (hooks_.buttonsChanged) hooks_.buttonsChanged();
    const TRDataNode* node = TreeSelection();
    if (!node && state_.PlayMode != kPlayFavorites) return;
    state_.UserStopped = true;
    queue_.BuildQueue(node, state_.PlayMode, state_.PlayFromPosition, &sources_.favorites);
    Sleep(10);
    player_.Play();
    Refresh();
}

void TPlayCommands::ShowWinampWindow() {
    winampChecked_ = !winampChecked_;
    player_.ShowPlayerWindow(kWinampPlayerId, winampChecked_ ? 4 : 0);
    if (hooks_.activateMainWindow) hooks_.activateMainWindow();
}

void TPlayCommands::OnlyWinamp() {
    if (hooks_.confirmOnlyWinamp && !hooks_.confirmOnlyWinamp()) return;
    if (!winampChecked_) player_.ShowPlayerWindow(kWinampPlayerId, 4);
    if (hooks_.leaveToWinamp) hooks_.leaveToWinamp();
}

void TPlayCommands::LoadStartupList() {
    const TRDataNode* leaf = StartupLeaf(catalogue_);
    if (!leaf) return;
    state_.UserStopped = true;
    queue_.BuildQueue(leaf, kPlayDisk, false, nullptr);
}

void TPlayCommands::LoadDiskChangeList() {
    const TRDataNode* leaf = FirstLeaf(catalogue_);
    state_.PlayMode = kPlayDisk;
    SetPressed(Cmd::None);
    if (!leaf) return;
    state_.UserStopped = true;
    queue_.BuildQueue(leaf, kPlayDisk, false, nullptr);
}

}  // namespace qlm
