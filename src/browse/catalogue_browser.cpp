#include "browse/catalogue_browser.h"
#include "win/files.h"

#include <windowsx.h>

#include <algorithm>

#include "app/message_box.h"
#include "app/skin_picture.h"
#include "browse/tag_form.h"
#include "lang/language.h"
#include "win/handles.h"

namespace qlm::browse {
namespace {

constexpr wchar_t kPanelClass[] = L"TLeftPanel";
constexpr int kTreeId = 100;
constexpr int kListId = 101;
constexpr int kItemHeight = 19;
constexpr int kListImageWidth = 15;

}  // namespace

TCatalogueBrowser::TCatalogueBrowser(Catalogue& catalogue, PlayState& play, TMyFontClass* textFont)
    : cat_(catalogue), play_(play), font_(textFont) {}

TCatalogueBrowser::~TCatalogueBrowser() {
    if (images_) ImageList_Destroy(images_);
}

bool TCatalogueBrowser::CreatePanel(HWND parent, CommandTable& commands) {
    RegisterWindowClass(kPanelClass, CS_DBLCLKS, nullptr);
    win::CreateParams p;
    p.className = kPanelClass;
    p.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    p.exStyle = WS_EX_CONTROLPARENT;
    p.parent = parent;
    p.x = p.y = 0;
    p.width = p.height = 10;
    if (!Create(p)) return false;
    HINSTANCE inst = win::ModuleInstance();

    tree_.Create(hwnd(), kTreeId);
    HWND tree = tree_.hwnd();
    TreeView_SetIndent(tree, kTreeIndent);
    TreeView_SetBkColor(tree, kTreeBackground);
    TreeView_SetItemHeight(tree, kItemHeight);
    SkinPicture strip = LoadSkinPicture(std::string_view("IMAGELIST1"));
    images_ = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 7, 0);
    if (images_ && strip.Handle()) ImageList_AddMasked(images_, strip.Handle(), RGB(255, 0, 255));
    TreeView_SetImageList(tree, images_, TVSIL_STATE);
    paint_.SetStateImages(images_, kTreeBackground);
    tree_.TextWidth = [this](const std::u16string& t, HTREEITEM n) { return TreeTextWidth(t, n); };
    tree_.OnToolTipsText = [this](HTREEITEM n, std::u16string& t) { TreeToolTipsText(n, t); };
    tree_.OnCustomDrawToolTips = [this](HTREEITEM n, int stage, const std::u16string& t, bool& d) {
        TreeCustomDrawToolTips(n, stage, t, d);
    };
    tree_.OnInput = [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        switch (msg) {
            case WM_KEYDOWN: return TreeKeyDown(wParam);
            case WM_CHAR: return TreeKeyPress(static_cast<wchar_t>(wParam));
            case WM_LBUTTONDOWN: return TreeMouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            default: return false;
        }
    };

    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_OWNERDRAWFIXED |
                                LVS_SHOWSELALWAYS,
                            0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), inst, nullptr);
    ListView_SetBkColor(list_, kTreeBackground);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
    LVCOLUMNW col{};
    col.mask = LVCF_WIDTH;
    col.cx = 100;
    ListView_InsertColumn(list_, 0, &col);

    bar_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_NOTIFY, 0, 0, 0, 0, hwnd(), nullptr, inst, nullptr);
    SetWindowSubclass(bar_, BarProc, 1, reinterpret_cast<DWORD_PTR>(this));

    ownerWindow_ = GetAncestor(parent, GA_ROOT);

    commands.Bind(Cmd::ExpandTree, [this] { ExpTreeBtnClick(); });
    commands.Bind(Cmd::ExpandAll, [this] { ExpandAll(true); });
    commands.Bind(Cmd::CollapseAll, [this] { ExpandAll(false); });
    const Cmd fields[] = {Cmd::FieldComposer, Cmd::FieldArtist, Cmd::FieldAlbum, Cmd::FieldYear, Cmd::FieldGenre};
    for (int f = 0; f < kTagFieldCount; ++f) {
        commands.Bind(
            fields[f], [this, f] { SelectListFieldsClick(f, true); },
            [this, f] { return FieldMenus().entryVisible[f]; }, [this, f] { return FieldMenus().checked[f]; });
    }
    const std::pair<Cmd, BookEntry> book[] = {{Cmd::BookModeNone, BookEntry::None},
                                              {Cmd::BookModeVertical, BookEntry::Vertical},
                                              {Cmd::BookModeHorizontal, BookEntry::Horizontal}};
    for (auto [id, entry] : book) {
        commands.Bind(
            id, [this, entry] { MenuHorisontalBookModeClick(entry); }, [this] { return BookModeAvailable(); },
            [this, entry] { return book_.Checked() == entry; });
    }
    commands.Bind(Cmd::Info, [this] { InfoMenuClick(nullptr); });
    return true;
}

