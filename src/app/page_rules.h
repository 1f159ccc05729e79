// The rules of the main window's page buttons and the favourites panel, apart
// from any window: what a click on a page button does, and how the favourites
// panel enters and leaves the layout.
#pragma once

#include "base/align_layout.h"

namespace qlm {

// Page indexes (the page buttons' Tag).
enum Page : int { kPageList = 0, kPageSlides = 1, kPageInform = 2, kPageAnons = 3, kPageHelp = 4, kPageCount = 5 };

struct PageClick {
    bool nothing = false;        // the current page again: no change at all
    bool showPanels = false;     // its page and top-button panels become visible
    bool becomeCurrent = false;  // it becomes the current page, the others are hidden
    bool popupInformMenu = false;  // the information-page menu opens at the button
    bool infoButtonsUp = false;  // InfoBtn and ArrowBtn show their up pictures first
};

// A click on the button of page `clicked` while `current` is shown, with
// `informPages` information pages on the disk.
PageClick DecidePageClick(int current, int clicked, int informPages);

// The favourites panel beside the tree and song list (boxes FavoriPanel,
// Splitter2 and LeftPanel of the layout).
class FavoritesPanelLayout {
public:
    explicit FavoritesPanelLayout(AlignLayout& layout) : layout_(layout) {}
    bool Shown() const;
    // Shows the panel `width` wide, or hides it (its width is kept for the next showing).
    void Show(bool shown, int width);
    // The panel's width while shown (FavoritWidth), else the last one it had.
    int Width() const;

private:
    AlignLayout& layout_;
};

}  // namespace qlm
