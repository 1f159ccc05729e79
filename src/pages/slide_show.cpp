#include "pages/slide_show.h"

#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <type_traits>

#include "content/catalogue.h"
#include "base/text_codec.h"
#include "content/text_case.h"
#include "pages/fit_picture.h"
#include "playback/bitmap_font.h"
#include "win/handles.h"
#include "win/printer.h"

namespace qlm {
namespace {

constexpr UINT_PTR kTimer3 = 3;
constexpr UINT_PTR kCaptionTimer = 2;  // the 90 ms scroll of the caption
constexpr UINT kCaptionInterval = 90;
constexpr int kCaptionHeight = 19;
constexpr UINT kPrintCommand = 1;

int RandomBelow(int n) {
    static std::mt19937 engine(GetTickCount());
    return std::uniform_int_distribution<int>(0, n - 1)(engine);
}

bool IsSlideFile(std::u16string_view name) {
    if (name.size() < 4) return false;
    std::u16string ext = UpperCase(name.substr(name.size() - 4));
    return ext == u".JPG" || ext == u".BMP";
}

// A hidden child of the main window; the layout gives it its place.
template <class W>
bool CreateHiddenChild(W& window, const wchar_t* className, HWND parent) {
    W::RegisterWindowClass(className, CS_HREDRAW | CS_VREDRAW);
    win::CreateParams p;
    p.className = className;
    p.style = WS_CHILD | WS_CLIPSIBLINGS;
    p.parent = parent;
    p.x = p.y = 0;
    p.width = p.height = 1;
    return window.Create(p);
}

}  // namespace

// ImagePanel: the fitted picture on the page's background; it also carries
// the delay timer and the print menu.
class TSlideShow::ImagePanel : public win::Window {
public:
    explicit ImagePanel(TSlideShow& owner) : owner_(owner) {}
    bool CreateIn(HWND parent) { return CreateHiddenChild(*this, L"TSlideImage", parent); }
    PictureRect fitted{};

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_ERASEBKGND:
                return 1;
            case WM_PAINT:
                ImagePaint();
                return 0;
            case WM_SIZE:
                owner_.Fit();
                return 0;
            case WM_TIMER:
                if (wParam == kTimer3) owner_.Timer3Timer();
                return 0;
            case WM_CONTEXTMENU:
                ImageContextMenu(lParam);
                return 0;
            default:
                return Default(msg, wParam, lParam);
        }
    }

private:
    void ImagePaint() {
        win::PaintScope paint(hwnd());
        RECT client{};
        GetClientRect(hwnd(), &client);
        // Double-buffered: the picture is stretched into a memory bitmap first.
        HDC dc = paint.dc();
        win::UniqueMemoryDc mem(CreateCompatibleDC(dc));
        win::UniqueBitmap buffer(CreateCompatibleBitmap(dc, client.right, client.bottom));
        win::SelectScope keep(mem.get(), buffer.get());
        FillRect(mem.get(), &client, GetSysColorBrush(COLOR_3DFACE));
        const SkinPicture& pic = owner_.picture_;
        if (!pic.Empty() && fitted.width > 0 && fitted.height > 0) {
            win::UniqueMemoryDc src(CreateCompatibleDC(dc));
            win::SelectScope keepSrc(src.get(), pic.Handle());
            SetStretchBltMode(mem.get(), HALFTONE);
            SetBrushOrgEx(mem.get(), 0, 0, nullptr);
            StretchBlt(mem.get(), fitted.left, fitted.top, fitted.width, fitted.height, src.get(), 0, 0, pic.Width(),
                       pic.Height(), SRCCOPY);
        }
        BitBlt(dc, 0, 0, client.right, client.bottom, mem.get(), 0, 0, SRCCOPY);
    }

    void ImageContextMenu(LPARAM lParam) {
        std::unique_ptr<std::remove_pointer_t<HMENU>, decltype(&DestroyMenu)> menu(CreatePopupMenu(), &DestroyMenu);
        AppendMenuW(menu.get(), MF_STRING | (win::PrinterInstalled() ? 0 : MF_GRAYED), kPrintCommand, L"&Print");
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (at.x == -1 && at.y == -1) {
            at = {0, 0};
            ClientToScreen(hwnd(), &at);
        }
        UINT chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
        if (chosen == kPrintCommand) owner_.PrintSlide();
    }

    TSlideShow& owner_;
};

// MoveStrSlideImage: the caption, scrolled from an off-screen strip.
class TSlideShow::CaptionLine : public win::Window {
public:
    bool CreateIn(HWND parent) { return CreateHiddenChild(*this, L"TSlideCaption", parent); }

