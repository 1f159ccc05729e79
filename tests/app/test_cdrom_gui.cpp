// The shell with its music disk in a CD-ROM drive, under Wine: the search of
// the drives, the drive letter form, and the disk watch while the program runs
// from the disk (taken out, put back, another disk put in).
#include <gtest/gtest.h>

#include <string>

#include "app/gui_disks.h"

#include <commctrl.h>

using namespace qlm::test;

namespace {

constexpr wchar_t kFirstLetter = L'K';
constexpr wchar_t kSecondLetter = L'L';
constexpr DWORD kFirstSerial = 0x1111AAAA;
constexpr DWORD kSecondSerial = 0x2222BBBB;
constexpr LPARAM kAskState = 104;  // 1 playing, 3 paused, 0 stopped
constexpr WPARAM kPlay = 40045;
constexpr WPARAM kPauseToggle = 40046;

const TestDisk kFirstDisk{.songFrames = 2000};  // songs of about 50 s: they outlast a scenario
const TestDisk kSecondDisk{.id = "GUI-DISK-2", .titleUtf8 = "Второй диск", .songFrames = 2000, .secondFolder = false};

// Waits until the stand-in reports `state`; false after `ms`.
bool WaitForPlayerState(LRESULT state, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        if (AskPlayer(kAskState) == state) return true;
        if (GetTickCount() - start > ms) return false;
        Pause(50);
    }
}

bool WaitForCaption(HWND window, const std::string& captionUtf8, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        if (Utf8(WindowText(window)) == captionUtf8) return true;
        if (GetTickCount() - start > ms || !IsWindow(window)) return false;
        Pause(50);
    }
}

// Said when a window is missing: did the shell end, and how.
std::string Fate(ShellProcess& shell) {
    DWORD code = 0;
    if (!shell.WaitExit(0, &code)) return "the shell still runs";
    return "the shell ended with code " + std::to_string(code);
}

// Items of the catalogue tree of the main window.
int TreeItems(HWND main) {
    HWND tree = FindWindowExW(main, nullptr, WC_TREEVIEWW, nullptr);
    for (HWND child = nullptr; !tree && (child = FindWindowExW(main, child, nullptr, nullptr));)
        tree = FindWindowExW(child, nullptr, WC_TREEVIEWW, nullptr);
    return tree ? static_cast<int>(SendMessageW(tree, TVM_GETCOUNT, 0, 0)) : -1;
}

// What the stand-in was told since `from` (a length of its log).
std::string LogSince(const std::wstring& log, size_t from) {
    std::string all = ReadFileBytes(log);
    return from < all.size() ? all.substr(from) : std::string();
}

// The stand-in plays a song of the folder (as a user's click on its list would).
bool StartPlaying(const std::wstring& song) {
    if (!EnqueueInPlayer(song)) return false;
    CommandPlayer(kPlay);
    return WaitForPlayerState(1, 5000);
}

class CdRomGui : public ::testing::Test {
protected:
    void SetUp() override {
        if (!StandInBuilt()) GTEST_SKIP() << "the stand-in player is not built";
        CloseStandIn();
        RemoveSettingsFile();
        ResetLanguageChoice();
    }
    void TearDown() override { CloseStandIn(); }

    // A CD-ROM drive, or the test is skipped where none can be made.
    static bool Usable(const CdRomDrive& drive) { return drive.Made(); }

    void Close(ShellProcess& shell, HWND main) {
        if (main) PostMessageW(main, WM_CLOSE, 0, 0);
        DWORD code = 1;
        EXPECT_TRUE(shell.WaitExit(15000, &code));
        EXPECT_EQ(code, 0u);
    }
};

}  // namespace

