// The disk's HTML pages on three pages of the main window: any number of
// information pages (chosen from a menu; their music links play songs), the
// announcement (an HTML page or a compiled help file) and the help page.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/align_layout.h"
#include "pages/html_help.h"
#include "win/align_windows.h"

namespace qlm {

class Catalogue;
class TPreviewHTML;

// The three panes that have Prev, Next and view-in-browser buttons.
enum class HtmlPane { Help = 0, Anons = 1, Inform = 2 };

class TInformationPages {
public:
    struct Frame {
        HWND parent = nullptr;  // the main window
        AlignLayout* layout = nullptr;
        win::AlignedWindows* aligned = nullptr;
        int informBox = -1;  // MainInformPanel
        int anonsBox = -1;   // MainAnonsPanel
        int helpBox = -1;    // MainHelpPanel
        // Makes `page` (2 information, 3 announcement, 4 help) the main window's current page.
        std::function<void(int page)> activatePage;
        // Plays one song file through the active player.
        std::function<void(const std::u16string& file)> playFile;
        // Enables a pane's Prev (back) or Next (forward) button.
        std::function<void(HtmlPane pane, bool next, bool enabled)> enableButton;
        // Shows or hides a pane's three buttons (a compiled announcement has none).
        std::function<void(HtmlPane pane, bool visible)> showButtons;
    };

    struct Context {
        std::u16string root;           // disk root
        std::u16string languageId;     // empty: the built-in texts
        std::u16string supportFolder;  // language files and help pages
        bool runningInstalled = false;  // the program runs from its installation folder
    };

    TInformationPages();
    ~TInformationPages();

    void Create(const Frame& frame);
    // Builds the pages of the loaded disk from its page entries.
    void Load(const Catalogue& catalogue, const Context& context);
    // Drops every page (disk change, exit). The menu of the information pages
    // is the main window's; its items are the pages in entry order.
    void Clear();

    // One entry of the description: the announcement, the help page or an information page.
    void AddPageEntry(const std::u16string& caption, const std::u16string& path);

    size_t InformationCount() const { return pages_.size(); }
    bool InformationAvailable() const { return informAvailable_; }
    bool AnnouncementPresent() const { return anonsPresent_; }
    bool HelpPresent() const { return helpPresent_; }
    bool AnnouncementIsCompiled() const { return anons_.IsCompiledHelp; }
    int CurrentInformationPage() const { return currentPage_; }
    // The first press of a page button: from now on music links play.
    void PageChosen() { noPageChosen_ = false; }
    bool NoPageChosen() const { return noPageChosen_; }

    // An item of the information-page menu (1-based).
    void SelectInformationPage(int number);
    // The information page was made visible by its button: the only page, or
    // the current one, is shown in it.
    void InformationShown();

    // The Prev, Next and view-in-browser buttons of a pane.
    void PrevHTMLBtnClick(HtmlPane pane);
    void NextHTMLBtnClick(HtmlPane pane);
    void ViewToBrowserBtnClick(HtmlPane pane);

    void ReloadPagesForLanguage(const std::u16string& languageId);
    // MainAnonsPanel was resized: the embedded help window follows.
    void AnonsPanelResized();
    // At exit: HTML Help closes its windows.
    void CloseAll();

    // What a pane shows now (for tests and the view-in-browser button).
    std::u16string Address(HtmlPane pane) const;
    TPreviewHTML* Browser(HtmlPane pane) const;
    TPreviewHTML* InformationBrowser(int number) const;

private:
    struct THTMLPage;
    struct THTMLPageParam {
        std::u16string StartPage;
        std::u16string Address;
        std::u16string Folder;
        bool IsCompiledHelp = false;
    };

    std::unique_ptr<TPreviewHTML> MakeBrowser(int box);
    void AddAnnouncement(const std::u16string& path);
    void AddHelp(const std::u16string& path);
    void AddInformation(const std::u16string& path);
    // A link of any pane; music links play only from an information page.
    void BeforeNavigate(const std::u16string& url, bool& cancel, bool informationPage);
    void NavigateComplete(HtmlPane pane, int informationPage);
    void CommandStateChange(HtmlPane pane, int informationPage, int command, bool enabled);
    void ShowInformationBrowser(int number);

    Frame frame_;
    Context context_;
    const Catalogue* catalogue_ = nullptr;
    std::vector<std::unique_ptr<THTMLPage>> pages_;
    int currentPage_ = 0;
    bool informAvailable_ = false;
    bool anonsPresent_ = false;
    bool helpPresent_ = false;
    bool noPageChosen_ = true;
    uint8_t skip_ = 0;
    THTMLPageParam anons_;
    THTMLPageParam help_;
    std::unique_ptr<TPreviewHTML> anonsView_;  // AnonsHTML
    std::unique_ptr<TPreviewHTML> helpView_;   // HelpHTML
    int anonsViewBox_ = -1;
    int helpViewBox_ = -1;
    HtmlHelpLibrary htmlHelp_;
    HWND anonsHelpWindow_ = nullptr;
};

}  // namespace qlm
