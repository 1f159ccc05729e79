// The folders the program works from: where the music disk comes from (the
// command line and whether the program runs from a CD-ROM drive) and where
// the language files, help pages and arial.ttf lie.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qlm {

enum class DiskRootSource {
    SearchDrives,   // look among the CD-ROM drives
    ProgramFolder,  // the running program's own folder is the disk
    DriveLetter,    // "D=X": the root of drive X
    Folder,         // any other first parameter names the disk folder
};

struct DiskRootChoice {
    DiskRootSource source = DiskRootSource::SearchDrives;
    std::u16string root;  // ends with a backslash; empty for SearchDrives
};

// programFolder ends with a backslash. Only the first parameter counts, and a
// program started from a CD-ROM drive ignores the command line altogether.
DiskRootChoice ChooseDiskRoot(bool runningFromCd, std::u16string_view programFolder,
                              std::optional<std::u16string_view> firstParam);

// The first parameter of a Windows command line, read the way the runtime reads
// it: the program name is skipped, blanks separate parameters, and double
// quotes group blanks into one parameter and are themselves dropped.
std::optional<std::u16string> FirstCommandLineParameter(std::u16string_view commandLine);

// Folder part of a path, up to and including its last backslash.
std::u16string FolderOf(std::u16string_view path);

// The support folder: the installed program's folder when the installed copy
// runs (folders compared without regard to letter case), else the running
// program's folder + "About\".
std::u16string SupportFolder(std::u16string_view runningProgram, std::u16string_view installedProgram);

// Upper-cases ASCII letters only; the comparisons it serves are of paths and switches.
std::u16string AsciiUpper(std::u16string_view text);

}  // namespace qlm
