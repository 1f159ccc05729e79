// The settings of the main window and its companions in qlm.ini, the restart
// hand-over that the update dialog leaves for the next start, and Winamp's
// bitmap-font option. Window-free: the main window copies a Settings into its
// controls after LoadSettings and fills one from its controls before
// SaveSettings. Every value has a default, so a missing file is a first run.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings_profile.h"
#include "app/settings_registry.h"

namespace qlm::app {

// Opened by bare name, so the profile functions keep it in the Windows folder,
// shared by every copy of the program on the machine.
inline constexpr std::u16string_view kSettingsFileName = u"qlm.ini";

inline constexpr std::u16string_view kSettingsSection = u"Settings";
inline constexpr std::u16string_view kOneRunSection = u"One Run";
inline constexpr std::u16string_view kPlayListSection = u"WAList";

struct WindowBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowBounds&) const = default;
};

// Section "Settings". Members carry the defaults of a first run; the key each
// one is stored under is named beside it.
struct Settings {
    WindowBounds main{70, 201, 330, 348};   // MLeft, MTop, MWidth, MHeight: normal placement
    bool mainMaximized = false;             // MMax: ShowWindow(SW_SHOWMAXIMIZED) after the bounds
    bool playFromCurrentPosition = false;   // Pwcp: check of BeginMenuItem
    bool bookModeHorizontal = false;        // ListHPosition: false vertical, true horizontal
    bool bookMode = false;                  // BookMode: see BookModeAtLoad
    int colorScheme = 0;                    // QLMColor: pending scheme, applied by FormShow
    int favoritesWidth = 110;               // FavoritWidth: FavoriPanel
    int songsListWidth = 80;                // SongsListWidth: apply through SongsListExtent
    int songsListHeight = 140;              // SongsListHeight: apply through SongsListExtent
    WindowBounds text{345, 84, 434, 465};   // ILeft, ITop, IWidth, IHeight: floating text window
    bool textMaximized = false;             // IMax
    bool textDocked = true;                 // IDock: docked into Form4Panel
    int textDockWidth = 125;                // IDockWidth
    int slideDelay = 5;                     // SDelay: seconds, snapped; only with slides enabled
    std::optional<int> winampLeft;          // WALeft: see WinampPosition
    std::optional<int> winampTop;           // WATop
    bool winampVisible = false;             // WVis: check of MenuShowWinamp
    int videoPlayerId = -1;                 // ExtVPId: -1 none; select only when videos are enabled

    bool operator==(const Settings&) const = default;
};

// What the store needs to know about the loaded disk.
struct DiskContext {
    bool slidesEnabled = false;   // SDelay is read and written only then
    bool catalogueFlat = false;   // no node has a parent: BookMode is not written
};

// Reads section "Settings" in the order of its keys.
Settings LoadSettings(ProfileStore& ini, const DiskContext& disk);

// Writes the Language registry value first, then section "Settings".
// The caller fills `s` from its windows: the normal-placement rectangle of the
// main window, the floating bounds of the text window (its last remembered
// bounds while it is maximised), the docked state and width, the Winamp window
// rectangle when a Winamp window exists (else leave winampLeft/Top empty and
// the main window's left and top - 115 are written). settings_win.h has
// NormalBounds / SetNormalBounds and WinampWindowPosition for this.
void SaveSettings(ProfileStore& ini, RegistryStore& reg, std::u16string_view languageId, const Settings& s,
                  const DiskContext& disk);

// Book mode is switched on at load only when wanted and the catalogue is not
// flat; on a flat catalogue it stays off but the wish is kept in the file,
// because SaveSettings leaves BookMode untouched for flat catalogues.
inline bool BookModeAtLoad(const Settings& s, bool catalogueFlat) { return s.bookMode && !catalogueFlat; }

// Where the Winamp window goes: the stored position, or by default the main
// window's current left and its top - 115.
struct Position {
    int left = 0;
    int top = 0;
};
Position WinampPosition(const Settings& s, int mainLeft, int mainTop);

// The song list's width (or height) in book mode from the stored value and the
// left panel's width (or height): the absolute value, or half the panel when
// less than 10 pixels of the panel would remain.
int SongsListExtent(int stored, int panelExtent);

// The slide delays the delay menu offers, in seconds.
inline constexpr std::array<int, 7> kSlideDelays{1, 3, 5, 10, 20, 30, 60};
// Clamps to 0..60 and snaps to one of kSlideDelays: 0-1 to 1, 2-3 to 3,
// 4-7 to 5, 8-14 to 10, 15-24 to 20, 25-44 to 30, 45-60 to 60.
int SnapSlideDelay(int seconds);

// ---- Restart hand-over: sections "One Run" and "WAList" ----

struct RestartHandOver {
    std::u16string lastCD;                // disk identifier; applies only to the same disk
    std::vector<std::u16string> playList; // full file names, in list order
    int playIndex = 0;                    // player's list position
    int isPlay = 0;                       // 0 stopped, 1 playing, 3 paused
    int playFilePos = 0;                  // milliseconds
    int control = 0;                      // 1 tree, 2 favourites list, 0 other
    int playMode = 0;
    int showFav = 0;                      // favourites panel width when shown, 0 hidden
    std::u16string instFile;              // installer to delete at the next start
    bool demoMode = false;                // read only; this program never writes it

    bool operator==(const RestartHandOver&) const = default;
};

// Used by the update dialog before it starts an installer: LastCD, the play
// list (section erased first; empty names are skipped along with their
// number), PlayIndex, isPlay, PlayFilePos, Control, PlayMode, ShowFav,
// InstFile when not empty, then the Language registry value.
void WriteRestartHandOver(ProfileStore& ini, RegistryStore& reg, const RestartHandOver& h,
                          std::u16string_view languageId);
// Reads everything back; the play list stops at the first missing or empty key.
RestartHandOver ReadRestartHandOver(ProfileStore& ini);
void EraseRestartHandOver(ProfileStore& ini);
// The start-up's read: the hand-over when it was written for this disk
// (identifiers compared exactly), nothing otherwise; erased in both cases.
std::optional<RestartHandOver> TakeRestartHandOver(ProfileStore& ini, std::u16string_view diskIdentifier);

// ---- Winamp's own profile: Winamp.ini beside Winamp's program file ----

// Winamp.ini in the folder of the given Winamp program file.
std::u16string WinampIniPath(std::u16string_view winampProgram);
// Section "Winamp", key "bifont"; true when missing.
bool ReadWinampBitmapFont(ProfileStore& winampIni);
void WriteWinampBitmapFont(ProfileStore& winampIni, bool on);

}  // namespace qlm::app
