// Rebuild time of the visible catalogue tree on a large disk, against the
// same fill into a plain tree-view without owner drawing, and the time of one
// full repaint of a tree page.
//
//   browse_bench DISKDIR [RUNS]   (DISKDIR from "load_bench generate", e.g. its packed\ folder)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "base/file_path.h"
#include "base/text_codec.h"
#include "base/utf8_main.h"
#include "browse/catalogue_browser.h"
#include "content/disk_loader.h"

using namespace qlm;

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double TimeMs(const std::function<void()>& f) {
    auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// The plain fill: the same texts, one insertion per node, default drawing.
void PlainFill(HWND tree, Catalogue& cat, bool withSongs, bool expandedState) {
    SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(tree);
    std::vector<HTREEITEM> items(cat.NodeCount(), nullptr);
    for (TRDataNode* n = cat.FirstInTreeOrder(); n; n = cat.NextInTreeOrder(n)) {
        if (!withSongs && n->Level > 0 && n->Kind != kKindFolder && n->Kind != kKindVideoFolder) continue;
        std::wstring text = win::Wide(cat.NodeDisplayText(*n, true, false));
        HTREEITEM parent = n->Parent ? items[n->Parent->ListIndex] : TVI_ROOT;
        if (!parent) continue;
        TVINSERTSTRUCTW ins{};
        ins.hParent = parent;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
        ins.item.pszText = text.data();
        ins.item.lParam = n->ListIndex;
        ins.item.stateMask = TVIS_EXPANDED;
        ins.item.state = expandedState && n->Expanded == 1 ? TVIS_EXPANDED : 0;
        items[n->ListIndex] = TreeView_InsertItem(tree, &ins);
    }
    SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree, nullptr, TRUE);
}

int Main(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fprintf(stderr, "usage: browse_bench DISKDIR [RUNS]\n");
        return 2;
    }
    int runs = args.size() > 1 ? std::max(1, std::atoi(args[1].c_str())) : 9;
    Catalogue cat;
    LoadOptions options;
    options.root = WithTrailingBackslash(Utf8ToUtf16(args[0]));
    if (LoadDiskDescription(cat, options).outcome != LoadOutcome::Loaded) {
        std::fprintf(stderr, "browse_bench: %s did not load\n", args[0].c_str());
        return 1;
    }
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BrowseBench";
    RegisterClassW(&wc);
    HWND frame = CreateWindowExW(0, L"BrowseBench", L"browse_bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 820,
                                 640, nullptr, nullptr, wc.hInstance, nullptr);
    auto font = CreateTextFont();
    PlayState play;
    CommandTable commands;
    browse::TCatalogueBrowser browser(cat, play, font.get());
    browser.CreatePanel(frame, commands);
    SetWindowPos(browser.Panel(), nullptr, 0, 0, 400, 600, SWP_NOZORDER);
    HWND plain = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                                 WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 405, 0, 400,
                                 600, frame, nullptr, wc.hInstance, nullptr);
    ShowWindow(frame, SW_SHOWNOACTIVATE);
    Pump();

    // Half the folders open, as a user leaves them.
    int k = 0;
    cat.ForEachNode([&](TRDataNode& n) {
        if (!n.IsSong()) n.Expanded = (k++ % 2) ? 1 : 0;
    });
    browser.RebuildVisibleTree(true);
    Pump();

    std::vector<double> withSongs, bookMode, language, plainSongs, plainBook, repaint, plainRepaint;
    for (int i = 0; i < runs; ++i) {
        withSongs.push_back(TimeMs([&] { browser.RebuildVisibleTree(true); }));
        Pump();
        bookMode.push_back(TimeMs([&] { browser.RebuildVisibleTree(false); }));
        Pump();
        cat.secondLanguageActive = !cat.secondLanguageActive;
        language.push_back(TimeMs([&] { browser.RebuildVisibleTree(true); }));
        Pump();
        plainSongs.push_back(TimeMs([&] { PlainFill(plain, cat, true, true); }));
        Pump();
        plainBook.push_back(TimeMs([&] { PlainFill(plain, cat, false, true); }));
        Pump();
        repaint.push_back(TimeMs([&] { RedrawWindow(browser.TreeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }));
        plainRepaint.push_back(TimeMs([&] { RedrawWindow(plain, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }));
    }
    size_t visible = static_cast<size_t>(TreeView_GetVisibleCount(browser.TreeHwnd()));
    std::printf("%zu nodes, %d runs, medians in ms\n", cat.NodeCount(), runs);
    std::printf("rebuild with songs      %8.2f   plain fill %8.2f   ratio %.2f\n", Median(withSongs), Median(plainSongs),
                Median(withSongs) / Median(plainSongs));
    std::printf("rebuild book mode       %8.2f   plain fill %8.2f   ratio %.2f\n", Median(bookMode), Median(plainBook),
                Median(bookMode) / Median(plainBook));
    std::printf("rebuild after language  %8.2f   plain fill %8.2f   ratio %.2f\n", Median(language), Median(plainSongs),
                Median(language) / Median(plainSongs));
    std::printf("full repaint of a page (%zu rows) %8.2f   plain %8.2f\n", visible, Median(repaint), Median(plainRepaint));
    DestroyWindow(frame);
    return 0;
}

}  // namespace

int Utf8Main(const std::vector<std::string>& args) { return Main(args); }
