// The machine's side of the disk search: CD-ROM drives, the not-found box,
// the folder browser and the drive selection dialog TSelectCDForm.
#pragma once

#include <windows.h>

#include <string>

#include "content/disk_location.h"
#include "win/window.h"

namespace qlm {

// Texts of the search's windows: built-in Russian, or the language file's.
enum class DiskSearchTextId { NotFound, ErrorCaption, Retry, Browse, Cancel, BrowseTitle, SelectCaption, SelectPrompt };
std::u16string DiskSearchText(DiskSearchTextId id, const std::u16string& languageId);
// Character set of the language's dialogs (204 for the built-in texts).
int DiskSearchCharset(const std::u16string& languageId);
// "Музыкальный диск не наден!" with Retry (5), Browse (9) and Cancel (2); 0 when closed.
int AskDiskNotFoundBox(HWND owner, const std::u16string& languageId);

// One letter per CD-ROM drive, in drive order.
std::u16string CdDriveLetters();
// Volume name of a drive root ("X:\"), empty when it has none or cannot be read.
std::u16string VolumeNameOf(std::u16string_view root);

// The folder browser: OK only on a disk root, the status line shows the path.
std::optional<std::u16string> BrowseForDiskFolder(HWND owner, const std::u16string& title);

// The drive selection dialog: one line per accepted drive, the first preselected.
class TSelectCDForm : public win::Window {
public:
    // The chosen letter, or nullopt when cancelled.
    std::optional<char16_t> Choose(HWND owner, std::u16string_view acceptedLetters, const std::u16string& languageId);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Finish(bool ok);
    HWND driveBox_ = nullptr;  // DriveBox
    HWND okButton_ = nullptr;
    HFONT font_ = nullptr;
    bool done_ = false;
    std::optional<char16_t> result_;
};

class WinDiskSearchPorts : public DiskSearchPorts {
public:
    WinDiskSearchPorts(HWND owner, std::u16string languageId) : owner_(owner), languageId_(std::move(languageId)) {}
    std::u16string CdDriveLetters() override { return qlm::CdDriveLetters(); }
    bool IsDiskRoot(std::u16string_view folder) override { return qlm::IsDiskRoot(folder); }
    int AskDiskNotFound() override;
    std::optional<std::u16string> BrowseForDiskFolder() override;
    std::optional<char16_t> ChooseDrive(std::u16string_view acceptedLetters) override;

private:
    HWND owner_;
    std::u16string languageId_;
};

}  // namespace qlm
