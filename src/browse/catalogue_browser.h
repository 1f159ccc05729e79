// The catalogue as the user browses it: the left panel of the list page with
// the owner-drawn tree, the splitter bar and the song list of book mode, the
// field menus' state and the tag window. The main window owns one object,
// binds its box "LeftPanel" to Panel() and wires the seams below.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/settings_store.h"
#include "app/tooltips_window.h"
#include "browse/browse_rules.h"
#include "browse/tree_paint.h"
#include "browse/tree_view.h"
#include "content/catalogue.h"
#include "playback/bitmap_font.h"
#include "playback/play_state.h"
#include "win/window.h"

namespace qlm::browse {

// What the browser hands over to other parts of the window.
struct BrowseHooks {
    // The text window: a song's or text item's text, a text entry's file, a
    // video's description, the title picture (full path).
    std::function<void(const TRDataNode& node, bool textEntry)> showText;
    std::function<void(const TRDataNode& node)> showVideoDescription;
    std::function<void(const std::u16string& picture)> showTitlePicture;
    // Play from a node: Enter or a double click, in the tree or the song list.
    std::function<void(const TRDataNode& node, bool fromSongList, bool byDoubleClick)> playFromNode;
    // The pop-up menu at a screen point over the tree or the song list.
    std::function<void(HWND over, POINT screen)> popupMenu;
    // CheckedCount changed: the play-checked button and entry follow it.
    std::function<void()> checkedCountChanged;
    // The title strip's text changed (TitleStripText).
    std::function<void()> titleStripChanged;
    // The tree was left (the last list control, for the play commands).
    std::function<void()> treeExited;
    // The song list was entered.
    std::function<void()> songListEntered;
    // The program's tool-tip window; without it the browser uses one of its own.
    std::function<TToolTipsWindow*()> toolTips;
    // The display text of the favourite being played, for the title strip.
    std::function<std::u16string()> playingFavoriteText;
};

class TCatalogueBrowser : public win::Window {
public:
    TCatalogueBrowser(Catalogue& catalogue, PlayState& play, TMyFontClass* textFont);
    ~TCatalogueBrowser() override;

    // Creates the panel and its controls as children of `parent`; binds the
    // browser's commands.
    bool CreatePanel(HWND parent, CommandTable& commands);
    BrowseHooks hooks;

    HWND Panel() const { return hwnd(); }
    HWND TreeHwnd() const { return tree_.hwnd(); }
    HWND ListHwnd() const { return list_; }
    bool IsTree(HWND h) const { return h && h == tree_.hwnd(); }
    bool IsSongList(HWND h) const { return h && h == list_; }
    // The song list rather than the tree had the keyboard last (also while a dialog has it now).
    bool ListHadFocusLast() const { return listHadFocus_; }

    // ---- the tree
    // Rebuilds the visible tree from the master tree (withSongs false in book mode).
    void RebuildVisibleTree(bool withSongs);
    void RebuildVisibleTree() { RebuildVisibleTree(!book_.on); }
    // A new catalogue was loaded: book mode off on a flat one, fields, rebuild.
    void DiskLoaded();
    // Empties tree and list before the catalogue is released.
    void Clear();
    void SelectFirstNode();
    // Selects the item of a master node (no item: nothing happens). With
    // `reveal` the folders above it open, so a node found elsewhere (by the
    // find dialog) is seen and not only selected inside a closed folder.
    bool SelectNode(const TRDataNode* node, bool reveal = false);
    const TRDataNode* SelectedNode() const;
    const TRDataNode* NodeAt(POINT treeClient) const;
    // The node under the last pop-up (the tree's popup target).
    const TRDataNode* PopupNode() const { return popupNode_; }
    void SetPopupNode(const TRDataNode* node) { popupNode_ = node; }
    // A pop-up menu opened from the keyboard over the tree or the song list: it acts on the selection.
    void PopupFromKeyboard(HWND over) {
        popupOver_ = over;
        if (IsTree(over)) popupNode_ = SelectedNode();
    }
    HTREEITEM ItemOf(const TRDataNode* node) const;
    const TRDataNode* NodeOf(HTREEITEM item) const;
    // Expand or collapse everything (the button, the menu entry, Ctrl+Up/Down).
    void ExpTreeBtnClick();
    void ExpandAll(bool expand);
    // Recomputes the playing markers; repaints what changed (everything when forced).
    void UpdatePlayingMarkers(bool forceRepaint);
    const TRDataNode* VisibleProxyNode() const { return visibleProxy_; }
    const TRDataNode* ListProxyNode() const { return listProxy_; }

    // ---- the song list
    void FillSongList(const TRDataNode* node);
    const TRDataNode* ListedNode() const { return listed_; }
    std::vector<const TRDataNode*> SelectedListItems() const;
    int SongListColumnWidth(HWND list, bool withImages) const;

