// favorites.dat: record and block arithmetic, chain reuse, the free list,
// compaction, the version rules, damaged files and interrupted saves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "favorites/favorites_fixture.h"
#include "favorites/favorites_store.h"
#include "content/test_dir.h"

using namespace qlm;
using namespace qlm::fav;
using qlm::test::FillCatalogue;
using qlm::test::FirstSongs;
using qlm::test::Paths;

namespace {

std::string Save(const std::string* image, std::string_view name, const FavoritesItems& items,
                 SaveResult* out = nullptr) {
    SaveResult r = SaveToImage(image, name, 0, items);
    EXPECT_NE(r.action, SaveAction::Refused);
    std::string bytes = r.action == SaveAction::Write ? r.image : (image ? *image : std::string());
    if (out) *out = std::move(r);
    return bytes;
}

FavoritesItems Load(const std::string& image, std::string_view name, const Catalogue& cat,
                    LoadReport* report = nullptr) {
    FavoritesItems items;
    LoadReport r = LoadFromImage(&image, name, 0, cat, items);
    if (report) *report = r;
    return items;
}

uint32_t Get32(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return v;
}

void Put32(std::string& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i) & 0xFF);
}

class FavoritesFile : public ::testing::Test {
protected:
    void SetUp() override { FillCatalogue(cat, 1000); }
    Catalogue cat;
};

}  // namespace

TEST_F(FavoritesFile, RecordsOfTenCharacterPathsFill84PerBlock) {
    EXPECT_EQ(RecordSize(10), 24u);
    std::string one = Save(nullptr, "DISK", FirstSongs(cat, 84));
    StoreInfo info = DescribeImage(&one);
    ASSERT_EQ(info.entries.size(), 1u);
    ASSERT_EQ(info.entries[0].chain.size(), 1u);
    EXPECT_EQ(info.entries[0].chain[0].count, 84u);

    std::string three = Save(nullptr, "DISK", FirstSongs(cat, 170));
    info = DescribeImage(&three);
    ASSERT_EQ(info.entries[0].chain.size(), 3u);
    EXPECT_EQ(info.entries[0].chain[0].count, 84u);
    EXPECT_EQ(info.entries[0].chain[1].count, 84u);
    EXPECT_EQ(info.entries[0].chain[2].count, 2u);
    // The header and the directory: one entry of a 4-byte name (4 + 18), no free list.
    EXPECT_EQ(info.directoryOffset, kHeaderSize + 3 * kBlockSize);
    EXPECT_EQ(info.directorySize, 22u);
    EXPECT_EQ(info.freeListSize, 0u);
    EXPECT_EQ(three.size(), kHeaderSize + 3 * kBlockSize + 22);
    EXPECT_EQ(Paths(Load(three, "DISK", cat)), Paths(FirstSongs(cat, 170)));
    EXPECT_TRUE(DescribeImage(&three).problems.empty());
}

TEST_F(FavoritesFile, ShrinkingThreeBlocksToOneFreesTwo) {
    std::string three = Save(nullptr, "DISK", FirstSongs(cat, 170));
    const uint32_t dirBefore = DescribeImage(&three).directorySize;
    std::string one = Save(&three, "DISK", FirstSongs(cat, 5, 100));
    StoreInfo info = DescribeImage(&one);
    ASSERT_TRUE(info.freeCount.has_value());
    EXPECT_EQ(*info.freeCount, 2u);
    EXPECT_EQ(info.directorySize, dirBefore + 12);
    EXPECT_EQ(info.freeListSize, 12u);
    EXPECT_EQ(info.entries[0].chain.size(), 1u);
    // The chain keeps its first block; the freed ones come back in chain order.
    EXPECT_EQ(info.entries[0].firstBlock, kHeaderSize);
    EXPECT_EQ(info.freeBlocks, (std::vector<uint32_t>{kHeaderSize + kBlockSize, kHeaderSize + 2 * kBlockSize}));

    // A new list takes the last freed block first, then the other one.
    std::string two = Save(&one, "OTHER", FirstSongs(cat, 100, 200));
    info = DescribeImage(&two);
    ASSERT_EQ(info.entries.size(), 2u);
    ASSERT_EQ(info.entries[1].chain.size(), 2u);
    EXPECT_EQ(info.entries[1].chain[0].offset, kHeaderSize + 2 * kBlockSize);
    EXPECT_EQ(info.entries[1].chain[1].offset, kHeaderSize + kBlockSize);
    EXPECT_EQ(*info.freeCount, 0u);
    EXPECT_EQ(info.freeListSize, 4u);  // an empty free list keeps its count
    EXPECT_EQ(Paths(Load(two, "DISK", cat)), Paths(FirstSongs(cat, 5, 100)));
    EXPECT_EQ(Paths(Load(two, "OTHER", cat)), Paths(FirstSongs(cat, 100, 200)));
}

