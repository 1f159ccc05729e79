#include "favorites/favorites_session.h"

#include <algorithm>

namespace qlm::fav {
namespace {

std::u16string FolderOf(const std::u16string& file) {
    const auto cut = file.find_last_of(u"\\/");
    return cut == std::u16string::npos ? std::u16string() : file.substr(0, cut + 1);
}

void CollectSongs(TRDataNode* node, std::vector<TRDataNode*>& out) {
    if (node->IsSong()) out.push_back(node);
    for (TRDataNode* child : node->Children) CollectSongs(child, out);
}

}  // namespace

std::vector<TRDataNode*> SongsUnder(TRDataNode* node) {
    std::vector<TRDataNode*> out;
    if (node) CollectSongs(node, out);
    return out;
}

void FavoritesSession::StartUp(app::ProfileStore& ini, const std::u16string& installedProgramPath) {
    file_.clear();
    if (installedProgramPath.empty() || !files_.Exists(installedProgramPath)) return;
    file_ = FolderOf(installedProgramPath) + u"favorites.dat";
    ImportFromSettings(ini, files_, file_);
}

void FavoritesSession::Load(app::ProfileStore& ini, const Catalogue& cat) {
    Empty();
    if (InInstallFolder())
        LoadFavorites(files_, file_, cat.settings.DiskIdentifier, 0, cat, items_);
    else
        LoadFavoritesFromSettings(ini, cat, cat.DiskText(cat.settings.DiskIdentifier), {}, settingsList_, items_);
}

SaveOutcome FavoritesSession::Save(app::ProfileStore& ini, const Catalogue& cat) {
    if (!modified_) return SaveOutcome::Unchanged;
    SaveOutcome outcome = SaveOutcome::Written;
    if (InInstallFolder())
        outcome = SaveFavorites(files_, file_, cat.settings.DiskIdentifier, 0, items_);
    else
        SaveFavoritesToSettings(ini, cat, cat.DiskText(cat.settings.DiskIdentifier), settingsList_, items_);
    // A store that refused or failed keeps the flag: a later save tries again.
    if (outcome == SaveOutcome::Written || outcome == SaveOutcome::Unchanged) modified_ = false;
    return outcome;
}

void FavoritesSession::Empty() {
    items_.clear();
    settingsList_ = {};
    modified_ = false;
    playing_ = -1;
}

bool FavoritesSession::Contains(const TRDataNode* song) const {
    return std::any_of(items_.begin(), items_.end(), [&](const FavoriteItem& i) { return i.song == song; });
}

size_t FavoritesSession::Add(const Catalogue& cat, const std::vector<TRDataNode*>& songs) {
    size_t added = 0;
    for (TRDataNode* song : songs) {
        if (!song || !song->IsSong() || Contains(song)) continue;
        items_.push_back({song, LoadedCaption(cat, *song)});
        ++added;
    }
    if (added) modified_ = true;
    return added;
}

bool FavoritesSession::Move(int from, int target) {
    const int n = static_cast<int>(items_.size());
    if (from < 0 || from >= n || target < 0 || target >= n || target == from || target == from + 1) return false;
    FavoriteItem item = items_[static_cast<size_t>(from)];
    items_.insert(items_.begin() + target, item);
    const int old = target < from ? from + 1 : from;
    items_.erase(items_.begin() + old);
    const int now = target < from ? target : target - 1;
    if (playing_ == from) playing_ = now;
    else if (playing_ >= 0) {
        // Items between the two places shift by one.
        if (from < playing_ && playing_ <= now) --playing_;
        else if (now <= playing_ && playing_ < from) ++playing_;
    }
    modified_ = true;
    return true;
}

void FavoritesSession::Remove(std::vector<int> indices) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    int removedBeforePlaying = 0;
    for (auto it = indices.rbegin(); it != indices.rend(); ++it) {
        const int i = *it;
        if (i < 0 || static_cast<size_t>(i) >= items_.size()) continue;
        items_.erase(items_.begin() + i);
        modified_ = true;
        if (i == playing_) playing_ = -1;
        else if (playing_ >= 0 && i < playing_) ++removedBeforePlaying;
    }
    if (playing_ >= 0) playing_ -= removedBeforePlaying;
}

void FavoritesSession::Clear() {
    if (items_.empty()) return;
    items_.clear();
    playing_ = -1;
    modified_ = true;
}

void FavoritesSession::RefreshCaptions(const Catalogue& cat) {
    for (FavoriteItem& item : items_)
        if (item.song) item.caption = LoadedCaption(cat, *item.song);
}

}  // namespace qlm::fav
