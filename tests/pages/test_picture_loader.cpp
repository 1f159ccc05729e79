// Pictures are made here with the encoders of the same libraries, so the
// tests need no files and check exact pixels where the format is lossless.
#include <gtest/gtest.h>

#include <csetjmp>
#include <cstring>
#include <string>

extern "C" {
#include <gif_lib.h>
#include <jpeglib.h>
}

#include "pages/picture_loader.h"

namespace qlm::pictures {
namespace {

std::string Le32(uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }
std::string Le16(uint16_t v) { return {char(v), char(v >> 8)}; }

std::string Bmp24(int w, int h, bool topDown) {
    const int stride = (w * 3 + 3) / 4 * 4;
    std::string pixels;
    for (int row = 0; row < h; ++row) {
        std::string line;
        for (int x = 0; x < w; ++x) line += {char(x * 10), char(row * 20), char(200)};  // B, G, R
        line.resize(static_cast<size_t>(stride), '\0');
        pixels += line;
    }
    std::string f = "BM" + Le32(static_cast<uint32_t>(54 + pixels.size())) + Le32(0) + Le32(54);
    f += Le32(40) + Le32(static_cast<uint32_t>(w)) + Le32(static_cast<uint32_t>(topDown ? -h : h)) + Le16(1) + Le16(24) +
         Le32(0) + Le32(static_cast<uint32_t>(pixels.size())) + Le32(2835) + Le32(2835) + Le32(0) + Le32(0);
    return f + pixels;
}

TEST(PictureLoader, Bmp24BottomUpAndTopDown) {
    for (bool topDown : {false, true}) {
        Picture p;
        ASSERT_TRUE(Decode(Bmp24(3, 2, topDown), p));
        EXPECT_EQ(p.width, 3);
        EXPECT_EQ(p.height, 2);
        ASSERT_EQ(p.frames.size(), 1u);
        // Row 0 of the file is the bottom row unless the height is negative.
        const int fileRowOfTop = topDown ? 0 : 1;
        EXPECT_EQ(p.frames[0].pixels[2], 0xFF000000u | 200u << 16 | uint32_t(fileRowOfTop * 20) << 8 | 20u);
        EXPECT_FALSE(p.transparent);
    }
}

TEST(PictureLoader, Bmp8WithPaletteAndRle8) {
    // 2x2, 8 bits, two palette entries: red and blue.
    const std::string palette = std::string("\0\0\xFF\0", 4) + std::string("\xFF\0\0\0", 4);
    std::string rows = std::string("\0\1\0\0", 4) + std::string("\1\1\0\0", 4);
    std::string head = Le32(40) + Le32(2) + Le32(2) + Le16(1) + Le16(8) + Le32(0) + Le32(8) + Le32(0) + Le32(0) + Le32(2) + Le32(0);
    std::string f = "BM" + Le32(static_cast<uint32_t>(14 + head.size() + palette.size() + rows.size())) + Le32(0) +
                    Le32(static_cast<uint32_t>(14 + head.size() + palette.size()));
    Picture p;
    ASSERT_TRUE(Decode(f + head + palette + rows, p));
    EXPECT_EQ(p.frames[0].pixels[0], 0xFF0000FFu);  // top row is the file's second row: blue, blue
    EXPECT_EQ(p.frames[0].pixels[2], 0xFFFF0000u);  // bottom-left red
    EXPECT_EQ(p.frames[0].pixels[3], 0xFF0000FFu);

    // The same picture run-length coded: 2 x index 0... per row, end of line, end of picture.
    const std::string rle = std::string("\2\0\0\0\2\1\0\1", 8);
    std::string rhead = Le32(40) + Le32(2) + Le32(2) + Le16(1) + Le16(8) + Le32(1) + Le32(8) + Le32(0) + Le32(0) + Le32(2) + Le32(0);
    Picture q;
    ASSERT_TRUE(Decode(f + rhead + palette + rle, q));
    EXPECT_EQ(q.frames[0].pixels[2], 0xFFFF0000u);
    EXPECT_EQ(q.frames[0].pixels[0], 0xFF0000FFu);
}

struct GifSink {
    std::string bytes;
};
int GifWrite(GifFileType* g, const GifByteType* buf, int len) {
    static_cast<GifSink*>(g->UserData)->bytes.append(reinterpret_cast<const char*>(buf), static_cast<size_t>(len));
    return len;
}

// A 4x4 two-frame animation: frame 1 all red; frame 2 paints the top-left
// pixel blue and leaves the rest transparent (kept from frame 1).
std::string TwoFrameGif() {
    GifSink sink;
    int err = 0;
    GifFileType* g = EGifOpen(&sink, GifWrite, &err);
    EGifSetGifVersion(g, true);
    GifColorType colors[4] = {{255, 0, 0}, {0, 0, 255}, {0, 0, 0}, {0, 0, 0}};
    ColorMapObject* map = GifMakeMapObject(4, colors);
    EGifPutScreenDesc(g, 4, 4, 8, 0, map);
    for (int frame = 0; frame < 2; ++frame) {
        GraphicsControlBlock gcb{DISPOSE_DO_NOT, false, frame == 0 ? 50 : 0, frame == 1 ? 2 : NO_TRANSPARENT_COLOR};
        GifByteType ext[4];
        EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(g, GRAPHICS_EXT_FUNC_CODE, 4, ext);
        EGifPutImageDesc(g, 0, 0, 4, 4, false, nullptr);
        for (int y = 0; y < 4; ++y) {
            GifPixelType row[4];
            memset(row, frame == 0 ? 0 : 2, 4);
            if (frame == 1 && y == 0) row[0] = 1;
            EGifPutLine(g, row, 4);
        }
    }
    EGifCloseFile(g, &err);
    GifFreeMapObject(map);
    return sink.bytes;
}

TEST(PictureLoader, AnimatedGifComposesFramesWithDelays) {
    Picture p;
    ASSERT_TRUE(Decode(TwoFrameGif(), p));
    EXPECT_EQ(p.width, 4);
    ASSERT_EQ(p.frames.size(), 2u);
    EXPECT_TRUE(p.Animated());
    EXPECT_EQ(p.frames[0].delayMs, 500);
    EXPECT_EQ(p.frames[1].delayMs, 100);  // "as fast as possible" shows for a tenth of a second
    EXPECT_EQ(p.frames[0].pixels[0], 0xFFFF0000u);
    EXPECT_EQ(p.frames[1].pixels[0], 0xFF0000FFu);
    EXPECT_EQ(p.frames[1].pixels[5], 0xFFFF0000u);  // transparent pixel keeps frame 1
}

TEST(PictureLoader, TruncatedGifKeepsWholeFrames) {
    const std::string gif = TwoFrameGif();
    Picture p;
    EXPECT_TRUE(Decode(gif.substr(0, gif.size() - 4), p));
    EXPECT_EQ(p.frames.size(), 1u);
}

std::string Jpeg(int w, int h) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = static_cast<JDIMENSION>(w);
    c.image_height = static_cast<JDIMENSION>(h);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(w) * 3);
    for (int x = 0; x < w; ++x) row[static_cast<size_t>(x) * 3] = 250, row[static_cast<size_t>(x) * 3 + 1] = 10, row[static_cast<size_t>(x) * 3 + 2] = 10;
    while (c.next_scanline < c.image_height) {
        unsigned char* p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    std::string bytes(reinterpret_cast<char*>(out), size);
    jpeg_destroy_compress(&c);
    free(out);
    return bytes;
}

TEST(PictureLoader, JpegDecodesAndDamageIsRefusedOrKeptWithoutCrash) {
    const std::string j = Jpeg(17, 9);
    Picture p;
    ASSERT_TRUE(Decode(j, p));
    EXPECT_EQ(p.width, 17);
    EXPECT_EQ(p.height, 9);
    const uint32_t px = p.frames[0].pixels[40];
    EXPECT_GT((px >> 16) & 0xFF, 200u);
    EXPECT_LT(px & 0xFF, 50u);
    Picture broken;
    EXPECT_FALSE(Decode(j.substr(0, 20), broken));
    EXPECT_TRUE(broken.frames.empty());
}

TEST(PictureLoader, UnknownAndOversizedAreRefused) {
    Picture p;
    EXPECT_FALSE(Decode("not a picture", p));
    EXPECT_FALSE(Decode("", p));
    std::string huge = Bmp24(1, 1, false);
    huge.replace(18, 4, Le32(30000));
    huge.replace(22, 4, Le32(30000));
    EXPECT_FALSE(Decode(huge, p));
    EXPECT_EQ(Sniff("GIF89a"), Format::Gif);
    EXPECT_EQ(Sniff("\xFF\xD8\xFF\xE0"), Format::Jpeg);
}

}  // namespace
}  // namespace qlm::pictures
