// TWinampControl against the stand-in Winamp as a real process: what each
// operation sends (read back from the stand-in's message log), starting on
// demand, restarting a closed player, and what destruction leaves behind.
#include <gtest/gtest.h>

#include <thread>

#include "playback/player_resume.h"
#include "playback/winamp_control.h"
#include "player/silent_mp3.h"
#include "player/standin_process.h"

using namespace qlm;
using namespace qlm::test;

namespace {

std::u16string U16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

struct WinampControl : ::testing::Test {
    std::string dir, log, a, b, c;
    std::u16string exe = U16(StandInExe());

    void SetUp() override {
        EndAllStandIns();
        dir = FreshTempDir("winampctl");
        log = dir + "messages.log";
        DeleteFileA(log.c_str());
        // The player the control starts inherits this and logs every message.
        SetEnvironmentVariableA("QLM_WINAMP_LOG", log.c_str());
        a = dir + "a.mp3";
        b = dir + "b.mp3";
        c = dir + "c.mp3";
        WriteBytes(a, SilentMp3(80));
        WriteBytes(b, SilentMp3(120));
        WriteBytes(c, SilentMp3(40));
    }
    void TearDown() override {
        EndAllStandIns();
        SetEnvironmentVariableA("QLM_WINAMP_LOG", nullptr);
    }
    size_t LogSize() { return ReadLines(log).size(); }
    // The lines the stand-in logged since `from`.
    std::vector<std::string> Since(size_t from) {
        auto lines = ReadLines(log);
        return std::vector<std::string>(lines.begin() + std::min(from, lines.size()), lines.end());
    }
    std::string Line(const char* msg, long wp, long lp, long answer) {
        return std::string(msg) + " wParam=" + std::to_string(wp) + " lParam=" + std::to_string(lp) + " -> " +
               std::to_string(answer);
    }
    DWORD PlayerPid() {
        DWORD pid = 0;
        GetWindowThreadProcessId(FindStandIn(), &pid);
        return pid;
    }
};

TEST_F(WinampControl, StartsOnDemandHiddenWithAnEmptyStoppedList) {
    ASSERT_EQ(FindStandIn(), nullptr);
    TWinampControl ctl(exe, SW_HIDE);
    ASSERT_NE(ctl.Window(), nullptr);
    EXPECT_EQ(ctl.Window(), FindStandIn());
    EXPECT_NE(ctl.ProcessInfo().hProcess, nullptr);
    EXPECT_EQ(ctl.ProcessInfo().dwProcessId, PlayerPid());
    EXPECT_FALSE(IsWindowVisible(ctl.Window()));
    auto lines = ReadLines(log);
    // Readiness probe, the clear of a fresh window, then the constructor's clear and stop.
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines.front(), Line("WM_USER", 0, 0, 0x5000));
    EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
              (std::vector<std::string>{Line("WM_USER", 0, 101, 0), Line("WM_USER", 0, 101, 0),
                                        Line("WM_COMMAND", 40047, 0, 0)}));
}

