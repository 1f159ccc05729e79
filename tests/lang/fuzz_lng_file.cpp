// Language files come from anywhere the user copies them: any bytes must load.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lang/page_caption.h"
#include "lang/texts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto texts = qlm::lang::Texts::FromFile(u"x", bytes);
    (void)texts.Text("MainMenu", "Start");
    (void)texts.MinProgramVersion();
    (void)texts.DisplayName(true);
    std::u16string caption(bytes.begin(), bytes.end());
    (void)texts.PageCaption(caption);
    (void)qlm::lang::NormalizePageCaption(caption);
    return 0;
}
