// Playing from the shell under Wine: commands go to the main window as its
// menus send them, and what the stand-in player was told is read back from
// its message log.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "app/commands.h"
#include "app/gui_disks.h"
#include "content/description_stream.h"

using namespace qlm::test;

namespace {

// Command ids of the main window's menus.
constexpr WPARAM Id(qlm::Cmd c) { return static_cast<WPARAM>(c); }
constexpr WPARAM kPlayAll = Id(qlm::Cmd::PlayAll), kPlayDisk = Id(qlm::Cmd::PlayDisk),
                 kPlayChecked = Id(qlm::Cmd::PlayChecked), kPlayDemo = Id(qlm::Cmd::PlayDemo),
                 kPlayFromPosition = Id(qlm::Cmd::PlayFromPosition), kPlayerPrevious = Id(qlm::Cmd::PlayerPrevious),
                 kPlayerNext = Id(qlm::Cmd::PlayerNext), kPlayerPlay = Id(qlm::Cmd::PlayerPlay),
                 kPlayerStop = Id(qlm::Cmd::PlayerStop);

std::string Z(const std::string& a, const std::string& b) { return a + std::string(1, '\0') + b; }

std::string SilentMp3(int frames) {
    std::string frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    std::string out;
    for (int i = 0; i < frames; ++i) out += frame;
    return out;
}

// Rock: r1 .. r7; Pop: p1, p2 (the catalogue's last song); with videos a.avi and b.avi.
std::wstring MakePlayDisk(const std::wstring& name, int frames, bool videos = false) {
    std::wstring dir = FreshFolder(name);
    qlm::DescriptionWriter w;
    w.WriteShortRecord("CDQLM=PLAY-DISK");
    w.WriteShortRecord("CDRUS=Play");
    if (videos) {
        w.WriteShortRecord("PVV=1");
        w.WriteShortRecord("VDL=1");
    }
    w.WriteShortRecord("EndOfCFG");
    w.WriteShortRecord(Z("F=Rock", "N=Rock"));
    for (int i = 1; i <= 7; ++i) w.WriteShortRecord(Z("FN=r" + std::to_string(i) + ".mp3", "N=Rock " + std::to_string(i)));
    w.WriteShortRecord(Z("F=Pop", "N=Pop"));
    w.WriteShortRecord(Z("FN=p1.mp3", "N=Pop 1"));
    w.WriteShortRecord(Z("FN=p2.mp3", "N=Pop 2"));
    WriteFileBytes(dir + L"\\qlm.cfg", w.Take());
    for (const wchar_t* f : {L"\\Sound", L"\\Sound\\Rock", L"\\Sound\\Pop", L"\\Player"})
        CreateDirectoryW((dir + f).c_str(), nullptr);
    const std::string song = SilentMp3(frames);
    for (int i = 1; i <= 7; ++i) WriteFileBytes(dir + L"\\Sound\\Rock\\r" + std::to_wstring(i) + L".mp3", song);
    WriteFileBytes(dir + L"\\Sound\\Pop\\p1.mp3", song);
    WriteFileBytes(dir + L"\\Sound\\Pop\\p2.mp3", song);
    CopyFileTo(StandInExe(), dir + L"\\Player\\Winamp.exe");
    if (videos) {
        CreateDirectoryW((dir + L"\\Video").c_str(), nullptr);
        WriteFileBytes(dir + L"\\Video\\a.avi", "not a real video");
        WriteFileBytes(dir + L"\\Video\\b.avi", "not a real video");
        CopyFileTo(BinaryDir() + L"\\src\\videoplayer\\play.exe", dir + L"\\Video\\play.exe");
    }
    return dir;
}

// The file names sent to the player since its list was last emptied.
std::vector<std::string> ListSinceLastClear(const std::string& log) {
    const size_t clear = log.rfind("lParam=101 ");
    std::vector<std::string> names;
    for (size_t at = log.find("data=\"", clear == std::string::npos ? 0 : clear); at != std::string::npos;
         at = log.find("data=\"", at + 1)) {
        const size_t start = at + 6, end = log.find('"', start);
        std::string file = log.substr(start, end - start);
        names.push_back(file.substr(file.find_last_of('\\') + 1));
    }
    return names;
}
std::vector<std::string> AllSent(const std::string& log) {
    std::vector<std::string> names;
    for (size_t at = log.find("data=\""); at != std::string::npos; at = log.find("data=\"", at + 1)) {
        const size_t start = at + 6, end = log.find('"', start);
        std::string file = log.substr(start, end - start);
        names.push_back(file.substr(file.find_last_of('\\') + 1));
    }
    return names;
}

// The tree: a child of the main window or of the catalogue browser's panel.
HWND TreeOf(HWND main) {
    HWND tree = FindWindowExW(main, nullptr, WC_TREEVIEWW, nullptr);
    for (HWND child = FindWindowExW(main, nullptr, nullptr, nullptr); !tree && child;
         child = FindWindowExW(main, child, nullptr, nullptr))
        tree = FindWindowExW(child, nullptr, WC_TREEVIEWW, nullptr);
    return tree;
}

// Selects child `index` of root node `root` (both 0-based).
bool SelectSong(HWND tree, int root, int index) {
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (int i = 0; i < root && item; ++i)
        item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    if (!item) return false;
    if (index >= 0) {
        item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        for (int i = 0; i < index && item; ++i)
            item =
                reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    return item && SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void Command(HWND main, WPARAM id, DWORD settle = 600) {
    PostMessageW(main, WM_COMMAND, id, 0);
    Pause(settle);
}

// A point of the player panel's right part (PlayerRightImage, 160 wide, at the panel's right edge).
POINT RightPartPoint(HWND main, int x, int y) {
    RECT rc{};
    GetClientRect(main, &rc);
    return {rc.right - 160 + x, rc.bottom - 110 + y};
}
void Click(HWND main, POINT p, DWORD hold = 50) {
    const LPARAM at = MAKELPARAM(p.x, p.y);
    PostMessageW(main, WM_MOUSEMOVE, 0, at);
    PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, at);
    Pause(hold);
    PostMessageW(main, WM_LBUTTONUP, 0, at);
    Pause(150);
}

class PlaybackGui : public ::testing::Test {
protected:
    void SetUp() override {
        if (!StandInBuilt()) GTEST_SKIP() << "the stand-in player is not built";
        CloseStandIn();
        RemoveSettingsFile();
        ResetLanguageChoice();
    }
    void TearDown() override {
        if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
        shell_.WaitExit(15000);
        shell_.Kill();
        CloseStandIn();
    }
    HWND Start(const std::wstring& disk, const std::wstring& logName) {
        log_ = UsePlayerLog(logName);
        if (!shell_.Start(ShellExe(), L"\"" + disk + L"\"")) return nullptr;
        main_ = shell_.WaitForWindow(kMainClass, kStartTimeout);
        Pause(1500);
        return main_;
    }
    std::string Log() const { return ReadFileBytes(log_); }
    ShellProcess shell_;
    HWND main_ = nullptr;
    std::wstring log_;
};

using Names = std::vector<std::string>;

}  // namespace

TEST_F(PlaybackGui, PlayAllFromTheFifthSongWrapsAndPlayDiskTakesOnlyTheLevel) {
    HWND main = Start(MakePlayDisk(L"play-all", 40), L"play-all");
    ASSERT_NE(main, nullptr);
    // Start-up loaded the first leaf's level without playing it.
    EXPECT_EQ(ListSinceLastClear(Log()), (Names{"r1.mp3", "r2.mp3", "r3.mp3", "r4.mp3", "r5.mp3", "r6.mp3", "r7.mp3"}));
    EXPECT_EQ(AskPlayer(104), 0);

    ASSERT_TRUE(SelectSong(TreeOf(main), 0, 4));
    Command(main, kPlayFromPosition, 100);
    Command(main, kPlayAll, 1500);
    EXPECT_EQ(ListSinceLastClear(Log()), (Names{"r5.mp3", "r6.mp3", "r7.mp3", "p1.mp3", "p2.mp3", "r1.mp3", "r2.mp3",
                                                "r3.mp3", "r4.mp3"}));
    EXPECT_EQ(AskPlayer(104), 1);
    Screenshot(L"playback-playing");

    Command(main, kPlayFromPosition, 100);  // the switch off again
    ASSERT_TRUE(SelectSong(TreeOf(main), 1, 1));
    Command(main, kPlayDisk, 1000);
    EXPECT_EQ(ListSinceLastClear(Log()), (Names{"p1.mp3", "p2.mp3"}));

    // Nothing is checked: play checked is off and sends nothing.
    const size_t before = AllSent(Log()).size();
    Command(main, kPlayChecked, 500);
    EXPECT_EQ(AllSent(Log()).size(), before);
}

// In book mode the song list, once entered, is where play all begins.
TEST_F(PlaybackGui, PlayAllBeginsAtTheSongListItemOnceTheListWasEntered) {
    HWND main = Start(MakePlayDisk(L"play-book", 40), L"play-book");
    ASSERT_NE(main, nullptr);
    Command(main, Id(qlm::Cmd::BookModeHorizontal), 800);
    ASSERT_TRUE(SelectSong(TreeOf(main), 0, -1));
    Pause(800);
    HWND list = nullptr;
    for (HWND child = FindWindowExW(main, nullptr, nullptr, nullptr); !list && child;
         child = FindWindowExW(main, child, nullptr, nullptr))
        list = FindWindowExW(child, nullptr, WC_LISTVIEWW, nullptr);
    ASSERT_TRUE(list && IsWindowVisible(list));
    // A click on the first row enters the list; two steps down select r3.
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 6));
    PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(30, 6));
    Pause(500);
    for (int i = 0; i < 2; ++i) {
        PostMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(list, WM_KEYUP, VK_DOWN, 0);
        Pause(200);
    }
    Command(main, kPlayFromPosition, 100);
    Command(main, kPlayAll, 1500);
    const Names sent = ListSinceLastClear(Log());
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), "r3.mp3");
    EXPECT_EQ(sent.size(), 9u);
}

