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
// Deletes a folder with everything in it (best effort: what cannot go stays).
void RemoveTree(const std::wstring& dir);
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
// Printing through the test printer (cups-pdf): the folder is emptied of
// PDFs first, so the next one is the print of the test; then the first PDF
// that appears (within 30 s), once cups-pdf has had time to finish writing
// it, by file name (empty: none). The print dialog is the shell's window of
// class "#32770" (WaitForWindow).
void ClearPdfs(const std::wstring& folder);
std::wstring WaitForPdf(const std::wstring& folder);
// Pumps this thread's messages while waiting (the shell may send to us).
void Pause(DWORD ms);

// The desktop as a 24-bit BMP under {binary dir}\screens\NAME.bmp.
bool Screenshot(const std::wstring& name);

// A CD-ROM drive of the Wine prefix, made for a test through Wine's mount
// manager (as Wine's configuration tool makes drives) and removed again at the
// end. It starts empty, as a drive with its tray open. Wine reads a drive's
// volume name and serial number from the files .windows-label and
// .windows-serial in the folder it shows.
class CdRomDrive {
public:
    explicit CdRomDrive(wchar_t letter);
    ~CdRomDrive();
    CdRomDrive(const CdRomDrive&) = delete;
    CdRomDrive& operator=(const CdRomDrive&) = delete;

    // False when the drive could not be made (not under Wine, or the letter
    // belongs to another kind of drive).
    bool Made() const { return made_; }
    std::wstring Root() const { return std::wstring(1, letter_) + L":\\"; }
    // The drive shows this folder as its disk, as if that disk were inserted.
    bool Insert(const std::wstring& folder);
    // The disk taken out: the drive is still there but holds nothing.
    bool Eject();

private:
    wchar_t letter_;
    bool made_ = false;
};
// A disk's volume name and serial number, as Wine reports them for a CD.
void LabelDisk(const std::wstring& folder, const std::string& label, DWORD serial);

// qlm.ini in the Windows folder, through the profile functions the shell uses.
std::wstring IniValue(const wchar_t* section, const wchar_t* key);
bool IniHasSection(const wchar_t* section);
void RemoveSettingsFile();
// The registry's language choice removed: the built-in Russian texts at the next start.
void ResetLanguageChoice();

}  // namespace qlm::test
