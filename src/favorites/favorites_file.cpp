#include "favorites/favorites_file.h"

#include <algorithm>
#include <set>

namespace qlm::fav {
namespace {

uint16_t Get16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
uint32_t Get32(const std::string& b, size_t at) {
    return static_cast<uint32_t>(Get16(b, at)) | static_cast<uint32_t>(Get16(b, at + 2)) << 16;
}
void Put16(std::string& b, size_t at, uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string& b, size_t at, uint32_t v) {
    Put16(b, at, static_cast<uint16_t>(v & 0xFFFF));
    Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}
void Append32(std::string& b, uint32_t v) {
    b.append(4, '\0');
    Put32(b, b.size() - 4, v);
}
void AppendString(std::string& b, std::string_view s) {
    b.append(2, '\0');
    Put16(b, b.size() - 2, static_cast<uint16_t>(s.size()));
    b.append(s);
}

std::string RecordBytes(uint32_t songNumber, std::string_view path) {
    std::string r(kRecordHeaderSize, '\0');
    Put32(r, 0, songNumber);
    Put16(r, 4, kRecordFlags);
    AppendString(r, path);
    return r;
}

// Parses the records of one block body; stops where a record would run past it.
// *used gets the bytes the parsed records take; false when the count was not reached.
bool ParseRecords(const std::string& b, size_t blockAt, uint32_t count, std::vector<SongRecord>* out,
                  uint32_t* used) {
    size_t at = blockAt + kBlockHeaderSize;
    const size_t end = blockAt + kBlockSize;
    for (uint32_t i = 0; i < count; ++i) {
        if (end - at < kRecordHeaderSize) {
            if (used) *used = static_cast<uint32_t>(at - blockAt - kBlockHeaderSize);
            return false;
        }
        SongRecord r;
        r.songNumber = Get32(b, at);
        r.flags = Get16(b, at + 4);
        size_t next = at + kRecordHeaderSize;
        if (r.flags & kRecordHasPath) {
            if (end - next < 2) break;
            const uint16_t n = Get16(b, next);
            if (end - next - 2 < n) break;
            r.hasPath = true;
            r.path.assign(b, next + 2, n);
            next += 2 + n;
        }
        if (out) out->push_back(std::move(r));
        at = next;
        if (i + 1 == count) {
            if (used) *used = static_cast<uint32_t>(at - blockAt - kBlockHeaderSize);
            return true;
        }
    }
    if (used) *used = static_cast<uint32_t>(at - blockAt - kBlockHeaderSize);
    return count == 0;
}

// The file image with the in-memory state of the store: the header's
// counters, the directory bytes, the free count and the list entries.
class StoreImage {
public:
    struct Entry {
        std::string name;
        uint32_t diskNumber = 0;
        size_t firstAt = 0;  // position of the first-block field in dir
    };

    std::string bytes;
    uint16_t writer = 0, reader = 0;
    uint32_t dirOffset = kHeaderSize;
    std::string dir;  // list entries, then the free list
    uint32_t freeSize = 0;
    uint32_t freeCount = 0;
    size_t entriesEnd = 0;  // end of the last entry in dir
    std::vector<Entry> entries;
    bool dirChanged = false;
    bool damaged = false;
    std::vector<std::string> problems;
    std::vector<uint32_t> storedFree;  // the free list as stored, before checking

    // Makes the links and counts found unsound at Open sound: a chain ends
    // where its link went wrong, a block counts the records it holds.
    void Mend() {
        for (size_t at : linkFixes_) Put32(bytes, at, 0);
        for (size_t e : firstFixes_) SetFirstBlock(e, 0);
        for (const auto& [off, count] : countFixes_) Put32(bytes, off, count);
        linkFixes_.clear();
        firstFixes_.clear();
        countFixes_.clear();
    }

    HeaderCheck Open(const std::string* image);
    void Fresh();

