#include "pages/html/style.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

namespace qlm::html {
namespace {

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string Lower(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && Blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && Blank(s.back())) s.remove_suffix(1);
    return s;
}

// Splits on blanks, keeping "rgb(1, 2, 3)" and quoted names whole.
std::vector<std::string> Tokens(std::string_view s) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (Blank(s[i]) || s[i] == ',')) ++i;
        if (i >= s.size()) break;
        const size_t start = i;
        int paren = 0;
        while (i < s.size() && (paren > 0 || (!Blank(s[i]) && s[i] != ','))) {
            if (s[i] == '(') ++paren;
            if (s[i] == ')') paren = std::max(0, paren - 1);
            ++i;
        }
        out.emplace_back(s.substr(start, i - start));
        if (out.size() > 64) break;
    }
    return out;
}

struct NamedColor {
    const char* name;
    Color value;
};
constexpr NamedColor kColors[] = {
    {"black", 0x000000},   {"silver", 0xC0C0C0},  {"gray", 0x808080},     {"grey", 0x808080},
    {"white", 0xFFFFFF},   {"maroon", 0x800000},  {"red", 0xFF0000},      {"purple", 0x800080},
    {"fuchsia", 0xFF00FF}, {"magenta", 0xFF00FF}, {"green", 0x008000},    {"lime", 0x00FF00},
    {"olive", 0x808000},   {"yellow", 0xFFFF00},  {"navy", 0x000080},     {"blue", 0x0000FF},
    {"teal", 0x008080},    {"aqua", 0x00FFFF},    {"cyan", 0x00FFFF},     {"orange", 0xFFA500},
    {"brown", 0xA52A2A},   {"pink", 0xFFC0CB},    {"gold", 0xFFD700},     {"darkblue", 0x00008B},
    {"darkred", 0x8B0000}, {"darkgreen", 0x006400}, {"darkgray", 0xA9A9A9}, {"darkgrey", 0xA9A9A9},
    {"lightgray", 0xD3D3D3}, {"lightgrey", 0xD3D3D3}, {"lightblue", 0xADD8E6}, {"lightyellow", 0xFFFFE0},
    {"lightgreen", 0x90EE90}, {"beige", 0xF5F5DC}, {"ivory", 0xFFFFF0},  {"khaki", 0xF0E68C},
    {"violet", 0xEE82EE},  {"indigo", 0x4B0082},  {"crimson", 0xDC143C},  {"tomato", 0xFF6347},
    {"coral", 0xFF7F50},   {"salmon", 0xFA8072},  {"wheat", 0xF5DEB3},    {"tan", 0xD2B48C},
    {"steelblue", 0x4682B4}, {"skyblue", 0x87CEEB}, {"royalblue", 0x4169E1}, {"midnightblue", 0x191970},
    {"darkorange", 0xFF8C00}, {"orangered", 0xFF4500}, {"chocolate", 0xD2691E}, {"sienna", 0xA0522D},
    {"darkviolet", 0x9400D3}, {"lavender", 0xE6E6FA}, {"linen", 0xFAF0E6}, {"snow", 0xFFFAFA},
    {"whitesmoke", 0xF5F5F5}, {"gainsboro", 0xDCDCDC}, {"dimgray", 0x696969}, {"dimgrey", 0x696969},
    {"slategray", 0x708090}, {"darkslategray", 0x2F4F4F}, {"seagreen", 0x2E8B57}, {"forestgreen", 0x228B22},
    {"cornflowerblue", 0x6495ED}, {"dodgerblue", 0x1E90FF}, {"deepskyblue", 0x00BFFF}, {"turquoise", 0x40E0D0},
    {"goldenrod", 0xDAA520}, {"firebrick", 0xB22222}, {"olivedrab", 0x6B8E23}, {"aliceblue", 0xF0F8FF},
    {"honeydew", 0xF0FFF0}, {"mintcream", 0xF5FFFA}, {"azure", 0xF0FFFF}, {"cornsilk", 0xFFF8DC},
    {"lemonchiffon", 0xFFFACD}, {"moccasin", 0xFFE4B5}, {"peachpuff", 0xFFDAB9}, {"plum", 0xDDA0DD},
    {"orchid", 0xDA70D6}, {"thistle", 0xD8BFD8}, {"darkkhaki", 0xBDB76B}, {"yellowgreen", 0x9ACD32},
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "12", "12px", "1.5em", "50%", "10pt"... false when it is none of them.
bool ParseLength(std::string_view text, int fontSize, Length& out) {
    text = Trim(text);
    if (text.empty()) return false;
    const std::string t = Lower(text);
    if (t == "auto") {
        out = Length{};
        return true;
    }
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end == t.c_str() || !std::isfinite(v)) return false;
    const std::string unit(Trim(std::string_view(end)));
    double px = v;
    if (unit == "%") {
        out.unit = Length::Percent;
        out.value = static_cast<float>(std::clamp(v, 0.0, 1000.0));
        return true;
    }
    if (unit.empty() || unit == "px") px = v;
    else if (unit == "pt") px = v * 96.0 / 72.0;
    else if (unit == "em") px = v * fontSize;
    else if (unit == "ex") px = v * fontSize / 2.0;
    else if (unit == "in") px = v * 96.0;
    else if (unit == "cm") px = v * 96.0 / 2.54;
    else if (unit == "mm") px = v * 96.0 / 25.4;
    else if (unit == "pc") px = v * 16.0;
    else return false;
    out.unit = Length::Px;
    out.value = static_cast<float>(std::clamp(px, -100000.0, 100000.0));
    return true;
}