TEST_F(WinampControl, EveryOperationSendsItsMessageAndPassesTheAnswerOn) {
    TWinampControl ctl(exe, SW_HIDE);
    auto one = [&](auto op) {
        size_t from = LogSize();
        op();
        return Since(from);
    };
    using V = std::vector<std::string>;

    // AddFile: one copy-data record, the zero counted, and the list grows by one.
    for (const std::string* f : {&a, &b, &c}) {
        int32_t before = ctl.GetListLength();
        EXPECT_EQ(one([&] { EXPECT_TRUE(ctl.AddFile(U16(*f))); }),
                  V{"WM_COPYDATA wParam=0 dwData=100 cbData=" + std::to_string(f->size() + 1) + " data=\"" + *f +
                    "\" zero=1 -> 1"});
        EXPECT_EQ(ctl.GetListLength(), before + 1);
    }
    EXPECT_EQ(one([&] { EXPECT_EQ(ctl.GetListLength(), 3); }), V{Line("WM_USER", 0, 124, 3)});
    EXPECT_EQ(one([&] { EXPECT_EQ(ctl.GetTrackLength(), 2); }), V{Line("WM_USER", 1, 105, 2)});
    EXPECT_EQ(one([&] { EXPECT_EQ(ctl.GetPosition(), -1); }), V{Line("WM_USER", 0, 105, -1)});
    EXPECT_EQ(one([&] { EXPECT_EQ(ctl.GetState(), 0); }), V{Line("WM_USER", 0, 104, 0)});
    EXPECT_EQ(one([&] { ctl.NextTrack(); }), V{Line("WM_COMMAND", 40048, 0, 0)});
    EXPECT_EQ(one([&] { EXPECT_EQ(ctl.GetListPosition(), 1); }), V{Line("WM_USER", 0, 125, 1)});
    EXPECT_EQ(one([&] { ctl.PrevTrack(); }), V{Line("WM_COMMAND", 40044, 0, 0)});
    EXPECT_EQ(one([&] { ctl.Play(); }), V{Line("WM_USER", 0, 102, 1)});
    EXPECT_EQ(one([&] { EXPECT_EQ(ctl.GetState(), 1); }), V{Line("WM_USER", 0, 104, 1)});
    EXPECT_EQ(one([&] { ctl.Seek(1234); }), V{Line("WM_USER", 1234, 106, 0)});
    EXPECT_EQ(one([&] { ctl.Pause(); }), V{Line("WM_COMMAND", 40046, 0, 0)});
    EXPECT_EQ(one([&] { EXPECT_EQ(ctl.GetState(), 3); }), V{Line("WM_USER", 0, 104, 3)});
    int32_t pos = 0;
    auto posSent = one([&] { pos = ctl.GetPosition(); });
    EXPECT_EQ(posSent, V{Line("WM_USER", 0, 105, pos)});
    EXPECT_GE(pos, 1234);  // it played on for a moment between seek and pause
    EXPECT_LT(pos, 1234 + 500);
    EXPECT_EQ(ctl.GetPosition(), pos);  // paused: frozen
    EXPECT_EQ(one([&] { ctl.VolumeUp(); }), V{Line("WM_COMMAND", 40058, 0, 0)});
    EXPECT_EQ(one([&] { ctl.VolumeDown(); }), V{Line("WM_COMMAND", 40059, 0, 0)});
    EXPECT_EQ(one([&] { ctl.Stop(); }), V{Line("WM_COMMAND", 40047, 0, 0)});
    EXPECT_EQ(one([&] { ctl.Close(); }), V{Line("WM_COMMAND", 40047, 0, 0)});
    EXPECT_TRUE(one([&] { ctl.Reserved(); }).empty());

    // GetListFile reads the name from the player's memory.
    std::u16string name;
    auto sent = one([&] { ctl.GetListFile(1, name); });
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].rfind("WM_USER wParam=1 lParam=211 -> ", 0), 0u) << sent[0];
    EXPECT_EQ(name, U16(b));
    // Out of range: the player answers 0 and the name is empty.
    name = u"stale";
    EXPECT_EQ(one([&] { ctl.GetListFile(3, name); }), V{Line("WM_USER", 3, 211, 0)});
    EXPECT_TRUE(name.empty());
    // A negative index sends nothing at all.
    name = u"stale";
    EXPECT_TRUE(one([&] { ctl.GetListFile(-1, name); }).empty());
    EXPECT_TRUE(name.empty());
    // The current file: position, then that entry.
    ctl.NextTrack();
    ctl.NextTrack();
    sent = one([&] { ctl.GetCurrentFile(name); });
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], Line("WM_USER", 0, 125, 2));
    EXPECT_EQ(sent[1].rfind("WM_USER wParam=2 lParam=211 -> ", 0), 0u);
    EXPECT_EQ(name, U16(c));

    EXPECT_EQ(one([&] { ctl.ClearList(); }), V{Line("WM_USER", 0, 101, 1)});
    EXPECT_EQ(ctl.GetListLength(), 0);

    // The window is shown and hidden without any player message.
    EXPECT_TRUE(one([&] { EXPECT_TRUE(ctl.ShowPlayerWindow(1, SW_SHOWNOACTIVATE)); }).empty());
    EXPECT_TRUE(IsWindowVisible(ctl.Window()));
    EXPECT_EQ(ctl.ShowCommand(), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(ctl.ShowPlayerWindow(1, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(ctl.Window()));
    EXPECT_EQ(ctl.ShowCommand(), SW_HIDE);
}

TEST_F(WinampControl, NamesOutsideTheAnsiCodePageArePassedInAFormThePlayerCanOpen) {
    std::wstring wdir(dir.begin(), dir.end());
    std::wstring wide = wdir + L"\x041f\x0435\x0441\x043d\x044f \x2116 1.mp3";  // "Песня № 1.mp3"
    std::string bytes = SilentMp3(40);
    HANDLE f = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);

    TWinampControl ctl(exe, SW_HIDE);
    ASSERT_TRUE(ctl.AddFile(std::u16string(wide.begin(), wide.end())));
    ctl.Play();
    EXPECT_EQ(ctl.GetState(), kPlayerPlaying);
    EXPECT_EQ(ctl.GetTrackLength(), 1);
    std::u16string back;
    ctl.GetListFile(0, back);
    EXPECT_FALSE(back.empty());
}

