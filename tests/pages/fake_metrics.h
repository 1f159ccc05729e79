// A text metric that needs no fonts: every character is half the font size
// wide (one pixel more when bold), ascent 4/5 and descent 1/5 of the size.
#pragma once

#include <cstdio>
#include <map>
#include <string>

#include "pages/html/layout.h"

namespace qlm::html::testing {

class FakeMeasurer : public TextMeasurer {
public:
    std::vector<FontSpec> fonts;
    int OpenFont(const FontSpec& fontSpec) override {
        for (size_t i = 0; i < fonts.size(); ++i)
            if (fonts[i] == fontSpec) return static_cast<int>(i);
        fonts.push_back(fontSpec);
        return static_cast<int>(fonts.size()) - 1;
    }
    FontMetrics Metrics(int font) override {
        const int size = fonts.at(static_cast<size_t>(font)).size;
        return {size * 4 / 5, size - size * 4 / 5};
    }
    int Width(int font, std::u16string_view text) override {
        const FontSpec& f = fonts.at(static_cast<size_t>(font));
        return static_cast<int>(text.size()) * (f.size / 2 + (f.bold ? 1 : 0));
    }
};

// Pictures named "WxH.gif" have that size; anything else cannot be read.
class FakeImages : public ImageSizer {
public:
    bool ImageSize(const std::string& url, int& w, int& h) override {
        return std::sscanf(url.c_str(), "%dx%d.gif", &w, &h) == 2;
    }
};

inline LayoutResult LayoutHtml(std::string_view html, int width = 400) {
    FakeMeasurer m;
    FakeImages images;
    const Document doc = ParseDocument(html);
    const Styles styles = ComputeStyles(doc);
    return Layout(doc, styles, m, images, LayoutOptions{width});
}

}  // namespace qlm::html::testing
