#include "favorites/favorites_list.h"

#include <commctrl.h>
#include <commdlg.h>

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "app/message_box.h"
#include "app/settings_win.h"
#include "app/skin_picture.h"
#include "base/text_codec.h"
#include "lang/language.h"
#include "playback/bitmap_font.h"
#include "win/handles.h"

namespace qlm {
namespace {

constexpr COLORREF kSelectedBack = RGB(0, 0, 128);
constexpr COLORREF kPlayingText = RGB(255, 0, 0);
constexpr COLORREF kSelectedText = RGB(255, 255, 255);
constexpr COLORREF kHeaderBack = RGB(38, 41, 47);
constexpr int kColumnPadding = 10;

bool FileExists(const std::u16string& file) {
    const DWORD a = GetFileAttributesW(win::Wide(file).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void Message(std::u16string_view text) {
    ShowMessageBox(text, lang::Text("MainMsg", "Error"), kIconError, 0, u"OK", "\x01");
}

}  // namespace

// ---- The panel ----

TFavoritesList::TFavoritesList(Catalogue& cat, fav::FavoritesFiles& files) : cat_(cat), session_(files) {}

TFavoritesList::~TFavoritesList() = default;

bool TFavoritesList::CreatePanel(HWND parent, TMyFontClass* font) {
    font_ = font;
    header_ = LoadSkinPicture("MYLOVEBTNU");
    RegisterWindowClass(kClassName, CS_DBLCLKS, nullptr);
    win::CreateParams p;
    p.className = kClassName;
    p.style = WS_CHILD | WS_CLIPCHILDREN;
    p.parent = parent;
    // The panel answers to the list's id in the main window (as FavoritesList did).
    p.menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId));
    p.x = p.y = p.width = p.height = 0;
    if (!Create(p)) return false;
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS,
                            0, kHeaderHeight, 0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                            win::ModuleInstance(), nullptr);
    if (!list_) return false;
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
    // Rows tall enough for the bitmap font's cells, drawn two pixels down.
    const int cell = font_ ? font_->CellHeight() : 16;
    rowFont_.reset(CreateFontW(-(cell + 1), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial"));
    if (rowFont_) SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(rowFont_.get()), FALSE);
    LVCOLUMNW col{};
    col.mask = LVCF_WIDTH;
    col.cx = 100;
    ListView_InsertColumn(list_, 0, &col);
    return true;
}

bool TFavoritesList::PanelShown() const { return hwnd() && IsWindowVisible(hwnd()); }

LRESULT TFavoritesList::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        FavoriPanelPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        FavoriPanelResize();
        return 0;
    case WM_SETFOCUS:
        if (list_) SetFocus(list_);
        return 0;
    case WM_NOTIFY:
        return FavoritesListNotify(reinterpret_cast<NMHDR*>(lParam));
    default:
        return Default(msg, wParam, lParam);
    }
}

void TFavoritesList::FavoriPanelPaint() {
    win::PaintScope paint(hwnd());
    HDC dc = paint.dc();
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    RECT header{0, 0, rc.right, kHeaderHeight};
    win::UniqueBrush back(CreateSolidBrush(kHeaderBack));
    FillRect(dc, &header, back.get());
    if (!header_.Empty()) {
        win::UniqueMemoryDc mem(CreateCompatibleDC(dc));
        win::SelectScope select(mem.get(), header_.Handle());
        BitBlt(dc, 0, 0, std::min<int>(rc.right, header_.Width()), kHeaderHeight, mem.get(), 0, 0, SRCCOPY);
    }
    const std::u16string caption = lang::Text("MainButtons", "MyFavorites");
    if (font_) {
        const uint8_t old = font_->Charset();
        font_->SetCharset(kCyrillicCharset);
        font_->Draw(std::u16string_view(caption), dc, false, RGB(255, 255, 255),
                    (kHeaderHeight - font_->CellHeight()) / 2, 26);
        font_->SetCharset(old);
    } else {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        RECT text{26, 0, rc.right, kHeaderHeight};
        DrawTextW(dc, win::Wide(caption).c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER);
    }
}

