// TImageButton: a windowless picture control painted by its parent window,
// and the host that routes the parent's paint and mouse messages to its
// buttons (hover, press, click). Images that are not buttons (LDLogo, TLElt,
// LWall, the player panel backgrounds) are the same control without handlers.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/skin_picture.h"

namespace qlm {

enum class MouseButton { Left, Right, Middle };

class ImageButtonHost;

class TImageButton {
public:
    // `name` is the component name, the picture base when ResouceName is empty.
    explicit TImageButton(std::string name = {});
    TImageButton(const TImageButton&) = delete;
    TImageButton& operator=(const TImageButton&) = delete;
    ~TImageButton();

    const std::string& Name() const { return name_; }
    std::string ResouceName;
    // Base of the picture names: ResouceName when set, else the component name.
    const std::string& PictureBase() const { return ResouceName.empty() ? name_ : ResouceName; }

    bool AutoSize = false;
    bool Center = false;
    bool Stretch = false;
    bool Transparent = false;  // the picture's bottom-left colour is not drawn
    bool IncrementalDisplay = false;
    int Tag = 0;

    std::function<void(TImageButton&)> OnClick;
    std::function<void(TImageButton&, MouseButton, int x, int y)> OnMouseDown;
    std::function<void(TImageButton&, MouseButton, int x, int y)> OnMouseUp;
    std::function<void(TImageButton&, int x, int y)> OnMouseMove;
    std::function<void(TImageButton&)> OnMouseEnter;
    std::function<void(TImageButton&)> OnMouseLeave;

    // Position in the parent's client area.
    void SetBounds(int left, int top, int width, int height);
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    const RECT& Bounds() const { return bounds_; }

    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool e);

    // Loads the named resource; a missing resource, or a call made while the
    // picture is being painted, keeps the picture as it is. Answers whether it
    // changed.
    bool LoadPicture(std::string_view resourceName);
    // Takes a picture made by the program (drawn strips, recoloured copies).
    void SetPicture(SkinPicture picture);
    SkinPicture& Picture() { return picture_; }
    const SkinPicture& Picture() const { return picture_; }
    // Upper-case name of the resource shown now (empty for none or a set one).
    const std::string& PictureName() const { return pictureName_; }

    // Where the picture lands: the bounds when stretched, centred when
    // Center, else its own size at the top-left.
    RECT PictureRect() const;
    bool IsOpaque() const;
    void Paint(HDC dc);
    void Invalidate();

    // The tip shown while the mouse rests on the button; empty for none.
    const std::u16string& Hint() const { return hint_; }
    void SetHint(std::u16string hint);

    bool Hovered() const { return hovered_; }
    bool Pressed() const { return pressed_; }

private:
    friend class ImageButtonHost;
    void PictureChanged();

    std::string name_;
    RECT bounds_{0, 0, 105, 105};
    bool visible_ = true;
    bool enabled_ = true;
    bool painting_ = false;
    bool hovered_ = false;
    bool pressed_ = false;
    SkinPicture picture_;
    std::string pictureName_;
    std::u16string hint_;
    ImageButtonHost* host_ = nullptr;
};

class ImageButtonHost {
public:
    ImageButtonHost() = default;
    explicit ImageButtonHost(HWND parent) : parent_(parent) {}
    ImageButtonHost(const ImageButtonHost&) = delete;
    ImageButtonHost& operator=(const ImageButtonHost&) = delete;
    ~ImageButtonHost();

    void SetParent(HWND parent);
    HWND Parent() const { return parent_; }
    // Later buttons paint over earlier ones and take the mouse first.
    void Add(TImageButton& button);
    void Remove(TImageButton& button);

    // Paints every visible button meeting the dirty rectangle.
    void Paint(HDC dc, const RECT& dirty);
    // Mouse messages of the parent (move, leave, buttons, capture lost);
    // answers true when a button took the message.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    TImageButton* ButtonAt(POINT p) const;
    TImageButton* HoveredButton() const { return hovered_; }
    // Keeps the button's tool in the tip window in step with its hint,
    // bounds and visibility; the tip window is made with the first hint.
    void SyncTip(TImageButton& b);

private:
    void SetHovered(TImageButton* b);
    bool Contains(const TImageButton* b) const;
    void DropTip(TImageButton& b);

    HWND tips_ = nullptr;
    std::vector<const TImageButton*> tipped_;

    HWND parent_ = nullptr;
    std::vector<TImageButton*> buttons_;
    TImageButton* hovered_ = nullptr;
    TImageButton* pressed_ = nullptr;
    MouseButton pressedWith_ = MouseButton::Left;
    bool tracking_ = false;
};

// The picture setters of the naming rule (see picture_names.h).
void SetButtonPicture(TImageButton& b, bool down, bool selected, bool twoState, bool passive);
void SetLanguageButtonPicture(TImageButton& b, bool builtInLanguage, bool down, bool withState, bool hover);
void SetTogglePicture(TImageButton& b, std::string_view base, bool down, bool passive);
// Images that are not buttons: the resource of that name, or of the component name.
void LoadImagePicture(TImageButton& image, std::string_view resourceName = {});

}  // namespace qlm
