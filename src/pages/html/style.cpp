#include "pages/html/style.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

#include "pages/html/style_values.h"

namespace qlm::html {
namespace {

using namespace style_detail;

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
            if (const std::string* a = n.Attr("vlink"); a && ParseColor(*a, c)) out_.visitedLinkColor = c;
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

Styles ComputeStyles(const Document& doc) { return Computer(doc).Run(); }

}  // namespace qlm::html
