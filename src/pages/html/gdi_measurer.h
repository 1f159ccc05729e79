// Text measuring for the page layout through GDI, and the fonts the page
// painter draws with. A page's font list ("Verdana, Arial, sans-serif") is
// resolved to the first installed face, else Times New Roman (Arial for
// sans-serif lists), else whatever similar face the system has.
#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "pages/html/layout.h"
#include "win/handles.h"

namespace qlm::html {

class GdiMeasurer : public TextMeasurer {
public:
    GdiMeasurer();
    ~GdiMeasurer() override;
    GdiMeasurer(const GdiMeasurer&) = delete;
    GdiMeasurer& operator=(const GdiMeasurer&) = delete;

    int OpenFont(const FontSpec& fontSpec) override;
    FontMetrics Metrics(int font) override;
    int Width(int font, std::u16string_view text) override;

    HFONT Font(int font) const;
    // The advance of each UTF-16 unit as Width counts it (0 for the second
    // half of a surrogate pair): painting with these keeps text exactly
    // where the layout put it, whatever rounding the system's renderer does.
    void Advances(int font, std::u16string_view text, std::vector<INT>& out);
    // The face a font list resolves to on this system.
    std::wstring FaceFor(const std::string& familyList);

private:
    struct Entry {
        FontSpec fontSpec;
        win::UniqueFont font;
        FontMetrics metrics;
        std::array<int16_t, 0x500> narrow;  // Latin and Cyrillic advances; -1 = not measured yet
        std::unordered_map<char16_t, int> wide;
    };
    void Select(int font);
    template <class F>
    void Walk(int font, std::u16string_view text, F each);
    bool Installed(const std::wstring& face);

    win::UniqueMemoryDc dc_;
    std::vector<std::unique_ptr<Entry>> fonts_;
    std::map<std::pair<std::string, int>, int> byKey_;
    std::unordered_map<std::wstring, bool> installed_;
    std::unordered_map<std::string, std::wstring> faces_;
    int selected_ = -1;
    HGDIOBJ originalFont_ = nullptr;
};

}  // namespace qlm::html
