// Load and save of one disk's favourites in a store that holds many disks.
//
//   favorites_bench DIR [RUNS]
//
// Writes DIR/favorites.dat with the lists of 100 disks (30 songs each) and a
// list of 1,000 songs of a 10,000-song disk, then loads that list RUNS times
// (default 31) and saves it RUNS times with one song moved each time (so every
// save writes), and prints the medians. A load is LoadFavorites from opening
// the file to the finished list; a save is SaveFavorites from reading the old
// file to the new one flushed and in place.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_path.h"
#include "base/text_codec.h"
#include "base/utf8_main.h"
#include "favorites/favorites_store.h"

using namespace qlm;
using namespace qlm::fav;

namespace {

void FillDisk(Catalogue& cat, int songs, int perFolder) {
    cat.root = u"D:\\";
    TRDataNode* folder = nullptr;
    for (int i = 0; i < songs; ++i) {
        char path[64];
        if (i % perFolder == 0) {
            TRDataNode f;
            std::snprintf(path, sizeof path, "Album %03d", i / perFolder);
            f.Name = path;
            f.Path = path;
            folder = &cat.AddNode(nullptr, Placement::LastRoot, std::move(f));
        }
        TRDataNode s;
        s.Kind = kKindSong;
        std::snprintf(path, sizeof path, "Album %03d\\%02d - Song number %05d.mp3", i / perFolder, i % perFolder, i);
        s.Path = path;
        s.Name = path + 13;
        cat.IndexSong(cat.AddNode(folder, Placement::LastChild, std::move(s)));
    }
}

double Ms(std::chrono::steady_clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%s: median %.2f ms (min %.2f, max %.2f) over %zu runs\n", what, ms[ms.size() / 2], ms.front(),
                ms.back(), ms.size());
}

std::u16string ArgPath(const std::string& arg) {
#ifdef _WIN32
    return Utf8ToUtf16(arg);
#else
    return Utf8ToUtf16(std::filesystem::absolute(arg).string());
#endif
}

}  // namespace

int Utf8Main(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fprintf(stderr, "usage: favorites_bench DIR [RUNS]\n");
        return 2;
    }
    const int runs = args.size() > 1 ? std::max(1, std::atoi(args[1].c_str())) : 31;
    std::error_code ec;
    std::filesystem::create_directories(FsPath(ArgPath(args[0])), ec);
    const std::u16string path = WithTrailingBackslash(ArgPath(args[0])) + u"favorites.dat";
    std::filesystem::remove(FsPath(path), ec);

    Catalogue small, big;
    FillDisk(small, 300, 15);
    FillDisk(big, 10000, 20);
    std::vector<TRDataNode*> smallSongs;
    small.ForEachSong([&](TRDataNode& s) { smallSongs.push_back(&s); });
    FavoritesFiles files;
    for (int d = 0; d < 100; ++d) {
        FavoritesItems items;
        for (int i = 0; i < 30; ++i) items.push_back({smallSongs[static_cast<size_t>(d * 3 + i) % smallSongs.size()], u""});
        char name[32];
        std::snprintf(name, sizeof name, "DISK-%03d", d);
        if (SaveFavorites(files, path, name, 0, items) != SaveOutcome::Written) {
            std::fprintf(stderr, "favorites_bench: cannot write %s\n", Utf16ToUtf8(path).c_str());
            return 1;
        }
    }
    FavoritesItems list;
    for (int i = 0; list.size() < 1000; i += 7) {
        TRDataNode* s = big.Node(i % static_cast<int>(big.NodeCount()));
        if (s && s->IsSong() && std::none_of(list.begin(), list.end(), [&](auto& x) { return x.song == s; }))
            list.push_back({s, u""});
    }
    if (SaveFavorites(files, path, "BENCH-10000", 0, list) != SaveOutcome::Written) return 1;
    std::string bytes;
    files.Read(path, bytes);
    std::printf("%s: %zu bytes, 101 lists\n", Utf16ToUtf8(path).c_str(), bytes.size());

    std::vector<double> loads, saves;
    for (int r = 0; r < runs; ++r) {
        FavoritesItems items;
        const auto t0 = std::chrono::steady_clock::now();
        LoadFavorites(files, path, "BENCH-10000", 0, big, items);
        loads.push_back(Ms(std::chrono::steady_clock::now() - t0));
        if (items.size() != 1000) {
            std::fprintf(stderr, "favorites_bench: loaded %zu songs, not 1000\n", items.size());
            return 1;
        }
        std::rotate(items.begin(), items.begin() + 1, items.end());
        const auto t1 = std::chrono::steady_clock::now();
        const SaveOutcome o = SaveFavorites(files, path, "BENCH-10000", 0, items);
        saves.push_back(Ms(std::chrono::steady_clock::now() - t1));
        if (o != SaveOutcome::Written) return 1;
    }
    Report("load of 1000 songs", loads);
    Report("save of 1000 songs", saves);
    return 0;
}
