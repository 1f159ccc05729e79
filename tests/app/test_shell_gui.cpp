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

// A short silent MP3: MPEG-1 layer III frames at 128 kbit/s, 44.1 kHz.
std::string SilentMp3(int frames) {
    std::string frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    frame[3] = '\x00';
    std::string out;
    for (int i = 0; i < frames; ++i) out += frame;
    return out;
}

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
    for (const wchar_t* folder : {L"\\Sound", L"\\Sound\\Rock", L"\\Sound\\Pop"})
        CreateDirectoryW((dir + folder).c_str(), nullptr);
    for (const wchar_t* song : {L"\\Sound\\Rock\\one.mp3", L"\\Sound\\Rock\\two.mp3", L"\\Sound\\Pop\\three.mp3"})
        WriteFileBytes(dir + song, SilentMp3(400));
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

// Asks the running stand-in what Winamp would answer to WM_USER `request`.
LRESULT AskPlayer(LPARAM request) {
    HWND w = FindWindowW(L"Winamp v1.x", nullptr);
    DWORD_PTR answer = static_cast<DWORD_PTR>(-2);
    if (w) SendMessageTimeoutW(w, WM_USER, 0, request, SMTO_ABORTIFHUNG, 3000, &answer);
    return static_cast<LRESULT>(answer);
}

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

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
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
        ResetLanguageChoice();
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
    EXPECT_EQ(Count(messages, "WM_COPYDATA"), 0u) << messages;
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
