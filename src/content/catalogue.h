// The catalogue of one music disk: the node records, the master tree in
// description order, the node list, the song index, pages and slides.
//
// One Catalogue object holds one disk. The shell keeps a single instance and
// replaces its content as a whole at every disk change (LoadDiskDescription
// in content/disk_loader.h releases the old content first). Views (tree,
// song list, favourites) hold TRDataNode pointers or ListIndex values and
// must be emptied before the catalogue is released or reloaded.
//
// Texts: names, tags and paths stay as the file's bytes together with their
// Windows character set; names of nodes with kNodeWideNames are UTF-16.
// Convert only where a text is shown or used as a path (NameText,
// NodeDisplayText, SongFile, ... below, or base/text_codec.h).
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "content/disk_settings.h"

namespace qlm {

// TRDataNode::Kind values.
constexpr uint8_t kKindFolder = 0;
constexpr uint8_t kKindSong = 1;
constexpr uint8_t kKindTextEntry = 2;
constexpr uint8_t kKindTextItem = 3;
constexpr uint8_t kKindVideoFolder = 254;
constexpr uint8_t kKindVideo = 255;

// TRDataNode::Flags bits.
constexpr uint32_t kNodeChecked = 1u << 0;
constexpr uint32_t kNodeWideNames = 1u << 11;

// State images of the tree's state image list.
constexpr uint8_t kStateFolder = 1;
constexpr uint8_t kStateSong = 2;
constexpr uint8_t kStateSongChecked = 3;
constexpr uint8_t kStateVideoFolder = 5;
constexpr uint8_t kStateVideo = 6;

// A song's tag texts: field f of TagField at 2f (first language) and 2f+1
// (second language); kTagPrefix is shown in front of the song's name.
struct TTTagNode {
    static constexpr int kTagPrefix = 10;
    std::array<std::string, 11> Fields;

    std::string& Value(int field, bool second) { return Fields[2 * field + (second ? 1 : 0)]; }
    const std::string& Value(int field, bool second) const { return Fields[2 * field + (second ? 1 : 0)]; }
    std::string& Prefix() { return Fields[kTagPrefix]; }
    const std::string& Prefix() const { return Fields[kTagPrefix]; }
};

// A text entry: its songs (Lines: paths relative to Sound\, or Values:
// positions among the song children of the entry's parent) and its text file.
struct TTTextNode {
    static constexpr uint16_t kHasLines = 1;
    uint16_t Flags = 0;
    uint16_t Count = 0;
    std::vector<std::string> Lines;  // when Flags & kHasLines
    std::vector<uint16_t> Values;    // otherwise
    std::string Text;                // text file relative to the disk root
    uint32_t TextColour = 0;         // Windows COLORREF; 0 = none given
};

struct TTVideoNode {
    std::string Description;
    std::string Description2;
    std::string Picture;  // picture file in the disk's Video folder
};

struct TRDataNode {
    // Names: bytes in Charset / Charset2, or UTF-16 in WideName / WideName2
    // when Flags has kNodeWideNames. Use NameText() to get either as UTF-16.
    std::string Name;
    std::string Name2;
    std::u16string WideName;
    std::u16string WideName2;
    std::string Path;  // song: relative to Sound\; video: to Video\; folder: as written
    uint8_t Kind = kKindFolder;
    // The node's Extra: the one that fits its kind is set (Tags for songs,
    // Text for text entries, Video for both video kinds), the others stay empty.
    std::unique_ptr<TTTagNode> Tags;
    std::unique_ptr<TTTextNode> Text;
    std::unique_ptr<TTVideoNode> Video;
    std::u16string DisplayText;  // written by the visible-tree rebuild
    int32_t Value1 = 0;          // text items only
    int32_t Value2 = 0;
    uint8_t Charset = kCyrillicCharset;
    uint8_t Charset2 = kCyrillicCharset;
    int32_t ListIndex = -1;
    uint32_t Flags = 0;
    uint8_t Expanded = 0;
    uint8_t StateImage = 0;

    // Master-tree links, kept by Catalogue::AddNode.
    TRDataNode* Parent = nullptr;
    std::vector<TRDataNode*> Children;
    int32_t SiblingIndex = 0;  // position among the parent's children (or the roots)
    int32_t Level = 0;         // 0 on the root level

    bool IsSong() const { return Kind == kKindSong; }
    bool IsVideoKind() const { return Kind == kKindVideo || Kind == kKindVideoFolder; }
    bool HasWideNames() const { return (Flags & kNodeWideNames) != 0; }
    // The first- or second-language name as UTF-16, whatever its storage.
    std::u16string NameText(bool second = false) const;
    bool HasName2() const { return HasWideNames() ? !WideName2.empty() : !Name2.empty(); }
};

// Where AddNode puts a new node relative to `relative`.
enum class Placement {
    LastRoot,       // last node of the root level (relative ignored)
    LastChild,      // last child of relative (last root when relative is null)
    LastSibling,    // last child of relative's parent (last root when none)
};

class Catalogue {
public:
    static constexpr uint32_t kSongBuckets = 213;

