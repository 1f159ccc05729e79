// The play queue: how a selection of the catalogue becomes the player's play
// list (the catalogue walk, the favourites walk, text entries), and what
// previous and next mean when one song plays at a time. Window-free: the
// player is a TVNTPlayer and time, sleeping and the file system come in
// through QueueEnv, so all of it is tested natively.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "content/catalogue.h"
#include "playback/player_interface.h"

namespace qlm {

struct QueueEnv {
    std::function<bool(const std::u16string&)> fileExists;
    std::function<void(uint32_t ms)> sleep;
    std::function<uint32_t()> tickCount;  // milliseconds, may wrap
    // Called between songs of a long queue so the window keeps painting.
    std::function<void()> keepAlive;
};

// The favourites list as the queue sees it.
struct FavoritesSource {
    std::function<int()> count;
    // The item's stored path: relative to Sound\, or a full name ("C:\...").
    std::function<std::u16string(int)> path;
    std::function<int()> selected;  // -1 when none
};

// A favourites item's full file name: a path with ':' as its second character
// is one already, any other lies under the disk's Sound folder.
std::u16string FavoriteFileName(const std::u16string& diskRoot, const std::u16string& path);

// A player's list waiting for a file: 0 ms, then every 10 ms, given up after 199 ms.
constexpr uint32_t kAddFilePollMs = 10;
constexpr uint32_t kAddFileBoundMs = 199;

class PlayQueue {
public:
    PlayQueue(TVNTPlayer& player, const Catalogue& catalogue, QueueEnv env);

    // Adds an existing file and waits until the player's list has grown by
    // one. False for a missing file or a player that did not take it in time.
    bool AddFileWaiting(const std::u16string& fileName);

    // Empties and stops the player, then fills the list for `mode` (nothing
    // plays yet). `node` is the start node; *from start* is !fromPosition.
    // Answers the number of songs the player took.
    int BuildQueue(const TRDataNode* node, int32_t mode, bool fromPosition, const FavoritesSource* favorites);

    // The walk of the catalogue: `start` and its following siblings; see the .cpp.
    struct WalkFlags {
        bool collecting = false;
        bool stop = false;
        bool descend = true;
    };
    void Walk(const TRDataNode* start, bool checkedOnly, bool stopAtMark, const TRDataNode* mark, WalkFlags& flags);

    int Added() const { return added_; }

private:
    void QueueCatalogue(const TRDataNode* node, int32_t mode, bool fromStart);
    void QueueFavorites(const FavoritesSource& favorites, bool fromPosition);
    void KeepAlive();

    TVNTPlayer& player_;
    const Catalogue& catalogue_;
    QueueEnv env_;
    int added_ = 0;
    // The list length after our last add, while nothing else changed it; saves
    // one round trip per song on a long queue.
    int32_t knownLength_ = -1;
};

// The first of `node`'s siblings (or of the root level).
const TRDataNode* FirstSibling(const Catalogue& catalogue, const TRDataNode& node);

// The songs of a text entry as full file names, and the first song node found
// (its step node; null when the entry names lines, not positions).
struct TextEntrySongs {
    std::vector<std::u16string> files;
    const TRDataNode* firstSong = nullptr;
};
TextEntrySongs SongsOfTextEntry(const Catalogue& catalogue, const TRDataNode& entry);

// Single-song stepping in the catalogue.
// The nearest earlier song of the level, else the level's last song (null: the level has none).
const TRDataNode* PreviousSongInLevel(const Catalogue& catalogue, const TRDataNode& node);
// The nearest later song of the level, else the level's first song.
const TRDataNode* NextSongInLevel(const Catalogue& catalogue, const TRDataNode& node);
// The next song in depth-first order, wrapping once to the first root node;
// null when the catalogue holds no song.
const TRDataNode* NextSongInTreeOrder(const Catalogue& catalogue, const TRDataNode* node);
// Previous and next in the favourites list, wrapping at both ends.
int PreviousFavoriteIndex(int index, int count);
int NextFavoriteIndex(int index, int count);

// The play list loaded at start-up: the first root node that is not a text
// entry, then its first children down to a leaf (null for an empty catalogue).
const TRDataNode* StartupLeaf(const Catalogue& catalogue);
// After a disk change: the first leaf below the first root node.
const TRDataNode* FirstLeaf(const Catalogue& catalogue);

}  // namespace qlm