    // ---- fields
    FieldMenuState FieldMenus() const { return FieldMenusOf(cat_.settings.TagFieldsAvailable, cat_.settings.TagFieldsShown); }
    // Checks the field entries of a menu (by their command ids) from the state.
    void ApplyFieldMenus(HMENU menu) const;
    void FieldsChanged();
    // A field entry clicked (the pop-up's and the main menu's entries share the ids).
    void SelectListFieldsClick(int field, bool fromMainMenu);
    std::u16string TitleStripText() const;

    // ---- book mode
    const BookModeState& BookMode() const { return book_; }
    bool BookModeAvailable() const { return cat_.HasNestedNodes(); }
    void MenuHorisontalBookModeClick(BookEntry clicked);
    void ControlBarDblClick();
    // Settings: the stored arrangement and sizes at start-up, and back.
    void ApplySettings(const app::Settings& s);
    void StoreSettings(app::Settings& s) const;
    int SongsListWidth() const { return listWidth_; }
    int SongsListHeight() const { return listHeight_; }

    // ---- the tag window
    // The song for the pop-up's Info entry: over the tree the popup target,
    // over the song list the selected song.
    void InfoMenuClick(HWND over);
    // The file of the song or video under the pop-up menu (the song list's first
    // selected row, else the tree's node under the menu or the selection); empty for others.
    std::u16string FileUnderPopup() const;
    void ShowTagWindow(const TRDataNode& song);

    // The tip window in use: the program's, or the browser's own.
    TToolTipsWindow& Tips();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Tree events.
    void TreeChange();
    void TreeEnter();
    void TreeExit();
    bool TreeCollapsing();
    bool TreeKeyDown(WPARAM key);
    bool TreeKeyPress(wchar_t key);
    bool TreeMouseDown(int x, int y);
    void TreeMouseUp(POINT screen);
    LRESULT TreeCustomDraw(NMTVCUSTOMDRAW& cd);
    void TreeCustomDrawItem(HDC dc, HTREEITEM item, const TRDataNode& node, bool selected);
    void TreeToolTipsText(HTREEITEM node, std::u16string& text);
    void TreeCustomDrawToolTips(HTREEITEM node, int stage, const std::u16string& text, bool& defaultDraw);
    int TreeTextWidth(const std::u16string& text, HTREEITEM node);
    void ToggleCheck(HTREEITEM item, TRDataNode& node);
    void AfterExpandToggle();
    void ShowNodeContent(const TRDataNode& node);
    // Song-list events.
    void SongsListDrawItem(const DRAWITEMSTRUCT& di);
    void SongsListSelect(int row);
    LRESULT OnNotify(NMHDR& hdr);
    // Layout and the bar.
    void ArrangeChildren();
    void ControlBarMouse(UINT msg, int x, int y);
    static LRESULT CALLBACK BarProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    void DrawNodeText(HDC dc, const TRDataNode& node, const std::u16string& text, uint32_t colour, int x, int y,
                      bool marker);
    void DrawDottedFrame(HDC dc, const RECT& r);
    void DrawStateImage(HDC dc, uint8_t image, int x, int y);
    uint8_t CharsetOf(const TRDataNode& node) const;
    const std::u16string& TextOf(const TRDataNode& node) const;
    bool ShownInTree(const TRDataNode& node) const { return ItemOf(&node) != nullptr; }
    const TRDataNode* NodeOfIndex(ptrdiff_t listIndex) const { return cat_.Node(static_cast<int32_t>(listIndex)); }
    bool InTree(const TRDataNode& n) const;
    bool HasTreeChildren(const TRDataNode& n) const;
    bool HasLaterSibling(const TRDataNode& n) const;

    Catalogue& cat_;
    PlayState& play_;
    TMyFontClass* font_;
    TVNTTreeView tree_;
    HWND list_ = nullptr;
    HWND bar_ = nullptr;
    HIMAGELIST images_ = nullptr;
    TTreePaintCache paint_;
    TToolTipsWindow tips_;
    HWND ownerWindow_ = nullptr;

    ExpandGate gate_;
    bool expandAllToggle_ = false;
    bool rebuilding_ = false;
    bool withSongs_ = true;
    std::vector<HTREEITEM> itemOf_;        // by ListIndex
    std::vector<std::u16string> texts_;    // display texts by ListIndex
    const TRDataNode* visibleProxy_ = nullptr;
    const TRDataNode* listProxy_ = nullptr;
    const TRDataNode* popupNode_ = nullptr;
    HWND popupOver_ = nullptr;
    bool listHadFocus_ = false;  // of the tree and the song list, the list had the keyboard last
    // The song list's first selected row when `over` is the list, else the tree's node under the menu or the selection.
    const TRDataNode* NodeUnderPopup(HWND over) const;
    const TRDataNode* listed_ = nullptr;
    bool clickInText_ = false;

    BookModeState book_;
    bool bookWanted_ = false;  // stored BookMode on a flat catalogue
    int listWidth_ = 80;
    int listHeight_ = 140;
    bool releaseLimits_ = false;
    bool dragging_ = false;
    POINT dragStart_{};
    int dragExtent_ = 0;
};

}  // namespace qlm::browse
