// The packed form: "QLMP", two zero bytes, version major and minor, then keyed
// header fields, pages, the music tree, the video tree and the picture list.
#include "content/description_stream.h"
#include "content/disk_loader.h"
#include "content/packed_format.h"

namespace qlm {
namespace {

bool Bit(uint32_t value, int bit) { return (value >> bit) & 1u; }

// Places node records by their level. Levels are trusted only as far as they
// describe a real tree: a level more than one deeper than the previous record
// has no parent and ends the tree with a format error, and so does a level
// deeper than kMaxNodeLevel.
class LevelPlacer {
public:
    explicit LevelPlacer(Catalogue& c) : cat_(c) {}

    // False for a level that rises by more than one, or past kMaxNodeLevel.
    bool Place(uint16_t level, TRDataNode&& data, TRDataNode*& placed) {
        if (level > kMaxNodeLevel) return false;
        TRDataNode* anchor = nullptr;
        Placement how = Placement::LastRoot;
        if (level == previous_) {
            anchor = current_;
            how = Placement::LastSibling;
        } else if (level == previous_ + 1) {
            anchor = current_;  // no current node yet: the root
            how = Placement::LastChild;
        } else if (level > previous_) {
            return false;
        } else {
            // The last node of that level on the way up, or the root level when
            // the first record started deeper than 0.
            anchor = level < byLevel_.size() ? byLevel_[level] : nullptr;
            how = Placement::LastSibling;
        }
        placed = &cat_.AddNode(anchor, how, std::move(data));
        byLevel_.resize(level + 1u, nullptr);
        byLevel_[level] = placed;
        current_ = placed;
        previous_ = level;
        return true;
    }

private:
    Catalogue& cat_;
    TRDataNode* current_ = nullptr;
    uint32_t previous_ = 0;
    std::vector<TRDataNode*> byLevel_;  // last placed node per level on the current path
};

class PackedReader {
public:
    PackedReader(std::string_view bytes, Catalogue& c, LoadResult& r)
        : bytes_(bytes), in_(bytes, kPackedHeaderSize), cat_(c), set_(c.settings), result_(r) {}

    void Run() {
        result_.packed = true;
        if (bytes_.size() < kPackedHeaderSize || bytes_.substr(0, 6) != kPackedMagic) {
            result_.outcome = LoadOutcome::Loaded;
            result_.formatError = true;
            return;
        }
        result_.versionMajor = static_cast<uint8_t>(bytes_[6]);
        result_.versionMinor = static_cast<uint8_t>(bytes_[7]);
        if (result_.versionMajor * 10 + result_.versionMinor >= kPackedRefusedVersion) {
            result_.outcome = LoadOutcome::NewerVersion;
            return;
        }
        result_.outcome = LoadOutcome::Loaded;
        if (!Header() || !Pages() || !Trees() || !PictureList()) result_.formatError = true;
    }

private:
    bool Header() {
        std::string magic;
        if (!in_.ReadShortRecord(set_.DiskIdentifier) || !in_.ReadShortRecord(set_.DiskTitle) ||
            !in_.ReadKeyedDword(flags_) || !in_.ReadShortRecord(magic))
            return false;
        if (magic != kPackedMagic || !Bit(flags_, kHeaderPackedBit)) return false;
        if (Bit(flags_, kHeaderTagDwordBit)) {
            uint32_t tags;
            if (!in_.ReadKeyedDword(tags)) return false;
            set_.TagFieldsAvailable = static_cast<uint16_t>(tags & 0xFFFF);
            set_.TagFieldsShown = static_cast<uint16_t>(tags >> 16);
        }
        if (!in_.ReadLongRecord(set_.TitlePicture)) return false;
        set_.HasTexts = Bit(flags_, kHeaderHasTexts);
        set_.SlidesEnabled = Bit(flags_, kHeaderSlides);
        set_.VideoListInFile = Bit(flags_, kHeaderVideoList1) && Bit(flags_, kHeaderVideoList2);
        set_.DualLanguageNames = Bit(flags_, kHeaderDualNames);
        set_.DualLanguageVideos = Bit(flags_, kHeaderDualVideos);
        set_.PictureListInFile = Bit(flags_, kHeaderSlides) && Bit(flags_, kHeaderPictureList);
        set_.NumberSongs = Bit(flags_, kHeaderNumberSongs);
        set_.TextsNotSearchable = Bit(flags_, kHeaderTextsNotSearchable);
        set_.TagsInFile = Bit(flags_, kHeaderTagsInFile);
        set_.DualLanguageTexts = Bit(flags_, kHeaderDualTexts);
        if (!in_.ReadKeyedByte(set_.Charset1)) return false;
        if (Bit(flags_, kHeaderSecondCharset)) {
            if (!in_.ReadKeyedByte(set_.Charset2)) return false;
        } else {
            set_.Charset2 = set_.Charset1;
        }
        return in_.ReadKeyedByte(set_.TextCharset);
    }

