#include "app/page_rules.h"

namespace qlm {

PageClick DecidePageClick(int current, int clicked, int informPages) {
    PageClick c;
    const bool informMenu = clicked == kPageInform && informPages > 1;
    if (clicked == current && !informMenu) {
        c.nothing = true;
        return c;
    }
    if (informMenu) {
        // The page opens from its menu; until a page is chosen nothing else changes.
        c.popupInformMenu = true;
        c.infoButtonsUp = current != kPageInform;
        return c;
    }
    c.showPanels = clicked != kPageInform || informPages == 1;
    c.becomeCurrent = true;
    return c;
}

bool FavoritesPanelLayout::Shown() const {
    int panel = layout_.Find("FavoriPanel");
    return panel >= 0 && layout_.Visible(panel);
}

void FavoritesPanelLayout::Show(bool shown, int width) {
    int panel = layout_.Find("FavoriPanel");
    int splitter = layout_.Find("Splitter2");
    if (panel < 0 || splitter < 0) return;
    // The lists keep filling what the panel leaves, so widening the window
    // widens the tree, not the favourites.
    if (shown && width > 0) layout_.SetSize(panel, width);
    layout_.SetVisible(panel, shown);
    layout_.SetVisible(splitter, shown);
}

int FavoritesPanelLayout::Width() const {
    int panel = layout_.Find("FavoriPanel");
    return panel >= 0 ? layout_.Size(panel) : 0;
}

}  // namespace qlm
