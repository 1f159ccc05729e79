// The qlm.ini store of the favourites, the import into favorites.dat, and
// the list edits of a session.
#include <gtest/gtest.h>

#include "content/test_dir.h"
#include "favorites/favorites_fixture.h"
#include "favorites/favorites_session.h"

using namespace qlm;
using namespace qlm::fav;
using qlm::app::MemoryProfileStore;
using qlm::test::FillCatalogue;
using qlm::test::FirstSongs;
using qlm::test::Paths;

namespace {

class FavoritesSettings : public ::testing::Test {
protected:
    void SetUp() override {
        FillCatalogue(cat, 50);
        cat.settings.DiskIdentifier = "DISK-1";
    }
    std::u16string Value(std::u16string_view section, std::u16string_view key) {
        return ini.Read(section, key).value_or(u"<none>");
    }
    Catalogue cat;
    MemoryProfileStore ini;
};

}  // namespace

TEST_F(FavoritesSettings, FirstSaveMakesTheDefaultListAndLoadsItBack) {
    SettingsList current;
    FavoritesItems items;
    LoadFavoritesFromSettings(ini, cat, u"DISK-1", {}, current, items);
    EXPECT_TRUE(items.empty());
    SaveFavoritesToSettings(ini, cat, u"DISK-1", current, FirstSongs(cat, 3));
    EXPECT_EQ(Value(u"Disks", u"Disk0"), u"DISK-1");
    EXPECT_EQ(Value(u"Disk0", u"Default"), u"0");
    EXPECT_EQ(Value(u"Disk0", u"File0"), u"Default");
    EXPECT_EQ(Value(u"Disk0File0", u"Song1"), u"Song 0001");
    EXPECT_EQ(Value(u"Disk0File0", u"File2"), u"R\\0002.mp3");

    // A second disk takes the next number; a shorter list leaves no old keys.
    SettingsList other;
    SaveFavoritesToSettings(ini, cat, u"DISK-2", other, FirstSongs(cat, 1, 20));
    EXPECT_EQ(Value(u"Disks", u"Disk1"), u"DISK-2");
    SaveFavoritesToSettings(ini, cat, u"DISK-1", current, FirstSongs(cat, 1, 5));
    EXPECT_EQ(Value(u"Disk0File0", u"Song1"), u"<none>");

    SettingsList again;
    LoadFavoritesFromSettings(ini, cat, u"DISK-1", {}, again, items);
    EXPECT_EQ(again.name, u"Default");
    EXPECT_EQ(Paths(items), (std::vector<std::string>{"R\\0005.mp3"}));
}

TEST_F(FavoritesSettings, NamedListsAndMissingDefaults) {
    ini.Write(u"Disks", u"Disk0", u"DISK-1");
    ini.Write(u"Disk0", u"File0", u"Rock");
    ini.Write(u"Disk0File0", u"Song0", u"whatever");
    ini.Write(u"Disk0File0", u"File0", u"R\\0007.mp3");
    ini.Write(u"Disk0File0", u"Song1", u"gone");
    ini.Write(u"Disk0File0", u"File1", u"R\\9999.mp3");
    SettingsList current;
    FavoritesItems items;
    // No "Default": nothing is loaded without a name.
    LoadFavoritesFromSettings(ini, cat, u"DISK-1", {}, current, items);
    EXPECT_TRUE(items.empty());
    LoadFavoritesFromSettings(ini, cat, u"DISK-1", u"Pop", current, items);
    EXPECT_TRUE(items.empty());
    // By name: the caption is the song's own name; a missing song is dropped.
    LoadFavoritesFromSettings(ini, cat, u"DISK-1", u"Rock", current, items);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].caption, u"Song 0007");
    EXPECT_EQ(current.name, u"Rock");
    // A named list that is not the default is saved under its own name.
    SaveFavoritesToSettings(ini, cat, u"DISK-1", current, FirstSongs(cat, 2));
    EXPECT_EQ(Value(u"Disk0", u"File0"), u"Rock");
    EXPECT_EQ(Value(u"Disk0", u"Default"), u"<none>");
    EXPECT_EQ(SettingsListNumber(ini, 0, u"Pop", true), -1);
    EXPECT_EQ(SettingsListNumber(ini, 0, u"Pop", false), 1);
    EXPECT_EQ(SettingsListNumber(ini, 0, u"", true), -1);
}

