#include "tools/print_lines.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <system_error>

#include "base/file_path.h"
#include "base/text_codec.h"
#include "content/text_case.h"

namespace qlm::print {
namespace {

std::u16string FileNameOf(const std::filesystem::directory_entry& entry) {
#ifdef _WIN32
    const std::wstring w = entry.path().filename().wstring();
    return std::u16string(w.begin(), w.end());
#else
    const auto u8 = entry.path().filename().u8string();
    return Utf8ToUtf16(std::string(u8.begin(), u8.end()));
#endif
}

bool HasMp3Extension(const std::u16string& name) {
    return name.size() > 4 && EqualsIgnoringCase(std::u16string_view(name).substr(name.size() - 4), u".mp3");
}

void CollectFrom(const std::u16string& folder, std::vector<std::u16string>& out, int depth) {
    if (depth > 64) return;  // a loop of links must not run away
    std::error_code ec;
    std::filesystem::directory_iterator it(FsPath(folder), ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::u16string name = FileNameOf(*it);
        std::error_code typeError;
        if (it->is_directory(typeError))
            CollectFrom(folder + name + u"\\", out, depth + 1);
        else if (HasMp3Extension(name))
            out.push_back(UpperCase(folder + name));
    }
}

std::u16string Digits(long long n) {
    std::u16string out;
    for (char c : std::to_string(n)) out.push_back(static_cast<char16_t>(c));
    return out;
}

std::u16string PadLeft(const std::u16string& s, size_t width) {
    return s.size() >= width ? s : std::u16string(width - s.size(), u' ') + s;
}

// The folders above a node, top level first.
std::vector<const TRDataNode*> Ancestors(const TRDataNode& node) {
    std::vector<const TRDataNode*> chain;
    for (const TRDataNode* p = node.Parent; p; p = p->Parent) chain.push_back(p);
    std::reverse(chain.begin(), chain.end());
    return chain;
}

size_t FirstDifference(const std::vector<const TRDataNode*>& a, const std::vector<const TRDataNode*>& b) {
    size_t d = 0;
    while (d < a.size() && d < b.size() && a[d] == b[d]) ++d;
    return d;
}

std::u16string TagText(const Catalogue& cat, const TRDataNode& song, unsigned chosen) {
    if (!song.Tags || !chosen) return {};
    const bool second = cat.secondLanguageActive && cat.settings.DualLanguageNames;
    const uint8_t charset = second ? song.Charset2 : song.Charset;
    auto value = [&](int field) { return DecodeText(song.Tags->Value(field, second), charset); };
    // Appended piece by piece: gcc 12 warns falsely about "a" + b + "c" here.
    std::u16string pieces;
    auto add = [&](int field, unsigned bit, std::u16string_view before, std::u16string_view after) {
        if (!(chosen & bit)) return;
        const std::u16string v = value(field);
        if (v.empty()) return;
        pieces.append(before).append(v).append(after);
    };
    add(kComposer, kTagComposer, u"(", u")");
    add(kArtist, kTagArtist, u" / ", u"");
    add(kAlbum, kTagAlbum, u" <", u">");
    add(kYear, kTagYear, u" / ", u"");
    if (!pieces.empty()) pieces.insert(pieces.begin(), u' ');
    return pieces;
}

// The song index for one build: the same buckets and the same first match as
// Catalogue::FindSongByPath, with each song's path decoded and upper-cased
// only once however many files land in its bucket.
class SongLookup {
public:
    explicit SongLookup(const Catalogue& cat)
        : cat_(cat), soundRoot_(UpperCase(cat.root + u"Sound\\")), paths_(cat.NodeCount()) {}

