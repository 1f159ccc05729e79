#include "browse/tree_view.h"

#include "browse/browse_rules.h"
#include "win/window.h"

namespace qlm::browse {

bool TVNTTreeView::Create(HWND parent, int id) {
    // No buttons style: the owner draws the expand box and decides what a
    // click on it does; lines-at-root keeps the root level indented for it.
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                                TVS_NOTOOLTIPS | TVS_DISABLEDRAGDROP,
                            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            win::ModuleInstance(), nullptr);
    if (!hwnd_) return false;
    // The window procedure is replaced directly, not through SetWindowSubclass:
    // that one looks its data up by window property on every message, which
    // under Wine is a round trip to the server, and the tree gets one message
    // per inserted item and several per drawn one.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    controlProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TVNTTreeView::WndProc)));
    return controlProc_ != nullptr;
}

std::u16string TVNTTreeView::Caption(HTREEITEM item) const {
    wchar_t buffer[1024] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = buffer;
    tv.cchTextMax = 1024;
    if (!TreeView_GetItem(hwnd_, &tv)) return {};
    return win::U16(tv.pszText ? tv.pszText : L"");
}

bool TVNTTreeView::TextRect(HTREEITEM item, RECT& rc) const {
    return item && TreeView_GetItemRect(hwnd_, item, &rc, TRUE);
}

HTREEITEM TVNTTreeView::ItemAt(int x, int y) const {
    TVHITTESTINFO hit{};
    hit.pt = {x, y};
    return TreeView_HitTest(hwnd_, &hit);
}

void TVNTTreeView::MouseMoved(int x, int y) {
    if (!tracking_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
        tracking_ = TrackMouseEvent(&tme) != FALSE;
    }
    TVHITTESTINFO hit{};
    hit.pt = {x, y};
    HTREEITEM node = TreeView_HitTest(hwnd_, &hit);
    std::u16string text = node ? Caption(node) : std::u16string();
    if (!node || text.empty()) {
        bool unused = true;
        if (OnCustomDrawToolTips) OnCustomDrawToolTips(nullptr, 0, text, unused);
        return;
    }
    RECT rc{};
    TextRect(node, rc);
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (OnToolTipsText) OnToolTipsText(node, text);
    int width = TextWidth ? TextWidth(text, node) : 0;
    TipStage stage = ToolTipStage(x, {rc.left, rc.top, rc.right, rc.bottom}, width, client.right);
    bool defaultDraw = stage == TipStage::DoesNotFit;
    if (OnCustomDrawToolTips) OnCustomDrawToolTips(node, static_cast<int>(stage), text, defaultDraw);
}

LRESULT CALLBACK TVNTTreeView::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TVNTTreeView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->controlProc_) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_MOUSEMOVE:
            self->MouseMoved(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            break;
        case WM_MOUSELEAVE: {
            self->tracking_ = false;
            bool unused = true;
            if (self->OnCustomDrawToolTips) self->OnCustomDrawToolTips(nullptr, 0, {}, unused);
            break;
        }
        case WM_NCDESTROY: {
            WNDPROC control = self->controlProc_;
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control));
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->controlProc_ = nullptr;
            self->hwnd_ = nullptr;
            return CallWindowProcW(control, hwnd, msg, wParam, lParam);
        }
        default:
            break;
    }
    if (self->OnInput && self->OnInput(msg, wParam, lParam)) return 0;
    return CallWindowProcW(self->controlProc_, hwnd, msg, wParam, lParam);
}

}  // namespace qlm::browse
