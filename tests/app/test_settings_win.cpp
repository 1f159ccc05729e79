// The settings store against the real profile functions and registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "app/settings_store.h"
#include "app/settings_win.h"
#include "base/file_path.h"

namespace qlm::app {
namespace {

std::u16string TempFile(const char16_t* name) {
    wchar_t dir[MAX_PATH + 1] = {};
    DWORD n = GetTempPathW(MAX_PATH, dir);
    std::u16string path(reinterpret_cast<const char16_t*>(dir), n);
    path += name;
    DeleteFileW(reinterpret_cast<const wchar_t*>(path.c_str()));
    return path;
}

std::string Bytes(const std::u16string& path) {
    std::string bytes;
    ReadWholeFile(FsPath(path), bytes);
    return bytes;
}

bool Exists(const std::u16string& path) {
    return GetFileAttributesW(reinterpret_cast<const wchar_t*>(path.c_str())) != INVALID_FILE_ATTRIBUTES;
}

TEST(WinProfileStore, MissingFileGivesDefaults) {
    WinProfileStore ini(TempFile(u"qlm-missing.ini"));
    EXPECT_FALSE(ini.Read(u"Settings", u"MWidth").has_value());
    EXPECT_EQ(LoadSettings(ini, {.slidesEnabled = true}), Settings{});
    ini.EraseSection(u"WAList");
    EXPECT_FALSE(Exists(ini.FullPath())) << "reading and erasing create nothing";
}

TEST(WinProfileStore, RoundTripsSettingsAndHandOver) {
    std::u16string path = TempFile(u"qlm-roundtrip.ini");
    WinProfileStore ini(path);
    MemoryRegistryStore reg;
    Settings s;
    s.main = {-20, 40, 800, 600};
    s.bookMode = true;
    s.slideDelay = 20;
    s.winampLeft = 5;
    s.winampTop = 6;
    s.videoPlayerId = 3;
    SaveSettings(ini, reg, u"English", s, {.slidesEnabled = true});
    EXPECT_EQ(LoadSettings(ini, {.slidesEnabled = true}), s);
    EXPECT_NE(Bytes(path).find(std::string("E\0x\0t\0V\0P\0I\0d\0", 14)), std::string::npos)
        << "written as ExtVPId in UTF-16";

    RestartHandOver h;
    h.lastCD = u"Диск №1";
    h.playList = {u"D:\\Sound\\Песня 1.mp3", u"D:\\Sound\\Łódź.mp3"};
    h.playIndex = 1;
    h.isPlay = 1;
    WriteRestartHandOver(ini, reg, h, u"");
    auto back = TakeRestartHandOver(ini, u"Диск №1");
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, h) << "names of any language survive";
    EXPECT_FALSE(ini.Read(u"One Run", u"LastCD").has_value());
    EXPECT_EQ(LoadSettings(ini, {.slidesEnabled = true}), s) << "erasing the hand-over keeps the settings";
    DeleteFileW(reinterpret_cast<const wchar_t*>(path.c_str()));
}

TEST(WinProfileStore, ReadsAnAnsiFileWithAGapAndCaseFreeKeys) {
    std::u16string path = TempFile(u"qlm-ansi.ini");
    std::ofstream(FsPath(path), std::ios::binary) << "[one run]\r\nlastcd=ABC\r\n[WAList]\r\nFile0=a.mp3\r\n"
                                                     "File1=b.mp3\r\nFile3=d.mp3\r\n[Settings]\r\nEXTVPID=2\r\n"
                                                     "MMax=5\r\nSDelay=100\r\n";
    WinProfileStore ini(path);
    auto h = TakeRestartHandOver(ini, u"ABC");
    ASSERT_TRUE(h.has_value());
    EXPECT_EQ(h->playList.size(), 2u);
    Settings s = LoadSettings(ini, {.slidesEnabled = true});
    EXPECT_EQ(s.videoPlayerId, 2);
    EXPECT_TRUE(s.mainMaximized);
    EXPECT_EQ(s.slideDelay, 60);
    EXPECT_EQ(Bytes(path).find("WAList"), std::string::npos);
    DeleteFileW(reinterpret_cast<const wchar_t*>(path.c_str()));
}

TEST(WinProfileStore, LongValuesAreReadWhole) {
    std::u16string path = TempFile(u"qlm-long.ini");
    WinProfileStore ini(path);
    std::u16string longName(3000, u'ж');
    ini.Write(u"WAList", u"File0", longName);
    EXPECT_EQ(ReadString(ini, u"WAList", u"File0"), longName);
    DeleteFileW(reinterpret_cast<const wchar_t*>(path.c_str()));
}

TEST(WinProfileStore, BareNameLandsInTheWindowsFolder) {
    WinProfileStore ini = SettingsFile();
    wchar_t dir[MAX_PATH + 1] = {};
    UINT n = GetWindowsDirectoryW(dir, MAX_PATH);
    std::u16string expected(reinterpret_cast<const char16_t*>(dir), n);
    expected += u"\\qlm.ini";
    EXPECT_TRUE(EqualNoCase(ini.FullPath(), expected));
    ini.Write(u"QlmTest", u"Probe", u"1");
    EXPECT_TRUE(Exists(expected));
    EXPECT_EQ(ReadInt(ini, u"QlmTest", u"probe", 0), 1);
    ini.EraseSection(u"QlmTest");
    EXPECT_FALSE(ini.Read(u"QlmTest", u"Probe").has_value());
}

TEST(WinProfileStore, WinampProfileIsNeverCreated) {
    std::u16string exe = TempFile(u"winamp.exe");
    std::u16string iniPath = WinampIniPath(exe);
    DeleteFileW(reinterpret_cast<const wchar_t*>(iniPath.c_str()));
    WinProfileStore missing = WinampProfile(exe);
    EXPECT_TRUE(ReadWinampBitmapFont(missing));
    WriteWinampBitmapFont(missing, false);
    EXPECT_FALSE(Exists(iniPath));

    std::ofstream(FsPath(iniPath), std::ios::binary) << "[Winamp]\r\nbifont=1\r\nskin=Base\r\n";
    WinProfileStore present = WinampProfile(exe);
    WriteWinampBitmapFont(present, false);
    EXPECT_FALSE(ReadWinampBitmapFont(present));
    EXPECT_NE(Bytes(iniPath).find("skin=Base"), std::string::npos) << "Winamp's other options stay";
    WriteWinampBitmapFont(present, true);
    EXPECT_TRUE(ReadWinampBitmapFont(present));
    DeleteFileW(reinterpret_cast<const wchar_t*>(iniPath.c_str()));
}

TEST(WinRegistryStore, LanguageValueRoundTrip) {
    WinRegistryStore reg;
    std::u16string before = ReadLanguageId(reg);
    WriteLanguageId(reg, u"English");
    EXPECT_EQ(ReadLanguageId(reg), u"English");
    WriteLanguageId(reg, u"");
    EXPECT_EQ(ReadLanguageId(reg), u"");
    EXPECT_EQ(reg.ReadValue(u"NoSuchValue"), u"");
    WriteLanguageId(reg, before);
}

}  // namespace
}  // namespace qlm::app

