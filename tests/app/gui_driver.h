// Drives the shell as a user would, from inside Wine: starts qlm.exe, finds
// its windows, sends input, reads the stand-in player's message log and the
// settings file, and takes screenshots of the desktop.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qlm::test {

// A Unix path from the test environment as a Windows path (Z:\...).
std::wstring WindowsPath(const std::string& unixPath);
std::wstring BinaryDir();  // QLM_BINARY_DIR as a Windows path
std::wstring SourceDir();  // QLM_SOURCE_DIR as a Windows path
// A fresh empty folder under the build tree.
std::wstring FreshFolder(const std::wstring& name);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);
bool CopyFileTo(const std::wstring& from, const std::wstring& to);

class ShellProcess {
public:
    ShellProcess() = default;
    ShellProcess(const ShellProcess&) = delete;
    ShellProcess& operator=(const ShellProcess&) = delete;
    ~ShellProcess();

    // Starts `program` with the command line arguments (appended as given).
    bool Start(const std::wstring& program, const std::wstring& arguments);
    // Waits for the process to end; false on time-out. *exitCode gets its code.
    bool WaitExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    bool Running() const;
    DWORD Id() const { return pi_.dwProcessId; }
    // Ends the process when still running (last resort of a failed test).
    void Kill();

    // A visible top-level window of this process of the given class (any when
    // null), waiting up to timeoutMs.
    HWND WaitForWindow(const wchar_t* className, DWORD timeoutMs) const;
    std::vector<HWND> TopLevelWindows(bool visibleOnly) const;

private:
    PROCESS_INFORMATION pi_{};
};

std::wstring WindowText(HWND hwnd);
std::wstring ClassOf(HWND hwnd);
// Pumps this thread's messages while waiting (the shell may send to us).
void Pause(DWORD ms);

// The desktop as a 24-bit BMP under {binary dir}\screens\NAME.bmp.
bool Screenshot(const std::wstring& name);

// qlm.ini in the Windows folder, through the profile functions the shell uses.
std::wstring IniValue(const wchar_t* section, const wchar_t* key);
bool IniHasSection(const wchar_t* section);
void RemoveSettingsFile();
// The registry's language choice removed: the built-in Russian texts at the next start.
void ResetLanguageChoice();

}  // namespace qlm::test
