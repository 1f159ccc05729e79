// The shell started as a user starts it, under Wine: which windows appear,
// what the stand-in player was told, what the settings file holds.
#include <gtest/gtest.h>

#include <string>

#include "app/gui_disks.h"
#include "content/description_stream.h"

using namespace qlm::test;

namespace {

void WriteHandOver(const std::wstring& lastCd, const std::wstring& disk) {
    WritePrivateProfileStringW(L"One Run", L"LastCD", lastCd.c_str(), L"qlm.ini");
    WritePrivateProfileStringW(L"One Run", L"PlayIndex", L"1", L"qlm.ini");
    WritePrivateProfileStringW(L"One Run", L"isPlay", L"1", L"qlm.ini");
    WritePrivateProfileStringW(L"One Run", L"PlayFilePos", L"1500", L"qlm.ini");
    WritePrivateProfileStringW(L"One Run", L"PlayMode", L"2", L"qlm.ini");
    WritePrivateProfileStringW(L"WAList", L"File0", (disk + L"\\Sound\\Rock\\one.mp3").c_str(), L"qlm.ini");
    WritePrivateProfileStringW(L"WAList", L"File1", (disk + L"\\Sound\\Rock\\two.mp3").c_str(), L"qlm.ini");
    WritePrivateProfileStringW(L"WAList", L"File2", (disk + L"\\Sound\\Pop\\three.mp3").c_str(), L"qlm.ini");
}

class ShellGui : public ::testing::Test {
protected:
    void SetUp() override {
        CloseStandIn();
        RemoveSettingsFile();
        ResetLanguageChoice();
    }
    void TearDown() override { CloseStandIn(); }
};

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
    EXPECT_EQ(Utf8(WindowText(main)), "Тестовый диск");
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

    // The same switch in a folder without a disk description: no window.
    std::wstring empty = FreshFolder(L"own-empty");
    ASSERT_TRUE(CopyFileTo(ShellExe(), empty + L"\\qlm.exe"));
    ShellProcess other;
    ASSERT_TRUE(other.Start(empty + L"\\qlm.exe", L"-D"));
    EXPECT_TRUE(other.WaitExit(15000));

    // "-w" searches the CD-ROM drives, which hold no disk here: the program
    // ends (no drive) or asks (a drive without a disk), never shows its window.
    ShellProcess search;
    ASSERT_TRUE(search.Start(empty + L"\\qlm.exe", L"-w"));
    if (HWND box = WaitForMessageBox(search, "Ошибка")) {
        if (HWND cancel = GetDlgItem(box, 1002)) PostMessageW(cancel, BM_CLICK, 0, 0);
    }
    EXPECT_TRUE(search.WaitExit(15000));
    EXPECT_EQ(search.WaitForWindow(kMainClass, 0), nullptr);
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
    std::wstring disk = MakeDisk(L"disk-nowinamp", {.withPlayer = false});
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

TEST_F(ShellGui, HandOverForAnotherDiskIsErasedUnapplied) {
    if (!StandInBuilt()) GTEST_SKIP() << "the stand-in player is not built";
    std::wstring disk = MakeDisk(L"disk-handover-other");
    WriteHandOver(L"SOME-OTHER-DISK", disk);
    std::wstring log = UsePlayerLog(L"handover-other");
    ShellProcess shell;
    ASSERT_TRUE(shell.Start(ShellExe(), L"\"" + disk + L"\""));
    HWND main = shell.WaitForWindow(kMainClass, kStartTimeout);
    ASSERT_NE(main, nullptr);
    Pause(1500);
    EXPECT_FALSE(IniHasSection(L"One Run"));
    EXPECT_FALSE(IniHasSection(L"WAList"));
    std::string messages = ReadFileBytes(log);
    // Only the start-up list of the first leaf's level, not the handed-over one.
    EXPECT_EQ(Count(messages, "WM_COPYDATA"), 2u) << messages;
    EXPECT_EQ(messages.find("three.mp3"), std::string::npos) << messages;
    EXPECT_EQ(AskPlayer(104), 0);  // stopped
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(shell.WaitExit(15000));
}

TEST_F(ShellGui, HandOverForThisDiskRestoresListPositionAndPlay) {
    if (!StandInBuilt()) GTEST_SKIP() << "the stand-in player is not built";
    std::wstring disk = MakeDisk(L"disk-handover-same");
    WriteHandOver(L"GUI-DISK-1", disk);
    std::wstring log = UsePlayerLog(L"handover-same");
    ShellProcess shell;
    ASSERT_TRUE(shell.Start(ShellExe(), L"\"" + disk + L"\""));
    HWND main = shell.WaitForWindow(kMainClass, kStartTimeout);
    ASSERT_NE(main, nullptr);
    Pause(1500);
    EXPECT_FALSE(IniHasSection(L"One Run"));
    EXPECT_FALSE(IniHasSection(L"WAList"));
    std::string messages = ReadFileBytes(log);
    EXPECT_EQ(Count(messages, "WM_COPYDATA"), 3u) << messages;
    EXPECT_NE(messages.find("two.mp3"), std::string::npos) << messages;
    EXPECT_EQ(AskPlayer(124), 3);  // list length
    EXPECT_EQ(AskPlayer(125), 1);  // the handed-over entry
    EXPECT_EQ(AskPlayer(104), 1);  // playing
    EXPECT_GE(AskPlayer(105), 1500);  // from the handed-over position on
    Screenshot(L"shell-resumed");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(shell.WaitExit(15000));
}

TEST_F(ShellGui, UpdateDialogClosingMessageClosesOnlyAfterAnInstallerStarted) {
    if (!StandInBuilt()) GTEST_SKIP() << "the stand-in player is not built";
    std::wstring disk = MakeDisk(L"disk-1524");
    UsePlayerLog(L"1524");
    ShellProcess shell;
    ASSERT_TRUE(shell.Start(ShellExe(), L"\"" + disk + L"\""));
    HWND main = shell.WaitForWindow(kMainClass, kStartTimeout);
    ASSERT_NE(main, nullptr);
    PostMessageW(main, 1524, 0, 0);  // the dialog ended without an installer
    Pause(1000);
    EXPECT_TRUE(shell.Running());
    EXPECT_TRUE(IsWindowEnabled(main));
    PostMessageW(main, 1524, 1, 0);  // an installer was started: the program closes
    DWORD code = 1;
    EXPECT_TRUE(shell.WaitExit(15000, &code));
    EXPECT_TRUE(IniHasSection(L"Settings"));
}

TEST_F(ShellGui, WithALanguageFileTheCaptionIsTheDiskIdentifier) {
    if (!StandInBuilt()) GTEST_SKIP() << "the stand-in player is not built";
    if (GetFileAttributesW((BinaryDir() + L"\\src\\app\\About\\English.lng").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "English.lng is not beside the program";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\VNT Company\\QLM Musical Player", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t english[] = L"English";
    RegSetValueExW(key, L"Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(english), sizeof english);
    RegCloseKey(key);

    std::wstring disk = MakeDisk(L"disk-english");
    UsePlayerLog(L"english");
    ShellProcess shell;
    ASSERT_TRUE(shell.Start(ShellExe(), L"\"" + disk + L"\""));
    HWND main = shell.WaitForWindow(kMainClass, kStartTimeout);
    ASSERT_NE(main, nullptr);
    Pause(500);
    EXPECT_EQ(WindowText(main), L"GUI-DISK-1");
    Screenshot(L"shell-english");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(shell.WaitExit(15000));
    ResetLanguageChoice();
}