namespace qlm::app {
namespace {

struct TestWindow {
    explicit TestWindow(const wchar_t* cls) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = cls;
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(0, cls, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }
    ~TestWindow() { DestroyWindow(hwnd); }
    HWND hwnd;
};

TEST(WindowBoundsOfWindows, NormalBoundsSurviveMaximising) {
    TestWindow w(L"QlmSettingsTestWindow");
    ASSERT_NE(w.hwnd, nullptr);
    WindowBounds b{70, 201, 477, 348};
    SetNormalBounds(w.hwnd, b);
    EXPECT_EQ(NormalBounds(w.hwnd), b);
    EXPECT_FALSE(IsWindowVisible(w.hwnd)) << "placing does not show";
    ShowWindow(w.hwnd, SW_SHOWMAXIMIZED);
    EXPECT_EQ(NormalBounds(w.hwnd), b) << "what is saved is the normal placement";
    SetNormalBounds(w.hwnd, {10, 20, 300, 200});
    EXPECT_TRUE(IsZoomed(w.hwnd));
    ShowWindow(w.hwnd, SW_RESTORE);
    EXPECT_EQ(NormalBounds(w.hwnd), (WindowBounds{10, 20, 300, 200}));
}

TEST(WindowBoundsOfWindows, WinampWindowPosition) {
    EXPECT_FALSE(WinampWindowPosition().has_value());
    TestWindow winamp(L"Winamp v1.x");
    SetWindowPos(winamp.hwnd, nullptr, 123, 45, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    auto p = WinampWindowPosition();
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->left, 123);
    EXPECT_EQ(p->top, 45);
}

}  // namespace
}  // namespace qlm::app
