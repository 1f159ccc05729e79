// Layout of a parsed page into positioned boxes (a display list) at a given
// width. Window-free: text is measured and pictures are sized through the
// interfaces below, so tests use a fixed metric and the view uses GDI.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "pages/html/document.h"
#include "pages/html/style.h"

namespace qlm::html {

struct FontSpec {
    std::string family;  // the page's list, e.g. "Verdana, Arial, sans-serif"; empty for the default
    int size = 16;       // pixels
    bool bold = false, italic = false, underline = false, strike = false;
    bool operator==(const FontSpec&) const = default;
};

struct FontMetrics {
    int ascent = 0;
    int descent = 0;
};

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // A handle the layout stores in its text items and the painter draws with.
    virtual int OpenFont(const FontSpec& fontSpec) = 0;
    virtual FontMetrics Metrics(int font) = 0;
    virtual int Width(int font, std::u16string_view text) = 0;
};

class ImageSizer {
public:
    virtual ~ImageSizer() = default;
    // The picture's own size; false when it cannot be read.
    virtual bool ImageSize(const std::string& url, int& width, int& height) = 0;
};

enum class ItemKind : uint8_t { Fill, Border, Text, Image, Bullet, BackgroundImage };
enum class BulletShape : uint8_t { Disc, Circle, Square };

struct Item {
    ItemKind kind = ItemKind::Fill;
    int x = 0, y = 0, w = 0, h = 0;  // page pixels
    Color color = 0;
    int font = -1;      // Text: measurer handle
    int link = -1;      // index into LayoutResult::links
    int url = -1;       // Image/BackgroundImage: index into LayoutResult::urls
    int line = -1;      // Text: line number in the page, for copying
    int border[4] = {0, 0, 0, 0};
    bool inset = false;
    bool broken = false;  // Image that cannot be read: box and alt text
    BulletShape bullet = BulletShape::Disc;
    std::u16string text;  // Text, or the alt text of an Image
};

struct LayoutResult {
    std::vector<Item> items;         // in painting order
    std::vector<int> textItems;      // indices of Text items in reading order
    std::vector<std::string> urls;   // pictures
    std::vector<std::string> links;  // link addresses
    std::unordered_map<std::string, int> anchors;  // name or id -> y
    int width = 0, height = 0;       // extent of the page
    Color background = 0xFFFFFF;
    // A link's text in linkColor is painted in visitedLinkColor once its page was visited.
    Color linkColor = 0x0000EE, visitedLinkColor = 0x551A8B;
    int backgroundImage = -1;        // index into urls
    std::u16string title;
};

struct LayoutOptions {
    int viewportWidth = 800;
};

LayoutResult Layout(const Document& doc, const Styles& styles, TextMeasurer& measurer, ImageSizer& images,
                    const LayoutOptions& options);

}  // namespace qlm::html
