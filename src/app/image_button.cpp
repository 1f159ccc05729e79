#include "app/image_button.h"

#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>

#include "app/picture_names.h"
#include "win/handles.h"

namespace qlm {

TImageButton::TImageButton(std::string name) : name_(std::move(name)) {}

TImageButton::~TImageButton() {
    if (host_) host_->Remove(*this);
}

void TImageButton::SetBounds(int left, int top, int width, int height) {
    Invalidate();
    bounds_ = RECT{left, top, left + width, top + height};
    Invalidate();
    if (host_) host_->SyncTip(*this);
}

void TImageButton::SetHint(std::u16string hint) {
    if (hint == hint_) return;
    hint_ = std::move(hint);
    if (host_) host_->SyncTip(*this);
}

void TImageButton::SetVisible(bool v) {
    if (v == visible_) return;
    Invalidate();
    visible_ = v;
    if (!v && host_ && host_->HoveredButton() == this) host_->HandleMessage(WM_MOUSELEAVE, 0, 0);
    Invalidate();
    if (host_) host_->SyncTip(*this);
}

void TImageButton::SetEnabled(bool e) {
    if (e == enabled_) return;
    enabled_ = e;
    Invalidate();
}

bool TImageButton::LoadPicture(std::string_view resourceName) {
    // A change asked for while the picture is being painted waits for the next one.
    if (painting_) return false;
    SkinPicture p = LoadSkinPicture(resourceName);
    if (p.Empty()) return false;
    picture_ = std::move(p);
    pictureName_ = UpperAscii(resourceName);
    PictureChanged();
    return true;
}

void TImageButton::SetPicture(SkinPicture picture) {
    if (painting_) return;
    picture_ = std::move(picture);
    pictureName_.clear();
    PictureChanged();
}

void TImageButton::PictureChanged() {
    if (AutoSize && picture_.Width() > 0 && picture_.Height() > 0)
        SetBounds(bounds_.left, bounds_.top, picture_.Width(), picture_.Height());
    Invalidate();
}

RECT TImageButton::PictureRect() const {
    if (Stretch) return bounds_;
    const int pw = picture_.Width(), ph = picture_.Height();
    if (Center) {
        const int x = bounds_.left + (Width() - pw) / 2;
        const int y = bounds_.top + (Height() - ph) / 2;
        return RECT{x, y, x + pw, y + ph};
    }
    return RECT{bounds_.left, bounds_.top, bounds_.left + pw, bounds_.top + ph};
}

bool TImageButton::IsOpaque() const {
    if (picture_.Empty() || Transparent) return false;
    return Stretch || (picture_.Width() >= Width() && picture_.Height() >= Height());
}

void TImageButton::Paint(HDC dc) {
    if (!visible_ || picture_.Empty()) return;
    painting_ = true;
    const RECT r = PictureRect();
    win::UniqueMemoryDc mem(CreateCompatibleDC(dc));
    {
        win::SelectScope sel(mem.get(), picture_.Handle());
        const int pw = picture_.Width(), ph = picture_.Height();
        // Only the button's own rectangle is painted, like a control's canvas.
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, bounds_.left, bounds_.top, bounds_.right, bounds_.bottom);
        if (Transparent) {
            const uint32_t key = picture_.PixelAt(0, ph - 1);
            TransparentBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem.get(), 0, 0, pw, ph,
                           RGB((key >> 16) & 0xFF, (key >> 8) & 0xFF, key & 0xFF));
        } else if (r.right - r.left == pw && r.bottom - r.top == ph) {
            BitBlt(dc, r.left, r.top, pw, ph, mem.get(), 0, 0, SRCCOPY);
        } else {
            SetStretchBltMode(dc, COLORONCOLOR);
            StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem.get(), 0, 0, pw, ph, SRCCOPY);
        }
        RestoreDC(dc, saved);
    }
    painting_ = false;
}

void TImageButton::Invalidate() {
    if (!host_ || !host_->Parent() || !visible_) return;
    InvalidateRect(host_->Parent(), &bounds_, IsOpaque() ? FALSE : TRUE);
}

// ------------------------------------------------------------------ host

ImageButtonHost::~ImageButtonHost() {
    for (auto* b : buttons_) b->host_ = nullptr;
    if (tips_ && IsWindow(tips_)) DestroyWindow(tips_);
}

void ImageButtonHost::SetParent(HWND parent) {
    if (parent == parent_) return;
    for (auto* b : buttons_) DropTip(*b);
    if (tips_ && IsWindow(tips_)) DestroyWindow(tips_);
    tips_ = nullptr;
    parent_ = parent;
    for (auto* b : buttons_) SyncTip(*b);
}

void ImageButtonHost::SyncTip(TImageButton& b) {
    const bool want = b.visible_ && !b.hint_.empty() && parent_;
    const bool has = std::find(tipped_.begin(), tipped_.end(), &b) != tipped_.end();
    if (!want) {
        if (has) DropTip(b);
        return;
    }
    if (!tips_ || !IsWindow(tips_)) {
        tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent_, nullptr,
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent_, GWLP_HINSTANCE)), nullptr);
        if (!tips_) return;
        SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, 400);
        tipped_.clear();
    }
    // The version-5 size: understood by every common-controls version.
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = parent_;
    ti.uId = reinterpret_cast<UINT_PTR>(&b);
    ti.rect = b.bounds_;
    ti.lpszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(b.hint_.c_str()));
    if (has) {
        SendMessageW(tips_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
        SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    } else if (SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti))) {
        tipped_.push_back(&b);
    }
}

