// "Мои любимые": the favourites panel FavoriPanel at the right of the
// catalogue tree, with its header MyLoveBtn and the list FavoritesList.
//
// The main window owns one TFavoritesList, binds the panel to its layout box
// and calls it at the lifecycle points (start-up, disk change, close) and for
// the commands of its menus and keys. Everything the list needs of the
// catalogue views goes through FavoritesViews, so any tree or song list can
// supply it; playing goes through the callbacks.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <vector>

#include "app/skin_picture.h"
#include "favorites/favorites_session.h"
#include "playback/play_state.h"
#include "win/handles.h"
#include "win/window.h"

namespace qlm {

class TMyFontClass;

// What the favourites list asks of the catalogue tree and the song list.
class FavoritesViews {
public:
    virtual ~FavoritesViews() = default;
    // Master node of the tree's selection, or null.
    virtual TRDataNode* SelectedTreeNode() = 0;
    // Songs of the song list's selected items, in list order.
    virtual std::vector<TRDataNode*> SelectedListSongs() = 0;
    virtual bool SongListHasFocus() = 0;
    // The windows of the two views (drag sources, and targets of a drag out of the list).
    virtual bool IsTree(HWND window) = 0;
    virtual bool IsSongList(HWND window) = 0;
};

class TFavoritesList : public win::Window {
public:
    static constexpr const wchar_t* kClassName = L"TFavoriPanel";
    static constexpr int kHeaderHeight = 24;
    static constexpr int kListId = 102;

    struct Callbacks {
        // Enter or a double click: play this item alone (single-song mode).
        std::function<void(int item)> playItem;
        // The selected song's text into the text window (only called when the disk has texts).
        std::function<void(const TRDataNode& song)> showSongText;
        // The list was entered: it is now the list last entered.
        std::function<void()> entered;
        // "&Информация" for a song whose file exists: the tag window.
        std::function<void(const TRDataNode& song)> showInfo;
        // The list became empty or not empty: the play-favourites button and menu item follow.
        std::function<void(bool hasItems)> itemsChanged;
    };

    TFavoritesList(Catalogue& cat, fav::FavoritesFiles& files);
    ~TFavoritesList() override;

    // The panel as a child of `parent`; `font` draws the items (may be null).
    bool CreatePanel(HWND parent, TMyFontClass* font);
    void SetViews(FavoritesViews* views) { views_ = views; }
    Callbacks& On() { return callbacks_; }
    HWND ListWindow() const { return list_; }
    bool PanelShown() const;

    // ---- Lifecycle
    // Which store this run uses; imports the settings' lists into favorites.dat.
    void StartUp(const std::u16string& installedProgramPath);
    bool InInstallFolder() const { return session_.InInstallFolder(); }
    // Empties the list and loads the loaded disk's favourites.
    void LoadForDisk();
    // Writes the list to its store when it was changed (close, disk change, the only-Winamp exit).
    void Save();
    // Before the catalogue is released.
    void Empty();
    // Captions and drawing after a language switch.
    void ShowNames();
    void UpdateColumnWidth();

    // ---- Commands of the menus and keys
    // Ctrl+Right: from the song list when it has the focus, else from the tree's selection.
    void AddCommand();
    void AddToList(bool fromSongList);
    // Delete, Ctrl+Left and a drop onto the tree or the song list; asks first.
    void DeleteSelected();
    // Ctrl+Delete; asks first.
    void ClearAll();
    void PlaySelected();
    bool CanShowInfo() const;
    void InfoCommand();
    void SaveAsCommand();

    // ---- Drag and drop
    // Watches a tree-view or list-view of the catalogue for drags that start on
    // it (the item under the mouse is selected first, as a click would).
    void WatchDragsFrom(HWND view);
    // A drag from the tree or the song list began.
    void BeginDragFrom(HWND source);

    // ---- For the play commands and the player panel
    const fav::FavoritesItems& Items() const { return session_.Items(); }
    // The first selected item, -1 when none.
    int SelectedIndex() const;
    bool Modified() const { return session_.Modified(); }
    // The main window's play state: its PlayingFavorite is drawn red and
    // follows the item when it moves; a deleted playing item clears it.
    void SetPlayState(PlayState* play) { play_ = play; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    enum class DragSource { Tree, SongList, Favorites };

    void FavoriPanelPaint();
    void FavoriPanelResize();
    LRESULT FavoritesListNotify(NMHDR* hdr);
    LRESULT FavoritesListCustomDraw(NMLVCUSTOMDRAW* cd);
    void FavoritesListChange();
    void FavoritesListEnter();
    void FavoritesListKeyDown(WORD key);
    static LRESULT CALLBACK ViewProc(HWND view, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
    void RunDrag(DragSource source);
    bool DragAccepted(DragSource source, HWND target) const;
    void FavoritesListDragDrop(DragSource source, POINT screen);

    void Refill(int select = -1);
    std::vector<int> SelectedItems() const;
    void AfterChange();
    bool Ask(std::u16string_view question);
    TRDataNode* SelectedSong() const;
    // The play state's playing item into the session before an edit, and back after it.
    void PullPlaying();
    void PushPlaying();

    Catalogue& cat_;
    fav::FavoritesSession session_;
    FavoritesViews* views_ = nullptr;
    PlayState* play_ = nullptr;
    TMyFontClass* font_ = nullptr;
    Callbacks callbacks_;
    HWND list_ = nullptr;
    win::UniqueFont rowFont_;
    SkinPicture header_;  // MyLoveBtn
    bool filling_ = false;
    bool dragging_ = false;
};

// "&Сохранить как ..." of the tree, the song list and the favourites: the
// save dialog for a copy of the song file, which is then copied over (archive
// attribute only, before and after, so a copy from a CD is not read-only).
void SaveSongFileAs(HWND owner, const std::u16string& sourceFile);

}  // namespace qlm
