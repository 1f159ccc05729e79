#include "playback/player_find_winamp.h"

#include "base/file_path.h"

namespace qlm {
namespace {

// Registry paths are often written with quotes around them.
std::u16string Unquoted(std::u16string s) {
    if (!s.empty() && s.front() == u'"') s.erase(0, 1);
    auto q = s.find(u'"');
    if (q != std::u16string::npos) s.erase(q);
    return s;
}

std::u16string FromUninstaller(const RegistryStringReader& readRegistry) {
    auto value = readRegistry(kWinampUninstallKey, kWinampUninstallValue);
    if (!value) return {};
    auto slash = value->rfind(u'\\');
    if (slash == std::u16string::npos) return {};  // no folder to look in
    std::u16string folder = value->substr(0, slash + 1);
    if (!folder.empty() && folder.front() == u'"') folder.erase(0, 1);
    return folder + u"Winamp.exe";
}

}  // namespace

std::u16string FindWinampProgram(const std::u16string& diskRoot, bool runningFromCd,
                                 const RegistryStringReader& readRegistry, const FileExistsCheck& fileExists) {
    const std::u16string diskCopy = WithTrailingBackslash(diskRoot) + u"Player\\Winamp.exe";
    auto found = [&](const std::u16string& candidate) { return !candidate.empty() && fileExists(candidate); };

    if (!runningFromCd && readRegistry) {
        std::u16string candidate = FromUninstaller(readRegistry);
        if (found(candidate)) return candidate;
        auto appPath = readRegistry(kWinampAppPathKey, u"");
        candidate = appPath ? Unquoted(*appPath) : std::u16string();
        if (found(candidate)) return candidate;
    }
    return found(diskCopy) ? diskCopy : std::u16string();
}

}  // namespace qlm