int Px(std::string_view text, int fontSize, int fallback) {
    Length l;
    if (!ParseLength(text, fontSize, l) || l.unit != Length::Px) return fallback;
    return static_cast<int>(std::lround(l.value));
}

// An HTML attribute length: "200" or "50%".
bool AttrLength(const std::string* a, Length& out) {
    if (!a) return false;
    Length l;
    if (!ParseLength(*a, 16, l) || l.IsAuto()) return false;
    if (l.unit == Length::Px && l.value < 0) return false;
    out = l;
    return true;
}

int AttrInt(const std::string* a, int fallback) {
    if (!a) return fallback;
    const std::string_view t = Trim(*a);
    if (t.empty()) return fallback;
    char* end = nullptr;
    const std::string s(t);
    const long v = std::strtol(s.c_str(), &end, 10);
    if (end == s.c_str()) return fallback;
    return static_cast<int>(std::clamp<long>(v, -100000, 100000));
}

constexpr int kHtmlFontSizes[8] = {0, 10, 13, 16, 18, 24, 32, 48};

bool ParseFontSize(std::string_view text, int parentSize, int& out) {
    const std::string t = Lower(Trim(text));
    static const std::pair<const char*, int> kWords[] = {
        {"xx-small", 9}, {"x-small", 10}, {"small", 13}, {"medium", 16},
        {"large", 18},   {"x-large", 24}, {"xx-large", 32},
    };
    for (const auto& [w, v] : kWords)
        if (t == w) {
            out = v;
            return true;
        }
    if (t == "smaller") {
        out = std::max(1, parentSize * 5 / 6);
        return true;
    }
    if (t == "larger") {
        out = parentSize * 6 / 5;
        return true;
    }
    Length l;
    if (!ParseLength(t, parentSize, l) || l.IsAuto()) return false;
    const double px = l.unit == Length::Percent ? parentSize * l.value / 100.0 : l.value;
    out = static_cast<int>(std::clamp(std::lround(px), 1L, 400L));
    return true;
}

ListType ListTypeNamed(std::string_view text, bool attribute) {
    const std::string t = attribute ? std::string(Trim(text)) : Lower(Trim(text));
    if (attribute) {
        if (t == "1") return ListType::Decimal;
        if (t == "a") return ListType::LowerAlpha;
        if (t == "A") return ListType::UpperAlpha;
        if (t == "i") return ListType::LowerRoman;
        if (t == "I") return ListType::UpperRoman;
    }
    const std::string l = Lower(t);
    if (l == "disc") return ListType::Disc;
    if (l == "circle") return ListType::Circle;
    if (l == "square") return ListType::Square;
    if (l == "decimal") return ListType::Decimal;
    if (l == "lower-alpha" || l == "lower-latin") return ListType::LowerAlpha;
    if (l == "upper-alpha" || l == "upper-latin") return ListType::UpperAlpha;
    if (l == "lower-roman") return ListType::LowerRoman;
    if (l == "upper-roman") return ListType::UpperRoman;
    if (l == "none") return ListType::None;
    return ListType::Disc;
}

bool IsHeading(const std::string& n) { return n.size() == 2 && n[0] == 'h' && n[1] >= '1' && n[1] <= '6'; }

class Computer {
public:
    explicit Computer(const Document& doc) : doc_(doc) {
        ParseStyleSheet(doc.styleSheets, sheet_);
        families_.emplace("", 0);
        out_.families.push_back("");
    }