    void SetText(const std::u16string& text, TMyFontClass* font) {
        font_ = font;
        text_ = font ? ShortenSlideCaption(text, [&](const std::u16string& s) { return font->TextWidth(s); }) : text;
        textWidth_ = font ? font->TextWidth(text_) : 0;
        RebuildStrip();
        scroll_.Set(textWidth_, ViewWidth());
        if (hwnd()) {
            SetTimer(hwnd(), kCaptionTimer, kCaptionInterval, nullptr);
            InvalidateRect(hwnd(), nullptr, FALSE);
        }
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_ERASEBKGND:
                return 1;
            case WM_PAINT:
                CaptionPaint();
                return 0;
            case WM_SIZE:
                RebuildStrip();
                scroll_.SetViewWidth(ViewWidth());
                InvalidateRect(hwnd(), nullptr, FALSE);
                return 0;
            case WM_TIMER:
                if (wParam == kCaptionTimer && IsWindowVisible(hwnd()) && scroll_.Tick())
                    InvalidateRect(hwnd(), nullptr, FALSE);
                return 0;
            default:
                return Default(msg, wParam, lParam);
        }
    }

private:
    int ViewWidth() const {
        RECT rc{};
        if (hwnd()) GetClientRect(hwnd(), &rc);
        return rc.right;
    }

    void RebuildStrip() {
        const int view = ViewWidth();
        strip_ = SkinPicture::Blank(std::max(1, StripWidth(textWidth_, view)), kCaptionHeight);
        if (strip_.Empty()) return;
        win::WindowDc screen(nullptr);
        win::UniqueMemoryDc mem(CreateCompatibleDC(screen.get()));
        win::SelectScope keep(mem.get(), strip_.Handle());
        RECT all{0, 0, strip_.Width(), strip_.Height()};
        FillRect(mem.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (!font_ || text_.empty()) return;
        font_->Draw(std::u16string_view(text_), mem.get(), false, RGB(0, 0, 0), 0, 0);
        if (StripHasSecondCopy(textWidth_, view))
            font_->Draw(std::u16string_view(text_), mem.get(), false, RGB(0, 0, 0), 0, textWidth_ + kStripGap);
    }

    void CaptionPaint() {
        win::PaintScope paint(hwnd());
        RECT client{};
        GetClientRect(hwnd(), &client);
        FillRect(paint.dc(), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (strip_.Empty()) return;
        win::UniqueMemoryDc mem(CreateCompatibleDC(paint.dc()));
        win::SelectScope keep(mem.get(), strip_.Handle());
        int width = std::min<int>(client.right, strip_.Width() - scroll_.Offset());
        BitBlt(paint.dc(), 0, 0, width, client.bottom, mem.get(), scroll_.Offset(), 0, SRCCOPY);
    }

    TMyFontClass* font_ = nullptr;
    std::u16string text_;
    int textWidth_ = 0;
    SkinPicture strip_;
    CaptionScroll scroll_;
};

TSlideShow::TSlideShow() = default;
TSlideShow::~TSlideShow() = default;

HWND TSlideShow::ImageWindow() const { return image_ ? image_->hwnd() : nullptr; }

void TSlideShow::Create(const Frame& frame) {
    frame_ = frame;
    AlignLayout& layout = *frame_.layout;
    captionBox_ = layout.Add(frame_.pageBox, "MoveStrSlideImage", Align::Bottom, kCaptionHeight);
    imageBox_ = layout.Add(frame_.pageBox, "ImagePanel", Align::Client);
    layout.SetVisible(captionBox_, false);
    image_ = std::make_unique<ImagePanel>(*this);
    captionLine_ = std::make_unique<CaptionLine>();
    if (image_->CreateIn(frame_.parent)) frame_.aligned->Bind(imageBox_, image_->hwnd());
    if (captionLine_->CreateIn(frame_.parent)) frame_.aligned->Bind(captionBox_, captionLine_->hwnd());
    spinEdit1_ = CreateWindowExW(0, L"EDIT", L"5", WS_CHILD | ES_NUMBER, 0, 0, 24, 18, frame_.parent, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    if (spinEdit1_) SendMessageW(spinEdit1_, EM_LIMITTEXT, 2, 0);
    StartTimer3();
}

void TSlideShow::Load(Catalogue& catalogue) {
    Clear();
    catalogue_ = &catalogue;
    DiskSettings& settings = catalogue.settings;
    if (!settings.SlidesEnabled) return;
    if (settings.PictureListInFile) {
        for (const TTSlideList& s : catalogue.slides)
            slides_.push_back({catalogue.DiskText(s.File), s.Caption, s.Caption2});
        captionsShown_ = true;
    } else {
        // The folder as the listing returns it; pictures only, no captions.
        std::wstring pattern = win::Wide(catalogue.root) + L"Picture\\*";
        WIN32_FIND_DATAW found{};
        win::UniqueFind find(FindFirstFileW(pattern.c_str(), &found));
        if (find) {
            do {
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
                std::u16string name = win::U16(found.cFileName);
                if (!IsSlideFile(name)) continue;
                slides_.push_back({std::move(name), {}, {}});
            } while (FindNextFileW(find.get(), &found));
        }
        captionsShown_ = false;
    }
    if (slides_.empty()) {
        settings.SlidesEnabled = false;
        return;
    }
    enabled_ = true;
    order_.Reset(static_cast<int>(slides_.size()));
    frame_.layout->SetVisible(captionBox_, captionsShown_);
    ShowSlide(true);
}

void TSlideShow::Clear() {
    slides_.clear();
    order_.Reset(0);
    enabled_ = false;
    picture_ = SkinPicture();
    caption_.clear();
    catalogue_ = nullptr;
    if (image_ && image_->hwnd()) InvalidateRect(image_->hwnd(), nullptr, FALSE);
}

bool TSlideShow::LoadSlide(int number) {
    if (!catalogue_ || number < 1 || number > static_cast<int>(slides_.size())) return false;
    const Slide& slide = slides_[static_cast<size_t>(number - 1)];
    std::u16string path = catalogue_->root + u"Picture\\" + slide.file;
    // The panel stays hidden while a picture fails, until the next good one.
    frame_.layout->SetVisible(imageBox_, false);
    SkinPicture picture = frame_.loadPicture ? frame_.loadPicture(path) : SkinPicture();
    if (picture.Empty()) {
        frame_.aligned->Relayout(frame_.parent);
        return false;
    }
    picture_ = std::move(picture);
    frame_.layout->SetVisible(imageBox_, true);
    frame_.aligned->Relayout(frame_.parent);
    Fit();
    if (captionsShown_) SetCaption(slide);
    return true;
}

void TSlideShow::ShowSlide(bool forward) {
    if (!enabled_) return;
    order_.Step(forward, [this](int n) { return LoadSlide(n); }, RandomBelow);
}

void TSlideShow::SetCaption(const Slide& slide) {
    const bool second = catalogue_->secondLanguageActive && catalogue_->settings.DualLanguageSlides;
    const uint8_t charset = second ? catalogue_->settings.Charset2 : catalogue_->settings.Charset1;
    caption_ = DecodeText(second ? slide.caption2 : slide.caption, charset);
    captionLine_->SetText(caption_, frame_.font);
}

void TSlideShow::Fit() {
    if (!image_ || !image_->hwnd()) return;
    RECT rc{};
    GetClientRect(image_->hwnd(), &rc);
    auto fitted = FitPicture(rc.right, rc.bottom, picture_.Width(), picture_.Height());
    if (fitted) image_->fitted = *fitted;
    InvalidateRect(image_->hwnd(), nullptr, FALSE);
}

void TSlideShow::PageShown() {
    frame_.aligned->Relayout(frame_.parent);
    Fit();
}

void TSlideShow::StartTimer3() {
    if (image_ && image_->hwnd()) SetTimer(image_->hwnd(), kTimer3, static_cast<UINT>(delay_) * 1000u, nullptr);
}

void TSlideShow::Timer3Timer() {
    if (enabled_ && autoAdvance_ && (!frame_.pageIsCurrent || frame_.pageIsCurrent())) ShowSlide(true);
}

void TSlideShow::NextBitBtnClick(bool next) {
    if (image_ && image_->hwnd()) KillTimer(image_->hwnd(), kTimer3);
    if (enabled_) ShowSlide(next);
    StartTimer3();
}

void TSlideShow::PlayPicBtnClick(bool play) { autoAdvance_ = play; }

void TSlideShow::SetDelay(int seconds) {
    if (seconds < 1) return;
    delay_ = seconds;
    StartTimer3();  // SetTimer on the same id replaces the interval
}

void TSlideShow::PlusBtnClick(int delta) {
    if (!spinEdit1_) return;
    wchar_t text[8] = {};
    GetWindowTextW(spinEdit1_, text, static_cast<int>(std::size(text)));
    const std::optional<std::u16string> next = StepDelayField(win::U16(text), delta);
    if (!next) return;
    SetWindowTextW(spinEdit1_, win::Wide(*next).c_str());
    SpinEdit1Change();
}

void TSlideShow::SpinEdit1Change() {
    wchar_t text[8] = {};
    GetWindowTextW(spinEdit1_, text, static_cast<int>(std::size(text)));
    const std::optional<int> seconds = DelayFieldValue(win::U16(text));
    if (!seconds || *seconds < 1 || *seconds > 99) return;
    if (image_ && image_->hwnd()) KillTimer(image_->hwnd(), kTimer3);
    delay_ = *seconds;
    StartTimer3();
}

void TSlideShow::PrintSlide() {
    if (picture_.Empty()) return;
    auto printer = win::ChoosePrinter(frame_.parent);
    if (!printer) return;
    win::PageMetrics page = win::PageMetricsOf(printer->dc());
    win::WindowDc screen(nullptr);
    const int screenX = GetDeviceCaps(screen.get(), LOGPIXELSX), screenY = GetDeviceCaps(screen.get(), LOGPIXELSY);
    if (screenX <= 0 || screenY <= 0) return;
    // The picture at the page's top-left, as large on paper as on the screen.
    const int width = MulDiv(picture_.Width(), page.dpiX, screenX);
    const int height = MulDiv(picture_.Height(), page.dpiY, screenY);
    win::PrintJob job(printer->dc(), L"");
    if (!job.Started() || !job.BeginPage()) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture_.Width();
    info.bmiHeader.biHeight = -picture_.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(printer->dc(), 0, 0, width, height, 0, 0, picture_.Width(), picture_.Height(), picture_.Pixels(),
                  &info, DIB_RGB_COLORS, SRCCOPY);
    job.EndPage();
    job.Finish();
}

}  // namespace qlm
