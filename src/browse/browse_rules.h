// The window-free rules of catalogue browsing: the expand gate, the expand
// box, the playing-song markers, the colours of tree and list rows, the
// tool-tip stage and placement, the field menus, book mode and the song
// list's arrangement, and the tag window's fields.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "content/catalogue.h"
#include "content/id3v1.h"
#include "content/id3v2.h"

namespace qlm::browse {

// ---- colours (COLORREF byte order: 0x00BBGGRR)
constexpr uint32_t kTreeBackground = 0xE2E2E2;
constexpr uint32_t kSelectionBackground = 0x800000;  // navy
constexpr uint32_t kPlayingText = 0x0000FF;          // red
constexpr uint32_t kSelectedText = 0xFFFFFF;
constexpr uint32_t kFolderText = 0x000000;
constexpr uint32_t kOtherText = 0x747474;
constexpr uint32_t kLineColour = 0x808080;
constexpr int kTreeIndent = 19;

// Text colour of a tree item.
uint32_t TreeTextColour(const TRDataNode& node, bool selected, bool playing);
// Text colour of a song-list row (the selected playing row stays red too).
uint32_t ListTextColour(const TRDataNode& node, bool selected, bool playing);
// State image of a node in the tree and the list: a song's shows its check.
uint8_t StateImageOf(const TRDataNode& node);
// Text entries are drawn 16 pixels further right.
inline int TextShift(const TRDataNode& node) { return node.Kind == kKindTextEntry ? 16 : 0; }
// Nodes the tree keeps in book mode, where the songs go to the song list.
inline bool KeptInBook(const TRDataNode& n) {
    return n.Level == 0 || n.Kind == kKindFolder || n.Kind == kKindVideoFolder;
}

// ---- the expand gate: 0 blocks, 1 lets the next change through, 2 lets all through.
class ExpandGate {
public:
    void Open(int value) { value_ = value; }
    void Close() { value_ = 0; }
    int Value() const { return value_; }
    // Asked by the control before every expand or collapse.
    bool Allow() {
        if (value_ == 0) return false;
        if (value_ == 1) value_ = 0;
        return true;
    }

private:
    int value_ = 0;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// The expand box a click toggles, relative to the item's text rectangle.
bool InExpandBox(const Rect& text, int x, int y);

// ---- playing markers
// `shown(n)`: n is an item of the visible tree; `expanded(n)`: its children are shown.
using NodeTest = std::function<bool(const TRDataNode&)>;
// The nearest ancestor of `playing` whose children are shown while the song
// itself is not: the highest shown ancestor that is collapsed (or whose child
// on the path is not in the tree, as in book mode). Null when the song itself
// is shown or nothing plays.
const TRDataNode* VisibleProxy(const TRDataNode* playing, const NodeTest& shown, const NodeTest& expanded);
// The ancestor of `playing` (or the song itself) that is a child of `selected`.
const TRDataNode* ListProxy(const TRDataNode* playing, const TRDataNode* selected);

// ---- tool tips
enum class TipStage { None = -1, LeftOfText = 0, Fits = 1, DoesNotFit = 2 };
// Stage of the tip for the node under the cursor: `textWidth` is the measured
// caption, `clientWidth` the tree's client width.
TipStage ToolTipStage(int cursorX, const Rect& text, int textWidth, int clientWidth);
// Top-left of the tip window in screen coordinates: over the node's text,
// below the cursor when the work area has room, above otherwise, moved left
// (and right) to stay within the work area.
struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};
Point PlaceToolTip(const Rect& textOnScreen, int cursorY, int cursorHeight, int tipWidth, int tipHeight,
                   const Rect& workArea);

// ---- field menus
struct FieldMenuState {
    bool visible = false;                  // the submenu (and its separator)
    std::array<bool, 5> entryVisible{};    // Composer, Artist, Album, Year, Genre
    std::array<bool, 5> checked{};
};
// From the disk's TagFieldsAvailable and TagFieldsShown; Genre is never shown.
FieldMenuState FieldMenusOf(uint16_t available, uint16_t shown);
// TagFieldsShown from the menu checks, limited to what the disk has.
uint16_t FieldsShownFromChecks(const std::array<bool, 5>& checks, uint16_t available);

// ---- book mode
enum class BookEntry { None, Vertical, Horizontal };
struct BookModeState {
    bool on = false;
    bool horizontal = false;
    BookEntry Checked() const { return on ? (horizontal ? BookEntry::Horizontal : BookEntry::Vertical) : BookEntry::None; }
};
enum class BookAction { Nothing, SwitchArrangement, Apply };
// What a click on a book-mode entry does; `next` is the state afterwards.
BookAction BookModeClick(const BookModeState& now, BookEntry clicked, BookModeState& next);

// Rounded to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double value);
// The song list's extent in the new arrangement keeping its proportion:
// otherPanelExtent * listExtent / panelExtent (a panel of 0 gives listExtent).
int SongsListExtentAfterSwitch(int otherPanelExtent, int listExtent, int panelExtent);

// The left panel's children: tree, splitter bar and song list.
struct LeftPanelRects {
    Rect tree, bar, list;
    bool listVisible = false;
};
constexpr int kControlBarSize = 4;
// The list keeps its extent, but never more than leaves 10 pixels of the tree.
LeftPanelRects ArrangeLeftPanel(int width, int height, const BookModeState& mode, int listWidth, int listHeight);

// ---- tag window
struct TagWindowFields {
    std::string title, artist, album, year, genre, comment, composer;
};
// From an ID3v2.3 tag when there is one, else from an ID3v1 tag, else nothing.
std::optional<TagWindowFields> TagFieldsFrom(const TId3Tag20* v2, const ID3v1Fields* v1);
// A multi-line field gets a vertical scroll bar from three lines on.
bool NeedsScrollBar(std::u16string_view text);

}  // namespace qlm::browse