    Styles Run() {
        out_.of.resize(doc_.nodes.size());
        Style root;
        out_.of[0] = root;
        out_.of[0].display = Display::Block;
        // Parents come before their children in document order.
        for (size_t i = 1; i < doc_.nodes.size(); ++i) {
            const Node& n = doc_.nodes[i];
            const Style& parent = out_.of[static_cast<size_t>(n.parent)];
            if (n.isText) {
                out_.of[i] = parent;
                continue;
            }
            out_.of[i] = Compute(static_cast<int>(i), n, parent);
        }
        return std::move(out_);
    }

private:
    const Document& doc_;
    StyleSheet sheet_;
    Styles out_;
    std::unordered_map<std::string, int> families_;
    // Border styles per side of the element being computed: a width draws only with a style.
    bool borderStyled_[4] = {};

    int Family(std::string_view f) {
        std::string key(Trim(f));
        auto it = families_.find(key);
        if (it != families_.end()) return it->second;
        const int index = static_cast<int>(out_.families.size());
        out_.families.push_back(key);
        families_.emplace(std::move(key), index);
        return index;
    }
    int Url(std::string_view u) {
        out_.urls.emplace_back(Trim(u));
        return static_cast<int>(out_.urls.size()) - 1;
    }

    Style Compute(int index, const Node& n, const Style& parent) {
        Style s;
        s.family = parent.family;
        s.fontSize = parent.fontSize;
        s.bold = parent.bold;
        s.italic = parent.italic;
        s.underline = parent.underline;
        s.strike = parent.strike;
        s.pre = parent.pre;
        s.nowrap = parent.nowrap;
        s.color = parent.color;
        s.align = parent.align;
        s.listType = parent.listType;
        s.link = parent.link;
        std::fill(std::begin(borderStyled_), std::end(borderStyled_), false);

        Defaults(n, parent, s);
        Attributes(n, parent, s);

        // Rules in cascade order, then the style attribute, then !important ones.
        std::vector<const Rule*> matched;
        for (const Rule& r : sheet_.rules)
            if (Matches(r, doc_, index)) matched.push_back(&r);
        std::stable_sort(matched.begin(), matched.end(), [](const Rule* a, const Rule* b) {
            return a->specificity != b->specificity ? a->specificity < b->specificity : a->order < b->order;
        });
        std::vector<Declaration> inlineDecls;
        if (const std::string* st = n.Attr("style")) inlineDecls = ParseDeclarations(*st);
        for (int important = 0; important < 2; ++important) {
            for (int fontPass = 1; fontPass >= 0; --fontPass) {
                for (const Rule* r : matched)
                    for (const Declaration& d : r->declarations)
                        if (d.important == (important == 1)) Apply(d, parent, s, fontPass == 1);
                for (const Declaration& d : inlineDecls)
                    if (d.important == (important == 1)) Apply(d, parent, s, fontPass == 1);
            }
        }
        for (int side = 0; side < 4; ++side)
            if (!borderStyled_[side]) s.border[side] = 0;
        if (n.name == "body") {
            if (s.hasBackground) out_.pageBackground = s.background;
            if (s.backgroundImage >= 0) out_.pageBackgroundImage = s.backgroundImage;
        }
        return s;
    }

    void SetMargins(Style& s, double topEm, double sideEm) {
        s.margin[kTop] = s.margin[kBottom] = static_cast<int>(std::lround(topEm * s.fontSize));
        s.margin[kLeft] = s.margin[kRight] = static_cast<int>(std::lround(sideEm * s.fontSize));
    }

