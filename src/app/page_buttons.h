// Which page buttons of the left column a disk shows, and the window's
// minimum height that follows from them.
#pragma once

#include <vector>

#include "content/disk_settings.h"

namespace qlm {

struct PageButtons {
    bool text = false;    // TextBtnPanel: the disk has song texts
    bool slides = false;  // BtnSlidePanel
    bool inform = false;  // BtnInformPanel: at least one information page
    bool anons = false;   // BtnAnonsPanel: an announcement page
    bool help = false;    // BtnHelpPanel: a help page
    int VisibleCount() const { return text + slides + inform + anons + help; }
};

// From the disk's switches and its page entries: "Анонс" and "Помощь" (with or
// without "&", any letter case) are the announcement and the help page, every
// other caption an information page.
PageButtons PageButtonsOf(const DiskSettings& settings, bool slidesPresent, const std::vector<PageEntry>& pages);

// Positions in `pages` of the information pages (neither announcement nor help).
std::vector<size_t> InformPages(const DiskSettings& settings, const std::vector<PageEntry>& pages);

// The list button and the visible optional panels count; up to three buttons
// the window may be 468 high, each further one adds 57.
int MinimumWindowHeight(const PageButtons& buttons);

}  // namespace qlm