    Catalogue() = default;
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // Plain data filled by the loader and read by everyone.
    std::u16string root;            // disk root, Windows path with a trailing backslash
    bool secondLanguageActive = false;  // an interface language other than the built-in one is in use
    DiskSettings settings;
    std::vector<PageEntry> pages;
    std::vector<TTSlideList> slides;
    std::vector<uint8_t> slideBytes;  // one per slide, for the slide show

    // --- building
    // Places the node, appends it to the node list, sets ListIndex, Level,
    // the state image, the deepest levels and videos-present. Songs are not
    // filed in the song index here: call IndexSong once Path is final.
    TRDataNode& AddNode(TRDataNode* relative, Placement placement, TRDataNode&& data);
    void IndexSong(TRDataNode& song);
    // Moves the video folders that stand first on the root level, in order, to its end.
    void MoveLeadingVideoFoldersToEnd();
    // The song's tag node, created empty when it has none (for the tag scan).
    TTTagNode& EnsureTags(TRDataNode& song);

    // --- reading
    const std::vector<TRDataNode*>& Roots() const { return roots_; }
    // Children of the node's parent, or the roots.
    const std::vector<TRDataNode*>& Siblings(const TRDataNode& node) const;
    size_t NodeCount() const { return nodes_.size(); }
    // Node list in creation order; null for an index out of range.
    TRDataNode* Node(int32_t listIndex);
    const TRDataNode* Node(int32_t listIndex) const;
    // Calls f(TRDataNode&) for every node in node-list (creation) order.
    template <class F> void ForEachNode(F&& f) { for (auto& n : nodes_) f(n); }
    template <class F> void ForEachNode(F&& f) const { for (const auto& n : nodes_) f(n); }
    // Calls f(TRDataNode&) for every song in tree order (the order songs play in).
    template <class F> void ForEachSong(F&& f) {
        for (TRDataNode* n = FirstInTreeOrder(); n; n = NextInTreeOrder(n))
            if (n->IsSong()) f(*n);
    }
    TRDataNode* FirstInTreeOrder() const { return roots_.empty() ? nullptr : roots_.front(); }
    // Pre-order successor in the master tree; null after the last node.
    TRDataNode* NextInTreeOrder(const TRDataNode* node) const;

    int32_t DeepestFolderLevel() const { return deepestFolderLevel_; }  // -1 when none
    int32_t DeepestLevel() const { return deepestLevel_; }              // -1 when empty
    bool VideosPresent() const { return videosPresent_; }
    bool Empty() const { return nodes_.empty(); }
    // True when some node is not on the root level (book mode can be offered).
    bool HasNestedNodes() const { return deepestLevel_ > 0; }

    // Character set of the tree, song list, favourites list and player fonts.
    uint8_t NameCharset() const { return secondLanguageActive ? settings.Charset2 : settings.Charset1; }
    // Character set of paths and of every 8-bit text that is not a name.
    uint8_t DiskCharset() const { return settings.Charset1; }

    // --- the song index
    // `fullPath`: {root}Sound\ + Path as the player or favourites give it.
    // Compared ignoring case; the first match in its bucket wins.
    TRDataNode* FindSongByPath(std::u16string_view fullPath) const;
    const std::vector<TRDataNode*>& SongBucket(uint32_t bucket) const { return buckets_[bucket % kSongBuckets]; }
    static uint32_t SongBucketOf(std::string_view bareFileName, uint8_t charset);

    // --- paths and texts
    std::u16string SongFile(const TRDataNode& node) const;       // {root}Sound\Path
    std::u16string VideoFile(const TRDataNode& node) const;      // {root}Video\Path
    std::u16string TextEntryFile(const TRDataNode& node) const;  // {root}Text (entries only; else empty)
    std::u16string DiskText(std::string_view bytes) const;      // decoded by DiskCharset()
    std::u16string NodeDisplayText(const TRDataNode& node, bool withPrefix, bool plainName) const;
    // "N. " for the N-th song among its siblings (songs counted only); empty otherwise.
    std::u16string SongOrdinal(const TRDataNode& node) const;

    // Frees every node, the indexes, pages and slides; keeps root and
    // secondLanguageActive. Settings go back to their defaults.
    void Release();

private:
    std::deque<TRDataNode> nodes_;  // the node list; deque keeps addresses stable
    std::vector<TRDataNode*> roots_;
    std::array<std::vector<TRDataNode*>, kSongBuckets> buckets_;
    int32_t deepestFolderLevel_ = -1;
    int32_t deepestLevel_ = -1;
    bool videosPresent_ = false;
};

// Same as catalogue.Release(); named for the shell's shutdown and disk change.
inline void ReleaseCatalogue(Catalogue& catalogue) { catalogue.Release(); }

// System V ELF symbol hash.
uint32_t ElfHash(std::string_view bytes);

}  // namespace qlm