    bool ValidBlock(uint64_t off) const {
        return off >= kHeaderSize && (off - kHeaderSize) % kBlockSize == 0 && off + kBlockSize <= dirOffset;
    }
    // The sound part of a chain: stops at a link outside the block area or back into the chain.
    std::vector<uint32_t> Chain(uint32_t first, bool note);
    int Find(std::string_view name, uint32_t diskNumber) const;
    uint32_t FirstBlock(size_t entry) const { return Get32(dir, entries[entry].firstAt); }
    void SetFirstBlock(size_t entry, uint32_t off) {
        if (FirstBlock(entry) == off) return;
        Put32(dir, entries[entry].firstAt, off);
        dirChanged = true;
    }
    uint32_t Allocate();
    void Free(uint32_t off);
    size_t AddEntry(std::string_view name, uint32_t diskNumber);
    void WriteBlock(uint32_t off, uint32_t count, uint32_t next, const std::string& records);
    void ClearAndFree(uint32_t off) {
        WriteHeaderOnly(off, 0, 0);
        Free(off);
    }
    void WriteDirectory();
    void Compact();
    std::vector<SongRecord> Records(uint32_t off, uint32_t* used = nullptr, uint32_t* count = nullptr);

private:
    void Note(std::string what) {
        damaged = true;
        problems.push_back(std::move(what));
    }
    void WriteHeaderOnly(uint32_t off, uint32_t count, uint32_t next);
    void EnsureSize(size_t size) {
        if (bytes.size() < size) bytes.resize(size, '\0');
    }
    void RebuildFreeList(const std::vector<uint32_t>& offsets, bool hadList);

