// The slide show on the slides page: the disk's pictures one at a time,
// fitted into the page, with a scrolling caption under each when the disk
// lists captions. Steps by buttons, keys or a timer, in disk order or in a
// random order without repeats.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/skin_picture.h"
#include "base/align_layout.h"
#include "content/disk_settings.h"
#include "pages/caption_strip.h"
#include "pages/slide_order.h"
#include "win/align_windows.h"
#include "win/window.h"

namespace qlm {

class Catalogue;
class TMyFontClass;

class TSlideShow {
public:
    // Decodes a picture file (JPEG, BMP); an empty picture when it cannot.
    using PictureLoader = std::function<SkinPicture(const std::u16string& path)>;

    struct Frame {
        HWND parent = nullptr;  // the main window
        AlignLayout* layout = nullptr;
        win::AlignedWindows* aligned = nullptr;
        int pageBox = -1;  // MainSlidePanel
        TMyFontClass* font = nullptr;
        PictureLoader loadPicture;
        // The slides page is the main window's current page.
        std::function<bool()> pageIsCurrent;
    };

    TSlideShow();
    ~TSlideShow();

    void Create(const Frame& frame);
    // The slide list of the loaded disk; shows the first slide. Slides are
    // switched off (in the disk's settings) when there are none.
    void Load(Catalogue& catalogue);
    // Forgets the disk's slides (before the catalogue is released).
    void Clear();
    bool Enabled() const { return enabled_; }

    void ShowSlide(bool forward);
    // NextBitBtn / PreviousBitBtn: a step that restarts the delay.
    void NextBitBtnClick(bool next);
    // PlayPicBtn / StopPicBtn.
    void PlayPicBtnClick(bool play);
    bool AutoAdvance() const { return autoAdvance_; }
    void SetMode(SlideOrder::Mode mode) { order_.SetMode(mode); }
    SlideOrder::Mode Mode() const { return order_.GetMode(); }
    // A delay menu item: seconds of one of the offered delays.
    void SetDelay(int seconds);
    int Delay() const { return delay_; }
    // PlusBtn (+1) / MinusBtn (-1) of the hidden delay field: 1 to 99 seconds.
    void PlusBtnClick(int delta);
    // The delay field holds a new number: it becomes the delay.
    void SpinEdit1Change();
    HWND DelayField() const { return spinEdit1_; }
    // Page Up / Page Down: a step that leaves the timer alone.
    void KeyStep(bool forward) { ShowSlide(forward); }

    // The slides page became visible or the window was resized: refit.
    void PageShown();
    // The picture of the current slide to the printer (the image's "&Print").
    void PrintSlide();

    int CurrentSlide() const { return order_.Current(); }
    const std::u16string& CaptionText() const { return caption_; }
    HWND ImageWindow() const;

private:
    struct Slide {
        std::u16string file;  // relative to {root}Picture\.
        std::string caption, caption2;
    };
    class ImagePanel;
    class CaptionLine;
    void Timer3Timer();
    void StartTimer3();
    bool LoadSlide(int number);
    void SetCaption(const Slide& slide);
    void Fit();

    Frame frame_;
    Catalogue* catalogue_ = nullptr;
    std::vector<Slide> slides_;
    SlideOrder order_;
    bool enabled_ = false;
    bool captionsShown_ = false;
    bool autoAdvance_ = false;
    int delay_ = 5;
    int imageBox_ = -1;
    int captionBox_ = -1;
    std::u16string caption_;
    SkinPicture picture_;
    std::unique_ptr<ImagePanel> image_;
    std::unique_ptr<CaptionLine> captionLine_;
    HWND spinEdit1_ = nullptr;  // hidden: two characters, "5" to begin with
};

}  // namespace qlm
