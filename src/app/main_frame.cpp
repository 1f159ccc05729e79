// The frame of the main window: which box sits where, the controls bound to
// them, painting of the bare boxes, and the minimum height rule.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/app_state.h"
#include "app/main_form.h"
#include "app/page_buttons.h"
#include "content/catalogue.h"
#include "win/handles.h"

namespace qlm {
namespace {

constexpr int kColumnWidth = 88;      // Panel3, the page-button column
constexpr int kTopBarHeight = 47;     // MainTopPanel
constexpr int kBottomBarHeight = 80;  // MainBottomPanel
constexpr int kLogoWidth = 88;        // LDLogo
constexpr int kBannerPanelHeight = 96;

// Boxes the form paints itself, with their plain colours until the artwork.
struct BoxPaint {
    const char* name;
    COLORREF color;
};
constexpr BoxPaint kBoxPaints[] = {
    {"LWall", RGB(40, 52, 86)},        {"Wall", RGB(56, 72, 118)},
    {"ListBtnPanel", RGB(88, 110, 170)}, {"BtnSlidePanel", RGB(76, 96, 150)},
    {"BtnInformPanel", RGB(76, 96, 150)}, {"BtnAnonsPanel", RGB(76, 96, 150)},
    {"BtnHelpPanel", RGB(76, 96, 150)}, {"TextBtnPanel", RGB(76, 96, 150)},
    {"BanersBtnPanel", RGB(48, 60, 100)}, {"MainTopPanel", RGB(66, 84, 136)},
    {"TLElt", RGB(40, 52, 86)},        {"TopBtnListPanel", RGB(66, 84, 136)},
    {"ListCap", RGB(90, 112, 172)},    {"MainBottomPanel", RGB(30, 38, 64)},
    {"LDLogo", RGB(40, 52, 86)},       {"Panel1", RGB(20, 26, 44)},
    {"Form4Splitter", RGB(120, 130, 160)}, {"DockImage", RGB(226, 226, 226)},
};

}  // namespace

void TMainForm::BuildFrame() {
    using A = Align;
    constexpr int R = AlignLayout::kRoot;
    // The top and bottom bars span the whole width; the column sits between them.
    int top = layout_.Add(R, "MainTopPanel", A::Top, kTopBarHeight);
    layout_.Add(top, "TLElt", A::Left, kColumnWidth);
    layout_.Add(top, "DemoBtn", A::Left, 0);
    int listBar = layout_.Add(top, "TopBtnListPanel", A::Client);
    layout_.Add(listBar, "ListCap", A::Right, 140);
    for (const char* bar : {"TopBtnSlidePanel", "TopBtnInformPanel", "TopBtnAnonsPanel", "TopBtnHelpPanel"})
        layout_.SetVisible(layout_.Add(top, bar, A::Client), false);

    int bottom = layout_.Add(R, "MainBottomPanel", A::Bottom, kBottomBarHeight);
    layout_.Add(bottom, "LDLogo", A::Left, kLogoWidth);
    layout_.Add(bottom, "Panel1", A::Client);

    int column = layout_.Add(R, "Panel3", A::Left, kColumnWidth);
    layout_.Add(column, "LWall", A::Right, 4);
    int buttons = layout_.Add(column, "Panel2", A::Client);
    layout_.Add(buttons, "ListBtnPanel", A::Top, kPageButtonHeight);
    for (const char* panel : {"BtnSlidePanel", "BtnInformPanel", "BtnAnonsPanel", "BtnHelpPanel", "TextBtnPanel"})
        layout_.SetVisible(layout_.Add(buttons, panel, A::Top, kPageButtonHeight), false);
    layout_.Add(buttons, "BanersBtnPanel", A::Bottom, kBannerPanelHeight);
    layout_.Add(buttons, "Wall", A::Client);

    int pages = layout_.Add(R, "PageControlPanel", A::Client);
    int listPage = layout_.Add(pages, "MainTreeListPanel", A::Client);
    for (const char* page : {"MainSlidePanel", "MainInformPanel", "MainAnonsPanel", "MainHelpPanel"})
        layout_.SetVisible(layout_.Add(pages, page, A::Client), false);

    // The list page: dock site for the text window at the right, then the lists.
    int dock = layout_.Add(listPage, "Form4Panel", A::Right, 0);
    layout_.Add(dock, "DockImage", A::Client);
    layout_.SetVisible(layout_.Add(listPage, "Form4Splitter", A::Right, 3), false);
    int lists = layout_.Add(listPage, "ClientPanel", A::Client);
    int favorites = layout_.Add(lists, "FavoriPanel", A::Right, 110);
    layout_.SetVisible(favorites, false);
    layout_.SetVisible(layout_.Add(lists, "Splitter2", A::Right, 3), false);
    int left = layout_.Add(lists, "LeftPanel", A::Client);
    int songs = layout_.Add(left, "SongsList", A::Right, 80);
    layout_.SetVisible(songs, false);
    layout_.SetVisible(layout_.Add(left, "ControlBar", A::Right, 4), false);
    int tree = layout_.Add(left, "Tree", A::Client);
    int favoritesList = layout_.Add(favorites, "FavoritesList", A::Client);

    HINSTANCE inst = win::ModuleInstance();
    tree_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                            WS_CHILD | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                TVS_SHOWSELALWAYS | TVS_INFOTIP,
                            0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(100)), inst, nullptr);
    songsList_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_TABSTOP | LVS_REPORT, 0, 0, 0, 0,
                                 hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(101)), inst, nullptr);
    favoritesList_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_TABSTOP | LVS_REPORT, 0, 0,
                                     0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(102)), inst, nullptr);
    aligned_.Bind(tree, tree_);
    aligned_.Bind(songs, songsList_);
    aligned_.Bind(favoritesList, favoritesList_);
}

