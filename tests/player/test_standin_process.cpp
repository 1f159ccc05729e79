// The stand-in Winamp as a real process: what it answers in each state, what
// it logs, and its window.
#include <gtest/gtest.h>

#include "player/mp3_decoder.h"
#include "player/silent_mp3.h"
#include "player/standin_process.h"

using namespace qlm::test;

namespace {

struct StandIn : ::testing::Test {
    std::string dir, log, a, b, c, bad;
    PROCESS_INFORMATION pi{};
    HWND w = nullptr;

    void SetUp() override {
        EndAllStandIns();
        dir = FreshTempDir("standin");
        log = dir + "messages.log";
        DeleteFileA(log.c_str());
        a = dir + "a.mp3";
        b = dir + "b.mp3";
        c = dir + "c.mp3";
        bad = dir + "bad.mp3";
        WriteBytes(a, SilentMp3(80));         // about 2.1 s
        WriteBytes(b, SilentMp3(40, true));   // about 1 s, with a frame count
        WriteBytes(c, SilentMp3(40));
        WriteBytes(bad, std::string(3000, 'x'));
        pi = StartStandIn(log);
        ASSERT_NE(pi.hProcess, nullptr);
        w = WaitForStandIn();
        ASSERT_NE(w, nullptr);
    }
    void TearDown() override {
        EndAllStandIns();
        if (pi.hProcess) CloseHandle(pi.hProcess);
        if (pi.hThread) CloseHandle(pi.hThread);
    }
    LRESULT User(WPARAM wp, LPARAM lp) { return SendMessageA(w, WM_USER, wp, lp); }
    LRESULT Command(WPARAM id) { return SendMessageA(w, WM_COMMAND, id, 0); }
    LRESULT Add(const std::string& name) {
        COPYDATASTRUCT cds{100, static_cast<DWORD>(name.size() + 1), const_cast<char*>(name.c_str())};
        return SendMessageA(w, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
    }
    std::string File(int i) {
        LRESULT address = User(static_cast<WPARAM>(i), 211);
        if (address == 0) return "<null>";
        char buf[1002] = {};
        SIZE_T got = 0;
        EXPECT_TRUE(ReadProcessMemory(pi.hProcess, reinterpret_cast<void*>(address), buf, 1001, &got));
        return buf;
    }
};

TEST_F(StandIn, EmptyListAnswers) {
    EXPECT_EQ(User(0, 104), 0);
    EXPECT_EQ(User(0, 124), 0);
    EXPECT_EQ(User(0, 125), 0);
    EXPECT_EQ(User(0, 105), -1);
    EXPECT_EQ(User(1, 105), -1);
    EXPECT_EQ(User(0, 211), 0);
    EXPECT_EQ(User(0, 101), 0);
    EXPECT_EQ(User(0, 102), 1);
    EXPECT_EQ(User(0, 104), 0);
    EXPECT_EQ(Command(40048), 0);
    EXPECT_EQ(User(0, 125), 0);
}

TEST_F(StandIn, ListFilesAreReadableFromOutsideAndOutOfRangeIsNull) {
    EXPECT_EQ(Add(a), 1);
    EXPECT_EQ(Add(b), 1);
    EXPECT_EQ(User(0, 124), 2);
    EXPECT_EQ(File(0), a);
    EXPECT_EQ(File(1), b);
    EXPECT_EQ(File(2), "<null>");
    EXPECT_EQ(File(-1), "<null>");
    COPYDATASTRUCT other{7, 2, const_cast<char*>("x")};
    EXPECT_EQ(SendMessageA(w, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&other)), 0);
    EXPECT_EQ(User(0, 124), 2);
}

TEST_F(StandIn, StoppedPlayingPausedAndPastTheEnd) {
    Add(a);
    Add(b);
    Add(c);
    // Stopped: the length of the entry at the position, from its stream header.
    EXPECT_EQ(User(1, 105), 2);
    EXPECT_EQ(User(2, 105), 80 * kSilentFrameBytes * 8 / 128);
    EXPECT_EQ(User(3000, 106), -1);
    Command(40048);
    EXPECT_EQ(User(0, 125), 1);
    EXPECT_NEAR(User(2, 105), 40 * kSilentFrameMs, 1.0);  // from the frame count of the Xing header

    // Play starts the first entry, whatever the position.
    EXPECT_EQ(User(0, 102), 1);
    EXPECT_EQ(User(0, 125), 0);
    EXPECT_EQ(User(0, 104), 1);
    Sleep(300);
    LRESULT p = User(0, 105);
    EXPECT_GE(p, 250);
    EXPECT_LT(p, 1500);

    EXPECT_EQ(Command(40046), 0);
    EXPECT_EQ(User(0, 104), 3);
    LRESULT frozen = User(0, 105);
    Sleep(200);
    EXPECT_EQ(User(0, 105), frozen);
    EXPECT_EQ(User(1000, 106), 0);
    EXPECT_EQ(User(0, 105), 1000);
    Command(40046);
    EXPECT_EQ(User(0, 104), 1);

    // Past the end of the last entry: stopped, the position on the last entry.
    Command(40048);
    Command(40048);
    EXPECT_EQ(User(0, 125), 2);
    Sleep(1400);
    EXPECT_EQ(User(0, 104), 0);
    EXPECT_EQ(User(0, 125), 2);
    EXPECT_EQ(User(0, 105), -1);
}

TEST_F(StandIn, TrackEndMovesToTheNextEntryAndUnplayableEntriesAreSkipped) {
    Add(bad);
    Add(b);
    Add(c);
    User(0, 102);
    EXPECT_EQ(User(0, 125), 1);  // bad.mp3 has no stream
    Sleep(1300);
    EXPECT_EQ(User(0, 125), 2);
    EXPECT_EQ(User(0, 104), 1);
    Command(40047);
    EXPECT_EQ(User(0, 104), 0);
    EXPECT_EQ(User(0, 125), 2);
}

TEST_F(StandIn, LogsEveryMessageWithItsArgumentsAndAnswer) {
    Add(a);
    User(0, 124);
    User(7, 211);
    Command(40047);
    User(0, 104);
    auto lines = ReadLines(log);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "WM_COPYDATA wParam=0 dwData=100 cbData=" + std::to_string(a.size() + 1) + " data=\"" + a +
                            "\" zero=1 -> 1");
    EXPECT_EQ(lines[1], "WM_USER wParam=0 lParam=124 -> 1");
    EXPECT_EQ(lines[2], "WM_USER wParam=7 lParam=211 -> 0");
    EXPECT_EQ(lines[3], "WM_COMMAND wParam=40047 lParam=0 -> 0");
    EXPECT_EQ(lines[4], "WM_USER wParam=0 lParam=104 -> 0");
}