    std::vector<size_t> linkFixes_;
    std::vector<size_t> firstFixes_;
    std::vector<std::pair<uint32_t, uint32_t>> countFixes_;
};

void StoreImage::Fresh() {
    bytes.assign(kHeaderSize, '\0');
    bytes.replace(0, kMagic.size(), kMagic);
    Put16(bytes, 8, kProgramVersion);
    Put16(bytes, 10, kProgramVersion);
    writer = reader = kProgramVersion;
    dirOffset = kHeaderSize;
    dir.clear();
    freeSize = freeCount = 0;
    entriesEnd = 0;
    entries.clear();
    dirChanged = true;  // the new header's counters are written
}

HeaderCheck StoreImage::Open(const std::string* image) {
    *this = StoreImage{};
    if (!image) return HeaderCheck::Missing;
    bytes = *image;
    if (bytes.size() < kMagic.size() || std::string_view(bytes).substr(0, kMagic.size()) != kMagic)
        return HeaderCheck::BadMagic;
    if (bytes.size() < kHeaderSize) {
        Note("the header is cut short");
        return HeaderCheck::Damaged;
    }
    writer = Get16(bytes, 8);
    reader = Get16(bytes, 10);
    if (kProgramVersion < writer && kProgramVersion < reader) return HeaderCheck::Refused;
    const uint32_t entryCount = Get32(bytes, 12);
    const uint32_t dirSize = Get32(bytes, 16);
    freeSize = Get32(bytes, 20);
    dirOffset = Get32(bytes, 24);
    if (dirOffset < kHeaderSize || (dirOffset - kHeaderSize) % kBlockSize != 0) {
        Note("the directory offset is not at a block boundary");
        return HeaderCheck::Damaged;
    }
    if (static_cast<uint64_t>(dirOffset) + dirSize > bytes.size()) {
        Note("the directory runs past the end of the file");
        return HeaderCheck::Damaged;
    }
    if (freeSize > dirSize || (freeSize != 0 && freeSize < 4)) {
        Note("the free list is larger than the directory");
        return HeaderCheck::Damaged;
    }
    dir.assign(bytes, dirOffset, dirSize);

    // The list entries, as far as they are sound.
    const size_t listEnd = dirSize - freeSize;
    size_t at = 0;
    for (uint32_t i = 0; i < entryCount; ++i) {
        size_t p = at;
        auto need = [&](size_t n) { return listEnd - p >= n; };
        if (!need(4)) break;
        const uint32_t marker = Get32(dir, p);
        p += 4;
        if (marker != 0) {
            if (!need(2)) break;
            const uint16_t skip = Get16(dir, p);
            p += 2;
            if (!need(skip)) break;
            p += skip;
        }
        if (!need(2)) break;
        const uint16_t n = Get16(dir, p);
        p += 2;
        if (!need(static_cast<size_t>(n) + 12)) break;
        Entry e;
        e.name.assign(dir, p, n);
        p += n;
        e.diskNumber = Get32(dir, p);
        e.firstAt = p + 4;
        p += 12;
        entries.push_back(std::move(e));
        at = p;
    }
    entriesEnd = at;
    if (entries.size() != entryCount) {
        Note("list entry " + std::to_string(entries.size()) + " runs past the list entries");
        dirChanged = true;  // the header's entry count is written anew
    }
    if (entriesEnd != listEnd) {
        // Whatever lies between the last sound entry and the free list goes,
        // so that a new entry follows the last one directly.
        if (entries.size() == entryCount) Note("bytes follow the last list entry");
        dir.erase(entriesEnd, listEnd - entriesEnd);
        dirChanged = true;
    }

    // Every chain, to know which blocks are in use and where a link goes wrong.
    std::set<uint32_t> used;
    for (size_t i = 0; i < entries.size(); ++i) {
        std::set<uint32_t> seen;
        uint32_t prev = 0;
        for (uint32_t off = FirstBlock(i); off != 0;) {
            std::string why;
            if (!ValidBlock(off)) why = "link to block " + std::to_string(off) + " outside the block area";
            else if (seen.count(off)) why = "the chain loops back to block " + std::to_string(off);
            else if (used.count(off)) why = "block " + std::to_string(off) + " belongs to two lists";
            if (!why.empty()) {
                Note(why);
                if (prev) linkFixes_.push_back(prev + 8);
                else firstFixes_.push_back(i);
                break;
            }
            seen.insert(off);
            used.insert(off);
            std::vector<SongRecord> records;
            const uint32_t count = Get32(bytes, off);
            if (!ParseRecords(bytes, off, count, &records, nullptr)) {
                Note("block " + std::to_string(off) + " counts " + std::to_string(count) + " records but holds " +
                     std::to_string(records.size()));
                countFixes_.push_back({off, static_cast<uint32_t>(records.size())});
            }
            prev = off;
            off = Get32(bytes, off + 8);
        }
    }

    // The free list: only block offsets that are free indeed, each once.
    if (freeSize != 0) {
        const size_t freeAt = dir.size() - freeSize;
        const uint32_t stored = Get32(dir, freeAt);
        const uint32_t fits = (freeSize - 4) / 4;
        if (stored != fits) Note("the free count does not match the free-list size");
        std::vector<uint32_t> kept;
        std::set<uint32_t> seen;
        for (uint32_t i = 0; i < std::min(stored, fits); ++i) {
            const uint32_t off = Get32(dir, freeAt + 4 + 4 * static_cast<size_t>(i));
            storedFree.push_back(off);
            if (!ValidBlock(off)) Note("free block " + std::to_string(off) + " is outside the block area");
            else if (used.count(off)) Note("free block " + std::to_string(off) + " is in use by a list");
            else if (!seen.insert(off).second) Note("free block " + std::to_string(off) + " is listed twice");
            else kept.push_back(off);
        }
        if (stored != fits || kept.size() != stored || fits * 4 + 4 != freeSize) RebuildFreeList(kept, true);
        else freeCount = stored;
    }
    return HeaderCheck::Accepted;
}

void StoreImage::RebuildFreeList(const std::vector<uint32_t>& offsets, bool hadList) {
    dir.resize(dir.size() - freeSize);
    freeSize = 0;
    freeCount = 0;
    if (hadList) {
        Append32(dir, static_cast<uint32_t>(offsets.size()));
        for (uint32_t off : offsets) Append32(dir, off);
        freeSize = static_cast<uint32_t>(4 + 4 * offsets.size());
        freeCount = static_cast<uint32_t>(offsets.size());
    }
    dirChanged = true;
}

std::vector<uint32_t> StoreImage::Chain(uint32_t first, bool note) {
    std::vector<uint32_t> chain;
    std::set<uint32_t> seen;
    for (uint32_t off = first; off != 0;) {
        if (!ValidBlock(off)) {
            if (note) Note("link to block " + std::to_string(off) + " outside the block area");
            break;
        }
        if (!seen.insert(off).second) {
            if (note) Note("the chain loops back to block " + std::to_string(off));
            break;
        }
        chain.push_back(off);
        off = Get32(bytes, off + 8);
    }
    return chain;
}

int StoreImage::Find(std::string_view name, uint32_t diskNumber) const {
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].name == name && (entries[i].diskNumber == diskNumber || entries[i].diskNumber == 0))
            return static_cast<int>(i);
    return -1;
}