void TFavoritesList::FavoriPanelResize() {
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    if (list_)
        SetWindowPos(list_, nullptr, 0, kHeaderHeight, rc.right, std::max<LONG>(0, rc.bottom - kHeaderHeight),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateColumnWidth();
    InvalidateRect(hwnd(), nullptr, FALSE);
}

// ---- Lifecycle ----

void TFavoritesList::StartUp(const std::u16string& installedProgramPath) {
    app::WinProfileStore ini = app::SettingsFile();
    session_.StartUp(ini, installedProgramPath);
}

void TFavoritesList::LoadForDisk() {
    app::WinProfileStore ini = app::SettingsFile();
    session_.Load(ini, cat_);
    PushPlaying();
    Refill();
    if (callbacks_.itemsChanged) callbacks_.itemsChanged(!session_.Items().empty());
}

void TFavoritesList::Save() {
    app::WinProfileStore ini = app::SettingsFile();
    session_.Save(ini, cat_);
}

void TFavoritesList::Empty() {
    session_.Empty();
    PushPlaying();
    Refill();
}

void TFavoritesList::ShowNames() {
    session_.RefreshCaptions(cat_);
    Refill(SelectedItems().empty() ? -1 : SelectedItems().front());
}

void TFavoritesList::PullPlaying() {
    if (play_) session_.SetPlaying(play_->PlayingFavorite);
}

void TFavoritesList::PushPlaying() {
    if (play_) play_->PlayingFavorite = session_.Playing();
}

void TFavoritesList::Refill(int select) {
    if (!list_) return;
    filling_ = true;
    win::RedrawScope redraw(list_);
    ListView_DeleteAllItems(list_);
    const auto& items = session_.Items();
    for (size_t i = 0; i < items.size(); ++i) {
        // The text is kept for accessibility and tests; the item is drawn by us.
        std::wstring text = win::Wide(items[i].caption);
        LVITEMW lv{};
        lv.mask = LVIF_TEXT;
        lv.iItem = static_cast<int>(i);
        lv.pszText = text.data();
        ListView_InsertItem(list_, &lv);
    }
    if (select >= 0 && select < static_cast<int>(items.size())) {
        ListView_SetItemState(list_, select, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list_, select, FALSE);
    }
    filling_ = false;
    UpdateColumnWidth();
}

void TFavoritesList::UpdateColumnWidth() {
    if (!list_) return;
    int widest = 0;
    for (const auto& item : session_.Items()) {
        int w = 0;
        if (font_ && item.song) {
            const uint8_t old = font_->Charset();
            font_->SetCharset(cat_.NameCharset());
            w = font_->TextWidth(std::u16string_view(item.caption));
            font_->SetCharset(old);
        } else {
            w = static_cast<int>(item.caption.size()) * 8;
        }
        widest = std::max(widest, w);
    }
    ListView_SetColumnWidth(list_, 0, widest + kColumnPadding);
}

std::vector<int> TFavoritesList::SelectedItems() const {
    std::vector<int> out;
    if (!list_) return out;
    for (int i = ListView_GetNextItem(list_, -1, LVNI_SELECTED); i >= 0;
         i = ListView_GetNextItem(list_, i, LVNI_SELECTED))
        out.push_back(i);
    return out;
}

int TFavoritesList::SelectedIndex() const {
    const auto selected = SelectedItems();
    return selected.empty() ? -1 : selected.front();
}

TRDataNode* TFavoritesList::SelectedSong() const {
    const auto selected = SelectedItems();
    if (selected.empty() || static_cast<size_t>(selected.front()) >= session_.Items().size()) return nullptr;
    return session_.Items()[static_cast<size_t>(selected.front())].song;
}

void TFavoritesList::AfterChange() {
    UpdateColumnWidth();
    if (callbacks_.itemsChanged) callbacks_.itemsChanged(!session_.Items().empty());
}

bool TFavoritesList::Ask(std::u16string_view question) {
    const std::u16string buttons = lang::Text("Messages", "Yes") + u"\n" + lang::Text("Messages", "No");
    return ShowMessageBox(question, lang::Text("Messages", "Delete"), kIconQuestion, 0, buttons, "\x06\x07") == 6;
}

// ---- Commands ----

void TFavoritesList::AddCommand() { AddToList(views_ && views_->SongListHasFocus()); }

void TFavoritesList::AddToList(bool fromSongList) {
    if (!views_) return;
    TRDataNode* node = views_->SelectedTreeNode();
    if (!node) return;
    std::vector<TRDataNode*> songs;
    if (node->IsSong()) songs.push_back(node);
    else if (fromSongList) songs = views_->SelectedListSongs();
    else if (node->Kind == kKindFolder) songs = fav::SongsUnder(node);
    const auto selected = SelectedItems();
    PullPlaying();
    if (session_.Add(cat_, songs) == 0) return;
    Refill(selected.empty() ? -1 : selected.front());
    AfterChange();
}

void TFavoritesList::DeleteSelected() {
    const auto selected = SelectedItems();
    if (!PanelShown() || selected.empty()) return;
    if (!Ask(lang::Text("Messages", "QuestionDelete"))) return;
    const int first = selected.front();
    PullPlaying();
    session_.Remove(selected);
    PushPlaying();
    Refill(first < static_cast<int>(session_.Items().size()) ? first : -1);
    AfterChange();
}

void TFavoritesList::ClearAll() {
    if (session_.Items().empty()) return;
    if (!Ask(lang::Text("Messages", "QDeleteFavorites"))) return;
    PullPlaying();
    session_.Clear();
    PushPlaying();
    Refill();
    AfterChange();
}

void TFavoritesList::PlaySelected() {
    const auto selected = SelectedItems();
    if (selected.empty() || !callbacks_.playItem) return;
    callbacks_.playItem(selected.front());
}

bool TFavoritesList::CanShowInfo() const { return list_ && GetFocus() == list_ && SelectedSong(); }

void TFavoritesList::InfoCommand() {
    TRDataNode* song = SelectedSong();
    if (!song) return;
    if (!FileExists(cat_.SongFile(*song))) {
        Message(lang::Text("Messages", "FileNotFound"));
        return;
    }
    if (callbacks_.showInfo) callbacks_.showInfo(*song);
}

void TFavoritesList::SaveAsCommand() {
    if (TRDataNode* song = SelectedSong()) SaveSongFileAs(GetAncestor(hwnd(), GA_ROOT), cat_.SongFile(*song));
}

// ---- Notifications of the list ----

LRESULT TFavoritesList::FavoritesListNotify(NMHDR* hdr) {
    if (!hdr || hdr->hwndFrom != list_) return 0;
    switch (hdr->code) {
    case NM_CUSTOMDRAW:
        return FavoritesListCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(hdr));
    case LVN_ITEMCHANGED: {
        const auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
        if ((nm->uChanged & LVIF_STATE) && ((nm->uNewState ^ nm->uOldState) & LVIS_SELECTED) &&
            (nm->uNewState & LVIS_SELECTED))
            FavoritesListChange();
        return 0;
    }
    case NM_SETFOCUS:
        FavoritesListEnter();
        return 0;
    case LVN_KEYDOWN:
        FavoritesListKeyDown(reinterpret_cast<NMLVKEYDOWN*>(hdr)->wVKey);
        return 0;
    case NM_RETURN:
    case NM_DBLCLK:
        PlaySelected();
        return 0;
    case LVN_BEGINDRAG:
        RunDrag(DragSource::Favorites);
        return 0;
    default:
        return 0;
    }
}

