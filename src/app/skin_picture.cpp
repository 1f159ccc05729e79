#include "app/skin_picture.h"

#include <cstring>
#include <string>

#include "win/window.h"

namespace qlm {

SkinPicture SkinPicture::Blank(int width, int height) {
    SkinPicture p;
    if (width <= 0 || height <= 0) return p;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP h = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!h || !bits) return p;
    p.bitmap_.reset(h);
    p.bits_ = static_cast<uint32_t*>(bits);
    p.width_ = width;
    p.height_ = height;
    std::memset(bits, 0xFF, static_cast<size_t>(width) * height * 4);
    return p;
}

SkinPicture SkinPicture::CopyOf(HBITMAP source) {
    BITMAP bm{};
    if (!source || !GetObjectW(source, sizeof(bm), &bm)) return {};
    SkinPicture p = Blank(bm.bmWidth, bm.bmHeight);
    if (p.Empty()) return p;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = p.width_;
    bi.bmiHeader.biHeight = -p.height_;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    GdiFlush();
    GetDIBits(screen, source, 0, static_cast<UINT>(p.height_), p.bits_, &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (int i = 0; i < p.width_ * p.height_; ++i) p.bits_[i] &= 0xFFFFFFu;
    return p;
}

SkinPicture LoadSkinPicture(std::wstring_view name) {
    std::wstring upper(name);
    for (auto& c : upper)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    if (upper.empty()) return {};
    HANDLE h = LoadImageW(win::ModuleInstance(), upper.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (!h) return {};
    win::UniqueBitmap loaded(static_cast<HBITMAP>(h));
    return SkinPicture::CopyOf(loaded.get());
}

SkinPicture LoadSkinPicture(std::string_view asciiName) {
    return LoadSkinPicture(std::wstring(asciiName.begin(), asciiName.end()));
}

}  // namespace qlm
