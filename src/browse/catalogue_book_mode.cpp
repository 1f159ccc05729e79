// Book mode: the tree beside the song list, their arrangement and its settings.
#include <windowsx.h>

#include <algorithm>

#include "app/skin_picture.h"
#include "browse/catalogue_browser.h"
#include "win/handles.h"

namespace qlm::browse {

// ---- book mode and the arrangement

void TCatalogueBrowser::ArrangeChildren() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    LeftPanelRects r = ArrangeLeftPanel(client.right, client.bottom, book_, listWidth_, listHeight_);
    auto place = [](HWND h, const Rect& rc, bool visible) {
        SetWindowPos(h, nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE | (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    };
    place(tree_.hwnd(), r.tree, true);
    place(bar_, r.bar, r.listVisible);
    place(list_, r.list, r.listVisible);
}

void TCatalogueBrowser::MenuHorisontalBookModeClick(BookEntry clicked) {
    if (!BookModeAvailable()) return;
    BookModeState next;
    switch (BookModeClick(book_, clicked, next)) {
        case BookAction::Nothing:
            return;
        case BookAction::SwitchArrangement:
            ControlBarDblClick();
            releaseLimits_ = true;
            return;
        case BookAction::Apply:
            break;
    }
    const bool wasOn = book_.on;
    book_ = next;
    bookWanted_ = book_.on;
    ArrangeChildren();
    listed_ = nullptr;
    RebuildVisibleTree(!book_.on);
    if (book_.on) FillSongList(SelectedNode());
    if (wasOn) SetFocus(tree_.hwnd());
}

void TCatalogueBrowser::ControlBarDblClick() {
    if (!book_.on) return;
    RECT client{};
    GetClientRect(hwnd(), &client);
    book_.horizontal = !book_.horizontal;
    if (book_.horizontal)
        listHeight_ = SongsListExtentAfterSwitch(client.bottom, listWidth_, client.right);
    else
        listWidth_ = SongsListExtentAfterSwitch(client.right, listHeight_, client.bottom);
    ArrangeChildren();
}

void TCatalogueBrowser::ControlBarMouse(UINT msg, int x, int y) {
    POINT p{x, y};
    MapWindowPoints(bar_, hwnd(), &p, 1);
    switch (msg) {
        case WM_LBUTTONDOWN:
            releaseLimits_ = false;
            dragging_ = true;
            dragStart_ = p;
            dragExtent_ = book_.horizontal ? listHeight_ : listWidth_;
            SetCapture(bar_);
            break;
        case WM_MOUSEMOVE:
            if (!dragging_) break;
            if (book_.horizontal)
                listHeight_ = std::max(0, dragExtent_ - static_cast<int>(p.y - dragStart_.y));
            else
                listWidth_ = std::max(0, dragExtent_ - static_cast<int>(p.x - dragStart_.x));
            ArrangeChildren();
            break;
        case WM_LBUTTONUP:
            if (!dragging_) break;
            dragging_ = false;
            ReleaseCapture();
            {
                // ControlBarPosChanged: remember what the list got.
                RECT rc{};
                GetWindowRect(list_, &rc);
                if (book_.horizontal)
                    listHeight_ = rc.bottom - rc.top;
                else
                    listWidth_ = rc.right - rc.left;
            }
            break;
        case WM_LBUTTONDBLCLK:
            ControlBarDblClick();
            break;
        default:
            break;
    }
}

LRESULT CALLBACK TCatalogueBrowser::BarProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data) {
    auto* self = reinterpret_cast<TCatalogueBrowser*>(data);
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
            self->ControlBarMouse(msg, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_SETCURSOR:
            SetCursor(LoadCursorW(nullptr, self->book_.horizontal ? IDC_SIZENS : IDC_SIZEWE));
            return TRUE;
        case WM_NCHITTEST:
            return HTCLIENT;
        case WM_NCDESTROY:
            RemoveWindowSubclass(h, BarProc, 1);
            break;
        default:
            break;
    }
    return DefSubclassProc(h, msg, wParam, lParam);
}

void TCatalogueBrowser::ApplySettings(const app::Settings& s) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    listWidth_ = app::SongsListExtent(s.songsListWidth, client.right);
    listHeight_ = app::SongsListExtent(s.songsListHeight, client.bottom);
    book_.horizontal = s.bookModeHorizontal;
    bookWanted_ = s.bookMode;
    bool on = app::BookModeAtLoad(s, !BookModeAvailable());
    if (on != book_.on) {
        book_.on = on;
        listed_ = nullptr;
        ArrangeChildren();
        RebuildVisibleTree(!on);
        if (on) FillSongList(SelectedNode());
    } else {
        ArrangeChildren();
    }
}

void TCatalogueBrowser::StoreSettings(app::Settings& s) const {
    s.songsListWidth = listWidth_;
    s.songsListHeight = listHeight_;
    s.bookModeHorizontal = book_.horizontal;
    s.bookMode = BookModeAvailable() ? book_.on : bookWanted_;
}

}  // namespace qlm::browse
