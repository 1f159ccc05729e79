// BMP through the system's image loader, JPEG through libjpeg.
#include "pages/text_picture.h"

#include <windows.h>

#include <csetjmp>
#include <cstdio>

#include "win/handles.h"
#include "win/window.h"

#ifdef QLM_HAVE_LIBJPEG
extern "C" {
#include <jpeglib.h>
}
#endif

namespace qlm {
namespace {

std::string ReadAll(const std::u16string& path) {
    win::UniqueFile f(CreateFileW(win::Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return {};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.get(), &size) || size.QuadPart > (256 << 20)) return {};
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return {};
    bytes.resize(read);
    return bytes;
}

PictureFrames FromBitmap(HBITMAP bitmap) {
    BITMAP bm{};
    if (!GetObjectW(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight == 0) return {};
    PictureFrame frame;
    frame.width = bm.bmWidth;
    frame.height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    frame.bgra.resize(static_cast<size_t>(frame.width) * frame.height);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = frame.width;
    bi.bmiHeader.biHeight = -frame.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    win::WindowDc screen(nullptr);
    if (!GetDIBits(screen.get(), bitmap, 0, frame.height, frame.bgra.data(), &bi, DIB_RGB_COLORS)) return {};
    for (auto& p : frame.bgra) p |= 0xFF000000u;
    return {std::move(frame)};
}

PictureFrames LoadBmp(const std::u16string& path) {
    win::UniqueBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(nullptr, win::Wide(path).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!bitmap) return {};
    return FromBitmap(bitmap.get());
}

#ifdef QLM_HAVE_LIBJPEG
struct JpegError {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};
void JpegFail(j_common_ptr cinfo) { longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1); }
void JpegQuiet(j_common_ptr) {}

PictureFrames LoadJpeg(const std::string& bytes) {
    jpeg_decompress_struct cinfo{};
    JpegError err{};
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JpegFail;
    err.mgr.output_message = JpegQuiet;
    PictureFrame frame;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return {};
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&cinfo);
    frame.width = static_cast<int>(cinfo.output_width);
    frame.height = static_cast<int>(cinfo.output_height);
    frame.bgra.resize(static_cast<size_t>(frame.width) * frame.height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(frame.bgra.data() + size_t{cinfo.output_scanline} * frame.width);
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    for (auto& p : frame.bgra) p |= 0xFF000000u;
    return {std::move(frame)};
}
#endif

}  // namespace

PictureFrames LoadPictureFrames(const std::u16string& path) {
    std::string bytes = ReadAll(path);
    if (bytes.size() < 4) return {};
    if (bytes[0] == 'B' && bytes[1] == 'M') return LoadBmp(path);
#ifdef QLM_HAVE_LIBJPEG
    if (static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xD8) return LoadJpeg(bytes);
#endif
    return {};
}

}  // namespace qlm