TEST_F(PlaybackGui, OneSongMovesOnAtItsEndAndPreviousNextWrapInTheLevel) {
    // About one second per song.
    HWND main = Start(MakePlayDisk(L"play-one", 40), L"play-one");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(SelectSong(TreeOf(main), 1, 1));  // p2, the catalogue's last song
    Command(main, kPlayerPlay, 400);
    EXPECT_EQ(ListSinceLastClear(Log()), (Names{"p2.mp3"}));
    // Its end continues with the catalogue's first song.
    bool advanced = false;
    for (int i = 0; i < 40 && !advanced; ++i) {
        Pause(100);
        advanced = ListSinceLastClear(Log()) == Names{"r1.mp3"};
    }
    EXPECT_TRUE(advanced) << Log();

    ASSERT_TRUE(SelectSong(TreeOf(main), 0, 6));  // r7
    Command(main, kPlayerPlay, 300);  // playing: the play button pauses
    EXPECT_EQ(AskPlayer(104), 3);
    Command(main, kPlayerPlay, 300);  // and goes on
    // The shell's stop: no advance follows (a stop inside the player counts
    // as the song's end and would move on at the next tick).
    const size_t sent = AllSent(Log()).size();
    Command(main, kPlayerStop, 700);
    EXPECT_EQ(AskPlayer(104), 0);
    EXPECT_EQ(AllSent(Log()).size(), sent);
    Command(main, kPlayerPlay, 300);  // stopped: plays the selection
    EXPECT_EQ(ListSinceLastClear(Log()), (Names{"r7.mp3"}));
    Command(main, kPlayerNext, 300);
    EXPECT_EQ(ListSinceLastClear(Log()), (Names{"r1.mp3"}));
    Command(main, kPlayerPrevious, 300);
    EXPECT_EQ(ListSinceLastClear(Log()), (Names{"r7.mp3"}));
}

