#include "pages/text_form.h"

#include "content/disk_loader.h"
#include "content/tag_scan.h"

namespace qlm {
namespace {
constexpr const wchar_t* kClassName = L"TForm4";

// The tag scan of a disk whose description carries no tags.
void RunTagScan(Catalogue& catalogue) { TagScan(catalogue); }
}  // namespace

bool TForm4::Create(HWND owner, Catalogue& catalogue, const std::u16string& root, bool secondLanguageActive) {
    catalogue_ = &catalogue;
    root_ = root;
    secondLanguageActive_ = secondLanguageActive;
    RegisterWindowClass(kClassName, CS_HREDRAW | CS_VREDRAW, GetSysColorBrush(COLOR_BTNFACE));
    win::CreateParams p;
    p.className = kClassName;
    p.title = L"Тексты";
    p.style = WS_OVERLAPPEDWINDOW;
    p.exStyle = WS_EX_TOOLWINDOW;
    p.x = 345;
    p.y = 84;
    p.width = 434;
    p.height = 465;
    p.parent = owner;
    return win::Window::Create(p);
}

LRESULT TForm4::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            FormCreate();
            return 0;
        case WM_CLOSE:
            ShowWindow(hwnd(), SW_HIDE);  // closing only hides it; the main window owns it
            return 0;
        default:
            return Default(msg, wParam, lParam);
    }
}

void TForm4::FormCreate() {
    LoadOptions options;
    options.root = root_;
    options.secondLanguageActive = secondLanguageActive_;
    LoadResult r = LoadDiskDescription(*catalogue_, options);
    switch (r.outcome) {
        case LoadOutcome::NotADisk:
            loadResult_ = DescriptionLoadResult::Damaged;
            return;
        case LoadOutcome::NewerVersion:
            loadResult_ = DescriptionLoadResult::NeedsNewerProgram;
            return;
        case LoadOutcome::Loaded:
        case LoadOutcome::NoDescription:
            loadResult_ = DescriptionLoadResult::Loaded;
            break;
    }
    if (r.NeedsTagScan(*catalogue_)) RunTagScan(*catalogue_);
}

}  // namespace qlm
