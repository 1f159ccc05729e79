// Inline content: words, spaces and pictures broken into lines, list markers.
#include <algorithm>
#include <climits>
#include <cmath>

#include "pages/html/layout_engine.h"

namespace qlm::html::layout_detail {

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

void Engine::AddText(Container& c, int node, const std::u16string& text) {
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

void Engine::AddWord(Container& c, const Style& s, int font, const FontMetrics& fm, std::u16string word, bool mayBreak) {
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

void Engine::Place(Container& c, Piece p, bool mayBreak) {
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

void Engine::LineBreak(Container& c, int height, bool force) {
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

void Engine::PlaceMarker(Container& c, int lineTop, int baseline, int lineHeight) {
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

void Engine::EndLine(Container& c, bool hardBreak) {
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

void Engine::EndLines(Container& c, Flow& flow) {
    Flow* saved = flow_;
    flow_ = &flow;
    if (!c.line.empty()) EndLine(c, true);
    c.pendingSpace = false;
    flow_ = saved;
}

void Engine::EmitImage(const Piece& p, int x, int y) {
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

void Engine::AddImage(Container& c, int node) {
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

}  // namespace qlm::html::layout_detail