TToolTipsWindow& TCatalogueBrowser::Tips() {
    if (hooks.toolTips)
        if (TToolTipsWindow* t = hooks.toolTips(); t && t->hwnd()) return *t;
    if (!tips_.hwnd()) tips_.CreateTip(ownerWindow_);
    return tips_;
}

// ---- mapping between items and records

HTREEITEM TCatalogueBrowser::ItemOf(const TRDataNode* node) const {
    if (!node || node->ListIndex < 0 || static_cast<size_t>(node->ListIndex) >= itemOf_.size()) return nullptr;
    return itemOf_[node->ListIndex];
}

const TRDataNode* TCatalogueBrowser::NodeOf(HTREEITEM item) const {
    if (!item) return nullptr;
    TVITEMW tv{};
    tv.mask = TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = item;
    if (!TreeView_GetItem(tree_.hwnd(), &tv)) return nullptr;
    return cat_.Node(static_cast<int32_t>(tv.lParam));
}

const TRDataNode* TCatalogueBrowser::SelectedNode() const { return NodeOf(TreeView_GetSelection(tree_.hwnd())); }

const TRDataNode* TCatalogueBrowser::NodeAt(POINT p) const { return NodeOf(tree_.ItemAt(p.x, p.y)); }

bool TCatalogueBrowser::SelectNode(const TRDataNode* node, bool reveal) {
    HTREEITEM item = ItemOf(node);
    if (!item) return false;
    if (!reveal || gate_.Value() == 2) {
        TreeView_SelectItem(tree_.hwnd(), item);
        return true;
    }
    gate_.Open(2);
    TreeView_EnsureVisible(tree_.hwnd(), item);
    TreeView_SelectItem(tree_.hwnd(), item);
    gate_.Close();
    UpdatePlayingMarkers(false);
    return true;
}

void TCatalogueBrowser::SelectFirstNode() {
    if (HTREEITEM first = TreeView_GetRoot(tree_.hwnd())) TreeView_SelectItem(tree_.hwnd(), first);
}

const std::u16string& TCatalogueBrowser::TextOf(const TRDataNode& node) const {
    static const std::u16string empty;
    if (node.ListIndex < 0 || static_cast<size_t>(node.ListIndex) >= texts_.size()) return empty;
    return texts_[node.ListIndex];
}

uint8_t TCatalogueBrowser::CharsetOf(const TRDataNode& node) const {
    return cat_.secondLanguageActive && cat_.settings.DualLanguageNames ? node.Charset2 : node.Charset;
}

// ---- rebuilding

void TCatalogueBrowser::Clear() {
    rebuilding_ = true;
    TreeView_DeleteAllItems(tree_.hwnd());
    ListView_DeleteAllItems(list_);
    rebuilding_ = false;
    itemOf_.clear();
    texts_.clear();
    visibleProxy_ = listProxy_ = popupNode_ = listed_ = nullptr;
    Tips().HideTip();
    Tips().Node = nullptr;
}

