#include "base/align_layout.h"

#include <algorithm>

namespace qlm {

AlignLayout::AlignLayout() {
    Box root;
    root.align = Align::Client;
    boxes_.push_back(std::move(root));
}

int AlignLayout::Add(int parent, std::string name, Align align, int size, LayoutRect fixed) {
    Box b;
    b.name = std::move(name);
    b.parent = parent;
    b.align = align;
    b.size = size;
    b.fixed = fixed;
    boxes_.push_back(std::move(b));
    int id = static_cast<int>(boxes_.size()) - 1;
    boxes_[parent].children.push_back(id);
    return id;
}

void AlignLayout::SetVisible(int box, bool visible) { boxes_[box].visible = visible; }
void AlignLayout::SetSize(int box, int size) { boxes_[box].size = std::max(0, size); }
void AlignLayout::SetAlign(int box, Align align, int size) {
    boxes_[box].align = align;
    boxes_[box].size = std::max(0, size);
}

bool AlignLayout::Visible(int box) const {
    for (int b = box; b >= 0; b = boxes_[b].parent)
        if (!boxes_[b].visible) return false;
    return true;
}

int AlignLayout::Find(const std::string& name) const {
    for (size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i].name == name) return static_cast<int>(i);
    return -1;
}

void AlignLayout::Arrange(int clientWidth, int clientHeight) {
    boxes_[kRoot].bounds = {0, 0, std::max(0, clientWidth), std::max(0, clientHeight)};
    ArrangeChildren(kRoot);
}

void AlignLayout::ArrangeChildren(int parent) {
    LayoutRect rest = boxes_[parent].bounds;
    // Edges first in the fixed order top, bottom, left, right; the client box
    // takes what they leave. Hidden boxes take no room.
    for (Align pass : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client, Align::None}) {
        for (int id : boxes_[parent].children) {
            Box& b = boxes_[id];
            if (b.align != pass) continue;
            if (!b.visible) {
                b.bounds = {rest.left, rest.top, rest.left, rest.top};
                continue;
            }
            switch (pass) {
                case Align::Top: {
                    int h = std::min(b.size, rest.Height());
                    b.bounds = {rest.left, rest.top, rest.right, rest.top + h};
                    rest.top += h;
                    break;
                }
                case Align::Bottom: {
                    int h = std::min(b.size, rest.Height());
                    b.bounds = {rest.left, rest.bottom - h, rest.right, rest.bottom};
                    rest.bottom -= h;
                    break;
                }
                case Align::Left: {
                    int w = std::min(b.size, rest.Width());
                    b.bounds = {rest.left, rest.top, rest.left + w, rest.bottom};
                    rest.left += w;
                    break;
                }
                case Align::Right: {
                    int w = std::min(b.size, rest.Width());
                    b.bounds = {rest.right - w, rest.top, rest.right, rest.bottom};
                    rest.right -= w;
                    break;
                }
                case Align::Client:
                    b.bounds = rest;
                    break;
                case Align::None: {
                    const LayoutRect& p = boxes_[parent].bounds;
                    b.bounds = {p.left + b.fixed.left, p.top + b.fixed.top, p.left + b.fixed.right,
                                p.top + b.fixed.bottom};
                    break;
                }
            }
        }
    }
    for (int id : boxes_[parent].children) ArrangeChildren(id);
}

}  // namespace qlm
