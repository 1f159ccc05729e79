// Tables: the narrowest and widest widths of content, the grid of cells, column widths and rows.
#include <algorithm>
#include <climits>
#include <cmath>

#include "pages/html/layout_engine.h"

namespace qlm::html::layout_detail {

void Engine::MeasureText(const Style& s, const std::u16string& text, MinMax& mm) {
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

void Engine::Flush(MinMax& mm) {
    mm.max = std::max(mm.max, mm.line);
    mm.min = std::max(mm.min, mm.word);
    mm.line = mm.word = 0;
    mm.space = false;
}

void Engine::MeasureChildren(int node, MinMax& mm, int depth) {
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

std::pair<int, int> Engine::BlockMinMax(int node) {
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

void Engine::CollectRows(int node, Grid& g, int depth) {
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

void Engine::CollectCells(int row, std::vector<int>& cells, int depth) {
    for (int ch = doc_.nodes[static_cast<size_t>(row)].firstChild; ch >= 0; ch = doc_.nodes[static_cast<size_t>(ch)].next) {
        const Node& n = doc_.nodes[static_cast<size_t>(ch)];
        if (n.isText) continue;
        const Style& s = S(ch);
        if (s.display == Display::TableCell) cells.push_back(ch);
        else if (depth < 2 && s.display != Display::None && s.display != Display::Table) CollectCells(ch, cells, depth + 1);
    }
}

Engine::Grid Engine::BuildGrid(int table) {
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

int Engine::Spacing(int table) const {
    return std::clamp(AttrInt(doc_.nodes[static_cast<size_t>(table)], "cellspacing", 2), 0, 1000);
}

void Engine::TableWidths(int table, int avail, std::vector<int>* widths, int* outMin, int* outMax, Grid* grid) {
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

void Engine::Table(int table, Container& parent, Flow& flow) {
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

}  // namespace qlm::html::layout_detail