void TFavoritesList::FavoritesListChange() {
    if (filling_) return;
    if (TRDataNode* song = SelectedSong(); song && cat_.settings.HasTexts && callbacks_.showSongText)
        callbacks_.showSongText(*song);
}

void TFavoritesList::FavoritesListEnter() {
    if (filling_) return;
    // Only the list last entered changes: the list the current song came
    // from (ActiveList) is a play command's to set.
    if (callbacks_.entered) callbacks_.entered();
    FavoritesListChange();
}

void TFavoritesList::FavoritesListKeyDown(WORD key) {
    // Ctrl+Delete and Ctrl+Left come through the main window's keys.
    if (key == VK_DELETE && GetKeyState(VK_CONTROL) >= 0) DeleteSelected();
}

LRESULT TFavoritesList::FavoritesListCustomDraw(NMLVCUSTOMDRAW* cd) {
    switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        break;
    default:
        return CDRF_DODEFAULT;
    }
    const int i = static_cast<int>(cd->nmcd.dwItemSpec);
    const auto& items = session_.Items();
    if (i < 0 || static_cast<size_t>(i) >= items.size()) return CDRF_DODEFAULT;
    const fav::FavoriteItem& item = items[static_cast<size_t>(i)];
    HDC dc = cd->nmcd.hdc;
    RECT rc{};
    ListView_GetItemRect(list_, i, &rc, LVIR_BOUNDS);
    RECT client{};
    GetClientRect(list_, &client);
    rc.right = std::max(rc.right, client.right);
    const bool selected = (ListView_GetItemState(list_, i, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    const bool playing = i == (play_ ? play_->PlayingFavorite : session_.Playing());
    COLORREF back = ListView_GetBkColor(list_);
    if (back == CLR_NONE) back = GetSysColor(COLOR_WINDOW);
    win::UniqueBrush brush(CreateSolidBrush(selected ? kSelectedBack : back));
    FillRect(dc, &rc, brush.get());
    COLORREF text = playing ? kPlayingText : selected ? kSelectedText : ListView_GetTextColor(list_);
    const TRDataNode* song = item.song;
    const bool second = cat_.secondLanguageActive && cat_.settings.DualLanguageNames;
    const uint8_t charset = song ? (second ? song->Charset2 : song->Charset) : kCyrillicCharset;
    if (font_) {
        const uint8_t old = font_->Charset();
        font_->SetCharset(charset);
        if (!song || song->HasWideNames())
            font_->Draw(std::u16string_view(item.caption), dc, false, text, rc.top + 2, rc.left + 1);
        else
            font_->Draw(std::string_view(EncodeText(item.caption, charset)), dc, false, text, rc.top + 2, rc.left + 1);
        font_->SetCharset(old);
    } else {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, text);
        RECT t = rc;
        t.left += 1;
        t.top += 2;
        DrawTextW(dc, win::Wide(item.caption).c_str(), -1, &t, DT_SINGLELINE | DT_NOPREFIX);
    }
    if (selected) {
        // A dotted frame, pixel by pixel, black and yellow in turn.
        int n = 0;
        auto dot = [&](int x, int y) { SetPixel(dc, x, y, (n++ & 1) ? RGB(255, 255, 0) : RGB(0, 0, 0)); };
        for (int x = rc.left; x < rc.right; ++x) dot(x, rc.top);
        for (int y = rc.top; y < rc.bottom; ++y) dot(rc.right - 1, y);
        for (int x = rc.right - 1; x >= rc.left; --x) dot(x, rc.bottom - 1);
        for (int y = rc.bottom - 1; y >= rc.top; --y) dot(rc.left, y);
    }
    return CDRF_SKIPDEFAULT;
}

