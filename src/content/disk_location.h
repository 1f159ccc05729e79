// Finding the music disk: the acceptance test of a disk root, the choice among
// CD-ROM drives, and the disk watch. The decisions here are window-free; the
// drive facts and the dialogs come in through DiskSearchPorts.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qlm {

// A folder is a disk root when it holds qlm.cfg (a trailing backslash is added).
bool IsDiskRoot(std::u16string_view folder);

// "X:\" for a drive letter.
std::u16string DriveRoot(char16_t letter);

// The letters whose bit is set in a GetLogicalDrives mask (bit 0 = A) and that
// `isCdRom` accepts, in drive order.
std::u16string DriveLettersOf(uint32_t logicalDrives, const std::function<bool(char16_t)>& isCdRom);

// The letters whose root passes `isDiskRoot`, in the same order.
std::u16string AcceptedDrives(std::u16string_view letters,
                              const std::function<bool(std::u16string_view)>& isDiskRoot);

// One line of the drive selection list: "D:   [MUSIC]".
std::u16string DriveChoiceLine(char16_t letter, std::u16string_view volumeName);

// Answers of the not-found box.
constexpr int kNotFoundRetry = 5;
constexpr int kNotFoundBrowse = 9;
constexpr int kNotFoundCancel = 2;

// What the search needs from the machine and the user.
class DiskSearchPorts {
public:
    virtual ~DiskSearchPorts() = default;
    virtual std::u16string CdDriveLetters() = 0;
    virtual bool IsDiskRoot(std::u16string_view folder) = 0;
    // The not-found box: kNotFoundRetry, kNotFoundBrowse, kNotFoundCancel, or 0 when closed.
    virtual int AskDiskNotFound() = 0;
    // The folder browser; nullopt when cancelled.
    virtual std::optional<std::u16string> BrowseForDiskFolder() = 0;
    // The drive selection dialog over the accepted letters; nullopt when cancelled.
    virtual std::optional<char16_t> ChooseDrive(std::u16string_view acceptedLetters) = 0;
};

// The disk root (ending with a backslash), or nullopt when the program must quit.
std::optional<std::u16string> SearchDiskRoot(DiskSearchPorts& ports);

// One tick of the disk watch of a CD-ROM disk.
struct DiskWatchState {
    bool runningFromCd = false;
    bool diskAbsent = false;
    uint32_t volumeSerial = 0;  // of the disk loaded now
};

enum class DiskWatchAction {
    None,
    DiskRemoved,  // pause a playing player, switch the slide show off
    SameDiskBack, // the same disk again: Pause toggles playback back on
    OtherDisk,    // another disk: load it in place of the old one
};

DiskWatchAction WatchDiskStep(DiskWatchState& state, bool rootPresent,
                              const std::function<uint32_t()>& readVolumeSerial);

}  // namespace qlm