    bool Pages() {
        uint16_t count;
        if (!in_.ReadKeyedWord(count)) return false;
        for (uint32_t i = 0; i < count; ++i) {
            PageEntry page;
            uint8_t reserved;
            if (!in_.ReadKeyedDword(page.Flags) || !in_.ReadShortRecord(page.Caption) ||
                !in_.ReadShortRecord(page.File) || !in_.ReadKeyedByte(page.Byte) || !in_.ReadKeyedByte(reserved))
                return false;
            cat_.pages.push_back(std::move(page));
        }
        return true;
    }

    bool Trees() {
        uint32_t present;
        if (!in_.ReadKeyedDword(present)) return false;
        if (present && !Tree(false)) return false;
        if (set_.VideoListInFile) {
            if (!in_.ReadKeyedDword(present)) return false;
            if (present && !Tree(true)) return false;
        }
        return true;
    }

    bool Names(uint32_t nf, std::string& name, std::u16string& wide) {
        return Bit(nf, kNodeWideBit) ? in_.ReadWideRecord(wide) : in_.ReadLongRecord(name);
    }

    // Node records up to the end record. False on a malformed or truncated record.
    bool Tree(bool videoMode) {
        LevelPlacer placer(cat_);
        for (;;) {
            uint16_t level;
            uint32_t nf;
            if (!in_.ReadKeyedWord(level) || !in_.ReadKeyedDword(nf)) return false;
            if (videoMode && result_.versionMinor == 0) nf &= ~kVideoIgnoredBits;
            int kindBit = 0;
            while (kindBit < 5 && !Bit(nf, kindBit)) ++kindBit;
            if (kindBit == 5) return false;
            static constexpr uint8_t kKindOfBit[5] = {kKindFolder, kKindSong, kKindTextEntry, kKindTextItem, kKindFolder};
            TRDataNode node;
            node.Kind = kKindOfBit[kindBit];
            node.Flags = nf & kNodeWideNames;
            node.Charset = set_.Charset1;
            if (Bit(nf, kNodeCharsetBit) && !in_.ReadKeyedByte(node.Charset)) return false;
            if (!Names(nf, node.Name, node.WideName)) return false;
            if (level == kEndLevel && nf == kEndFlags && node.Name == kEndName) return true;
            std::string desc1, desc2;
            if (videoMode && !in_.ReadLongRecord(desc1)) return false;
            node.Charset2 = node.Charset;
            if (Bit(nf, kNodeSecondNameBit)) {
                node.Charset2 = set_.Charset2;
                if (Bit(nf, kNodeCharsetBit) && !in_.ReadKeyedByte(node.Charset2)) return false;
                if (!Names(nf, node.Name2, node.WideName2)) return false;
                if (videoMode && !in_.ReadLongRecord(desc2)) return false;
            }
            if (!Body(nf, videoMode, node, desc1, desc2)) return false;
            TRDataNode* placed = nullptr;
            if (!placer.Place(level, std::move(node), placed)) return false;
            if (placed->IsSong()) cat_.IndexSong(*placed);
        }
    }