// ---- Drag and drop ----

void TFavoritesList::WatchDragsFrom(HWND view) {
    if (view) SetWindowSubclass(view, ViewProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK TFavoritesList::ViewProc(HWND view, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR self) {
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(view, ViewProc, id);
        return DefSubclassProc(view, msg, wParam, lParam);
    }
    if (msg != WM_LBUTTONDOWN) return DefSubclassProc(view, msg, wParam, lParam);
    POINT start{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // The view's own click handling tracks the mouse; it returns with the
    // button still down when the mouse moved away: that is a drag.
    const LRESULT result = DefSubclassProc(view, msg, wParam, lParam);
    POINT now{};
    GetCursorPos(&now);
    ScreenToClient(view, &now);
    bool moved = std::abs(now.x - start.x) > GetSystemMetrics(SM_CXDRAG) ||
                 std::abs(now.y - start.y) > GetSystemMetrics(SM_CYDRAG);
    if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000)) return result;
    if (!moved) {
        // A view that does not track the mouse itself (a tree without drag
        // and drop) is back at once: watch for the drag here.
        POINT screen = start;
        ClientToScreen(view, &screen);
        moved = DragDetect(view, screen) != FALSE;
    }
    if (!moved) return result;
    try {
        auto* list = reinterpret_cast<TFavoritesList*>(self);
        if (list->views_ && list->views_->IsTree(view)) {
            TVHITTESTINFO hit{};
            hit.pt = start;
            if (HTREEITEM item = TreeView_HitTest(view, &hit)) TreeView_SelectItem(view, item);
        } else {
            LVHITTESTINFO hit{};
            hit.pt = start;
            const int item = ListView_HitTest(view, &hit);
            if (item >= 0 && !(ListView_GetItemState(view, item, LVIS_SELECTED) & LVIS_SELECTED)) {
                ListView_SetItemState(view, -1, 0, LVIS_SELECTED);
                ListView_SetItemState(view, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            }
        }
        list->BeginDragFrom(view);
    } catch (...) {
        // Nothing may cross the window procedure's frame.
    }
    return result;
}

void TFavoritesList::BeginDragFrom(HWND source) {
    if (!views_) return;
    if (views_->IsTree(source)) {
        // A video node is nothing the favourites take.
        TRDataNode* node = views_->SelectedTreeNode();
        if (!node || node->Kind > 253) return;
        RunDrag(DragSource::Tree);
    } else if (views_->IsSongList(source)) {
        RunDrag(DragSource::SongList);
    }
}

bool TFavoritesList::DragAccepted(DragSource source, HWND target) const {
    if (!target) return false;
    if (target == list_ || target == hwnd()) return true;
    return source == DragSource::Favorites && views_ && (views_->IsTree(target) || views_->IsSongList(target));
}

void TFavoritesList::RunDrag(DragSource source) {
    if (dragging_) return;
    dragging_ = true;
    HWND capture = hwnd();
    SetCapture(capture);
    HCURSOR yes = LoadCursorW(nullptr, IDC_ARROW);
    HCURSOR no = LoadCursorW(nullptr, IDC_NO);
    bool drop = false;
    POINT at{};
    MSG msg;
    while (GetCapture() == capture) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            SetCursor(DragAccepted(source, WindowFromPoint(msg.pt)) ? yes : no);
        } else if (msg.message == WM_LBUTTONUP) {
            drop = true;
            at = msg.pt;
            ReleaseCapture();
        } else if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_RBUTTONDOWN) {
            ReleaseCapture();
        } else {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (GetCapture() == capture) ReleaseCapture();
    SetCursor(yes);
    dragging_ = false;
    if (drop) FavoritesListDragDrop(source, at);
}

