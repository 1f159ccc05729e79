#include "content/catalogue.h"

#include <algorithm>

#include "content/text_case.h"

namespace qlm {

std::u16string TRDataNode::NameText(bool second) const {
    if (HasWideNames()) return second ? WideName2 : WideName;
    return second ? DecodeText(Name2, Charset2) : DecodeText(Name, Charset);
}

uint32_t ElfHash(std::string_view bytes) {
    uint32_t h = 0;
    for (char c : bytes) {
        h = (h << 4) + static_cast<unsigned char>(c);
        const uint32_t g = h & 0xF0000000u;
        if (g) h ^= g >> 24;
        h &= ~g;
    }
    return h;
}

namespace {

template <class S>
S BareFileName(const S& path) {
    const auto slash = path.find_last_of(typename S::value_type('\\'));
    const auto fwd = path.find_last_of(typename S::value_type('/'));
    size_t cut = S::npos;
    if (slash != S::npos) cut = slash;
    if (fwd != S::npos && (cut == S::npos || fwd > cut)) cut = fwd;
    return cut == S::npos ? path : path.substr(cut + 1);
}

uint8_t StateImageOf(uint8_t kind) {
    switch (kind) {
    case kKindFolder: return kStateFolder;
    case kKindSong: return kStateSong;
    case kKindVideoFolder: return kStateVideoFolder;
    case kKindVideo: return kStateVideo;
    default: return 0;
    }
}

}  // namespace

uint32_t Catalogue::SongBucketOf(std::string_view bareFileName, uint8_t charset) {
    return ElfHash(UpperCaseBytes(bareFileName, charset)) % kSongBuckets;
}

TRDataNode& Catalogue::AddNode(TRDataNode* relative, Placement placement, TRDataNode&& data) {
    TRDataNode* parent = nullptr;
    switch (placement) {
    case Placement::LastRoot: break;
    case Placement::LastChild: parent = relative; break;
    case Placement::LastSibling: parent = relative ? relative->Parent : nullptr; break;
    }
    TRDataNode& node = nodes_.emplace_back(std::move(data));
    node.Children.clear();
    node.Parent = parent;
    node.ListIndex = static_cast<int32_t>(nodes_.size() - 1);
    node.Level = parent ? parent->Level + 1 : 0;
    node.StateImage = StateImageOf(node.Kind);
    auto& siblings = parent ? parent->Children : roots_;
    node.SiblingIndex = static_cast<int32_t>(siblings.size());
    siblings.push_back(&node);
    deepestLevel_ = std::max(deepestLevel_, node.Level);
    if (node.Kind == kKindFolder || node.Kind == kKindSong)
        deepestFolderLevel_ = std::max(deepestFolderLevel_, node.Level);
    if (node.Kind == kKindVideo) videosPresent_ = true;
    return node;
}

void Catalogue::IndexSong(TRDataNode& song) {
    buckets_[SongBucketOf(BareFileName(song.Path), DiskCharset())].push_back(&song);
}

void Catalogue::MoveLeadingVideoFoldersToEnd() {
    auto firstOther = std::find_if(roots_.begin(), roots_.end(),
                                   [](const TRDataNode* n) { return n->Kind != kKindVideoFolder; });
    std::rotate(roots_.begin(), firstOther, roots_.end());
    for (size_t i = 0; i < roots_.size(); ++i) roots_[i]->SiblingIndex = static_cast<int32_t>(i);
}

TTTagNode& Catalogue::EnsureTags(TRDataNode& song) {
    if (!song.Tags) song.Tags = std::make_unique<TTTagNode>();
    return *song.Tags;
}

const std::vector<TRDataNode*>& Catalogue::Siblings(const TRDataNode& node) const {
    return node.Parent ? node.Parent->Children : roots_;
}

TRDataNode* Catalogue::Node(int32_t listIndex) {
    if (listIndex < 0 || static_cast<size_t>(listIndex) >= nodes_.size()) return nullptr;
    return &nodes_[static_cast<size_t>(listIndex)];
}

const TRDataNode* Catalogue::Node(int32_t listIndex) const {
    if (listIndex < 0 || static_cast<size_t>(listIndex) >= nodes_.size()) return nullptr;
    return &nodes_[static_cast<size_t>(listIndex)];
}

TRDataNode* Catalogue::NextInTreeOrder(const TRDataNode* node) const {
    if (!node) return nullptr;
    if (!node->Children.empty()) return node->Children.front();
    // Up until a node that has a next sibling.
    for (const TRDataNode* n = node; n; n = n->Parent) {
        const auto& sib = Siblings(*n);
        if (static_cast<size_t>(n->SiblingIndex) + 1 < sib.size()) return sib[n->SiblingIndex + 1];
    }
    return nullptr;
}

TRDataNode* Catalogue::FindSongByPath(std::u16string_view fullPath) const {
    const std::u16string bare = BareFileName(std::u16string(fullPath));
    const auto& bucket = buckets_[SongBucketOf(EncodeText(bare, DiskCharset()), DiskCharset())];
    for (TRDataNode* song : bucket)
        if (EqualsIgnoringCase(SongFile(*song), fullPath)) return song;
    return nullptr;
}

std::u16string Catalogue::SongFile(const TRDataNode& node) const {
    return root + u"Sound\\" + DiskText(node.Path);
}

std::u16string Catalogue::VideoFile(const TRDataNode& node) const {
    return root + u"Video\\" + DiskText(node.Path);
}

std::u16string Catalogue::TextEntryFile(const TRDataNode& node) const {
    if (!node.Text) return {};
    return root + DiskText(node.Text->Text);
}

std::u16string Catalogue::DiskText(std::string_view bytes) const {
    return DecodeText(bytes, DiskCharset());
}

std::u16string Catalogue::SongOrdinal(const TRDataNode& node) const {
    if (!node.IsSong()) return {};
    const auto& sib = Siblings(node);
    int n = 0;
    for (int32_t i = 0; i <= node.SiblingIndex && static_cast<size_t>(i) < sib.size(); ++i)
        if (sib[i]->IsSong()) ++n;
    std::u16string out;
    for (char c : std::to_string(n)) out.push_back(static_cast<char16_t>(c));
    return out + u". ";
}

std::u16string Catalogue::NodeDisplayText(const TRDataNode& node, bool withPrefix, bool plainName) const {
    const bool dual = node.IsVideoKind() ? settings.DualLanguageVideos : settings.DualLanguageNames;
    const bool second = secondLanguageActive && dual && node.HasName2();
    std::u16string text = node.NameText(second);
    if (node.IsSong() && node.Tags && !plainName) {
        const bool secondTags = secondLanguageActive && settings.DualLanguageNames;
        const uint8_t cs = secondTags ? node.Charset2 : node.Charset;
        for (int f = 0; f < kTagFieldCount; ++f) {
            if (!(settings.TagFieldsShown & (1u << f))) continue;
            const std::string& v = node.Tags->Value(f, secondTags);
            if (v.empty()) continue;
            const std::u16string value = DecodeText(v, cs);
            switch (f) {
            case kArtist: text += u" / " + value; break;
            case kAlbum: text += u" / \"" + value + u"\""; break;
            default: text += u" (" + value + u")"; break;
            }
        }
        if (withPrefix) text = DecodeText(node.Tags->Prefix(), node.Charset) + text;
    }
    if (node.IsSong() && settings.NumberSongs && !plainName) text = SongOrdinal(node) + text;
    return text;
}

void Catalogue::Release() {
    nodes_.clear();
    roots_.clear();
    for (auto& b : buckets_) std::vector<TRDataNode*>().swap(b);
    deepestFolderLevel_ = -1;
    deepestLevel_ = -1;
    videosPresent_ = false;
    settings = DiskSettings{};
    pages.clear();
    slides.clear();
    slideBytes.clear();
}

}  // namespace qlm
