// The favourites of the loaded disk without any window: the items, the
// modified flag, the playing item, the list edits the user makes, and which
// store they come from and go back to.
#pragma once

#include <string>
#include <vector>

#include "app/settings_profile.h"
#include "favorites/favorites_store.h"

namespace qlm::fav {

class FavoritesSession {
public:
    explicit FavoritesSession(FavoritesFiles& files) : files_(files) {}

    // The store of this run: favorites.dat in the folder of the installed
    // program when that program file exists, otherwise the settings file.
    // With favorites.dat the settings' lists are imported into it first.
    void StartUp(app::ProfileStore& ini, const std::u16string& installedProgramPath);
    bool InInstallFolder() const { return !file_.empty(); }
    const std::u16string& File() const { return file_; }

    // Empties the list and loads the disk's list (named by its identifier).
    void Load(app::ProfileStore& ini, const Catalogue& cat);
    // Writes the list back when it was changed since it was loaded.
    SaveOutcome Save(app::ProfileStore& ini, const Catalogue& cat);
    // Before the catalogue goes: no item may outlive its song.
    void Empty();

    const FavoritesItems& Items() const { return items_; }
    bool Modified() const { return modified_; }
    int Playing() const { return playing_; }
    void SetPlaying(int index) { playing_ = index >= 0 && static_cast<size_t>(index) < items_.size() ? index : -1; }

    bool Contains(const TRDataNode* song) const;
    // Appends the songs not yet in the list; answers how many were added.
    size_t Add(const Catalogue& cat, const std::vector<TRDataNode*>& songs);
    // Moves item `from` in front of item `target` (-1: no target). Nothing
    // happens when the target is the item itself or the one right after it.
    bool Move(int from, int target);
    // Removes the items at these indices.
    void Remove(std::vector<int> indices);
    void Clear();
    // Captions again in the current language.
    void RefreshCaptions(const Catalogue& cat);

private:
    FavoritesFiles& files_;
    std::u16string file_;
    SettingsList settingsList_;
    FavoritesItems items_;
    bool modified_ = false;
    int playing_ = -1;
};

// The songs an add takes from a tree node: the node itself when it is a
// song, else every song below it, depth-first in tree order.
std::vector<TRDataNode*> SongsUnder(TRDataNode* node);

}  // namespace qlm::fav
