#include "app/settings_store.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>

namespace qlm::app {
namespace {

constexpr std::u16string_view S = kSettingsSection;
constexpr std::u16string_view R = kOneRunSection;

std::optional<int> ReadOptionalInt(ProfileStore& ini, std::u16string_view section, std::u16string_view key) {
    auto v = ini.Read(section, key);
    if (!v) return std::nullopt;
    return ParseProfileInt(*v);
}

std::u16string PlayListKey(size_t n) {
    std::string digits = std::to_string(n);
    return u"File" + std::u16string(digits.begin(), digits.end());
}

// A window rectangle is stored as PREFIX + Left, Top, Width, Height ("MLeft", "ITop", ...).
std::u16string BoundsKey(std::u16string_view prefix, std::u16string_view field) {
    return std::u16string(prefix) + std::u16string(field);
}

WindowBounds ReadBounds(ProfileStore& ini, std::u16string_view prefix, const WindowBounds& d) {
    WindowBounds b;
    b.width = ReadInt(ini, S, BoundsKey(prefix, u"Width"), d.width);
    b.height = ReadInt(ini, S, BoundsKey(prefix, u"Height"), d.height);
    b.left = ReadInt(ini, S, BoundsKey(prefix, u"Left"), d.left);
    b.top = ReadInt(ini, S, BoundsKey(prefix, u"Top"), d.top);
    return b;
}

void WriteBounds(ProfileStore& ini, std::u16string_view prefix, const WindowBounds& b) {
    WriteInt(ini, S, BoundsKey(prefix, u"Width"), b.width);
    WriteInt(ini, S, BoundsKey(prefix, u"Height"), b.height);
    WriteInt(ini, S, BoundsKey(prefix, u"Left"), b.left);
    WriteInt(ini, S, BoundsKey(prefix, u"Top"), b.top);
}

}  // namespace

Settings LoadSettings(ProfileStore& ini, const DiskContext& disk) {
    Settings d;  // the defaults
    Settings s;
    s.main = ReadBounds(ini, u"M", d.main);
    s.playFromCurrentPosition = ReadBool(ini, S, u"Pwcp", d.playFromCurrentPosition);
    s.mainMaximized = ReadBool(ini, S, u"MMax", d.mainMaximized);
    s.bookModeHorizontal = ReadBool(ini, S, u"ListHPosition", d.bookModeHorizontal);
    s.bookMode = ReadBool(ini, S, u"BookMode", d.bookMode);
    s.colorScheme = ReadInt(ini, S, u"QLMColor", d.colorScheme);
    s.favoritesWidth = ReadInt(ini, S, u"FavoritWidth", d.favoritesWidth);
    s.songsListWidth = ReadInt(ini, S, u"SongsListWidth", d.songsListWidth);
    s.songsListHeight = ReadInt(ini, S, u"SongsListHeight", d.songsListHeight);
    s.text = ReadBounds(ini, u"I", d.text);
    if (disk.slidesEnabled) s.slideDelay = SnapSlideDelay(ReadInt(ini, S, u"SDelay", d.slideDelay));
    s.textMaximized = ReadBool(ini, S, u"IMax", d.textMaximized);
    s.textDocked = ReadBool(ini, S, u"IDock", d.textDocked);
    s.textDockWidth = ReadInt(ini, S, u"IDockWidth", d.textDockWidth);
    s.winampLeft = ReadOptionalInt(ini, S, u"WALeft");
    s.winampTop = ReadOptionalInt(ini, S, u"WATop");
    s.winampVisible = ReadBool(ini, S, u"WVis", d.winampVisible);
    // Written as ExtVPId; older files may carry this spelling, and the profile
    // functions match keys without regard to case anyway.
    s.videoPlayerId = ReadInt(ini, S, u"ExtVPID", d.videoPlayerId);
    return s;
}

void SaveSettings(ProfileStore& ini, RegistryStore& reg, std::u16string_view languageId, const Settings& s,
                  const DiskContext& disk) {
    WriteLanguageId(reg, languageId);
    WriteBounds(ini, u"M", s.main);
    WriteBool(ini, S, u"MMax", s.mainMaximized);
    WriteBool(ini, S, u"Pwcp", s.playFromCurrentPosition);
    WriteInt(ini, S, u"QLMColor", s.colorScheme);
    WriteInt(ini, S, u"FavoritWidth", s.favoritesWidth);
    WriteInt(ini, S, u"SongsListWidth", s.songsListWidth);
    WriteInt(ini, S, u"SongsListHeight", s.songsListHeight);
    // A flat catalogue cannot show book mode; keep the user's wish for the next disk.
    if (!disk.catalogueFlat) WriteBool(ini, S, u"BookMode", s.bookMode);
    WriteBool(ini, S, u"ListHPosition", s.bookModeHorizontal);
    WriteBounds(ini, u"I", s.text);
    WriteBool(ini, S, u"IMax", s.textMaximized);
    WriteBool(ini, S, u"IDock", s.textDocked);
    WriteInt(ini, S, u"IDockWidth", s.textDockWidth);
    if (disk.slidesEnabled) WriteInt(ini, S, u"SDelay", s.slideDelay);
    Position wa = WinampPosition(s, s.main.left, s.main.top);
    WriteInt(ini, S, u"WALeft", wa.left);
    WriteInt(ini, S, u"WATop", wa.top);
    WriteBool(ini, S, u"WVis", s.winampVisible);
    WriteInt(ini, S, u"ExtVPId", s.videoPlayerId);
}

Position WinampPosition(const Settings& s, int mainLeft, int mainTop) {
    return {s.winampLeft.value_or(mainLeft), s.winampTop.value_or(mainTop - 115)};
}

int SongsListExtent(int stored, int panelExtent) {
    int v = stored == INT_MIN ? INT_MAX : std::abs(stored);
    if (panelExtent - v < 10) return panelExtent / 2;
    return v;
}

int SnapSlideDelay(int seconds) {
    int v = std::clamp(seconds, 0, 60);
    if (v <= 1) return 1;
    if (v <= 3) return 3;
    if (v <= 7) return 5;
    if (v <= 14) return 10;
    if (v <= 24) return 20;
    if (v <= 44) return 30;
    return 60;
}

void WriteRestartHandOver(ProfileStore& ini, RegistryStore& reg, const RestartHandOver& h,
                          std::u16string_view languageId) {
    ini.Write(R, u"LastCD", h.lastCD);
    ini.EraseSection(kPlayListSection);
    for (size_t i = 0; i < h.playList.size(); ++i)
        if (!h.playList[i].empty()) ini.Write(kPlayListSection, PlayListKey(i), h.playList[i]);
    WriteInt(ini, R, u"PlayIndex", h.playIndex);
    WriteInt(ini, R, u"isPlay", h.isPlay);
    WriteInt(ini, R, u"PlayFilePos", h.playFilePos);
    WriteInt(ini, R, u"Control", h.control);
    WriteInt(ini, R, u"PlayMode", h.playMode);
    WriteInt(ini, R, u"ShowFav", h.showFav);
    if (!h.instFile.empty()) ini.Write(R, u"InstFile", h.instFile);
    WriteLanguageId(reg, languageId);
}

RestartHandOver ReadRestartHandOver(ProfileStore& ini) {
    RestartHandOver h;
    h.lastCD = ReadString(ini, R, u"LastCD");
    for (size_t i = 0;; ++i) {
        std::u16string file = ReadString(ini, kPlayListSection, PlayListKey(i));
        if (file.empty()) break;
        h.playList.push_back(std::move(file));
    }
    h.playIndex = ReadInt(ini, R, u"PlayIndex", 0);
    h.isPlay = ReadInt(ini, R, u"isPlay", 0);
    h.playFilePos = ReadInt(ini, R, u"PlayFilePos", 0);
    h.control = ReadInt(ini, R, u"Control", 0);
    h.playMode = ReadInt(ini, R, u"PlayMode", 0);
    h.showFav = ReadInt(ini, R, u"ShowFav", 0);
    h.instFile = ReadString(ini, R, u"InstFile");
    h.demoMode = ReadBool(ini, R, u"DemoMode", false);
    return h;
}

void EraseRestartHandOver(ProfileStore& ini) {
    ini.EraseSection(kPlayListSection);
    ini.EraseSection(kOneRunSection);
}

std::optional<RestartHandOver> TakeRestartHandOver(ProfileStore& ini, std::u16string_view diskIdentifier) {
    std::optional<RestartHandOver> result;
    if (ReadString(ini, R, u"LastCD") == diskIdentifier && ini.Read(R, u"LastCD")) result = ReadRestartHandOver(ini);
    EraseRestartHandOver(ini);
    return result;
}

std::u16string WinampIniPath(std::u16string_view winampProgram) {
    size_t slash = winampProgram.find_last_of(u"\\/");
    std::u16string folder = slash == std::u16string_view::npos ? std::u16string()
                                                                 : std::u16string(winampProgram.substr(0, slash + 1));
    return folder + u"Winamp.ini";
}

bool ReadWinampBitmapFont(ProfileStore& winampIni) { return ReadBool(winampIni, u"Winamp", u"bifont", true); }

void WriteWinampBitmapFont(ProfileStore& winampIni, bool on) { WriteBool(winampIni, u"Winamp", u"bifont", on); }

}  // namespace qlm::app
