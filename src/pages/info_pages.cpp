#include "pages/info_pages.h"
#include "win/files.h"

#include <shellapi.h>

#include "content/catalogue.h"
#include "pages/music_link.h"
#include "pages/page_entries.h"
#include "pages/preview_html.h"
#include "win/window.h"

namespace qlm {
namespace {

constexpr int kBrowserIdFirst = 400;


std::u16string FileNameOf(std::u16string_view path) { return SplitPagePath(path).name; }

}  // namespace

struct TInformationPages::THTMLPage {
    std::unique_ptr<TPreviewHTML> Browser;
    int box = -1;
    std::u16string Address;
    std::u16string Folder;
    std::u16string StartPage;
    bool CanGoBack = false;
    bool CanGoForward = false;
};

TInformationPages::TInformationPages() = default;

TInformationPages::~TInformationPages() { Clear(); }

void TInformationPages::Create(const Frame& frame) {
    frame_ = frame;
    anonsViewBox_ = frame_.layout->Add(frame_.anonsBox, "AnonsHTML", Align::Client);
    helpViewBox_ = frame_.layout->Add(frame_.helpBox, "HelpHTML", Align::Client);
    anonsView_ = MakeBrowser(anonsViewBox_);
    helpView_ = MakeBrowser(helpViewBox_);
    if (anonsView_) {
        anonsView_->OnBeforeNavigate = [this](const std::u16string& url, bool& cancel) {
            BeforeNavigate(url, cancel, false);
        };
        anonsView_->OnDownloadComplete = [this] { NavigateComplete(HtmlPane::Anons, 0); };
        anonsView_->OnCommandStateChange = [this](int command, bool enabled) {
            CommandStateChange(HtmlPane::Anons, 0, command, enabled);
        };
    }
    if (helpView_) {
        helpView_->OnBeforeNavigate = [this](const std::u16string& url, bool& cancel) {
            BeforeNavigate(url, cancel, false);
        };
        helpView_->OnDownloadComplete = [this] { NavigateComplete(HtmlPane::Help, 0); };
        helpView_->OnCommandStateChange = [this](int command, bool enabled) {
            CommandStateChange(HtmlPane::Help, 0, command, enabled);
        };
    }
}

std::unique_ptr<TPreviewHTML> TInformationPages::MakeBrowser(int box) {
    auto view = std::make_unique<TPreviewHTML>();
    int id = kBrowserIdFirst + box;
    if (!view->Create(frame_.parent, RECT{0, 0, 1, 1}, id)) return nullptr;
    frame_.aligned->Bind(box, view->hwnd());
    return view;
}

void TInformationPages::Load(const Catalogue& catalogue, const Context& context) {
    Clear();
    catalogue_ = &catalogue;
    context_ = context;
    for (const PageEntry& entry : catalogue.pages)
        AddPageEntry(catalogue.DiskText(entry.Caption), catalogue.DiskText(entry.File));
}

void TInformationPages::Clear() {
    htmlHelp_.CloseAll();
    anonsHelpWindow_ = nullptr;
    for (auto& page : pages_)
        if (page->Browser && page->Browser->hwnd()) DestroyWindow(page->Browser->hwnd());
    pages_.clear();
    currentPage_ = 0;
    informAvailable_ = anonsPresent_ = helpPresent_ = false;
    anons_ = {};
    help_ = {};
    skip_ = 0;
    if (frame_.layout) {
        frame_.layout->SetVisible(anonsViewBox_, true);
    }
}

void TInformationPages::AddPageEntry(const std::u16string& caption, const std::u16string& path) {
    switch (PageKindOf(caption)) {
        case PageKind::Announcement:
            AddAnnouncement(path);
            break;
        case PageKind::Help:
            AddHelp(path);
            break;
        case PageKind::Information:
            AddInformation(path);
            break;
    }
}

void TInformationPages::AddAnnouncement(const std::u16string& path) {
    const PagePath parts = SplitPagePath(path);
    if (!IsCompiledHelpFile(path)) {
        frame_.layout->SetVisible(anonsViewBox_, true);
        anons_.IsCompiledHelp = false;
        std::u16string found = FindDiskPage(context_.root, path, context_.languageId, win::FileExists);
        if (found.empty()) return;
        anons_.StartPage = anons_.Address = found;
        anons_.Folder = context_.root + parts.dir;
        if (anonsView_) anonsView_->Navigate(found);
        anonsPresent_ = true;
        if (frame_.showButtons) frame_.showButtons(HtmlPane::Anons, true);
        return;
    }
    // A compiled announcement needs a usable HTML Help library; without one
    // the page shows nothing and is not present.
    if (!htmlHelp_.Load()) return;
    frame_.layout->SetVisible(anonsViewBox_, false);
    anons_.IsCompiledHelp = true;
    anons_.StartPage = context_.root + path;
    anons_.Folder = context_.root + parts.dir;
    anonsHelpWindow_ = htmlHelp_.ShowEmbedded(anons_.StartPage, frame_.parent);
    AnonsPanelResized();
    anonsPresent_ = true;
    if (frame_.showButtons) frame_.showButtons(HtmlPane::Anons, false);
}

void TInformationPages::AddHelp(const std::u16string& path) {
    std::u16string found = FindHelpPage(context_.supportFolder, FileNameOf(path), context_.languageId,
                                        context_.runningInstalled, win::FileExists);
    if (found.empty()) return;
    help_.StartPage = help_.Address = found;
    help_.Folder = context_.supportFolder;
    if (helpView_) helpView_->Navigate(found);
    helpPresent_ = true;
}

void TInformationPages::AddInformation(const std::u16string& path) {
    auto page = std::make_unique<THTMLPage>();
    const int number = static_cast<int>(pages_.size()) + 1;
    page->box = frame_.layout->Add(frame_.informBox, "InformHTML" + std::to_string(number), Align::Client);
    frame_.layout->SetVisible(page->box, false);
    page->Browser = MakeBrowser(page->box);
    if (page->Browser) {
        page->Browser->OnBeforeNavigate = [this](const std::u16string& url, bool& cancel) {
            BeforeNavigate(url, cancel, true);
        };
        page->Browser->OnDownloadComplete = [this, number] { NavigateComplete(HtmlPane::Inform, number); };
        page->Browser->OnCommandStateChange = [this, number](int command, bool enabled) {
            CommandStateChange(HtmlPane::Inform, number, command, enabled);
        };
    }

    const PagePath parts = SplitPagePath(path);
    std::u16string found = FindDiskPage(context_.root, path, context_.languageId, win::FileExists);
    if (!found.empty()) {
        page->Address = found;
        if (page->Browser) page->Browser->Navigate(found);
        informAvailable_ = true;
    } else {
        page->Address = path;  // kept with its menu item; nothing to show
    }
    page->Folder = parts.dir;
    page->StartPage = page->Address;
    pages_.push_back(std::move(page));
}

void TInformationPages::ShowInformationBrowser(int number) {
    for (size_t i = 0; i < pages_.size(); ++i) frame_.layout->SetVisible(pages_[i]->box, static_cast<int>(i) + 1 == number);
    frame_.aligned->Relayout(frame_.parent);
}

void TInformationPages::SelectInformationPage(int number) {
    if (number < 1 || number > static_cast<int>(pages_.size())) return;
    currentPage_ = number;
    ShowInformationBrowser(number);
    if (frame_.activatePage) frame_.activatePage(2);
    const THTMLPage& page = *pages_[static_cast<size_t>(number - 1)];
    if (frame_.enableButton) {
        frame_.enableButton(HtmlPane::Inform, false, page.CanGoBack);
        frame_.enableButton(HtmlPane::Inform, true, page.CanGoForward);
    }
}

void TInformationPages::InformationShown() {
    if (currentPage_ == 0 && pages_.size() == 1) currentPage_ = 1;
    if (currentPage_ == 0) return;
    ShowInformationBrowser(currentPage_);
    const THTMLPage& page = *pages_[static_cast<size_t>(currentPage_ - 1)];
    if (frame_.enableButton) {
        frame_.enableButton(HtmlPane::Inform, false, page.CanGoBack);
        frame_.enableButton(HtmlPane::Inform, true, page.CanGoForward);
    }
}

TPreviewHTML* TInformationPages::Browser(HtmlPane pane) const {
    switch (pane) {
        case HtmlPane::Help:
            return helpView_.get();
        case HtmlPane::Anons:
            return anons_.IsCompiledHelp ? nullptr : anonsView_.get();
        case HtmlPane::Inform:
            return InformationBrowser(currentPage_);
    }
    return nullptr;
}

TPreviewHTML* TInformationPages::InformationBrowser(int number) const {
    if (number < 1 || number > static_cast<int>(pages_.size())) return nullptr;
    return pages_[static_cast<size_t>(number - 1)]->Browser.get();
}

std::u16string TInformationPages::Address(HtmlPane pane) const {
    switch (pane) {
        case HtmlPane::Help:
            return help_.Address;
        case HtmlPane::Anons:
            return anons_.Address;
        case HtmlPane::Inform:
            if (currentPage_ >= 1 && currentPage_ <= static_cast<int>(pages_.size()))
                return pages_[static_cast<size_t>(currentPage_ - 1)]->Address;
    }
    return {};
}

void TInformationPages::PrevHTMLBtnClick(HtmlPane pane) {
    if (TPreviewHTML* view = Browser(pane)) view->GoBack();
}

void TInformationPages::NextHTMLBtnClick(HtmlPane pane) {
    if (TPreviewHTML* view = Browser(pane)) view->GoForward();
}

void TInformationPages::ViewToBrowserBtnClick(HtmlPane pane) {
    std::u16string address = Address(pane);
    if (address.empty()) return;
    ShellExecuteW(nullptr, L"open", win::Wide(address).c_str(), nullptr, nullptr, SW_HIDE);
}

void TInformationPages::BeforeNavigate(const std::u16string& url, bool& cancel, bool informationPage) {
    if (!IsMusicLink(url)) return;
    cancel = true;  // a music link is never followed
    if (!informationPage || noPageChosen_ || !catalogue_) return;
    const TRDataNode* node = MusicLinkNode(*catalogue_, MusicLinkPositions(url));
    if (node && frame_.playFile) frame_.playFile(catalogue_->SongFile(*node));
}

void TInformationPages::NavigateComplete(HtmlPane pane, int informationPage) {
    if (skip_ > 0) {
        --skip_;
        return;
    }
    if (noPageChosen_) return;
    switch (pane) {
        case HtmlPane::Help:
            if (helpView_) help_.Address = PathOfFileUrl(helpView_->LocationURL());
            break;
        case HtmlPane::Anons:
            if (anonsView_) anons_.Address = PathOfFileUrl(anonsView_->LocationURL());
            break;
        case HtmlPane::Inform:
            if (TPreviewHTML* view = InformationBrowser(informationPage))
                pages_[static_cast<size_t>(informationPage - 1)]->Address = PathOfFileUrl(view->LocationURL());
            break;
    }
}

void TInformationPages::CommandStateChange(HtmlPane pane, int informationPage, int command, bool enabled) {
    const bool next = command == 1;
    if (command != 1 && command != 2) return;
    if (pane == HtmlPane::Inform) {
        if (informationPage < 1 || informationPage > static_cast<int>(pages_.size())) return;
        THTMLPage& page = *pages_[static_cast<size_t>(informationPage - 1)];
        (next ? page.CanGoForward : page.CanGoBack) = enabled;
        if (informationPage != currentPage_) return;  // the buttons follow the current page only
    }
    if (frame_.enableButton) frame_.enableButton(pane, next, enabled);
}

void TInformationPages::ReloadPagesForLanguage(const std::u16string& languageId) {
    context_.languageId = languageId;
    skip_ = 0;
    auto bump = [this] {
        if (skip_ < 255) ++skip_;
    };
    if (anonsPresent_ && !anons_.IsCompiledHelp) {
        std::u16string version = LanguageVersion(anons_.Folder, languageId, FileNameOf((anons_.StartPage)));
        if (win::FileExists(version) && version != anons_.StartPage) {
            anons_.StartPage = anons_.Address = version;
            bump();
            if (anonsView_) anonsView_->Navigate(version);
        }
    }
    if (helpPresent_) {
        std::u16string version =
            LanguageVersion(context_.supportFolder, languageId, FileNameOf((help_.StartPage)));
        if (win::FileExists(version) && version != help_.StartPage) {
            help_.StartPage = help_.Address = version;
            bump();
            if (helpView_) helpView_->Navigate(version);
        }
    }
    for (size_t i = 0; i < pages_.size(); ++i) {
        THTMLPage& page = *pages_[i];
        std::u16string version =
            context_.root + LanguageVersion(page.Folder, languageId, FileNameOf((page.StartPage)));
        if (win::FileExists(version) && version != page.StartPage) {
            page.Address = page.StartPage = version;
            bump();
            if (page.Browser) page.Browser->Navigate(version);
        }
    }
}

void TInformationPages::AnonsPanelResized() {
    if (!anonsHelpWindow_ || !IsWindow(anonsHelpWindow_)) return;
    // The embedded help window is a child of the main window: it must leave
    // with its page.
    if (!frame_.layout->Visible(frame_.anonsBox)) {
        ShowWindow(anonsHelpWindow_, SW_HIDE);
        return;
    }
    const LayoutRect& r = frame_.layout->Bounds(frame_.anonsBox);
    SetWindowPos(anonsHelpWindow_, nullptr, r.left, r.top, r.Width(), r.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TInformationPages::CloseAll() { htmlHelp_.Unload(); }

}  // namespace qlm
