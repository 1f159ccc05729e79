// The favourites file favorites.dat: named song lists of many disks in one
// block-structured file (header, 2048-byte blocks, the directory at the end).
//
// Everything here works on an in-memory image of the file: a load reads the
// image, a save runs the block algorithm (reuse of the list's chain, the free
// list, compaction) on a copy of it and hands back the new image, which
// favorites_store.h writes beside the old file and puts in its place in one
// step. A save cut short therefore never leaves a half-written store.
//
// Layout (little-endian, unsigned; strings are a 16-bit length and bytes):
//   header  0: "QLMFAVLF", 8: writer version, 10: lowest reader version,
//          12: list entries, 16: directory size (free list included),
//          20: free-list size (0 = none), 24: directory offset, 28: 0
//   blocks  from 32 up to the directory, 2048 bytes each:
//           0: records, 4: 0, 8: next block of the list (0 = last), 12: records
//   record  0: song number (node-list position + 1), 4: flags (1 song, 4 path
//           follows), 6: 0, 8: 0, 12: path relative to Sound\ (when flag 4)
//   directory  entries (4: extension marker, name, 4: disk number, 4: first
//           block, 4: 0), then the free list (4: count, count offsets)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "content/catalogue.h"

namespace qlm::fav {

inline constexpr std::string_view kMagic = "QLMFAVLF";
inline constexpr uint16_t kProgramVersion = 1;
inline constexpr uint32_t kHeaderSize = 32;
inline constexpr uint32_t kBlockSize = 2048;
inline constexpr uint32_t kBlockHeaderSize = 12;
inline constexpr uint32_t kBlockRecordSpace = kBlockSize - kBlockHeaderSize;  // 2036
inline constexpr uint32_t kRecordHeaderSize = 12;
inline constexpr uint16_t kRecordSong = 1;
inline constexpr uint16_t kRecordHasPath = 4;
inline constexpr uint16_t kRecordFlags = kRecordSong | kRecordHasPath;  // what writers set
inline constexpr uint32_t kCompactAtFreeBlocks = 10;

// One item of a favourites list: the song it refers to and its caption.
struct FavoriteItem {
    TRDataNode* song = nullptr;
    std::u16string caption;
};
using FavoritesItems = std::vector<FavoriteItem>;

// The caption a loaded song takes: the second-language name while a second
// language is active and the disk names songs in two languages.
std::u16string LoadedCaption(const Catalogue& cat, const TRDataNode& song);

// Bytes a record of this path takes in a block.
inline uint32_t RecordSize(size_t pathBytes) { return kRecordHeaderSize + 2 + static_cast<uint32_t>(pathBytes); }

enum class HeaderCheck {
    Missing,     // no file
    Damaged,     // too short, or the directory lies outside the file
    BadMagic,    // not a favourites file
    Refused,     // written by a later version that this program may not read
    Accepted,
};

struct SongRecord {
    uint32_t songNumber = 0;
    uint16_t flags = 0;
    bool hasPath = false;
    std::string path;
};

// What became of one stored record at a load.
struct RecordOutcome {
    enum class How { ByNumber, ByPath, Dropped, NotASong };
    SongRecord record;
    How how = How::Dropped;
    TRDataNode* song = nullptr;
};

struct LoadReport {
    HeaderCheck header = HeaderCheck::Missing;
    uint16_t writerVersion = 0;
    bool damaged = false;   // something unsound was met and skipped
    bool listFound = false;
    std::vector<RecordOutcome> records;
};

// Reads the list `listName` with disk number `diskNumber` (an entry with
// disk number 0 matches any) from the image (null: no file) and appends its
// songs to `list`. A song is found by its number, or by its path through the
// song index when the number is stale; records whose song is missing are dropped.
LoadReport LoadFromImage(const std::string* image, std::string_view listName, uint32_t diskNumber,
                         const Catalogue& cat, FavoritesItems& list);

enum class SaveAction {
    Refused,    // a later version's file: never written to
    Unchanged,  // the new image equals the old file
    Write,      // write `image` in place of the file
};

struct SaveResult {
    SaveAction action = SaveAction::Unchanged;
    std::string image;
    // The old file is not a sound favourites file (bad magic, damaged
    // directory or links): keep a copy of it before it is replaced.
    bool keepOld = false;
    bool compacted = false;
};

// Saves `list` as the list `listName` / `diskNumber` into (a copy of) the image.
SaveResult SaveToImage(const std::string* image, std::string_view listName, uint32_t diskNumber,
                       const FavoritesItems& list);

// Favourites lists moved from the settings file: one list of paths per disk
// identifier. Appended to an existing list without the paths it already
// holds, or written as a new list, records with song number 0.
struct ImportedList {
    std::string name;
    std::vector<std::string> paths;
};
// Nothing to write (Unchanged) when the file is missing and no list has a
// path, or when an existing file's header is not accepted (Refused).
SaveResult ImportIntoImage(const std::string* image, const std::vector<ImportedList>& lists);

// ---- Inspection (qlmdisk favorites dump, tests) ----

struct BlockInfo {
    uint32_t offset = 0;
    uint32_t count = 0;  // as stored
    uint32_t next = 0;
    std::vector<SongRecord> records;  // those that fit the block
};
struct EntryInfo {
    std::string name;
    uint32_t diskNumber = 0;
    uint32_t firstBlock = 0;
    std::vector<BlockInfo> chain;
};
struct StoreInfo {
    HeaderCheck header = HeaderCheck::Missing;
    uint16_t writerVersion = 0, readerVersion = 0;
    uint32_t entryCount = 0, directorySize = 0, freeListSize = 0, directoryOffset = 0;
    uint64_t fileSize = 0;
    std::vector<EntryInfo> entries;
    std::optional<uint32_t> freeCount;  // when there is a free list
    std::vector<uint32_t> freeBlocks;
    std::vector<std::string> problems;  // what was unsound, in reading order
};
StoreInfo DescribeImage(const std::string* image);

}  // namespace qlm::fav