    void Defaults(const Node& n, const Style& parent, Style& s) {
        const std::string& t = n.name;
        static const char* const kBlocks[] = {
            "html", "body", "div", "p", "dl", "dt", "dd", "blockquote", "pre", "center", "hr", "address", "form",
            "fieldset", "noframes", "menu", "dir", "nav", "section", "article", "header", "footer", "aside", "main",
            "figure", "figcaption", "ul", "ol", "listing", "xmp", "plaintext", "legend", "h1", "h2", "h3", "h4", "h5",
            "h6", "#root"};
        static const char* const kHidden[] = {"head", "title", "script", "style", "meta", "link", "base", "map",
                                              "area", "param", "input", "select", "option", "textarea", "frameset",
                                              "frame", "iframe", "object", "embed", "applet", "noembed", "optgroup",
                                              "datalist", "template", "basefont", "bgsound", "wbr"};
        for (const char* b : kBlocks)
            if (t == b) s.display = Display::Block;
        for (const char* h : kHidden)
            if (t == h) s.display = Display::None;
        if (t == "li") s.display = Display::ListItem;
        else if (t == "table") s.display = Display::Table;
        else if (t == "tr") s.display = Display::TableRow;
        else if (t == "td" || t == "th") s.display = Display::TableCell;
        else if (t == "thead" || t == "tbody" || t == "tfoot") s.display = Display::TableRowGroup;
        else if (t == "caption") s.display = Display::TableCaption;

        if (t == "body") {
            s.margin[0] = s.margin[1] = s.margin[2] = s.margin[3] = 8;
        } else if (t == "p" || t == "dl") {
            SetMargins(s, 1.0, 0);
        } else if (IsHeading(t)) {
            static const double kSize[] = {2.0, 1.5, 1.17, 1.0, 0.83, 0.67};
            static const double kMargin[] = {0.67, 0.83, 1.0, 1.33, 1.67, 2.33};
            const int level = t[1] - '1';
            s.fontSize = std::max(1, static_cast<int>(std::lround(parent.fontSize * kSize[level])));
            s.bold = true;
            SetMargins(s, kMargin[level], 0);
        } else if (t == "ul" || t == "ol" || t == "menu" || t == "dir") {
            const bool nested = parent.display == Display::ListItem || doc_.nodes[n.parent].name == "ul" ||
                                doc_.nodes[n.parent].name == "ol";
            SetMargins(s, nested ? 0 : 1.0, 0);
            s.padding[kLeft] = 40;
            if (t == "ol") {
                s.listType = ListType::Decimal;
            } else {
                int level = 0;  // discs, then circles, then squares as lists nest
                for (int p = n.parent; p >= 0 && level < 3; p = doc_.nodes[p].parent)
                    if (doc_.nodes[p].name == "ul" || doc_.nodes[p].name == "menu" || doc_.nodes[p].name == "dir")
                        ++level;
                s.listType = level == 0 ? ListType::Disc : level == 1 ? ListType::Circle : ListType::Square;
            }
        } else if (t == "dd") {
            s.margin[kLeft] = 40;
        } else if (t == "blockquote") {
            SetMargins(s, 1.0, 0);
            s.margin[kLeft] = s.margin[kRight] = 40;
        } else if (t == "pre" || t == "listing" || t == "xmp" || t == "plaintext") {
            SetMargins(s, 1.0, 0);
            s.pre = true;
            s.family = Family("Courier New");
            s.fontSize = 13;
        } else if (t == "hr") {
            s.margin[kTop] = s.margin[kBottom] = 8;
            s.border[0] = s.border[1] = s.border[2] = s.border[3] = 1;
            std::fill(std::begin(borderStyled_), std::end(borderStyled_), true);
            s.borderColor = 0x808080;
            s.borderInset = true;
            s.marginAutoLeft = s.marginAutoRight = true;
        } else if (t == "center") {
            s.align = TextAlign::Center;
        } else if (t == "b" || t == "strong") {
            s.bold = true;
        } else if (t == "i" || t == "em" || t == "cite" || t == "var" || t == "dfn" || t == "address") {
            s.italic = true;
        } else if (t == "u" || t == "ins") {
            s.underline = true;
        } else if (t == "s" || t == "strike" || t == "del") {
            s.strike = true;
        } else if (t == "sub" || t == "sup") {
            s.valign = t == "sub" ? VAlign::Sub : VAlign::Super;
            s.fontSize = std::max(1, parent.fontSize * 5 / 6);
        } else if (t == "small") {
            s.fontSize = std::max(1, parent.fontSize * 5 / 6);
        } else if (t == "big") {
            s.fontSize = parent.fontSize * 6 / 5;
        } else if (t == "tt" || t == "code" || t == "kbd" || t == "samp") {
            s.family = Family("Courier New");
            s.fontSize = 13;
        } else if (t == "nobr") {
            s.nowrap = true;
        } else if (t == "table") {
            // Old browsers start a table's text afresh: the fonts around it do not reach inside.
            s.fontSize = 16;
            s.bold = s.italic = false;
            s.pre = s.nowrap = false;
            s.align = TextAlign::Left;
        } else if (t == "th") {
            s.bold = true;
            s.align = TextAlign::Center;
        } else if (t == "caption") {
            s.align = TextAlign::Center;
        } else if (t == "a" && n.Attr("href")) {
            s.link = static_cast<int>(out_.links.size());
            out_.links.push_back(*n.Attr("href"));
            s.color = out_.linkColor;
            s.underline = true;
        } else if (t == "img") {
            if (parent.link >= 0 && !n.Attr("border")) {
                s.border[0] = s.border[1] = s.border[2] = s.border[3] = 2;
                std::fill(std::begin(borderStyled_), std::end(borderStyled_), true);
                s.borderColor = out_.linkColor;
            }
        } else if (t == "li") {
            if (doc_.nodes[n.parent].name != "ul" && doc_.nodes[n.parent].name != "ol" && parent.listType == ListType::Disc)
                s.listType = ListType::Disc;
        }
        if (t == "tr" || t == "thead" || t == "tbody" || t == "tfoot") {
            s.valign = parent.display == Display::TableRowGroup ? parent.valign : VAlign::Middle;
        }
        if (t == "td" || t == "th") {
            s.valign = parent.display == Display::TableRow ? parent.valign : VAlign::Middle;
            if (parent.display == Display::TableRow && parent.hasBackground) {
                s.hasBackground = true;
                s.background = parent.background;
            }
            // The table's cellpadding and border reach its cells.
            const Node* table = nullptr;
            for (int p = n.parent, k = 0; p >= 0 && k < 3; p = doc_.nodes[p].parent, ++k)
                if (doc_.nodes[p].name == "table") {
                    table = &doc_.nodes[p];
                    break;
                }
            const int pad = table ? std::clamp(AttrInt(table->Attr("cellpadding"), 1), 0, 1000) : 1;
            s.padding[0] = s.padding[1] = s.padding[2] = s.padding[3] = pad;
            if (table && table->Attr("border") && AttrInt(table->Attr("border"), 1) > 0) {
                s.border[0] = s.border[1] = s.border[2] = s.border[3] = 1;
                std::fill(std::begin(borderStyled_), std::end(borderStyled_), true);
                s.borderInset = true;
                s.borderColor = 0x808080;
            }
        }
    }

