// The frame of the main window: which box sits where, the controls bound to
// them, painting of the bare boxes, and the minimum height rule.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/app_state.h"
#include "app/main_form.h"
#include "app/main_ui.h"
#include "pages/info_pages.h"
#include "app/page_buttons.h"
#include "app/page_rules.h"
#include "app/picture_names.h"
#include "app/skin_scheme.h"
#include "app/startup_steps.h"
#include "app/skin/skin_table.h"
#include "content/catalogue.h"
#include "win/handles.h"

namespace qlm {
namespace {

// Sizes of the skin's pictures the frame is built around.
constexpr int kPageButtonWidth = 96;   // LISTBTN and its kin
constexpr int kInfoButtonWidth = 84;   // INFOBTN, followed by ARROWBTN
constexpr int kWallWidth = 8;          // LWALL, at the column's right edge
constexpr int kColumnWidth = kPageButtonWidth + kWallWidth;  // Panel3
constexpr int kTopBarHeight = 40;      // MainTopPanel: TLELT, TOPWALL, the captions
constexpr int kCornerWidth = 104;      // TLELT
constexpr int kCaptionWidth = 200;     // LISTCAP and its kin
constexpr int kTopButtonSize = 36;
constexpr int kBannerHeight = 48;      // IMAGEBUNER1/2
constexpr int kBottomBarHeight = 110;  // MainBottomPanel: LDLOGO and the player panel
constexpr int kLogoWidth = 104;
constexpr int kPlayerLeftWidth = 38;
constexpr int kPlayerRightWidth = 160;

COLORREF Rgb(const skin::Colour& c) { return RGB(c.r, c.g, c.b); }

}  // namespace

TImageButton& TMainForm::AddImage(const std::string& name, int box, bool stretch) {
    images_.push_back(std::make_unique<TImageButton>(name));
    TImageButton& image = *images_.back();
    image.Stretch = stretch;
    imageBoxes_.push_back(box);
    buttonHost_.Add(image);
    return image;
}

void TMainForm::BuildFrame() {
    using A = Align;
    constexpr int R = AlignLayout::kRoot;
    buttonHost_.SetParent(hwnd());
    const bool builtIn = App().languageId.empty();
    const int scheme = 0;

    // The top and bottom bars span the whole width; the column sits between them.
    int top = layout_.Add(R, "MainTopPanel", A::Top, kTopBarHeight);
    int corner = layout_.Add(top, "TLElt", A::Left, kCornerWidth);
    int listBar = layout_.Add(top, "TopBtnListPanel", A::Client);
    int listCap = layout_.Add(listBar, "ListCap", A::Right, kCaptionWidth);
    const char* bars[][2] = {{"TopBtnSlidePanel", "SlideCap"},
                             {"TopBtnInformPanel", "InformCap"},
                             {"TopBtnAnonsPanel", "AnonsCap"},
                             {"TopBtnHelpPanel", "HelpCap"}};
    for (const auto& bar : bars) {
        int box = layout_.Add(top, bar[0], A::Client);
        layout_.SetVisible(box, false);
        AddImage(std::string(bar[0]) + "Wall", box, true).LoadPicture("TOPWALL");
        SetLanguageButtonPicture(AddImage(bar[1], layout_.Add(box, bar[1], A::Right, kCaptionWidth)), builtIn,
                                 false, false, false);
    }
    AddImage("TopWall", listBar, true).LoadPicture("TOPWALL");
    LoadImagePicture(AddImage("TLElt", corner), SchemePictureName("TLElt", scheme));
    SetLanguageButtonPicture(AddImage("ListCap", listCap), builtIn, false, false, false);
    // The list page's buttons on the bar, at the pitch they were drawn for.
    const char* listButtons[] = {"PlayAllBtn", "PlayCheckedBtn", "PlayFavoritBtn", "ExpTreeBtn", "FindBtn"};
    for (int i = 0; i < 5; ++i) {
        int x = skin::spot::kTopButtonFirst.x + i * skin::spot::kTopButtonPitch.x - kCornerWidth;
        int y = skin::spot::kTopButtonFirst.y;
        int box = layout_.Add(listBar, listButtons[i], A::None, 0, {x, y, x + kTopButtonSize, y + kTopButtonSize});
        bool passive = i == 1 || i == 2;  // nothing checked, no favourites yet
        SetButtonPicture(AddImage(listButtons[i], box), false, false, false, passive);
    }

    int bottom = layout_.Add(R, "MainBottomPanel", A::Bottom, kBottomBarHeight);
    int logo = layout_.Add(bottom, "LDLogo", A::Left, kLogoWidth);
    int player = layout_.Add(bottom, "Panel1", A::Client);
    int playerLeft = layout_.Add(player, "PlayerLeftImage", A::Left, kPlayerLeftWidth);
    int playerRight = layout_.Add(player, "PlayerRightImage", A::Right, kPlayerRightWidth);
    int playerCenter = layout_.Add(player, "PlayerCenterImage", A::Client);
    LoadImagePicture(AddImage("LDLogo", logo), SchemePictureName("LDLogo", scheme));
    LoadImagePicture(AddImage("PlayerLeftImage", playerLeft));
    LoadImagePicture(AddImage("PlayerCenterImage", playerCenter, true));
    LoadImagePicture(AddImage("PlayerRightImage", playerRight));

    int column = layout_.Add(R, "Panel3", A::Left, kColumnWidth);
    int lwall = layout_.Add(column, "LWall", A::Right, kWallWidth);
    LoadImagePicture(AddImage("LWall", lwall, true), SchemePictureName("LWall", scheme));
    int buttons = layout_.Add(column, "Panel2", A::Client);
    struct PageButton {
        const char* panel;
        const char* button;
    };
    const PageButton pageButtons[] = {{"ListBtnPanel", "ListBtn"},   {"BtnSlidePanel", "SlideBtn"},
                                      {"BtnInformPanel", "InfoBtn"}, {"BtnAnonsPanel", "AnonsBtn"},
                                      {"BtnHelpPanel", "HelpBtn"},   {"TextBtnPanel", "TextBtn"}};
    for (const auto& pb : pageButtons) {
        int panel = layout_.Add(buttons, pb.panel, A::Top, kPageButtonHeight);
        bool list = std::string(pb.button) == "ListBtn";
        layout_.SetVisible(panel, list);
        int box = panel;
        if (std::string(pb.button) == "InfoBtn") {
            box = layout_.Add(panel, "InfoBtnBox", A::Left, kInfoButtonWidth);
            int arrow = layout_.Add(panel, "ArrowBtn", A::Client);
            AddImage("ArrowBtn", arrow).LoadPicture("ARROWBTNU");
        }
        // The list page is the current one at start: its button is down.
        SetLanguageButtonPicture(AddImage(pb.button, box), builtIn, list, true, false);
    }
    int banners = layout_.Add(buttons, "BanersBtnPanel", A::Bottom, 2 * kBannerHeight);
    LoadImagePicture(AddImage("ImageBuner2", layout_.Add(banners, "ImageBuner2", A::Bottom, kBannerHeight)));
    LoadImagePicture(AddImage("ImageBuner1", layout_.Add(banners, "ImageBuner1", A::Client)));
    LoadImagePicture(AddImage("Wall", layout_.Add(buttons, "Wall", A::Client), true));

    int pages = layout_.Add(R, "PageControlPanel", A::Client);
    int listPage = layout_.Add(pages, "MainTreeListPanel", A::Client);
    for (const char* page : {"MainSlidePanel", "MainInformPanel", "MainAnonsPanel", "MainHelpPanel"})
        layout_.SetVisible(layout_.Add(pages, page, A::Client), false);

    // The list page: dock site for the text window at the right, then the lists.
    int dock = layout_.Add(listPage, "Form4Panel", A::Right, 0);
    LoadImagePicture(AddImage("DockImage", layout_.Add(dock, "DockImage", A::Client), true));
    layout_.SetVisible(layout_.Add(listPage, "Form4Splitter", A::Right, 3), false);
    int lists = layout_.Add(listPage, "ClientPanel", A::Client);
    int favorites = layout_.Add(lists, "FavoriPanel", A::Right, 110);
    layout_.SetVisible(favorites, false);
    const int splitter = layout_.Add(lists, "Splitter2", A::Right, 3);
    layout_.SetVisible(splitter, false);
    // The tree, ControlBar and SongsList are laid out by the browser's own panel.
    int left = layout_.Add(lists, "LeftPanel", A::Client);
    browser_ = std::make_unique<browse::TCatalogueBrowser>(TheCatalogue(), play_, textFont_.get());
    browser_->CreatePanel(hwnd(), commands_);
    // PlayCheckedBtn (and the play-checked entries through their command) only with a checked song.
    browser_->hooks.checkedCountChanged = [this] { UpdatePlayCommandStates(); };
    browser_->hooks.toolTips = [] { return ToolTips(); };
    // The text window decides what a node shows (text, description, title picture).
    auto showNode = [this](const TRDataNode& node) {
        if (form4_) form4_->ShowForNode(node, TheCatalogue().NodeDisplayText(node, true, false));
    };
    browser_->hooks.showText = [showNode](const TRDataNode& node, bool) { showNode(node); };
    browser_->hooks.showVideoDescription = showNode;
    browser_->hooks.showTitlePicture = [this](const std::u16string&) {
        if (form4_) form4_->ShowTitlePicture();
    };
    tree_ = browser_->TreeHwnd();
    songsList_ = browser_->ListHwnd();
    aligned_.Bind(left, browser_->Panel());
    CreateFavoritesPanel(favorites);
    // Splitter2: dragging it sizes the favourites panel, which keeps the width.
    splitter2_ = std::make_unique<win::SplitterBar>();
    if (splitter2_->Create(hwnd(), [this, lists](int edge) { Splitter2Drag(lists, edge); }))
        aligned_.Bind(splitter, splitter2_->hwnd());
    BuildPagesFrame();
}

void TMainForm::Splitter2Drag(int listsBox, int edge) {
    const int panel = layout_.Find("FavoriPanel");
    if (panel < 0 || !layout_.Visible(panel)) return;
    POINT screen{edge, 0};
    ScreenToClient(hwnd(), &screen);
    const LayoutRect& r = layout_.Bounds(panel);
    const LayoutRect& lists = layout_.Bounds(listsBox);
    constexpr int kLeast = 40, kTreeLeast = 120;  // the panel, and what the tree keeps
    const int most = std::max(kLeast, lists.right - lists.left - kTreeLeast);
    const int width = std::clamp(static_cast<int>(r.right - screen.x), kLeast, most);
    if (width == r.Width()) return;
    settings_.favoritesWidth = width;
    FavoritesPanelLayout(layout_).Show(true, width);
    FormResize();
}

void TMainForm::FormResize() {
    if (!hwnd() || layout_.Count() <= 1) return;
    aligned_.Relayout(hwnd());
    if (form4_) form4_->FollowDockPanel();
    if (ui_) ui_->FormResize();
    if (info_) info_->AnonsPanelResized();
    // The pictures follow their boxes; they are painted by the window itself.
    for (size_t i = 0; i < images_.size(); ++i) {
        const LayoutRect& r = layout_.Bounds(imageBoxes_[i]);
        images_[i]->SetBounds(r.left, r.top, r.Width(), r.Height());
        images_[i]->SetVisible(layout_.Visible(imageBoxes_[i]));
    }
    PlaybackResize();
}

void TMainForm::FormPaint() {
    win::PaintScope paint(hwnd());
    HDC dc = paint.dc();
    RECT client{};
    GetClientRect(hwnd(), &client);
    // What no picture covers takes the colour of the column or the bar it belongs to.
    win::UniqueBrush column(CreateSolidBrush(Rgb(skin::colour::kLeftColumn)));
    FillRect(dc, &client, column.get());
    int top = layout_.Find("MainTopPanel");
    if (top >= 0) {
        const LayoutRect& r = layout_.Bounds(top);
        RECT rc{r.left, r.top, r.right, r.bottom};
        win::UniqueBrush bar(CreateSolidBrush(Rgb(skin::colour::kTopBar)));
        FillRect(dc, &rc, bar.get());
    }
    buttonHost_.Paint(dc, paint.rect());
}

void TMainForm::ApplyPageButtons() {
    const Catalogue& cat = TheCatalogue();
    PageButtons buttons = PageButtonsOf(cat.settings, !cat.slides.empty(), cat.pages);
    layout_.SetVisible(layout_.Find("TextBtnPanel"), buttons.text);
    layout_.SetVisible(layout_.Find("BtnSlidePanel"), buttons.slides);
    layout_.SetVisible(layout_.Find("BtnInformPanel"), buttons.inform);
    layout_.SetVisible(layout_.Find("BtnAnonsPanel"), buttons.anons);
    layout_.SetVisible(layout_.Find("BtnHelpPanel"), buttons.help);
    FormResize();
    minHeight_ = MinimumWindowHeight(buttons);
    RECT rc{};
    GetWindowRect(hwnd(), &rc);
    if (rc.bottom - rc.top < minHeight_ || rc.right - rc.left < kDesignMinWidth)
        SetWindowPos(hwnd(), nullptr, 0, 0, std::max<int>(rc.right - rc.left, kDesignMinWidth),
                     std::max<int>(rc.bottom - rc.top, minHeight_), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::FillTree() {
    if (browser_) browser_->DiskLoaded();
}

}  // namespace qlm

namespace qlm {

void TMainForm::ShowFavoritesPanel(int width) {
    if (ui_) ui_->ShowFavoritesPanel(width);
}

}  // namespace qlm

namespace qlm {

TImageButton* TMainForm::Image(std::string_view name) const {
    for (const auto& image : images_)
        if (image->Name() == name) return image.get();
    return nullptr;
}

void TMainForm::ApplySchemeColours() {
    ColourSchemeTargets targets;
    targets.playerLeft = Image("PlayerLeftImage");
    targets.playerCenter = Image("PlayerCenterImage");
    targets.playerRight = Image("PlayerRightImage");
    targets.ldLogo = Image("LDLogo");
    targets.tlElt = Image("TLElt");
    targets.lWall = Image("LWall");
    ApplyColourScheme(settings_.colorScheme, targets);
    if (panel_) panel_->SetScheme(settings_.colorScheme);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

}  // namespace qlm

namespace qlm {

namespace {

// The catalogue browser as the favourites see it.
class BrowserViews : public FavoritesViews {
public:
    explicit BrowserViews(browse::TCatalogueBrowser& b) : b_(b) {}
    TRDataNode* SelectedTreeNode() override { return const_cast<TRDataNode*>(b_.SelectedNode()); }
    std::vector<TRDataNode*> SelectedListSongs() override {
        std::vector<TRDataNode*> out;
        for (const TRDataNode* n : b_.SelectedListItems())
            if (n && n->IsSong()) out.push_back(const_cast<TRDataNode*>(n));
        return out;
    }
    bool SongListHasFocus() override { return GetFocus() == b_.ListHwnd(); }
    bool IsTree(HWND window) override { return b_.IsTree(window); }
    bool IsSongList(HWND window) override { return b_.IsSongList(window); }

private:
    browse::TCatalogueBrowser& b_;
};

}  // namespace

// The favourites panel in its box at the right of the lists.
void TMainForm::CreateFavoritesPanel(int box) {
    favorites_ = std::make_unique<TFavoritesList>(TheCatalogue(), favoritesFiles_);
    if (!browser_) return;
    if (!favorites_->CreatePanel(hwnd(), textFont_.get())) return;
    favoritesViews_ = std::make_unique<BrowserViews>(*browser_);
    favorites_->SetViews(favoritesViews_.get());
    favorites_->WatchDragsFrom(browser_->TreeHwnd());
    favorites_->WatchDragsFrom(browser_->ListHwnd());
    // The song list's title strip names the playing favourite by its caption.
    browser_->hooks.playingFavoriteText = [this]() -> std::u16string {
        const auto& items = favorites_->Items();
        const int i = play_.PlayingFavorite;
        return i >= 0 && static_cast<size_t>(i) < items.size() ? items[static_cast<size_t>(i)].caption : u"";
    };
    favorites_->SetPlayState(&play_);
    favorites_->On().itemsChanged = [this](bool) { UpdatePlayCommandStates(); };
    favorites_->On().showInfo = [this](const TRDataNode& song) { browser_->ShowTagWindow(song); };
    favorites_->On().showSongText = [this](const TRDataNode& song) {
        if (form4_) form4_->ShowForNode(song, TheCatalogue().NodeDisplayText(song, true, false));
    };
    favoritesList_ = favorites_->ListWindow();
    aligned_.Bind(box, favorites_->hwnd());
    BindFavoritesCommands();
}

void TMainForm::StartFavorites() {
    if (!favorites_) return;
    favorites_->StartUp(App().installedProgramPath);
    App().favoritesInInstallFolder = favorites_->InInstallFolder();
    favorites_->LoadForDisk();
}

// The favourites' commands of the menus and keys.
void TMainForm::BindFavoritesCommands() {
    TFavoritesList* f = favorites_.get();
    commands_.Bind(Cmd::FavoritesAdd, [f] { f->AddCommand(); });
    commands_.Bind(Cmd::FavoritesRemove, [f] { f->DeleteSelected(); });
    commands_.Bind(Cmd::FavoritesClear, [f] { f->ClearAll(); });
    // The pop-up's "&Информация" and "&Сохранить как ..." for the favourites
    // while the list has the focus; the catalogue views bind theirs over these.
    browse::TCatalogueBrowser* b = browser_.get();
    commands_.Bind(Cmd::Info, [f, b] {
        if (f->CanShowInfo()) f->InfoCommand();
        else if (b) b->InfoMenuClick(nullptr);
    });
    // "&Сохранить как ...": the favourite, else the song or video under the pop-up.
    auto catalogueFile = [b] { return b ? b->FileUnderPopup() : std::u16string(); };
    commands_.Bind(
        Cmd::SaveAs,
        [this, f, catalogueFile] {
            if (f->CanShowInfo()) {
                f->SaveAsCommand();
            } else if (std::u16string file = catalogueFile(); !file.empty()) {
                SaveSongFileAs(hwnd(), file);
            }
        },
        [f, catalogueFile] { return f->CanShowInfo() || !catalogueFile().empty(); });
}

}  // namespace qlm