void TCatalogueBrowser::RebuildVisibleTree(bool withSongs) {
    HWND tree = tree_.hwnd();
    rebuilding_ = true;
    {
        win::RedrawScope redraw(tree);
        gate_.Open(2);
        // 1. The selection's record; one that leaves the tree gives way to its folder.
        const TRDataNode* selected = SelectedNode();
        while (selected && !withSongs && !KeptInBook(*selected)) selected = selected->Parent;
        // 2. The records already hold the expansion (TreeItemExpanded keeps it);
        // asking the control item by item costs a search of all items per call.
        const TRDataNode* top = NodeOf(TreeView_GetFirstVisible(tree));
        while (top && !withSongs && !KeptInBook(*top)) top = top->Parent;
        // 3-4. The copy: one insertion per kept node, state and texts set on the way.
        // No selection while emptying: the control would move it item by item.
        TreeView_SelectItem(tree, nullptr);
        TreeView_DeleteAllItems(tree);
        itemOf_.assign(cat_.NodeCount(), nullptr);
        texts_.resize(cat_.NodeCount());
        withSongs_ = withSongs;
        std::vector<HTREEITEM> parents;  // by level: the last item inserted there
        for (TRDataNode* n = cat_.FirstInTreeOrder(); n; n = cat_.NextInTreeOrder(n)) {
            if (!withSongs && !KeptInBook(*n)) continue;
            if (n->IsSong()) n->StateImage = StateImageOf(*n);
            std::u16string& text = texts_[n->ListIndex];
            text = cat_.NodeDisplayText(*n, true, false);
            while (!text.empty() && text.back() == u' ') text.pop_back();
            if (n->HasWideNames()) n->DisplayText = text;
            HTREEITEM parent = TVI_ROOT;
            if (n->Parent) parent = ItemOf(n->Parent);
            if (!parent) continue;  // its folder is not in the tree
            TVINSERTSTRUCTW ins{};
            ins.hParent = parent;
            ins.hInsertAfter = TVI_LAST;
            ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
            std::wstring wide = win::Wide(text);
            ins.item.pszText = wide.data();
            ins.item.lParam = n->ListIndex;
            ins.item.stateMask = TVIS_STATEIMAGEMASK | TVIS_EXPANDED;
            ins.item.state = INDEXTOSTATEIMAGEMASK(n->StateImage) | (n->Expanded == 1 ? TVIS_EXPANDED : 0);
            itemOf_[n->ListIndex] = TreeView_InsertItem(tree, &ins);
        }
        // 5. Selection, top item, proxies.
        if (!SelectNode(selected)) SelectFirstNode();
        if (HTREEITEM t = ItemOf(top)) TreeView_Select(tree, t, TVGN_FIRSTVISIBLE);
        gate_.Close();
    }
    rebuilding_ = false;
    UpdatePlayingMarkers(true);
    if (!withSongs) {
        listed_ = nullptr;
        TreeEnter();
    }
}

void TCatalogueBrowser::DiskLoaded() {
    if (book_.on && !BookModeAvailable()) book_.on = false;
    listed_ = nullptr;
    ArrangeChildren();
    RebuildVisibleTree(!book_.on);
}

// ---- expanding

bool TCatalogueBrowser::TreeCollapsing() { return gate_.Allow(); }

void TCatalogueBrowser::ExpandAll(bool expand) {
    HWND tree = tree_.hwnd();
    {
        win::RedrawScope redraw(tree);
        gate_.Open(2);
        for (HTREEITEM& item : itemOf_)
            if (item) {
                TRDataNode* n = cat_.Node(static_cast<int32_t>(&item - itemOf_.data()));
                if (n && HasTreeChildren(*n)) {
                    TreeView_Expand(tree, item, expand ? TVE_EXPAND : TVE_COLLAPSE);
                    n->Expanded = expand ? 1 : 0;
                }
            }
        gate_.Close();
        if (HTREEITEM sel = TreeView_GetSelection(tree)) TreeView_Select(tree, sel, TVGN_FIRSTVISIBLE);
    }
    expandAllToggle_ = expand;
    UpdatePlayingMarkers(false);
}

void TCatalogueBrowser::ExpTreeBtnClick() {
    ExpandAll(!expandAllToggle_);
    if (book_.on) {
        listed_ = nullptr;
        FillSongList(SelectedNode());
    }
}

void TCatalogueBrowser::AfterExpandToggle() { UpdatePlayingMarkers(false); }