void TFavoritesList::FavoritesListDragDrop(DragSource source, POINT screen) {
    HWND target = WindowFromPoint(screen);
    if (!DragAccepted(source, target)) return;
    if (target != list_ && target != hwnd()) {
        // Out of the favourites onto a catalogue view: delete what was dragged.
        DeleteSelected();
        return;
    }
    if (source == DragSource::Tree || source == DragSource::SongList) {
        AddToList(source == DragSource::SongList);
        return;
    }
    const auto selected = SelectedItems();
    if (selected.empty()) return;
    LVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(list_, &hit.pt);
    const int over = ListView_HitTest(list_, &hit);
    const int from = selected.front();
    PullPlaying();
    if (!session_.Move(from, over)) return;
    PushPlaying();
    Refill(over < from ? over : over - 1);
    AfterChange();
}

// ---- Saving a song file as ----

void SaveSongFileAs(HWND owner, const std::u16string& sourceFile) {
    const auto slash = sourceFile.find_last_of(u"\\/");
    const std::u16string name = slash == std::u16string::npos ? sourceFile : sourceFile.substr(slash + 1);
    const auto dot = name.find_last_of(u'.');
    const std::u16string ext = dot == std::u16string::npos ? std::u16string() : name.substr(dot);
    // "Song files|*" + the extension, as the filter pair of the dialog.
    std::wstring filter = L"Song files";
    filter.push_back(L'\0');
    filter += L"*" + win::Wide(ext);
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    std::wstring file = win::Wide(name);
    file.resize(std::max<size_t>(file.size() + 1, MAX_PATH * 2), L'\0');
    const std::wstring defExt = ext.size() > 1 ? win::Wide(ext.substr(1)) : std::wstring();
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = defExt.empty() ? nullptr : defExt.c_str();
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&ofn)) return;
    const std::wstring target(file.c_str());
    const std::wstring source = win::Wide(sourceFile);
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) Message(lang::Text("Messages", "ErrorCopyFile"));
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_ARCHIVE);
}

}  // namespace qlm