TEST_F(FavoritesFile, TenFreeBlocksCompactTheFile) {
    std::string image = Save(nullptr, "A", FirstSongs(cat, 90));   // 2 blocks
    image = Save(&image, "BIG", FirstSongs(cat, 84 * 10 + 1, 100));  // 11 blocks
    image = Save(&image, "C", FirstSongs(cat, 3, 50));             // 1 block
    SaveResult r;
    image = Save(&image, "BIG", FirstSongs(cat, 2, 7), &r);        // frees 10
    EXPECT_TRUE(r.compacted);
    StoreInfo info = DescribeImage(&image);
    EXPECT_EQ(info.freeListSize, 0u);
    EXPECT_FALSE(info.freeCount.has_value());
    // Every list's blocks are consecutive from offset 32, in directory order.
    uint32_t expect = kHeaderSize;
    for (const EntryInfo& e : info.entries)
        for (const BlockInfo& b : e.chain) {
            EXPECT_EQ(b.offset, expect);
            expect += kBlockSize;
        }
    EXPECT_EQ(info.directoryOffset, kHeaderSize + 4 * kBlockSize);
    EXPECT_EQ(image.size(), info.directoryOffset + info.directorySize);
    EXPECT_EQ(Paths(Load(image, "A", cat)), Paths(FirstSongs(cat, 90)));
    EXPECT_EQ(Paths(Load(image, "BIG", cat)), Paths(FirstSongs(cat, 2, 7)));
    EXPECT_EQ(Paths(Load(image, "C", cat)), Paths(FirstSongs(cat, 3, 50)));
    EXPECT_TRUE(info.problems.empty());
}

TEST_F(FavoritesFile, EmptyListOfADiskWithoutEntryLeavesTheFileAsItWas) {
    std::string image = Save(nullptr, "A", FirstSongs(cat, 10));
    SaveResult r = SaveToImage(&image, "NEW", 0, {});
    EXPECT_EQ(r.action, SaveAction::Unchanged);
    // An empty list of a disk with an entry frees its chain and zeroes its first block.
    std::string emptied = Save(&image, "A", {});
    StoreInfo info = DescribeImage(&emptied);
    EXPECT_EQ(info.entries[0].firstBlock, 0u);
    EXPECT_EQ(*info.freeCount, 1u);
    EXPECT_TRUE(Load(emptied, "A", cat).empty());
    // The same list again: nothing at all to write.
    EXPECT_EQ(SaveToImage(&image, "A", 0, FirstSongs(cat, 10)).action, SaveAction::Unchanged);
}

TEST_F(FavoritesFile, StaleSongNumbersAreFoundByPathAndMissingSongsDropped) {
    std::string image = Save(nullptr, "DISK", FirstSongs(cat, 5));
    // The disk's description changed: two new songs in front, song 3 gone.
    Catalogue changed;
    FillCatalogue(changed, 0);
    TRDataNode* folder = changed.Node(0);
    for (int i : {900, 901, 0, 1, 2, 4}) {
        TRDataNode s;
        s.Kind = kKindSong;
        s.Path = qlm::test::SongPath(i);
        s.Name = "Song " + s.Path.substr(2, 4);
        changed.IndexSong(changed.AddNode(folder, Placement::LastChild, std::move(s)));
    }
    LoadReport report;
    FavoritesItems items = Load(image, "DISK", changed, &report);
    EXPECT_EQ(Paths(items), (std::vector<std::string>{"R\\0000.mp3", "R\\0001.mp3", "R\\0002.mp3", "R\\0004.mp3"}));
    ASSERT_EQ(report.records.size(), 5u);
    EXPECT_EQ(report.records[0].how, RecordOutcome::How::ByPath);
    EXPECT_EQ(report.records[3].how, RecordOutcome::How::Dropped);
    EXPECT_EQ(items[0].caption, u"Song 0000");
    // In the old catalogue every number still matches.
    Load(image, "DISK", cat, &report);
    for (const auto& r : report.records) EXPECT_EQ(r.how, RecordOutcome::How::ByNumber);
}

