// The shell started as a user starts it, under Wine: which windows appear,
// what the stand-in player was told, what the settings file holds.
#include <gtest/gtest.h>

#include <string>

#include "app/gui_driver.h"
#include "base/text_codec.h"
#include "content/description_stream.h"

using namespace qlm::test;

namespace {

constexpr DWORD kStartTimeout = 20000;
const wchar_t* const kMainClass = L"TMainForm";

std::wstring ShellExe() { return BinaryDir() + L"\\src\\app\\qlm.exe"; }
std::wstring StandInExe() { return BinaryDir() + L"\\src\\player\\Winamp.exe"; }

std::string Cp1251(std::string_view utf8) { return qlm::EncodeFromUtf8(utf8, 204); }
std::string Z(const std::string& a, const std::string& b) { return a + std::string(1, '\0') + b; }

// A small record-form disk: two folders of songs and the stand-in player.
std::wstring MakeDisk(const std::wstring& name, bool withPlayer = true, const std::string& id = "GUI-DISK-1") {
    std::wstring dir = FreshFolder(name);
    qlm::DescriptionWriter w;
    w.WriteShortRecord("CDQLM=" + id);
    w.WriteShortRecord("CDRUS=" + Cp1251("Тестовый диск"));
    w.WriteShortRecord("EndOfCFG");
    w.WriteShortRecord(Z("F=Rock", "N=" + Cp1251("Рок")));
    w.WriteShortRecord(Z("FN=one.mp3", "N=" + Cp1251("Первая")));
    w.WriteShortRecord(Z("FN=two.mp3", "N=" + Cp1251("Вторая")));
    w.WriteShortRecord(Z("F=Pop", "N=Pop"));
    w.WriteShortRecord(Z("FN=three.mp3", "N=Three"));
    WriteFileBytes(dir + L"\\qlm.cfg", w.Take());
    if (withPlayer) {
        CreateDirectoryW((dir + L"\\Player").c_str(), nullptr);
        CopyFileTo(StandInExe(), dir + L"\\Player\\Winamp.exe");
    }
    return dir;
}

// The stand-in writes every message it gets here (it inherits our environment).
std::wstring UsePlayerLog(const std::wstring& name) {
    std::wstring log = BinaryDir() + L"\\gui-test\\" + name + L".log";
    DeleteFileW(log.c_str());
    SetEnvironmentVariableW(L"QLM_WINAMP_LOG", log.c_str());
    return log;
}

// Closes the stand-in a test left behind, so the next one starts its own.
void CloseStandIn() {
    for (int i = 0; i < 100; ++i) {
        HWND w = FindWindowW(L"Winamp v1.x", nullptr);
        if (!w) return;
        PostMessageW(w, WM_CLOSE, 0, 0);
        Pause(50);
    }
}

class ShellGui : public ::testing::Test {
protected:
    void SetUp() override {
        CloseStandIn();
        RemoveSettingsFile();
    }
    static bool StandInBuilt() { return GetFileAttributesW(StandInExe().c_str()) != INVALID_FILE_ATTRIBUTES; }
    void TearDown() override { CloseStandIn(); }
};

// The shell's skinned message box with this caption, if one is up.
HWND MessageBoxOf(const ShellProcess& p, const std::string& captionUtf8) {
    for (HWND h : p.TopLevelWindows(true)) {
        std::wstring caption = WindowText(h);
        if (ClassOf(h) == L"TMessageForm" &&
            qlm::Utf16ToUtf8(std::u16string(caption.begin(), caption.end())) == captionUtf8)
            return h;
    }
    return nullptr;
}

// Waits for the box while the shell runs.
HWND WaitForMessageBox(const ShellProcess& p, const std::string& captionUtf8) {
    for (int i = 0; i < 300 && p.Running(); ++i) {
        if (HWND box = MessageBoxOf(p, captionUtf8)) return box;
        Pause(50);
    }
    return nullptr;
}

// The skinned box's buttons are child buttons numbered from 1000.
void PressFirstButton(HWND box) {
    if (HWND ok = GetDlgItem(box, 1000))
        PostMessageW(ok, BM_CLICK, 0, 0);
    else
        PostMessageW(box, WM_CLOSE, 0, 0);
}

}  // namespace