bool TCatalogueBrowser::TreeKeyDown(WPARAM key) {
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0 || GetKeyState(VK_SHIFT) < 0) return false;
    HWND tree = tree_.hwnd();
    HTREEITEM sel = TreeView_GetSelection(tree);
    if (!sel || !TreeView_GetChild(tree, sel)) return false;
    bool expanded = (TreeView_GetItemState(tree, sel, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    UINT action = 0;
    if ((key == VK_RIGHT || key == VK_ADD) && !expanded) action = TVE_EXPAND;
    if ((key == VK_LEFT || key == VK_SUBTRACT) && expanded) action = TVE_COLLAPSE;
    if (!action) return false;
    gate_.Open(1);
    TreeView_Expand(tree, sel, action);
    gate_.Close();
    if (TRDataNode* n = cat_.Node(NodeOf(sel) ? NodeOf(sel)->ListIndex : -1)) n->Expanded = action == TVE_EXPAND ? 1 : 0;
    AfterExpandToggle();
    return true;
}

bool TCatalogueBrowser::TreeKeyPress(wchar_t key) {
    HWND tree = tree_.hwnd();
    if (key == L' ') {
        HTREEITEM sel = TreeView_GetSelection(tree);
        if (const TRDataNode* n = NodeOf(sel); n && n->IsSong()) ToggleCheck(sel, *cat_.Node(n->ListIndex));
        return true;
    }
    if (key == L'\r') {
        if (const TRDataNode* n = SelectedNode(); n && hooks.playFromNode) hooks.playFromNode(*n, false, false);
        return true;
    }
    // Ctrl+F, Ctrl+P, "+" and "-" are menu shortcuts; the control must not search for them.
    return key == 6 || key == 16 || key == L'+' || key == L'-';
}

void TCatalogueBrowser::ToggleCheck(HTREEITEM item, TRDataNode& node) {
    node.Flags ^= kNodeChecked;
    play_.CheckedCount += (node.Flags & kNodeChecked) ? 1 : -1;
    if (play_.CheckedCount < 0) play_.CheckedCount = 0;
    node.StateImage = StateImageOf(node);
    TreeView_SetItemState(tree_.hwnd(), item, INDEXTOSTATEIMAGEMASK(node.StateImage), TVIS_STATEIMAGEMASK);
    if (book_.on && node.Level == 0) InvalidateRect(list_, nullptr, FALSE);
    if (hooks.checkedCountChanged) hooks.checkedCountChanged();
}

bool TCatalogueBrowser::TreeMouseDown(int x, int y) {
    HWND tree = tree_.hwnd();
    HTREEITEM item = tree_.ItemAt(x, y);
    RECT rc{};
    clickInText_ = false;
    if (!item || !tree_.TextRect(item, rc)) return false;
    clickInText_ = x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
    if (!TreeView_GetChild(tree, item) || !InExpandBox({rc.left, rc.top, rc.right, rc.bottom}, x, y)) return false;
    bool expanded = (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    gate_.Open(1);
    TreeView_Expand(tree, item, expanded ? TVE_COLLAPSE : TVE_EXPAND);
    gate_.Close();
    if (TRDataNode* n = cat_.Node(NodeOf(item) ? NodeOf(item)->ListIndex : -1)) n->Expanded = expanded ? 0 : 1;
    AfterExpandToggle();
    if (const TRDataNode* sel = SelectedNode(); sel && cat_.settings.HasTexts) {
        if (sel->IsSong()) {
            if (hooks.showText) hooks.showText(*sel, false);
        } else {
            std::u16string pic = cat_.root + cat_.DiskText(cat_.settings.TitlePicture);
            if (!cat_.settings.TitlePicture.empty() && win::FileExists(pic) && hooks.showTitlePicture)
                hooks.showTitlePicture(pic);
        }
    }
    TreeEnter();
    return false;
}

void TCatalogueBrowser::TreeMouseUp(POINT screen) {
    POINT client = screen;
    ScreenToClient(tree_.hwnd(), &client);
    const TRDataNode* n = NodeAt(client);
    popupNode_ = n ? n : SelectedNode();
    if (hooks.popupMenu) hooks.popupMenu(tree_.hwnd(), screen);
}

// ---- selection

void TCatalogueBrowser::TreeChange() { TreeEnter(); }

void TCatalogueBrowser::TreeEnter() {
    if (rebuilding_) return;
    const TRDataNode* node = SelectedNode();
    if (!node) return;
    if (book_.on) FillSongList(node);
    ShowNodeContent(*node);
    UpdatePlayingMarkers(false);
}

void TCatalogueBrowser::TreeExit() {
    Tips().HideTip();
    if (hooks.treeExited) hooks.treeExited();
}

void TCatalogueBrowser::ShowNodeContent(const TRDataNode& node) {
    if (node.IsVideoKind()) {
        if (hooks.showVideoDescription) hooks.showVideoDescription(node);
        return;
    }
    if (!cat_.settings.HasTexts) return;
    if (node.IsSong() || node.Kind == kKindTextItem) {
        if (hooks.showText) hooks.showText(node, false);
        return;
    }
    if (node.Kind == kKindTextEntry && node.Text && win::FileExists(cat_.TextEntryFile(node))) {
        if (hooks.showText) hooks.showText(node, true);
        return;
    }
    std::u16string pic = cat_.root + cat_.DiskText(cat_.settings.TitlePicture);
    if (!cat_.settings.TitlePicture.empty() && win::FileExists(pic) && hooks.showTitlePicture) hooks.showTitlePicture(pic);
}

// ---- markers

void TCatalogueBrowser::UpdatePlayingMarkers(bool forceRepaint) {
    const TRDataNode* visible = nullptr;
    const TRDataNode* inList = nullptr;
    if (play_.ActiveList == ActiveListKind::Tree && play_.PlayingNode) {
        visible = VisibleProxy(
            play_.PlayingNode, [this](const TRDataNode& n) { return ShownInTree(n); },
            [this](const TRDataNode& n) { return ShownInTree(n) && n.Expanded == 1; });
        inList = ListProxy(play_.PlayingNode, SelectedNode());
    }
    if (forceRepaint || visible != visibleProxy_) InvalidateRect(tree_.hwnd(), nullptr, FALSE);
    if (forceRepaint || inList != listProxy_) InvalidateRect(list_, nullptr, FALSE);
    visibleProxy_ = visible;
    listProxy_ = inList;
}

// ---- the song list

void TCatalogueBrowser::FillSongList(const TRDataNode* node) {
    if (node == listed_) return;
    listed_ = node;
    {
        win::RedrawScope redraw(list_);
        ListView_DeleteAllItems(list_);
        if (node) {
            std::vector<const TRDataNode*> rows;
            if (node->IsSong() || node->Kind == kKindTextEntry || node->Kind == kKindVideo)
                rows.push_back(node);
            else
                rows.assign(node->Children.begin(), node->Children.end());
            if (texts_.size() < cat_.NodeCount()) texts_.resize(cat_.NodeCount());
            int i = 0;
            for (const TRDataNode* row : rows) {
                std::u16string text = cat_.NodeDisplayText(*row, true, false);
                while (!text.empty() && text.back() == u' ') text.pop_back();
                if (row->HasWideNames()) cat_.Node(row->ListIndex)->DisplayText = text;
                texts_[row->ListIndex] = text;
                std::wstring wide = win::Wide(text);
                LVITEMW item{};
                item.mask = LVIF_TEXT | LVIF_PARAM;
                item.iItem = i++;
                item.pszText = wide.data();
                item.lParam = row->ListIndex;
                ListView_InsertItem(list_, &item);
            }
        }
        ListView_SetColumnWidth(list_, 0, SongListColumnWidth(list_, true));
    }
    UpdatePlayingMarkers(false);
}

int TCatalogueBrowser::SongListColumnWidth(HWND list, bool withImages) const {
    int widest = 0;
    int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        if (!ListView_GetItem(list, &item)) continue;
        const TRDataNode* node = cat_.Node(static_cast<int32_t>(item.lParam));
        if (!node) continue;
        const std::u16string& text = TextOf(*node);
        int w = 0;
        if (font_) {
            font_->SetCharset(CharsetOf(*node));
            w = font_->TextWidth(std::u16string_view(text));
        }
        widest = std::max(widest, w + TextShift(*node));
    }
    return widest + 10 + (withImages ? kListImageWidth : 0);
}

std::vector<const TRDataNode*> TCatalogueBrowser::SelectedListItems() const {
    std::vector<const TRDataNode*> out;
    for (int i = ListView_GetNextItem(list_, -1, LVNI_SELECTED); i >= 0; i = ListView_GetNextItem(list_, i, LVNI_SELECTED)) {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        if (ListView_GetItem(list_, &item))
            if (const TRDataNode* n = cat_.Node(static_cast<int32_t>(item.lParam))) out.push_back(n);
    }
    return out;
}

void TCatalogueBrowser::SongsListDrawItem(const DRAWITEMSTRUCT& di) {
    const TRDataNode* node = cat_.Node(static_cast<int32_t>(di.itemData));
    HDC dc = di.hDC;
    RECT row = di.rcItem;
    FillRect(dc, &row, paint_.Brush(kTreeBackground));
    if (!node) return;
    const bool selected = (di.itemState & ODS_SELECTED) != 0;
    const bool playing = play_.PlayingNode == node;
    DrawStateImage(dc, StateImageOf(*node), row.left + 1, row.top + 1);
    const std::u16string& text = TextOf(*node);
    const int x = row.left + kListImageWidth + 2 + TextShift(*node);
    if (font_) font_->SetCharset(CharsetOf(*node));
    int width = font_ ? font_->TextWidth(std::u16string_view(text)) : 0;
    RECT fill{x, row.top, std::min<LONG>(x + width + 3, row.right), row.bottom};
    if (selected) FillRect(dc, &fill, paint_.Brush(kSelectionBackground));
    int cell = font_ ? font_->CellHeight() : 16;
    bool marker = node == listProxy_ && !node->IsSong();
    DrawNodeText(dc, *node, text, ListTextColour(*node, selected, playing), x + 1,
                 row.top + (row.bottom - row.top - cell) / 2, marker);
    if (selected) DrawDottedFrame(dc, fill);
}

void TCatalogueBrowser::SongsListSelect(int row) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!ListView_GetItem(list_, &item)) return;
    const TRDataNode* node = cat_.Node(static_cast<int32_t>(item.lParam));
    if (!node || !cat_.settings.HasTexts) return;
    if (node->IsVideoKind()) {
        if (hooks.showVideoDescription) hooks.showVideoDescription(*node);
    } else if (node->Kind == kKindTextEntry && node->Text && win::FileExists(cat_.TextEntryFile(*node))) {
        if (hooks.showText) hooks.showText(*node, true);
    } else if (node->IsSong()) {
        if (hooks.showText) hooks.showText(*node, false);
    } else {
        std::u16string pic = cat_.root + cat_.DiskText(cat_.settings.TitlePicture);
        if (!cat_.settings.TitlePicture.empty() && win::FileExists(pic) && hooks.showTitlePicture)
            hooks.showTitlePicture(pic);
    }
}

