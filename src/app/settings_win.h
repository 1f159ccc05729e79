// The real storage behind the settings: profile files through the system
// profile functions and the program's registry key.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "app/settings_profile.h"
#include "app/settings_registry.h"
#include "app/settings_store.h"

namespace qlm::app {

// A profile file through GetPrivateProfileStringW / WritePrivateProfileStringW.
// A bare file name (as kSettingsFileName) lands in the Windows folder.
class WinProfileStore : public ProfileStore {
public:
    enum class Create {
        // Writes create the file when missing, as UTF-16 so that disk
        // identifiers and file names of any language survive a round trip.
        Unicode,
        // Writes to a missing file are skipped (Winamp.ini belongs to Winamp).
        Never,
    };
    explicit WinProfileStore(std::u16string fileName, Create create = Create::Unicode);

    std::optional<std::u16string> Read(std::u16string_view section, std::u16string_view key) override;
    void Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) override;
    void EraseSection(std::u16string_view section) override;

    // Where the file is: a bare name resolved against the Windows folder.
    std::u16string FullPath() const;

private:
    bool PrepareForWrite();
    std::u16string fileName_;
    Create create_;
};

// qlm.ini in the Windows folder.
WinProfileStore SettingsFile();
// Winamp.ini beside the given Winamp program file; never created by us.
WinProfileStore WinampProfile(std::u16string_view winampProgram);

// HKEY_LOCAL_MACHINE\SOFTWARE\VNT Company\QLM Musical Player. Reads open the
// key without creating it; writes create it. Failures are ignored.
class WinRegistryStore : public RegistryStore {
public:
    std::u16string ReadValue(std::u16string_view name) override;
    void WriteValue(std::u16string_view name, std::u16string_view value) override;
};

// A window's normal (not maximised, not minimised) bounds as the settings keep
// them: GetWindowPlacement's rectangle, width = right - left.
WindowBounds NormalBounds(HWND window);
// Gives a window its normal bounds without showing or activating it.
void SetNormalBounds(HWND window, const WindowBounds& b);
// Left and top of Winamp's main window (class "Winamp v1.x") when one exists.
std::optional<Position> WinampWindowPosition();

}  // namespace qlm::app
