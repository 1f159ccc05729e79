#include "pages/page_entries.h"

#include "base/text_codec.h"
#include "content/text_case.h"

namespace qlm {
namespace {

std::u16string_view StripAmpersand(std::u16string_view s) {
    if (!s.empty() && s.front() == u'&') s.remove_prefix(1);
    return s;
}

std::u16string DirectoryOf(std::u16string_view path) {
    size_t slash = path.find_last_of(u"\\/");
    return std::u16string(slash == std::u16string_view::npos ? std::u16string_view{} : path.substr(0, slash + 1));
}

}  // namespace

PageKind PageKindOf(std::u16string_view caption) {
    std::u16string upper = UpperCase(StripAmpersand(caption));
    if (upper == u"АНОНС") return PageKind::Announcement;
    if (upper == u"ПОМОЩЬ") return PageKind::Help;
    return PageKind::Information;
}

PagePath SplitPagePath(std::u16string_view path) {
    size_t slash = path.find_last_of(u"\\/");
    if (slash == std::u16string_view::npos) return {u"", std::u16string(path)};
    return {std::u16string(path.substr(0, slash + 1)), std::u16string(path.substr(slash + 1))};
}

std::u16string LanguageVersion(std::u16string_view dir, std::u16string_view languageId, std::u16string_view name) {
    std::u16string out(dir);
    if (!languageId.empty()) {
        out += languageId;
        out += u'\\';
    }
    out += name;
    return out;
}

bool IsCompiledHelpFile(std::u16string_view path) {
    return path.size() >= 4 && UpperCase(path.substr(path.size() - 4)) == u".CHM";
}

std::u16string FindDiskPage(std::u16string_view root, std::u16string_view path, std::u16string_view languageId,
                            const FileExists& exists) {
    PagePath parts = SplitPagePath(path);
    if (!languageId.empty()) {
        std::u16string version = std::u16string(root) + LanguageVersion(parts.dir, languageId, parts.name);
        if (exists(version)) return version;
    }
    std::u16string plain = std::u16string(root) + std::u16string(path);
    return exists(plain) ? plain : std::u16string();
}

std::u16string FindHelpPage(std::u16string_view supportFolder, std::u16string_view name,
                            std::u16string_view languageId, bool runningInstalled, const FileExists& exists) {
    std::u16string file = runningInstalled ? std::u16string(u"h_help.htm") : std::u16string(name);
    if (!languageId.empty()) {
        std::u16string version = LanguageVersion(supportFolder, languageId, file);
        if (exists(version)) return version;
    }
    std::u16string plain = std::u16string(supportFolder) + file;
    return exists(plain) ? plain : std::u16string();
}

std::u16string FindProgramHelp(std::u16string_view supportFolder, std::u16string_view languageId,
                               const FileExists& exists) {
    return FindHelpPage(supportFolder, u"h_help.htm", languageId, true, exists);
}

std::u16string PathOfFileUrl(std::string_view url) {
    std::string_view rest = url;
    const bool file = rest.substr(0, 8) == "file:///";
    if (file) rest.remove_prefix(8);
    if (size_t hash = rest.find('#'); file && hash != std::string_view::npos) rest = rest.substr(0, hash);
    std::string bytes;
    for (size_t i = 0; i < rest.size(); ++i) {
        auto hex = [](char c) {
            return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        };
        if (file && rest[i] == '%' && i + 2 < rest.size() && hex(rest[i + 1]) >= 0 && hex(rest[i + 2]) >= 0) {
            bytes += static_cast<char>(hex(rest[i + 1]) * 16 + hex(rest[i + 2]));
            i += 2;
        } else {
            bytes += file && rest[i] == '/' ? '\\' : rest[i];
        }
    }
    return Utf8ToUtf16(bytes);
}

bool RunsFromInstalledFolder(std::u16string_view programFile, std::u16string_view installedProgramFile) {
    if (installedProgramFile.empty()) return false;
    return EqualsIgnoringCase(DirectoryOf(programFile), DirectoryOf(installedProgramFile));
}

}  // namespace qlm
