#include "browse/tree_paint.h"

namespace qlm::browse {

TTreePaintCache::~TTreePaintCache() {
    if (stripDc_ && oldStrip_) SelectObject(stripDc_.get(), oldStrip_);
    if (rowDc_ && oldRowBitmap_) SelectObject(rowDc_.get(), oldRowBitmap_);
}

void TTreePaintCache::SetStateImages(HIMAGELIST images, uint32_t background) {
    if (stripDc_ && oldStrip_) SelectObject(stripDc_.get(), oldStrip_);
    oldStrip_ = nullptr;
    strip_.reset();
    stripDc_.reset();
    imageCount_ = 0;
    int w = 0, h = 0;
    if (!images || !ImageList_GetIconSize(images, &w, &h) || w <= 0 || h <= 0) return;
    const int count = ImageList_GetImageCount(images);
    if (count <= 0) return;
    HDC screen = GetDC(nullptr);
    stripDc_.reset(CreateCompatibleDC(screen));
    strip_.reset(CreateCompatibleBitmap(screen, w * count, h));
    ReleaseDC(nullptr, screen);
    if (!stripDc_ || !strip_) {
        strip_.reset();
        stripDc_.reset();
        return;
    }
    oldStrip_ = SelectObject(stripDc_.get(), strip_.get());
    RECT all{0, 0, w * count, h};
    FillRect(stripDc_.get(), &all, Brush(background));
    for (int i = 0; i < count; ++i) ImageList_Draw(images, i, stripDc_.get(), i * w, 0, ILD_TRANSPARENT);
    imageCount_ = count;
    imageWidth_ = w;
    imageHeight_ = h;
}

bool TTreePaintCache::DrawStateImage(HDC dc, int image, int x, int y) const {
    if (image <= 0) return true;
    if (image >= imageCount_) return false;
    BitBlt(dc, x, y, imageWidth_, imageHeight_, stripDc_.get(), image * imageWidth_, 0, SRCCOPY);
    return true;
}

HBRUSH TTreePaintCache::Brush(uint32_t colour) {
    for (int i = 0; i < brushCount_; ++i)
        if (brushes_[i].colour == colour) return brushes_[i].brush.get();
    // A few colours only; past that the oldest slot is reused.
    int slot = brushCount_ < 6 ? brushCount_++ : 0;
    brushes_[slot].colour = colour;
    brushes_[slot].brush.reset(CreateSolidBrush(colour));
    return brushes_[slot].brush.get();
}

bool TTreePaintCache::MakeRowStore(int height) {
    if (rowDc_ && rowHeight_ == height) return true;
    if (rowStoreFailed_) return false;
    if (rowDc_ && oldRowBitmap_) SelectObject(rowDc_.get(), oldRowBitmap_);
    oldRowBitmap_ = nullptr;
    rowBitmap_.reset();
    rowDc_.reset();
    rows_.clear();
    HDC screen = GetDC(nullptr);
    rowDc_.reset(CreateCompatibleDC(screen));
    rowBitmap_.reset(CreateCompatibleBitmap(screen, kRowStoreWidth, height * kRowSlots));
    ReleaseDC(nullptr, screen);
    if (!rowDc_ || !rowBitmap_) {
        rowBitmap_.reset();
        rowDc_.reset();
        rowStoreFailed_ = true;
        return false;
    }
    oldRowBitmap_ = SelectObject(rowDc_.get(), rowBitmap_.get());
    rowHeight_ = height;
    rows_.resize(kRowSlots);
    return true;
}

void TTreePaintCache::ForgetRows() {
    for (Row& r : rows_) r.used = false;
}

void TTreePaintCache::DrawTextRow(HDC dc, const RECT& fill, const RowKey& key,
                                  const std::function<void(HDC, int, int)>& render) {
    const int width = fill.right - fill.left, height = fill.bottom - fill.top;
    if (width <= 0 || height <= 0) return;
    if (!key.text || width > kRowStoreWidth || !MakeRowStore(height)) {
        FillRect(dc, &fill, Brush(key.background));
        render(dc, fill.left, fill.top);
        return;
    }
    ++useClock_;
    Row* slot = nullptr;
    for (Row& r : rows_) {
        if (r.used && r.width == width && r.key.node == key.node && r.key.colour == key.colour &&
            r.key.background == key.background && r.key.charset == key.charset && r.key.marker == key.marker &&
            r.text == *key.text) {
            slot = &r;
            break;
        }
    }
    if (slot) {
        slot->lastUse = useClock_;
        const int y = static_cast<int>(slot - rows_.data()) * rowHeight_;
        BitBlt(dc, fill.left, fill.top, width, height, rowDc_.get(), 0, y, SRCCOPY);
        return;
    }
    // The least recently drawn row gives way.
    slot = &rows_[0];
    for (Row& r : rows_) {
        if (!r.used) {
            slot = &r;
            break;
        }
        if (r.lastUse < slot->lastUse) slot = &r;
    }
    const int top = static_cast<int>(slot - rows_.data()) * rowHeight_;
    RECT area{0, top, width, top + height};
    FillRect(rowDc_.get(), &area, Brush(key.background));
    render(rowDc_.get(), 0, top);
    slot->key = key;
    slot->key.text = nullptr;
    slot->text = *key.text;
    slot->width = width;
    slot->lastUse = useClock_;
    slot->used = true;
    BitBlt(dc, fill.left, fill.top, width, height, rowDc_.get(), 0, top, SRCCOPY);
}

}  // namespace qlm::browse
