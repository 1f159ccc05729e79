#include "app/main_ui.h"

#include "lang/main_window_slots.h"

#include <shellapi.h>

#include "app/about_form.h"
#include "app/app_state.h"
#include "app/page_buttons.h"
#include "app/settings_win.h"
#include "base/text_codec.h"
#include "content/catalogue.h"
#include "lang/language.h"
#include "lang/main_window_slots.h"

namespace qlm {
namespace {

const DiskSettings& Disk() { return TheCatalogue().settings; }

bool SlidesShown() {
    const Catalogue& cat = TheCatalogue();
    return cat.settings.SlidesEnabled && !cat.slides.empty();
}

std::vector<std::u16string> InformPageCaptions() {
    const Catalogue& cat = TheCatalogue();
    std::vector<std::u16string> captions;
    for (size_t i : InformPages(cat.settings, cat.pages))
        captions.push_back(lang::CurrentLanguage().Texts().PageCaption(DecodeText(cat.pages[i].Caption,
                                                                                  cat.settings.Charset1)));
    return captions;
}

}  // namespace

TMainWindowUi::TMainWindowUi(Frame frame) : frame_(std::move(frame)) {
    app::WinProfileStore ini = app::SettingsFile();
    deployment_ = ReadDeployment(ini);
    menus_ = std::make_unique<TMainMenus>(*frame_.commands);
    SetMenu(frame_.window, menus_->Bar());
    pages_ = std::make_unique<TPageSwitch>(
        TPageSwitch::Frame{frame_.window, frame_.layout, frame_.image, frame_.relayout}, seams_);
    pages_->Attach();
    pages_->popupInformMenu = [this](POINT p) {
        TrackPopupMenuEx(menus_->InformPageMenu(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, p.x, p.y, frame_.window,
                         nullptr);
    };
    AttachBanners();
    BindCommands();
}

TMainWindowUi::~TMainWindowUi() {
    // The window may outlive this object by a few messages: its menu bar goes with the menus.
    if (frame_.window && IsWindow(frame_.window)) SetMenu(frame_.window, nullptr);
}

void TMainWindowUi::BindCommands() {
    CommandTable& c = *frame_.commands;
    c.Bind(Cmd::ShowFavorit, [this] { ModeBtnClick(); }, {}, [this] { return FavoritesShown(); });
    c.Bind(Cmd::About, [this] { MenuAboutClick(); });
    c.Bind(Cmd::SlideMenuItem, [this] { pages_->ListBtnClick(kPageSlides); }, [] { return SlidesShown(); });
    c.BindRange(kLanguageMenuFirst, kVideoPlayerMenuFirst - kLanguageMenuFirst,
                [this](uint16_t i) { SelectLanguage(i); });
    c.BindRange(kInformPageMenuFirst, 199, [this](uint16_t i) {
        if (seams_.informPageChosen) seams_.informPageChosen(i);
    });
    c.BindRange(kVideoPlayerMenuFirst, kInformPageMenuFirst - kVideoPlayerMenuFirst, [this](uint16_t i) {
        if (seams_.videoPlayerChoose) seams_.videoPlayerChoose(i);
    });
}

void TMainWindowUi::AttachBanners() {
    if (TImageButton* b = frame_.image("ImageBuner1")) b->OnClick = [this](TImageButton&) { ImageBuner1Click(); };
    if (TImageButton* b = frame_.image("ImageBuner2")) b->OnClick = [this](TImageButton&) { ImageBuner2Click(); };
}

void TMainWindowUi::OpenAddress(const std::u16string& address) {
    std::wstring a(address.begin(), address.end());
    // No browser, or no network: the click simply does nothing.
    ShellExecuteW(frame_.window, L"open", a.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TMainWindowUi::ImageBuner1Click() { OpenAddress(deployment_.banner1); }
void TMainWindowUi::ImageBuner2Click() { OpenAddress(deployment_.banner2); }

void TMainWindowUi::MenuAboutClick() { ShowAboutBox(frame_.window, deployment_, App().programFile); }

// ---- Disk-dependent entries ----

// Button hints in the active language; a later slot overwrites an earlier one.
void TMainWindowUi::ApplyButtonHints(bool slidesEnabled) {
    if (!frame_.image) return;
    for (const lang::ControlSlot& slot : lang::MainWindowSlots()) {
        if (slot.kind != lang::SlotKind::Hint || (slot.slidesOnly && !slidesEnabled)) continue;
        const std::u16string text = lang::Text(slot.section, slot.key);
        for (std::string_view name : slot.controls)
            if (!name.empty())
                if (TImageButton* b = frame_.image(name)) b->SetHint(text);
    }
}

void TMainWindowUi::ApplyDiskMenus() {
    const DiskSettings& s = Disk();
    const bool slides = SlidesShown();
    ApplyButtonHints(s.SlidesEnabled);
    menus_->SetVisible("TextMenuItem", s.HasTexts);
    menus_->SetVisible("SlideMenuItem", slides);
    menus_->SetVisible("N11", s.HasTexts || slides);
    menus_->SetVisible("SelVideoPlayerMenuItem", s.VideosEnabled);
    menus_->SetVisible("N7", s.VideosEnabled || menus_->Visible("SelectAudioPlayerMenuItem"));
    if (seams_.refreshFieldEntries) seams_.refreshFieldEntries();
    if (seams_.videoPlayers)
        menus_->SetDynamicItems(DynamicMenu::VideoPlayers, seams_.videoPlayers(), kVideoPlayerMenuFirst,
                                seams_.videoPlayerChosen ? seams_.videoPlayerChosen() : -1);
    std::vector<std::u16string> inform = InformPageCaptions();
    menus_->SetInformPages(inform);
    pages_->SetInformPages(static_cast<int>(inform.size()));
    // The arrow beside InfoBtn says that a menu of pages opens.
    int arrow = frame_.layout->Find("ArrowBtn");
    if (arrow >= 0) frame_.layout->SetVisible(arrow, inform.size() > 1);
    DrawMenuBar(frame_.window);
    if (frame_.relayout) frame_.relayout();
}

void TMainWindowUi::InitMenuPopup(HMENU menu) {
    // The video programs are looked at again as their menu opens: one may have
    // gone since the disk was loaded, and the check follows the chosen one.
    if (seams_.videoPlayers && menus_->IsDynamicSubmenu(menu, DynamicMenu::VideoPlayers))
        menus_->SetDynamicItems(DynamicMenu::VideoPlayers, seams_.videoPlayers(), kVideoPlayerMenuFirst,
                                seams_.videoPlayerChosen ? seams_.videoPlayerChosen() : -1,
                                seams_.videoPlayersShown ? seams_.videoPlayersShown() : std::vector<bool>{});
    menus_->InitMenuPopup(menu);
}

// ---- Language ----

void TMainWindowUi::BuildLanguageMenus() {
    const lang::LanguageMenu& menu = lang::CurrentLanguage().RebuildMenu();
    std::vector<std::u16string> captions;
    for (const auto& item : menu.items) captions.push_back(item.caption);
    menus_->SetDynamicItems(DynamicMenu::Languages, captions, kLanguageMenuFirst, menu.checked);
}

void TMainWindowUi::SelectLanguage(int position) {
    auto& language = lang::CurrentLanguage();
    if (language.Switch(position) == lang::SwitchResult::Unchanged) return;
    AppState& app = App();
    app.languageId = language.Id();
    TheCatalogue().secondLanguageActive = language.SecondLanguageActive();
    if (frame_.setCaptions) frame_.setCaptions();
    if (seams_.languageChanged) seams_.languageChanged(app.languageId);
    BuildLanguageMenus();
    menus_->Recaption();
    DrawMenuBar(frame_.window);
    if (seams_.rebuildVisibleTree) seams_.rebuildVisibleTree();
    if (seams_.favoritesLanguage) seams_.favoritesLanguage();
    pages_->ApplyLanguage();
    ApplyDiskMenus();
}

// ---- Favourites panel ----

bool TMainWindowUi::FavoritesShown() const { return FavoritesPanelLayout(*frame_.layout).Shown(); }

void TMainWindowUi::ShowFavoritesPanel(int width) {
    FavoritesPanelLayout panel(*frame_.layout);
    if (width > 0) frame_.settings->favoritesWidth = width;
    panel.Show(true, frame_.settings->favoritesWidth);
    if (seams_.refreshPlayChecked) seams_.refreshPlayChecked();
    if (frame_.relayout) frame_.relayout();
    InvalidateRect(frame_.window, nullptr, FALSE);
}

void TMainWindowUi::ModeBtnClick() {
    FavoritesPanelLayout panel(*frame_.layout);
    if (panel.Shown()) {
        frame_.settings->favoritesWidth = panel.Width();
        panel.Show(false, 0);
    } else {
        panel.Show(true, frame_.settings->favoritesWidth);
    }
    if (seams_.refreshPlayChecked) seams_.refreshPlayChecked();
    if (frame_.relayout) frame_.relayout();
    InvalidateRect(frame_.window, nullptr, FALSE);
}

// ---- Pop-up menu ----

void TMainWindowUi::PopupMenuSPopup(PopupList list) {
    PopupContext context;
    if (seams_.popupContext) context = seams_.popupContext(list);
    context.list = list;
    context.checkedCount = frame_.play->CheckedCount;
    context.diskHasTexts = Disk().HasTexts;
    context.slidesPage = SlidesShown();
    const PopupStates s = PopupMenuRules(context);
    TMainMenus& m = *menus_;
    for (const char* name : {"N3", "Playall1", "Playtopic1", "Playchecked1", "PlayFavori1", "BeginMenuItem", "N9"})
        m.SetVisible(name, s.playEntriesVisible);
    m.SetRuleEnabled("Playchecked1", s.playCheckedEnabled);
    m.SetRuleEnabled("PlayFavori1", s.playFavoritEnabled);
    m.SetRuleEnabled("InfoMenu", s.infoEnabled);
    m.SetVisible("SaveAsMenu", s.saveAsVisible);
    m.SetVisible("N4", m.Visible("SaveAsMenu"));
    m.SetVisible("N6", m.Visible("PrintMenu"));
    m.SetVisible("TextMenuItem", s.textVisible);
    m.SetVisible("SlideMenuItem", s.slideVisible);
    m.SetVisible("N11", s.textVisible || s.slideVisible);
    BuildLanguageMenus();
    if (seams_.refreshFieldEntries) seams_.refreshFieldEntries();
}

void TMainWindowUi::ShowPopupMenu(PopupList list, POINT screen) {
    PopupMenuSPopup(list);
    popupList_ = list;
    TrackPopupMenuEx(menus_->Popup(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, frame_.window, nullptr);
}

void TMainWindowUi::FormResize() {
    if (SlidesShown() && pages_->Current() == kPageSlides && seams_.refitSlide) seams_.refitSlide();
}

// ---- Test observer ----

void LogCommandsWhenAsked(CommandTable& commands) {
    wchar_t path[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"QLM_COMMAND_LOG", path, MAX_PATH) == 0) return;
    std::wstring file(path);
    commands.SetObserver([file](uint16_t id, bool ran) {
        HANDLE h = CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return;
        char line[48];
        int n = wsprintfA(line, "cmd=%u ran=%d\r\n", static_cast<unsigned>(id), ran ? 1 : 0);
        DWORD written = 0;
        WriteFile(h, line, static_cast<DWORD>(n), &written, nullptr);
        CloseHandle(h);
    });
}

}  // namespace qlm
