// Process-wide start-up state of the shell: the folders the program works
// from, the music disk's root and drive, the language in use, and the flags
// that start-up and shutdown steps leave for one another.
#pragma once

#include <cstdint>
#include <string>

namespace qlm {

struct AppState {
    std::u16string programFile;           // the running qlm.exe
    std::u16string installedProgramPath;  // RootDir from the registry; empty when absent
    std::u16string supportFolder;         // ends with a backslash
    bool fontInstalled = false;
    std::u16string fontPath;              // arial.ttf that was added as a font resource

    std::u16string diskRoot;              // ends with a backslash
    bool runningFromCd = false;
    std::u16string volumeName;            // at most 36 characters
    uint32_t volumeSerial = 0;
    bool diskAbsent = false;              // a watched CD-ROM disk is out of its drive
    bool pausedByDiskWatch = false;       // taking the disk out paused playback

    std::u16string languageId;            // empty: the built-in Russian texts
    bool quitAtStart = false;
    bool favoritesInInstallFolder = false;
    bool winampFontSwitched = false;
    std::u16string winampProgram;       // the Winamp the player dispatcher drives
    bool closing1 = false, closing2 = false;
};

AppState& App();

class Catalogue;
// The one catalogue of the loaded disk, replaced as a whole at a disk change.
Catalogue& TheCatalogue();

// arial.ttf of the support folder as a font resource, and its removal.
void InstallSupportFont();
void RemoveSupportFont();

}  // namespace qlm