// ---- fields

void TCatalogueBrowser::ApplyFieldMenus(HMENU menu) const {
    if (!menu) return;
    FieldMenuState s = FieldMenus();
    const Cmd ids[] = {Cmd::FieldComposer, Cmd::FieldArtist, Cmd::FieldAlbum, Cmd::FieldYear, Cmd::FieldGenre};
    for (int f = 0; f < kTagFieldCount; ++f) {
        CheckMenuItem(menu, static_cast<UINT>(ids[f]), MF_BYCOMMAND | (s.checked[f] ? MF_CHECKED : MF_UNCHECKED));
        EnableMenuItem(menu, static_cast<UINT>(ids[f]), MF_BYCOMMAND | (s.entryVisible[f] ? MF_ENABLED : MF_GRAYED));
    }
}

void TCatalogueBrowser::SelectListFieldsClick(int field, bool fromMainMenu) {
    FieldMenuState s = FieldMenus();
    if (field < 0 || field >= kTagFieldCount || !s.entryVisible[field]) return;
    s.checked[field] = !s.checked[field];
    cat_.settings.TagFieldsShown = FieldsShownFromChecks(s.checked, cat_.settings.TagFieldsAvailable);
    FieldsChanged();
    if (fromMainMenu && book_.on) {
        listed_ = nullptr;
        FillSongList(SelectedNode());
    }
}

