// The page buttons of the left column: switching pages (ListBtnClick,
// ArrowBtnClick), their hover pictures while the window is active, the text
// button's hover and leave pictures (its click is the text window's) and the
// language variant of the pictures.
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

#include "app/image_button.h"
#include "app/main_seams.h"
#include "app/page_rules.h"
#include "base/align_layout.h"

namespace qlm {

class TPageSwitch {
public:
    struct Frame {
        HWND window = nullptr;
        AlignLayout* layout = nullptr;
        std::function<TImageButton*(std::string_view)> image;
        std::function<void()> relayout;  // FormResize
    };
    TPageSwitch(Frame frame, const MainSeams& seams);

    // Hooks the buttons' click and hover handlers.
    void Attach();

    int Current() const { return current_; }
    // ListBtnClick with the button of page `index` as sender.
    void ListBtnClick(int index);
    void ArrowBtnClick() { ListBtnClick(kPageInform); }
    // Makes a page current (the information-page menu's choice lands here).
    void MakeCurrent(int index);

    // Information pages of the disk (more than one: InfoBtn opens a menu).
    void SetInformPages(int count) { informPages_ = count; }
    // Where InformPageMenu pops up: (width - 1, height / 2 - 2) of InfoBtn.
    std::function<void(POINT screen)> popupInformMenu;

    // TextBtnMouseLeave: down while the text window shows, else up.
    void ShowTextButton();

    // Pictures in the "Rus" or "Eng" variant after a language change.
    void ApplyLanguage();

    static std::string_view ButtonName(int page);

private:
    bool BuiltIn() const;
    bool WindowActive() const;
    void PaintPageButton(int page, bool hover);
    void SetPanels(int page, bool visible);
    void MouseEnter(int page);
    void MouseLeave(int page);
    bool TextShown() const;

    Frame frame_;
    const MainSeams& seams_;
    int current_ = kPageList;
    int informPages_ = 0;
    bool textHover_ = false;
};

}  // namespace qlm
