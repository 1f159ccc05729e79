// The browsing rules that need no window: the gate, the box, the markers,
// colours, tips, field menus, book mode and the arrangement, tag fields.
#include <gtest/gtest.h>

#include "browse/browse_rules.h"

using namespace qlm;
using namespace qlm::browse;

namespace {

TRDataNode Data(uint8_t kind) {
    TRDataNode d;
    d.Kind = kind;
    return d;
}

// Root folder A > folder B > song S; root song R.
struct SmallTree {
    Catalogue cat;
    TRDataNode *a, *b, *s, *r;
    SmallTree() {
        a = &cat.AddNode(nullptr, Placement::LastRoot, Data(kKindFolder));
        b = &cat.AddNode(a, Placement::LastChild, Data(kKindFolder));
        s = &cat.AddNode(b, Placement::LastChild, Data(kKindSong));
        r = &cat.AddNode(nullptr, Placement::LastRoot, Data(kKindSong));
    }
};

}  // namespace

TEST(ExpandGate, ClosedBlocksOneUseOnceOpenAllUntilClosed) {
    ExpandGate g;
    EXPECT_FALSE(g.Allow());  // a double click finds the gate closed
    g.Open(1);
    EXPECT_TRUE(g.Allow());
    EXPECT_FALSE(g.Allow());
    g.Open(2);
    EXPECT_TRUE(g.Allow());
    EXPECT_TRUE(g.Allow());
    g.Close();
    EXPECT_FALSE(g.Allow());
}

TEST(ExpandBox, EdgesAreInsideAndOneBeyondIsNot) {
    Rect text{100, 40, 180, 59};
    EXPECT_TRUE(InExpandBox(text, 67, 42));
    EXPECT_TRUE(InExpandBox(text, 80, 55));
    EXPECT_FALSE(InExpandBox(text, 66, 45));
    EXPECT_FALSE(InExpandBox(text, 81, 45));
    EXPECT_FALSE(InExpandBox(text, 70, 41));
    EXPECT_FALSE(InExpandBox(text, 70, 56));
    EXPECT_FALSE(InExpandBox(text, 120, 45));  // on the text itself
}

TEST(PlayingMarkers, VisibleProxyIsTheHighestCollapsedShownAncestor) {
    SmallTree t;
    auto all = [](const TRDataNode&) { return true; };
    bool aOpen = false, bOpen = false;
    auto expanded = [&](const TRDataNode& n) { return (&n == t.a && aOpen) || (&n == t.b && bOpen); };
    EXPECT_EQ(VisibleProxy(t.s, all, expanded), t.a);
    aOpen = true;
    EXPECT_EQ(VisibleProxy(t.s, all, expanded), t.b);
    bOpen = true;
    EXPECT_EQ(VisibleProxy(t.s, all, expanded), nullptr);  // the song shows itself
    EXPECT_EQ(VisibleProxy(t.r, all, expanded), nullptr);
    EXPECT_EQ(VisibleProxy(nullptr, all, expanded), nullptr);
    // Book mode: the song is not in the tree even with every folder open.
    auto foldersOnly = [](const TRDataNode& n) { return !n.IsSong(); };
    EXPECT_EQ(VisibleProxy(t.s, foldersOnly, expanded), t.b);
}

TEST(PlayingMarkers, ListProxyIsTheChildOfTheSelectionOnThePath) {
    SmallTree t;
    EXPECT_EQ(ListProxy(t.s, t.a), t.b);
    EXPECT_EQ(ListProxy(t.s, t.b), t.s);
    EXPECT_EQ(ListProxy(t.s, t.r), nullptr);
    EXPECT_EQ(ListProxy(t.s, t.s), nullptr);
}

TEST(Colours, TreeAndListFollowTheirRules) {
    TRDataNode folder = Data(kKindFolder), song = Data(kKindSong), entry = Data(kKindTextEntry);
    entry.Text = std::make_unique<TTTextNode>();
    entry.Text->TextColour = 0x00AA00;
    EXPECT_EQ(TreeTextColour(song, true, true), kPlayingText);
    EXPECT_EQ(TreeTextColour(song, false, true), kPlayingText);
    EXPECT_EQ(TreeTextColour(folder, true, false), kSelectedText);
    EXPECT_EQ(TreeTextColour(folder, false, false), kFolderText);
    EXPECT_EQ(TreeTextColour(song, false, false), kOtherText);
    EXPECT_EQ(TreeTextColour(entry, false, false), 0x00AA00u);
    EXPECT_EQ(ListTextColour(song, true, true), kPlayingText);
    EXPECT_EQ(ListTextColour(song, true, false), kSelectedText);
    EXPECT_EQ(ListTextColour(entry, false, true), 0x00AA00u);  // the entry's own colour wins
    EXPECT_EQ(StateImageOf(song), kStateSong);
    song.Flags |= kNodeChecked;
    EXPECT_EQ(StateImageOf(song), kStateSongChecked);
}

TEST(ToolTips, StageAndPlacementInsideTheWorkArea) {
    Rect text{40, 20, 120, 39};
    EXPECT_EQ(ToolTipStage(10, text, 300, 200), TipStage::LeftOfText);
    EXPECT_EQ(ToolTipStage(50, text, 160, 200), TipStage::Fits);
    EXPECT_EQ(ToolTipStage(50, text, 161, 200), TipStage::DoesNotFit);
    Rect work{0, 0, 800, 600};
    EXPECT_EQ(PlaceToolTip({100, 200, 180, 219}, 205, 16, 300, 19, work), (Point{100, 221}));
    // No room below: above the cursor.
    EXPECT_EQ(PlaceToolTip({100, 580, 180, 599}, 590, 16, 300, 19, work), (Point{100, 571}));
    // Too wide for the right edge: moved left, never past the left edge.
    EXPECT_EQ(PlaceToolTip({700, 200, 780, 219}, 205, 16, 300, 19, work), (Point{500, 221}));
    EXPECT_EQ(PlaceToolTip({700, 200, 780, 219}, 205, 16, 900, 19, work).x, 0);
}

