// Pages come from any disk: any bytes must parse and lay out, at any width,
// without overflowing the stack or running away.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "pages/html/page_url.h"
#include "base/text_codec.h"
#include "pages/fake_metrics.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 200000) return 0;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const int width = size > 0 ? 50 + data[0] * 4 : 400;
    const qlm::html::LayoutResult r = qlm::html::testing::LayoutHtml(bytes, width);
    for (const std::string& link : r.links) {
        const qlm::html::Target t = qlm::html::ResolveLink(qlm::Utf8ToUtf16(link), u"C:\\disk\\Text\\page.htm");
        (void)qlm::html::FileUrl(t.path, t.fragment);
    }
    return 0;
}
