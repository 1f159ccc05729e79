#include "browse/browse_rules.h"

#include <algorithm>
#include <cmath>

#include "content/genres.h"

namespace qlm::browse {

uint32_t TreeTextColour(const TRDataNode& node, bool selected, bool playing) {
    if (playing) return kPlayingText;
    if (selected) return kSelectedText;
    if (node.Kind == kKindTextEntry) return node.Text ? node.Text->TextColour : kOtherText;
    if (node.Kind == kKindFolder || node.Kind == kKindVideoFolder) return kFolderText;
    return kOtherText;
}

uint32_t ListTextColour(const TRDataNode& node, bool selected, bool playing) {
    if (selected) return playing ? kPlayingText : kSelectedText;
    if (node.Kind == kKindTextEntry) return node.Text ? node.Text->TextColour : kOtherText;
    if (playing) return kPlayingText;
    if (node.Kind == kKindFolder || node.Kind == kKindVideoFolder) return kFolderText;
    return kOtherText;
}

uint8_t StateImageOf(const TRDataNode& node) {
    if (node.IsSong()) return static_cast<uint8_t>(kStateSong + ((node.Flags & kNodeChecked) ? 1 : 0));
    return node.StateImage;
}

bool InExpandBox(const Rect& text, int x, int y) {
    return x >= text.left - 33 && x <= text.left - 20 && y >= text.top + 2 && y <= text.top + 15;
}

const TRDataNode* VisibleProxy(const TRDataNode* playing, const NodeTest& shown, const NodeTest& expanded) {
    if (!playing) return nullptr;
    // The path from the root down to the song.
    std::vector<const TRDataNode*> path;
    for (const TRDataNode* n = playing; n; n = n->Parent) path.push_back(n);
    std::reverse(path.begin(), path.end());
    for (size_t i = 0; i < path.size(); ++i) {
        if (!shown(*path[i])) return i == 0 ? nullptr : path[i - 1];
        if (i + 1 < path.size() && !expanded(*path[i])) return path[i];
    }
    return nullptr;  // the song itself is shown
}

const TRDataNode* ListProxy(const TRDataNode* playing, const TRDataNode* selected) {
    if (!playing || !selected) return nullptr;
    for (const TRDataNode* n = playing; n; n = n->Parent)
        if (n->Parent == selected) return n;
    return nullptr;
}

TipStage ToolTipStage(int cursorX, const Rect& text, int textWidth, int clientWidth) {
    if (cursorX < text.left) return TipStage::LeftOfText;
    return text.left + textWidth > clientWidth ? TipStage::DoesNotFit : TipStage::Fits;
}

Point PlaceToolTip(const Rect& textOnScreen, int cursorY, int cursorHeight, int tipWidth, int tipHeight,
                   const Rect& workArea) {
    Point p{textOnScreen.left, cursorY + cursorHeight};
    if (p.y + tipHeight > workArea.bottom) p.y = cursorY - tipHeight;
    if (p.y < workArea.top) p.y = workArea.top;
    if (p.x + tipWidth > workArea.right) p.x = workArea.right - tipWidth;
    if (p.x < workArea.left) p.x = workArea.left;
    return p;
}

FieldMenuState FieldMenusOf(uint16_t available, uint16_t shown) {
    FieldMenuState s;
    s.visible = available != 0;
    for (int f = 0; f < kTagFieldCount; ++f) {
        bool offered = f != kGenre && (available & (1u << f));
        s.entryVisible[f] = offered;
        s.checked[f] = offered && (shown & (1u << f));
    }
    return s;
}

uint16_t FieldsShownFromChecks(const std::array<bool, 5>& checks, uint16_t available) {
    uint16_t mask = 0;
    for (int f = 0; f < kTagFieldCount; ++f)
        if (checks[f]) mask |= static_cast<uint16_t>(1u << f);
    return mask & available;
}

BookAction BookModeClick(const BookModeState& now, BookEntry clicked, BookModeState& next) {
    next = now;
    if (clicked == now.Checked()) return BookAction::Nothing;
    if (now.on && clicked != BookEntry::None) {
        next.horizontal = clicked == BookEntry::Horizontal;
        return BookAction::SwitchArrangement;
    }
    next.on = clicked != BookEntry::None;
    if (next.on) next.horizontal = clicked == BookEntry::Horizontal;
    return BookAction::Apply;
}

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

int SongsListExtentAfterSwitch(int otherPanelExtent, int listExtent, int panelExtent) {
    if (panelExtent <= 0) return listExtent;
    return RoundHalfEven(static_cast<double>(otherPanelExtent) * listExtent / panelExtent);
}

LeftPanelRects ArrangeLeftPanel(int width, int height, const BookModeState& mode, int listWidth, int listHeight) {
    LeftPanelRects r;
    r.tree = {0, 0, width, height};
    if (!mode.on) return r;
    r.listVisible = true;
    if (mode.horizontal) {
        int h = std::clamp(listHeight, 0, std::max(0, height - kControlBarSize - 10));
        r.list = {0, height - h, width, height};
        r.bar = {0, r.list.top - kControlBarSize, width, r.list.top};
        r.tree = {0, 0, width, r.bar.top};
    } else {
        int w = std::clamp(listWidth, 0, std::max(0, width - kControlBarSize - 10));
        r.list = {width - w, 0, width, height};
        r.bar = {r.list.left - kControlBarSize, 0, r.list.left, height};
        r.tree = {0, 0, r.bar.left, height};
    }
    return r;
}

std::optional<TagWindowFields> TagFieldsFrom(const TId3Tag20* v2, const ID3v1Fields* v1) {
    TagWindowFields f;
    if (v2) {
        f.title = v2->TIT2;
        f.album = v2->TALB;
        f.artist = v2->TPE1;
        f.year = v2->TYER;
        f.comment = v2->COMM;
        f.composer = v2->TCOM;
        f.genre = GenreText(v2->TCON);
        return f;
    }
    if (v1) {
        f.title = v1->Title;
        f.album = v1->Album;
        f.artist = v1->Artist;
        f.year = v1->Year;
        f.comment = v1->Comment;
        f.genre = std::string(GenreName(v1->Genre));
        return f;
    }
    return std::nullopt;
}

bool NeedsScrollBar(std::u16string_view text) {
    int lines = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            ++lines;
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else if (text[i] == u'\n') {
            ++lines;
        }
    }
    return lines >= 3;
}

}  // namespace qlm::browse
