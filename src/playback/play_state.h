// The play state of the main window: how the current play list was made, what
// plays, where single-song stepping stands, and the checked-song count. One
// object, owned by the main window; the tree, the song list, the favourites
// list, the play commands and the player panel all read and write this one.
#pragma once

#include <cstdint>

namespace qlm {

struct TRDataNode;

// How the current play list was made (saved as PlayMode in the restart hand-over).
enum PlayModeValue : int32_t {
    kPlaySingleSong = 0,
    kPlayDisk = 1,
    kPlayAll = 2,
    kPlayChecked = 5,
    kPlayFavorites = 7,
    kPlayTextEntry = 8,
};

enum class ActiveListKind : uint8_t { Tree, Favorites };
// The lists a play starts from.
enum class PlayList { None, Tree, SongList, Favorites };

struct PlayState {
    int32_t PlayMode = kPlayDisk;
    ActiveListKind ActiveList = ActiveListKind::Tree;
    // The tree node or favourites item now playing (-1: none).
    const TRDataNode* PlayingNode = nullptr;
    int PlayingFavorite = -1;
    // Single-song stepping: a master-tree node, or an index into the favourites list.
    const TRDataNode* StepNode = nullptr;
    bool StepList = false;  // true: StepIndex is into the favourites list
    int StepIndex = -1;
    bool UserStopped = false;
    bool DemoMode = false;
    bool PlayFromPosition = false;  // "Играть с текущей позиции"
    // Of the song list and the favourites list, the one the user entered last.
    PlayList LastEntered = PlayList::None;
    // Number of checked songs; enables the play-checked commands.
    int CheckedCount = 0;

    // Clears what refers to the catalogue (before it is released).
    void ForgetCatalogue() {
        PlayingNode = nullptr;
        StepNode = nullptr;
        PlayingFavorite = -1;
        StepIndex = -1;
        StepList = false;
        CheckedCount = 0;
    }
};

}  // namespace qlm
