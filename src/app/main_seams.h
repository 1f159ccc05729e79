// What the main window's menus, keys and page buttons need from the parts
// built around them (tree, lists, pages, players). Each is a
// plain function the main window fills once that part exists; an empty one
// leaves the matching menu entry greyed or the step undone.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/menu_table.h"

namespace qlm {

struct MainSeams {
    // The tree's node texts again in the active language (RebuildVisibleTree).
    std::function<void()> rebuildVisibleTree;
    // Language versions of the pages, the text window's and the dialogs' texts.
    std::function<void(const std::u16string& languageId)> languageChanged;
    // A page was made visible (slides: realign and fit; announcements: its buttons).
    std::function<void(int page)> pageShown;
    // The slide page is current and the window was resized: fit the slide again.
    std::function<void()> refitSlide;
    // An entry of the information-page menu was chosen (its position).
    std::function<void(int position)> informPageChosen;
    // What lies under the pop-up menu over one of the lists.
    std::function<PopupContext(PopupList)> popupContext;
    // The song-list field entries of both menus before they open.
    std::function<void()> refreshFieldEntries;
    // The play-checked command's enabled state after the favourites panel changed.
    std::function<void()> refreshPlayChecked;
    // The favourites header caption and names in the active language.
    std::function<void()> favoritesLanguage;
    // The video players the video-player menu offers, and the chosen one.
    std::function<std::vector<std::u16string>()> videoPlayers;
    std::function<int()> videoPlayerChosen;
    // Per entry: its program file is there (only those are shown when the menu opens).
    std::function<std::vector<bool>()> videoPlayersShown;
    std::function<void(int position)> videoPlayerChoose;
};

}  // namespace qlm
