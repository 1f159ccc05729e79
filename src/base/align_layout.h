// Docking layout of a window: boxes aligned to the top, bottom, left or right
// edge of their parent, or filling what is left, the way form designers align
// panels. Pure arithmetic; src/win/align_windows.h moves the real windows.
#pragma once

#include <string>
#include <vector>

namespace qlm {

enum class Align { None, Top, Bottom, Left, Right, Client };

struct LayoutRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const LayoutRect&) const = default;
};

class AlignLayout {
public:
    static constexpr int kRoot = 0;

    AlignLayout();

    // Adds a box under `parent`. `size` is the width of a Left/Right box and the
    // height of a Top/Bottom box; Client boxes ignore it; None boxes keep `fixed`
    // (relative to the parent). Boxes of one kind are stacked in the order added.
    int Add(int parent, std::string name, Align align, int size = 0, LayoutRect fixed = {});

    void SetVisible(int box, bool visible);
    void SetSize(int box, int size);
    void SetAlign(int box, Align align, int size);
    bool Visible(int box) const;   // this box and every ancestor shown
    int Size(int box) const { return boxes_[box].size; }
    Align AlignOf(int box) const { return boxes_[box].align; }
    int Find(const std::string& name) const;  // -1 when unknown
    size_t Count() const { return boxes_.size(); }
    const std::string& Name(int box) const { return boxes_[box].name; }

    // Computes every box's bounds for a root of the given client size.
    void Arrange(int clientWidth, int clientHeight);
    // Bounds in root (window client) coordinates, valid after Arrange.
    const LayoutRect& Bounds(int box) const { return boxes_[box].bounds; }

private:
    struct Box {
        std::string name;
        int parent = -1;
        Align align = Align::None;
        int size = 0;
        LayoutRect fixed;
        bool visible = true;
        LayoutRect bounds;
        std::vector<int> children;
    };
    void ArrangeChildren(int box);
    std::vector<Box> boxes_;
};

}  // namespace qlm