void TCatalogueBrowser::FieldsChanged() {
    FieldMenuState s = FieldMenus();
    cat_.settings.TagFieldsShown = FieldsShownFromChecks(s.checked, cat_.settings.TagFieldsAvailable);
    if (!book_.on) RebuildVisibleTree(true);
    if (hooks.titleStripChanged) hooks.titleStripChanged();
}

std::u16string TCatalogueBrowser::TitleStripText() const {
    if (play_.PlayingNode) return cat_.NodeDisplayText(*play_.PlayingNode, false, false);
    if (play_.PlayingFavorite >= 0 && hooks.playingFavoriteText) return hooks.playingFavoriteText();
    return {};
}

// ---- the tag window

const TRDataNode* TCatalogueBrowser::NodeUnderPopup(HWND over) const {
    if (IsSongList(over)) {
        auto rows = SelectedListItems();
        return rows.empty() ? nullptr : rows.front();
    }
    return popupNode_ ? popupNode_ : SelectedNode();
}

void TCatalogueBrowser::InfoMenuClick(HWND over) {
    const TRDataNode* song = NodeUnderPopup(over ? over : popupOver_);
    if (song && song->IsSong()) ShowTagWindow(*song);
}

std::u16string TCatalogueBrowser::FileUnderPopup() const {
    const TRDataNode* node = NodeUnderPopup(popupOver_);
    if (!node) return {};
    if (node->IsSong()) return cat_.SongFile(*node);
    if (node->Kind == kKindVideo) return cat_.VideoFile(*node);
    return {};
}