TEST(FieldMenus, HiddenWithoutTagsAndGenreNeverOffered) {
    FieldMenuState none = FieldMenusOf(0, 0);
    EXPECT_FALSE(none.visible);
    FieldMenuState s = FieldMenusOf(0b11011, 0b11001);
    EXPECT_TRUE(s.visible);
    EXPECT_TRUE(s.entryVisible[kComposer]);
    EXPECT_FALSE(s.entryVisible[kAlbum]);
    EXPECT_FALSE(s.entryVisible[kGenre]);
    EXPECT_TRUE(s.checked[kComposer]);
    EXPECT_FALSE(s.checked[kArtist]);
    EXPECT_TRUE(s.checked[kYear]);
    EXPECT_FALSE(s.checked[kGenre]);
    // A disk that shows Genre loses it once the fields change.
    EXPECT_EQ(FieldsShownFromChecks(s.checked, 0b11011), 0b01001);
    EXPECT_EQ(FieldsShownFromChecks({true, true, true, true, true}, 0b00110), 0b00110);
}

TEST(BookMode, MenuClicksAndTheArrangementSwitch) {
    BookModeState off, next;
    EXPECT_EQ(BookModeClick(off, BookEntry::None, next), BookAction::Nothing);
    EXPECT_EQ(BookModeClick(off, BookEntry::Horizontal, next), BookAction::Apply);
    EXPECT_TRUE(next.on);
    EXPECT_TRUE(next.horizontal);
    BookModeState h{true, true};
    // Vertical while horizontal: book mode stays on, only the list moves.
    EXPECT_EQ(BookModeClick(h, BookEntry::Vertical, next), BookAction::SwitchArrangement);
    EXPECT_TRUE(next.on);
    EXPECT_FALSE(next.horizontal);
    EXPECT_EQ(BookModeClick(h, BookEntry::Horizontal, next), BookAction::Nothing);
    EXPECT_EQ(BookModeClick(h, BookEntry::None, next), BookAction::Apply);
    EXPECT_FALSE(next.on);
}

TEST(BookMode, SizeKeepsItsProportionRoundedHalfToEven) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(2.4), 2);
    EXPECT_EQ(RoundHalfEven(2.6), 3);
    // 300 high panel, list 80 wide of a 200 wide panel: 120 high.
    EXPECT_EQ(SongsListExtentAfterSwitch(300, 80, 200), 120);
    // 101 * 50 / 20 = 252.5 -> 252; 103 * 50 / 20 = 257.5 -> 258.
    EXPECT_EQ(SongsListExtentAfterSwitch(101, 50, 20), 252);
    EXPECT_EQ(SongsListExtentAfterSwitch(103, 50, 20), 258);
    EXPECT_EQ(SongsListExtentAfterSwitch(100, 50, 0), 50);
}

TEST(BookMode, LeftPanelArrangements) {
    LeftPanelRects off = ArrangeLeftPanel(300, 200, {false, false}, 80, 140);
    EXPECT_FALSE(off.listVisible);
    EXPECT_EQ(off.tree.Width(), 300);
    LeftPanelRects v = ArrangeLeftPanel(300, 200, {true, false}, 80, 140);
    EXPECT_EQ(v.list.left, 220);
    EXPECT_EQ(v.bar.right, 220);
    EXPECT_EQ(v.tree.right, 216);
    EXPECT_EQ(v.list.Height(), 200);
    LeftPanelRects h = ArrangeLeftPanel(300, 200, {true, true}, 80, 140);
    EXPECT_EQ(h.list.top, 60);
    EXPECT_EQ(h.tree.bottom, 56);
    // A list too big for the panel leaves the tree 10 pixels.
    LeftPanelRects big = ArrangeLeftPanel(300, 200, {true, true}, 80, 500);
    EXPECT_EQ(big.tree.bottom, 10);
}

TEST(TagWindow, Id3v2FirstThenId3v1ThenNothing) {
    TId3Tag20 v2;
    v2.TIT2 = "Title";
    v2.TCON = "(13)";
    v2.TCOM = "Writer";
    ID3v1Fields v1;
    v1.Title = "Old";
    v1.Genre = 255;
    auto a = TagFieldsFrom(&v2, &v1);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->title, "Title");
    EXPECT_EQ(a->genre, "Pop");
    EXPECT_EQ(a->composer, "Writer");
    auto b = TagFieldsFrom(nullptr, &v1);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->title, "Old");
    EXPECT_EQ(b->genre, "");
    EXPECT_EQ(b->composer, "");
    v1.Genre = 17;
    EXPECT_EQ(TagFieldsFrom(nullptr, &v1)->genre, "Rock");
    EXPECT_FALSE(TagFieldsFrom(nullptr, nullptr));
}

TEST(TagWindow, ScrollBarFromThreeLines) {
    EXPECT_FALSE(NeedsScrollBar(u""));
    EXPECT_FALSE(NeedsScrollBar(u"one\r\ntwo"));
    EXPECT_TRUE(NeedsScrollBar(u"one\r\ntwo\r\nthree"));
    EXPECT_TRUE(NeedsScrollBar(u"a\nb\nc"));
    EXPECT_FALSE(NeedsScrollBar(u"a\r\n"));
}
