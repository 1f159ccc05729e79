#include "pages/picture_loader.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

extern "C" {
#include <gif_lib.h>
#include <jpeglib.h>
}

#include "base/file_path.h"

namespace qlm::pictures {
namespace {

constexpr uint32_t kOpaque = 0xFF000000u;
// All frames of one animation together stay below this many pixels.
constexpr int64_t kMaxAnimationPixels = 64'000'000;

bool SizeOk(int64_t w, int64_t h) { return w > 0 && h > 0 && w <= 30000 && h <= 30000 && w * h <= kMaxPixels; }

// ---- JPEG -------------------------------------------------------------------

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void JpegFail(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}
void JpegQuiet(j_common_ptr, int) {}
void JpegNoMessage(j_common_ptr) {}

// The state lives on the heap so nothing the decoder touches is a local
// that longjmp would leave indeterminate.
struct JpegJob {
    jpeg_decompress_struct info;
    JpegError err;
    std::vector<unsigned char> row;
    Picture* out = nullptr;
};

bool DecodeJpeg(std::string_view bytes, Picture& out) {
    auto job = std::make_unique<JpegJob>();
    job->out = &out;
    JpegJob* j = job.get();
    j->info.err = jpeg_std_error(&j->err.mgr);
    j->err.mgr.error_exit = JpegFail;
    j->err.mgr.emit_message = JpegQuiet;
    j->err.mgr.output_message = JpegNoMessage;
    if (setjmp(j->err.jump)) {
        jpeg_destroy_decompress(&j->info);
        j->out->frames.clear();
        return false;
    }
    jpeg_create_decompress(&j->info);
    jpeg_mem_src(&j->info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&j->info, TRUE) != JPEG_HEADER_OK || !SizeOk(j->info.image_width, j->info.image_height)) {
        jpeg_destroy_decompress(&j->info);
        return false;
    }
    const bool cmyk = j->info.jpeg_color_space == JCS_CMYK || j->info.jpeg_color_space == JCS_YCCK;
    j->info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&j->info);
    const int w = static_cast<int>(j->info.output_width), h = static_cast<int>(j->info.output_height);
    if (!SizeOk(w, h) || j->info.output_components != 4) {
        jpeg_destroy_decompress(&j->info);
        return false;
    }
    j->out->width = w;
    j->out->height = h;
    j->out->frames.resize(1);
    std::vector<uint32_t>& px = j->out->frames[0].pixels;
    px.assign(static_cast<size_t>(w) * static_cast<size_t>(h), kOpaque);
    j->row.resize(static_cast<size_t>(w) * 4);
    while (j->info.output_scanline < j->info.output_height) {
        const int y = static_cast<int>(j->info.output_scanline);
        unsigned char* rowPtr = j->row.data();
        if (jpeg_read_scanlines(&j->info, &rowPtr, 1) != 1) break;
        uint32_t* dst = px.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
        const unsigned char* s = j->row.data();
        for (int x = 0; x < w; ++x, s += 4) {
            if (cmyk) {
                // Adobe writes CMYK inverted; each channel times K gives RGB.
                const unsigned k = s[3];
                const unsigned r = s[0] * k / 255, g = s[1] * k / 255, b = s[2] * k / 255;
                dst[x] = kOpaque | (r << 16) | (g << 8) | b;
            } else {
                dst[x] = kOpaque | (static_cast<uint32_t>(s[2]) << 16) | (static_cast<uint32_t>(s[1]) << 8) | s[0];
            }
        }
    }
    jpeg_finish_decompress(&j->info);
    jpeg_destroy_decompress(&j->info);
    return true;
}

// ---- GIF --------------------------------------------------------------------

struct GifInput {
    std::string_view bytes;
    size_t at = 0;
};

int GifRead(GifFileType* gif, GifByteType* buf, int len) {
    auto* in = static_cast<GifInput*>(gif->UserData);
    if (len <= 0) return 0;
    const size_t n = std::min(static_cast<size_t>(len), in->bytes.size() - in->at);
    std::memcpy(buf, in->bytes.data() + in->at, n);
    in->at += n;
    return static_cast<int>(n);
}

