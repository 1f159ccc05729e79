// qlmdisk favorites dump FILE
// qlmdisk favorites load FILE DISKDIR LIST
// qlmdisk favorites set FILE DISKDIR LIST PATH...
//
// A user's favorites.dat looked into and reproduced: its blocks and
// directory, the list the shell's own load finds for a disk, and a list
// saved through the shell's own save.
#include <filesystem>
#include <iostream>

#include <nlohmann/json.hpp>

#include "base/file_path.h"
#include "base/text_codec.h"
#include "content/disk_loader.h"
#include "content/tag_scan.h"
#include "favorites/favorites_store.h"
#include "qlmdisk/commands.h"
#include "qlmdisk/tool_io.h"

namespace qlm::disk {
namespace {

using Json = nlohmann::ordered_json;
using namespace qlm::fav;

constexpr const char* kUsage =
    "usage: qlmdisk favorites dump FILE | favorites load FILE DISKDIR LIST | favorites set FILE DISKDIR LIST PATH...";

// favorites.dat keeps names and paths in the Cyrillic code page unless the disk says otherwise.
std::string U8(std::string_view bytes, uint8_t charset = kCyrillicCharset) { return DecodeToUtf8(bytes, charset); }

const char* HeaderName(HeaderCheck h) {
    switch (h) {
    case HeaderCheck::Missing: return "missing";
    case HeaderCheck::Damaged: return "damaged";
    case HeaderCheck::BadMagic: return "not a favourites file";
    case HeaderCheck::Refused: return "refused: a later version";
    case HeaderCheck::Accepted: return "accepted";
    }
    return "?";
}

Json RecordJson(const SongRecord& r, uint8_t charset) {
    Json j;
    j["song"] = r.songNumber;
    j["flags"] = r.flags;
    if (r.hasPath) j["path"] = U8(r.path, charset);
    return j;
}

bool ReadStore(const std::string& arg, std::string& bytes, bool& present) {
    FavoritesFiles files;
    const auto read = files.Read(ToolPath(arg), bytes);
    present = read == FavoritesFiles::ReadResult::Ok;
    return read != FavoritesFiles::ReadResult::Failed;
}

int Dump(const Args& a) {
    if (a.size() != 1) return Complain(kUsage, kExitUsage);
    std::string bytes;
    bool present = false;
    if (!ReadStore(a[0], bytes, present)) return Complain("cannot read " + a[0], kExitFailed);
    if (!present) return Complain("no file " + a[0], kExitFailed);
    const StoreInfo info = DescribeImage(&bytes);
    Json out;
    out["size"] = info.fileSize;
    Json h;
    h["check"] = HeaderName(info.header);
    h["writerVersion"] = info.writerVersion;
    h["readerVersion"] = info.readerVersion;
    h["entries"] = info.entryCount;
    h["directorySize"] = info.directorySize;
    h["freeListSize"] = info.freeListSize;
    h["directoryOffset"] = info.directoryOffset;
    out["header"] = h;
    Json lists = Json::array();
    for (const EntryInfo& e : info.entries) {
        Json l;
        l["name"] = U8(e.name);
        l["diskNumber"] = e.diskNumber;
        l["firstBlock"] = e.firstBlock;
        Json blocks = Json::array();
        for (const BlockInfo& b : e.chain) {
            Json bj;
            bj["offset"] = b.offset;
            bj["count"] = b.count;
            bj["next"] = b.next;
            Json records = Json::array();
            for (const SongRecord& r : b.records) records.push_back(RecordJson(r, kCyrillicCharset));
            bj["records"] = records;
            blocks.push_back(bj);
        }
        l["blocks"] = blocks;
        lists.push_back(l);
    }
    out["lists"] = lists;
    if (info.freeCount) {
        out["freeList"] = {{"count", *info.freeCount}, {"blocks", info.freeBlocks}};
    } else {
        out["freeList"] = nullptr;
    }
    out["problems"] = info.problems;
    std::cout << out.dump(2) << "\n";
    return info.header == HeaderCheck::Accepted ? kExitOk : kExitFailed;
}

bool LoadDisk(const std::string& dir, Catalogue& cat) {
    LoadOptions options;
    options.root = WithTrailingBackslash(ToolPath(dir));
    std::error_code ec;
    if (!std::filesystem::is_regular_file(FsPath(options.root + u"qlm.cfg"), ec)) return false;
    const LoadResult r = LoadDiskDescription(cat, options);
    if (r.outcome != LoadOutcome::Loaded) return false;
    if (r.NeedsTagScan(cat)) TagScan(cat);
    return true;
}

Json ListJson(const Catalogue& cat, const std::string& listName, const FileLoad& load, const FavoritesItems& items) {
    Json out;
    out["list"] = listName;
    out["header"] = HeaderName(load.report.header);
    out["found"] = load.report.listFound;
    out["damaged"] = load.report.damaged;
    Json jitems = Json::array();
    for (const FavoriteItem& i : items)
        jitems.push_back({{"song", i.song->ListIndex + 1},
                          {"path", U8(i.song->Path, cat.DiskCharset())},
                          {"caption", Utf16ToUtf8(i.caption)}});
    out["items"] = jitems;
    Json records = Json::array();
    for (const RecordOutcome& o : load.report.records) {
        Json r = RecordJson(o.record, cat.DiskCharset());
        switch (o.how) {
        case RecordOutcome::How::ByNumber: r["found"] = "by number"; break;
        case RecordOutcome::How::ByPath: r["found"] = "by path"; break;
        case RecordOutcome::How::Dropped: r["found"] = "dropped: no such song"; break;
        case RecordOutcome::How::NotASong: r["found"] = "dropped: not a song"; break;
        }
        if (o.song) r["foundSong"] = o.song->ListIndex + 1;
        records.push_back(r);
    }
    out["records"] = records;
    return out;
}

int Load(const Args& a) {
    if (a.size() != 3) return Complain(kUsage, kExitUsage);
    Catalogue cat;
    if (!LoadDisk(a[1], cat)) return Complain("no disk description that loads in " + a[1], kExitFailed);
    const std::string name = EncodeFromUtf8(a[2], cat.DiskCharset());
    FavoritesFiles files;
    FavoritesItems items;
    const FileLoad load = LoadFavorites(files, ToolPath(a[0]), name, 0, cat, items);
    if (load.read == FavoritesFiles::ReadResult::Failed) return Complain("cannot read " + a[0], kExitFailed);
    std::cout << ListJson(cat, a[2], load, items).dump(2) << "\n";
    return kExitOk;
}

int Set(const Args& a) {
    if (a.size() < 3) return Complain(kUsage, kExitUsage);
    Catalogue cat;
    if (!LoadDisk(a[1], cat)) return Complain("no disk description that loads in " + a[1], kExitFailed);
    const std::string name = EncodeFromUtf8(a[2], cat.DiskCharset());
    const std::u16string file = ToolPath(a[0]);
    FavoritesFiles files;
    FavoritesItems items;
    // A save is always preceded by the load of the same list, as in the shell.
    if (LoadFavorites(files, file, name, 0, cat, items).read == FavoritesFiles::ReadResult::Failed)
        return Complain("cannot read " + a[0], kExitFailed);
    items.clear();
    for (size_t i = 3; i < a.size(); ++i) {
        std::u16string path = Utf8ToUtf16(a[i]);
        for (auto& c : path)
            if (c == u'/') c = u'\\';
        TRDataNode* song = cat.FindSongByPath(StoredPathFile(cat, path));
        if (!song) return Complain("no song " + a[i] + " under Sound\\ of the disk", kExitFailed);
        items.push_back({song, LoadedCaption(cat, *song)});
    }
    switch (SaveFavorites(files, file, name, 0, items)) {
    case SaveOutcome::Written: std::cout << "{\"saved\": \"written\", \"items\": " << items.size() << "}\n"; return kExitOk;
    case SaveOutcome::Unchanged: std::cout << "{\"saved\": \"unchanged\", \"items\": " << items.size() << "}\n"; return kExitOk;
    case SaveOutcome::Refused: return Complain(a[0] + " is of a later version or unreadable: not written", kExitFailed);
    case SaveOutcome::Failed: return Complain("cannot write " + a[0] + "; the old file is untouched", kExitFailed);
    }
    return kExitFailed;
}

}  // namespace

int RunFavorites(const Args& args) {
    if (args.empty()) return Complain(kUsage, kExitUsage);
    const Args rest(args.begin() + 1, args.end());
    if (args[0] == "dump") return Dump(rest);
    if (args[0] == "load") return Load(rest);
    if (args[0] == "set") return Set(rest);
    return Complain(kUsage, kExitUsage);
}

}  // namespace qlm::disk
