// The play commands of the main window: play all / disk / checked /
// favourites, playing one item from a list, the transport buttons, demo mode,
// the Winamp window entries, and the automatic advance when a song ended.
//
// Window-free: what the commands read of the lists comes through PlaySources
// (filled by the main window from the tree, the song list and the favourites
// list), and what they need of the window through PlayHooks.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/commands.h"
#include "content/catalogue.h"
#include "playback/play_queue.h"
#include "playback/play_state.h"
#include "playback/player_interface.h"

namespace qlm {

struct PlaySources {
    std::function<const TRDataNode*()> selectedTreeNode;
    std::function<const TRDataNode*()> selectedSongListItem;
    FavoritesSource favorites;
    // Of the song list and the favourites list, the one the user entered last.
    std::function<PlayList()> lastEnteredList;
    // The list with the keyboard focus (None when it is elsewhere).
    std::function<PlayList()> focusedList;
    std::function<bool(PlayList)> listVisible;
    std::function<void(PlayList)> focusList;
    // The tree's last mouse press landed on a node's label.
    std::function<bool()> lastPressOnTreeLabel;
    std::function<void(PlayList)> repaintList;
};

struct PlayHooks {
    QueueEnv env;
    std::function<void()> closeVideo;
    std::function<void(const TRDataNode&)> playVideo;
    // The play buttons' pressed looks or the demo mark changed.
    std::function<void()> buttonsChanged;
    // The current-song display looks again at the next timer tick.
    std::function<void()> refreshSoon;
    // "Оставить только Winamp": the question, then the exit that leaves Winamp playing.
    std::function<bool()> confirmOnlyWinamp;
    std::function<void()> leaveToWinamp;
    std::function<bool()> winampWindowExists;
    std::function<void()> activateMainWindow;
};

// How a play button of the top bar looks: drawn pressed, or passive (disabled).
struct PlayButtonLook {
    Cmd command;
    const char* button;  // PlayAllBtn, PlayCheckedBtn, PlayFavoritBtn
    bool pressed;
    bool enabled;
};

class TPlayCommands {
public:
    TPlayCommands(PlayState& state, TVNTPlayer& player, const Catalogue& catalogue, PlaySources sources,
                  PlayHooks hooks);

    // Binds the play commands, the transport keys and the Winamp entries.
    void Bind(CommandTable& table);

    bool CanPlay(Cmd kind) const;
    void PlayCommand(Cmd kind);
    void PlayFromList(PlayList list, bool byDoubleClick);
    void PlayButton();
    void PauseKey();
    void StopButton();
    void PreviousButton();
    void NextButton();
    void DemoButton();
    void ShowWinampWindow();
    void OnlyWinamp();

    // The end of a song in single-song mode: the next song of the catalogue
    // (or of the favourites list) plays. False when nothing was advanced.
    bool AdvanceAtEnd();
    // The play list after start-up and after a disk change (nothing plays).
    void LoadStartupList();
    void LoadDiskChangeList();

    // The play button drawn pressed (Cmd::None: none).
    Cmd PressedButton() const { return pressed_; }
    // The three buttons now: the one of the current play list stays pressed
    // while its mode lasts; play checked and play favourites are passive
    // while they have nothing to play.
    std::vector<PlayButtonLook> ButtonLooks() const;
    bool DemoMarked() const { return demoMarked_; }
    // The play mode whose menu items carry the check mark (-1: none).
    int CheckedMode() const { return checkedMode_; }
    bool WinampItemChecked() const { return winampChecked_; }

    PlayQueue& Queue() { return queue_; }

private:
    void Sleep(uint32_t ms) const;
    void SetPressed(Cmd button);
    void Refresh() const;
    void RepaintActive(ActiveListKind active) const;
    void PlaySingle(const std::u16string& file);
    const TRDataNode* TreeSelection() const;

    PlayState& state_;
    TVNTPlayer& player_;
    const Catalogue& catalogue_;
    PlaySources sources_;
    PlayHooks hooks_;
    PlayQueue queue_;
    Cmd pressed_ = Cmd::None;
    bool demoMarked_ = false;
    int checkedMode_ = -1;
    bool winampChecked_ = false;
};

}  // namespace qlm