bool DecodeGif(std::string_view bytes, Picture& out) {
    GifInput input{bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, GifRead, &error);
    if (!gif) return false;
    const int slurp = DGifSlurp(gif);
    int count = gif->ImageCount;
    if (slurp != GIF_OK) count = std::max(0, count - 1);  // the last image may be half read
    int w = gif->SWidth, h = gif->SHeight;
    if (count > 0 && (w <= 0 || h <= 0)) {
        w = gif->SavedImages[0].ImageDesc.Left + gif->SavedImages[0].ImageDesc.Width;
        h = gif->SavedImages[0].ImageDesc.Top + gif->SavedImages[0].ImageDesc.Height;
    }
    if (count <= 0 || !SizeOk(w, h)) {
        DGifCloseFile(gif, &error);
        return false;
    }
    out.width = w;
    out.height = h;
    const size_t area = static_cast<size_t>(w) * static_cast<size_t>(h);
    std::vector<uint32_t> canvas(area, 0), saved;
    int64_t used = 0;
    int prevDisposal = DISPOSAL_UNSPECIFIED;
    GifImageDesc prevDesc{};
    for (int i = 0; i < count; ++i) {
        const SavedImage& img = gif->SavedImages[i];
        const GifImageDesc& d = img.ImageDesc;
        if (!img.RasterBits) break;
        if (used + static_cast<int64_t>(area) > kMaxAnimationPixels && !out.frames.empty()) break;
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, i, &gcb);
        // What the previous frame asked to leave behind.
        if (i > 0) {
            if (prevDisposal == DISPOSE_BACKGROUND) {
                for (int y = std::max(0, prevDesc.Top); y < std::min(h, prevDesc.Top + prevDesc.Height); ++y)
                    for (int x = std::max(0, prevDesc.Left); x < std::min(w, prevDesc.Left + prevDesc.Width); ++x)
                        canvas[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = 0;
            } else if (prevDisposal == DISPOSE_PREVIOUS && !saved.empty()) {
                canvas = saved;
            }
        }
        if (gcb.DisposalMode == DISPOSE_PREVIOUS) saved = canvas;
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        if (map && map->Colors) {
            for (int y = 0; y < d.Height; ++y) {
                const int cy = d.Top + y;
                if (cy < 0 || cy >= h) continue;
                for (int x = 0; x < d.Width; ++x) {
                    const int cx = d.Left + x;
                    if (cx < 0 || cx >= w) continue;
                    const int index = img.RasterBits[static_cast<size_t>(y) * static_cast<size_t>(d.Width) + static_cast<size_t>(x)];
                    if (index == gcb.TransparentColor || index >= map->ColorCount) continue;
                    const GifColorType& c = map->Colors[index];
                    canvas[static_cast<size_t>(cy) * static_cast<size_t>(w) + static_cast<size_t>(cx)] =
                        kOpaque | (static_cast<uint32_t>(c.Red) << 16) | (static_cast<uint32_t>(c.Green) << 8) | c.Blue;
                }
            }
        }
        Frame f;
        f.pixels = canvas;
        // Browsers show "as fast as possible" frames for a tenth of a second.
        f.delayMs = gcb.DelayTime <= 1 ? 100 : gcb.DelayTime * 10;
        out.frames.push_back(std::move(f));
        used += static_cast<int64_t>(area);
        prevDisposal = gcb.DisposalMode;
        prevDesc = d;
    }
    DGifCloseFile(gif, &error);
    if (out.frames.size() == 1) out.frames[0].delayMs = 0;
    return !out.frames.empty();
}

// ---- BMP --------------------------------------------------------------------

uint32_t U32(std::string_view b, size_t at) {
    if (at + 4 > b.size()) return 0;
    return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) | static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 | static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
uint16_t U16(std::string_view b, size_t at) {
    if (at + 2 > b.size()) return 0;
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

// A channel taken through a bit mask and widened to 8 bits.
uint32_t Channel(uint32_t v, uint32_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!(mask & 1u)) mask >>= 1, v >>= 1, ++shift;
    int bits = 0;
    while (mask & 1u) mask >>= 1, ++bits;
    const uint32_t max = (bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1u);
    return max ? ((v & max) * 255u + max / 2) / max : 0;
}

