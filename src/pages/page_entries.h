// The disk's page entries sorted into the announcement, the help page and the
// information pages, and where each page's file is found: a version in the
// interface language's subfolder first, then the default one. Window-free;
// whether a file exists is asked through a callback.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qlm {

enum class PageKind { Announcement, Help, Information };

// "&Анонс"/"Анонс" in any letter case is the announcement, "&Помощь"/"Помощь"
// the help page; any other caption (also one with more text) an information page.
PageKind PageKindOf(std::u16string_view caption);

// A page path split at its last backslash: dir keeps the backslash.
struct PagePath {
    std::u16string dir;
    std::u16string name;
};
PagePath SplitPagePath(std::u16string_view path);

// dir + languageId + "\" + name; with the built-in texts (empty id) dir + name.
std::u16string LanguageVersion(std::u16string_view dir, std::u16string_view languageId, std::u16string_view name);

// The extension is ".CHM" in any letter case.
bool IsCompiledHelpFile(std::u16string_view path);

using FileExists = std::function<bool(const std::u16string&)>;

// Where a page of the disk is found: root + dir + language version, else
// root + path; empty when neither exists.
std::u16string FindDiskPage(std::u16string_view root, std::u16string_view path, std::u16string_view languageId,
                            const FileExists& exists);

// The help page of the main window: its file name becomes "h_help.htm" when
// the program runs from its installation folder; looked up in the support
// folder's language subfolder, then the support folder. Empty when missing.
std::u16string FindHelpPage(std::u16string_view supportFolder, std::u16string_view name,
                            std::u16string_view languageId, bool runningInstalled, const FileExists& exists);

// The program's own help file "h_help.htm" for the help window.
std::u16string FindProgramHelp(std::u16string_view supportFolder, std::u16string_view languageId,
                               const FileExists& exists);

// The local path of a "file:///C:/dir/page.htm#name" address (%-escaped
// UTF-8), without the fragment and with backslashes; other text is returned
// as it is.
std::u16string PathOfFileUrl(std::string_view url);

// True when the running program sits in the folder of the installed program
// file named by RootDir (directory parts compared, letter case ignored).
bool RunsFromInstalledFolder(std::u16string_view programFile, std::u16string_view installedProgramFile);

}  // namespace qlm
