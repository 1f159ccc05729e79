// What the text window shows: texts, the no-text notice, video descriptions,
// pictures; and printing the shown text.
#include <optional>

#include "content/catalogue.h"
#include "lang/language.h"
#include "pages/fit_picture.h"
#include "pages/html_pane.h"
#include "pages/text_form.h"
#include "pages/text_lookup.h"
#include "win/printer.h"

namespace qlm {
namespace {

bool FileThere(const std::u16string& path) {
    DWORD a = GetFileAttributesW(win::Wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Failures while showing are swallowed: the view stays as far as it got.
template <class F>
void Quietly(F&& f) {
    try {
        f();
    } catch (...) {
    }
}

}  // namespace

void TForm4::ShowText(const std::u16string& path, const std::u16string& title, bool isTextEntry) {
    if (docking_) return;
    Quietly([&] {
        TextChoice choice = isTextEntry ? ChooseEntryText(root_, path, FileThere) : ChooseSongText(root_, path, FileThere);
        switch (choice.kind) {
            case TextKind::Html:
                ShowHtml(choice.file);
                break;
            case TextKind::Rich:
                ShowRich(choice.file);
                break;
            case TextKind::NoText:
                ShowNoText(title);
                break;
        }
    });
    if (site_.activate) site_.activate();
}

void TForm4::ShowHtml(const std::u16string& file) {
    EnableWindow(backTextPanel_, FALSE);  // until the view reports the load finished
    ShowWindow(backTextPanel_, SW_HIDE);
    ShowWindow(richPanel_, SW_HIDE);
    ShowWindow(previewHtml_->Window(), SW_HIDE);
    ShowWindow(image2_.hwnd(), SW_HIDE);
    ShowWindow(gifAnimator_.hwnd(), SW_HIDE);
    currentHtml_ = file;
    previewHtml_->Navigate(file);
    ShowWindow(previewHtml_->Window(), SW_SHOW);
    ShowWindow(backTextPanel_, SW_SHOW);
}

void TForm4::ShowRich(const std::u16string& file) {
    try {
        richView_.LoadFile(file);  // a read error leaves the view empty
        // What the view left for later runs once this selection has painted.
        if (richView_.HasPendingWork()) PostMessageW(hwnd(), kCompleteLoadMessage, 0, 0);
        ShowWindow(richPanel_, SW_SHOW);
        ShowWindow(previewHtml_->Window(), SW_HIDE);
        ShowWindow(image2_.hwnd(), SW_HIDE);
        ShowWindow(gifAnimator_.hwnd(), SW_HIDE);
        FormResize();
    } catch (...) {
        ShowWindow(richPanel_, SW_HIDE);
    }
}

void TForm4::ShowNoText(const std::u16string& title) {
    richView_.Clear();  // a fresh control: the batch below is for that one
    win::RedrawScope batch(richView_.hwnd());
    ShowWindow(richPanel_, SW_SHOW);
    ShowWindow(previewHtml_->Window(), SW_HIDE);
    ShowWindow(image2_.hwnd(), SW_HIDE);
    ShowWindow(gifAnimator_.hwnd(), SW_HIDE);
    richView_.AddLine(title);
    win::WindowDc screen(nullptr);
    win::SelectScope font(screen.get(), tmpLabelFont_ ? static_cast<HGDIOBJ>(tmpLabelFont_.get())
                                                      : GetStockObject(DEFAULT_GUI_FONT));
    auto width = [&](std::u16string_view s) {
        SIZE size{};
        std::wstring w(s.begin(), s.end());
        GetTextExtentPoint32W(screen.get(), w.c_str(), static_cast<int>(w.size()), &size);
        return static_cast<int>(size.cx);
    };
    richView_.AddLine(NoTextRule(title, width));
    richView_.AddLine(lang::Text("Other", "NoText"));
    SendMessageW(richView_.hwnd(), EM_SETSEL, 0, 0);
    if (richView_.HasPendingWork()) PostMessageW(hwnd(), kCompleteLoadMessage, 0, 0);
}

void TForm4::ShowVideoDescription(const std::u16string& videoPath, const TTVideoNode* video) {
    Quietly([&] {
        std::u16string picture = video ? catalogue_->DiskText(video->Picture) : std::u16string();
        std::u16string title = catalogue_->DiskText(catalogue_->settings.TitlePicture);
        VideoChoice c = ChooseVideoDescription(root_, videoPath, picture, title, FileThere);
        if (c.kind != TextKind::NoText) ShowWindow(image2_.hwnd(), SW_HIDE);
        ShowWindow(gifAnimator_.hwnd(), SW_HIDE);
        ShowWindow(richPanel_, SW_HIDE);
        if (c.kind != TextKind::Html) ShowWindow(previewHtml_->Window(), SW_HIDE);
        switch (c.kind) {
            case TextKind::Rich:
                ShowRich(c.file);
                break;
            case TextKind::Html:
                currentHtml_ = c.file;
                previewHtml_->Navigate(c.file);
                ShowWindow(previewHtml_->Window(), SW_SHOW);
                break;
            case TextKind::NoText:
                if (!c.picture.empty()) ShowPicture(c.picture, c.ownPicture);
                break;
        }
    });
}

void TForm4::ShowPicture(const std::u16string& path, bool ownPicture) {
    ShowWindow(richPanel_, SW_HIDE);
    ShowWindow(previewHtml_->Window(), SW_HIDE);
    if (path != lastPicture_) {
        PictureFrames frames = LoadPictureFrames(path);
        if (!frames.empty()) {
            image2_.SetFrames(std::move(frames));
            lastPicture_ = path;
        } else if (ownPicture) {
            lastPicture_.clear();
        }
    }
    FitImage();
    ShowWindow(image2_.hwnd(), SW_SHOW);
}

void TForm4::ShowTitlePicture() {
    Quietly([&] {
        const std::string& title = catalogue_->settings.TitlePicture;
        if (title.empty()) return;
        std::u16string path = root_ + catalogue_->DiskText(title);
        if (!FileThere(path)) return;
        if (TitlePictureKindOf(path) == TitlePictureKind::Gif && !gifAnimator_.Empty()) {
            ShowWindow(richPanel_, SW_HIDE);
            ShowWindow(previewHtml_->Window(), SW_HIDE);
            ShowWindow(image2_.hwnd(), SW_HIDE);
            ShowWindow(gifAnimator_.hwnd(), SW_SHOW);
            return;
        }
        ShowPicture(path, false);
    });
}

void TForm4::LoadTitlePictureAtCreation() {
    Quietly([&] {
        const std::string& title = catalogue_->settings.TitlePicture;
        if (title.empty()) return;
        std::u16string path = root_ + catalogue_->DiskText(title);
        if (!FileThere(path)) return;
        switch (TitlePictureKindOf(path)) {
            case TitlePictureKind::Jpeg: {
                PictureFrames frames = LoadPictureFrames(path);
                if (frames.empty()) return;
                image2_.SetFrames(std::move(frames));
                lastPicture_ = path;
                FitImage();
                ShowWindow(image2_.hwnd(), SW_SHOW);
                break;
            }
            case TitlePictureKind::Gif: {
                PictureFrames frames = LoadPictureFrames(path);
                if (frames.empty()) return;
                gifAnimator_.SetFrames(std::move(frames));
                ShowWindow(gifAnimator_.hwnd(), SW_SHOW);
                break;
            }
            case TitlePictureKind::None:
                break;
        }
    });
}

void TForm4::FitImage() {
    if (image2_.Empty()) return;
    RECT rc{};
    GetClientRect(backTextPanel_, &rc);
    if (auto r = FitPicture(rc.right, rc.bottom, image2_.PictureWidth(), image2_.PictureHeight()))
        SetWindowPos(image2_.hwnd(), nullptr, r->left, r->top, r->width, r->height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm4::ShowForNode(const TRDataNode& node, const std::u16string& title) {
    if (node.IsVideoKind()) {
        ShowVideoDescription(catalogue_->DiskText(node.Path), node.Video.get());
        return;
    }
    if (!catalogue_->settings.HasTexts) return;
    if (node.Kind == kKindSong || node.Kind == kKindTextItem) {
        ShowText(catalogue_->DiskText(node.Path), title, false);
    } else if (node.Kind == kKindTextEntry && node.Text) {
        ShowText(catalogue_->DiskText(node.Text->Text), title, true);
    } else {
        ShowTitlePicture();
    }
}

void TForm4::PrintText() {
    if (!win::PrinterInstalled()) return;
    auto printer = win::ChoosePrinter(site_.host ? site_.host : hwnd());
    if (!printer) return;
    richView_.Print(printer->dc());
}

void TForm4::HighlightText(int start, int length) {
    HWND rich = richView_.hwnd();
    if (!rich || start < 0 || length < 0) return;
    // The control keeps one character per line break, so line L starts at
    // its own index + L in the counted offsets: take the breaks before each
    // end off.
    auto toControl = [rich](int offset) {
        int line = 0;
        const int lines = static_cast<int>(SendMessageW(rich, EM_GETLINECOUNT, 0, 0));
        while (line + 1 < lines) {
            const int next = static_cast<int>(SendMessageW(rich, EM_LINEINDEX, line + 1, 0));
            if (next < 0 || offset < next + line + 1) break;
            ++line;
        }
        return offset - line;
    };
    CHARRANGE range{toControl(start), toControl(start + length)};
    SendMessageW(rich, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    SendMessageW(rich, EM_SCROLLCARET, 0, 0);
}

}  // namespace qlm