bool DecodeBmp(std::string_view b, Picture& out) {
    if (b.size() < 26) return false;
    const uint32_t dataOffset = U32(b, 10);
    const uint32_t headerSize = U32(b, 14);
    int64_t w, h;
    int bits;
    uint32_t compression = 0, colorsUsed = 0;
    uint32_t masks[3] = {0, 0, 0};
    size_t paletteAt, paletteEntry;
    if (headerSize == 12) {
        w = U16(b, 18);
        h = static_cast<int16_t>(U16(b, 20));
        bits = U16(b, 24);
        paletteAt = 26;
        paletteEntry = 3;
    } else if (headerSize >= 40 && headerSize <= 1024) {
        w = static_cast<int32_t>(U32(b, 18));
        h = static_cast<int32_t>(U32(b, 22));
        bits = U16(b, 28);
        compression = U32(b, 30);
        colorsUsed = U32(b, 46);
        paletteAt = 14 + headerSize;
        paletteEntry = 4;
        if (compression == 3) {  // BI_BITFIELDS: masks after a 40-byte header, or inside a longer one
            const size_t at = 54;
            masks[0] = U32(b, at);
            masks[1] = U32(b, at + 4);
            masks[2] = U32(b, at + 8);
            if (headerSize == 40) paletteAt += 12;
        }
    } else {
        return false;
    }
    const bool topDown = h < 0;
    if (topDown) h = -h;
    if (!SizeOk(w, h)) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (compression != 0 && compression != 1 && compression != 2 && compression != 3) return false;
    std::vector<uint32_t> palette;
    if (bits <= 8) {
        size_t n = colorsUsed ? colorsUsed : (1u << bits);
        n = std::min<size_t>(n, 256);
        for (size_t i = 0; i < n; ++i) {
            const size_t at = paletteAt + i * paletteEntry;
            if (at + 3 > b.size()) break;
            palette.push_back(kOpaque | static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
                              static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
                              static_cast<unsigned char>(b[at]));
        }
        if (palette.empty()) return false;
    }
    if (dataOffset >= b.size()) return false;
    const std::string_view data = b.substr(dataOffset);
    const int iw = static_cast<int>(w), ih = static_cast<int>(h);
    out.width = iw;
    out.height = ih;
    out.frames.resize(1);
    std::vector<uint32_t>& px = out.frames[0].pixels;
    px.assign(static_cast<size_t>(iw) * static_cast<size_t>(ih), kOpaque);
    auto put = [&](int x, int fileRow, uint32_t c) {
        if (x < 0 || x >= iw || fileRow < 0 || fileRow >= ih) return;
        const int y = topDown ? fileRow : ih - 1 - fileRow;
        px[static_cast<size_t>(y) * static_cast<size_t>(iw) + static_cast<size_t>(x)] = c;
    };
    auto pal = [&](unsigned i) { return i < palette.size() ? palette[i] : kOpaque; };

    if (compression == 1 || compression == 2) {  // RLE8 / RLE4
        if ((compression == 1 && bits != 8) || (compression == 2 && bits != 4)) return false;
        int x = 0, row = 0;
        size_t i = 0;
        while (i + 1 < data.size() && row < ih) {
            const auto n = static_cast<unsigned char>(data[i]);
            const auto v = static_cast<unsigned char>(data[i + 1]);
            i += 2;
            if (n > 0) {
                for (unsigned k = 0; k < n; ++k, ++x)
                    put(x, row, pal(compression == 1 ? v : (k % 2 ? v & 0x0F : v >> 4)));
            } else if (v == 0) {
                x = 0;
                ++row;
            } else if (v == 1) {
                break;
            } else if (v == 2) {
                if (i + 1 >= data.size()) break;
                x += static_cast<unsigned char>(data[i]);
                row += static_cast<unsigned char>(data[i + 1]);
                i += 2;
            } else {
                const unsigned count = v;
                const size_t bytes = compression == 1 ? count : (count + 1) / 2;
                for (unsigned k = 0; k < count; ++k, ++x) {
                    const size_t at = i + (compression == 1 ? k : k / 2);
                    if (at >= data.size()) break;
                    const auto byte = static_cast<unsigned char>(data[at]);
                    put(x, row, pal(compression == 1 ? byte : (k % 2 ? byte & 0x0F : byte >> 4)));
                }
                i += bytes + (bytes % 2);
            }
        }
        return true;
    }
    const size_t stride = ((static_cast<size_t>(iw) * static_cast<size_t>(bits) + 31) / 32) * 4;
    if (bits == 16 && compression == 0) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    for (int row = 0; row < ih; ++row) {
        const size_t base = static_cast<size_t>(row) * stride;
        if (base >= data.size()) break;  // a short file keeps what it has
        const unsigned char* p = reinterpret_cast<const unsigned char*>(data.data()) + base;
        const size_t have = std::min(stride, data.size() - base);
        for (int x = 0; x < iw; ++x) {
            const size_t bitAt = static_cast<size_t>(x) * static_cast<size_t>(bits);
            if ((bitAt + static_cast<size_t>(bits) + 7) / 8 > have) break;
            uint32_t c;
            switch (bits) {
            case 1: c = pal((p[bitAt / 8] >> (7 - bitAt % 8)) & 1); break;
            case 4: c = pal((p[bitAt / 8] >> (bitAt % 8 ? 0 : 4)) & 0x0F); break;
            case 8: c = pal(p[x]); break;
            case 16: {
                const uint32_t v = static_cast<uint32_t>(p[x * 2] | p[x * 2 + 1] << 8);
                c = kOpaque | Channel(v, masks[0]) << 16 | Channel(v, masks[1]) << 8 | Channel(v, masks[2]);
                break;
            }
            case 24: c = kOpaque | static_cast<uint32_t>(p[x * 3 + 2]) << 16 | static_cast<uint32_t>(p[x * 3 + 1]) << 8 | p[x * 3]; break;
            default: {
                const uint32_t v = static_cast<uint32_t>(p[x * 4]) | static_cast<uint32_t>(p[x * 4 + 1]) << 8 |
                                   static_cast<uint32_t>(p[x * 4 + 2]) << 16 | static_cast<uint32_t>(p[x * 4 + 3]) << 24;
                // The fourth byte of 32-bit pictures is rarely a real alpha: shown opaque.
                c = compression == 3 ? kOpaque | Channel(v, masks[0]) << 16 | Channel(v, masks[1]) << 8 | Channel(v, masks[2])
                                     : kOpaque | (v & 0xFFFFFFu);
                break;
            }
            }
            put(x, row, c);
        }
    }
    return true;
}

}  // namespace