uint32_t StoreImage::Allocate() {
    dirChanged = true;
    if (freeCount == 0) {
        const uint32_t off = dirOffset;
        dirOffset += kBlockSize;
        return off;
    }
    const uint32_t off = Get32(dir, dir.size() - 4);
    dir.resize(dir.size() - 4);
    freeSize -= 4;
    --freeCount;
    Put32(dir, dir.size() - freeSize, freeCount);
    return off;
}

void StoreImage::Free(uint32_t off) {
    if (freeSize == 0) {
        Append32(dir, 0);
        freeSize = 4;
    }
    Append32(dir, off);
    freeSize += 4;
    ++freeCount;
    Put32(dir, dir.size() - freeSize, freeCount);
    dirChanged = true;
}

size_t StoreImage::AddEntry(std::string_view name, uint32_t diskNumber) {
    const uint32_t first = Allocate();
    std::string e;
    Append32(e, 0);
    AppendString(e, name);
    Append32(e, diskNumber);
    Append32(e, first);
    Append32(e, 0);
    dir.insert(entriesEnd, e);
    Entry entry;
    entry.name = std::string(name);
    entry.diskNumber = diskNumber;
    entry.firstAt = entriesEnd + e.size() - 8;
    entriesEnd += e.size();
    entries.push_back(std::move(entry));
    dirChanged = true;
    return entries.size() - 1;
}

void StoreImage::WriteHeaderOnly(uint32_t off, uint32_t count, uint32_t next) {
    EnsureSize(static_cast<size_t>(off) + kBlockSize);
    Put32(bytes, off, count);
    Put32(bytes, off + 4, 0);
    Put32(bytes, off + 8, next);
}

void StoreImage::WriteBlock(uint32_t off, uint32_t count, uint32_t next, const std::string& records) {
    WriteHeaderOnly(off, count, next);
    std::string body = records;
    body.resize(kBlockRecordSpace, '\0');
    bytes.replace(off + kBlockHeaderSize, kBlockRecordSpace, body);
}

std::vector<SongRecord> StoreImage::Records(uint32_t off, uint32_t* used, uint32_t* count) {
    // A count the block cannot hold was noted at Open; the records that fit are read.
    std::vector<SongRecord> out;
    const uint32_t stored = Get32(bytes, off);
    if (count) *count = stored;
    ParseRecords(bytes, off, stored, &out, used);
    return out;
}

void StoreImage::WriteDirectory() {
    EnsureSize(static_cast<size_t>(dirOffset) + dir.size());
    bytes.replace(dirOffset, dir.size(), dir);
    Put32(bytes, 12, static_cast<uint32_t>(entries.size()));
    Put32(bytes, 16, static_cast<uint32_t>(dir.size()));
    Put32(bytes, 20, freeSize);
    Put32(bytes, 24, dirOffset);
    Put32(bytes, 28, 0);
    dirChanged = false;
}

void StoreImage::Compact() {
    // Every list's blocks become consecutive from offset 32; the free list goes.
    std::string out = bytes.substr(0, kHeaderSize);
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::vector<uint32_t> chain = Chain(FirstBlock(i), false);
        const uint32_t first = chain.empty() ? 0 : static_cast<uint32_t>(out.size());
        for (size_t k = 0; k < chain.size(); ++k) {
            const size_t at = out.size();
            out.append(bytes, chain[k], kBlockSize);
            Put32(out, at + 8, k + 1 < chain.size() ? static_cast<uint32_t>(at + kBlockSize) : 0);
        }
        Put32(dir, entries[i].firstAt, first);
    }
    dir.resize(dir.size() - freeSize);
    freeSize = 0;
    freeCount = 0;
    dirOffset = static_cast<uint32_t>(out.size());
    bytes = std::move(out);
    WriteDirectory();
}

// Fills a chain with records from the start of block chain[0]; leftover blocks
// of the chain are cleared and freed. `chain` is reused in order and grown.
struct ChainWriter {
    explicit ChainWriter(StoreImage& image) : s(image) {}
    StoreImage& s;
    std::vector<uint32_t> chain;
    size_t at = 0;
    uint32_t count = 0;
    std::string body;

