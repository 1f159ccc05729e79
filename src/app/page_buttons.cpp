#include "app/page_buttons.h"

#include "base/text_codec.h"
#include "pages/page_entries.h"

namespace qlm {
namespace {

PageKind KindOf(const PageEntry& page, const DiskSettings& settings) {
    return PageKindOf(DecodeText(page.Caption, settings.Charset1));
}

}  // namespace

PageButtons PageButtonsOf(const DiskSettings& settings, bool slidesPresent, const std::vector<PageEntry>& pages) {
    PageButtons b;
    b.text = settings.HasTexts;
    b.slides = settings.SlidesEnabled && slidesPresent;
    for (const PageEntry& page : pages) {
        switch (KindOf(page, settings)) {
            case PageKind::Announcement:
                b.anons = true;
                break;
            case PageKind::Help:
                b.help = true;
                break;
            case PageKind::Information:
                b.inform = true;
                break;
        }
    }
    return b;
}

std::vector<size_t> InformPages(const DiskSettings& settings, const std::vector<PageEntry>& pages) {
    std::vector<size_t> inform;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (KindOf(pages[i], settings) == PageKind::Information) inform.push_back(i);
    }
    return inform;
}

int MinimumWindowHeight(const PageButtons& buttons) {
    int n = 1 + buttons.VisibleCount();
    return n <= 3 ? 468 : 450 + 57 * (n - 3);
}

}  // namespace qlm
