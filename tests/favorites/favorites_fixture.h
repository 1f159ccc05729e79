// A catalogue of numbered songs for the favourites tests, and the lists made from it.
#pragma once

#include <cstdio>
#include <string>

#include "favorites/favorites_file.h"

namespace qlm::test {

// Song i has the 10-character path "R\NNNN.mp3" (24 bytes as a record) and
// the name "Song NNNN"; all songs sit in one folder, the first node.
inline std::string SongPath(int i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "R\\%04d.mp3", i);
    return buf;
}

inline void FillCatalogue(Catalogue& cat, int songs, int firstNumber = 0) {
    cat.root = u"D:\\Disk\\";
    TRDataNode folder;
    folder.Name = "Rock";
    folder.Path = "R";
    TRDataNode& f = cat.AddNode(nullptr, Placement::LastRoot, std::move(folder));
    for (int i = 0; i < songs; ++i) {
        TRDataNode song;
        song.Kind = kKindSong;
        song.Path = SongPath(firstNumber + i);
        song.Name = "Song " + song.Path.substr(2, 4);
        TRDataNode& s = cat.AddNode(&f, Placement::LastChild, std::move(song));
        cat.IndexSong(s);
    }
}

// The first `count` songs (from `from`) as a favourites list.
inline fav::FavoritesItems FirstSongs(Catalogue& cat, int count, int from = 0) {
    fav::FavoritesItems items;
    for (int i = from; i < from + count; ++i) {
        TRDataNode* n = cat.Node(i + 1);
        items.push_back({n, fav::LoadedCaption(cat, *n)});
    }
    return items;
}

inline std::vector<std::string> Paths(const fav::FavoritesItems& items) {
    std::vector<std::string> out;
    for (const auto& i : items) out.push_back(i.song->Path);
    return out;
}

}  // namespace qlm::test
