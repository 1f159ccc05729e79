// The main window at work: its menus (MainMenu1, PopupMenuS, InformPageMenu),
// the commands they and the keys run that belong to the window itself (the
// favourites panel, the text window modes, the about box, the pages), the page
// buttons, the banners and the language switch. The main window owns one and
// hands it its frame; the other parts reach the window through Seams().
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "app/commands.h"
#include "app/deployment.h"
#include "app/main_menu.h"
#include "app/main_seams.h"
#include "app/page_switch.h"
#include "app/settings_store.h"
#include "playback/play_state.h"

namespace qlm {

class TMainWindowUi {
public:
    struct Frame {
        HWND window = nullptr;
        AlignLayout* layout = nullptr;
        std::function<TImageButton*(std::string_view)> image;
        std::function<void()> relayout;     // FormResize
        std::function<void()> setCaptions;  // window caption and application title
        CommandTable* commands = nullptr;
        PlayState* play = nullptr;
        app::Settings* settings = nullptr;
    };
    explicit TMainWindowUi(Frame frame);
    ~TMainWindowUi();

    MainSeams& Seams() { return seams_; }
    TMainMenus& Menus() { return *menus_; }
    TPageSwitch& Pages() { return *pages_; }

    // FormShow and the disk change: entries and buttons that follow the disk.
    void ApplyDiskMenus();
    // Both language submenus from the language files present.
    void BuildLanguageMenus();
    // A click on entry `position` of a language submenu.
    void SelectLanguage(int position);

    // ModeBtnClick: the favourites panel shown or hidden.
    void ModeBtnClick();
    void ShowFavoritesPanel(int width);
    bool FavoritesShown() const;

    // PopupMenuSPopup, then the pop-up menu at a screen point.
    void PopupMenuSPopup(PopupList list);
    void ShowPopupMenu(PopupList list, POINT screen);
    PopupList PopupShownOver() const { return popupList_; }

    // Window messages the main window passes on.
    void InitMenuPopup(HMENU menu);
    void FormResize();

    void ImageBuner1Click();
    void ImageBuner2Click();
    void MenuAboutClick();

private:
    void ApplyButtonHints(bool slidesEnabled);
    void BindCommands();
    void AttachBanners();
    void OpenAddress(const std::u16string& address);

    Frame frame_;
    MainSeams seams_;
    Deployment deployment_;
    std::unique_ptr<TMainMenus> menus_;
    std::unique_ptr<TPageSwitch> pages_;
    PopupList popupList_ = PopupList::None;
};

// Commands run through the table are written to the file named by the
// environment variable QLM_COMMAND_LOG, one "cmd=ID ran=0|1" line each, so
// tests see keys and menu items reach their commands.
void LogCommandsWhenAsked(CommandTable& commands);

}  // namespace qlm