TEST_F(StandIn, WindowStartsHiddenAndIsShownWhenAsked) {
    EXPECT_FALSE(IsWindowVisible(w));
    ShowWindow(w, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(w));
    ShowWindow(w, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(w));
}

// The window's play list follows appends and emptying (it adds only the new lines).
TEST_F(StandIn, PlayListViewShowsTheListAfterAppendsAndAClear) {
    // The main window can be found a moment before its list is made.
    HWND view = nullptr;
    for (int i = 0; i < 100 && !view; ++i) {
        view = FindWindowExA(w, nullptr, "LISTBOX", nullptr);
        if (!view) Sleep(50);
    }
    ASSERT_NE(view, nullptr);
    auto line = [&](int i) {
        wchar_t text[256] = {};
        if (SendMessageW(view, LB_GETTEXTLEN, i, 0) >= 256) return std::wstring(L"<long>");
        SendMessageW(view, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        return std::wstring(text);
    };
    Add(a);
    Add(b);
    EXPECT_EQ(SendMessageW(view, LB_GETCOUNT, 0, 0), 2);
    Add(c);
    EXPECT_EQ(SendMessageW(view, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(line(2), L"3. c");
    User(0, 101);
    EXPECT_EQ(SendMessageW(view, LB_GETCOUNT, 0, 0), 0);
    Add(c);
    Add(a);
    EXPECT_EQ(SendMessageW(view, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(line(0), L"1. c");
    EXPECT_EQ(line(1), L"2. a");
    // Emptied again and refilled to the same length.
    User(0, 101);
    Add(b);
    Add(c);
    EXPECT_EQ(line(0), L"1. b");
    EXPECT_EQ(line(1), L"2. c");
}

TEST_F(StandIn, QuitCommandEndsTheProgram) {
    Command(40001);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 5000), WAIT_OBJECT_0);
}

TEST(Mp3Decoder, SystemCodecDecodesTheWholeStream) {
    std::string dir = FreshTempDir("decoder");
    std::string file = dir + "d.mp3";
    WriteBytes(file, SilentMp3(100));
    qlm::player::Mp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(file, 0)) << "no ACM MPEG Layer-3 codec";
    std::vector<char> pcm;
    while (decoder.Decode(pcm, 65536)) {
    }
    const size_t expected = 100 * 1152 * 2;  // mono, 16 bits
    EXPECT_GE(pcm.size(), expected - 2 * 1152 * 2);
    EXPECT_LE(pcm.size(), expected + 2 * 1152 * 2);
    // From the middle: about half of it.
    ASSERT_TRUE(decoder.Open(file, 1300));
    std::vector<char> half;
    while (decoder.Decode(half, 65536)) {
    }
    EXPECT_NEAR(static_cast<double>(half.size()), expected / 2.0, expected / 10.0);
}

TEST(Mp3Decoder, AnEncodedToneComesOutAsSound) {
    std::string tone = WindowsPathFromEnv("QLM_BINARY_DIR", "/tests/player/tone.mp3");
    if (GetFileAttributesA(tone.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no sox/lame to make " << tone;
    qlm::player::Mp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(tone, 0));
    EXPECT_EQ(decoder.PcmFormat().nChannels, 2);
    std::vector<char> pcm;
    while (decoder.Decode(pcm, 65536)) {
    }
    const double seconds = pcm.size() / 4.0 / 44100;
    EXPECT_NEAR(seconds, 3.0, 0.1);
    int peak = 0;
    for (size_t i = 0; i + 1 < pcm.size(); i += 2)
        peak = std::max(peak, std::abs(static_cast<int>(static_cast<int16_t>(
                                  static_cast<uint8_t>(pcm[i]) | (static_cast<uint8_t>(pcm[i + 1]) << 8)))));
    EXPECT_GT(peak, 8000);   // about half of full scale
    EXPECT_LT(peak, 24000);
}

}  // namespace