TEST_F(PlaybackGui, DemoModeStepsOnAfterSevenSeconds) {
    HWND main = Start(MakePlayDisk(L"play-demo", 400), L"play-demo");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(SelectSong(TreeOf(main), 0, 0));
    Command(main, kPlayDemo, 500);
    EXPECT_EQ(AskPlayer(104), 1);
    EXPECT_EQ(Count(Log(), "wParam=40048"), 0u);
    Pause(8000);
    EXPECT_GE(Count(Log(), "wParam=40048"), 1u) << "no next track after 7 s";
    EXPECT_EQ(AskPlayer(125), 1);
    Command(main, kPlayDemo, 300);  // off: the player stops
    EXPECT_EQ(AskPlayer(104), 0);
}

// While a song plays the progress bar runs in the scheme colour up to the slider.
TEST_F(PlaybackGui, ProgressBarShowsInTheSchemeColour) {
    HWND main = Start(MakePlayDisk(L"play-progress", 400), L"play-progress");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(SelectSong(TreeOf(main), 0, 0));
    Command(main, kPlayerPlay, 4000);
    RECT rc{};
    GetClientRect(main, &rc);
    POINT row{0, rc.bottom - 110 + 95};
    ClientToScreen(main, &row);
    HDC screen = GetDC(nullptr);
    // The bar's two rows; the slider button alone gives a few such pixels.
    int coloured = 0;
    for (int dy = 0; dy < 2; ++dy)
        for (int x = 0; x < rc.right; ++x) {
            POINT p{x, 0};
            ClientToScreen(main, &p);
            if (GetPixel(screen, p.x, row.y + dy) == RGB(142, 197, 233)) ++coloured;
        }
    ReleaseDC(nullptr, screen);
    Screenshot(L"playback-progress");
    EXPECT_GT(coloured, 50) << "no progress bar seen on its rows";
}

