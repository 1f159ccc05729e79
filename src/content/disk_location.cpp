#include "content/disk_location.h"

#include <system_error>

#include "base/file_path.h"

namespace qlm {

bool IsDiskRoot(std::u16string_view folder) {
    if (folder.empty()) return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(FsPath(WithTrailingBackslash(std::u16string(folder)) + u"qlm.cfg"), ec);
}

std::u16string DriveRoot(char16_t letter) { return std::u16string(1, letter) + u":\\"; }

std::u16string DriveLettersOf(uint32_t logicalDrives, const std::function<bool(char16_t)>& isCdRom) {
    std::u16string letters;
    for (int bit = 0; bit < 26; ++bit) {
        if (!(logicalDrives & (1u << bit))) continue;
        char16_t letter = static_cast<char16_t>(u'A' + bit);
        if (isCdRom(letter)) letters.push_back(letter);
    }
    return letters;
}

std::u16string AcceptedDrives(std::u16string_view letters,
                              const std::function<bool(std::u16string_view)>& isDiskRoot) {
    std::u16string accepted;
    for (char16_t letter : letters)
        if (isDiskRoot(DriveRoot(letter))) accepted.push_back(letter);
    return accepted;
}

std::u16string DriveChoiceLine(char16_t letter, std::u16string_view volumeName) {
    return std::u16string(1, letter) + u":   [" + std::u16string(volumeName) + u"]";
}

std::optional<std::u16string> SearchDiskRoot(DiskSearchPorts& ports) {
    for (;;) {
        std::u16string letters = ports.CdDriveLetters();
        if (letters.empty()) return std::nullopt;  // no CD-ROM drive at all: quit without a word
        std::u16string accepted =
            AcceptedDrives(letters, [&](std::u16string_view root) { return ports.IsDiskRoot(root); });
        if (accepted.size() == 1) return DriveRoot(accepted[0]);
        if (accepted.size() > 1) {
            auto letter = ports.ChooseDrive(accepted);
            if (!letter) return std::nullopt;
            return DriveRoot(*letter);
        }
        switch (ports.AskDiskNotFound()) {
            case kNotFoundRetry:
                continue;
            case kNotFoundBrowse:
                if (auto folder = ports.BrowseForDiskFolder()) return WithTrailingBackslash(*folder);
                continue;  // a cancelled browser brings the question back
            default:
                return std::nullopt;
        }
    }
}

DiskWatchAction WatchDiskStep(DiskWatchState& state, bool rootPresent,
                              const std::function<uint32_t()>& readVolumeSerial) {
    if (state.runningFromCd && !state.diskAbsent && !rootPresent) {
        state.diskAbsent = true;
        return DiskWatchAction::DiskRemoved;
    }
    if (state.diskAbsent && rootPresent) {
        state.diskAbsent = false;
        return readVolumeSerial() == state.volumeSerial ? DiskWatchAction::SameDiskBack : DiskWatchAction::OtherDisk;
    }
    return DiskWatchAction::None;
}

}  // namespace qlm
