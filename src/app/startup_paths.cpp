#include "app/startup_paths.h"

#include "base/file_path.h"

namespace qlm {

std::u16string AsciiUpper(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return out;
}

std::u16string FolderOf(std::u16string_view path) {
    auto pos = path.find_last_of(u"\\/:");
    if (pos == std::u16string_view::npos) return {};
    return std::u16string(path.substr(0, pos + 1));
}

std::u16string SupportFolder(std::u16string_view runningProgram, std::u16string_view installedProgram) {
    std::u16string running = FolderOf(runningProgram);
    std::u16string installed = FolderOf(installedProgram);
    if (!installed.empty() && AsciiUpper(running) == AsciiUpper(installed)) return installed;
    return running + u"About\\";
}

DiskRootChoice ChooseDiskRoot(bool runningFromCd, std::u16string_view programFolder,
                              std::optional<std::u16string_view> firstParam) {
    DiskRootChoice choice;
    if (runningFromCd) {
        choice.source = DiskRootSource::ProgramFolder;
        choice.root = WithTrailingBackslash(std::u16string(programFolder));
        return choice;
    }
    if (!firstParam || firstParam->empty() || AsciiUpper(*firstParam) == u"-W") {
        choice.source = DiskRootSource::SearchDrives;
        return choice;
    }
    std::u16string_view p = *firstParam;
    if (AsciiUpper(p) == u"-D") {
        choice.source = DiskRootSource::ProgramFolder;
        choice.root = WithTrailingBackslash(std::u16string(programFolder));
    } else if (p.size() >= 3 && p[0] == u'D' && p[1] == u'=') {
        // Only an upper-case D introduces the drive form; "d=..." is a folder name.
        choice.source = DiskRootSource::DriveLetter;
        choice.root = std::u16string(1, p[2]) + u":\\";
    } else {
        choice.source = DiskRootSource::Folder;
        choice.root = WithTrailingBackslash(std::u16string(p));
    }
    return choice;
}

std::optional<std::u16string> FirstCommandLineParameter(std::u16string_view line) {
    size_t i = 0;
    auto readOne = [&](std::u16string& out) {
        while (i < line.size() && line[i] <= u' ') ++i;
        if (i >= line.size()) return false;
        bool quoted = false;
        while (i < line.size() && (quoted || line[i] > u' ')) {
            if (line[i] == u'"')
                quoted = !quoted;
            else
                out.push_back(line[i]);
            ++i;
        }
        return true;
    };
    std::u16string program, first;
    if (!readOne(program)) return std::nullopt;
    if (!readOne(first)) return std::nullopt;
    return first;
}

}  // namespace qlm
