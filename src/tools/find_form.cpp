#include "tools/find_form.h"

#include <richedit.h>

#include <algorithm>

#include "app/message_box.h"
#include "base/file_path.h"
#include "base/text_codec.h"
#include "lang/language.h"
#include "win/dialog_controls.h"

namespace qlm {
namespace {

constexpr int kClientWidth = 372;
constexpr int kClientHeight = 150;

std::u16string FindText(std::string_view key) { return lang::Text("Find", key); }

std::u16string WindowText(HWND h) {
    const int n = GetWindowTextLengthW(h);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(h, text.data(), n + 1)));
    return win::U16(text);
}

// Lines of a text as the rich-text view holds them: CR, LF or CR LF end a line.
std::vector<std::u16string> SplitLines(const std::u16string& text) {
    std::vector<std::u16string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            lines.emplace_back();
        } else {
            lines.back().push_back(c);
        }
    }
    if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    return lines;
}

struct StreamSource {
    const std::string* bytes;
    size_t at = 0;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* got) {
    auto* s = reinterpret_cast<StreamSource*>(cookie);
    const size_t n = std::min(static_cast<size_t>(wanted), s->bytes->size() - s->at);
    memcpy(buffer, s->bytes->data() + s->at, n);
    s->at += n;
    *got = static_cast<LONG>(n);
    return 0;
}

}  // namespace

TFindForm::TFindForm(const Catalogue& catalogue, FindSeams seams) : catalogue_(catalogue), seams_(std::move(seams)) {
    find::Ports ports;
    ports.fileExists = [](const std::u16string& path) {
        const DWORD a = GetFileAttributesW(win::Wide(path).c_str());
        return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
    };
    ports.loadLines = [this](const std::u16string& path) { return LoadTextLines(path); };
    ports.selectNode = [this](const TRDataNode& node) {
        if (seams_.selectNode) seams_.selectNode(node);
    };
    ports.showTextMatch = [this](const TRDataNode& node, int start, int length) {
        if (seams_.showTextMatch) seams_.showTextMatch(node, start, length);
    };
    ports.message = [this](const std::u16string& text) { ShowMessage(text); };
    engine_ = std::make_unique<find::Engine>(catalogue_, std::move(ports));
}

TFindForm::~TFindForm() {
    Destroy();
    if (richEdit_) FreeLibrary(richEdit_);
}

bool TFindForm::Create(HWND owner) {
    RegisterWindowClass(kClassName, 0, GetSysColorBrush(COLOR_BTNFACE));
    RECT r{0, 0, kClientWidth, kClientHeight};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_TOPMOST | WS_EX_DLGMODALFRAME;
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    win::CreateParams p;
    p.className = kClassName;
    p.title = win::Wide(FindText("Caption"));
    p.style = style;
    p.exStyle = exStyle;
    p.width = r.right - r.left;
    p.height = r.bottom - r.top;
    p.x = 200;
    p.y = 200;
    p.parent = owner;
    return win::Window::Create(p);
}

HWND TFindForm::Add(const wchar_t* cls, DWORD style, int id, int x, int y, int w, int h) {
    return win::AddDialogControl(hwnd(), font_.get(), cls, style, id, x, y, w, h,
                                 std::wstring_view(cls) == L"EDIT" ? WS_EX_CLIENTEDGE : 0);
}