void ImageButtonHost::DropTip(TImageButton& b) {
    std::erase(tipped_, &b);
    if (!tips_ || !IsWindow(tips_)) return;
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = parent_;
    ti.uId = reinterpret_cast<UINT_PTR>(&b);
    SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void ImageButtonHost::Add(TImageButton& b) {
    if (b.host_ == this) return;
    if (b.host_) b.host_->Remove(b);
    buttons_.push_back(&b);
    b.host_ = this;
    b.Invalidate();
    SyncTip(b);
}

void ImageButtonHost::Remove(TImageButton& b) {
    DropTip(b);
    std::erase(buttons_, &b);
    if (hovered_ == &b) hovered_ = nullptr;
    if (pressed_ == &b) pressed_ = nullptr;
    b.host_ = nullptr;
}

bool ImageButtonHost::Contains(const TImageButton* b) const {
    return b && std::find(buttons_.begin(), buttons_.end(), b) != buttons_.end();
}

void ImageButtonHost::Paint(HDC dc, const RECT& dirty) {
    for (auto* b : buttons_) {
        RECT x;
        if (b->Visible() && IntersectRect(&x, &b->Bounds(), &dirty)) b->Paint(dc);
    }
}

TImageButton* ImageButtonHost::ButtonAt(POINT p) const {
    for (auto it = buttons_.rbegin(); it != buttons_.rend(); ++it)
        if ((*it)->Visible() && (*it)->Enabled() && PtInRect(&(*it)->Bounds(), p)) return *it;
    return nullptr;
}

void ImageButtonHost::SetHovered(TImageButton* b) {
    if (b == hovered_) return;
    TImageButton* old = hovered_;
    hovered_ = b;
    if (old) {
        old->hovered_ = false;
        if (old->OnMouseLeave) old->OnMouseLeave(*old);
    }
    // A leave handler may have removed the new button.
    if (hovered_ && Contains(hovered_)) {
        hovered_->hovered_ = true;
        if (hovered_->OnMouseEnter) hovered_->OnMouseEnter(*hovered_);
    }
}

bool ImageButtonHost::HandleMessage(UINT msg, WPARAM, LPARAM lParam) {
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    auto local = [&](TImageButton* b, int& x, int& y) {
        x = p.x - b->Left();
        y = p.y - b->Top();
    };
    switch (msg) {
        case WM_MOUSEMOVE: {
            if (!tracking_ && parent_) {
                TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, parent_, 0};
                tracking_ = TrackMouseEvent(&t) != FALSE;
            }
            if (pressed_) {
                SetHovered(PtInRect(&pressed_->Bounds(), p) ? pressed_ : nullptr);
                if (pressed_ && pressed_->OnMouseMove) {
                    int x, y;
                    local(pressed_, x, y);
                    pressed_->OnMouseMove(*pressed_, x, y);
                }
                return true;
            }
            TImageButton* b = ButtonAt(p);
            SetHovered(b);
            if (b && Contains(b) && b->OnMouseMove) {
                int x, y;
                local(b, x, y);
                b->OnMouseMove(*b, x, y);
            }
            return b != nullptr;
        }
        case WM_MOUSELEAVE:
            tracking_ = false;
            if (!pressed_) SetHovered(nullptr);
            return false;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            TImageButton* b = ButtonAt(p);
            if (!b) return false;
            SetHovered(b);
            if (!Contains(b)) return true;
            pressed_ = b;
            pressedWith_ = msg == WM_LBUTTONDOWN ? MouseButton::Left
                           : msg == WM_RBUTTONDOWN ? MouseButton::Right
                                                   : MouseButton::Middle;
            b->pressed_ = true;
            if (parent_) SetCapture(parent_);
            if (b->OnMouseDown) {
                int x, y;
                local(b, x, y);
                b->OnMouseDown(*b, pressedWith_, x, y);
            }
            return true;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            TImageButton* b = pressed_;
            if (!b) return false;
            pressed_ = nullptr;
            b->pressed_ = false;
            if (GetCapture() == parent_) ReleaseCapture();
            const MouseButton with = pressedWith_;
            int x, y;
            local(b, x, y);
            if (b->OnMouseUp) b->OnMouseUp(*b, with, x, y);
            // The handler may have removed or hidden the button.
            if (Contains(b) && with == MouseButton::Left && b->Visible() && b->Enabled() &&
                PtInRect(&b->Bounds(), p) && b->OnClick)
                b->OnClick(*b);
            if (Contains(hovered_) || !hovered_) SetHovered(ButtonAt(p));
            return true;
        }
        case WM_CAPTURECHANGED:
            if (pressed_ && reinterpret_cast<HWND>(lParam) != parent_) {
                pressed_->pressed_ = false;
                pressed_ = nullptr;
            }
            return false;
        default:
            return false;
    }
}

// ------------------------------------------------------------------ setters

void SetButtonPicture(TImageButton& b, bool down, bool selected, bool twoState, bool passive) {
    b.SetEnabled(!passive);
    b.LoadPicture(ButtonPictureName(b.PictureBase(), down, selected, twoState, passive));
}

void SetLanguageButtonPicture(TImageButton& b, bool builtInLanguage, bool down, bool withState, bool hover) {
    b.LoadPicture(LanguageButtonPictureName(b.PictureBase(), builtInLanguage, down, withState, hover));
}

void SetTogglePicture(TImageButton& b, std::string_view base, bool down, bool passive) {
    if (!passive) b.Tag = down ? 1 : 0;
    b.SetEnabled(!passive);
    b.LoadPicture(TogglePictureName(base, down, passive));
}

void LoadImagePicture(TImageButton& image, std::string_view resourceName) {
    image.LoadPicture(resourceName.empty() ? std::string_view(image.Name()) : resourceName);
}

}  // namespace qlm
