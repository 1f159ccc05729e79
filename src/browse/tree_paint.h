// GDI objects the tree and the song list draw with, made once instead of per
// item: under Wine every brush, every temporary DC of an image-list draw and
// every window-DC operation has a fixed cost that a page of rows multiplies.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "win/handles.h"

namespace qlm::browse {

class TTreePaintCache {
public:
    TTreePaintCache() = default;
    TTreePaintCache(const TTreePaintCache&) = delete;
    TTreePaintCache& operator=(const TTreePaintCache&) = delete;
    ~TTreePaintCache();

    // The state images drawn once onto the given background: a row then costs
    // one copy per image instead of a masked image-list draw.
    void SetStateImages(HIMAGELIST images, uint32_t background);
    // Draws a state image (0 draws nothing); false when there is no such image.
    bool DrawStateImage(HDC dc, int image, int x, int y) const;

    HBRUSH Brush(uint32_t colour);

    // What a finished text row depends on: any difference draws it afresh.
    struct RowKey {
        int32_t node = -1;
        uint32_t colour = 0;
        uint32_t background = 0;
        uint8_t charset = 0;
        bool marker = false;
        const std::u16string* text = nullptr;
    };
    // Fills `fill` with the key's background and has `render` draw the text,
    // into a kept picture of the row when it fits one, then copies that. The
    // bitmap font costs two to four raster operations per character, a kept
    // row one copy; the picture is the same either way, as the font only
    // combines with the background inside the filled rectangle. `render`
    // gets the DC and where the fill's top left corner lies in it.
    void DrawTextRow(HDC dc, const RECT& fill, const RowKey& key, const std::function<void(HDC, int, int)>& render);
    // Forgets the kept rows (another font, or the rows would be stale).
    void ForgetRows();

private:
    bool MakeRowStore(int height);

    struct Row {
        RowKey key;
        std::u16string text;
        int width = 0;
        uint64_t lastUse = 0;
        bool used = false;
    };
    static constexpr int kRowStoreWidth = 640;
    static constexpr int kRowSlots = 96;
    win::UniqueMemoryDc rowDc_;
    win::UniqueBitmap rowBitmap_;
    HGDIOBJ oldRowBitmap_ = nullptr;
    int rowHeight_ = 0;
    bool rowStoreFailed_ = false;
    std::vector<Row> rows_;
    uint64_t useClock_ = 0;

    win::UniqueMemoryDc stripDc_;
    win::UniqueBitmap strip_;
    HGDIOBJ oldStrip_ = nullptr;
    int imageCount_ = 0;
    int imageWidth_ = 0, imageHeight_ = 0;
    struct CachedBrush {
        uint32_t colour = 0;
        win::UniqueBrush brush;
    };
    CachedBrush brushes_[6];
    int brushCount_ = 0;
};

}  // namespace qlm::browse
