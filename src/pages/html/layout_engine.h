// The layout engine's internals, shared by the files that hold its parts:
// layout.cpp (the run, fonts, pictures), layout_lines.cpp (inline content),
// layout_blocks.cpp (blocks and lists) and layout_tables.cpp (tables).
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "pages/html/layout.h"

namespace qlm::html::layout_detail {

constexpr int kMaxColumns = 2000;
constexpr int kMaxSpan = 1000;

inline bool IsSpace(char16_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

int AttrInt(const Node& n, const char* name, int fallback);

// List marker texts.
std::u16string Roman(int n, bool upper);
std::u16string Alpha(int n, bool upper);
std::u16string Number(int n);

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

    LayoutResult Run(const LayoutOptions& options);

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

    int Url(const std::string& u);

    int Font(const Style& s);
    FontMetrics Metrics(int font) const;
    int SpaceWidth(int font) const;
    int TextWidth(int font, std::u16string_view t) { return t.empty() ? 0 : std::max(0, m_.Width(font, t)); }

    void Anchor(const Node& n, int y);

    // ---- Pictures -------------------------------------------------------

    bool IntrinsicSize(const std::string& url, int& w, int& h);

    // The box of an <img> (without margins and borders).
    void ImageBox(int node, int containerWidth, int& w, int& h, bool& broken);

    static std::u16string Utf16(const std::string& s);

    // ---- Lines -----------------------------------------------------------

    void AddText(Container& c, int node, const std::u16string& text);

    void AddWord(Container& c, const Style& s, int font, const FontMetrics& fm, std::u16string word, bool mayBreak);

    void Place(Container& c, Piece p, bool mayBreak);

    // Current flow of the container whose lines are being built.
    Flow* flow_ = nullptr;

    void LineBreak(Container& c, int height, bool force);

    void PlaceMarker(Container& c, int lineTop, int baseline, int lineHeight);

    void EndLine(Container& c, bool hardBreak);

    void EndLines(Container& c, Flow& flow);

    void EmitImage(const Piece& p, int x, int y);

    void AddImage(Container& c, int node);

    // ---- Blocks ------------------------------------------------------------

    bool IsBlockLevel(const Style& s) const;

    // Walks the children of `node` in the container: inline content goes into
    // lines, block content is laid out below them.
    void Children(int node, Container& c, Flow& flow);

    void Child(int ch, Container& c, Flow& flow);

    void Block(int node, Container& parent, Flow& flow);

    void AddBorder(const Style& s, int x, int y, int w, int h);

    // Numbers of the items of a list, worked out once per list: a value attribute restarts the count.
    int ListNumber(int li);
    std::unordered_map<int, int> listNumbers_;

    // ---- Widths for tables ---------------------------------------------------

    struct MinMax {
        int min = 0, max = 0;
        int line = 0;      // width of the current line in the max measure
        int word = 0;      // width of the current unbreakable run
        bool space = false;
    };

    void MeasureText(const Style& s, const std::u16string& text, MinMax& mm);

    void Flush(MinMax& mm);

    void MeasureChildren(int node, MinMax& mm, int depth);

    // Narrowest and widest useful widths of a block, margins included.
    std::pair<int, int> BlockMinMax(int node);

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

    void CollectRows(int node, Grid& g, int depth);

    void CollectCells(int row, std::vector<int>& cells, int depth);

    Grid BuildGrid(int table);

    int Spacing(int table) const;

    // Column widths of a table at `avail` (or, with avail < 0, its min/max widths).
    void TableWidths(int table, int avail, std::vector<int>* widths, int* outMin, int* outMax, Grid* grid = nullptr);

    void Table(int table, Container& parent, Flow& flow);
};

}  // namespace qlm::html::layout_detail