TEST_F(WinampControl, ResumeLandsOnTheEntryDespitePlayStartingAtTheFirst) {
    TWinampControl ctl(exe, SW_HIDE);
    for (auto f : {a, b, c}) ASSERT_TRUE(ctl.AddFile(U16(f)));
    EXPECT_TRUE(PlayFromEntry(ctl, 1, 1500, kPlayerPaused));
    EXPECT_EQ(ctl.GetListPosition(), 1);
    EXPECT_EQ(ctl.GetState(), kPlayerPaused);
    EXPECT_GE(ctl.GetPosition(), 1500);
    EXPECT_LT(ctl.GetPosition(), 1500 + 500);
    std::u16string name;
    ctl.GetCurrentFile(name);
    EXPECT_EQ(name, U16(b));
}

TEST_F(WinampControl, AClosedPlayerIsStartedAgainByTheNextCall) {
    TWinampControl ctl(exe, SW_HIDE);
    ASSERT_TRUE(ctl.AddFile(U16(a)));
    HWND first = ctl.Window();
    DWORD firstPid = PlayerPid();
    HANDLE firstProcess = OpenProcess(SYNCHRONIZE, FALSE, firstPid);
    PostMessageA(first, WM_CLOSE, 0, 0);  // the user closes it
    ASSERT_EQ(WaitForSingleObject(firstProcess, 5000), WAIT_OBJECT_0);
    CloseHandle(firstProcess);

    EXPECT_EQ(ctl.GetListLength(), 0);  // a fresh player with an empty list
    ASSERT_NE(FindStandIn(), nullptr);
    EXPECT_NE(PlayerPid(), firstPid);
    EXPECT_EQ(ctl.ProcessInfo().dwProcessId, PlayerPid());
    EXPECT_TRUE(ctl.AddFile(U16(a)));
    EXPECT_EQ(ctl.GetListLength(), 1);
}

TEST_F(WinampControl, DestructionEndsAPlayerItStarted) {
    HANDLE process = nullptr;
    {
        TWinampControl ctl(exe, SW_HIDE);
        process = OpenProcess(SYNCHRONIZE, FALSE, ctl.ProcessInfo().dwProcessId);
        ASSERT_NE(process, nullptr);
        ctl.AddFile(U16(a));
        ctl.Play();
    }
    EXPECT_EQ(WaitForSingleObject(process, 5000), WAIT_OBJECT_0);
    CloseHandle(process);
    EXPECT_EQ(FindStandIn(), nullptr);
}

TEST_F(WinampControl, DestructionLeavesARunningPlayerRunningHiddenStoppedAndEmpty) {
    PROCESS_INFORMATION pi = StartStandIn(log, SW_SHOWNOACTIVATE);
    HWND w = WaitForStandIn();
    ASSERT_NE(w, nullptr);
    {
        TWinampControl ctl(exe, SW_SHOWNOACTIVATE);
        EXPECT_EQ(ctl.ProcessInfo().hProcess, nullptr);  // found, not started
        ctl.AddFile(U16(a));
        ctl.Play();
    }
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 300), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(FindStandIn(), w);
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_EQ(SendMessageA(w, WM_USER, 0, 104), 0);
    EXPECT_EQ(SendMessageA(w, WM_USER, 0, 124), 0);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}

