// Load time and memory of a large disk description, in both forms.
//
//   load_bench generate DIR [SONGS FOLDERS]   writes DIR/packed/qlm.cfg and DIR/record/qlm.cfg
//   load_bench load DISKDIR [RUNS]            loads it RUNS times (default 31) and prints
//                                             the median, min and max time and the memory
//
// "load" is LoadDiskDescription from reading the file through the song index
// and the after-loading steps; process start is not included. Memory is the
// process's peak working set (VmHWM natively) and its growth over the loads.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#endif
#include <fstream>

#include "base/file_path.h"
#include "base/text_codec.h"
#include "base/utf8_main.h"
#include "content/disk_loader.h"
#include "qlmdisk/manifest.h"

using namespace qlm;

namespace {

struct Memory {
    double peakMb = 0, currentMb = 0;
};

Memory ReadMemory() {
    Memory m;
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc)) {
        m.peakMb = pmc.PeakWorkingSetSize / 1048576.0;
        m.currentMb = pmc.WorkingSetSize / 1048576.0;
    }
#else
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        double kb;
        if (key == "VmHWM:" && status >> kb) m.peakMb = kb / 1024;
        else if (key == "VmRSS:" && status >> kb) m.currentMb = kb / 1024;
    }
#endif
    return m;
}

std::u16string ArgPath(const std::string& arg) {
#ifdef _WIN32
    return Utf8ToUtf16(arg);
#else
    return Utf8ToUtf16(std::filesystem::absolute(arg).string());
#endif
}

disk::DiskManifest MakeManifest(bool packed, int songs, int folders) {
    disk::DiskManifest m;
    m.form = packed ? disk::DiskManifest::Form::Packed : disk::DiskManifest::Form::Record;
    m.settings.DiskIdentifier = "BENCH-10000";
    m.settings.DiskTitle = "Большой сборник MP3";
    m.settings.NumberSongs = true;
    if (packed) {
        m.settings.TagsInFile = true;
        m.settings.TagFieldsAvailable = 0x1F;
        m.settings.TagFieldsShown = 0x03;
    }
    const int perFolder = (songs + folders - 1) / folders;
    int made = 0;
    for (int f = 0; f < folders && made < songs; ++f) {
        disk::ManifestNode folder;
        folder.kind = kKindFolder;
        folder.name = "Исполнитель " + std::to_string(f + 1) + " - Альбом лучших песен";
        folder.path = "Artist" + std::to_string(f + 1);
        for (int s = 0; s < perFolder && made < songs; ++s, ++made) {
            disk::ManifestNode song;
            song.kind = kKindSong;
            song.name = "Песня номер " + std::to_string(s + 1) + " из альбома";
            song.path = folder.path + "\\" + std::to_string(s + 1) + " - Song title number " + std::to_string(made) + ".mp3";
            if (packed) {
                song.hasTags = true;
                song.tags[2 * kComposer] = "Композитор " + std::to_string(f);
                song.tags[2 * kArtist] = "Исполнитель " + std::to_string(f + 1);
                song.tags[2 * kAlbum] = "Альбом лучших песен";
                song.tags[2 * kYear] = "1999";
                song.tags[2 * kGenre] = "Поп";
            }
            folder.children.push_back(std::move(song));
        }
        m.tree.push_back(std::move(folder));
    }
    return m;
}

int Generate(const std::string& dir, int songs, int folders) {
    for (bool packed : {true, false}) {
        std::string bytes, error;
        if (!disk::WriteDescription(MakeManifest(packed, songs, folders), bytes, error)) {
            std::fprintf(stderr, "load_bench: %s\n", error.c_str());
            return 1;
        }
        const std::u16string root = WithTrailingBackslash(ArgPath(dir)) + (packed ? u"packed\\" : u"record\\");
        std::error_code ec;
        std::filesystem::create_directories(FsPath(root), ec);
        std::ofstream out(FsPath(root + u"qlm.cfg"), std::ios::binary);
        if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
            std::fprintf(stderr, "load_bench: cannot write %s\n", Utf16ToUtf8(root).c_str());
            return 1;
        }
        std::printf("%s: %zu bytes, %d songs in %d folders\n", Utf16ToUtf8(root).c_str(), bytes.size(), songs, folders);
    }
    return 0;
}

int Load(const std::string& dir, int runs) {
    LoadOptions options;
    options.root = WithTrailingBackslash(ArgPath(dir));
    const Memory before = ReadMemory();
    std::vector<double> ms;
    size_t nodes = 0;
    bool packed = false;
    {
        Catalogue catalogue;
        for (int i = 0; i < runs + 1; ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            const LoadResult r = LoadDiskDescription(catalogue, options);
            const auto t1 = std::chrono::steady_clock::now();
            if (r.outcome != LoadOutcome::Loaded || r.formatError) {
                std::fprintf(stderr, "load_bench: %s did not load\n", dir.c_str());
                return 1;
            }
            nodes = catalogue.NodeCount();
            packed = r.packed;
            if (i > 0) ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());  // the first warms up
        }
    }
    const Memory after = ReadMemory();
    std::sort(ms.begin(), ms.end());
    std::printf("%s form, %zu nodes, %d loads: median %.2f ms (min %.2f, max %.2f); "
                "peak working set %.1f MB, %.1f MB above the %.1f MB before loading\n",
                packed ? "packed" : "record", nodes, runs, ms[ms.size() / 2], ms.front(), ms.back(), after.peakMb,
                after.peakMb - before.currentMb, before.currentMb);
    return 0;
}

int Usage() {
    std::fprintf(stderr, "usage: load_bench generate DIR [SONGS FOLDERS] | load_bench load DISKDIR [RUNS]\n");
    return 2;
}

int Main(const std::vector<std::string>& args) {
    if (args.size() >= 2 && args[0] == "generate") {
        const int songs = args.size() > 2 ? std::atoi(args[2].c_str()) : 10000;
        const int folders = args.size() > 3 ? std::atoi(args[3].c_str()) : 500;
        if (songs <= 0 || folders <= 0) return Usage();
        return Generate(args[1], songs, folders);
    }
    if (args.size() >= 2 && args[0] == "load") {
        const int runs = args.size() > 2 ? std::atoi(args[2].c_str()) : 31;
        if (runs <= 0) return Usage();
        return Load(args[1], runs);
    }
    return Usage();
}

}  // namespace

int Utf8Main(const std::vector<std::string>& args) { return Main(args); }