void TCatalogueBrowser::ShowTagWindow(const TRDataNode& song) {
    std::u16string file = cat_.SongFile(song);
    HWND owner = GetAncestor(hwnd(), GA_ROOT);
    if (!win::FileExists(file)) {
        ShowMessageBox(lang::Text("Messages", "FileNotFound"), lang::Text("MainMsg", "Error"), kIconError, 0, u"OK",
                       "\x01");
        return;
    }
    TForm3 form(song.Charset, lang::CurrentLanguage().Texts().Charset());
    if (!form.CreateForm(owner)) return;
    form.ShowTags(file);
    form.ShowModal();
}

// ---- messages of the panel

LRESULT TCatalogueBrowser::OnNotify(NMHDR& hdr) {
    if (hdr.hwndFrom == tree_.hwnd()) {
        switch (hdr.code) {
            case NM_CUSTOMDRAW:
                return TreeCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW&>(hdr));
            case TVN_ITEMEXPANDINGW:
            case TVN_ITEMEXPANDINGA:
                return TreeCollapsing() ? FALSE : TRUE;
            case TVN_ITEMEXPANDEDW:
            case TVN_ITEMEXPANDEDA: {
                auto& tv = reinterpret_cast<NMTREEVIEWW&>(hdr);
                if (TRDataNode* n = cat_.Node(static_cast<int32_t>(tv.itemNew.lParam)))
                    n->Expanded = (tv.itemNew.state & TVIS_EXPANDED) ? 1 : 0;
                return 0;
            }
            case TVN_SELCHANGEDW:
            case TVN_SELCHANGEDA:
                TreeChange();
                return 0;
            case NM_SETFOCUS:
                listHadFocus_ = false;
                TreeEnter();
                return 0;
            case NM_KILLFOCUS:
                TreeExit();
                return 0;
            case NM_DBLCLK:
                if (const TRDataNode* n = SelectedNode(); n && hooks.playFromNode) hooks.playFromNode(*n, false, true);
                return 1;
            case NM_RCLICK: {
                POINT screen{};
                GetCursorPos(&screen);
                popupOver_ = tree_.hwnd();
                TreeMouseUp(screen);
                return 1;
            }
            default:
                return 0;
        }
    }
    if (hdr.hwndFrom == list_) {
        switch (hdr.code) {
            case NM_SETFOCUS:
                listHadFocus_ = true;
                if (hooks.songListEntered) hooks.songListEntered();
                return 0;
            case LVN_ITEMCHANGED: {
                auto& ch = reinterpret_cast<NMLISTVIEW&>(hdr);
                if ((ch.uChanged & LVIF_STATE) && (ch.uNewState & LVIS_SELECTED) && !(ch.uOldState & LVIS_SELECTED))
                    SongsListSelect(ch.iItem);
                return 0;
            }
            case NM_DBLCLK:
            case NM_RETURN: {
                auto rows = SelectedListItems();
                if (!rows.empty() && hooks.playFromNode) hooks.playFromNode(*rows.front(), true, hdr.code == NM_DBLCLK);
                return 1;
            }
            case NM_RCLICK: {
                POINT screen{};
                GetCursorPos(&screen);
                popupOver_ = list_;
                if (hooks.popupMenu) hooks.popupMenu(list_, screen);
                return 1;
            }
            default:
                return 0;
        }
    }
    return 0;
}

LRESULT TCatalogueBrowser::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE:
            ArrangeChildren();
            return 0;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
        case WM_MEASUREITEM: {
            auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (mi->CtlType == ODT_LISTVIEW) mi->itemHeight = kItemHeight;
            return TRUE;
        }
        case WM_DRAWITEM: {
            auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (di->hwndItem == list_) SongsListDrawItem(*di);
            return TRUE;
        }
        case WM_ERASEBKGND: {
            RECT rc{};
            GetClientRect(hwnd(), &rc);
            FillRect(reinterpret_cast<HDC>(wParam), &rc, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_COMMAND:
            // Menu commands of a pop-up opened over the panel go to the main window.
            return SendMessageW(GetAncestor(hwnd(), GA_ROOT), msg, wParam, lParam);
        default:
            return Default(msg, wParam, lParam);
    }
}

}  // namespace qlm::browse
