// The text window's modes: hidden, floating, docked in Form4Panel; docking by
// dragging; the splitter of the docked width; the menu items and keys; the
// placement kept in the settings.
#include <algorithm>

#include "app/commands.h"
#include "app/image_button.h"
#include "app/settings_store.h"
#include "base/align_layout.h"
#include "content/catalogue.h"
#include "lang/language.h"
#include "pages/html_pane.h"
#include "pages/text_form.h"
#include "win/splitter_bar.h"

namespace qlm {
namespace {

constexpr int kMinDockWidth = 40;
constexpr int kMinListsWidth = 60;

RECT ToRect(const app::WindowBounds& b) { return {b.left, b.top, b.left + b.width, b.top + b.height}; }
app::WindowBounds ToBounds(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

}  // namespace

// Form4Splitter: a thin child of the main window left of the docked text
// window; dragging it sets the docked width.
class TForm4::Splitter : public win::SplitterBar {
public:
    explicit Splitter(TForm4& owner) : owner_(owner) {}
    bool Create(HWND host) {
        return win::SplitterBar::Create(host, [this](int edge) { Drag(edge); });
    }

private:
    void Drag(int edge) {
        RECT panel = owner_.PanelScreenRect();
        RECT host{};
        GetWindowRect(owner_.site_.host, &host);
        int width = panel.right - edge;
        int most = std::max<int>(kMinDockWidth, panel.right - host.left - kMinListsWidth - 120);
        owner_.SetDockedWidth(std::clamp(width, kMinDockWidth, most));
    }
    TForm4& owner_;
};

TForm4::TForm4() = default;

TForm4::~TForm4() {
    // Closing is allowed only now, when the program (or the disk) goes.
    destroying_ = true;
    splitter_.reset();
    previewHtml_.reset();
    Destroy();
}

void TForm4::AttachDockSite(TextDockSite site) {
    HWND host = site.host ? site.host : site_.host;
    site_ = std::move(site);
    site_.host = host;
    if (site_.textButton) site_.textButton->OnClick = [this](TImageButton&) { TextBtnClick(); };
    if (site_.host && !splitter_) {
        splitter_ = std::make_unique<Splitter>(*this);
        splitter_->Create(site_.host);
    }
    SetTextWindowCaption();
}

void TForm4::BindCommands(CommandTable& commands, std::function<TForm4*()> current) {
    auto item = [current](TextMenuItem which) {
        return [current, which] {
            if (TForm4* f = current()) f->MenuItemClick(which);
        };
    };
    auto checked = [current](TextMenuItem which) {
        return [current, which] {
            TForm4* f = current();
            return f && f->CheckedItem() == which;
        };
    };
    commands.Bind(Cmd::TextWindowNone, item(TextMenuItem::None), {}, checked(TextMenuItem::None));
    commands.Bind(Cmd::TextWindowDock, item(TextMenuItem::Dock), {}, checked(TextMenuItem::Dock));
    commands.Bind(Cmd::TextWindowFloat, item(TextMenuItem::Float), {}, checked(TextMenuItem::Float));
    auto hasTexts = [current] {
        TForm4* f = current();
        return f && f->catalogue_ && f->catalogue_->settings.HasTexts;
    };
    commands.Bind(Cmd::TextWindowToggle, [current] {
        if (TForm4* f = current()) f->TextBtnClick();
    }, hasTexts);
    commands.Bind(Cmd::TextWindowFront, [current] {
        if (TForm4* f = current()) f->BringToFront();
    });
}

void TForm4::MenuItemClick(TextMenuItem item) {
    if (auto mode = ModeOfMenuItem(item, CheckedItem())) SetTextWindowMode(*mode);
}

void TForm4::TextBtnClick() { SetTextWindowMode(ModeForTextButton(tag_ == 1 ? 0 : 1, docked_)); }

void TForm4::BringToFront() {
    if (!Visible()) return;
    SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (!docked_) SetForegroundWindow(hwnd());
}

void TForm4::SetTextWindowMode(int mode) {
    // 1. The button's tag and picture.
    tag_ = TextButtonTag(mode);
    ShowTextButton();
    // 2. The docked width the user left.
    if (docked_ && Visible()) dockWidth_ = PanelWidth();
    // 3. Out of the panel or into it.
    if (mode == kTextFloating && docked_) Float(floating_);
    else if (mode == kTextDocked && !docked_) Dock();
    MSG m;
    for (int i = 0; i < 50 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT); ++i) DispatchMessageW(&m);
    // 4. The panel.
    SetPanelWidth(DockPanelWidth(mode == kTextHidden ? kTextHidden : (docked_ ? kTextDocked : kTextFloating),
                                 dockWidth_));
    // 5. Visibility of the window, the splitter and the placeholder.
    const bool show = tag_ == 1;
    if (show && !docked_ && maximizeWhenShown_) {
        maximizeWhenShown_ = false;
        ShowWindow(hwnd(), SW_SHOWMAXIMIZED);
    } else {
        ShowWindow(hwnd(), show ? (docked_ ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
    }
    if (site_.layout) {
        site_.layout->SetVisible(PanelBox("Form4Splitter"), docked_ && show);
        site_.layout->SetVisible(PanelBox("DockImage"), !docked_ && show);
        if (site_.relayout) site_.relayout();
    }
    FollowDockPanel();
    // 6. Fresh paint of what is shown.
    if (show) {
        richView_.Repaint();
        if (previewHtml_) previewHtml_->Refresh();
    }
    // 7. The menu's check marks follow CheckedItem().
}

void TForm4::Dock() {
    if (docked_ || !site_.host) return;
    LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
    style &= ~(WS_POPUP | WS_OVERLAPPEDWINDOW);
    style |= WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (IsZoomed(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
    SetWindowLongPtrW(hwnd(), GWL_STYLE, style);
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, 0);
    SetParent(hwnd(), site_.host);
    docked_ = true;
    SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED | SWP_NOACTIVATE);
    FollowDockPanel();
}

void TForm4::Float(const RECT& bounds) {
    if (!docked_) return;
    SetParent(hwnd(), nullptr);
    LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
    style &= ~(WS_CHILD | WS_CLIPSIBLINGS);
    style |= WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    SetWindowLongPtrW(hwnd(), GWL_STYLE, style);
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    SetWindowLongPtrW(hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(site_.host));  // owned by the main window
    docked_ = false;
    SetWindowPos(hwnd(), HWND_TOP, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE);
    if (splitter_) ShowWindow(splitter_->hwnd(), SW_HIDE);
}

void TForm4::FollowDockPanel() {
    if (!site_.layout || !hwnd()) return;
    int panel = PanelBox("Form4Panel");
    int split = PanelBox("Form4Splitter");
    if (docked_ && panel >= 0) {
        const LayoutRect& r = site_.layout->Bounds(panel);
        SetWindowPos(hwnd(), nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (splitter_ && split >= 0) {
        const LayoutRect& s = site_.layout->Bounds(split);
        bool show = docked_ && tag_ == 1 && site_.layout->Visible(split);
        SetWindowPos(splitter_->hwnd(), HWND_TOP, s.left, s.top, s.Width(), s.Height(),
                     SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
}

int TForm4::PanelBox(const char* name) const { return site_.layout ? site_.layout->Find(name) : -1; }

void TForm4::SetPanelWidth(int width) {
    int panel = PanelBox("Form4Panel");
    if (panel < 0) return;
    site_.layout->SetSize(panel, width);
    if (site_.relayout) site_.relayout();
}

int TForm4::PanelWidth() const {
    int panel = PanelBox("Form4Panel");
    return panel < 0 ? dockWidth_ : site_.layout->Bounds(panel).Width();
}

RECT TForm4::PanelScreenRect() const {
    int panel = PanelBox("Form4Panel");
    if (panel < 0 || !site_.host) return {};
    const LayoutRect& r = site_.layout->Bounds(panel);
    POINT a{r.left, r.top}, b{r.right, r.bottom};
    ClientToScreen(site_.host, &a);
    ClientToScreen(site_.host, &b);
    return {a.x, a.y, b.x, b.y};
}

void TForm4::SetDockedWidth(int width) {
    dockWidth_ = width;
    if (docked_ && tag_ == 1) SetPanelWidth(width);
}

void TForm4::RememberFloatingBounds() {
    if (docked_ || !hwnd() || IsZoomed(hwnd()) || IsIconic(hwnd())) return;
    GetWindowRect(hwnd(), &floating_);
}

void TForm4::ShowTextButton() {
    if (!site_.textButton) return;
    site_.textButton->Tag = tag_;
    SetLanguageButtonPicture(*site_.textButton, !lang::SecondLanguageActive(), tag_ == 1, true, false);
}

// ---- Docking by dragging

void TForm4::EnterSizeMove() { docking_ = true; }

void TForm4::ExitSizeMove() {
    bool wasMove = moving_;
    moving_ = false;
    docking_ = false;
    POINT pt{};
    GetCursorPos(&pt);
    RECT drop = PanelScreenRect();
    InflateRect(&drop, kDropStripWidth, 0);
    if (wasMove && !docked_ && tag_ == 1 && PtInRect(&drop, pt)) {
        SetTextWindowMode(kTextDocked);
    } else {
        RememberFloatingBounds();
    }
    EndDrag();
}

void TForm4::GripMouseDown(int y) {
    if (!docked_ || y >= kGripHeight) return;
    SetCapture(hwnd());
    gripDrag_ = true;
    docking_ = true;
}

void TForm4::GripMouseUp() {
    if (!gripDrag_) return;
    gripDrag_ = false;
    ReleaseCapture();
    POINT pt{};
    GetCursorPos(&pt);
    RECT panel = PanelScreenRect();
    docking_ = false;
    if (!PtInRect(&panel, pt)) {
        // Let go outside the panel: the window floats where it was dropped.
        int w = floating_.right - floating_.left, h = floating_.bottom - floating_.top;
        floating_ = {pt.x - 30, pt.y - 10, pt.x - 30 + w, pt.y - 10 + h};
        SetTextWindowMode(kTextFloating);
    }
    EndDrag();
}

void TForm4::EndDrag() {
    docking_ = false;
    richView_.Repaint();
    if (!currentHtml_.empty() && previewHtml_ && IsWindowVisible(previewHtml_->Window())) {
        ShowWindow(backTextPanel_, SW_HIDE);
        previewHtml_->Navigate(currentHtml_);
        ShowWindow(previewHtml_->Window(), SW_SHOW);
        ShowWindow(backTextPanel_, SW_SHOW);
        ShowWindow(richPanel_, SW_HIDE);
        FormResize();
    }
}

// ---- Placement in the settings

void TForm4::ApplyPlacement(const app::Settings& s) {
    PlaceFrom(s);
    tag_ = 0;
    ShowTextButton();
}

void TForm4::PlaceFrom(const app::Settings& s) {
    placed_ = true;
    floating_ = ToRect(s.text);
    dockWidth_ = s.textDockWidth;
    maximizeWhenShown_ = s.textMaximized;
    ShowWindow(hwnd(), SW_HIDE);
    if (s.textDocked) {
        Dock();
    } else if (docked_) {
        Float(floating_);
    } else {
        SetWindowPos(hwnd(), nullptr, floating_.left, floating_.top, floating_.right - floating_.left,
                     floating_.bottom - floating_.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetPanelWidth(0);
}

void TForm4::StorePlacement(app::Settings& s) const {
    RECT r = floating_;
    if (!docked_ && hwnd() && !IsZoomed(hwnd()) && !IsIconic(hwnd())) GetWindowRect(hwnd(), &r);
    s.text = ToBounds(r);
    s.textMaximized = !docked_ && hwnd() && IsZoomed(hwnd());
    s.textDocked = docked_;
    s.textDockWidth = docked_ && Visible() ? PanelWidth() : dockWidth_;
}

void TForm4::ShowWhenButtonDown(const app::Settings& s) {
    if (!placed_) PlaceFrom(s);
    if (site_.textButton && site_.textButton->Tag == 1)
        SetTextWindowMode(docked_ ? kTextDocked : kTextFloating);
}

}  // namespace qlm