    void Attributes(const Node& n, const Style& parent, Style& s) {
        const std::string& t = n.name;
        Color c;
        if (const std::string* a = n.Attr("align")) {
            const std::string v = Lower(Trim(*a));
            if (t == "table" || t == "hr") {
                s.marginAutoLeft = v == "center" || v == "right";
                s.marginAutoRight = v == "center" || v == "left";
                if (t == "hr" && v == "left") s.marginAutoLeft = false;
            } else if (t != "img") {
                if (v == "center" || v == "middle") s.align = TextAlign::Center;
                else if (v == "right") s.align = TextAlign::Right;
                else if (v == "left") s.align = TextAlign::Left;
                else if (v == "justify") s.align = TextAlign::Justify;
            }
        }
        if (const std::string* a = n.Attr("valign")) {
            const std::string v = Lower(Trim(*a));
            if (v == "top") s.valign = VAlign::Top;
            else if (v == "bottom") s.valign = VAlign::Bottom;
            else if (v == "middle" || v == "center") s.valign = VAlign::Middle;
            else if (v == "baseline") s.valign = VAlign::Top;
        }
        if (const std::string* a = n.Attr("bgcolor"); a && ParseColor(*a, c)) {
            s.hasBackground = true;
            s.background = c;
        }
        if (const std::string* a = n.Attr("background"); a && !Trim(*a).empty() &&
            (t == "body" || t == "table" || t == "td" || t == "th" || t == "tr"))
            s.backgroundImage = Url(*a);
        if (t == "table" || t == "td" || t == "th" || t == "img" || t == "hr" || t == "div" || t == "col" ||
            t == "iframe" || t == "p") {
            AttrLength(n.Attr("width"), s.width);
            AttrLength(n.Attr("height"), s.height);
        }
        if (t == "td" || t == "th") {
            if (n.Attr("nowrap")) s.nowrap = true;
        }
        if (t == "table") {
            if (const std::string* b = n.Attr("border")) {
                const int w = std::clamp(AttrInt(b, 1), 0, 100);
                s.border[0] = s.border[1] = s.border[2] = s.border[3] = w;
                std::fill(std::begin(borderStyled_), std::end(borderStyled_), true);
                s.borderColor = 0xA0A0A0;
            }
            if (const std::string* a = n.Attr("bordercolor"); a && ParseColor(*a, c)) s.borderColor = c;
        }
        if (t == "font") {
            if (const std::string* a = n.Attr("face"); a && !Trim(*a).empty()) s.family = Family(*a);
            if (const std::string* a = n.Attr("color"); a && ParseColor(*a, c)) s.color = c;
            if (const std::string* a = n.Attr("size")) {
                const std::string_view v = Trim(*a);
                int size = AttrInt(a, 3);
                if (!v.empty() && (v[0] == '+' || v[0] == '-')) size += 3;
                s.fontSize = kHtmlFontSizes[std::clamp(size, 1, 7)];
            }
        }
        if (t == "body") {
            if (const std::string* a = n.Attr("text"); a && ParseColor(*a, c)) s.color = c;
            if (const std::string* a = n.Attr("link"); a && ParseColor(*a, c)) out_.linkColor = c;
            const int lm = AttrInt(n.Attr("leftmargin"), AttrInt(n.Attr("marginwidth"), -1));
            const int tm = AttrInt(n.Attr("topmargin"), AttrInt(n.Attr("marginheight"), -1));
            if (lm >= 0) s.margin[kLeft] = s.margin[kRight] = std::min(lm, 1000);
            if (tm >= 0) s.margin[kTop] = s.margin[kBottom] = std::min(tm, 1000);
        }
        if ((t == "ul" || t == "ol" || t == "li") && n.Attr("type")) s.listType = ListTypeNamed(*n.Attr("type"), true);
        if (t == "hr") {
            const int size = std::clamp(AttrInt(n.Attr("size"), 2), 1, 100);
            s.height = Length{Length::Px, static_cast<float>(std::max(0, size - 2))};
            if (const std::string* a = n.Attr("color"); a && ParseColor(*a, c)) {
                s.borderColor = c;
                s.hasBackground = true;
                s.background = c;
                s.borderInset = false;
            }
            if (n.Attr("noshade")) {
                s.borderInset = false;
                s.hasBackground = true;
                s.background = s.borderColor;
            }
        }
        if (t == "img") {
            if (const std::string* b = n.Attr("border")) {
                const int w = std::clamp(AttrInt(b, 0), 0, 100);
                s.border[0] = s.border[1] = s.border[2] = s.border[3] = w;
                std::fill(std::begin(borderStyled_), std::end(borderStyled_), true);
                s.borderColor = parent.link >= 0 ? out_.linkColor : s.color;
            }
            const int h = std::clamp(AttrInt(n.Attr("hspace"), 0), 0, 1000);
            const int v = std::clamp(AttrInt(n.Attr("vspace"), 0), 0, 1000);
            s.margin[kLeft] = s.margin[kRight] = h;
            s.margin[kTop] = s.margin[kBottom] = v;
        }
    }

