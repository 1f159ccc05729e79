#include "favorites/favorites_store.h"

#include <string>

#include "base/text_codec.h"

namespace qlm::fav {
namespace {

std::u16string Num(int n) {
    std::u16string out;
    for (char c : std::to_string(n)) out.push_back(static_cast<char16_t>(c));
    return out;
}

// qlm.ini keeps its texts as UTF-16; favorites.dat and the catalogue keep
// 8-bit text. Identifiers and paths of the settings file are taken to be in
// the Cyrillic code page, the code page of the disks this program serves.
std::string ToStoreText(std::u16string_view text) { return EncodeText(text, kCyrillicCharset); }

constexpr int kMaxNumber = 100000;  // a bound for scans over numbered keys

}  // namespace

std::u16string StoredPathFile(const Catalogue& cat, std::u16string_view path) {
    if (path.size() >= 2 && path[1] == u':') return std::u16string(path);
    return cat.root + u"Sound\\" + std::u16string(path);
}

FileLoad LoadFavorites(FavoritesFiles& files, const std::u16string& path, std::string_view listName,
                       uint32_t diskNumber, const Catalogue& cat, FavoritesItems& list) {
    FileLoad load;
    std::string bytes;
    load.read = files.Read(path, bytes);
    if (load.read == FavoritesFiles::ReadResult::Failed) return load;
    load.report = LoadFromImage(load.read == FavoritesFiles::ReadResult::Ok ? &bytes : nullptr, listName,
                                diskNumber, cat, list);
    return load;
}

SaveOutcome SaveFavorites(FavoritesFiles& files, const std::u16string& path, std::string_view listName,
                          uint32_t diskNumber, const FavoritesItems& list) {
    std::string bytes;
    const auto read = files.Read(path, bytes);
    if (read == FavoritesFiles::ReadResult::Failed) return SaveOutcome::Refused;
    const std::string* old = read == FavoritesFiles::ReadResult::Ok ? &bytes : nullptr;
    SaveResult r = SaveToImage(old, listName, diskNumber, list);
    if (r.action == SaveAction::Refused) return SaveOutcome::Refused;
    if (r.action == SaveAction::Unchanged) return SaveOutcome::Unchanged;
    if (r.keepOld && old && !files.KeepCopy(path, *old)) return SaveOutcome::Failed;
    return files.Replace(path, r.image) ? SaveOutcome::Written : SaveOutcome::Failed;
}

SaveOutcome ImportFromSettings(app::ProfileStore& ini, FavoritesFiles& files, const std::u16string& path) {
    std::string bytes;
    const auto read = files.Read(path, bytes);
    if (read == FavoritesFiles::ReadResult::Failed) return SaveOutcome::Refused;
    const std::string* old = read == FavoritesFiles::ReadResult::Ok ? &bytes : nullptr;

    std::vector<ImportedList> lists;
    std::vector<std::u16string> erase;
    int d = 0;
    for (; d < kMaxNumber; ++d) {
        auto id = ini.Read(u"Disks", u"Disk" + Num(d));
        if (!id) break;
        ImportedList l;
        l.name = ToStoreText(*id);
        const std::u16string disk = u"Disk" + Num(d);
        for (int i = 0; i < kMaxNumber; ++i) {
            auto file = ini.Read(disk + u"File0", u"File" + Num(i));
            if (!file) break;
            l.paths.push_back(ToStoreText(*file));
        }
        lists.push_back(std::move(l));
        erase.push_back(disk + u"File0");
        erase.push_back(disk);
    }
    SaveResult r = ImportIntoImage(old, lists);
    if (r.action == SaveAction::Refused) return SaveOutcome::Refused;
    SaveOutcome outcome = SaveOutcome::Unchanged;
    if (r.action == SaveAction::Write) {
        if (r.keepOld && old && !files.KeepCopy(path, *old)) return SaveOutcome::Failed;
        if (!files.Replace(path, r.image)) return SaveOutcome::Failed;
        outcome = SaveOutcome::Written;
    }
    // Only now that the file holds them do the settings' lists go.
    for (const auto& section : erase) ini.EraseSection(section);
    ini.EraseSection(u"Disks");
    if (!old) ini.EraseSection(u"Disk" + Num(d));
    return outcome;
}

// ---- The settings store ----

int SettingsDiskNumber(app::ProfileStore& ini, std::u16string_view identifier) {
    for (int d = 0; d < kMaxNumber; ++d) {
        auto id = ini.Read(u"Disks", u"Disk" + Num(d));
        if (!id || *id == identifier) return d;
    }
    return kMaxNumber;
}

int SettingsListNumber(app::ProfileStore& ini, int disk, std::u16string_view name, bool strict) {
    if (strict && name.empty()) return -1;
    const std::u16string section = u"Disk" + Num(disk);
    for (int k = 0; k < kMaxNumber; ++k) {
        auto listName = ini.Read(section, u"File" + Num(k));
        if (!listName) return strict ? -1 : k;
        if (*listName == name) return k;
    }
    return -1;
}

void LoadFavoritesFromSettings(app::ProfileStore& ini, const Catalogue& cat, std::u16string_view identifier,
                               std::u16string_view listName, SettingsList& current, FavoritesItems& list) {
    const int d = SettingsDiskNumber(ini, identifier);
    const std::u16string disk = u"Disk" + Num(d);
    int k = -1;
    if (!listName.empty()) {
        k = SettingsListNumber(ini, d, listName, true);
    } else {
        k = app::ReadInt(ini, disk, u"Default", -1);
    }
    if (k < 0) return;
    current.name = app::ReadString(ini, disk, u"File" + Num(k));
    const std::u16string section = disk + u"File" + Num(k);
    for (int i = 0; i < kMaxNumber; ++i) {
        if (!ini.Read(section, u"Song" + Num(i))) break;
        const std::u16string file = app::ReadString(ini, section, u"File" + Num(i));
        if (TRDataNode* song = cat.FindSongByPath(StoredPathFile(cat, file)))
            list.push_back({song, LoadedCaption(cat, *song)});
    }
}

void SaveFavoritesToSettings(app::ProfileStore& ini, const Catalogue& cat, std::u16string_view identifier,
                             SettingsList& current, const FavoritesItems& list) {
    const int d = SettingsDiskNumber(ini, identifier);
    const std::u16string disk = u"Disk" + Num(d);
    ini.Write(u"Disks", disk, identifier);
    const int k = SettingsListNumber(ini, d, current.name, true);
    // Saving the default list (or the first list of a disk) keeps it the default.
    int number = k;
    if (k == app::ReadInt(ini, disk, u"Default", -1)) {
        current.name = u"Default";
        number = SettingsListNumber(ini, d, current.name, false);
        app::WriteInt(ini, disk, u"Default", number);
    } else if (number < 0) {
        number = SettingsListNumber(ini, d, current.name, false);
    }
    ini.Write(disk, u"File" + Num(number), current.name);
    const std::u16string section = disk + u"File" + Num(number);
    ini.EraseSection(section);
    int i = 0;
    for (const FavoriteItem& item : list) {
        if (!item.song) continue;
        ini.Write(section, u"Song" + Num(i), item.caption);
        ini.Write(section, u"File" + Num(i), cat.DiskText(item.song->Path));
        ++i;
    }
}

}  // namespace qlm::fav
