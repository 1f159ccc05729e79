#include "app/page_buttons.h"

#include "base/text_codec.h"
#include "content/text_case.h"

namespace qlm {
namespace {

// The caption in upper case without one leading "&", as UTF-16.
std::u16string CaptionKey(const std::string& caption, uint8_t charset) {
    std::u16string text = DecodeText(caption, charset);
    if (!text.empty() && text[0] == u'&') text.erase(0, 1);
    return UpperCase(text);
}

}  // namespace

PageButtons PageButtonsOf(const DiskSettings& settings, bool slidesPresent, const std::vector<PageEntry>& pages) {
    PageButtons b;
    b.text = settings.HasTexts;
    b.slides = settings.SlidesEnabled && slidesPresent;
    for (const PageEntry& page : pages) {
        std::u16string key = CaptionKey(page.Caption, settings.Charset1);
        if (key == u"АНОНС")
            b.anons = true;
        else if (key == u"ПОМОЩЬ")
            b.help = true;
        else
            b.inform = true;
    }
    return b;
}

std::vector<size_t> InformPages(const DiskSettings& settings, const std::vector<PageEntry>& pages) {
    std::vector<size_t> inform;
    for (size_t i = 0; i < pages.size(); ++i) {
        std::u16string key = CaptionKey(pages[i].Caption, settings.Charset1);
        if (key != u"АНОНС" && key != u"ПОМОЩЬ") inform.push_back(i);
    }
    return inform;
}

int MinimumWindowHeight(const PageButtons& buttons) {
    int n = 1 + buttons.VisibleCount();
    return n <= 3 ? 468 : 450 + 57 * (n - 3);
}

}  // namespace qlm