    void Add(const std::string& record) {
        if (record.size() >= kBlockRecordSpace) return;  // can never fit a block
        if (record.size() >= kBlockRecordSpace - body.size()) {
            if (at + 1 >= chain.size()) chain.push_back(s.Allocate());
            s.WriteBlock(chain[at], count, chain[at + 1], body);
            ++at;
            count = 0;
            body.clear();
        }
        body += record;
        ++count;
    }
    void Finish() {
        s.WriteBlock(chain[at], count, 0, body);
        for (size_t k = at + 1; k < chain.size(); ++k) s.ClearAndFree(chain[k]);
        chain.resize(at + 1);
    }
};

TRDataNode* SongByPath(const Catalogue& cat, const std::string& path) {
    const std::u16string text = cat.DiskText(path);
    const bool full = text.size() >= 2 && text[1] == u':';
    return cat.FindSongByPath(full ? text : cat.root + u"Sound\\" + text);
}

}  // namespace

std::u16string LoadedCaption(const Catalogue& cat, const TRDataNode& song) {
    const bool second = cat.secondLanguageActive && cat.settings.DualLanguageNames && song.HasName2();
    return song.NameText(second);
}

LoadReport LoadFromImage(const std::string* image, std::string_view listName, uint32_t diskNumber,
                         const Catalogue& cat, FavoritesItems& list) {
    LoadReport report;
    StoreImage s;
    report.header = s.Open(image);
    report.writerVersion = s.writer;
    report.damaged = s.damaged;
    if (report.header != HeaderCheck::Accepted) return report;
    const int entry = s.Find(listName, diskNumber);
    if (entry < 0) return report;
    report.listFound = true;
    for (uint32_t off : s.Chain(s.FirstBlock(static_cast<size_t>(entry)), false)) {
        for (SongRecord& r : s.Records(off)) {
            if (!(r.flags & kRecordSong)) continue;
            RecordOutcome o;
            TRDataNode* song = nullptr;
            if (r.songNumber > 0 && r.songNumber <= cat.NodeCount())
                song = const_cast<TRDataNode*>(cat.Node(static_cast<int32_t>(r.songNumber - 1)));
            o.how = RecordOutcome::How::ByNumber;
            if (r.hasPath && (!song || song->Path != r.path)) {
                song = SongByPath(cat, r.path);
                o.how = RecordOutcome::How::ByPath;
            }
            if (!song) o.how = RecordOutcome::How::Dropped;
            else if (!song->IsSong()) o.how = RecordOutcome::How::NotASong;
            else {
                o.song = song;
                list.push_back({song, LoadedCaption(cat, *song)});
            }
            o.record = std::move(r);
            report.records.push_back(std::move(o));
        }
    }
    report.damaged = s.damaged;
    return report;
}

SaveResult SaveToImage(const std::string* image, std::string_view listName, uint32_t diskNumber,
                       const FavoritesItems& list) {
    SaveResult result;
    StoreImage s;
    const HeaderCheck header = s.Open(image);
    if (header == HeaderCheck::Refused || (header == HeaderCheck::Accepted && s.writer > kProgramVersion)) {
        result.action = SaveAction::Refused;
        return result;
    }
    if (header != HeaderCheck::Accepted) {
        result.keepOld = header != HeaderCheck::Missing;
        s.Fresh();
    } else {
        result.keepOld = s.damaged;
        s.Mend();
    }

    int entry = s.Find(listName, diskNumber);
    ChainWriter w(s);
    if (entry < 0) {
        if (!list.empty()) {
            entry = static_cast<int>(s.AddEntry(listName, diskNumber));
            w.chain.push_back(s.FirstBlock(static_cast<size_t>(entry)));
        }
    } else {
        const size_t e = static_cast<size_t>(entry);
        w.chain = s.Chain(s.FirstBlock(e), false);
        if (list.empty()) {
            s.SetFirstBlock(e, 0);
            for (uint32_t off : w.chain) s.ClearAndFree(off);
            w.chain.clear();
        } else if (w.chain.empty()) {
            // No block yet (or only a link that leads nowhere).
            w.chain.push_back(s.Allocate());
            s.SetFirstBlock(e, w.chain.front());
        }
    }
    if (!w.chain.empty()) {
        for (const FavoriteItem& item : list) {
            if (!item.song) continue;
            w.Add(RecordBytes(static_cast<uint32_t>(item.song->ListIndex + 1), item.song->Path));
        }
        w.Finish();
    }
    if (s.dirChanged) s.WriteDirectory();
    if (s.freeCount >= kCompactAtFreeBlocks) {
        s.Compact();
        result.compacted = true;
    }
    result.action = (!image || s.bytes != *image || result.keepOld) ? SaveAction::Write : SaveAction::Unchanged;
    result.image = std::move(s.bytes);
    return result;
}

