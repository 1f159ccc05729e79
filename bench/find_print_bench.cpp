// Find next and the print lines on a large disk.
//
//   find_print_bench DISKDIR [RUNS]
//
// DISKDIR holds a qlm.cfg (for example the packed disk of `load_bench generate`).
// Prints medians of RUNS runs (default 31) for: a list search that matches
// nothing (two full walks of the tree), a list search whose match is near the
// end, and building the print lines of every song (running and outline
// numbers). The song files are taken from the catalogue, so the disk needs no
// sound files; the drive scan is not part of the figures.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/file_path.h"
#include "base/text_codec.h"
#include "base/utf8_main.h"
#include "content/disk_loader.h"
#include "content/text_case.h"
#include "tools/find_engine.h"
#include "tools/find_text.h"
#include "tools/print_lines.h"

using namespace qlm;

namespace {

std::u16string ArgPath(const std::string& arg) {
#ifdef _WIN32
    return Utf8ToUtf16(arg);
#else
    return Utf8ToUtf16(std::filesystem::absolute(arg).string());
#endif
}

double Median(int runs, const std::function<void()>& f) {
    std::vector<double> ms;
    for (int i = 0; i <= runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        const auto t1 = std::chrono::steady_clock::now();
        if (i > 0) ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

int Main(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fprintf(stderr, "usage: find_print_bench DISKDIR [RUNS]\n");
        return 2;
    }
    const int runs = args.size() > 1 ? std::max(1, std::atoi(args[1].c_str())) : 31;
    Catalogue cat;
    LoadOptions options;
    options.root = WithTrailingBackslash(ArgPath(args[0]));
    if (LoadDiskDescription(cat, options).outcome != LoadOutcome::Loaded) {
        std::fprintf(stderr, "find_print_bench: %s did not load\n", args[0].c_str());
        return 1;
    }

    // The last song's caption, as the tree shows it, is the match near the end.
    const TRDataNode* last = nullptr;
    size_t songs = 0;
    cat.ForEachNode([&](const TRDataNode& n) {
        if (n.IsSong()) {
            last = &n;
            ++songs;
        }
    });
    if (!last) return 1;
    const std::u16string lastCaption = cat.NodeDisplayText(*last, true, false);

    int found = 0, notFound = 0;
    find::Ports ports;
    ports.selectNode = [&](const TRDataNode&) { ++found; };
    ports.message = [&](const std::u16string&) { ++notFound; };
    find::Engine engine(cat, ports);
    find::Options nothing;
    nothing.text = u"такого текста нет нигде";
    find::Options nearEnd;
    nearEnd.text = lastCaption;
    nearEnd.whole = true;

    // Warm: every press after the dialog was shown (showing it builds the
    // captions); cold: a press after a disk change while the dialog stayed open.
    auto press = [&](const find::Options& o, bool cold) {
        return Median(runs, [&] {
            if (cold) engine.CatalogueChanged();
            engine.Reset();
            engine.SetCursor(nullptr);
            engine.FindNext(o, nullptr);
        });
    };
    const double noMatchCold = press(nothing, true), noMatchMs = press(nothing, false);
    const double nearEndCold = press(nearEnd, true), nearEndMs = press(nearEnd, false);

    std::vector<std::u16string> files;
    cat.ForEachSong([&](const TRDataNode& s) { files.push_back(UpperCase(cat.SongFile(s))); });
    print::LineOptions running;
    print::LineOptions outline;
    outline.outline = true;
    outline.tags = print::kTagArtist | print::kTagAlbum;
    size_t lineCount = 0;
    const double runningMs = Median(runs, [&] { lineCount = print::BuildLines(cat, files, running).size(); });
    const double outlineMs = Median(runs, [&] { print::BuildLines(cat, files, outline); });

    std::printf("%zu nodes, %zu songs, %d runs (medians):\n", cat.NodeCount(), songs, runs);
    std::printf("  find next, no match (two walks):   %8.2f ms  (first press after a disk change %.2f ms)\n",
                noMatchMs, noMatchCold);
    std::printf("  find next, match near the end:     %8.2f ms  (first press after a disk change %.2f ms)\n",
                nearEndMs, nearEndCold);
    std::printf("  (%d no-match reports, %d matches)\n", notFound, found);
    std::printf("  print lines, running numbers:      %8.2f ms  (%zu lines)\n", runningMs, lineCount);
    std::printf("  print lines, outline with tags:    %8.2f ms\n", outlineMs);
    find::Engine shown(cat, {});
    std::printf("  showing the dialog (captions):     %8.2f ms\n", Median(runs, [&] {
                    shown.CatalogueChanged();
                    shown.PrepareCaptions();
                }));
    return 0;
}

}  // namespace

int Utf8Main(const std::vector<std::string>& args) { return Main(args); }
