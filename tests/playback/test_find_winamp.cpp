#include <gtest/gtest.h>

#include <map>
#include <set>

#include "playback/player_find_winamp.h"

using namespace qlm;

namespace {

struct FindWinamp : ::testing::Test {
    std::map<std::pair<std::u16string, std::u16string>, std::u16string> registry;
    std::set<std::u16string> files;
    int registryReads = 0;

    std::u16string Find(const std::u16string& root, bool fromCd) {
        return FindWinampProgram(
            root, fromCd,
            [this](const std::u16string& key, const std::u16string& value) -> std::optional<std::u16string> {
                ++registryReads;
                auto it = registry.find({key, value});
                if (it == registry.end()) return std::nullopt;
                return it->second;
            },
            [this](const std::u16string& path) { return files.count(path) > 0; });
    }
    void Uninstaller(std::u16string v) { registry[{kWinampUninstallKey, kWinampUninstallValue}] = std::move(v); }
    void AppPath(std::u16string v) { registry[{kWinampAppPathKey, u""}] = std::move(v); }
};

TEST_F(FindWinamp, FromCdOnlyTheDisksCopyCounts) {
    Uninstaller(u"\"C:\\Program Files\\Winamp\\UninstWA.exe\"");
    files = {u"C:\\Program Files\\Winamp\\Winamp.exe", u"E:\\Player\\Winamp.exe"};
    EXPECT_EQ(Find(u"E:\\", true), u"E:\\Player\\Winamp.exe");
    EXPECT_EQ(registryReads, 0);
    files.erase(u"E:\\Player\\Winamp.exe");
    EXPECT_EQ(Find(u"E:\\", true), u"");
}

TEST_F(FindWinamp, UninstallerFolderComesFirstWithItsQuoteDropped) {
    Uninstaller(u"\"C:\\Program Files\\Winamp\\UninstWA.exe\"");
    AppPath(u"D:\\Other\\winamp.exe");
    files = {u"C:\\Program Files\\Winamp\\Winamp.exe", u"D:\\Other\\winamp.exe", u"E:\\Music\\Player\\Winamp.exe"};
    EXPECT_EQ(Find(u"E:\\Music", false), u"C:\\Program Files\\Winamp\\Winamp.exe");
}

TEST_F(FindWinamp, AppPathThenDiskCopyWhenEarlierCandidatesAreMissing) {
    Uninstaller(u"C:\\Gone\\UninstWA.exe");
    AppPath(u"\"D:\\Other\\winamp.exe\"");
    files = {u"D:\\Other\\winamp.exe", u"E:\\Music\\Player\\Winamp.exe"};
    EXPECT_EQ(Find(u"E:\\Music\\", false), u"D:\\Other\\winamp.exe");
    files.erase(u"D:\\Other\\winamp.exe");
    EXPECT_EQ(Find(u"E:\\Music\\", false), u"E:\\Music\\Player\\Winamp.exe");
}

TEST_F(FindWinamp, EmptyRegistryAndNoFilesMeansNotFound) {
    EXPECT_EQ(Find(u"E:\\", false), u"");
    // A value without a folder does not send the search to the current directory.
    Uninstaller(u"UninstWA.exe");
    files = {u"Winamp.exe"};
    EXPECT_EQ(Find(u"E:\\", false), u"");
}

}  // namespace