void TMainForm::FormResize() {
    if (!hwnd() || layout_.Count() <= 1) return;
    aligned_.Relayout(hwnd());
}

void TMainForm::FormPaint() {
    win::PaintScope paint(hwnd());
    HDC dc = paint.dc();
    RECT client{};
    GetClientRect(hwnd(), &client);
    win::UniqueBrush back(CreateSolidBrush(RGB(56, 72, 118)));
    FillRect(dc, &client, back.get());
    if (layout_.Count() <= 1) return;
    for (const auto& p : kBoxPaints) {
        int box = layout_.Find(p.name);
        if (box < 0 || !layout_.Visible(box)) continue;
        const LayoutRect& r = layout_.Bounds(box);
        RECT rc{r.left, r.top, r.right, r.bottom};
        win::UniqueBrush brush(CreateSolidBrush(p.color));
        FillRect(dc, &rc, brush.get());
    }
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

namespace {
void InsertNodes(HWND tree, const Catalogue& cat, const std::vector<TRDataNode*>& nodes, HTREEITEM parent) {
    for (const TRDataNode* node : nodes) {
        std::wstring text = win::Wide(cat.NodeDisplayText(*node, true, false));
        TVINSERTSTRUCTW ins{};
        ins.hParent = parent;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_PARAM;
        ins.item.pszText = text.data();
        ins.item.lParam = node->ListIndex;
        HTREEITEM item = TreeView_InsertItem(tree, &ins);
        if (item && !node->Children.empty()) InsertNodes(tree, cat, node->Children, item);
    }
}
}  // namespace

void TMainForm::FillTree() {
    if (!tree_) return;
    win::RedrawScope redraw(tree_);
    TreeView_DeleteAllItems(tree_);
    const Catalogue& cat = TheCatalogue();
    InsertNodes(tree_, cat, cat.Roots(), TVI_ROOT);
}

}  // namespace qlm

namespace qlm {

void TMainForm::ShowFavoritesPanel(int width) {
    int panel = layout_.Find("FavoriPanel");
    layout_.SetSize(panel, width);
    layout_.SetVisible(panel, true);
    layout_.SetVisible(layout_.Find("Splitter2"), true);
    FormResize();
}

}  // namespace qlm
