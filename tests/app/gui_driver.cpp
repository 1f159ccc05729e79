#include "app/gui_driver.h"

#include <winioctl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <algorithm>
#include <memory>

namespace qlm::test {

std::wstring WindowsPath(const std::string& unixPath) {
    std::wstring out = L"Z:";
    for (char c : unixPath) out.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return out;
}

namespace {
std::wstring EnvPath(const char* name) {
    const char* v = std::getenv(name);
    return v ? WindowsPath(v) : std::wstring();
}
}  // namespace

std::wstring BinaryDir() { return EnvPath("QLM_BINARY_DIR"); }
std::wstring SourceDir() { return EnvPath("QLM_SOURCE_DIR"); }

void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = dir + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}

std::wstring FreshFolder(const std::wstring& name) {
    std::wstring base = BinaryDir() + L"\\gui-test";
    CreateDirectoryW(base.c_str(), nullptr);
    std::wstring dir = base + L"\\" + name;
    RemoveTree(dir);
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

std::string ReadFileBytes(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string out;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) out.append(buf, n);
    CloseHandle(h);
    return out;
}

bool CopyFileTo(const std::wstring& from, const std::wstring& to) { return CopyFileW(from.c_str(), to.c_str(), FALSE); }

ShellProcess::~ShellProcess() {
    Kill();
    if (pi_.hProcess) CloseHandle(pi_.hProcess);
    if (pi_.hThread) CloseHandle(pi_.hThread);
}

bool ShellProcess::Start(const std::wstring& program, const std::wstring& arguments) {
    std::wstring line = L"\"" + program + L"\"";
    if (!arguments.empty()) line += L" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    return CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
}

bool ShellProcess::WaitExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!pi_.hProcess) return true;
    DWORD start = GetTickCount();
    while (WaitForSingleObject(pi_.hProcess, 20) == WAIT_TIMEOUT) {
        if (GetTickCount() - start > timeoutMs) return false;
        Pause(0);
    }
    if (exitCode) GetExitCodeProcess(pi_.hProcess, exitCode);
    return true;
}

bool ShellProcess::Running() const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

void ShellProcess::Kill() {
    if (Running()) {
        TerminateProcess(pi_.hProcess, 99);
        WaitForSingleObject(pi_.hProcess, 5000);
    }
}

namespace {
struct EnumContext {
    DWORD pid;
    bool visibleOnly;
    std::vector<HWND> found;
};
BOOL CALLBACK CollectWindow(HWND h, LPARAM p) {
    auto* c = reinterpret_cast<EnumContext*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == c->pid && (!c->visibleOnly || IsWindowVisible(h))) c->found.push_back(h);
    return TRUE;
}
}  // namespace

std::vector<HWND> ShellProcess::TopLevelWindows(bool visibleOnly) const {
    EnumContext ctx{pi_.dwProcessId, visibleOnly, {}};
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

HWND ShellProcess::WaitForWindow(const wchar_t* className, DWORD timeoutMs) const {
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND h : TopLevelWindows(true))
            if (!className || ClassOf(h) == className) return h;
        if (GetTickCount() - start > timeoutMs || !Running()) return nullptr;
        Pause(50);
    }
}

std::wstring WindowText(HWND hwnd) {
    wchar_t buf[512] = {};
    GetWindowTextW(hwnd, buf, 512);
    return buf;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t buf[256] = {};
    GetClassNameW(hwnd, buf, 256);
    return buf;
}

void Pause(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (ms) Sleep(std::min<DWORD>(ms, 10));
    } while (GetTickCount() - start < ms);
}