void TFindForm::FormCreate() {
    font_ = win::DialogFont(lang::CurrentLanguage().Texts().Charset());
    Add(L"STATIC", SS_LEFT, kLabel1, 8, 12, 50, 16);
    Add(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, kEdit1, 60, 8, 196, 22);
    Add(L"BUTTON", BS_GROUPBOX, kGroupBox1, 8, 38, 248, 106);
    Add(L"BUTTON", WS_TABSTOP | BS_RADIOBUTTON, kTreeBtn, 18, 56, 110, 18);
    Add(L"BUTTON", WS_TABSTOP | BS_RADIOBUTTON, kTextBtn, 136, 56, 112, 18);
    Add(L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, kFolderCB, 18, 78, 232, 18);
    Add(L"BUTTON", WS_TABSTOP | BS_RADIOBUTTON, kFindFragCheckBox, 18, 100, 232, 18);
    Add(L"BUTTON", WS_TABSTOP | BS_RADIOBUTTON, kFindCelCheckBox, 18, 120, 232, 18);
    Add(L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, kFindBtn, 266, 7, 98, 24);
    Add(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, kCancelBtn, 266, 37, 98, 24);
    // The hidden view that reads a song's text the way the text window shows it.
    richEdit_ = LoadLibraryW(L"riched20.dll");
    HWND view = CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_CHILD | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL, 0,
                                0, 10, 10, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextView)),
                                win::ModuleInstance(), nullptr);
    if (view) SendMessageW(view, EM_EXLIMITTEXT, 0, 64 * 1024 * 1024);
    SetChecked(kTreeBtn, true);
    SetChecked(kFindFragCheckBox, true);
    EnableWindow(Item(kFindBtn), FALSE);
    ApplyLanguage();
}

void TFindForm::ApplyLanguage() {
    SetWindowTextW(hwnd(), win::Wide(FindText("Caption")).c_str());
    const std::pair<int, const char*> captions[] = {
        {kLabel1, "ToFind"}, {kGroupBox1, "Find"},      {kTreeBtn, "InList"}, {kTextBtn, "InTexts"},
        {kFolderCB, "InNameFolder"}, {kFindFragCheckBox, "Frag"}, {kFindCelCheckBox, "Cel"},
        {kFindBtn, "Next"}, {kCancelBtn, "Cancel"},
    };
    for (const auto& [id, key] : captions) SetWindowTextW(Item(id), win::Wide(FindText(key)).c_str());
}

LRESULT TFindForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        FormCreate();
        return 0;
    case WM_COMMAND:
        if (lParam) Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) FormActivate();
        return Default(msg, wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return win::DialogFaceColor(reinterpret_cast<HDC>(wParam));
    case WM_CLOSE:
        Hide();
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}

void TFindForm::Command(HWND control, WORD code) {
    const int id = GetDlgCtrlID(control);
    if (id == kEdit1 && code == EN_CHANGE) return Edit1Change();
    if (code != BN_CLICKED) return;
    switch (id) {
    case kFindBtn: return FindBtnClick();
    case kCancelBtn: return CancelBtnClick();
    case kTreeBtn: return TreeBtnClick(true);
    case kTextBtn: return TreeBtnClick(false);
    case kFindFragCheckBox: return FindFragCheckBoxClick(true);
    case kFindCelCheckBox: return FindFragCheckBoxClick(false);
    default: return;
    }
}

bool TFindForm::PreviewMessage(MSG& msg) {
    if (!hwnd() || !IsWindowVisible(hwnd())) return false;
    if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        Hide();
        return true;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
        // Consumed also while the button is off, so that nothing else sees it.
        if (msg.hwnd == Item(kEdit1) || msg.hwnd == Item(kFindBtn)) FindBtnClick();
        else if (msg.hwnd == Item(kCancelBtn)) CancelBtnClick();
        return true;
    }
    if ((msg.message == WM_CHAR) && (msg.wParam == L'\r' || msg.wParam == 27)) return true;
    return IsDialogMessageW(hwnd(), &msg) != FALSE;
}

