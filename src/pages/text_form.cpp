// The text window itself: creation, its child windows and their layout,
// closing, keys and the system commands.
#include "pages/text_form.h"

#include "content/catalogue.h"
#include "content/disk_loader.h"
#include "content/tag_scan.h"
#include "lang/language.h"
#include "pages/html_pane.h"
#include "win/printer.h"

namespace qlm {
namespace {
constexpr const wchar_t* kClassName = L"TForm4";
constexpr const wchar_t* kPanelClass = L"TQlmTextPanel";
constexpr int kRichViewId = 100;

// The tag scan of a disk whose description carries no tags.
void RunTagScan(Catalogue& catalogue) { TagScan(catalogue); }

// A plain panel: what its children report goes on to the text window.
LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CONTEXTMENU:
            return SendMessageW(GetParent(hwnd), msg, wParam, lParam);
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

HWND CreatePanel(HWND parent) {
    static bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = PanelProc;
        wc.hInstance = win::ModuleInstance();
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = kPanelClass;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    return CreateWindowExW(0, kPanelClass, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                           nullptr, win::ModuleInstance(), nullptr);
}

void Place(HWND hwnd, int x, int y, int w, int h) {
    if (hwnd) SetWindowPos(hwnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool TForm4::Create(HWND owner, Catalogue& catalogue, const std::u16string& root, bool secondLanguageActive) {
    catalogue_ = &catalogue;
    root_ = root;
    secondLanguageActive_ = secondLanguageActive;
    RegisterWindowClass(kClassName, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE));
    win::CreateParams p;
    p.className = kClassName;
    p.title = L"Тексты";
    p.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    p.exStyle = WS_EX_TOOLWINDOW;
    p.x = floating_.left;
    p.y = floating_.top;
    p.width = floating_.right - floating_.left;
    p.height = floating_.bottom - floating_.top;
    p.parent = owner;
    site_.host = owner;
    return win::Window::Create(p);
}

LRESULT TForm4::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            FormCreate();
            return 0;
        case WM_SIZE:
            FormResize();
            return 0;
        case WM_PAINT:
            FormPaint();
            return 0;
        case kCompleteLoadMessage:
            richView_.CompleteLoad();
            return 0;
        case WM_CLOSE:
            FormClose();
            return 0;
        case WM_CONTEXTMENU:
            ContextMenu(reinterpret_cast<HWND>(wParam), lParam);
            return 0;
        case WM_COMMAND:
            if (lParam == 0 && LOWORD(wParam) == kPrintItem) PrintText();
            return 0;
        case WM_SYSCOMMAND:
            SystemCommand(wParam);
            return Default(msg, wParam, lParam);
        case WM_ENTERSIZEMOVE:
            EnterSizeMove();
            return 0;
        case WM_EXITSIZEMOVE:
            ExitSizeMove();
            return 0;
        case WM_LBUTTONDOWN:
            GripMouseDown(static_cast<short>(HIWORD(lParam)));
            return 0;
        case WM_LBUTTONUP:
            GripMouseUp();
            return 0;
        case WM_CAPTURECHANGED:
            if (gripDrag_) {
                gripDrag_ = false;
                EndDrag();
            }
            return 0;
        default:
            return Default(msg, wParam, lParam);
    }
}

void TForm4::FormCreate() {
    CreateContent();
    LoadDescription();
    LoadTitlePictureAtCreation();
}

void TForm4::LoadDescription() {
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
    richView_.SetCharset(catalogue_->settings.TextCharset);
    tmpLabelFont_.reset(CreateFontW(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, catalogue_->settings.TextCharset,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_ROMAN, L"Times New Roman"));
}

void TForm4::CreateContent() {
    backTextPanel_ = CreatePanel(hwnd());
    gifAnimator_.Create(backTextPanel_, TPictureBox::Fit::Centre);
    image2_.Create(backTextPanel_, TPictureBox::Fit::Stretch);
    richPanel_ = CreatePanel(backTextPanel_);
    richView_.Create(richPanel_, kRichViewId);
    previewHtml_ = CreateHtmlPane(backTextPanel_);
    previewHtml_->OnLoaded = [this] { EnableWindow(backTextPanel_, TRUE); };
    ShowWindow(backTextPanel_, SW_SHOW);
}

void TForm4::FormResize() {
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    int top = docked_ ? kGripHeight : 0;
    int w = rc.right;
    int h = rc.bottom > top ? rc.bottom - top : 0;
    Place(backTextPanel_, 0, top, w, h);
    Place(richPanel_, 0, 0, w, h);
    Place(richView_.hwnd(), 0, 0, w, h);
    if (previewHtml_) Place(previewHtml_->Window(), 0, 0, w, h);
    Place(gifAnimator_.hwnd(), 0, 0, w, h);
    FitImage();
    // The floating bounds follow the window while it floats in its normal size.
    if (!docked_ && Visible() && !IsZoomed(hwnd())) RememberFloatingBounds();
    if (Visible() && IsWindowVisible(richPanel_)) richView_.Repaint();
    if (docked_) InvalidateRect(hwnd(), nullptr, FALSE);
}

void TForm4::FormPaint() {
    win::PaintScope paint(hwnd());
    if (!docked_) return;
    // The grip strip of the docked window, with the window's caption.
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    rc.bottom = kGripHeight;
    FillRect(paint.dc(), &rc, GetSysColorBrush(COLOR_INACTIVECAPTION));
    wchar_t title[128] = {};
    GetWindowTextW(hwnd(), title, 128);
    SetBkMode(paint.dc(), TRANSPARENT);
    SetTextColor(paint.dc(), GetSysColor(COLOR_INACTIVECAPTIONTEXT));
    win::SelectScope font(paint.dc(), GetStockObject(DEFAULT_GUI_FONT));
    rc.left += 4;
    DrawTextW(paint.dc(), title, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void TForm4::FormClose() {
    if (destroying_) {
        DestroyWindow(hwnd());
        return;
    }
    // While the program runs the window only goes out of sight.
    SetTextWindowMode(kTextHidden);
    if (site_.host) {
        ShowWindow(site_.host, SW_SHOW);
        SetForegroundWindow(site_.host);
    }
}

void TForm4::ContextMenu(HWND from, LPARAM lParam) {
    if (from != richView_.hwnd()) return;
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    AppendMenuW(menu, MF_STRING | (win::PrinterInstalled() ? 0 : MF_GRAYED), kPrintItem, L"&Print");
    POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (lParam == -1) {  // from the keyboard: at the view's corner
        pt = {0, 0};
        ClientToScreen(from, &pt);
    }
    UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, hwnd(), nullptr);
    DestroyMenu(menu);
    if (chosen == kPrintItem) PrintText();
}

void TForm4::SystemCommand(WPARAM wParam) {
    switch (wParam & 0xFFF0) {
        case SC_MAXIMIZE:
            RememberFloatingBounds();
            break;
        case SC_MOVE:
            RememberFloatingBounds();
            moving_ = true;
            break;
        default:
            break;
    }
}

bool TForm4::PreviewKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || !hwnd()) return false;
    if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
    if (msg.wParam == VK_F1 && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) >= 0 &&
        GetKeyState(VK_MENU) >= 0) {
        if (site_.host) {
            SetWindowPos(site_.host, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            SetForegroundWindow(site_.host);
        }
        return true;
    }
    return false;
}

void TForm4::SetTextWindowCaption() {
    std::u16string caption = u"Тексты";
    if (lang::SecondLanguageActive()) {
        caption = lang::Text("Pages", "TextPage");
        if (!caption.empty() && caption[0] == u'&') caption.erase(0, 1);
    }
    SetWindowTextW(hwnd(), win::Wide(caption).c_str());
    if (docked_) InvalidateRect(hwnd(), nullptr, FALSE);
}

bool TForm4::Visible() const { return hwnd() && IsWindowVisible(hwnd()); }

}  // namespace qlm