Format Sniff(std::string_view b) {
    if (b.size() >= 3 && static_cast<unsigned char>(b[0]) == 0xFF && static_cast<unsigned char>(b[1]) == 0xD8 &&
        static_cast<unsigned char>(b[2]) == 0xFF)
        return Format::Jpeg;
    if (b.size() >= 6 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a")) return Format::Gif;
    if (b.size() >= 2 && b.substr(0, 2) == "BM") return Format::Bmp;
    return Format::Unknown;
}

bool Decode(std::string_view bytes, Picture& out) {
    out = Picture{};
    bool ok = false;
    switch (Sniff(bytes)) {
    case Format::Jpeg: ok = DecodeJpeg(bytes, out); break;
    case Format::Gif: ok = DecodeGif(bytes, out); break;
    case Format::Bmp: ok = DecodeBmp(bytes, out); break;
    case Format::Unknown: break;
    }
    if (!ok || out.frames.empty()) {
        out = Picture{};
        return false;
    }
    for (const Frame& f : out.frames) {
        for (uint32_t p : f.pixels)
            if ((p >> 24) != 0xFF) {
                out.transparent = true;
                break;
            }
        if (out.transparent) break;
    }
    return true;
}

bool Load(const std::filesystem::path& path, Picture& out) {
    std::string bytes;
    out = Picture{};
    if (!ReadWholeFile(path, bytes)) return false;
    return Decode(bytes, out);
}

}  // namespace qlm::pictures
