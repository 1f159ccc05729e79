// The record form: a header of KEY=value short records up to EndOfCFG, then
// the folder list (short records, or long ones with ELS=1).
#include <cctype>

#include "content/description_stream.h"
#include "content/disk_loader.h"

namespace qlm {
namespace {

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view SkipBlanks(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}

std::string AsciiUpper(std::string_view s) {
    std::string out(s);
    for (auto& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return out;
}

// Text up to the first `sep` (or all of it), and the rest after the separator.
std::string_view Field(std::string_view& rest, char sep) {
    const size_t cut = rest.find(sep);
    std::string_view field = rest.substr(0, cut);
    rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
    return field;
}

// "PSSH=" style: blanks, decimal digits, then a blank or the end.
bool ParseSwitch(std::string_view v, bool& on) {
    v = SkipBlanks(v);
    size_t i = 0;
    bool nonZero = false;
    while (i < v.size() && IsDigit(v[i])) nonZero |= v[i++] != '0';
    if (i == 0 || (i < v.size() && !IsBlank(v[i]))) return false;
    on = nonZero;
    return true;
}

// "EV=" style: a decimal integer (optional sign) up to the next blank or the end.
bool ParseInteger(std::string_view v, bool& nonZero) {
    size_t end = 0;
    while (end < v.size() && !IsBlank(v[end])) ++end;
    v = v.substr(0, end);
    if (!v.empty() && (v[0] == '-' || v[0] == '+')) v.remove_prefix(1);
    if (v.empty()) return false;
    nonZero = false;
    for (char c : v) {
        if (!IsDigit(c)) return false;
        nonZero |= c != '0';
    }
    return true;
}

// "Charset=" style: digits right after '=', then a blank or the end; one byte.
bool ParseCharset(std::string_view v, uint8_t& out) {
    size_t i = 0;
    unsigned value = 0;
    while (i < v.size() && IsDigit(v[i])) {
        value = value * 10 + static_cast<unsigned>(v[i++] - '0');
        if (value > 255) return false;
    }
    if (i == 0 || (i < v.size() && !IsBlank(v[i]))) return false;
    out = static_cast<uint8_t>(value);
    return true;
}

class RecordFormReader {
public:
    RecordFormReader(std::string_view bytes, Catalogue& c, LoadResult& r)
        : in_(bytes), cat_(c), set_(c.settings), result_(r) {}

    void Run() {
        std::string first;
        if (!in_.ReadShortRecord(first) || !StartsWith(SkipBlanks(first), "CDQLM=")) {
            result_.outcome = LoadOutcome::NotADisk;
            return;
        }
        result_.outcome = LoadOutcome::Loaded;
        set_.DiskIdentifier = std::string(SkipBlanks(first).substr(6));
        if (Header()) FolderList();
        // Names of this form are in the disk's character set.
        cat_.ForEachNode([&](TRDataNode& n) {
            n.Charset = set_.Charset1;
            n.Charset2 = set_.Charset2;
        });
    }

private:
    // A record that cannot be read completely is a format error; a clean end
    // of the file is not.
    bool Read(std::string& rec, bool longRecord) {
        if (in_.AtEnd()) return false;
        if (longRecord ? in_.ReadLongRecord(rec) : in_.ReadShortRecord(rec)) return true;
        result_.formatError = true;
        return false;
    }

    void Fail() { result_.formatError = true; }

    // True when EndOfCFG was reached.
    bool Header() {
        std::string rec;
        while (Read(rec, false)) {
            const std::string_view t = SkipBlanks(rec);
            const std::string up = AsciiUpper(t);
            bool ok = true;
            if (StartsWith(t, "CDRUS=")) {
                set_.DiskTitle = std::string(t.substr(6));
            } else if (StartsWith(t, "PSSH=")) {
                ok = ParseSwitch(t.substr(5), set_.SlidesEnabled);
            } else if (StartsWith(t, "PVT=")) {
                ok = ParseSwitch(t.substr(4), set_.HasTexts);
            } else if (StartsWith(t, "PVV=")) {
                ok = ParseSwitch(t.substr(4), set_.VideosEnabled);
            } else if (StartsWith(up, "EV=")) {
                ok = ParseInteger(t.substr(3), set_.VideoListInFile);
            } else if (StartsWith(up, "NATOVPAGE=1")) {
            } else if (StartsWith(t, "F=") || StartsWith(t, "MF=")) {
            } else if (StartsWith(t, "T=")) {
                set_.TitlePicture = std::string(t.substr(2));
            } else if (StartsWith(t, "ET=")) {
                ok = ParseInteger(t.substr(3), set_.TwoLevelFolders);
            } else if (StartsWith(t, "P='")) {
                ok = Page(t.substr(3));
            } else if (StartsWith(t, "Charset=")) {
                uint8_t cs;
                if (ParseCharset(t.substr(8), cs)) set_.Charset1 = set_.Charset2 = set_.TextCharset = cs;
            } else if (StartsWith(t, "TextLanguage=")) {
                ParseCharset(t.substr(13), set_.TextCharset);
            } else if (StartsWith(t, "DL=")) {
                set_.DualLanguageNames = t.size() > 3 && t[3] == '1';
            } else if (StartsWith(t, "VDL=")) {
                set_.DualLanguageVideos = t.size() > 4 && t[4] == '1';
            } else if (t == "ELS=1") {
                set_.LongFolderRecords = true;
            } else if (StartsWith(t, "CVF=") && set_.VideoListInFile) {
                ok = VideoFolder(t.substr(4));
            } else if (StartsWith(t, "VI=") && set_.VideoListInFile) {
                ok = Video(t.substr(3));
            } else if (StartsWith(t, "SDL=")) {
                set_.DualLanguageSlides = t.size() > 4 && t[4] == '1';
            } else if (StartsWith(t, "PNI=1")) {
                set_.NumberSongs = true;
            } else if (StartsWith(t, "PICList")) {
                ok = PictureList();
            } else if (StartsWith(t, "EndOfCFG")) {
                return true;
            } else {
                ok = false;
            }
            if (!ok) Fail();
            if (result_.formatError) return false;
        }
        return false;
    }

    // P='caption' FN='file'
    bool Page(std::string_view v) {
        const size_t close = v.find('\'');
        if (close == std::string_view::npos || close + 1 >= v.size()) return false;
        PageEntry page;
        page.Caption = std::string(v.substr(0, close));
        std::string_view rest = SkipBlanks(v.substr(close + 1));
        if (!StartsWith(rest, "FN='")) return true;
        rest.remove_prefix(4);
        const size_t end = rest.find('\'');
        page.File = std::string(rest.substr(0, end));
        cat_.pages.push_back(std::move(page));
        return end != std::string_view::npos;
    }

    bool VideoFolder(std::string_view v) {
        TRDataNode node;
        node.Kind = kKindVideoFolder;
        node.Name = std::string(Field(v, '\1'));
        if (set_.DualLanguageVideos) {
            std::string second;
            if (!Read(second, false)) return false;
            node.Name2 = second.size() > 5 ? second.substr(5) : std::string();
        }
        node.Video = std::make_unique<TTVideoNode>();
        videoFolder_ = &cat_.AddNode(nullptr, Placement::LastRoot, std::move(node));
        return true;
    }

    bool Video(std::string_view v) {
        TRDataNode node;
        node.Kind = kKindVideo;
        node.Name = std::string(Field(v, '\1'));
        node.Video = std::make_unique<TTVideoNode>();
        std::string rec;
        if (!Read(rec, true)) return false;
        std::string_view rest = std::string_view(rec).substr(rec.size() > 4 ? 4 : rec.size());
        node.Path = std::string(Field(rest, '\1'));
        node.Video->Description = std::string(Field(rest, '\1'));
        node.Video->Picture = std::string(Field(rest, '\1'));
        if (set_.DualLanguageVideos) {
            if (!Read(rec, true)) return false;
            rest = std::string_view(rec).substr(rec.size() > 4 ? 4 : rec.size());
            node.Name2 = std::string(Field(rest, '\1'));
            node.Video->Description2 = std::string(Field(rest, '\1'));
        }
        // A video before any video folder stays on the root level.
        cat_.AddNode(videoFolder_, Placement::LastChild, std::move(node));
        return true;
    }

    bool PictureList() {
        set_.PictureListInFile = true;
        static constexpr std::string_view kEnd("\1\2\3#PICList", 11);
        std::string rec;
        while (Read(rec, true)) {
            if (rec == kEnd) return true;
            std::string_view rest = rec;
            TTSlideList slide;
            slide.File = std::string(Field(rest, '\0'));
            slide.Caption = std::string(Field(rest, '\0'));
            if (set_.DualLanguageSlides) slide.Caption2 = std::string(Field(rest, '\0'));
            cat_.slides.push_back(std::move(slide));
            if (rec.empty()) return true;
        }
        return true;  // a truncated record has set the format error already
    }

    // Splits "N=name" (with "\0name2" in two languages) off `rest`; false
    // when the N= does not follow.
    bool Names(std::string_view rest, TRDataNode& node) {
        if (!StartsWith(rest, "N=")) return false;
        rest.remove_prefix(2);
        if (set_.DualLanguageNames) {
            node.Name = std::string(Field(rest, '\0'));
            node.Name2 = std::string(rest);
        } else {
            node.Name = std::string(rest);
        }
        return true;
    }

    void FolderList() {
        std::string rec;
        while (Read(rec, set_.LongFolderRecords)) {
            std::string_view r = rec;
            TRDataNode node;
            if (StartsWith(r, "MF=")) {
                r.remove_prefix(3);
                node.Path = std::string(Field(r, '\0'));
                if (!set_.TwoLevelFolders || !Names(r, node)) continue;
                group_ = &cat_.AddNode(nullptr, Placement::LastRoot, std::move(node));
            } else if (StartsWith(r, "F=")) {
                r.remove_prefix(2);
                node.Path = std::string(Field(r, '\0'));
                if (!Names(r, node)) continue;
                TRDataNode* parent = set_.TwoLevelFolders ? group_ : nullptr;
                folder_ = &cat_.AddNode(parent, Placement::LastChild, std::move(node));
            } else if (StartsWith(r, "FN=")) {
                r.remove_prefix(3);
                const std::string_view file = Field(r, '\0');
                if (!Names(r, node)) continue;
                node.Kind = kKindSong;
                if (set_.TwoLevelFolders && group_) node.Path = group_->Path + '\\';
                if (folder_) node.Path += folder_->Path + '\\';
                node.Path += file;
                cat_.IndexSong(cat_.AddNode(folder_, Placement::LastChild, std::move(node)));
            } else {
                return;
            }
        }
    }

    DescriptionStream in_;
    Catalogue& cat_;
    DiskSettings& set_;
    LoadResult& result_;
    TRDataNode* videoFolder_ = nullptr;
    TRDataNode* group_ = nullptr;
    TRDataNode* folder_ = nullptr;
};

}  // namespace

void ReadRecordForm(std::string_view bytes, Catalogue& catalogue, LoadResult& result) {
    result.packed = false;
    RecordFormReader(bytes, catalogue, result).Run();
}

}  // namespace qlm