    bool Body(uint32_t nf, bool videoMode, TRDataNode& node, std::string& desc1, std::string& desc2) {
        switch (node.Kind) {
        case kKindFolder:
        case kKindSong:
            if (!in_.ReadLongRecord(node.Path)) return false;
            break;
        case kKindTextEntry: {
            auto text = std::make_unique<TTTextNode>();
            text->Flags = Bit(nf, kNodeTextLinesBit) ? TTTextNode::kHasLines : 0;
            if (!in_.ReadKeyedWord(text->Count) || !in_.ReadLongRecord(text->Text)) return false;
            if (Bit(nf, kNodeColourOrPrefixBit) && !in_.ReadKeyedDword(text->TextColour)) return false;
            for (uint32_t i = 0; i < text->Count; ++i) {
                if (text->Flags & TTTextNode::kHasLines) {
                    std::string line;
                    if (!in_.ReadLongRecord(line)) return false;
                    text->Lines.push_back(std::move(line));
                } else {
                    uint16_t value;
                    if (!in_.ReadKeyedWord(value)) return false;
                    text->Values.push_back(value);
                }
            }
            node.Text = std::move(text);
            break;
        }
        default: {
            uint32_t v1, v2;
            if (!in_.ReadKeyedDword(v1) || !in_.ReadKeyedDword(v2)) return false;
            node.Value1 = static_cast<int32_t>(v1);
            node.Value2 = static_cast<int32_t>(v2);
            break;
        }
        }
        if (videoMode) {
            if (node.Kind != kKindFolder && node.Kind != kKindSong) return true;
            node.Kind = node.Kind == kKindSong ? kKindVideo : kKindVideoFolder;
            auto video = std::make_unique<TTVideoNode>();
            video->Description = std::move(desc1);
            video->Description2 = std::move(desc2);
            if (!in_.ReadLongRecord(video->Picture)) return false;
            node.Video = std::move(video);
            return true;
        }
        if (node.IsSong() && set_.TagFieldsAvailable) {
            auto tags = std::make_unique<TTTagNode>();
            for (int f = 0; f < kTagFieldCount; ++f) {
                if (!(set_.TagFieldsAvailable & (1u << f))) continue;
                if (!in_.ReadShortRecord(tags->Value(f, false))) return false;
                if (Bit(nf, kNodeSecondNameBit) && !in_.ReadShortRecord(tags->Value(f, true))) return false;
            }
            if (Bit(nf, kNodeColourOrPrefixBit) && !in_.ReadLongRecord(tags->Prefix())) return false;
            node.Tags = std::move(tags);
        }
        return true;
    }

    bool PictureList() {
        if (!set_.PictureListInFile) return true;
        uint32_t present;
        if (!in_.ReadKeyedDword(present)) return false;
        if (!present) return true;
        uint8_t zero;
        uint16_t listFlags;
        if (!in_.ReadKeyedByte(zero)) return false;
        if (zero != 0) return true;
        if (!in_.ReadKeyedWord(listFlags)) return false;
        set_.DualLanguageSlides = listFlags & 1;
        for (;;) {
            TTSlideList slide;
            if (!in_.ReadLongRecord(slide.File)) return false;
            if (slide.File.empty() || slide.File == kEndPictureList) return true;
            if (!in_.ReadLongRecord(slide.Caption)) return false;
            if (set_.DualLanguageSlides && !in_.ReadLongRecord(slide.Caption2)) return false;
            cat_.slides.push_back(std::move(slide));
        }
    }

    std::string_view bytes_;
    DescriptionStream in_;
    Catalogue& cat_;
    DiskSettings& set_;
    LoadResult& result_;
    uint32_t flags_ = 0;
};

}  // namespace

bool IsPackedBytes(std::string_view bytes) {
    if (bytes.size() < kPackedHeaderSize || bytes.substr(0, 6) != kPackedMagic) return false;
    DescriptionStream in(bytes, kPackedHeaderSize);
    std::string skip, magic;
    uint32_t flags;
    return in.ReadShortRecord(skip) && in.ReadShortRecord(skip) && in.ReadKeyedDword(flags) &&
           Bit(flags, kHeaderPackedBit) && in.ReadShortRecord(magic) && magic == kPackedMagic;
}

void ReadPackedForm(std::string_view bytes, Catalogue& catalogue, LoadResult& result) {
    PackedReader(bytes, catalogue, result).Run();
}

}  // namespace qlm
