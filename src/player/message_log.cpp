#include "player/message_log.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

#include <shellapi.h>

namespace qlm::player {

MessageLog::MessageLog(const std::wstring& path) {
    if (path.empty()) return;
    file_ = win::UniqueFile(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

void MessageLog::Write(const std::string& line) {
    if (!file_) return;
    std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file_.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

static std::string Line(const char* message, WPARAM wParam, LPARAM lParam, LRESULT answer) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%s wParam=%ld lParam=%ld -> %ld", message, static_cast<long>(wParam),
                  static_cast<long>(lParam), static_cast<long>(answer));
    return buf;
}

void MessageLog::User(WPARAM wParam, LPARAM lParam, LRESULT answer) {
    if (file_) Write(Line("WM_USER", wParam, lParam, answer));
}

void MessageLog::Command(WPARAM wParam, LPARAM lParam, LRESULT answer) {
    if (file_) Write(Line("WM_COMMAND", wParam, lParam, answer));
}

void MessageLog::CopyData(WPARAM wParam, const COPYDATASTRUCT* cds, LRESULT answer) {
    if (!file_) return;
    if (!cds) {
        Write(Line("WM_COPYDATA", wParam, 0, answer));
        return;
    }
    const char* data = static_cast<const char*>(cds->lpData);
    const size_t n = data ? strnlen(data, cds->cbData) : 0;
    const bool zeroLast = data && cds->cbData > 0 && data[cds->cbData - 1] == '\0';
    char head[160];
    std::snprintf(head, sizeof head, "WM_COPYDATA wParam=%ld dwData=%lu cbData=%lu data=\"", static_cast<long>(wParam),
                  static_cast<unsigned long>(cds->dwData), static_cast<unsigned long>(cds->cbData));
    char tail[64];
    std::snprintf(tail, sizeof tail, "\" zero=%d -> %ld", zeroLast ? 1 : 0, static_cast<long>(answer));
    Write(std::string(head) + std::string(data ? data : "", n) + tail);
}

std::wstring LogPathFrom(const wchar_t* commandLine) {
    if (commandLine && *commandLine) {
        int argc = 0;
        if (LPWSTR* argv = CommandLineToArgvW(commandLine, &argc)) {
            std::wstring path;
            for (int i = 1; i < argc; ++i)
                if (_wcsnicmp(argv[i], L"/LOG=", 5) == 0) path = argv[i] + 5;
            LocalFree(argv);
            if (!path.empty()) return path;
        }
    }
    wchar_t buf[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableW(L"QLM_WINAMP_LOG", buf, static_cast<DWORD>(std::size(buf)));
    return (n > 0 && n < std::size(buf)) ? std::wstring(buf, n) : std::wstring();
}

}  // namespace qlm::player