    bool BorderSide(const std::vector<std::string>& tokens, Style& s, int side, const Style& parent) {
        bool styled = false, none = false, widthSet = false;
        int width = 3;
        for (const std::string& tok : tokens) {
            const std::string l = Lower(tok);
            Color c;
            if (l == "none" || l == "hidden") none = true;
            else if (l == "solid" || l == "dotted" || l == "dashed" || l == "double" || l == "groove" ||
                     l == "ridge" || l == "inset" || l == "outset")
                styled = true;
            else if (l == "thin") width = 1, widthSet = true;
            else if (l == "medium") width = 3, widthSet = true;
            else if (l == "thick") width = 5, widthSet = true;
            else if (ParseColor(tok, c)) s.borderColor = c;
            else {
                const int w = Px(tok, s.fontSize, -1);
                if (w >= 0) width = std::min(w, 1000), widthSet = true;
            }
        }
        (void)parent;
        (void)widthSet;
        s.border[side] = none ? 0 : width;
        borderStyled_[side] = styled && !none;
        return true;
    }

    void Edges(std::string_view value, int fontSize, int* edges, bool* autoL = nullptr, bool* autoR = nullptr) {
        const std::vector<std::string> t = Tokens(value);
        if (t.empty()) return;
        int v[4];
        bool isAuto[4];
        for (size_t i = 0; i < 4; ++i) {
            const size_t k = t.size() == 1 ? 0 : t.size() == 2 ? i % 2 : t.size() == 3 ? (i == 3 ? 1 : i) : std::min<size_t>(i, t.size() - 1);
            isAuto[i] = Lower(t[k]) == "auto";
            v[i] = isAuto[i] ? 0 : Px(t[k], fontSize, 0);
        }
        for (int i = 0; i < 4; ++i) edges[i] = std::clamp(v[i], -10000, 10000);
        if (autoL) *autoL = isAuto[kLeft];
        if (autoR) *autoR = isAuto[kRight];
    }

