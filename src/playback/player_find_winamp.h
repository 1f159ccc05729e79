// Where the shell finds the Winamp program at start-up. Window-free: the
// registry and the file system come in as functions, so every branch can be
// tried without a real installation.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace qlm {

// Reads a string value under HKEY_LOCAL_MACHINE without creating the key; an
// empty value name means the key's default value. nullopt when the key or the
// value is missing or unreadable.
using RegistryStringReader =
    std::function<std::optional<std::u16string>(const std::u16string& key, const std::u16string& valueName)>;
// Whether a file (not a folder) exists at this Windows path.
using FileExistsCheck = std::function<bool(const std::u16string& path)>;

inline constexpr char16_t kWinampUninstallKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Winamp";
inline constexpr char16_t kWinampUninstallValue[] = u"UninstallString";
inline constexpr char16_t kWinampAppPathKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Winamp.exe";

// Running from CD: only the disk's own Player\Winamp.exe counts. Otherwise an
// installed Winamp (its uninstaller's folder, then its App Paths entry) comes
// before the disk's copy. Returns the program's full path, or empty when no
// candidate exists.
std::u16string FindWinampProgram(const std::u16string& diskRoot, bool runningFromCd,
                                 const RegistryStringReader& readRegistry, const FileExistsCheck& fileExists);

}  // namespace qlm
