// The used style of every element: the element's built-in look, then its
// presentational attributes (font, bgcolor, align...), then style sheet
// rules by specificity, then its style attribute.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pages/html/css.h"
#include "pages/html/document.h"

namespace qlm::html {

using Color = uint32_t;  // 0xRRGGBB

struct Length {
    enum Unit : uint8_t { Auto, Px, Percent };
    Unit unit = Auto;
    float value = 0;
    bool IsAuto() const { return unit == Auto; }
    // Pixels against `base` for a percentage; `fallback` when auto.
    int Resolve(int base, int fallback) const;
};

enum class Display : uint8_t { Inline, Block, ListItem, Table, TableRow, TableRowGroup, TableCell, TableCaption, None };
enum class TextAlign : uint8_t { Left, Center, Right, Justify };
enum class VAlign : uint8_t { Baseline, Sub, Super, Top, Middle, Bottom };
enum class ListType : uint8_t { Disc, Circle, Square, Decimal, LowerAlpha, UpperAlpha, LowerRoman, UpperRoman, None };
enum Side { kTop = 0, kRight = 1, kBottom = 2, kLeft = 3 };

struct Style {
    // Inherited.
    int family = 0;  // index into Styles::families
    int fontSize = 16;
    bool bold = false, italic = false, underline = false, strike = false;
    bool pre = false, nowrap = false;
    Color color = 0x000000;
    TextAlign align = TextAlign::Left;
    ListType listType = ListType::Disc;
    int link = -1;  // index into Styles::links when inside <a href>
    // Not inherited.
    Display display = Display::Inline;
    VAlign valign = VAlign::Baseline;
    bool hasBackground = false;
    Color background = 0xFFFFFF;
    int backgroundImage = -1;  // index into Styles::urls
    int margin[4] = {0, 0, 0, 0};
    bool marginAutoLeft = false, marginAutoRight = false;
    int padding[4] = {0, 0, 0, 0};
    int border[4] = {0, 0, 0, 0};
    Color borderColor = 0x808080;
    bool borderInset = false;  // cells of a table with border=N
    Length width, height;
};

struct Styles {
    std::vector<Style> of;  // one per node; a text node has its parent's
    std::vector<std::string> families;  // font-family lists as written ("Verdana, Arial")
    std::vector<std::string> urls;
    std::vector<std::string> links;     // href of each link
    // From <body>: page colours and picture.
    Color pageBackground = 0xFFFFFF;
    int pageBackgroundImage = -1;
    Color linkColor = 0x0000EE;
    Color visitedLinkColor = 0x551A8B;
};

bool ParseColor(std::string_view text, Color& out);
Styles ComputeStyles(const Document& doc);

}  // namespace qlm::html