    void Apply(const Declaration& d, const Style& parent, Style& s, bool fontPass) {
        const std::string& p = d.property;
        const std::string v = Lower(d.value);
        const bool isFont = p == "font-size" || p == "font";
        if (isFont != fontPass) return;
        Color c;
        if (p == "font-size") {
            ParseFontSize(d.value, parent.fontSize, s.fontSize);
        } else if (p == "font") {
            // [style] [weight] size[/line-height] family
            const std::vector<std::string> t = Tokens(d.value);
            for (size_t i = 0; i < t.size(); ++i) {
                const std::string l = Lower(t[i]);
                if (l == "italic" || l == "oblique") s.italic = true;
                else if (l == "bold" || l == "bolder" || l == "600" || l == "700" || l == "800" || l == "900") s.bold = true;
                else if (l == "normal") continue;
                else {
                    const std::string size = l.substr(0, l.find('/'));
                    if (ParseFontSize(size, parent.fontSize, s.fontSize)) {
                        const size_t at = d.value.find(t[i]);
                        if (at != std::string::npos && i + 1 < t.size()) {
                            const size_t fam = d.value.find(t[i + 1], at + t[i].size());
                            if (fam != std::string::npos) s.family = Family(d.value.substr(fam));
                        }
                        break;
                    }
                }
            }
        } else if (p == "font-family") {
            s.family = Family(d.value);
        } else if (p == "font-weight") {
            s.bold = v == "bold" || v == "bolder" || (std::atoi(v.c_str()) >= 600);
        } else if (p == "font-style") {
            s.italic = v == "italic" || v == "oblique";
        } else if (p == "text-decoration") {
            s.underline = v.find("underline") != std::string::npos;
            s.strike = v.find("line-through") != std::string::npos;
        } else if (p == "color") {
            if (ParseColor(d.value, c)) s.color = c;
        } else if (p == "background-color") {
            if (v == "transparent") s.hasBackground = false;
            else if (ParseColor(d.value, c)) s.hasBackground = true, s.background = c;
        } else if (p == "background-image" || p == "background") {
            for (const std::string& tok : Tokens(d.value)) {
                const std::string l = Lower(tok);
                if (l.rfind("url(", 0) == 0 && l.back() == ')') {
                    std::string_view u = Trim(std::string_view(tok).substr(4, tok.size() - 5));
                    if (u.size() >= 2 && (u.front() == '"' || u.front() == '\'')) u = u.substr(1, u.size() - 2);
                    s.backgroundImage = Url(u);
                } else if (l == "none") {
                    if (p == "background-image") s.backgroundImage = -1;
                } else if (p == "background") {
                    if (l == "transparent") s.hasBackground = false;
                    else if (ParseColor(tok, c)) s.hasBackground = true, s.background = c;
                }
            }
        } else if (p == "text-align") {
            if (v == "center" || v == "-moz-center" || v == "-webkit-center") s.align = TextAlign::Center;
            else if (v == "right") s.align = TextAlign::Right;
            else if (v == "justify") s.align = TextAlign::Justify;
            else if (v == "left") s.align = TextAlign::Left;
        } else if (p == "margin") {
            Edges(d.value, s.fontSize, s.margin, &s.marginAutoLeft, &s.marginAutoRight);
        } else if (p == "padding") {
            Edges(d.value, s.fontSize, s.padding);
            for (int& e : s.padding) e = std::max(0, e);
        } else if (p.rfind("margin-", 0) == 0 || p.rfind("padding-", 0) == 0) {
            const bool margin = p[0] == 'm';
            const std::string side = p.substr(margin ? 7 : 8);
            const int k = side == "top" ? kTop : side == "right" ? kRight : side == "bottom" ? kBottom : side == "left" ? kLeft : -1;
            if (k < 0) return;
            int px = std::clamp(Px(d.value, s.fontSize, 0), -10000, 10000);
            if (margin) {
                s.margin[k] = px;
                if (k == kLeft) s.marginAutoLeft = v == "auto";
                if (k == kRight) s.marginAutoRight = v == "auto";
            } else {
                s.padding[k] = std::max(0, px);
            }
        } else if (p == "border") {
            const std::vector<std::string> t = Tokens(d.value);
            for (int k = 0; k < 4; ++k) BorderSide(t, s, k, parent);
        } else if (p == "border-top" || p == "border-right" || p == "border-bottom" || p == "border-left") {
            const std::string side = p.substr(7);
            const int k = side == "top" ? kTop : side == "right" ? kRight : side == "bottom" ? kBottom : kLeft;
            BorderSide(Tokens(d.value), s, k, parent);
        } else if (p == "border-width") {
            int e[4] = {s.border[0], s.border[1], s.border[2], s.border[3]};
            Edges(d.value, s.fontSize, e);
            for (int k = 0; k < 4; ++k) s.border[k] = std::clamp(e[k], 0, 1000);
        } else if (p == "border-style") {
            const bool none = v == "none" || v == "hidden";
            for (bool& b : borderStyled_) b = !none;
            if (!none)
                for (int& b : s.border)
                    if (b == 0) b = 3;
        } else if (p == "border-color") {
            const std::vector<std::string> t = Tokens(d.value);
            if (!t.empty() && ParseColor(t[0], c)) s.borderColor = c;
        } else if (p == "width" || p == "height") {
            Length l;
            if (ParseLength(d.value, s.fontSize, l)) (p == "width" ? s.width : s.height) = l;
        } else if (p == "display") {
            if (v == "none") s.display = Display::None;
            else if (v == "block") s.display = Display::Block;
            else if (v == "inline" || v == "inline-block") s.display = Display::Inline;
            else if (v == "list-item") s.display = Display::ListItem;
            else if (v == "table") s.display = Display::Table;
        } else if (p == "white-space") {
            s.pre = v == "pre" || v == "pre-wrap";
            s.nowrap = v == "nowrap" || v == "pre";
        } else if (p == "vertical-align") {
            if (v == "sub") s.valign = VAlign::Sub;
            else if (v == "super") s.valign = VAlign::Super;
            else if (v == "top" || v == "text-top") s.valign = VAlign::Top;
            else if (v == "middle") s.valign = VAlign::Middle;
            else if (v == "bottom" || v == "text-bottom") s.valign = VAlign::Bottom;
            else if (v == "baseline") s.valign = VAlign::Baseline;
        } else if (p == "list-style-type" || p == "list-style") {
            for (const std::string& tok : Tokens(v)) {
                const ListType lt = ListTypeNamed(tok, false);
                if (lt != ListType::Disc || tok == "disc") {
                    s.listType = lt;
                    break;
                }
            }
        }
    }
};

}  // namespace