TEST_F(FavoritesSettings, ImportMovesTheListsIntoANewFile) {
    ini.Write(u"Disks", u"Disk0", u"DISK-1");
    ini.Write(u"Disk0", u"Default", u"0");
    ini.Write(u"Disk0File0", u"Song0", u"a");
    ini.Write(u"Disk0File0", u"File0", u"R\\0003.mp3");
    ini.Write(u"Disk0File0", u"File1", u"R\\0004.mp3");
    ini.Write(u"Disks", u"Disk1", u"DISK-2");
    ini.Write(u"Disk1File0", u"File0", u"R\\0010.mp3");
    const std::u16string dir = test::ScratchDisk("favorites-import");
    const std::u16string path = dir + u"favorites.dat";
    FavoritesFiles files;
    EXPECT_EQ(ImportFromSettings(ini, files, path), SaveOutcome::Written);
    EXPECT_FALSE(ini.HasSection(u"Disks"));
    EXPECT_FALSE(ini.HasSection(u"Disk0"));
    EXPECT_FALSE(ini.HasSection(u"Disk1File0"));
    FavoritesItems items;
    LoadFavorites(files, path, "DISK-1", 0, cat, items);
    EXPECT_EQ(Paths(items), (std::vector<std::string>{"R\\0003.mp3", "R\\0004.mp3"}));
    items.clear();
    FileLoad load = LoadFavorites(files, path, "DISK-2", 0, cat, items);
    EXPECT_EQ(items.size(), 1u);
    EXPECT_EQ(load.report.records[0].record.songNumber, 0u);  // found by path

    // Into an existing file: appended after the list's records, without repeats.
    ini.Write(u"Disks", u"Disk0", u"DISK-1");
    ini.Write(u"Disk0File0", u"File0", u"R\\0004.mp3");
    ini.Write(u"Disk0File0", u"File1", u"R\\0005.mp3");
    ini.Write(u"Disks", u"Disk1", u"DISK-3");
    ini.Write(u"Disk1File0", u"File0", u"R\\0001.mp3");
    EXPECT_EQ(ImportFromSettings(ini, files, path), SaveOutcome::Written);
    EXPECT_FALSE(ini.HasSection(u"Disks"));
    items.clear();
    LoadFavorites(files, path, "DISK-1", 0, cat, items);
    EXPECT_EQ(Paths(items), (std::vector<std::string>{"R\\0003.mp3", "R\\0004.mp3", "R\\0005.mp3"}));
    items.clear();
    LoadFavorites(files, path, "DISK-3", 0, cat, items);
    EXPECT_EQ(items.size(), 1u);
}

TEST_F(FavoritesSettings, ImportAppendsIntoNewBlocksWhenTheLastIsFull) {
    Catalogue big;
    FillCatalogue(big, 200);
    std::string image = SaveToImage(nullptr, "DISK-1", 0, FirstSongs(big, 84)).image;
    std::vector<std::string> paths;
    for (int i = 80; i < 100; ++i) paths.push_back(test::SongPath(i));
    SaveResult r = ImportIntoImage(&image, {{"DISK-1", paths}});
    ASSERT_EQ(r.action, SaveAction::Write);
    StoreInfo info = DescribeImage(&r.image);
    ASSERT_EQ(info.entries[0].chain.size(), 2u);
    EXPECT_EQ(info.entries[0].chain[1].count, 16u);
    FavoritesItems items;
    LoadFromImage(&r.image, "DISK-1", 0, big, items);
    EXPECT_EQ(Paths(items), Paths(FirstSongs(big, 100)));
}

TEST_F(FavoritesSettings, SessionUsesTheFileWhenInstalledAndSavesOnlyChanges) {
    const std::u16string dir = test::ScratchDisk("favorites-session");
    test::PutFile(dir + u"qlm.exe", "MZ");
    FavoritesFiles files;
    FavoritesSession session(files);
    session.StartUp(ini, dir + u"qlm.exe");
    ASSERT_TRUE(session.InInstallFolder());
    session.Load(ini, cat);
    EXPECT_EQ(session.Save(ini, cat), SaveOutcome::Unchanged);
    EXPECT_FALSE(files.Exists(session.File()));  // nothing changed, nothing written
    session.Add(cat, {cat.Node(3), cat.Node(4)});
    EXPECT_EQ(session.Save(ini, cat), SaveOutcome::Written);
    EXPECT_FALSE(session.Modified());
    session.Load(ini, cat);
    EXPECT_EQ(session.Items().size(), 2u);

    // Not installed: the settings file.
    FavoritesSession plain(files);
    plain.StartUp(ini, dir + u"missing.exe");
    EXPECT_FALSE(plain.InInstallFolder());
    plain.Load(ini, cat);
    plain.Add(cat, {cat.Node(9)});
    plain.Save(ini, cat);
    EXPECT_EQ(Value(u"Disk0File0", u"File0"), u"R\\0008.mp3");
}

TEST(FavoritesEdits, AddMoveRemoveClear) {
    Catalogue cat;
    FillCatalogue(cat, 6);
    FavoritesFiles files;
    FavoritesSession s(files);
    TRDataNode* song = cat.Node(1);
    EXPECT_EQ(s.Add(cat, {song}), 1u);
    EXPECT_EQ(s.Add(cat, {song}), 0u);  // no song twice
    EXPECT_EQ(s.Items().size(), 1u);
    s.Empty();
    EXPECT_EQ(s.Add(cat, SongsUnder(cat.Node(0))), 6u);  // every song under the folder
    EXPECT_EQ(s.Add(cat, {cat.Node(0)}), 0u);             // a folder is no song
    s.SetPlaying(2);
    auto order = [&] {
        std::string o;
        for (const auto& i : s.Items()) o += i.song->Path[5];
        return o;
    };
    EXPECT_EQ(order(), "012345");
    EXPECT_FALSE(s.Move(2, 3));  // onto the next item: nothing
    EXPECT_FALSE(s.Move(2, -1));
    EXPECT_EQ(order(), "012345");
    EXPECT_TRUE(s.Move(2, 0));  // onto the first: it becomes the first
    EXPECT_EQ(order(), "201345");
    EXPECT_EQ(s.Playing(), 0);
    EXPECT_TRUE(s.Move(0, 5));  // lands in front of the target
    EXPECT_EQ(order(), "013425");
    EXPECT_EQ(s.Playing(), 4);
    s.Remove({0, 1});
    EXPECT_EQ(order(), "3425");
    EXPECT_EQ(s.Playing(), 2);
    s.Remove({2});
    EXPECT_EQ(s.Playing(), -1);
    s.Clear();
    EXPECT_TRUE(s.Items().empty());
    EXPECT_TRUE(s.Modified());
}