SaveResult ImportIntoImage(const std::string* image, const std::vector<ImportedList>& lists) {
    SaveResult result;
    StoreImage s;
    const HeaderCheck header = s.Open(image);
    if (header == HeaderCheck::Missing) {
        const bool anyPath = std::any_of(lists.begin(), lists.end(), [](const auto& l) { return !l.paths.empty(); });
        if (!anyPath) return result;
        s.Fresh();
    } else if (header != HeaderCheck::Accepted || s.writer > kProgramVersion) {
        result.action = SaveAction::Refused;
        return result;
    }
    result.keepOld = s.damaged;
    s.Mend();

    for (const ImportedList& l : lists) {
        if (l.paths.empty()) continue;
        const int entry = s.Find(l.name, 0);
        ChainWriter w(s);
        std::set<std::string> present;
        bool freshBlock = entry < 0;
        if (entry >= 0) {
            const size_t e = static_cast<size_t>(entry);
            w.chain = s.Chain(s.FirstBlock(e), false);
            for (uint32_t off : w.chain)
                for (const SongRecord& r : s.Records(off))
                    if (r.hasPath) present.insert(r.path);
            if (w.chain.empty()) {
                w.chain.push_back(s.Allocate());
                s.SetFirstBlock(e, w.chain.front());
                freshBlock = true;
            } else {
                // Go on after the last record of the last block.
                w.at = w.chain.size() - 1;
                uint32_t used = 0;
                w.count = static_cast<uint32_t>(s.Records(w.chain.back(), &used).size());
                w.body.assign(s.bytes, w.chain.back() + kBlockHeaderSize, used);
            }
        } else {
            w.chain.push_back(s.FirstBlock(s.AddEntry(l.name, 0)));
        }
        size_t added = 0;
        for (const std::string& path : l.paths)
            if (present.insert(path).second) {
                w.Add(RecordBytes(0, path));
                ++added;
            }
        if (freshBlock || added) w.Finish();
    }
    s.WriteDirectory();
    result.action = (!image || s.bytes != *image || result.keepOld) ? SaveAction::Write : SaveAction::Unchanged;
    result.image = std::move(s.bytes);
    return result;
}

StoreInfo DescribeImage(const std::string* image) {
    StoreInfo info;
    StoreImage s;
    info.header = s.Open(image);
    if (image) {
        info.fileSize = image->size();
        if (image->size() >= kHeaderSize && info.header != HeaderCheck::BadMagic) {
            info.writerVersion = Get16(*image, 8);
            info.readerVersion = Get16(*image, 10);
            info.entryCount = Get32(*image, 12);
            info.directorySize = Get32(*image, 16);
            info.freeListSize = Get32(*image, 20);
            info.directoryOffset = Get32(*image, 24);
        }
    }
    if (info.header == HeaderCheck::Accepted) {
        for (size_t i = 0; i < s.entries.size(); ++i) {
            EntryInfo e;
            e.name = s.entries[i].name;
            e.diskNumber = s.entries[i].diskNumber;
            e.firstBlock = s.FirstBlock(i);
            for (uint32_t off : s.Chain(e.firstBlock, false)) {
                BlockInfo b;
                b.offset = off;
                b.next = Get32(s.bytes, off + 8);
                b.records = s.Records(off, nullptr, &b.count);
                e.chain.push_back(std::move(b));
            }
            info.entries.push_back(std::move(e));
        }
        if (info.freeListSize != 0) {
            info.freeCount = Get32(*image, static_cast<size_t>(info.directoryOffset) + info.directorySize -
                                               info.freeListSize);
            info.freeBlocks = s.storedFree;
        }
    }
    info.problems = s.problems;
    return info;
}

}  // namespace qlm::fav