TEST_F(PlaybackGui, HoldingVolumeUpForASecondGivesTheClickAndFourStepsATick) {
    HWND main = Start(MakePlayDisk(L"play-volume", 40), L"play-volume");
    ASSERT_NE(main, nullptr);
    const size_t before = Count(Log(), "wParam=40058");
    Click(main, RightPartPoint(main, 60 + 8, 46 + 8), 1000);
    Pause(300);
    const size_t steps = Count(Log(), "wParam=40058") - before;
    // 2 for the click, 16 for four ticks; the timer's phase may add or take one tick.
    EXPECT_GE(steps, 2u + 12u);
    EXPECT_LE(steps, 2u + 20u);
}

TEST_F(PlaybackGui, ColourButtonCyclesThroughTheThreeSchemes) {
    HWND main = Start(MakePlayDisk(L"play-colour", 40), L"play-colour");
    ASSERT_NE(main, nullptr);
    const POINT colour = RightPartPoint(main, 134 + 8, 46 + 8);
    Click(main, colour);
    Screenshot(L"playback-scheme1");
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(shell_.WaitExit(15000));
    main_ = nullptr;
    EXPECT_EQ(IniValue(L"Settings", L"QLMColor"), L"1");
    CloseStandIn();

    main = Start(MakePlayDisk(L"play-colour2", 40), L"play-colour2");
    ASSERT_NE(main, nullptr);
    Click(main, colour);
    Click(main, colour);  // the third click: the first scheme is back
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(shell_.WaitExit(15000));
    main_ = nullptr;
    EXPECT_EQ(IniValue(L"Settings", L"QLMColor"), L"0");
}

TEST_F(PlaybackGui, ASecondVideoClosesTheFirstProgramBeforeItStarts) {
    if (GetFileAttributesW((BinaryDir() + L"\\src\\videoplayer\\play.exe").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "play.exe is not built";
    HWND main = Start(MakePlayDisk(L"play-video", 40, true), L"play-video");
    ASSERT_NE(main, nullptr);
    auto videoWindows = [] {
        std::vector<std::wstring> titles;
        HWND w = nullptr;
        while ((w = FindWindowExW(nullptr, w, L"QLMVideoPlayer", nullptr))) titles.push_back(WindowText(w));
        return titles;
    };
    ASSERT_TRUE(SelectSong(TreeOf(main), 2, 0));
    Command(main, kPlayerPlay, 2000);
    auto first = videoWindows();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_NE(first[0].find(L"a.avi"), std::wstring::npos);
    ASSERT_TRUE(SelectSong(TreeOf(main), 2, 1));
    Command(main, kPlayerPlay, 2000);
    auto second = videoWindows();
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NE(second[0].find(L"b.avi"), std::wstring::npos);
    // A play command closes it too.
    ASSERT_TRUE(SelectSong(TreeOf(main), 0, 0));
    Command(main, kPlayDisk, 1500);
    EXPECT_TRUE(videoWindows().empty());
}

namespace {

// A registered .avi "play" command for one test, put back afterwards.
class AviPlayCommand {
public:
    explicit AviPlayCommand(const std::wstring& program) {
        HKEY avi = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\.avi", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &avi,
                            nullptr) != ERROR_SUCCESS)
            return;
        wchar_t old[512] = {};
        DWORD size = sizeof old - sizeof(wchar_t);
        hadDefault_ = RegQueryValueExW(avi, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
        oldDefault_ = old;
        SetDefault(avi, kClass);
        RegCloseKey(avi);
        HKEY command = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kCommandKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &command, nullptr) ==
            ERROR_SUCCESS) {
            SetDefault(command, L"\"" + program + L"\" /play \"%L\"");
            RegCloseKey(command);
        }
    }
    ~AviPlayCommand() {
        for (const wchar_t* key : {kCommandKey, L"SOFTWARE\\Classes\\QLMTest.avi\\shell\\play",
                                   L"SOFTWARE\\Classes\\QLMTest.avi\\shell", L"SOFTWARE\\Classes\\QLMTest.avi"})
            RegDeleteKeyW(HKEY_LOCAL_MACHINE, key);
        HKEY avi = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\.avi", 0, KEY_ALL_ACCESS, &avi) != ERROR_SUCCESS) return;
        if (hadDefault_)
            SetDefault(avi, oldDefault_);
        else
            RegDeleteValueW(avi, nullptr);
        RegCloseKey(avi);
    }

private:
    static constexpr const wchar_t* kClass = L"QLMTest.avi";
    static constexpr const wchar_t* kCommandKey = L"SOFTWARE\\Classes\\QLMTest.avi\\shell\\play\\command";
    static void SetDefault(HKEY key, const std::wstring& value) {
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    bool hadDefault_ = false;
    std::wstring oldDefault_;
};

extern "C" __declspec(dllimport) BOOL WINAPI QueryFullProcessImageNameW(HANDLE, DWORD, LPWSTR, PDWORD);

// The program file of the running video window's process (empty: none runs).
std::wstring VideoProgram() {
    HWND w = FindWindowW(L"QLMVideoPlayer", nullptr);
    if (!w) return L"";
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!process) return L"?";
    wchar_t name[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!QueryFullProcessImageNameW(process, 0, name, &size)) name[0] = 0;
    CloseHandle(process);
    return name;
}
bool EndsWith(const std::wstring& s, const std::wstring& tail) {
    return s.size() >= tail.size() && _wcsicmp(s.c_str() + s.size() - tail.size(), tail.c_str()) == 0;
}