// Only the second of two CD-ROM drives holds a disk: it is taken without the
// selection dialog; a disk found there by a program not on a CD is not watched.
TEST_F(CdRomGui, SearchTakesTheOnlyDriveWithADisk) {
    CdRomDrive empty(kFirstLetter), drive(kSecondLetter);
    if (!Usable(empty) || !Usable(drive)) GTEST_SKIP() << "no CD-ROM drive can be made here";
    std::wstring disk = MakeDisk(L"cd-search", kFirstDisk);
    LabelDisk(disk, "MUSIC", kFirstSerial);
    ASSERT_TRUE(drive.Insert(disk));
    std::wstring log = UsePlayerLog(L"cd-search");

    ShellProcess shell;
    ASSERT_TRUE(shell.Start(ShellExe(), L""));
    HWND main = shell.WaitForWindow(kMainClass, kStartTimeout);
    ASSERT_NE(main, nullptr) << Fate(shell) << ": the disk in the second drive was not found";
    EXPECT_EQ(shell.WaitForWindow(L"TSelectCDForm", 0), nullptr);
    EXPECT_TRUE(WaitForCaption(main, "Тестовый диск", 3000)) << Utf8(WindowText(main));
    EXPECT_EQ(TreeItems(main), 5);
    Screenshot(L"cd-search");

    // The program itself does not run from the CD: taking the disk out is not watched.
    ASSERT_TRUE(StartPlaying(disk + L"\\Sound\\Rock\\one.mp3"));
    ASSERT_TRUE(drive.Eject());
    Pause(1500);
    EXPECT_EQ(AskPlayer(kAskState), 1);
    Close(shell, main);
}