int Length::Resolve(int base, int fallback) const {
    switch (unit) {
    case Auto: return fallback;
    case Px: return static_cast<int>(std::lround(value));
    case Percent: return static_cast<int>(std::lround(static_cast<double>(base) * value / 100.0));
    }
    return fallback;
}

bool ParseColor(std::string_view text, Color& out) {
    text = Trim(text);
    if (text.empty()) return false;
    const std::string t = Lower(text);
    for (const NamedColor& nc : kColors)
        if (t == nc.name) {
            out = nc.value;
            return true;
        }
    if (t.rfind("rgb(", 0) == 0 && t.back() == ')') {
        int v[3] = {0, 0, 0};
        const std::vector<std::string> parts = Tokens(std::string_view(t).substr(4, t.size() - 5));
        if (parts.size() < 3) return false;
        for (int i = 0; i < 3; ++i) {
            const double x = std::atof(parts[static_cast<size_t>(i)].c_str());
            const bool pct = parts[static_cast<size_t>(i)].back() == '%';
            v[i] = static_cast<int>(std::clamp(pct ? x * 2.55 : x, 0.0, 255.0));
        }
        out = static_cast<Color>((v[0] << 16) | (v[1] << 8) | v[2]);
        return true;
    }
    std::string_view h = t;
    if (h.front() == '#') h.remove_prefix(1);
    else if (h.size() != 6) return false;  // bare "ff0000" in attributes only
    for (char ch : h)
        if (HexDigit(ch) < 0) return false;
    if (h.size() == 3) {
        const int r = HexDigit(h[0]), g = HexDigit(h[1]), b = HexDigit(h[2]);
        out = static_cast<Color>((r * 17 << 16) | (g * 17 << 8) | b * 17);
        return true;
    }
    if (h.size() == 6) {
        out = static_cast<Color>(std::strtoul(std::string(h).c_str(), nullptr, 16));
        return true;
    }
    return false;
}

Styles ComputeStyles(const Document& doc) { return Computer(doc).Run(); }

}  // namespace qlm::html
