// Helpers for tests that run the stand-in player (Winamp.exe of this build)
// as a real process under Wine or Windows.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace qlm::test {

inline std::string WindowsPathFromEnv(const char* var, const char* suffix) {
    const char* unix = std::getenv(var);
    std::string p = unix ? unix : "";
    if (!p.empty() && p[0] == '/') p.insert(0, "Z:");
    p += suffix;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

// The stand-in built next to the tests.
inline std::string StandInExe() { return WindowsPathFromEnv("QLM_BINARY_DIR", "/src/player/Winamp.exe"); }

// A fresh folder under the temporary folder.
inline std::string FreshTempDir(const std::string& name) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string dir = std::string(base) + name + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

inline HWND FindStandIn() { return FindWindowA("Winamp v1.x", nullptr); }

inline HWND WaitForStandIn(DWORD ms = 10000) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND w = FindStandIn()) return w;
        if (GetTickCount() - start > ms) return nullptr;
        Sleep(10);
    }
}

// Ends every stand-in of this session (tests leave none behind for the next).
inline void EndAllStandIns() {
    for (int i = 0; i < 20; ++i) {
        HWND w = FindStandIn();
        if (!w) return;
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (p) {
            TerminateProcess(p, 0);
            WaitForSingleObject(p, 5000);
            CloseHandle(p);
        }
        for (int k = 0; k < 100 && FindStandIn() == w; ++k) Sleep(10);
    }
}

// Starts the stand-in with this show command; the log goes to logPath.
inline PROCESS_INFORMATION StartStandIn(const std::string& logPath, WORD show = SW_HIDE) {
    std::string cmd(1, '"');
    cmd += StandInExe();
    cmd += "\" \"/LOG=";
    cmd += logPath;
    cmd += '"';
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = show;
    PROCESS_INFORMATION pi{};
    CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    return pi;
}

}  // namespace qlm::test
