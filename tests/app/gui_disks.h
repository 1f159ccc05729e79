// Disks, processes and player questions shared by the shell's GUI tests.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/gui_driver.h"

namespace qlm::test {

constexpr DWORD kStartTimeout = 20000;
constexpr const wchar_t* kMainClass = L"TMainForm";

std::wstring ShellExe();    // the built qlm.exe
std::wstring StandInExe();  // the built stand-in Winamp.exe
bool StandInBuilt();

std::string Cp1251(std::string_view utf8);
std::string Utf8(const std::wstring& text);

// A small record-form disk: two folders of songs (one in a second disk) and
// the stand-in player.
struct TestDisk {
    std::string id = "GUI-DISK-1";
    std::string titleUtf8 = "Тестовый диск";
    bool withPlayer = true;
    int songFrames = 400;  // about 10 s of silence per song
    bool secondFolder = true;
    // Texts, a slide, an information, an announcement and a help page: every page button.
    bool allPages = false;
    // With allPages: the announcement's entry, further page entries (caption,
    // file) and the listed slides (file, caption; the pictures are the test's).
    std::string anonsCaptionUtf8 = "Анонс";
    std::string anonsFile = "anons.htm";
    std::vector<std::pair<std::string, std::string>> morePages{};
    std::vector<std::pair<std::string, std::string>> slides{{"slide1.jpg", "Slide"}};
    // Folder and song names in two languages (the second shows with a language file).
    bool dualNames = false;
};
std::wstring MakeDisk(const std::wstring& name, const TestDisk& disk = {});

// The stand-in writes every message it gets here (it inherits our environment).
std::wstring UsePlayerLog(const std::wstring& name);
// What the stand-in answered to WM_USER `request` (-2 when it is not there).
LRESULT AskPlayer(LPARAM request);
// The stand-in told directly, as its own buttons would: enqueue a file, a command.
bool EnqueueInPlayer(const std::wstring& file);
void CommandPlayer(WPARAM command);
// Closes the stand-in a test left behind, so the next one starts its own.
void CloseStandIn();
size_t Count(const std::string& text, const std::string& what);

// The shell's skinned message box with this caption, if one is up; the wait
// gives up when the shell ends.
HWND MessageBoxOf(const ShellProcess& p, const std::string& captionUtf8);
HWND WaitForMessageBox(const ShellProcess& p, const std::string& captionUtf8);
// The skinned box's buttons are child buttons numbered from 1000.
void PressButton(HWND box, int index);
inline void PressFirstButton(HWND box) { PressButton(box, 0); }

}  // namespace qlm::test