void ClearPdfs(const std::wstring& folder) {
    WIN32_FIND_DATAW fd{};
    HANDLE find = FindFirstFileW((folder + L"\\*.pdf").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return;
    do DeleteFileW((folder + L"\\" + fd.cFileName).c_str());
    while (FindNextFileW(find, &fd));
    FindClose(find);
}

std::wstring WaitForPdf(const std::wstring& folder) {
    for (int i = 0; i < 300; ++i) {
        Pause(100);
        WIN32_FIND_DATAW fd{};
        HANDLE find = FindFirstFileW((folder + L"\\*.pdf").c_str(), &fd);
        if (find == INVALID_HANDLE_VALUE) continue;
        FindClose(find);
        Pause(1500);  // cups-pdf writes the file in steps
        return fd.cFileName;
    }
    return {};
}

bool Screenshot(const std::wstring& name) {
    std::wstring dir = BinaryDir() + L"\\screens";
    CreateDirectoryW(dir.c_str(), nullptr);
    HDC screen = GetDC(nullptr);
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFOHEADER bi{};
    bi.biSize = sizeof bi;
    bi.biWidth = w;
    bi.biHeight = h;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    bi.biCompression = BI_RGB;
    int stride = ((w * 3 + 3) / 4) * 4;
    std::string pixels(static_cast<size_t>(stride) * h, '\0');
    GetDIBits(mem, bmp, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi;
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(pixels.size());
    std::string file(reinterpret_cast<const char*>(&fh), sizeof fh);
    file.append(reinterpret_cast<const char*>(&bi), sizeof bi);
    file += pixels;
    return WriteFileBytes(dir + L"\\" + name + L".bmp", file);
}

namespace {

// Wine's own request to its mount manager that defines a drive letter over a
// Unix folder (or removes it when no folder is given).
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};

// The Unix path of a Windows path, through Wine's own conversion.
std::string UnixPathOf(const std::wstring& path) {
    using Convert = char*(CDECL*)(const wchar_t*);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return {};
    char* unixPath = convert(path.c_str());
    if (!unixPath) return {};
    std::string out = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return out;
}

bool DefineDrive(wchar_t letter, const std::string& unixFolder) {
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) return false;
    std::string request(sizeof(UnixDriveRequest) + unixFolder.size() + 1, '\0');
    UnixDriveRequest head{};
    head.size = static_cast<ULONG>(request.size());
    head.letter = static_cast<WCHAR>(towlower(letter));
    head.type = unixFolder.empty() ? DRIVE_NO_ROOT_DIR : DRIVE_CDROM;
    if (!unixFolder.empty()) head.mountPointOffset = sizeof head;
    std::memcpy(request.data(), &head, sizeof head);
    std::memcpy(request.data() + sizeof head, unixFolder.c_str(), unixFolder.size());
    DWORD returned = 0;
    BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()), nullptr,
                              0, &returned, nullptr);
    CloseHandle(manager);
    return ok != FALSE;
}

}  // namespace

CdRomDrive::CdRomDrive(wchar_t letter) : letter_(letter) {
    UINT type = GetDriveTypeW(Root().c_str());
    // Another kind of drive at this letter is left alone; a CD-ROM drive is
    // one an earlier run left behind.
    if (type != DRIVE_NO_ROOT_DIR && type != DRIVE_CDROM) return;
    made_ = Eject() && GetDriveTypeW(Root().c_str()) == DRIVE_CDROM;
}

CdRomDrive::~CdRomDrive() {
    if (made_) DefineDrive(letter_, {});
}

bool CdRomDrive::Insert(const std::wstring& folder) {
    std::string unixFolder = UnixPathOf(folder);
    return !unixFolder.empty() && DefineDrive(letter_, unixFolder);
}

bool CdRomDrive::Eject() { return Insert(FreshFolder(L"cd-tray-open")); }

void LabelDisk(const std::wstring& folder, const std::string& label, DWORD serial) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08lx\n", static_cast<unsigned long>(serial));
    WriteFileBytes(folder + L"\\.windows-serial", hex);
    if (!label.empty()) WriteFileBytes(folder + L"\\.windows-label", label + "\n");
}

std::wstring IniValue(const wchar_t* section, const wchar_t* key) {
    wchar_t buf[1024] = {};
    GetPrivateProfileStringW(section, key, L"", buf, 1024, L"qlm.ini");
    return buf;
}

bool IniHasSection(const wchar_t* section) {
    wchar_t buf[4096] = {};
    return GetPrivateProfileSectionW(section, buf, 4096, L"qlm.ini") > 0;
}

void RemoveSettingsFile() {
    wchar_t dir[MAX_PATH] = {};
    GetWindowsDirectoryW(dir, MAX_PATH);
    DeleteFileW((std::wstring(dir) + L"\\qlm.ini").c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, L"qlm.ini");  // drop any cached copy
}

void ResetLanguageChoice() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\VNT Company\\QLM Musical Player", 0, KEY_SET_VALUE, &key) ==
        ERROR_SUCCESS) {
        RegDeleteValueW(key, L"Language");
        RegCloseKey(key);
    }
}

}  // namespace qlm::test