TEST_F(WinampControl, NoProgramMeansNoWindowAnswers) {
    TWinampControl ctl(u"Z:\\nowhere\\Winamp.exe", SW_HIDE);
    EXPECT_EQ(ctl.Window(), nullptr);
    EXPECT_EQ(ctl.GetState(), -1);
    EXPECT_EQ(ctl.GetPosition(), -1);
    EXPECT_EQ(ctl.GetListPosition(), -1);
    EXPECT_EQ(ctl.GetListLength(), 0);
    EXPECT_EQ(ctl.GetTrackLength(), 0);
    EXPECT_FALSE(ctl.AddFile(U16(a)));
    EXPECT_FALSE(ctl.ShowPlayerWindow(1, SW_SHOWNOACTIVATE));
    std::u16string name = u"x";
    ctl.GetCurrentFile(name);
    EXPECT_TRUE(name.empty());
}

// A "Winamp" window inside this test: answers of our choosing, or none at all.
struct FakeWinamp {
    static inline LRESULT stateAnswer = 2;
    static inline bool hang = false;
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
        if (m == WM_USER && lp == 104) {
            if (hang) Sleep(3000);
            return stateAnswer;
        }
        return DefWindowProcA(h, m, wp, lp);
    }
    HWND hwnd = nullptr;
    DWORD threadId = 0;
    std::thread thread;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    FakeWinamp() {
        thread = std::thread([this] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = &FakeWinamp::Proc;
            threadId = GetCurrentThreadId();
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "Winamp v1.x";
            RegisterClassA(&wc);
            hwnd = CreateWindowA("Winamp v1.x", "fake", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                 wc.hInstance, nullptr);
            SetEvent(ready);
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
            DestroyWindow(hwnd);
            UnregisterClassA("Winamp v1.x", wc.hInstance);
        });
        WaitForSingleObject(ready, 5000);
    }
    ~FakeWinamp() {
        PostThreadMessageA(threadId, WM_QUIT, 0, 0);
        thread.join();
        CloseHandle(ready);
    }
};

TEST_F(WinampControl, OddStateAnswersAndAHungPlayerGiveUnreachableValues) {
    FakeWinamp fake;
    ASSERT_NE(fake.hwnd, nullptr);
    TWinampControl ctl(u"Z:\\nowhere\\Winamp.exe", SW_HIDE);
    EXPECT_EQ(ctl.Window(), fake.hwnd);
    FakeWinamp::stateAnswer = 2;
    EXPECT_EQ(ctl.GetState(), -1);
    FakeWinamp::stateAnswer = 3;
    EXPECT_EQ(ctl.GetState(), 3);
    FakeWinamp::hang = true;
    ctl.SetSendTimeout(1000);
    DWORD start = GetTickCount();
    EXPECT_EQ(ctl.GetState(), -1);
    EXPECT_LT(GetTickCount() - start, 2500u);  // did not wait for the answer
    FakeWinamp::hang = false;
}

}  // namespace

namespace {

// The real registry reader and file check, with keys written for the test.
TEST(FindWinampOnWindows, RegistryPlacesThenTheDisksCopy) {
    std::string dir = FreshTempDir("findwinamp");
    std::string installed = dir + "Installed\\";
    std::string disk = dir + "Disk\\";
    CreateDirectoryA(installed.c_str(), nullptr);
    CreateDirectoryA(disk.c_str(), nullptr);
    CreateDirectoryA((disk + "Player").c_str(), nullptr);
    WriteBytes(installed + "Winamp.exe", "MZ");
    WriteBytes(disk + "Player\\Winamp.exe", "MZ");

    const char* key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Winamp";
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &h) == ERROR_SUCCESS) {
        RegCloseKey(h);
        GTEST_SKIP() << "a Winamp is installed here; its registry entry is left alone";
    }
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr), ERROR_SUCCESS);
    std::string value = "\"" + installed + "UninstWA.exe\"";
    RegSetValueExA(h, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(h);

    std::u16string diskRoot = U16(disk);
    EXPECT_EQ(FindWinampProgram(diskRoot, false), U16(installed + "Winamp.exe"));
    EXPECT_EQ(FindWinampProgram(diskRoot, true), U16(disk + "Player\\Winamp.exe"));
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, key);
    EXPECT_EQ(FindWinampProgram(diskRoot, false), U16(disk + "Player\\Winamp.exe"));
    DeleteFileA((disk + "Player\\Winamp.exe").c_str());
    EXPECT_EQ(FindWinampProgram(diskRoot, false), u"");
}

}  // namespace
