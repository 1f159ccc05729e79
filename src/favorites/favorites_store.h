// The favourites stores on disk: favorites.dat beside the installed program
// (favorites_file.h holds its layout and block algorithm) and the favourites
// sections of qlm.ini for a program that is not installed.
//
// favorites.dat is never rewritten in place: a save writes the whole new
// image into "favorites.dat.new" beside it, flushes it and moves it over the
// old file in one step, so the old store stays whole until the new one is
// complete. A file that is not a sound store is kept as "favorites.dat.bad"
// before a fresh one takes its place.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/settings_profile.h"
#include "favorites/favorites_file.h"

namespace qlm::fav {

// The file system as the store uses it. Tests derive from it to make one
// step of a replace fail.
class FavoritesFiles {
public:
    enum class ReadResult { Ok, Missing, Failed };
    enum class Step { Create, Write, Flush, Close, Move };

    explicit FavoritesFiles(size_t writeChunk = 64 * 1024) : writeChunk_(writeChunk) {}
    virtual ~FavoritesFiles() = default;

    virtual ReadResult Read(const std::u16string& path, std::string& bytes);
    virtual bool Exists(const std::u16string& path);
    // Writes `bytes` to path + ".new", flushes it and moves it over `path`.
    bool Replace(const std::u16string& path, std::string_view bytes);
    // Keeps `bytes` under path + ".bad" (or ".bad2" ... ".bad9" when taken).
    bool KeepCopy(const std::u16string& path, std::string_view bytes);

protected:
    // Asked before each step of a replace; false makes that step fail.
    virtual bool Allow(Step) { return true; }

private:
    size_t writeChunk_;
};

struct FileLoad {
    FavoritesFiles::ReadResult read = FavoritesFiles::ReadResult::Missing;
    LoadReport report;
};

// LoadFavorites of the file store: the songs of the list are appended to
// `list`; a missing, unreadable or foreign file leaves it as it was.
FileLoad LoadFavorites(FavoritesFiles& files, const std::u16string& path, std::string_view listName,
                       uint32_t diskNumber, const Catalogue& cat, FavoritesItems& list);

enum class SaveOutcome {
    Written,
    Unchanged,  // the file already held exactly this
    Refused,    // a later version's file, or one that could not be read
    Failed,     // the new file could not be written; the old one is untouched
};
SaveOutcome SaveFavorites(FavoritesFiles& files, const std::u16string& path, std::string_view listName,
                          uint32_t diskNumber, const FavoritesItems& list);

// Moves the favourites kept in qlm.ini into favorites.dat (list 0 of each
// disk). The sections are erased only once the file holds their songs.
SaveOutcome ImportFromSettings(app::ProfileStore& ini, FavoritesFiles& files, const std::u16string& path);

// ---- The settings store (qlm.ini) ----

// The name of the list loaded from the settings file, saved back under it.
struct SettingsList {
    std::u16string name;
};

// `listName` empty: the disk's default list. Found songs are appended to `list`.
void LoadFavoritesFromSettings(app::ProfileStore& ini, const Catalogue& cat, std::u16string_view identifier,
                               std::u16string_view listName, SettingsList& current, FavoritesItems& list);
void SaveFavoritesToSettings(app::ProfileStore& ini, const Catalogue& cat, std::u16string_view identifier,
                             SettingsList& current, const FavoritesItems& list);

// Number d of section "Disk" + d for the identifier: the first whose
// "Disks" / "Disk" + d equals it, or the first free number.
int SettingsDiskNumber(app::ProfileStore& ini, std::u16string_view identifier);
// Number k of the list name in section "Disk" + d: the first "File" + k equal
// to it; strictly, -1 when not found or empty, otherwise the first free k.
int SettingsListNumber(app::ProfileStore& ini, int disk, std::u16string_view name, bool strict);

// The full name a stored path stands for: {root}Sound\path, or the path
// itself when its second character is ':'.
std::u16string StoredPathFile(const Catalogue& cat, std::u16string_view path);

}  // namespace qlm::fav
