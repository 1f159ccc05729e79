#include "pages/html/layout.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>

#include "base/text_codec.h"

namespace qlm::html {
namespace {

constexpr int kMaxColumns = 2000;
constexpr int kMaxSpan = 1000;

bool IsSpace(char16_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

int AttrInt(const Node& n, const char* name, int fallback) {
    const std::string* a = n.Attr(name);
    if (!a) return fallback;
    char* end = nullptr;
    const long v = std::strtol(a->c_str(), &end, 10);
    if (end == a->c_str()) return fallback;
    return static_cast<int>(std::clamp<long>(v, -1000000, 1000000));
}

std::u16string Roman(int n, bool upper) {
    static const std::pair<int, const char*> kParts[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"},
                                                        {100, "c"},  {90, "xc"},  {50, "l"},  {40, "xl"},
                                                        {10, "x"},   {9, "ix"},   {5, "v"},   {4, "iv"}, {1, "i"}};
    std::u16string r;
    if (n <= 0 || n > 3999) return u"0";
    for (const auto& [v, s] : kParts)
        while (n >= v) {
            for (const char* c = s; *c; ++c) r.push_back(static_cast<char16_t>(upper ? *c - 'a' + 'A' : *c));
            n -= v;
        }
    return r;
}

std::u16string Alpha(int n, bool upper) {
    std::u16string r;
    if (n <= 0) return u"0";
    while (n > 0 && r.size() < 8) {
        --n;
        r.insert(r.begin(), static_cast<char16_t>((upper ? 'A' : 'a') + n % 26));
        n /= 26;
    }
    return r;
}

std::u16string Number(int n) {
    const std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
}

struct Marker {
    bool pending = false;
    ListType type = ListType::Disc;
    int number = 1;
    const Style* style = nullptr;
};

// Vertical position in a block flow, with the bottom margin not yet used
// (sibling margins collapse into the larger one).
struct Flow {
    int y = 0;
    int margin = 0;
    bool cellTop = false;  // at the top of a table cell: margins are dropped there
    void Resolve() {
        if (!cellTop) y += margin;
        margin = 0;
        cellTop = false;
    }
};

class Engine {
public:
    Engine(const Document& doc, const Styles& styles, TextMeasurer& m, ImageSizer& images)
        : doc_(doc), styles_(styles), m_(m), images_(images), minMax_(doc.nodes.size(), {-1, -1}) {}

    LayoutResult Run(const LayoutOptions& options) {
        out_.links = styles_.links;
        out_.title = doc_.title;
        out_.background = styles_.pageBackground;
        if (styles_.pageBackgroundImage >= 0) out_.backgroundImage = Url(styles_.urls[static_cast<size_t>(styles_.pageBackgroundImage)]);
        const int width = std::max(1, options.viewportWidth);
        Flow flow;
        Container root;
        root.width = width;
        root.style = &styles_.of[0];
        Children(0, root, flow);
        EndLines(root, flow);
        flow.Resolve();
        out_.height = std::max(out_.height, flow.y);
        for (const Item& it : out_.items) {
            out_.width = std::max(out_.width, it.x + it.w);
            out_.height = std::max(out_.height, it.y + it.h);
        }
        return std::move(out_);
    }

private:
    struct Piece {
        enum Kind : uint8_t { Text, Space, Image } kind = Text;
        int width = 0;
        int ascent = 0, descent = 0;
        int font = -1;
        const Style* style = nullptr;
        std::u16string text;
        int node = -1;  // Image: the element
        int imgW = 0, imgH = 0;
        bool broken = false;
    };

    struct Container {
        int x = 0;
        int width = 0;
        const Style* style = nullptr;
        std::vector<Piece> line;
        int lineWidth = 0;
        bool pendingSpace = false;
        Piece space;
        Marker* marker = nullptr;  // the list item's marker until its first line
        int emptyLineHeight = 0;   // a <br> on an empty line
    };

    const Document& doc_;
    const Styles& styles_;
    TextMeasurer& m_;
    ImageSizer& images_;
    LayoutResult out_;
    std::vector<std::pair<FontSpec, int>> fonts_;
    std::map<std::pair<int, int>, int> fontOfStyle_;  // (family, size + flags) -> handle
    std::vector<FontMetrics> metrics_;
    std::vector<int> spaceWidth_;
    std::vector<std::pair<int, int>> minMax_;
    std::unordered_map<std::string, int> urlIndex_;
    std::unordered_map<std::string, std::pair<int, int>> imageSizes_;
    int lineNo_ = 0;

    const Style& S(int node) const { return styles_.of[static_cast<size_t>(node)]; }

    int Url(const std::string& u) {
        auto it = urlIndex_.find(u);
        if (it != urlIndex_.end()) return it->second;
        const int i = static_cast<int>(out_.urls.size());
        out_.urls.push_back(u);
        urlIndex_.emplace(u, i);
        return i;
    }

    int Font(const Style& s) {
        const int flags = (s.fontSize << 4) | (s.bold ? 1 : 0) | (s.italic ? 2 : 0) | (s.underline ? 4 : 0) |
                          (s.strike ? 8 : 0);
        const auto key = std::make_pair(s.family, flags);
        auto it = fontOfStyle_.find(key);
        if (it != fontOfStyle_.end()) return it->second;
        FontSpec fontSpec;
        fontSpec.family = styles_.families[static_cast<size_t>(s.family)];
        fontSpec.size = s.fontSize;
        fontSpec.bold = s.bold;
        fontSpec.italic = s.italic;
        fontSpec.underline = s.underline;
        fontSpec.strike = s.strike;
        const int handle = m_.OpenFont(fontSpec);
        if (handle >= static_cast<int>(metrics_.size())) {
            metrics_.resize(static_cast<size_t>(handle) + 1);
            spaceWidth_.resize(static_cast<size_t>(handle) + 1, -1);
        }
        if (handle >= 0) {
            metrics_[static_cast<size_t>(handle)] = m_.Metrics(handle);
            spaceWidth_[static_cast<size_t>(handle)] = m_.Width(handle, u" ");
        }
        fontOfStyle_.emplace(key, handle);
        return handle;
    }
    FontMetrics Metrics(int font) const {
        return font >= 0 && font < static_cast<int>(metrics_.size()) ? metrics_[static_cast<size_t>(font)] : FontMetrics{};
    }
    int SpaceWidth(int font) const {
        return font >= 0 && font < static_cast<int>(spaceWidth_.size()) ? std::max(0, spaceWidth_[static_cast<size_t>(font)]) : 0;
    }
    int TextWidth(int font, std::u16string_view t) { return t.empty() ? 0 : std::max(0, m_.Width(font, t)); }

    void Anchor(const Node& n, int y) {
        for (const char* key : {"name", "id"})
            if (const std::string* a = n.Attr(key); a && !a->empty()) out_.anchors.emplace(*a, y);
    }

    // ---- Pictures -------------------------------------------------------

    bool IntrinsicSize(const std::string& url, int& w, int& h) {
        auto it = imageSizes_.find(url);
        if (it == imageSizes_.end()) {
            int iw = 0, ih = 0;
            if (!images_.ImageSize(url, iw, ih) || iw <= 0 || ih <= 0) iw = ih = -1;
            it = imageSizes_.emplace(url, std::make_pair(iw, ih)).first;
        }
        w = it->second.first;
        h = it->second.second;
        return w > 0;
    }

    // The box of an <img> (without margins and borders).
    void ImageBox(int node, int containerWidth, int& w, int& h, bool& broken) {
        const Node& n = doc_.nodes[static_cast<size_t>(node)];
        const Style& s = S(node);
        const std::string* src = n.Attr("src");
        int iw = 0, ih = 0;
        broken = !src || !IntrinsicSize(*src, iw, ih);
        w = s.width.IsAuto() ? -1 : std::clamp(s.width.Resolve(containerWidth, 0), 0, 20000);
        h = s.height.IsAuto() || s.height.unit == Length::Percent ? -1 : std::clamp(s.height.Resolve(0, 0), 0, 20000);
        if (w < 0 && h < 0) {
            if (!broken) {
                w = iw;
                h = ih;
            } else {
                const std::string* alt = n.Attr("alt");
                if (alt && !alt->empty()) {
                    const int font = Font(s);
                    const FontMetrics fm = Metrics(font);
                    w = TextWidth(font, Utf16(*alt)) + 6;
                    h = fm.ascent + fm.descent + 6;
                } else {
                    w = h = 20;
                }
            }
        } else if (w < 0) {
            w = broken || ih <= 0 ? h : static_cast<int>(static_cast<long long>(iw) * h / ih);
        } else if (h < 0) {
            h = broken || iw <= 0 ? w : static_cast<int>(static_cast<long long>(ih) * w / iw);
        }
        w = std::clamp(w, 0, 20000);
        h = std::clamp(h, 0, 20000);
    }

    static std::u16string Utf16(const std::string& s);

    // ---- Lines -----------------------------------------------------------

    void AddText(Container& c, int node, const std::u16string& text) {
        const Style& s = S(node);
        const int font = Font(s);
        const FontMetrics fm = Metrics(font);
        if (s.pre) {
            size_t start = 0;
            int column = 0;
            std::u16string seg;
            for (size_t i = 0; i <= text.size(); ++i) {
                const char16_t ch = i < text.size() ? text[i] : u'\n';
                if (ch == '\r') continue;
                if (ch == '\n') {
                    if (!seg.empty()) AddWord(c, s, font, fm, std::move(seg), false);
                    seg.clear();
                    column = 0;
                    if (i < text.size()) LineBreak(c, fm.ascent + fm.descent, true);
                    start = i + 1;
                    continue;
                }
                if (ch == '\t') {
                    const int spaces = 8 - column % 8;
                    seg.append(static_cast<size_t>(spaces), u' ');
                    column += spaces;
                } else {
                    seg.push_back(ch);
                    ++column;
                }
            }
            (void)start;
            return;
        }
        size_t i = 0;
        while (i < text.size()) {
            if (IsSpace(text[i])) {
                while (i < text.size() && IsSpace(text[i])) ++i;
                if (!c.line.empty() || c.pendingSpace) {
                    c.pendingSpace = true;
                    c.space.kind = Piece::Space;
                    c.space.style = &s;
                    c.space.font = font;
                    c.space.ascent = fm.ascent;
                    c.space.descent = fm.descent;
                    c.space.width = SpaceWidth(font);
                    c.space.text = u" ";
                }
                continue;
            }
            const size_t start = i;
            while (i < text.size() && !IsSpace(text[i])) ++i;
            AddWord(c, s, font, fm, text.substr(start, i - start), !s.nowrap);
        }
    }

    void AddWord(Container& c, const Style& s, int font, const FontMetrics& fm, std::u16string word, bool mayBreak) {
        Piece p;
        p.kind = Piece::Text;
        p.style = &s;
        p.font = font;
        p.ascent = fm.ascent;
        p.descent = fm.descent;
        p.width = TextWidth(font, word);
        p.text = std::move(word);
        Place(c, std::move(p), mayBreak);
    }

    void Place(Container& c, Piece p, bool mayBreak) {
        const int spaceW = c.pendingSpace && !c.line.empty() ? c.space.width : 0;
        if (mayBreak && !c.line.empty() && c.lineWidth + spaceW + p.width > c.width) {
            EndLine(c, false);
        }
        if (c.pendingSpace && !c.line.empty()) {
            c.line.push_back(c.space);
            c.lineWidth += c.space.width;
        }
        c.pendingSpace = false;
        c.lineWidth += p.width;
        c.line.push_back(std::move(p));
    }

    // Current flow of the container whose lines are being built.
    Flow* flow_ = nullptr;

    void LineBreak(Container& c, int height, bool force) {
        if (c.line.empty()) {
            if (force) {
                flow_->Resolve();
                PlaceMarker(c, flow_->y, height * 4 / 5, height);
                flow_->y += height;
            }
            c.pendingSpace = false;
            return;
        }
        EndLine(c, true);
    }

    void PlaceMarker(Container& c, int lineTop, int baseline, int lineHeight) {
        if (!c.marker || !c.marker->pending) return;
        Marker& mk = *c.marker;
        mk.pending = false;
        const Style& s = *mk.style;
        const int font = Font(s);
        const FontMetrics fm = Metrics(font);
        if (mk.type == ListType::None) return;
        if (mk.type == ListType::Disc || mk.type == ListType::Circle || mk.type == ListType::Square) {
            const int size = std::max(3, s.fontSize / 3);
            Item it;
            it.kind = ItemKind::Bullet;
            it.bullet = mk.type == ListType::Disc ? BulletShape::Disc
                        : mk.type == ListType::Circle ? BulletShape::Circle
                                                      : BulletShape::Square;
            it.w = it.h = size;
            it.x = c.x - size - std::max(6, s.fontSize / 2);
            it.y = lineTop + std::max(0, baseline - fm.ascent / 3 - size / 2 - 1);
            if (lineHeight <= 0) it.y = lineTop;
            it.color = s.color;
            out_.items.push_back(std::move(it));
            return;
        }
        std::u16string text;
        switch (mk.type) {
        case ListType::LowerAlpha: text = Alpha(mk.number, false); break;
        case ListType::UpperAlpha: text = Alpha(mk.number, true); break;
        case ListType::LowerRoman: text = Roman(mk.number, false); break;
        case ListType::UpperRoman: text = Roman(mk.number, true); break;
        default: text = Number(mk.number); break;
        }
        text += u".";
        Item it;
        it.kind = ItemKind::Text;
        it.font = font;
        it.w = TextWidth(font, text);
        it.h = fm.ascent + fm.descent;
        it.x = c.x - it.w - SpaceWidth(font);
        it.y = lineTop + std::max(0, baseline - fm.ascent);
        it.color = s.color;
        it.text = std::move(text);
        it.line = lineNo_;
        out_.items.push_back(std::move(it));
    }

    void EndLine(Container& c, bool hardBreak) {
        Flow& flow = *flow_;
        flow.Resolve();
        // Baseline: the tallest ascent above it, the deepest descent below.
        int ascent = 0, descent = 0;
        for (const Piece& p : c.line) {
            int a = p.ascent, d = p.descent;
            if (p.style) {
                if (p.style->valign == VAlign::Sub) a -= p.style->fontSize / 3, d += p.style->fontSize / 3;
                if (p.style->valign == VAlign::Super) a += p.style->fontSize / 2, d -= p.style->fontSize / 2;
            }
            ascent = std::max(ascent, a);
            descent = std::max(descent, d);
        }
        const int top = flow.y;
        const int height = ascent + descent;
        int x = c.x;
        int extraPerSpace = 0, extraRest = 0;
        const int slack = c.width - c.lineWidth;
        const TextAlign align = c.style ? c.style->align : TextAlign::Left;
        if (slack > 0) {
            if (align == TextAlign::Center) x += slack / 2;
            else if (align == TextAlign::Right) x += slack;
            else if (align == TextAlign::Justify && !hardBreak) {
                int spaces = 0;
                for (const Piece& p : c.line) spaces += p.kind == Piece::Space ? 1 : 0;
                if (spaces > 0) extraPerSpace = slack / spaces, extraRest = slack % spaces;
            }
        }
        PlaceMarker(c, top, ascent, height);
        for (size_t i = 0; i < c.line.size(); ++i) {
            Piece& p = c.line[i];
            if (p.kind == Piece::Image) {
                EmitImage(p, x, top + ascent - p.ascent);
                x += p.width;
                continue;
            }
            int shift = 0;
            if (p.style->valign == VAlign::Sub) shift = p.style->fontSize / 3;
            if (p.style->valign == VAlign::Super) shift = -p.style->fontSize / 2;
            int w = p.width;
            if (p.kind == Piece::Space && extraPerSpace + extraRest > 0) {
                w += extraPerSpace + (extraRest > 0 ? 1 : 0);
                if (extraRest > 0) --extraRest;
            }
            // Neighbouring words of one look become one text item.
            Item* last = out_.items.empty() ? nullptr : &out_.items.back();
            const bool merge = last && last->kind == ItemKind::Text && last->line == lineNo_ && last->font == p.font &&
                               last->color == p.style->color && last->link == p.style->link &&
                               last->x + last->w == x && extraPerSpace == 0 &&
                               last->y == top + ascent - p.ascent + shift && p.style->hasBackground == false;
            if (merge) {
                last->text += p.text;
                last->w += w;
            } else {
                if (p.style->hasBackground && p.style->display == Display::Inline) {
                    Item bg;
                    bg.kind = ItemKind::Fill;
                    bg.x = x;
                    bg.y = top + ascent - p.ascent + shift;
                    bg.w = w;
                    bg.h = p.ascent + p.descent;
                    bg.color = p.style->background;
                    out_.items.push_back(std::move(bg));
                }
                Item it;
                it.kind = ItemKind::Text;
                it.x = x;
                it.y = top + ascent - p.ascent + shift;
                it.w = w;
                it.h = p.ascent + p.descent;
                it.font = p.font;
                it.color = p.style->color;
                it.link = p.style->link;
                it.line = lineNo_;
                it.text = std::move(p.text);
                out_.textItems.push_back(static_cast<int>(out_.items.size()));
                out_.items.push_back(std::move(it));
            }
            x += w;
        }
        ++lineNo_;
        flow.y = top + height;
        c.line.clear();
        c.lineWidth = 0;
        c.pendingSpace = false;
    }

    void EndLines(Container& c, Flow& flow) {
        Flow* saved = flow_;
        flow_ = &flow;
        if (!c.line.empty()) EndLine(c, true);
        c.pendingSpace = false;
        flow_ = saved;
    }

    void EmitImage(const Piece& p, int x, int y) {
        const Node& n = doc_.nodes[static_cast<size_t>(p.node)];
        const Style& s = S(p.node);
        const int bx = x + s.margin[kLeft], by = y + s.margin[kTop];
        const int bw = p.imgW + s.border[kLeft] + s.border[kRight];
        const int bh = p.imgH + s.border[kTop] + s.border[kBottom];
        Item it;
        it.kind = ItemKind::Image;
        it.x = bx + s.border[kLeft];
        it.y = by + s.border[kTop];
        it.w = p.imgW;
        it.h = p.imgH;
        it.link = s.link;
        it.broken = p.broken;
        it.font = Font(s);
        it.color = s.color;
        if (const std::string* src = n.Attr("src")) it.url = Url(*src);
        if (const std::string* alt = n.Attr("alt")) it.text = Utf16(*alt);
        out_.items.push_back(std::move(it));
        if (s.border[0] || s.border[1] || s.border[2] || s.border[3]) {
            Item b;
            b.kind = ItemKind::Border;
            b.x = bx;
            b.y = by;
            b.w = bw;
            b.h = bh;
            std::copy(std::begin(s.border), std::end(s.border), b.border);
            b.color = s.borderColor;
            out_.items.push_back(std::move(b));
        }
    }

    void AddImage(Container& c, int node) {
        const Style& s = S(node);
        Piece p;
        p.kind = Piece::Image;
        p.node = node;
        p.style = &s;
        ImageBox(node, c.width, p.imgW, p.imgH, p.broken);
        p.width = p.imgW + s.margin[kLeft] + s.margin[kRight] + s.border[kLeft] + s.border[kRight];
        p.ascent = p.imgH + s.margin[kTop] + s.margin[kBottom] + s.border[kTop] + s.border[kBottom];
        p.descent = 0;
        if (s.valign == VAlign::Middle) {
            const FontMetrics fm = Metrics(Font(s));
            const int half = p.ascent / 2;
            p.descent = std::max(0, half - fm.ascent / 3);
            p.ascent -= p.descent;
        }
        Place(c, std::move(p), !s.nowrap);
    }

    // ---- Blocks ------------------------------------------------------------

    bool IsBlockLevel(const Style& s) const {
        return s.display != Display::Inline && s.display != Display::None;
    }

    // Walks the children of `node` in the container: inline content goes into
    // lines, block content is laid out below them.
    void Children(int node, Container& c, Flow& flow) {
        for (int ch = doc_.nodes[static_cast<size_t>(node)].firstChild; ch >= 0; ch = doc_.nodes[static_cast<size_t>(ch)].next)
            Child(ch, c, flow);
    }

    void Child(int ch, Container& c, Flow& flow) {
        const Node& n = doc_.nodes[static_cast<size_t>(ch)];
        Flow* saved = flow_;
        flow_ = &flow;
        if (n.isText) {
            AddText(c, ch, n.text);
            flow_ = saved;
            return;
        }
        const Style& s = S(ch);
        if (s.display == Display::None) {
            flow_ = saved;
            return;
        }
        if (!IsBlockLevel(s)) {
            if (n.name == "br") {
                const FontMetrics fm = Metrics(Font(s));
                LineBreak(c, fm.ascent + fm.descent, true);
            } else if (n.name == "img") {
                AddImage(c, ch);
            } else {
                if (n.Attr("name") || n.Attr("id")) Anchor(n, flow.y + (c.line.empty() ? flow.margin : 0));
                Children(ch, c, flow);
            }
            flow_ = saved;
            return;
        }
        EndLines(c, flow);
        flow_ = saved;
        if (s.display == Display::Table) {
            Table(ch, c, flow);
        } else if (s.display == Display::TableRow || s.display == Display::TableRowGroup ||
                   s.display == Display::TableCell || s.display == Display::TableCaption) {
            Block(ch, c, flow);  // a stray table part: laid out as a plain block
        } else {
            Block(ch, c, flow);
        }
    }

    void Block(int node, Container& parent, Flow& flow) {
        const Node& n = doc_.nodes[static_cast<size_t>(node)];
        const Style& s = S(node);
        const bool isHr = n.name == "hr";
        const int mLeft = s.margin[kLeft], mRight = s.margin[kRight];
        const int bpLeft = s.border[kLeft] + s.padding[kLeft], bpRight = s.border[kRight] + s.padding[kRight];
        int outer = parent.width - mLeft - mRight;
        int contentW = outer - bpLeft - bpRight;
        if (!s.width.IsAuto()) {
            contentW = std::clamp(s.width.Resolve(parent.width, contentW), 0, 100000);
            if (isHr) contentW = std::max(0, contentW - bpLeft - bpRight);
        }
        contentW = std::max(0, contentW);
        const int boxW = contentW + bpLeft + bpRight;
        int x = parent.x + mLeft;
        const int free = parent.width - mLeft - mRight - boxW;
        if (free > 0) {
            if (s.marginAutoLeft && s.marginAutoRight) x += free / 2;
            else if (s.marginAutoLeft) x += free;
        }

        flow.margin = std::max(flow.margin, s.margin[kTop]);
        if (flow.cellTop) flow.margin = 0;
        const bool pageBox = n.name == "body" || n.name == "html";  // painted as the page background
        const bool painted = !pageBox && (s.hasBackground || s.backgroundImage >= 0);
        const bool opaqueTop = s.border[kTop] || s.padding[kTop] || painted || isHr;
        if (opaqueTop) flow.Resolve();
        const int top = flow.y;
        if (n.Attr("name") || n.Attr("id")) Anchor(n, top);
        const size_t bgIndex = out_.items.size();
        if (!pageBox && (s.hasBackground || s.backgroundImage >= 0)) {
            if (s.backgroundImage >= 0) {
                Item bi;
                bi.kind = ItemKind::BackgroundImage;
                bi.url = Url(styles_.urls[static_cast<size_t>(s.backgroundImage)]);
                out_.items.push_back(bi);
            }
            Item bg;
            bg.kind = ItemKind::Fill;
            bg.color = s.background;
            if (s.hasBackground) out_.items.insert(out_.items.begin() + static_cast<long>(bgIndex), bg);
        }
        const size_t bgCount = out_.items.size() - bgIndex;

        if (isHr) {
            const int h = std::max(0, s.height.Resolve(0, 0));
            Item b;
            b.kind = ItemKind::Border;
            b.x = x;
            b.y = top;
            b.w = boxW;
            b.h = h + s.border[kTop] + s.border[kBottom];
            if (s.hasBackground) {
                b.kind = ItemKind::Fill;
                b.color = s.background;
            } else {
                b.kind = ItemKind::Border;
                std::copy(std::begin(s.border), std::end(s.border), b.border);
                b.inset = true;
                b.color = s.borderColor;
            }
            if (bgCount) out_.items.resize(bgIndex);
            out_.items.push_back(std::move(b));
            flow.y = top + h + s.border[kTop] + s.border[kBottom];
            flow.margin = s.margin[kBottom];
            return;
        }

        Container c;
        c.x = x + bpLeft;
        c.width = contentW;
        c.style = &s;
        // A list item's marker waits for its first line; a list numbers its items.
        Marker marker;
        if (s.display == Display::ListItem) {
            marker.pending = true;
            marker.type = s.listType;
            marker.style = &s;
            marker.number = ListNumber(node);
            c.marker = &marker;
        } else if (parent.marker && parent.marker->pending) {
            c.marker = parent.marker;
        }
        Flow inner;
        inner.y = top + (opaqueTop ? s.border[kTop] + s.padding[kTop] : 0);
        inner.margin = opaqueTop ? 0 : flow.margin;
        inner.cellTop = flow.cellTop && !opaqueTop;
        if (!opaqueTop) flow.margin = 0;
        Children(node, c, inner);
        EndLines(c, inner);
        if (marker.pending) {
            inner.Resolve();
            const FontMetrics fm = Metrics(Font(s));
            PlaceMarker(c, inner.y, fm.ascent, fm.ascent + fm.descent);
        }
        const bool opaqueBottom = s.border[kBottom] || s.padding[kBottom] || painted;
        int bottom;
        if (opaqueBottom) {
            inner.Resolve();
            bottom = inner.y + s.padding[kBottom] + s.border[kBottom];
            flow.y = bottom;
            flow.margin = s.margin[kBottom];
        } else {
            bottom = inner.y;
            flow.y = inner.y;
            flow.margin = std::max(inner.margin, s.margin[kBottom]);
        }
        flow.cellTop = inner.cellTop && flow.y == top;
        if (!s.height.IsAuto() && s.height.unit == Length::Px) {
            const int minBottom = top + std::clamp(s.height.Resolve(0, 0), 0, 100000);
            if (bottom < minBottom) {
                bottom = minBottom;
                flow.y = std::max(flow.y, minBottom);
            }
        }
        for (size_t k = bgIndex; k < bgIndex + bgCount; ++k) {
            Item& bg = out_.items[k];
            bg.x = x;
            bg.y = top;
            bg.w = boxW;
            bg.h = bottom - top;
        }
        AddBorder(s, x, top, boxW, bottom - top);
    }

    void AddBorder(const Style& s, int x, int y, int w, int h) {
        if (!(s.border[0] || s.border[1] || s.border[2] || s.border[3])) return;
        Item b;
        b.kind = ItemKind::Border;
        b.x = x;
        b.y = y;
        b.w = w;
        b.h = h;
        std::copy(std::begin(s.border), std::end(s.border), b.border);
        b.color = s.borderColor;
        b.inset = s.borderInset;
        out_.items.push_back(std::move(b));
    }

    // Numbers of the items of a list, worked out once per list: a value attribute restarts the count.
    int ListNumber(int li) {
        auto found = listNumbers_.find(li);
        if (found != listNumbers_.end()) return found->second;
        const int parent = doc_.nodes[static_cast<size_t>(li)].parent;
        const Node& p = doc_.nodes[static_cast<size_t>(parent)];
        int number = (p.name == "ol" ? AttrInt(p, "start", 1) : 1) - 1;
        for (int ch = p.firstChild; ch >= 0; ch = doc_.nodes[static_cast<size_t>(ch)].next) {
            const Node& c = doc_.nodes[static_cast<size_t>(ch)];
            if (c.isText || c.name != "li") continue;
            number = c.Attr("value") ? AttrInt(c, "value", 1) : number + 1;
            listNumbers_[ch] = number;
        }
        found = listNumbers_.find(li);
        return found != listNumbers_.end() ? found->second : 1;
    }
    std::unordered_map<int, int> listNumbers_;

    // ---- Widths for tables ---------------------------------------------------

    struct MinMax {
        int min = 0, max = 0;
        int line = 0;      // width of the current line in the max measure
        int word = 0;      // width of the current unbreakable run
        bool space = false;
    };

    void MeasureText(const Style& s, const std::u16string& text, MinMax& mm) {
        const int font = Font(s);
        if (s.pre) {
            size_t i = 0;
            while (i <= text.size()) {
                size_t j = text.find(u'\n', i);
                if (j == std::u16string::npos) j = text.size();
                const int w = TextWidth(font, std::u16string_view(text).substr(i, j - i));
                mm.line += w;
                mm.word += w;
                if (j < text.size()) {
                    mm.max = std::max(mm.max, mm.line);
                    mm.min = std::max(mm.min, mm.word);
                    mm.line = mm.word = 0;
                }
                i = j + 1;
            }
            return;
        }
        size_t i = 0;
        const int sw = SpaceWidth(font);
        while (i < text.size()) {
            if (IsSpace(text[i])) {
                while (i < text.size() && IsSpace(text[i])) ++i;
                if (mm.line > 0) mm.space = true;
                continue;
            }
            const size_t start = i;
            while (i < text.size() && !IsSpace(text[i])) ++i;
            const int w = TextWidth(font, std::u16string_view(text).substr(start, i - start));
            if (mm.space) {
                mm.line += sw;
                if (s.nowrap) mm.word += sw;
                else {
                    mm.min = std::max(mm.min, mm.word);
                    mm.word = 0;
                }
            }
            mm.space = false;
            mm.line += w;
            mm.word += w;
        }
    }

    void Flush(MinMax& mm) {
        mm.max = std::max(mm.max, mm.line);
        mm.min = std::max(mm.min, mm.word);
        mm.line = mm.word = 0;
        mm.space = false;
    }

    void MeasureChildren(int node, MinMax& mm, int depth) {
        for (int ch = doc_.nodes[static_cast<size_t>(node)].firstChild; ch >= 0; ch = doc_.nodes[static_cast<size_t>(ch)].next) {
            const Node& n = doc_.nodes[static_cast<size_t>(ch)];
            if (n.isText) {
                MeasureText(S(ch), n.text, mm);
                continue;
            }
            const Style& s = S(ch);
            if (s.display == Display::None) continue;
            if (!IsBlockLevel(s)) {
                if (n.name == "br") {
                    Flush(mm);
                } else if (n.name == "img") {
                    int w = 0, h = 0;
                    bool broken = false;
                    ImageBox(ch, 0, w, h, broken);
                    if (s.width.unit == Length::Percent) w = 0;
                    w += s.margin[kLeft] + s.margin[kRight] + s.border[kLeft] + s.border[kRight];
                    if (mm.space) mm.line += SpaceWidth(Font(s));
                    mm.space = false;
                    mm.min = std::max(mm.min, mm.word);
                    mm.word = s.nowrap ? mm.word + w : w;
                    mm.line += w;
                } else {
                    MeasureChildren(ch, mm, depth + 1);
                }
                continue;
            }
            Flush(mm);
            const auto [mn, mx] = BlockMinMax(ch);
            mm.min = std::max(mm.min, mn);
            mm.max = std::max(mm.max, mx);
        }
    }

    // Narrowest and widest useful widths of a block, margins included.
    std::pair<int, int> BlockMinMax(int node) {
        auto& cached = minMax_[static_cast<size_t>(node)];
        if (cached.first >= 0) return cached;
        const Style& s = S(node);
        const Node& n = doc_.nodes[static_cast<size_t>(node)];
        int mn = 0, mx = 0;
        if (s.display == Display::Table) {
            TableWidths(node, -1, nullptr, &mn, &mx);
        } else if (n.name != "hr") {
            MinMax mm;
            MeasureChildren(node, mm, 0);
            Flush(mm);
            mn = mm.min;
            mx = mm.max;
        }
        const int extra = s.display == Display::Table ? 0
                          : std::max(0, s.margin[kLeft]) + std::max(0, s.margin[kRight]) + s.padding[kLeft] +
                                s.padding[kRight] + s.border[kLeft] + s.border[kRight];
        if (s.width.unit == Length::Px && s.display != Display::Table) {
            const int w = static_cast<int>(s.width.value);
            mn = std::max(mn, w);
            mx = std::max(mn, w);
        }
        cached = {mn + extra, std::max(mn, mx) + extra};
        return cached;
    }

    // ---- Tables ---------------------------------------------------------------

    struct Cell {
        int node = -1;
        int row = 0, col = 0, rowspan = 1, colspan = 1;
        int min = 0, max = 0;
        Length width;
    };

    struct Grid {
        std::vector<int> rows;  // tr nodes
        std::vector<Cell> cells;
        int columns = 0;
        int caption = -1;
    };

    void CollectRows(int node, Grid& g, int depth) {
        for (int ch = doc_.nodes[static_cast<size_t>(node)].firstChild; ch >= 0; ch = doc_.nodes[static_cast<size_t>(ch)].next) {
            const Node& n = doc_.nodes[static_cast<size_t>(ch)];
            if (n.isText) continue;
            const Style& s = S(ch);
            if (s.display == Display::None) continue;
            if (s.display == Display::TableRow) g.rows.push_back(ch);
            else if (s.display == Display::TableCaption) {
                if (g.caption < 0) g.caption = ch;
            } else if (depth < 2 && s.display != Display::Table) CollectRows(ch, g, depth + 1);
        }
    }

    void CollectCells(int row, std::vector<int>& cells, int depth) {
        for (int ch = doc_.nodes[static_cast<size_t>(row)].firstChild; ch >= 0; ch = doc_.nodes[static_cast<size_t>(ch)].next) {
            const Node& n = doc_.nodes[static_cast<size_t>(ch)];
            if (n.isText) continue;
            const Style& s = S(ch);
            if (s.display == Display::TableCell) cells.push_back(ch);
            else if (depth < 2 && s.display != Display::None && s.display != Display::Table) CollectCells(ch, cells, depth + 1);
        }
    }

    Grid BuildGrid(int table) {
        Grid g;
        CollectRows(table, g, 0);
        std::vector<std::vector<char>> taken(g.rows.size());
        const int rowCount = static_cast<int>(g.rows.size());
        std::vector<int> cellNodes;
        for (int r = 0; r < rowCount; ++r) {
            cellNodes.clear();
            CollectCells(g.rows[static_cast<size_t>(r)], cellNodes, 0);
            int col = 0;
            for (int cn : cellNodes) {
                auto& row = taken[static_cast<size_t>(r)];
                while (col < static_cast<int>(row.size()) && row[static_cast<size_t>(col)]) ++col;
                if (col >= kMaxColumns) break;
                const Node& n = doc_.nodes[static_cast<size_t>(cn)];
                Cell c;
                c.node = cn;
                c.row = r;
                c.col = col;
                c.colspan = std::clamp(AttrInt(n, "colspan", 1), 1, kMaxSpan);
                c.colspan = std::min(c.colspan, kMaxColumns - col);
                int rs = AttrInt(n, "rowspan", 1);
                if (rs == 0) rs = rowCount - r;
                c.rowspan = std::clamp(rs, 1, std::min(kMaxSpan, rowCount - r));
                c.width = S(cn).width;
                for (int rr = r; rr < r + c.rowspan; ++rr) {
                    auto& t = taken[static_cast<size_t>(rr)];
                    if (static_cast<int>(t.size()) < col + c.colspan) t.resize(static_cast<size_t>(col + c.colspan), 0);
                    for (int cc = col; cc < col + c.colspan; ++cc) t[static_cast<size_t>(cc)] = 1;
                }
                g.columns = std::max(g.columns, col + c.colspan);
                col += c.colspan;
                g.cells.push_back(c);
            }
        }
        return g;
    }

    int Spacing(int table) const {
        return std::clamp(AttrInt(doc_.nodes[static_cast<size_t>(table)], "cellspacing", 2), 0, 1000);
    }

    // Column widths of a table at `avail` (or, with avail < 0, its min/max widths).
    void TableWidths(int table, int avail, std::vector<int>* widths, int* outMin, int* outMax, Grid* grid = nullptr) {
        Grid local;
        Grid& g = grid ? *grid : local;
        if (!grid) g = BuildGrid(table);
        const Style& ts = S(table);
        const int spacing = Spacing(table);
        const int cols = g.columns;
        std::vector<int> colMin(static_cast<size_t>(cols), 0), colMax(static_cast<size_t>(cols), 0);
        std::vector<int> colFixed(static_cast<size_t>(cols), 0);
        std::vector<float> colPct(static_cast<size_t>(cols), 0);
        for (Cell& c : g.cells) {
            const auto [mn, mx] = BlockMinMax(c.node);
            c.min = mn;
            c.max = std::max(mn, mx);
            if (c.width.unit == Length::Px) c.max = std::max(c.min, static_cast<int>(c.width.value));
        }
        for (int pass = 0; pass < 2; ++pass) {
            for (const Cell& c : g.cells) {
                if ((c.colspan == 1) != (pass == 0)) continue;
                if (c.colspan == 1) {
                    const size_t k = static_cast<size_t>(c.col);
                    colMin[k] = std::max(colMin[k], c.min);
                    colMax[k] = std::max(colMax[k], c.max);
                    if (c.width.unit == Length::Px) colFixed[k] = std::max(colFixed[k], static_cast<int>(c.width.value));
                    if (c.width.unit == Length::Percent) colPct[k] = std::max(colPct[k], c.width.value);
                    continue;
                }
                int haveMin = spacing * (c.colspan - 1), haveMax = haveMin;
                for (int k = c.col; k < c.col + c.colspan; ++k) {
                    haveMin += colMin[static_cast<size_t>(k)];
                    haveMax += colMax[static_cast<size_t>(k)];
                }
                const int needMin = c.min - haveMin, needMax = c.max - haveMax;
                for (int k = c.col; k < c.col + c.colspan; ++k) {
                    if (needMin > 0) colMin[static_cast<size_t>(k)] += needMin / c.colspan + (k - c.col < needMin % c.colspan ? 1 : 0);
                    if (needMax > 0) colMax[static_cast<size_t>(k)] += needMax / c.colspan + (k - c.col < needMax % c.colspan ? 1 : 0);
                }
            }
        }
        for (int k = 0; k < cols; ++k) colMax[static_cast<size_t>(k)] = std::max(colMax[static_cast<size_t>(k)], colMin[static_cast<size_t>(k)]);
        const int extra = ts.border[kLeft] + ts.border[kRight] + spacing * (cols + 1) + ts.padding[kLeft] + ts.padding[kRight];
        long long sumMin = 0, sumMax = 0;
        for (int k = 0; k < cols; ++k) sumMin += colMin[static_cast<size_t>(k)], sumMax += colMax[static_cast<size_t>(k)];
        if (avail < 0) {
            int mn = static_cast<int>(std::min<long long>(sumMin + extra, 1000000));
            int mx = static_cast<int>(std::min<long long>(sumMax + extra, 1000000));
            if (ts.width.unit == Length::Px) {
                mn = std::max(mn, static_cast<int>(ts.width.value));
                mx = std::max(mn, static_cast<int>(ts.width.value));
            }
            *outMin = mn + std::max(0, ts.margin[kLeft]) + std::max(0, ts.margin[kRight]);
            *outMax = mx + std::max(0, ts.margin[kLeft]) + std::max(0, ts.margin[kRight]);
            return;
        }
        long long target;
        const bool widthGiven = !ts.width.IsAuto();
        if (widthGiven) target = ts.width.Resolve(avail, avail) - extra;
        else target = std::min<long long>(avail - extra, sumMax);
        target = std::max<long long>(target, sumMin);
        std::vector<int>& w = *widths;
        w.assign(colMin.begin(), colMin.end());
        long long left = target - sumMin;
        // Percent columns, then fixed ones, then the rest toward their widest.
        for (int k = 0; k < cols && left > 0; ++k) {
            const size_t i = static_cast<size_t>(k);
            if (colPct[i] <= 0) continue;
            const long long want = static_cast<long long>(target * colPct[i] / 100.0);
            const long long add = std::clamp<long long>(want - w[i], 0, left);
            w[i] += static_cast<int>(add);
            left -= add;
        }
        for (int k = 0; k < cols && left > 0; ++k) {
            const size_t i = static_cast<size_t>(k);
            if (colPct[i] > 0 || colFixed[i] <= 0) continue;
            const long long add = std::clamp<long long>(colFixed[i] - w[i], 0, left);
            w[i] += static_cast<int>(add);
            left -= add;
        }
        if (left > 0) {
            long long want = 0;
            for (int k = 0; k < cols; ++k) {
                const size_t i = static_cast<size_t>(k);
                if (colPct[i] <= 0 && colFixed[i] <= 0) want += std::max(0, colMax[i] - w[i]);
            }
            if (want > 0) {
                const long long give = std::min(left, want);
                long long given = 0;
                for (int k = 0; k < cols; ++k) {
                    const size_t i = static_cast<size_t>(k);
                    if (colPct[i] > 0 || colFixed[i] > 0) continue;
                    const long long add = give * std::max(0, colMax[i] - w[i]) / want;
                    w[i] += static_cast<int>(add);
                    given += add;
                }
                left -= given;
            }
        }
        if (left > 0 && widthGiven && cols > 0) {
            // A table wider than its content: the auto columns (or all) share the rest by their widths.
            long long weight = 0;
            int autoCols = 0;
            for (int k = 0; k < cols; ++k) {
                const size_t i = static_cast<size_t>(k);
                if (colPct[i] <= 0 && colFixed[i] <= 0) weight += colMax[i], ++autoCols;
            }
            const bool useAll = autoCols == 0;
            if (useAll)
                for (int k = 0; k < cols; ++k) weight += colMax[static_cast<size_t>(k)];
            const long long total = left;
            long long given = 0;
            int last = -1;
            for (int k = 0; k < cols; ++k) {
                const size_t i = static_cast<size_t>(k);
                if (!useAll && (colPct[i] > 0 || colFixed[i] > 0)) continue;
                const long long add = weight > 0 ? total * colMax[i] / weight : total / (useAll ? cols : autoCols);
                w[i] += static_cast<int>(add);
                given += add;
                last = k;
            }
            if (last >= 0) w[static_cast<size_t>(last)] += static_cast<int>(total - given);
        }
    }

    void Table(int table, Container& parent, Flow& flow) {
        const Style& ts = S(table);
        Grid g = BuildGrid(table);
        const int spacing = Spacing(table);
        std::vector<int> w;
        const int avail = std::max(0, parent.width - std::max(0, ts.margin[kLeft]) - std::max(0, ts.margin[kRight]));
        TableWidths(table, avail, &w, nullptr, nullptr, &g);
        const int cols = g.columns;
        long long inner = spacing * (cols + 1);
        for (int x : w) inner += x;
        const int tableW = static_cast<int>(std::min<long long>(inner + ts.border[kLeft] + ts.border[kRight] + ts.padding[kLeft] + ts.padding[kRight], 10000000));
        int x = parent.x + std::max(0, ts.margin[kLeft]);
        const int free = avail - tableW;
        if (free > 0) {
            if (ts.marginAutoLeft && ts.marginAutoRight) x += free / 2;
            else if (ts.marginAutoLeft) x += free;
            else if (!ts.marginAutoRight && parent.style && parent.style->align == TextAlign::Center) x += free / 2;
            else if (!ts.marginAutoRight && parent.style && parent.style->align == TextAlign::Right) x += free;
        }
        flow.margin = std::max(flow.margin, ts.margin[kTop]);
        flow.Resolve();
        const Node& tn = doc_.nodes[static_cast<size_t>(table)];
        if (tn.Attr("name") || tn.Attr("id")) Anchor(tn, flow.y);

        if (g.caption >= 0) {
            Container cap;
            cap.x = x;
            cap.width = tableW;
            cap.style = &S(g.caption);
            Flow cf;
            cf.y = flow.y;
            Block(g.caption, cap, cf);
            cf.Resolve();
            flow.y = cf.y;
        }
        const int top = flow.y;
        const size_t tableBg = out_.items.size();
        if (ts.backgroundImage >= 0) {
            Item bi;
            bi.kind = ItemKind::BackgroundImage;
            bi.url = Url(styles_.urls[static_cast<size_t>(ts.backgroundImage)]);
            out_.items.push_back(bi);
        }
        if (ts.hasBackground) {
            Item bg;
            bg.kind = ItemKind::Fill;
            bg.color = ts.background;
            out_.items.push_back(bg);
        }
        const size_t tableBgEnd = out_.items.size();

        std::vector<int> colX(static_cast<size_t>(cols) + 1, 0);
        colX[0] = x + ts.border[kLeft] + ts.padding[kLeft] + spacing;
        for (int k = 0; k < cols; ++k) colX[static_cast<size_t>(k) + 1] = colX[static_cast<size_t>(k)] + w[static_cast<size_t>(k)] + spacing;
        const int rows = static_cast<int>(g.rows.size());
        std::vector<int> rowY(static_cast<size_t>(rows) + 1, 0), rowH(static_cast<size_t>(rows), 0);
        rowY[0] = top + ts.border[kTop] + ts.padding[kTop] + spacing;
        struct Placed {
            size_t bg, start, end;
            int contentH;
        };
        std::vector<Placed> placed(g.cells.size());
        size_t next = 0;
        for (int r = 0; r < rows; ++r) {
            const int y = rowY[static_cast<size_t>(r)];
            const Node& rn = doc_.nodes[static_cast<size_t>(g.rows[static_cast<size_t>(r)])];
            (void)rn;
            int h = std::max(0, S(g.rows[static_cast<size_t>(r)]).height.Resolve(0, 0));
            for (; next < g.cells.size() && g.cells[next].row == r; ++next) {
                const Cell& c = g.cells[next];
                const Style& cs = S(c.node);
                const int cx = colX[static_cast<size_t>(c.col)];
                const int cw = colX[static_cast<size_t>(c.col + c.colspan)] - spacing - cx;
                Placed& p = placed[next];
                p.bg = out_.items.size();
                if (cs.backgroundImage >= 0) {
                    Item bi;
                    bi.kind = ItemKind::BackgroundImage;
                    bi.url = Url(styles_.urls[static_cast<size_t>(cs.backgroundImage)]);
                    out_.items.push_back(bi);
                }
                if (cs.hasBackground) {
                    Item bg;
                    bg.kind = ItemKind::Fill;
                    bg.color = cs.background;
                    out_.items.push_back(bg);
                }
                p.start = out_.items.size();
                Container cc;
                cc.x = cx + cs.border[kLeft] + cs.padding[kLeft];
                cc.width = std::max(0, cw - cs.border[kLeft] - cs.border[kRight] - cs.padding[kLeft] - cs.padding[kRight]);
                cc.style = &cs;
                Flow cf;
                cf.y = y + cs.border[kTop] + cs.padding[kTop];
                cf.cellTop = true;
                const Node& cn = doc_.nodes[static_cast<size_t>(c.node)];
                if (cn.Attr("name") || cn.Attr("id")) Anchor(cn, y);
                Children(c.node, cc, cf);
                EndLines(cc, cf);
                cf.margin = 0;
                int contentH = cf.y - (y + cs.border[kTop] + cs.padding[kTop]);
                p.contentH = std::max(0, contentH);
                p.end = out_.items.size();
                int need = p.contentH + cs.border[kTop] + cs.border[kBottom] + cs.padding[kTop] + cs.padding[kBottom];
                if (cs.height.unit == Length::Px) need = std::max(need, static_cast<int>(cs.height.value));
                if (c.rowspan == 1) h = std::max(h, need);
            }
            // Cells spanning rows that end here stretch this row if they need more.
            for (size_t k = 0; k < next; ++k) {
                const Cell& c = g.cells[k];
                if (c.rowspan <= 1 || c.row + c.rowspan - 1 != r) continue;
                const Style& cs = S(c.node);
                int need = placed[k].contentH + cs.border[kTop] + cs.border[kBottom] + cs.padding[kTop] + cs.padding[kBottom];
                if (cs.height.unit == Length::Px) need = std::max(need, static_cast<int>(cs.height.value));
                const int have = y - rowY[static_cast<size_t>(c.row)];
                h = std::max(h, need - have);
            }
            rowH[static_cast<size_t>(r)] = h;
            rowY[static_cast<size_t>(r) + 1] = y + h + spacing;
        }
        int bottom = rowY[static_cast<size_t>(rows)] + ts.padding[kBottom] + ts.border[kBottom];
        if (rows == 0) bottom = top + ts.border[kTop] + ts.border[kBottom] + ts.padding[kTop] + ts.padding[kBottom];
        if (ts.height.unit == Length::Px && bottom - top < static_cast<int>(ts.height.value) && rows > 0) {
            const int add = static_cast<int>(ts.height.value) - (bottom - top);
            rowH[static_cast<size_t>(rows) - 1] += add;
            rowY[static_cast<size_t>(rows)] += add;
            bottom += add;
        }
        // Cell boxes now have their heights: backgrounds, vertical alignment, borders.
        for (size_t k = 0; k < g.cells.size(); ++k) {
            const Cell& c = g.cells[k];
            const Style& cs = S(c.node);
            const Placed& p = placed[k];
            const int cx = colX[static_cast<size_t>(c.col)];
            const int cw = colX[static_cast<size_t>(c.col + c.colspan)] - spacing - cx;
            const int cy = rowY[static_cast<size_t>(c.row)];
            const int ch = rowY[static_cast<size_t>(c.row + c.rowspan)] - spacing - cy;
            for (size_t i = p.bg; i < p.start; ++i) {
                out_.items[i].x = cx;
                out_.items[i].y = cy;
                out_.items[i].w = cw;
                out_.items[i].h = ch;
            }
            const int room = ch - p.contentH - cs.border[kTop] - cs.border[kBottom] - cs.padding[kTop] - cs.padding[kBottom];
            int dy = 0;
            if (room > 0) {
                if (cs.valign == VAlign::Middle || cs.valign == VAlign::Baseline) dy = cs.valign == VAlign::Middle ? room / 2 : 0;
                else if (cs.valign == VAlign::Bottom) dy = room;
            }
            if (dy)
                for (size_t i = p.start; i < p.end; ++i) out_.items[i].y += dy;
            AddBorder(cs, cx, cy, cw, ch);
        }
        for (size_t i = tableBg; i < tableBgEnd; ++i) {
            out_.items[i].x = x;
            out_.items[i].y = top;
            out_.items[i].w = tableW;
            out_.items[i].h = bottom - top;
        }
        if (ts.border[0] || ts.border[1] || ts.border[2] || ts.border[3]) {
            Item b;
            b.kind = ItemKind::Border;
            b.x = x;
            b.y = top;
            b.w = tableW;
            b.h = bottom - top;
            std::copy(std::begin(ts.border), std::end(ts.border), b.border);
            b.color = ts.borderColor;
            out_.items.push_back(std::move(b));
        }
        flow.y = bottom;
        flow.margin = ts.margin[kBottom];
        flow.cellTop = false;
    }

};

std::u16string Engine::Utf16(const std::string& s) { return Utf8ToUtf16(s); }

}  // namespace

LayoutResult Layout(const Document& doc, const Styles& styles, TextMeasurer& measurer, ImageSizer& images,
                    const LayoutOptions& options) {
    return Engine(doc, styles, measurer, images).Run(options);
}

}  // namespace qlm::html
