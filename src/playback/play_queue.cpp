#include "playback/play_queue.h"

#include "playback/play_state.h"

namespace qlm {

std::u16string FavoriteFileName(const std::u16string& diskRoot, const std::u16string& path) {
    if (path.size() >= 2 && path[1] == u':') return path;
    return diskRoot + u"Sound\\" + path;
}

PlayQueue::PlayQueue(TVNTPlayer& player, const Catalogue& catalogue, QueueEnv env)
    : player_(player), catalogue_(catalogue), env_(std::move(env)) {}

void PlayQueue::KeepAlive() {
    if (env_.keepAlive) env_.keepAlive();
}

bool PlayQueue::AddFileWaiting(const std::u16string& fileName) {
    const int32_t n = knownLength_ >= 0 ? knownLength_ : player_.GetListLength();
    if (env_.fileExists && !env_.fileExists(fileName)) return false;
    player_.AddFile(fileName);
    const uint32_t started = env_.tickCount ? env_.tickCount() : 0;
    for (;;) {
        if (player_.GetListLength() == n + 1) {
            knownLength_ = n + 1;
            ++added_;
            return true;
        }
        const uint32_t now = env_.tickCount ? env_.tickCount() : kAddFileBoundMs + 1;
        if (now - started > kAddFileBoundMs) break;
        if (env_.sleep) env_.sleep(kAddFilePollMs);
    }
    // The player's list is not what we think it is any more: ask again next time.
    knownLength_ = -1;
    return false;
}

const TRDataNode* FirstSibling(const Catalogue& catalogue, const TRDataNode& node) {
    const auto& sib = catalogue.Siblings(node);
    return sib.empty() ? nullptr : sib.front();
}

// Visits `start` and its following siblings. Reaching `mark` either ends the
// walk (stopAtMark) or starts collecting; songs are added while collecting
// (checked ones only, when asked); folders are walked into while descending.
// The flags are shared by every level of one walk.
void PlayQueue::Walk(const TRDataNode* start, bool checkedOnly, bool stopAtMark, const TRDataNode* mark,
                     WalkFlags& flags) {
    if (!start) return;
    const auto& siblings = catalogue_.Siblings(*start);
    for (size_t i = static_cast<size_t>(start->SiblingIndex); i < siblings.size(); ++i) {
        const TRDataNode* node = siblings[i];
        if (node == mark) {
            if (stopAtMark) {
                flags.stop = true;
                return;
            }
            flags.collecting = true;
        }
        if (node->Kind == kKindSong) {
            if (flags.collecting && (!checkedOnly || (node->Flags & kNodeChecked))) {
                AddFileWaiting(catalogue_.SongFile(*node));
                KeepAlive();
            }
        } else if (node->Kind == kKindFolder && flags.descend && !node->Children.empty()) {
            Walk(node->Children.front(), checkedOnly, stopAtMark, mark, flags);
        }
        if (flags.stop) return;
    }
}

int PlayQueue::BuildQueue(const TRDataNode* node, int32_t mode, bool fromPosition, const FavoritesSource* favorites) {
    added_ = 0;
    if (env_.sleep) env_.sleep(5);
    player_.ClearList();
    if (env_.sleep) env_.sleep(10);
    player_.Stop();
    knownLength_ = -1;
    if (mode == kPlayDisk || mode == kPlayAll || mode == kPlayChecked) {
        QueueCatalogue(node, mode, !fromPosition);
    } else if (mode == kPlayFavorites) {
        if (favorites) QueueFavorites(*favorites, fromPosition);
    } else if (node && node->Kind == kKindSong) {
        AddFileWaiting(catalogue_.SongFile(*node));
    }
    knownLength_ = -1;
    return added_;
}

void PlayQueue::QueueCatalogue(const TRDataNode* node, int32_t mode, bool fromStart) {
    if (!node) return;
    const TRDataNode* start = nullptr;
    const TRDataNode* mark = nullptr;
    WalkFlags flags;
    if (mode == kPlayDisk) {
        if (node->Kind == kKindFolder) {
            if (node->Children.empty()) return;
            start = node->Children.front();
            flags.collecting = true;
        } else if (node->Kind == kKindSong || node->Kind == kKindTextEntry) {
            flags.descend = node->Kind == kKindTextEntry;
            flags.collecting = true;
            if (fromStart) {
                start = FirstSibling(catalogue_, *node);
            } else {
                start = node;
                mark = node;
            }
        } else {
            return;
        }
    } else {
        start = catalogue_.FirstInTreeOrder();
        mark = node;
        flags.collecting = fromStart;
    }
    const bool checkedOnly = mode == kPlayChecked;
    Walk(start, checkedOnly, false, mark, flags);
    if (fromStart || !mark) return;
    // The songs before the mark, so the list wraps around to them.
    const TRDataNode* again = mode == kPlayDisk ? FirstSibling(catalogue_, *start) : catalogue_.FirstInTreeOrder();
    WalkFlags second;
    second.collecting = true;
    second.descend = flags.descend;
    Walk(again, checkedOnly, true, mark, second);
}

void PlayQueue::QueueFavorites(const FavoritesSource& favorites, bool fromPosition) {
    const int count = favorites.count ? favorites.count() : 0;
    int k = 0;
    if (fromPosition && favorites.selected) {
        const int s = favorites.selected();
        if (s >= 0 && s < count) k = s;
    }
    for (int j = 0; j < count; ++j) {
        const int i = (k + j) % count;
        AddFileWaiting(FavoriteFileName(catalogue_.root, favorites.path(i)));
        KeepAlive();
    }
}

TextEntrySongs SongsOfTextEntry(const Catalogue& catalogue, const TRDataNode& entry) {
    TextEntrySongs out;
    if (!entry.Text) return out;
    const TTTextNode& t = *entry.Text;
    if (t.Flags & TTTextNode::kHasLines) {
        for (size_t i = 0; i < t.Count && i < t.Lines.size(); ++i)
            out.files.push_back(catalogue.root + u"Sound\\" + catalogue.DiskText(t.Lines[i]));
        return out;
    }
    std::vector<const TRDataNode*> songs;
    for (const TRDataNode* n : catalogue.Siblings(entry))
        if (n->Kind == kKindSong) songs.push_back(n);
    for (size_t i = 0; i < t.Count && i < t.Values.size(); ++i) {
        const size_t at = t.Values[i];
        if (at >= songs.size()) continue;
        out.files.push_back(catalogue.SongFile(*songs[at]));
        if (!out.firstSong) out.firstSong = songs[at];
    }
    return out;
}

const TRDataNode* PreviousSongInLevel(const Catalogue& catalogue, const TRDataNode& node) {
    const auto& sib = catalogue.Siblings(node);
    for (int i = node.SiblingIndex - 1; i >= 0; --i)
        if (sib[static_cast<size_t>(i)]->Kind == kKindSong) return sib[static_cast<size_t>(i)];
    for (size_t i = sib.size(); i-- > 0;)
        if (sib[i]->Kind == kKindSong) return sib[i];
    return nullptr;
}

const TRDataNode* NextSongInLevel(const Catalogue& catalogue, const TRDataNode& node) {
    const auto& sib = catalogue.Siblings(node);
    for (size_t i = static_cast<size_t>(node.SiblingIndex) + 1; i < sib.size(); ++i)
        if (sib[i]->Kind == kKindSong) return sib[i];
    for (const TRDataNode* n : sib)
        if (n->Kind == kKindSong) return n;
    return nullptr;
}

const TRDataNode* NextSongInTreeOrder(const Catalogue& catalogue, const TRDataNode* node) {
    bool wrapped = false;
    const TRDataNode* n = node ? catalogue.NextInTreeOrder(node) : nullptr;
    for (;;) {
        if (!n) {
            if (wrapped) return nullptr;
            wrapped = true;
            n = catalogue.FirstInTreeOrder();
            if (!n) return nullptr;
        }
        if (n->Kind == kKindSong) return n;
        n = catalogue.NextInTreeOrder(n);
    }
}

int PreviousFavoriteIndex(int index, int count) {
    if (count <= 0) return -1;
    return index < 1 || index > count ? count - 1 : index - 1;
}

int NextFavoriteIndex(int index, int count) {
    if (count <= 0) return -1;
    return index + 1 >= count || index < 0 ? 0 : index + 1;
}

namespace {
const TRDataNode* DownToLeaf(const TRDataNode* n) {
    while (n && !n->Children.empty()) n = n->Children.front();
    return n;
}
}  // namespace

const TRDataNode* StartupLeaf(const Catalogue& catalogue) {
    for (const TRDataNode* root : catalogue.Roots())
        if (root->Kind != kKindTextEntry) return DownToLeaf(root);
    return nullptr;
}

const TRDataNode* FirstLeaf(const Catalogue& catalogue) { return DownToLeaf(catalogue.FirstInTreeOrder()); }

}  // namespace qlm