    const TRDataNode* Find(const std::u16string& file) {
        if (file.size() <= soundRoot_.size()) return nullptr;
        const std::u16string upper = UpperCase(file);
        if (upper.compare(0, soundRoot_.size(), soundRoot_) != 0) return nullptr;
        const std::u16string_view rest = std::u16string_view(upper).substr(soundRoot_.size());
        const size_t cut = file.find_last_of(u"\\/");
        const std::u16string bare = cut == std::u16string::npos ? file : file.substr(cut + 1);
        const uint8_t cs = cat_.DiskCharset();
        for (const TRDataNode* song : cat_.SongBucket(Catalogue::SongBucketOf(EncodeText(bare, cs), cs)))
            if (PathOf(*song) == rest) return song;
        return nullptr;
    }

private:
    const std::u16string& PathOf(const TRDataNode& song) {
        auto& p = paths_[static_cast<size_t>(song.ListIndex)];
        if (!p) p = UpperCase(cat_.DiskText(song.Path));
        return *p;
    }
    const Catalogue& cat_;
    std::u16string soundRoot_;
    std::vector<std::optional<std::u16string>> paths_;
};

// A line before its number column is known.
struct Draft {
    PrintLine line;
    std::vector<int> counters;  // outline: the chain from level 0 to the line's own level
    long long running = 0;      // running: the file's position, 1-based; 0 for headers
};

}  // namespace

std::vector<std::u16string> CollectSongFiles(const std::u16string& root) {
    std::vector<std::u16string> files;
    CollectFrom(WithTrailingBackslash(root), files, 0);
    return files;
}

std::vector<PrintLine> BuildLines(const Catalogue& cat, const std::vector<std::u16string>& files,
                                  const LineOptions& options) {
    std::vector<Draft> drafts;
    std::vector<int> counters(static_cast<size_t>(std::max(cat.DeepestLevel(), 0)) + 1, 0);
    std::vector<const TRDataNode*> prevFound, prevPrinted;
    long long kept = 0;
    SongLookup lookup(cat);

    for (size_t i = 0; i < files.size(); ++i) {
        const TRDataNode* song = lookup.Find(files[i]);
        if (!song) continue;
        const auto chain = Ancestors(*song);
        const size_t level = chain.size();
        if (counters.size() < level + 1) counters.resize(level + 1, 0);

        // Folder counters follow every song of the catalogue, printed or not.
        const size_t d = FirstDifference(chain, prevFound);
        if (d < level) {  // a new folder on the way down
            ++counters[d];
            for (size_t k = d + 1; k < level; ++k) counters[k] = 1;
            counters[level] = 0;
        }
        prevFound = chain;

        if (options.selectedOnly &&
            std::none_of(chain.begin(), chain.end(),
                         [&](const TRDataNode* f) { return options.checkedFolders.count(f->ListIndex) != 0; }))
            continue;
        ++counters[level];
        ++kept;

        if (!options.sort) {
            for (size_t k = FirstDifference(chain, prevPrinted); k < level; ++k) {
                Draft h;
                h.line.kind = (k == 0 && level >= 2) ? LineKind::Header1 : LineKind::Header2;
                h.line.name = cat.NodeDisplayText(*chain[k], false, true);
                h.counters.assign(counters.begin(), counters.begin() + static_cast<long>(k) + 1);
                drafts.push_back(std::move(h));
            }
        }
        prevPrinted = chain;

        Draft s;
        s.line.kind = LineKind::Song;
        s.line.name = cat.NodeDisplayText(*song, false, true);
        s.line.tags = TagText(cat, *song, options.tags);
        s.counters.assign(counters.begin(), counters.begin() + static_cast<long>(level) + 1);
        s.running = static_cast<long long>(i) + 1;
        drafts.push_back(std::move(s));
    }

    if (options.sort) {
        auto less = [&](const Draft& a, const Draft& b) {
            return options.collate ? options.collate(a.line.name, b.line.name) < 0 : a.line.name < b.line.name;
        };
        std::stable_sort(drafts.begin(), drafts.end(), less);
    }

    // Number columns.
    const std::u16string after = options.sort ? u"  " : u". ";
    if (options.outline) {
        std::vector<size_t> width;
        for (const Draft& dr : drafts)
            for (size_t j = 0; j < dr.counters.size(); ++j) {
                if (width.size() <= j) width.resize(j + 1, 0);
                width[j] = std::max(width[j], Digits(dr.counters[j]).size());
            }
        size_t total = 0;
        for (size_t j = 0; j < width.size(); ++j) total += width[j] + (j ? 1 : 0);
        for (Draft& dr : drafts) {
            std::u16string n;
            const size_t own = dr.counters.size() - 1;
            if (options.sort) {
                for (size_t j = 0; j <= own; ++j) {
                    if (j) n.push_back(u'.');
                    n.append(PadLeft(Digits(dr.counters[j]), width[j]));
                }
                n.resize(std::max(n.size(), total), u' ');
            } else {
                size_t indent = 0;
                for (size_t j = 0; j < own; ++j) indent += width[j] + 2;
                n.assign(indent, u' ');
                n.append(PadLeft(Digits(dr.counters[own]), width[own]));
            }
            dr.line.number = n + after;
        }
    } else {
        // The column holds the count of kept songs; numbers are file positions
        // and may be wider, so it grows to the widest of them.
        size_t width = Digits(kept).size();
        for (const Draft& dr : drafts)
            if (dr.running) width = std::max(width, Digits(dr.running).size());
        for (Draft& dr : drafts)
            if (dr.running) dr.line.number = PadLeft(Digits(dr.running), width) + after;
    }

    std::vector<PrintLine> lines;
    lines.reserve(drafts.size());
    for (Draft& dr : drafts) lines.push_back(std::move(dr.line));
    return lines;
}

std::string TextFileBytes(const std::vector<PrintLine>& lines, bool sorted) {
    std::string out = "\xEF\xBB\xBF";
    bool afterSong = false;
    for (const PrintLine& l : lines) {
        const bool header = l.kind != LineKind::Song;
        if (!sorted && header && afterSong) out += "\r\n";
        out += Utf16ToUtf8(l.number + l.name + l.tags);
        out += "\r\n";
        afterSong = !header;
    }
    return out;
}

bool SaveTextFile(const std::u16string& path, const std::vector<PrintLine>& lines, bool sorted) {
    const std::string bytes = TextFileBytes(lines, sorted);
    std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace qlm::print