TEST_F(ShellGui, StartsOnADiskFolderAndClosesCleanly) {
    if (!StandInBuilt()) GTEST_SKIP() << "the stand-in player is not built";
    std::wstring disk = MakeDisk(L"disk-start");
    std::wstring log = UsePlayerLog(L"start");
    ShellProcess shell;
    ASSERT_TRUE(shell.Start(ShellExe(), L"\"" + disk + L"\""));
    HWND main = shell.WaitForWindow(kMainClass, kStartTimeout);
    ASSERT_NE(main, nullptr) << "no main window";
    Pause(1500);
    // The disk title is the caption while the built-in Russian texts are in use.
    std::wstring caption = WindowText(main);
    EXPECT_EQ(qlm::Utf16ToUtf8(std::u16string(caption.begin(), caption.end())), "Тестовый диск");
    RECT rc{};
    GetWindowRect(main, &rc);
    EXPECT_GE(rc.right - rc.left, 477);
    EXPECT_GE(rc.bottom - rc.top, 456);
    Screenshot(L"shell-start");

    // The stand-in was asked to empty its play list and to stop.
    std::string messages = ReadFileBytes(log);
    EXPECT_NE(messages.find("lParam=101"), std::string::npos) << messages;
    EXPECT_NE(messages.find("wParam=40047"), std::string::npos) << messages;

    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(shell.WaitExit(15000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(IniHasSection(L"Settings"));
}

TEST_F(ShellGui, SecondStartEndsSilentlyWhileTheFirstRuns) {
    if (!StandInBuilt()) GTEST_SKIP() << "the stand-in player is not built";
    std::wstring disk = MakeDisk(L"disk-twice");
    UsePlayerLog(L"twice");
    ShellProcess first, second;
    ASSERT_TRUE(first.Start(ShellExe(), L"\"" + disk + L"\""));
    HWND main = first.WaitForWindow(kMainClass, kStartTimeout);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(second.Start(ShellExe(), L"\"" + disk + L"\""));
    DWORD code = 1;
    ASSERT_TRUE(second.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(IsWindow(main));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.WaitExit(15000));
}

TEST_F(ShellGui, FolderWithoutDescriptionEndsWithoutAWindow) {
    std::wstring empty = FreshFolder(L"no-cfg");
    ShellProcess shell;
    ASSERT_TRUE(shell.Start(ShellExe(), L"\"" + empty + L"\""));
    DWORD code = 1;
    ASSERT_TRUE(shell.WaitExit(15000, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(ShellGui, DashDTakesTheProgramsOwnFolder) {
    if (!StandInBuilt()) GTEST_SKIP() << "the stand-in player is not built";
    std::wstring disk = MakeDisk(L"disk-own");
    ASSERT_TRUE(CopyFileTo(ShellExe(), disk + L"\\qlm.exe"));
    UsePlayerLog(L"own");
    ShellProcess shell;
    ASSERT_TRUE(shell.Start(disk + L"\\qlm.exe", L"-d"));
    HWND main = shell.WaitForWindow(kMainClass, kStartTimeout);
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(shell.WaitExit(15000));

    // Without the switch the same program searches the CD-ROM drives, which
    // hold no disk here: it ends or asks, but never shows the main window.
    std::wstring empty = FreshFolder(L"own-empty");
    ASSERT_TRUE(CopyFileTo(ShellExe(), empty + L"\\qlm.exe"));
    ShellProcess other;
    ASSERT_TRUE(other.Start(empty + L"\\qlm.exe", L"-d"));
    EXPECT_TRUE(other.WaitExit(15000));
}

TEST_F(ShellGui, DriveLetterFormUsesTheDrivesRoot) {
    if (!StandInBuilt()) GTEST_SKIP() << "the stand-in player is not built";
    // The root of drive C: (the test prefix's own) becomes a disk for a moment.
    std::wstring disk = MakeDisk(L"disk-drive");
    if (!CopyFileTo(disk + L"\\qlm.cfg", L"C:\\qlm.cfg")) GTEST_SKIP() << "C:\\ cannot be written here";
    CreateDirectoryW(L"C:\\Player", nullptr);
    CopyFileTo(StandInExe(), L"C:\\Player\\Winamp.exe");
    UsePlayerLog(L"drive");
    ShellProcess shell;
    ASSERT_TRUE(shell.Start(ShellExe(), L"D=C"));
    HWND main = shell.WaitForWindow(kMainClass, kStartTimeout);
    EXPECT_NE(main, nullptr);
    if (main) PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(shell.WaitExit(15000));
    CloseStandIn();

    // "d=C" is not the drive form: it names a folder that does not exist.
    ShellProcess lower;
    ASSERT_TRUE(lower.Start(ShellExe(), L"d=C"));
    DWORD code = 1;
    EXPECT_TRUE(lower.WaitExit(15000, &code));
    EXPECT_EQ(lower.WaitForWindow(kMainClass, 0), nullptr);
    DeleteFileW(L"C:\\qlm.cfg");
    DeleteFileW(L"C:\\Player\\Winamp.exe");
    RemoveDirectoryW(L"C:\\Player");
}

TEST_F(ShellGui, NoWinampShowsTheErrorAndEnds) {
    std::wstring disk = MakeDisk(L"disk-nowinamp", /*withPlayer=*/false);
    ShellProcess shell;
    ASSERT_TRUE(shell.Start(ShellExe(), L"\"" + disk + L"\""));
    HWND box = WaitForMessageBox(shell, "Ошибка");
    ASSERT_NE(box, nullptr) << "no error box";
    Screenshot(L"shell-no-winamp");
    EXPECT_EQ(shell.WaitForWindow(kMainClass, 0), nullptr);
    PressFirstButton(box);
    DWORD code = 1;
    ASSERT_TRUE(shell.WaitExit(15000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(IniHasSection(L"Settings"));  // a start that quit saves nothing
}

TEST_F(ShellGui, DamagedDescriptionIsReportedAndEnds) {
    std::wstring disk = MakeDisk(L"disk-damaged");
    qlm::DescriptionWriter w;
    w.WriteShortRecord("CDRUS=no identifier first");
    w.WriteShortRecord("EndOfCFG");
    WriteFileBytes(disk + L"\\qlm.cfg", w.Take());
    ShellProcess shell;
    ASSERT_TRUE(shell.Start(ShellExe(), L"\"" + disk + L"\""));
    HWND box = WaitForMessageBox(shell, "Ошибка");
    ASSERT_NE(box, nullptr) << "a damaged description must not end the program without a word";
    PressFirstButton(box);
    EXPECT_TRUE(shell.WaitExit(15000));
}