TEST_F(FavoritesFile, ListsAreFoundByNameAndDiskNumber) {
    std::string image = Save(nullptr, "A", FirstSongs(cat, 2));
    SaveResult r = SaveToImage(&image, "B", 7, FirstSongs(cat, 3, 10));
    image = r.image;
    FavoritesItems items;
    LoadFromImage(&image, "B", 7, cat, items);
    EXPECT_EQ(items.size(), 3u);
    items.clear();
    EXPECT_FALSE(LoadFromImage(&image, "B", 8, cat, items).listFound);
    EXPECT_TRUE(LoadFromImage(&image, "A", 8, cat, items).listFound);  // disk number 0 matches any
    EXPECT_FALSE(LoadFromImage(&image, "a", 0, cat, items).listFound);  // names compare byte for byte
}

TEST_F(FavoritesFile, LaterVersionsAreNeverWritten) {
    std::string image = Save(nullptr, "A", FirstSongs(cat, 4));
    std::string newer = image;
    newer[8] = 2;  // writer 2, readable by 1
    FavoritesItems items;
    EXPECT_EQ(LoadFromImage(&newer, "A", 0, cat, items).header, HeaderCheck::Accepted);
    EXPECT_EQ(items.size(), 4u);
    EXPECT_EQ(SaveToImage(&newer, "A", 0, {}).action, SaveAction::Refused);
    newer[10] = 2;  // and only readable by 2
    items.clear();
    EXPECT_EQ(LoadFromImage(&newer, "A", 0, cat, items).header, HeaderCheck::Refused);
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(SaveToImage(&newer, "A", 0, FirstSongs(cat, 1)).action, SaveAction::Refused);
    EXPECT_EQ(ImportIntoImage(&newer, {{"A", {"x.mp3"}}}).action, SaveAction::Refused);
}

TEST_F(FavoritesFile, DamagedLinksAreReadAsFarAsTheyAreSound) {
    std::string image = Save(nullptr, "A", FirstSongs(cat, 170));
    image = Save(&image, "B", FirstSongs(cat, 3, 500));
    const uint32_t second = kHeaderSize + kBlockSize;

    std::string loop = image;
    Put32(loop, second + 8, kHeaderSize);  // block 2 points back to block 1
    LoadReport report;
    EXPECT_EQ(Load(loop, "A", cat, &report).size(), 168u);
    EXPECT_TRUE(report.damaged);

    std::string past = image;
    Put32(past, second + 8, 0x7FFFFF00);  // a link past the end
    EXPECT_EQ(Load(past, "A", cat).size(), 168u);

    std::string counted = image;
    Put32(counted, kHeaderSize, 5000);  // more records than a block holds
    EXPECT_EQ(Load(counted, "A", cat).size(), 170u);  // the 84 that are there, then the rest

    std::string shortCount = image;
    Put32(shortCount, 16, Get32(shortCount, 16) + 8);  // the free list grows by two slots...
    Put32(shortCount, 20, 12);
    shortCount.resize(shortCount.size() + 8, '\0');
    Put32(shortCount, shortCount.size() - 12, 0);  // ...but counts none of them
    EXPECT_FALSE(DescribeImage(&shortCount).problems.empty());
    const std::string rewritten = Save(&shortCount, "A", FirstSongs(cat, 2));
    EXPECT_TRUE(DescribeImage(&rewritten).problems.empty());

    std::string bigDir = image;
    Put32(bigDir, 16, 0x10000000);  // a directory larger than the file
    EXPECT_EQ(Load(bigDir, "A", cat, &report).size(), 0u);
    EXPECT_EQ(report.header, HeaderCheck::Damaged);

    // Saving over damage rewrites a sound file and asks to keep the old one.
    SaveResult r;
    std::string mended = Save(&loop, "A", FirstSongs(cat, 3), &r);
    EXPECT_TRUE(r.keepOld);
    EXPECT_TRUE(DescribeImage(&mended).problems.empty());
    EXPECT_EQ(Paths(Load(mended, "B", cat)), Paths(FirstSongs(cat, 3, 500)));
    mended = Save(&bigDir, "A", FirstSongs(cat, 3), &r);
    EXPECT_TRUE(r.keepOld);
    EXPECT_EQ(Load(mended, "A", cat).size(), 3u);
}

// ---- On disk ----

namespace {

class FailingFiles : public FavoritesFiles {
public:
    explicit FailingFiles(int failAt) : FavoritesFiles(kBlockSize), failAt_(failAt) {}
    int steps = 0;

protected:
    bool Allow(Step) override { return ++steps != failAt_; }

private:
    int failAt_;
};

std::string FileBytes(const std::u16string& path) {
    std::string b;
    ReadWholeFile(FsPath(path), b);
    return b;
}

}  // namespace

