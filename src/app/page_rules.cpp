#include "app/page_rules.h"

#include <utility>

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

TextWindowMode ToggledTextWindowMode(TextWindowMode now, bool dockedPlacement) {
    if (now != TextWindowMode::Hidden) return TextWindowMode::Hidden;
    return dockedPlacement ? TextWindowMode::Docked : TextWindowMode::Floating;
}

void BindTextWindowCommands(CommandTable& commands, const TextWindowSeam& seam, std::function<bool()> diskHasTexts,
                            std::function<void()> changed) {
    // The seam is read when a command runs: its owner may fill it after binding.
    const TextWindowSeam* tw = &seam;
    auto mode = [tw] { return tw->mode ? tw->mode() : TextWindowMode::Hidden; };
    auto set = [tw, changed](TextWindowMode m) {
        tw->setMode(m);
        if (changed) changed();
    };
    auto available = [tw] { return tw->setMode != nullptr && tw->mode != nullptr; };
    for (const auto& radio : {std::pair{Cmd::TextWindowNone, TextWindowMode::Hidden},
                              std::pair{Cmd::TextWindowDock, TextWindowMode::Docked},
                              std::pair{Cmd::TextWindowFloat, TextWindowMode::Floating}}) {
        const TextWindowMode m = radio.second;
        commands.Bind(
            radio.first, [set, m] { set(m); }, available, [mode, m] { return mode() == m; });
    }
    commands.Bind(
        Cmd::TextWindowToggle,
        [set, mode, tw] { set(ToggledTextWindowMode(mode(), tw->dockedPlacement && tw->dockedPlacement())); },
        [available, diskHasTexts] { return available() && (!diskHasTexts || diskHasTexts()); });
    commands.Bind(
        Cmd::TextWindowFront, [tw] { tw->bringToFront(); },
        [tw, mode] { return tw->bringToFront != nullptr && mode() != TextWindowMode::Hidden; });
}

}  // namespace qlm
