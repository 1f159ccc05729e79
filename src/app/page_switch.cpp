#include "app/page_switch.h"

#include "lang/language.h"

namespace qlm {
namespace {

struct PageNames {
    std::string_view button, page, bar;
};
constexpr PageNames kPages[kPageCount] = {
    {"ListBtn", "MainTreeListPanel", "TopBtnListPanel"},
    {"SlideBtn", "MainSlidePanel", "TopBtnSlidePanel"},
    {"InfoBtn", "MainInformPanel", "TopBtnInformPanel"},
    {"AnonsBtn", "MainAnonsPanel", "TopBtnAnonsPanel"},
    {"HelpBtn", "MainHelpPanel", "TopBtnHelpPanel"},
};
constexpr std::string_view kCaptions[kPageCount] = {"ListCap", "SlideCap", "InformCap", "AnonsCap", "HelpCap"};

}  // namespace

TPageSwitch::TPageSwitch(Frame frame, const MainSeams& seams) : frame_(std::move(frame)), seams_(seams) {}

std::string_view TPageSwitch::ButtonName(int page) {
    return page >= 0 && page < kPageCount ? kPages[page].button : std::string_view();
}

void TPageSwitch::Attach() {
    for (int page = 0; page < kPageCount; ++page) {
        TImageButton* b = frame_.image(kPages[page].button);
        if (!b) continue;
        b->Tag = page;
        b->OnClick = [this](TImageButton& sender) { ListBtnClick(sender.Tag); };
        b->OnMouseEnter = [this](TImageButton& sender) { MouseEnter(sender.Tag); };
        b->OnMouseLeave = [this](TImageButton& sender) { MouseLeave(sender.Tag); };
    }
    if (TImageButton* arrow = frame_.image("ArrowBtn")) arrow->OnClick = [this](TImageButton&) { ArrowBtnClick(); };
    if (TImageButton* text = frame_.image("TextBtn")) {
        text->OnMouseEnter = [this](TImageButton& b) {
            if (!WindowActive()) return;
            textHover_ = true;
            SetLanguageButtonPicture(b, BuiltIn(), TextShown(), true, true);
        };
        text->OnMouseLeave = [this](TImageButton&) {
            textHover_ = false;
            ShowTextButton();
        };
    }
}

bool TPageSwitch::BuiltIn() const { return !lang::SecondLanguageActive(); }

bool TPageSwitch::WindowActive() const { return frame_.window && GetActiveWindow() == frame_.window; }

// The text window keeps its button's Tag at 1 while it shows.
bool TPageSwitch::TextShown() const {
    TImageButton* b = frame_.image("TextBtn");
    return b && b->Tag == 1;
}

void TPageSwitch::PaintPageButton(int page, bool hover) {
    if (TImageButton* b = frame_.image(kPages[page].button)) {
        SetLanguageButtonPicture(*b, BuiltIn(), page == current_, true, hover);
        b->Invalidate();
    }
}

void TPageSwitch::SetPanels(int page, bool visible) {
    AlignLayout& layout = *frame_.layout;
    for (std::string_view name : {kPages[page].page, kPages[page].bar}) {
        int box = layout.Find(std::string(name));
        if (box >= 0) layout.SetVisible(box, visible);
    }
}

void TPageSwitch::ListBtnClick(int index) {
    if (index < 0 || index >= kPageCount) return;
    const PageClick click = DecidePageClick(current_, index, informPages_);
    if (click.nothing) return;
    if (click.popupInformMenu) {
        if (click.infoButtonsUp) {
            PaintPageButton(kPageInform, false);
            if (TImageButton* arrow = frame_.image("ArrowBtn")) arrow->LoadPicture("ARROWBTNU");
        }
        TImageButton* info = frame_.image("InfoBtn");
        if (info && popupInformMenu) {
            POINT p{info->Left() + info->Width() - 1, info->Top() + info->Height() / 2 - 2};
            ClientToScreen(frame_.window, &p);
            popupInformMenu(p);
        }
        return;
    }
    if (click.showPanels) SetPanels(index, true);
    if (click.becomeCurrent) {
        current_ = index;
        for (int page = 0; page < kPageCount; ++page) {
            if (page != index) SetPanels(page, false);
            PaintPageButton(page, false);
        }
    }
    if (frame_.relayout) frame_.relayout();
    if (click.showPanels && seams_.pageShown) seams_.pageShown(index);
    InvalidateRect(frame_.window, nullptr, FALSE);
}

void TPageSwitch::MakeCurrent(int index) {
    if (index < 0 || index >= kPageCount) return;
    SetPanels(index, true);
    current_ = index;
    for (int page = 0; page < kPageCount; ++page) {
        if (page != index) SetPanels(page, false);
        PaintPageButton(page, false);
    }
    if (frame_.relayout) frame_.relayout();
    if (seams_.pageShown) seams_.pageShown(index);
    InvalidateRect(frame_.window, nullptr, FALSE);
}

void TPageSwitch::MouseEnter(int page) {
    if (!WindowActive()) return;
    PaintPageButton(page, true);
    if (page == kPageInform)
        if (TImageButton* arrow = frame_.image("ArrowBtn")) arrow->LoadPicture("ARROWBTND");
}

void TPageSwitch::MouseLeave(int page) {
    PaintPageButton(page, false);
    if (page == kPageInform)
        if (TImageButton* arrow = frame_.image("ArrowBtn")) arrow->LoadPicture("ARROWBTNU");
}

void TPageSwitch::ShowTextButton() {
    if (TImageButton* b = frame_.image("TextBtn")) {
        SetLanguageButtonPicture(*b, BuiltIn(), TextShown(), true, textHover_ && WindowActive());
        b->Invalidate();
    }
}

void TPageSwitch::ApplyLanguage() {
    for (int page = 0; page < kPageCount; ++page) PaintPageButton(page, false);
    for (std::string_view name : kCaptions)
        if (TImageButton* cap = frame_.image(name)) SetLanguageButtonPicture(*cap, BuiltIn(), false, false, false);
    ShowTextButton();
    InvalidateRect(frame_.window, nullptr, FALSE);
}

}  // namespace qlm