TEST_F(CdRomGui, SeveralDisksAreChosenInTheSelectionDialog) {
    CdRomDrive first(kFirstLetter), second(kSecondLetter);
    if (!Usable(first) || !Usable(second)) GTEST_SKIP() << "no CD-ROM drive can be made here";
    std::wstring diskA = MakeDisk(L"cd-choose-a", kFirstDisk);
    std::wstring diskB = MakeDisk(L"cd-choose-b", kSecondDisk);
    LabelDisk(diskA, "MUSIC", kFirstSerial);
    LabelDisk(diskB, "", kSecondSerial);  // a disk without a volume name
    ASSERT_TRUE(first.Insert(diskA));
    ASSERT_TRUE(second.Insert(diskB));
    UsePlayerLog(L"cd-choose");

    ShellProcess shell;
    ASSERT_TRUE(shell.Start(ShellExe(), L"-W"));
    HWND dialog = shell.WaitForWindow(L"TSelectCDForm", kStartTimeout);
    ASSERT_NE(dialog, nullptr) << Fate(shell);
    EXPECT_EQ(Utf8(WindowText(dialog)), "Выбор СD");
    HWND box = FindWindowExW(dialog, nullptr, L"ComboBox", nullptr);
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(SendMessageW(box, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), 0);
    wchar_t line[64] = {};
    SendMessageW(box, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(line));
    EXPECT_EQ(std::wstring(line), std::wstring(1, kFirstLetter) + L":   [MUSIC]");
    SendMessageW(box, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(line));
    EXPECT_EQ(std::wstring(line), std::wstring(1, kSecondLetter) + L":   []");
    Screenshot(L"cd-choose");
    SendMessageW(box, CB_SETCURSEL, 1, 0);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    HWND main = shell.WaitForWindow(kMainClass, kStartTimeout);
    ASSERT_NE(main, nullptr) << Fate(shell);
    EXPECT_TRUE(WaitForCaption(main, "Второй диск", 3000)) << Utf8(WindowText(main));
    Close(shell, main);
    CloseStandIn();

    // Escape in the dialog ends the program without a window.
    ShellProcess cancelled;
    ASSERT_TRUE(cancelled.Start(ShellExe(), L""));
    dialog = cancelled.WaitForWindow(L"TSelectCDForm", kStartTimeout);
    ASSERT_NE(dialog, nullptr) << Fate(cancelled);
    box = FindWindowExW(dialog, nullptr, L"ComboBox", nullptr);
    PostMessageW(box ? box : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(cancelled.WaitExit(15000));
    EXPECT_EQ(cancelled.WaitForWindow(kMainClass, 0), nullptr);
}

// An empty drive brings up the not-found box; Retry after the disk is in finds it.
TEST_F(CdRomGui, RetryAfterInsertingTheDiskFindsIt) {
    CdRomDrive drive(kFirstLetter);
    if (!Usable(drive)) GTEST_SKIP() << "no CD-ROM drive can be made here";
    std::wstring disk = MakeDisk(L"cd-retry", kFirstDisk);
    UsePlayerLog(L"cd-retry");

    ShellProcess shell;
    ASSERT_TRUE(shell.Start(ShellExe(), L"-w"));
    HWND box = WaitForMessageBox(shell, "Ошибка");
    ASSERT_NE(box, nullptr) << "no not-found box";
    EXPECT_EQ(shell.WaitForWindow(kMainClass, 0), nullptr);
    Screenshot(L"cd-not-found");
    ASSERT_TRUE(drive.Insert(disk));
    PressButton(box, 0);  // "Повтор"
    HWND main = shell.WaitForWindow(kMainClass, kStartTimeout);
    ASSERT_NE(main, nullptr) << Fate(shell) << ": Retry did not find the inserted disk";
    EXPECT_TRUE(WaitForCaption(main, "Тестовый диск", 3000)) << Utf8(WindowText(main));
    Close(shell, main);
}

// "D=" with the letter of a CD-ROM drive takes that drive, even with another disk elsewhere.
TEST_F(CdRomGui, DriveLetterFormNamesACdRomDrive) {
    CdRomDrive first(kFirstLetter), second(kSecondLetter);
    if (!Usable(first) || !Usable(second)) GTEST_SKIP() << "no CD-ROM drive can be made here";
    std::wstring diskA = MakeDisk(L"cd-letter-a", kFirstDisk);
    std::wstring diskB = MakeDisk(L"cd-letter-b", kSecondDisk);
    ASSERT_TRUE(first.Insert(diskA));
    ASSERT_TRUE(second.Insert(diskB));
    UsePlayerLog(L"cd-letter");

    ShellProcess shell;
    ASSERT_TRUE(shell.Start(ShellExe(), std::wstring(L"D=") + kSecondLetter));
    HWND main = shell.WaitForWindow(kMainClass, kStartTimeout);
    ASSERT_NE(main, nullptr) << Fate(shell);
    EXPECT_EQ(shell.WaitForWindow(L"TSelectCDForm", 0), nullptr);
    EXPECT_TRUE(WaitForCaption(main, "Второй диск", 3000)) << Utf8(WindowText(main));
    EXPECT_EQ(TreeItems(main), 3);
    Close(shell, main);
}

// The program started from the CD: its command line is ignored, and the disk is
// watched. Taken out, playback pauses and the catalogue stays; the same disk
// back, playback goes on; another disk, it is loaded in place of the old one.
TEST_F(CdRomGui, RunningFromTheCdWatchesTheDisk) {
    CdRomDrive drive(kFirstLetter);
    if (!Usable(drive)) GTEST_SKIP() << "no CD-ROM drive can be made here";
    std::wstring diskA = MakeDisk(L"cd-watch-a", kFirstDisk);
    std::wstring diskB = MakeDisk(L"cd-watch-b", kSecondDisk);
    LabelDisk(diskA, "MUSIC", kFirstSerial);
    LabelDisk(diskB, "MUSIC", kSecondSerial);
    ASSERT_TRUE(CopyFileTo(ShellExe(), diskA + L"\\qlm.exe"));
    ASSERT_TRUE(drive.Insert(diskA));
    std::wstring log = UsePlayerLog(L"cd-watch");

    ShellProcess shell;
    std::wstring noDisk = FreshFolder(L"cd-watch-nothing");
    ASSERT_TRUE(shell.Start(drive.Root() + L"qlm.exe", L"\"" + noDisk + L"\""));
    HWND main = shell.WaitForWindow(kMainClass, kStartTimeout);
    ASSERT_NE(main, nullptr) << Fate(shell) << ": from the CD the command line must be ignored";
    ASSERT_TRUE(WaitForCaption(main, "Тестовый диск", 3000)) << Utf8(WindowText(main));
    const int itemsA = TreeItems(main);
    EXPECT_EQ(itemsA, 5);

    // Taken out while playing: paused, the catalogue as it was.
    ASSERT_TRUE(StartPlaying(diskA + L"\\Sound\\Rock\\one.mp3"));
    size_t mark = ReadFileBytes(log).size();
    ASSERT_TRUE(drive.Eject());
    EXPECT_TRUE(WaitForPlayerState(3, 3000)) << LogSince(log, mark);
    EXPECT_EQ(Count(LogSince(log, mark), "wParam=40046"), 1u) << LogSince(log, mark);
    EXPECT_EQ(TreeItems(main), itemsA);
    EXPECT_EQ(Utf8(WindowText(main)), "Тестовый диск");
    EXPECT_TRUE(shell.Running());

    // The same disk back: the pause is toggled off again, nothing reloaded.
    mark = ReadFileBytes(log).size();
    ASSERT_TRUE(drive.Insert(diskA));
    EXPECT_TRUE(WaitForPlayerState(1, 3000)) << LogSince(log, mark);
    std::string back = LogSince(log, mark);
    EXPECT_EQ(Count(back, "wParam=40046"), 1u) << back;
    EXPECT_EQ(Count(back, "lParam=101 "), 0u) << back;

    // Paused by the user before the disk goes out: it stays paused when the disk is back.
    CommandPlayer(kPauseToggle);
    ASSERT_TRUE(WaitForPlayerState(3, 3000));
    mark = ReadFileBytes(log).size();
    ASSERT_TRUE(drive.Eject());
    Pause(1000);
    ASSERT_TRUE(drive.Insert(diskA));
    Pause(1500);
    EXPECT_EQ(AskPlayer(kAskState), 3);
    EXPECT_EQ(Count(LogSince(log, mark), "wParam=40046"), 0u) << LogSince(log, mark);
    CommandPlayer(kPauseToggle);
    ASSERT_TRUE(WaitForPlayerState(1, 3000));

    // Out again, and another disk in: the other disk replaces the first.
    mark = ReadFileBytes(log).size();
    ASSERT_TRUE(drive.Eject());
    EXPECT_TRUE(WaitForPlayerState(3, 3000));
    ASSERT_TRUE(drive.Insert(diskB));
    EXPECT_TRUE(WaitForCaption(main, "Второй диск", 5000)) << Utf8(WindowText(main));
    Pause(500);
    std::string change = LogSince(log, mark);
    EXPECT_EQ(Count(change, "wParam=40046"), 1u) << change;  // the pause at removal only
    // The old disk's play list emptied, then the new disk's first level loaded without playing.
    EXPECT_EQ(Count(change, "lParam=101 "), 2u) << change;
    EXPECT_EQ(AskPlayer(124), 2);
    EXPECT_EQ(AskPlayer(104), 0);
    EXPECT_EQ(TreeItems(main), 3);
    Screenshot(L"cd-other-disk");

    // The new disk is watched in turn.
    mark = ReadFileBytes(log).size();
    ASSERT_TRUE(StartPlaying(diskB + L"\\Sound\\Rock\\two.mp3"));
    ASSERT_TRUE(drive.Eject());
    EXPECT_TRUE(WaitForPlayerState(3, 3000)) << LogSince(log, mark);
    Close(shell, main);
}

// Another disk whose description cannot be read: the user is told, and the
// program ends instead of showing a catalogue it does not have.
TEST_F(CdRomGui, ADamagedDiskPutInIsReportedAndEnds) {
    CdRomDrive drive(kFirstLetter);
    if (!Usable(drive)) GTEST_SKIP() << "no CD-ROM drive can be made here";
    std::wstring diskA = MakeDisk(L"cd-damaged-a", kFirstDisk);
    std::wstring diskB = MakeDisk(L"cd-damaged-b", kSecondDisk);
    LabelDisk(diskA, "MUSIC", kFirstSerial);
    LabelDisk(diskB, "MUSIC", kSecondSerial);
    WriteFileBytes(diskB + L"\\qlm.cfg", std::string("\x05garbage", 8));
    ASSERT_TRUE(CopyFileTo(ShellExe(), diskA + L"\\qlm.exe"));
    ASSERT_TRUE(drive.Insert(diskA));
    UsePlayerLog(L"cd-damaged");

    ShellProcess shell;
    ASSERT_TRUE(shell.Start(drive.Root() + L"qlm.exe", L""));
    HWND main = shell.WaitForWindow(kMainClass, kStartTimeout);
    ASSERT_NE(main, nullptr) << Fate(shell);
    ASSERT_TRUE(drive.Eject());
    Pause(1000);
    ASSERT_TRUE(drive.Insert(diskB));
    HWND box = WaitForMessageBox(shell, "Ошибка");
    ASSERT_NE(box, nullptr) << "the damaged disk was not reported";
    Screenshot(L"cd-damaged");
    PressFirstButton(box);
    DWORD code = 1;
    EXPECT_TRUE(shell.WaitExit(15000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(IniHasSection(L"Settings")) << "the session's settings were lost";
}
