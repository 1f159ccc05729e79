#include "app/settings_win.h"
#include "win/files.h"

#include <windows.h>

#include <vector>

#include "app/settings_store.h"
#include "win/handles.h"

namespace qlm::app {
namespace {

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
std::u16string U(const wchar_t* s, size_t n) { return std::u16string(reinterpret_cast<const char16_t*>(s), n); }

bool IsBareName(std::u16string_view name) { return name.find_first_of(u"\\/:") == std::u16string_view::npos; }


// A value no profile holds: tells a missing key from an empty one.
constexpr char16_t kMissing[] = u"\x01\x02missing";

}  // namespace

WinProfileStore::WinProfileStore(std::u16string fileName, Create create)
    : fileName_(std::move(fileName)), create_(create) {}

std::u16string WinProfileStore::FullPath() const {
    if (!IsBareName(fileName_)) return fileName_;
    wchar_t dir[MAX_PATH + 1] = {};
    UINT n = GetWindowsDirectoryW(dir, MAX_PATH);
    if (n == 0 || n > MAX_PATH) return fileName_;
    std::u16string path = U(dir, n);
    if (path.back() != u'\\') path += u'\\';
    return path + fileName_;
}

std::optional<std::u16string> WinProfileStore::Read(std::u16string_view section, std::u16string_view key) {
    std::u16string sec(section), k(key);
    std::vector<wchar_t> buf(512);
    for (;;) {
        DWORD n = GetPrivateProfileStringW(W(sec), W(k), reinterpret_cast<const wchar_t*>(kMissing), buf.data(),
                                           static_cast<DWORD>(buf.size()), W(fileName_));
        if (n + 1 < buf.size() || buf.size() >= (1u << 20)) {
            std::u16string v = U(buf.data(), n);
            if (v == kMissing) return std::nullopt;
            return v;
        }
        buf.resize(buf.size() * 4);
    }
}

bool WinProfileStore::PrepareForWrite() {
    std::u16string path = FullPath();
    if (win::FileExists(path)) return true;
    if (create_ == Create::Never) return false;
    // Seed the new file with a UTF-16 byte order mark; the profile functions
    // then keep it in UTF-16 instead of the system code page.
    win::UniqueHandle<win::FileHandleTraits> f(
        CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (f) {
        const unsigned char bom[2] = {0xFF, 0xFE};
        DWORD written = 0;
        WriteFile(f.get(), bom, 2, &written, nullptr);
    }
    return true;  // a failed seed still lets the profile functions try
}

void WinProfileStore::Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    if (!PrepareForWrite()) return;
    std::u16string sec(section), k(key), v(value);
    WritePrivateProfileStringW(W(sec), W(k), W(v), W(fileName_));
}

void WinProfileStore::EraseSection(std::u16string_view section) {
    if (!win::FileExists(FullPath())) return;
    std::u16string sec(section);
    WritePrivateProfileStringW(W(sec), nullptr, nullptr, W(fileName_));
}

WinProfileStore SettingsFile() { return WinProfileStore(std::u16string(kSettingsFileName)); }

WinProfileStore WinampProfile(std::u16string_view winampProgram) {
    return WinProfileStore(WinampIniPath(winampProgram), WinProfileStore::Create::Never);
}

std::u16string WinRegistryStore::ReadValue(std::u16string_view name) {
    std::u16string keyPath(kRegistryKeyPath), n(name);
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(keyPath), 0, KEY_READ, &raw) != ERROR_SUCCESS) return {};
    win::UniqueHandle<win::RegKeyTraits> key(raw);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), W(n), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || size == 0) return {};
    std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1);
    if (RegQueryValueExW(key.get(), W(n), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) !=
        ERROR_SUCCESS)
        return {};
    buf[std::min<size_t>(size / sizeof(wchar_t), buf.size() - 1)] = 0;
    return std::u16string(reinterpret_cast<const char16_t*>(buf.data()));
}

void WinRegistryStore::WriteValue(std::u16string_view name, std::u16string_view value) {
    std::u16string keyPath(kRegistryKeyPath), n(name), v(value);
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, W(keyPath), 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr) !=
        ERROR_SUCCESS)
        return;
    win::UniqueHandle<win::RegKeyTraits> key(raw);
    RegSetValueExW(key.get(), W(n), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                   static_cast<DWORD>((v.size() + 1) * sizeof(char16_t)));
}

WindowBounds NormalBounds(HWND window) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(window, &wp)) return {};
    const RECT& r = wp.rcNormalPosition;
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void SetNormalBounds(HWND window, const WindowBounds& b) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(window, &wp)) return;
    wp.rcNormalPosition = {b.left, b.top, b.left + b.width, b.top + b.height};
    wp.showCmd = IsWindowVisible(window) ? wp.showCmd : SW_HIDE;
    wp.flags = 0;
    SetWindowPlacement(window, &wp);
}

std::optional<Position> WinampWindowPosition() {
    HWND winamp = FindWindowW(L"Winamp v1.x", nullptr);
    RECT r{};
    if (!winamp || !GetWindowRect(winamp, &r)) return std::nullopt;
    return Position{r.left, r.top};
}

}  // namespace qlm::app