TEST_F(FavoritesFile, ASaveFailingAtAnyStepLeavesTheOldStoreWhole) {
    const std::u16string dir = test::ScratchDisk("favorites-faults");
    const std::u16string path = dir + u"favorites.dat";
    FavoritesFiles files;
    ASSERT_EQ(SaveFavorites(files, path, "A", 0, FirstSongs(cat, 200)), SaveOutcome::Written);
    ASSERT_EQ(SaveFavorites(files, path, "B", 0, FirstSongs(cat, 20, 300)), SaveOutcome::Written);
    const std::string before = FileBytes(path);

    // Count the steps of a whole save first, then fail each one in turn.
    FailingFiles counter(-1);
    const FavoritesItems changed = FirstSongs(cat, 90, 600);
    {
        std::string scratch = before;
        const std::u16string copy = dir + u"count.dat";
        test::PutFile(copy, scratch);
        ASSERT_EQ(SaveFavorites(counter, copy, "A", 0, changed), SaveOutcome::Written);
    }
    ASSERT_GT(counter.steps, 4);  // create, several writes, flush, close, move
    for (int k = 1; k <= counter.steps; ++k) {
        FailingFiles failing(k);
        EXPECT_EQ(SaveFavorites(failing, path, "A", 0, changed), SaveOutcome::Failed) << "step " << k;
        EXPECT_EQ(FileBytes(path), before) << "step " << k;
        EXPECT_FALSE(std::filesystem::exists(FsPath(path + u".new"))) << "step " << k;
        FavoritesItems items;
        LoadFavorites(files, path, "A", 0, cat, items);
        EXPECT_EQ(items.size(), 200u);
    }
    ASSERT_EQ(SaveFavorites(files, path, "A", 0, changed), SaveOutcome::Written);
    FavoritesItems items;
    LoadFavorites(files, path, "A", 0, cat, items);
    EXPECT_EQ(Paths(items), Paths(changed));
}

TEST_F(FavoritesFile, AForeignFileIsKeptBeforeAFreshStoreReplacesIt) {
    const std::u16string dir = test::ScratchDisk("favorites-foreign");
    const std::u16string path = dir + u"favorites.dat";
    test::PutFile(path, "NOTFAVORITES and more bytes");
    FavoritesFiles files;
    FavoritesItems items;
    FileLoad load = LoadFavorites(files, path, "A", 0, cat, items);
    EXPECT_EQ(load.report.header, HeaderCheck::BadMagic);
    EXPECT_TRUE(items.empty());
    ASSERT_EQ(SaveFavorites(files, path, "A", 0, FirstSongs(cat, 3)), SaveOutcome::Written);
    EXPECT_EQ(FileBytes(path + u".bad"), "NOTFAVORITES and more bytes");
    LoadFavorites(files, path, "A", 0, cat, items);
    EXPECT_EQ(items.size(), 3u);

    // A missing file loads nothing and leaves the list as it was.
    FavoritesItems kept = FirstSongs(cat, 1);
    LoadFavorites(files, dir + u"none.dat", "A", 0, cat, kept);
    EXPECT_EQ(kept.size(), 1u);
}

// Every fuzz corpus input: read, saved over and read back sound.
TEST_F(FavoritesFile, EveryCorpusInputSavesIntoASoundStore) {
    const char* src = std::getenv("QLM_SOURCE_DIR");
    if (!src) GTEST_SKIP() << "QLM_SOURCE_DIR is not set";
    const std::filesystem::path dir = std::filesystem::path(src) / "tests/fuzz/corpus/favorites_file_fuzzer";
    int seen = 0;
    for (const auto& f : std::filesystem::directory_iterator(dir)) {
        std::string image;
        ASSERT_TRUE(ReadWholeFile(f.path(), image));
        ++seen;
        FavoritesItems items;
        LoadFromImage(&image, "A", 0, cat, items);
        items.push_back({cat.Node(42), u""});
        SaveResult r = SaveToImage(&image, "A", 0, items);
        if (r.action != SaveAction::Write) continue;
        StoreInfo info = DescribeImage(&r.image);
        EXPECT_TRUE(info.problems.empty()) << f.path();
        FavoritesItems back;
        LoadFromImage(&r.image, "A", 0, cat, back);
        EXPECT_EQ(Paths(back), Paths(items)) << f.path();
    }
    EXPECT_GT(seen, 3);
}