void TFindForm::ShowFind() {
    if (!hwnd()) return;
    if (HWND focus = GetFocus(); focus && focus != hwnd() && !IsChild(hwnd(), focus)) ownerFocus_ = focus;
    if (!placed_) {
        // The first time beside the main window, so that it hides no match.
        placed_ = true;
        RECT owner{}, own{}, work{};
        GetWindowRect(GetWindow(hwnd(), GW_OWNER), &owner);
        GetWindowRect(hwnd(), &own);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        const int w = own.right - own.left, h = own.bottom - own.top;
        int x = owner.right + 4;
        if (x + w > work.right) x = std::max<int>(work.left, owner.left - w - 4);
        if (x + w > work.right || x < work.left) x = std::max<int>(work.left, work.right - w);
        const int y = std::clamp<int>(owner.top + 60, work.top, std::max<int>(work.top, work.bottom - h));
        SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    FormShow();
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(Item(kEdit1));
}

void TFindForm::Hide() {
    if (!hwnd() || !IsWindowVisible(hwnd())) return;
    // The keyboard goes back to the main window, not to whatever is next:
    // it is activated before the dialog goes.
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    const bool active = owner && GetActiveWindow() == hwnd();
    if (active) SetForegroundWindow(owner);
    ShowWindow(hwnd(), SW_HIDE);
    if (active && ownerFocus_ && IsWindow(ownerFocus_) && IsChild(owner, ownerFocus_)) SetFocus(ownerFocus_);
}

void TFindForm::CatalogueChanged() { engine_->CatalogueChanged(); }

void TFindForm::FormShow() {
    ApplyLanguage();
    engine_->Reset();
    engine_->PrepareCaptions();
    const bool texts = catalogue_.settings.HasTexts && !catalogue_.settings.TextsNotSearchable;
    EnableWindow(Item(kTextBtn), texts);
    if (!texts && Checked(kTextBtn)) TreeBtnClick(true);
    ApplyEditCharset();
}

void TFindForm::FormActivate() {
    engine_->SetCursor(seams_.selectedNode ? seams_.selectedNode() : nullptr);
}

void TFindForm::ApplyEditCharset() {
    uint8_t cs = kCyrillicCharset;
    if (Checked(kTextBtn) ? bool(seams_.textCharset) : bool(seams_.treeCharset))
        cs = Checked(kTextBtn) ? seams_.textCharset() : seams_.treeCharset();
    editFont_ = win::DialogFont(cs);
    SendMessageW(Item(kEdit1), WM_SETFONT, reinterpret_cast<WPARAM>(editFont_.get()), TRUE);
}

void TFindForm::Edit1Change() { EnableWindow(Item(kFindBtn), GetWindowTextLengthW(Item(kEdit1)) > 0); }

void TFindForm::TreeBtnClick(bool tree) {
    SetChecked(kTreeBtn, tree);
    SetChecked(kTextBtn, !tree);
    for (int id : {kFolderCB, kFindFragCheckBox, kFindCelCheckBox}) EnableWindow(Item(id), tree);
    ApplyEditCharset();
}

void TFindForm::FindFragCheckBoxClick(bool fragment) {
    SetChecked(kFindFragCheckBox, fragment);
    SetChecked(kFindCelCheckBox, !fragment);
}

void TFindForm::FindBtnClick() {
    const TRDataNode* origin = nullptr;
    try {
        origin = seams_.selectedNode ? seams_.selectedNode() : nullptr;
    } catch (...) {
        origin = nullptr;  // no origin: the no-more check never fires
    }
    if (!IsWindowEnabled(Item(kFindBtn))) return;
    find::Options o;
    o.text = WindowText(Item(kEdit1));
    o.inTexts = Checked(kTextBtn);
    o.folders = Checked(kFolderCB);
    o.whole = Checked(kFindCelCheckBox);
    engine_->SetMessages({FindText("NotSearch"), FindText("OnlyOne")});
    engine_->FindNext(o, origin);
}

void TFindForm::CancelBtnClick() {
    SetWindowTextW(Item(kEdit1), L"");
    engine_->Cancel();
    Hide();
}

std::optional<std::vector<std::u16string>> TFindForm::LoadTextLines(const std::u16string& path) {
    std::string bytes;
    if (!ReadWholeFile(FsPath(path), bytes)) return std::nullopt;
    const bool rtf = path.size() > 4 && (path.substr(path.size() - 4) == u".rtf" || path.substr(path.size() - 4) == u".RTF");
    if (!rtf) return SplitLines(DecodeText(bytes, catalogue_.settings.TextCharset));
    HWND view = Item(kTextView);
    if (!view) return std::nullopt;
    StreamSource source{&bytes};
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&source), 0, &ReadStream};
    SendMessageW(view, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
    if (es.dwError) return std::nullopt;
    return SplitLines(WindowText(view));
}

void TFindForm::ShowMessage(const std::u16string& text) {
    ShowMessageBox(text, FindText("Caption"), kIconInformation, 0, u"OK", "\x01");
}

bool TFindForm::Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TFindForm::SetChecked(int id, bool on) { SendMessageW(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

}  // namespace qlm
