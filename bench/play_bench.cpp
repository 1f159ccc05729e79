// Play all on a disk of many songs against the stand-in player: the time from
// the command to Play, beside the bare cost of the same number of AddFile +
// GetListLength round trips; and one Timer1 tick of the player panel while a
// song plays, with the panel's painting.
//
//   play_bench WINAMP.EXE [SONGS]   (Windows / Wine; default 10000 songs)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/image_button.h"
#include "base/text_codec.h"
#include "base/utf8_main.h"
#include "playback/bitmap_font.h"
#include "playback/multi_players.h"
#include "playback/play_commands.h"
#include "playback/player_panel.h"
#include "playback/winamp_control.h"
#include "win/timer_resolution.h"
#include "win/window.h"

using namespace qlm;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// A silent MPEG-1 layer III stream of `frames` frames (128 kbit/s, 44.1 kHz, 26 ms each).
std::string SilentMp3(int frames) {
    std::string frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    std::string out;
    for (int i = 0; i < frames; ++i) out += frame;
    return out;
}

void WriteWhole(const std::wstring& file, const std::string& bytes) {
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

// The panel's window: paints the host's images, as the main window does.
class PanelWindow : public win::Window {
public:
    ImageButtonHost host;
    bool Open(int width, int height) {
        if (!RegisterWindowClass(L"QLMPlayBenchPanel", 0, nullptr)) return false;
        win::CreateParams p;
        p.className = L"QLMPlayBenchPanel";
        p.title = L"play_bench";
        p.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        p.width = width;
        p.height = height;
        if (!Create(p)) return false;
        host.SetParent(hwnd());
        return true;
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd(), &ps);
            host.Paint(dc, ps.rcPaint);
            EndPaint(hwnd(), &ps);
            return 0;
        }
        if (msg == WM_ERASEBKGND) return 1;
        return Default(msg, wParam, lParam);
    }
};

}  // namespace

int Utf8Main(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fprintf(stderr, "usage: play_bench WINAMP.EXE [SONGS]\n");
        return 2;
    }
    const int songs = args.size() > 1 ? std::stoi(args[1]) : 10000;
    win::TimerResolution timerResolution;  // as the shell holds it
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::u16string root = win::U16(temp) + u"qlm-play-bench\\";
    CreateDirectoryW(win::Wide(root).c_str(), nullptr);
    CreateDirectoryW(win::Wide(root + u"Sound").c_str(), nullptr);

    // 100 folders of songs; each file exists (a few bytes are enough to be added).
    const std::string firstSong = SilentMp3(1200), otherSong = SilentMp3(2);
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
        // The first song plays through the tick measurement; the others are short real streams.
        WriteWhole(win::Wide(cat.SongFile(song)), i == 0 ? firstSong : otherSong);
    }
    std::fprintf(stderr, "disk ready\n");
    TMultiPlayers player(false, WinampPlayerFactory());
    player.Register(kWinampPlayerId, Utf8ToUtf16(args[0]), SW_HIDE);
    player.Select(kWinampPlayerId);
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
    // The floor of this system: the same number of round trips of the cheapest request.
    std::vector<double> floor;
    for (int run = 0; run < 3; ++run) {
        auto a = Clock::now();
        for (int i = 0; i < 2 * songs; ++i) player.GetListLength();
        floor.push_back(Ms(a, Clock::now()));
    }
    std::printf("songs %d\nbare AddFile+GetListLength: median %.0f ms\nplay all to Play: median %.0f ms (%.2f x bare)\n"
                "%d GetListLength round trips alone: median %.0f ms\n",
                songs, Median(bare), Median(queue), Median(queue) / std::max(1.0, Median(bare)), 2 * songs,
                Median(floor));

    // One Timer1 tick of the player panel while the first song plays: the
    // state, the position and its time field, every third tick the current
    // file, its song-index look-up and (when it changed) the title and stream
    // fields; then the window paints what the tick changed.
    PanelWindow window;
    if (!window.Open(800, 150)) {
        std::fprintf(stderr, "no window\n");
        return 1;
    }
    std::unique_ptr<TMyFontClass> textFont = CreateTextFont(), digitsFont = CreateDigitsFont();
    std::vector<std::unique_ptr<TImageButton>> backgrounds;
    for (auto [name, left, width] : {std::tuple{"PlayerLeftImage", 0, 245}, std::tuple{"PlayerCenterImage", 245, 395},
                                     std::tuple{"PlayerRightImage", 640, 160}}) {
        backgrounds.push_back(std::make_unique<TImageButton>(name));
        TImageButton& b = *backgrounds.back();
        LoadImagePicture(b);
        b.Stretch = true;
        b.SetBounds(left, 0, width, TPlayerPanel::kHeight);
        window.host.Add(b);
    }
    TPlayerPanel panel(state, player, cat, commands, PanelSources{});
    panel.Create(window.host, textFont.get(), digitsFont.get());
    panel.Layout(RECT{0, 0, 800, TPlayerPanel::kHeight}, 395);
    UpdateWindow(window.hwnd());
    player.Play();
    panel.RequestLookup();
    std::vector<double> tick;
    int playing = 0;
    for (int i = 0; i < 120; ++i) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        auto a = Clock::now();
        panel.Timer1Tick();
        UpdateWindow(window.hwnd());
        tick.push_back(Ms(a, Clock::now()));
        if (player.GetState() == kPlayerPlaying) ++playing;
        Sleep(100);
    }
    // What a look-up tick cannot do without: the current file read from the
    // player (list position, the entry's address, the read of its memory and
    // the 5 ms pause after it) and the state and position polls of every tick.
    std::vector<double> lookup;
    for (int i = 0; i < 30; ++i) {
        std::u16string file;
        auto a = Clock::now();
        player.GetState();
        player.GetCurrentFile(file);
        player.GetPosition();
        lookup.push_back(Ms(a, Clock::now()));
    }
    std::printf("player calls of a look-up tick alone: median %.3f ms, max %.3f ms\n", Median(lookup),
                *std::max_element(lookup.begin(), lookup.end()));
    std::printf("Timer1 tick with painting: median %.3f ms, max %.3f ms (%d of %zu ticks playing)\n", Median(tick),
                *std::max_element(tick.begin(), tick.end()), playing, tick.size());
    std::printf("  first tick (title, comment and stream fields drawn) %.3f ms; slowest five:", tick.front());
    std::vector<double> sorted = tick;
    std::sort(sorted.rbegin(), sorted.rend());
    for (size_t i = 0; i < 5 && i < sorted.size(); ++i) std::printf(" %.2f", sorted[i]);
    std::printf("\n");
    if (getenv("QLM_BENCH_TICKS"))
        for (size_t i = 0; i < tick.size(); ++i) std::printf("tick %zu: %.2f\n", i, tick[i]);
    player.Stop();
    player.ClearList();
    return 0;
}
