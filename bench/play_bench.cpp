// Play all on a disk of many songs against the stand-in player: the time from
// the command to Play, beside the bare cost of the same number of AddFile +
// GetListLength round trips; and the player poll of one Timer1 tick.
//
//   play_bench WINAMP.EXE [SONGS]   (Windows / Wine; default 10000 songs)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "base/utf8_main.h"
#include "playback/play_commands.h"
#include "playback/winamp_control.h"
#include "win/window.h"

using namespace qlm;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int Utf8Main(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fprintf(stderr, "usage: play_bench WINAMP.EXE [SONGS]\n");
        return 2;
    }
    const int songs = args.size() > 1 ? std::stoi(args[1]) : 10000;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::u16string root = win::U16(temp) + u"qlm-play-bench\\";
    CreateDirectoryW(win::Wide(root).c_str(), nullptr);
    CreateDirectoryW(win::Wide(root + u"Sound").c_str(), nullptr);

    // 100 folders of songs; each file exists (a few bytes are enough to be added).
    Catalogue cat;
    cat.root = root;
    TRDataNode* folder = nullptr;
    for (int i = 0; i < songs; ++i) {
        if (i % 100 == 0) {
            TRDataNode f;
            f.Name = "f" + std::to_string(i / 100);
            folder = &cat.AddNode(nullptr, Placement::LastRoot, std::move(f));
            CreateDirectoryW(win::Wide(root + u"Sound\\" + Utf8ToUtf16(folder->Name)).c_str(), nullptr);
        }
        TRDataNode s;
        s.Kind = kKindSong;
        s.Name = "s" + std::to_string(i);
        s.Path = folder->Name + "\\s" + std::to_string(i) + ".mp3";
        TRDataNode& song = cat.AddNode(folder, Placement::LastChild, std::move(s));
        cat.IndexSong(song);
        const std::wstring file = win::Wide(cat.SongFile(song));
        if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
            HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
            if (h != INVALID_HANDLE_VALUE) {
                DWORD n = 0;
                WriteFile(h, "ID3", 3, &n, nullptr);
                CloseHandle(h);
            }
        }
    }
    std::fprintf(stderr, "disk ready\n");
    TWinampControl player(Utf8ToUtf16(args[0]), SW_HIDE);
    std::fprintf(stderr, "player ready\n");
    std::vector<std::u16string> files;
    cat.ForEachSong([&](TRDataNode& n) { files.push_back(cat.SongFile(n)); });

    std::vector<double> bare, queue;
    PlayState state;
    const TRDataNode* selected = nullptr;
    PlaySources src;
    src.selectedTreeNode = [&] { return selected; };
    PlayHooks hooks;
    hooks.env.fileExists = [](const std::u16string& f) {
        return GetFileAttributesW(win::Wide(f).c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    hooks.env.sleep = [](uint32_t ms) { Sleep(ms); };
    hooks.env.tickCount = [] { return static_cast<uint32_t>(GetTickCount()); };
    TPlayCommands commands(state, player, cat, src, hooks);
    selected = cat.Roots().front()->Children.front();
    for (int run = 0; run < 3; ++run) {  // medians of three runs
        player.ClearList();
        auto a = Clock::now();
        for (const auto& f : files) {
            player.AddFile(f);
            player.GetListLength();
        }
        auto b = Clock::now();
        bare.push_back(Ms(a, b));
        std::fprintf(stderr, "bare run %d: %.0f ms\n", run, bare.back());
        player.Stop();

        a = Clock::now();
        commands.PlayCommand(Cmd::PlayAll);
        b = Clock::now();
        queue.push_back(Ms(a, b));
        std::fprintf(stderr, "queue run %d: %.0f ms\n", run, queue.back());
        if (player.GetListLength() != songs) std::fprintf(stderr, "the list holds %d songs\n", player.GetListLength());
    }
    std::printf("songs %d\nbare AddFile+GetListLength: median %.0f ms\nplay all to Play: median %.0f ms (%.2f x bare)\n",
                songs, Median(bare), Median(queue), Median(queue) / std::max(1.0, Median(bare)));

    // The player poll of one Timer1 tick while a song plays: state, position,
    // every third tick the current file and its song-index look-up.
    player.Play();
    std::vector<double> tick;
    for (int i = 0; i < 300; ++i) {
        auto a = Clock::now();
        if (player.GetState() == kPlayerPlaying) {
            if (i % 3 == 0) {
                std::u16string file;
                player.GetCurrentFile(file);
                cat.FindSongByPath(file);
            }
            player.GetPosition();
        }
        tick.push_back(Ms(a, Clock::now()));
    }
    std::printf("Timer1 player poll: median %.3f ms, max %.3f ms\n", Median(tick), *std::max_element(tick.begin(), tick.end()));
    player.Stop();
    player.ClearList();
    return 0;
}