// The captions and check marks of the menu bar's "Выбрать &видеоплейер", when
// the platform lets another process read the menus (else empty).
HMENU VideoPlayerSubmenu(HWND main) {
    HMENU bar = GetMenu(main);
    for (int i = 0; bar && i < GetMenuItemCount(bar); ++i) {
        HMENU sub = GetSubMenu(bar, i);
        for (int j = 0; sub && j < GetMenuItemCount(sub); ++j) {
            wchar_t text[128] = {};
            GetMenuStringW(sub, j, text, 128, MF_BYPOSITION);
            if (std::wstring(text) == L"Выбрать &видеоплейер") return GetSubMenu(sub, j);
        }
    }
    return nullptr;
}
std::vector<std::pair<std::wstring, bool>> VideoPlayerMenu(HWND main) {
    std::vector<std::pair<std::wstring, bool>> items;
    HMENU players = VideoPlayerSubmenu(main);
    for (int k = 0; players && k < GetMenuItemCount(players); ++k) {
        wchar_t text[128] = {};
        GetMenuStringW(players, k, text, 128, MF_BYPOSITION);
        items.emplace_back(text, (GetMenuState(players, k, MF_BYPOSITION) & MF_CHECKED) != 0);
    }
    return items;
}

}  // namespace

TEST_F(PlaybackGui, VideoPlayerMenuListsTheProgramsAndTheChosenOnePlays) {
    const std::wstring playExe = BinaryDir() + L"\\src\\videoplayer\\play.exe";
    if (GetFileAttributesW(playExe.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "play.exe is not built";
    const std::wstring disk = MakePlayDisk(L"play-choose", 40, true);
    // The system's .avi program: another copy of play.exe, registered for the run.
    CreateDirectoryW((disk + L"\\Alt").c_str(), nullptr);
    ASSERT_TRUE(CopyFileTo(playExe, disk + L"\\Alt\\play.exe"));
    AviPlayCommand registered(disk + L"\\Alt\\play.exe");
    // Windows Media Player comes between the two when this system has one.
    HKEY key = nullptr;
    wchar_t wmp[MAX_PATH] = {};
    DWORD size = sizeof wmp - sizeof(wchar_t);
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\MediaPlayer", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryValueExW(key, L"Installation Directory", nullptr, nullptr, reinterpret_cast<BYTE*>(wmp), &size);
        RegCloseKey(key);
    }
    const bool hasWmp = wmp[0] && GetFileAttributesW((std::wstring(wmp) + L"\\mplayer2.exe").c_str()) != INVALID_FILE_ATTRIBUTES;
    const WPARAM qlmEntry = qlm::kVideoPlayerMenuFirst + (hasWmp ? 2 : 1);

    HWND main = Start(disk, L"play-choose");
    ASSERT_NE(main, nullptr);
    auto menu = VideoPlayerMenu(main);
    if (menu.empty()) {
        std::cout << "[ NOTE     ] the menus cannot be read from another process here\n";
    } else {
        ASSERT_EQ(menu.size(), hasWmp ? 3u : 2u);
        EXPECT_EQ(menu.front(), std::make_pair(std::wstring(L"Используемый по умолчанию"), true));
        EXPECT_EQ(menu.back(), std::make_pair(std::wstring(L"QLM Video Player"), false));
    }

    // Nothing saved: the first entry, the registered program, plays.
    ASSERT_TRUE(SelectSong(TreeOf(main), 2, 0));
    Command(main, kPlayerPlay, 2000);
    EXPECT_TRUE(EndsWith(VideoProgram(), L"\\Alt\\play.exe")) << VideoProgram();
    // Choosing the shell's own player closes the running one; the next video starts in it.
    Command(main, qlmEntry, 1000);
    EXPECT_EQ(VideoProgram(), L"");
    menu = VideoPlayerMenu(main);
    if (!menu.empty()) {
        EXPECT_TRUE(menu.back().second);
    }
    Command(main, kPlayerPlay, 2000);
    EXPECT_TRUE(EndsWith(VideoProgram(), L"\\Video\\play.exe")) << VideoProgram();
    // The chosen one again changes nothing: the video keeps running.
    Command(main, qlmEntry, 500);
    EXPECT_TRUE(EndsWith(VideoProgram(), L"\\Video\\play.exe")) << VideoProgram();
    Screenshot(L"playback-video-chosen");
    // The registered program gone: opening the menu shows only what is there, the check on the chosen one.
    if (HMENU players = VideoPlayerSubmenu(main)) {
        ASSERT_TRUE(DeleteFileW((disk + L"\\Alt\\play.exe").c_str()));
        SendMessageW(main, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(players), 0);
        EXPECT_EQ(VideoPlayerMenu(main).back(), std::make_pair(std::wstring(L"QLM Video Player"), true));
        EXPECT_EQ(VideoPlayerMenu(main).size(), hasWmp ? 2u : 1u);
    }

    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(shell_.WaitExit(15000));
    main_ = nullptr;
    EXPECT_EQ(IniValue(L"Settings", L"ExtVPId"), L"3");
}

// The demo disk's clip in play.exe (QLM_DEMO_DISK names the demo disk folder).
TEST_F(PlaybackGui, DemoDiskClipPlaysInTheOwnVideoPlayer) {
    const char* demo = getenv("QLM_DEMO_DISK");
    if (!demo) GTEST_SKIP() << "QLM_DEMO_DISK is not set";
    HWND main = Start(WindowsPath(demo), L"play-demo-video");
    ASSERT_NE(main, nullptr);
    HWND tree = TreeOf(main);
    int roots = 0;
    for (auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;
         item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item))))
        ++roots;
    ASSERT_TRUE(SelectSong(tree, roots - 1, 0));  // the video folder comes last
    Command(main, kPlayerPlay, 2500);
    HWND video = FindWindowW(L"QLMVideoPlayer", nullptr);
    ASSERT_NE(video, nullptr);
    Screenshot(L"playback-demo-video");
    // Frames are drawn: the clip is a bar running over a colour gradient, so
    // most points across its window are coloured (neither black nor grey).
    RECT client{};
    GetClientRect(video, &client);
    HDC screen = GetDC(nullptr);
    int coloured = 0;
    for (int i = 1; i <= 5; ++i) {
        POINT p{client.right * i / 6, client.bottom / 2};
        ClientToScreen(video, &p);
        const COLORREF c = GetPixel(screen, p.x, p.y);
        const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
        if (std::max({r, g, b}) - std::min({r, g, b}) > 40) ++coloured;
    }
    ReleaseDC(nullptr, screen);
    EXPECT_GE(coloured, 3);
    Command(main, kPlayDisk, 1500);
    EXPECT_EQ(FindWindowW(L"QLMVideoPlayer", nullptr), nullptr);
}
