// Block boxes: their margins, borders and backgrounds, and list numbering.
#include <algorithm>
#include <climits>
#include <cmath>

#include "pages/html/layout_engine.h"

namespace qlm::html::layout_detail {

bool Engine::IsBlockLevel(const Style& s) const {
    return s.display != Display::Inline && s.display != Display::None;
}

void Engine::Children(int node, Container& c, Flow& flow) {
    for (int ch = doc_.nodes[static_cast<size_t>(node)].firstChild; ch >= 0; ch = doc_.nodes[static_cast<size_t>(ch)].next)
        Child(ch, c, flow);
}

void Engine::Child(int ch, Container& c, Flow& flow) {
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

void Engine::Block(int node, Container& parent, Flow& flow) {
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

void Engine::AddBorder(const Style& s, int x, int y, int w, int h) {
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

int Engine::ListNumber(int li) {
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

}  // namespace qlm::html::layout_detail
