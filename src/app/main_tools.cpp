// The main window's side of the find dialog and the printed contents list:
// what they may know of the tree, the song list and the text window.
#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "app/app_state.h"
#include "app/main_form.h"
#include "content/catalogue.h"
#include "tools/find_wait.h"
#include "tools/print_list_form.h"

namespace qlm {

// The find dialog, made once. The browser lends it the selection: the tree's,
// or in book mode the focused song list's; a match in book mode is selected
// in the song list (find::SelectInBookMode, which bounds the wait for it).
void TMainForm::CreateFindDialog() {
    FindSeams seams;
    seams.selectedNode = [this]() -> const TRDataNode* {
        if (!browser_) return nullptr;
        const TRDataNode* tree = browser_->SelectedNode();
        const bool treeHoldsIt = tree && (tree->IsSong() || tree->Kind == kKindTextEntry || tree->Kind == kKindTextItem);
        // Asked while the dialog has the keyboard: the list that had it before counts.
        if (browser_->BookMode().on && !treeHoldsIt && browser_->ListHadFocusLast()) {
            const auto rows = browser_->SelectedListItems();
            if (!rows.empty()) return rows.front();
        }
        return tree;
    };
    seams.selectNode = [this](const TRDataNode& node) {
        if (!browser_) return;
        const bool folder = node.Kind == kKindFolder || node.Kind == kKindVideoFolder;
        if (browser_->BookMode().on && !folder) {
            HWND list = browser_->ListHwnd();
            const TRDataNode* place = browser_->ItemOf(&node) ? &node : node.Parent;
            find::BookModeList steps;
            steps.selectTreeNode = [&](const TRDataNode&) { browser_->SelectNode(place); };
            steps.filled = [&] { return browser_->ListedNode() == place; };
            steps.pump = [] {
                MSG msg;
                while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
                Sleep(find::kListPollMs);
            };
            steps.nowMs = [] { return static_cast<int64_t>(GetTickCount()); };
            steps.clearSelection = [list] { ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED); };
            steps.selectItem = [list](const TRDataNode& n) -> std::optional<int> {
                const int count = ListView_GetItemCount(list);
                int row = -1;
                for (int i = 0; i < count && row < 0; ++i) {
                    LVITEMW item{};
                    item.mask = LVIF_PARAM;
                    item.iItem = i;
                    if (ListView_GetItem(list, &item) && item.lParam == n.ListIndex) row = i;
                }
                if (row < 0 && !n.Parent && count > 0) row = 0;
                if (row < 0) return std::nullopt;
                ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
                RECT r{};
                ListView_GetItemRect(list, row, &r, LVIR_BOUNDS);
                return static_cast<int>(r.top);
            };
            steps.scrollBy = [list](int dy) { ListView_Scroll(list, 0, dy); };
            steps.focus = [list] { SetFocus(list); };
            find::SelectInBookMode(steps, node);
        } else if (browser_->SelectNode(&node, true)) {
            SetFocus(browser_->TreeHwnd());
        }
        SetActiveWindow(hwnd());
    };
    // The text window shows the song's text with the match marked.
    seams.showTextMatch = [this](const TRDataNode& node, int start, int length) {
        const Catalogue& cat = TheCatalogue();
        if (!form4_) return;
        form4_->ShowText(cat.DiskText(node.Path), cat.NodeDisplayText(node, true, false), false);
        form4_->HighlightText(start, length);
    };
    seams.treeCharset = [] { return TheCatalogue().NameCharset(); };
    seams.textCharset = [] { return TheCatalogue().settings.TextCharset; };
    findForm_ = std::make_unique<TFindForm>(TheCatalogue(), std::move(seams));
    findForm_->Create(hwnd());
    commands_.Bind(Cmd::Find, [this] { findForm_->ShowFind(); });
    commands_.Bind(Cmd::PrintContent, [this] { ShowPrintList(); });
    if (TImageButton* button = Image("FindBtn")) button->OnClick = [this](TImageButton&) { commands_.Run(Cmd::Find); };
}

void TMainForm::ShowPrintList() {
    HFONT treeFont = browser_ ? reinterpret_cast<HFONT>(SendMessageW(browser_->TreeHwnd(), WM_GETFONT, 0, 0)) : nullptr;
    TPrintListForm form(TheCatalogue(), App().diskRoot, treeFont);
    form.ShowModal(hwnd());
}

}  // namespace qlm
