#include "tools/print_list_form.h"

#include <commctrl.h>
#include <commdlg.h>
#include <winspool.h>

#include <algorithm>

#include "app/message_box.h"
#include "app/settings_win.h"
#include "lang/language.h"
#include "win/dialog_controls.h"
#include "win/modal_loop.h"

namespace qlm {
namespace {

constexpr int kClientWidth = 580;
constexpr int kClientHeight = 372;
constexpr UINT kCheckChanged = WM_APP + 1;  // the folder tree's check box was toggled

std::u16string T(std::string_view key) { return lang::Text("PrintList", key); }

LOGFONTW LogFontOf(const print::FontSpec& f, int pixelsPerInch) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(f.size, pixelsPerInch, 72);
    lf.lfWeight = (f.style & print::kStyleBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (f.style & print::kStyleItalic) ? TRUE : FALSE;
    lf.lfUnderline = (f.style & print::kStyleUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (f.style & print::kStyleStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = static_cast<BYTE>(f.charset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    const std::wstring name = win::Wide(f.name);
    lstrcpynW(lf.lfFaceName, name.c_str(), LF_FACESIZE);
    return lf;
}

print::FontSpec SpecOf(HFONT font) {
    print::FontSpec f;
    f.name = u"Tahoma";
    LOGFONTW lf{};
    if (font && GetObjectW(font, sizeof lf, &lf)) {
        f.name = win::U16(lf.lfFaceName);
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        if (lf.lfHeight) f.size = std::max(1, MulDiv(std::abs(lf.lfHeight), 72, dpi));
        f.charset = lf.lfCharSet;
    }
    return f;
}

// The default printer's DC, for the font dialog's printer fonts.
win::UniqueHandle<win::MemoryDcTraits> DefaultPrinterDc() {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgW(&pd)) return {};
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    if (pd.hDevNames) GlobalFree(pd.hDevNames);
    return win::UniqueHandle<win::MemoryDcTraits>(pd.hDC);
}

SIZE Extent(HDC dc, std::wstring_view text) {
    SIZE s{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &s);
    return s;
}

// Runs of blanks in a number column step by the width of "9", so that digits line up.
template <class F>
void ForEachNumberPiece(const std::wstring& number, F&& piece) {
    size_t i = 0;
    while (i < number.size()) {
        size_t j = i;
        const bool blanks = number[i] == L' ';
        while (j < number.size() && (number[j] == L' ') == blanks) ++j;
        piece(number.substr(i, j - i), blanks);
        i = j;
    }
}

}  // namespace

// ---- Printing ----

bool PrintLinesOn(HDC dc, const std::vector<print::PrintLine>& lines, const std::array<print::FontSpec, 3>& specs,
                  bool tagsChosen, const print::PrinterSettings& s, const std::wstring& documentName) {
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    std::array<win::UniqueFont, 3> fonts, bold;
    for (size_t k = 0; k < 3; ++k) {
        LOGFONTW lf = LogFontOf(specs[k], dpi);
        fonts[k].reset(CreateFontIndirectW(&lf));
        lf.lfWeight = FW_BOLD;
        bold[k].reset(CreateFontIndirectW(&lf));
    }
    std::array<print::FontMetrics, 3> metrics{};
    std::array<int, 3> nineWidth{};
    HGDIOBJ old = SelectObject(dc, fonts[0].get());
    for (size_t k = 0; k < 3; ++k) {
        SelectObject(dc, fonts[k].get());
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        const SIZE zero = Extent(dc, L"0");
        metrics[k] = {static_cast<int>(tm.tmHeight), static_cast<int>(zero.cy), static_cast<int>(zero.cx)};
        nineWidth[k] = Extent(dc, L"9").cx;
    }
    // The widest line, each in its own font.
    auto lineWidth = [&](const print::PrintLine& l, size_t k) {
        SelectObject(dc, fonts[k].get());
        int w = 0;
        ForEachNumberPiece(win::Wide(l.number), [&](const std::wstring& p, bool blanks) {
            w += blanks ? nineWidth[k] * static_cast<int>(p.size()) : Extent(dc, p).cx;
        });
        SelectObject(dc, (tagsChosen ? bold : fonts)[k].get());
        w += Extent(dc, win::Wide(l.name)).cx;
        SelectObject(dc, fonts[k].get());
        if (tagsChosen) w += Extent(dc, win::Wide(l.tags)).cx;
        return w;
    };
    int columnWidth = 0;
    for (const auto& l : lines) columnWidth = std::max(columnWidth, lineWidth(l, static_cast<size_t>(l.kind)));

    print::Page page;
    page.width = GetDeviceCaps(dc, HORZRES);
    page.height = GetDeviceCaps(dc, VERTRES);
    page.left = s.left;
    page.top = s.top;
    page.right = s.right;
    page.bottom = s.bottom;
    const auto mode = static_cast<print::ColumnMode>(s.cols);
    const int gap = mode == print::ColumnMode::One ? 0 : s.spaceCols;
    const print::ColumnChoice columns = print::ChooseColumns(mode, s.colsCount, page, gap, columnWidth);
    if (!columns.fits) {
        SelectObject(dc, old);
        std::u16string n;
        for (char c : std::to_string(columns.columns)) n.push_back(static_cast<char16_t>(c));
        ShowMessageBox(T("MVMCol1") + n + T("MVMCol2"), T("MVCapt"), kIconError, 0, u"OK", "\x01");
        return false;
    }
    const auto places = print::PlaceLines(lines, metrics, page, columns.columns, gap, columnWidth);

    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = documentName.c_str();
    if (StartDocW(dc, &doc) <= 0) {
        SelectObject(dc, old);
        return false;
    }
    SetBkMode(dc, TRANSPARENT);
    int currentPage = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
        const print::PrintLine& l = lines[i];
        const print::Placement& at = places[i];
        if (at.page != currentPage) {
            if (currentPage >= 0) EndPage(dc);
            StartPage(dc);
            currentPage = at.page;
        }
        const size_t k = static_cast<size_t>(l.kind);
        SetTextColor(dc, specs[k].color);
        SelectObject(dc, fonts[k].get());
        int x = at.x;
        ForEachNumberPiece(win::Wide(l.number), [&](const std::wstring& p, bool blanks) {
            if (blanks) {
                x += nineWidth[k] * static_cast<int>(p.size());
            } else {
                TextOutW(dc, x, at.y, p.c_str(), static_cast<int>(p.size()));
                x += Extent(dc, p).cx;
            }
        });
        const std::wstring name = win::Wide(l.name);
        SelectObject(dc, (tagsChosen ? bold : fonts)[k].get());
        TextOutW(dc, x, at.y, name.c_str(), static_cast<int>(name.size()));
        x += Extent(dc, name).cx;
        if (tagsChosen && !l.tags.empty()) {
            SelectObject(dc, fonts[k].get());
            const std::wstring tags = win::Wide(l.tags);
            TextOutW(dc, x, at.y, tags.c_str(), static_cast<int>(tags.size()));
        }
    }
    if (currentPage >= 0) EndPage(dc);
    EndDoc(dc);
    SelectObject(dc, old);
    return true;
}

// ---- The dialog ----

TPrintListForm::TPrintListForm(const Catalogue& catalogue, std::u16string diskRoot, HFONT treeFont)
    : catalogue_(catalogue), diskRoot_(std::move(diskRoot)) {
    // Before the settings are read: the tree's font for songs, bold and
    // underlined for Header 2, one point larger for Header 1.
    song_ = SpecOf(treeFont);
    treeFontName_ = song_.name;
    fast_ = song_;
    header2_ = print::HeaderFontOf(song_);
    header1_ = header2_;
    header1_.size += 1;
}

TPrintListForm::~TPrintListForm() { Destroy(); }

void TPrintListForm::ShowModal(HWND owner) {
    owner_ = owner;
    RegisterWindowClass(kClassName, 0, GetSysColorBrush(COLOR_BTNFACE));
    RECT r{0, 0, kClientWidth, kClientHeight};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_DLGMODALFRAME);
    RECT o{};
    GetWindowRect(owner, &o);
    win::CreateParams p;
    p.className = kClassName;
    p.title = win::Wide(T("Caption"));
    p.style = style;
    p.exStyle = WS_EX_DLGMODALFRAME;
    p.width = r.right - r.left;
    p.height = r.bottom - r.top;
    p.x = std::max<int>(0, o.left + 20);
    p.y = std::max<int>(0, o.top + 20);
    p.parent = owner;
    HWND focus = GetFocus();  // the owner's control that has the keyboard, to get it back
    if (!Create(p)) return;
    FormShow();
    ShowWindow(hwnd(), SW_SHOW);
    SetFocus(Item(kAllRadio));
    win::RunModalLoop(hwnd(), owner, done_, [this](MSG& msg) {
        if (msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)))
            return false;
        FormClose();
        return true;
    });
    SetForegroundWindow(owner);
    Destroy();
    if (focus && IsWindow(focus) && (focus == owner || IsChild(owner, focus))) SetFocus(focus);
}

HWND TPrintListForm::Add(const wchar_t* cls, DWORD style, int id, int x, int y, int w, int h, DWORD exStyle) {
    return win::AddDialogControl(hwnd(), font_.get(), cls, style, id, x, y, w, h, exStyle);
}

void TPrintListForm::AddNumber(int id, int x, int y, int lo, int hi, int value) {
    HWND edit = Add(L"EDIT", WS_TABSTOP | ES_NUMBER, id, x, y, 52, 21, WS_EX_CLIENTEDGE);
    HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, L"",
                                WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                                0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kUpDownFirst + id)),
                                win::ModuleInstance(), nullptr);
    SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    SendMessageW(spin, UDM_SETRANGE32, lo, hi);
    SendMessageW(spin, UDM_SETPOS32, 0, value);
}

int TPrintListForm::Number(int id) const {
    BOOL error = FALSE;
    const int v = static_cast<int>(SendMessageW(GetDlgItem(hwnd(), kUpDownFirst + id), UDM_GETPOS32, 0,
                                                reinterpret_cast<LPARAM>(&error)));
    return v;
}

void TPrintListForm::FormCreate() {
    font_ = win::DialogFont(lang::CurrentLanguage().Texts().Charset());
    ReadSettings();
    // Left: what to print and the folders.
    Add(L"BUTTON", BS_GROUPBOX, kPrintGroupBox, 8, 6, 176, 62);
    Add(L"BUTTON", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, kAllRadio, 18, 24, 150, 18);
    Add(L"BUTTON", BS_AUTORADIOBUTTON, kSelectRadio, 18, 44, 150, 18);
    Add(L"STATIC", SS_LEFT, kAlbumLabel, 8, 76, 176, 16);
    HWND tree = Add(WC_TREEVIEWW, WS_TABSTOP | WS_GROUP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                    kFolderTree, 8, 94, 176, 270, WS_EX_CLIENTEDGE);
    // Check boxes are taken only when set after creation.
    SetWindowLongPtrW(tree, GWL_STYLE, GetWindowLongPtrW(tree, GWL_STYLE) | TVS_CHECKBOXES);
    // Middle: numbering, sorting, tag fields, margins.
    Add(L"BUTTON", BS_GROUPBOX, kNumberStyleGroup, 192, 6, 196, 62);
    Add(L"BUTTON", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, kRunningRadio, 202, 24, 180, 18);
    Add(L"BUTTON", BS_AUTORADIOBUTTON, kOutlineRadio, 202, 44, 180, 18);
    Add(L"BUTTON", BS_GROUPBOX, kExtendedGroup, 192, 72, 196, 44);
    Add(L"BUTTON", WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, kSortCheckBox, 202, 90, 184, 18);
    Add(L"BUTTON", BS_GROUPBOX, kAddInfoGroup, 192, 120, 196, 104);
    const int tagBoxes[] = {kComposerCheckBox, kArtistCheckBox, kAlbumCheckBox, kYearCheckBox};
    for (int i = 0; i < 4; ++i) Add(L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, tagBoxes[i], 202, 138 + 20 * i, 180, 18);
    Add(L"BUTTON", BS_GROUPBOX, kOffsetsGroup, 192, 228, 196, 136);
    const int margins[][2] = {{kLeftLabel, kLeftOffset}, {kTopLabel, kTopOffset}, {kRightLabel, kRightOffset},
                              {kBottomLabel, kBottomOffset}};
    const int values[] = {settings_.left, settings_.top, settings_.right, settings_.bottom};
    for (int i = 0; i < 4; ++i) {
        Add(L"STATIC", SS_LEFT, margins[i][0], 202, 250 + 27 * i, 90, 16);
        AddNumber(margins[i][1], 300, 246 + 27 * i, 1, 999, values[i]);
    }
    // Right: columns, fonts, the two outputs.
    Add(L"STATIC", SS_LEFT, kColsLabel, 396, 8, 176, 16);
    HWND combo = Add(L"COMBOBOX", WS_TABSTOP | WS_GROUP | CBS_DROPDOWNLIST | WS_VSCROLL, kColsCountComboBox, 396, 26, 176, 120);
    for (const char* key : {"ColOnPageOneCol", "ColOnPageCurCol", "ColInPageMaxCol"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::Wide(T(key)).c_str()));
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(settings_.cols), 0);
    AddNumber(kColCountSpinEdit, 396, 54, 2, 9, settings_.colsCount);
    Add(L"STATIC", SS_LEFT, kLabel6, 396, 82, 176, 16);
    AddNumber(kSpaceSpinEdit, 396, 100, 0, 999, settings_.spaceCols);
    Add(L"BUTTON", BS_GROUPBOX, kFontGroup, 396, 130, 176, 156);
    Add(L"BUTTON", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, kAutomaticRadio, 406, 148, 160, 18);
    Add(L"BUTTON", BS_AUTORADIOBUTTON, kExtendedRadio, 406, 168, 160, 18);
    Add(L"BUTTON", WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, kFontBtn, 406, 192, 156, 24);
    Add(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, kHeader1Btn, 406, 192, 156, 24);
    Add(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, kHeader2Btn, 406, 220, 156, 24);
    Add(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, kSongBtn, 406, 248, 156, 24);
    Add(L"BUTTON", WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, kPrintToFileBtn, 396, 302, 176, 26);
    Add(L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, kPrintBtn, 396, 336, 176, 26);

    SetChecked(kAllRadio, true);
    SetChecked(kRunningRadio, true);
    SetChecked(settings_.selFont ? kExtendedRadio : kAutomaticRadio, true);
    const unsigned available = catalogue_.settings.TagFieldsAvailable;
    const std::pair<int, int> fields[] = {{kComposerCheckBox, kComposer}, {kArtistCheckBox, kArtist},
                                          {kAlbumCheckBox, kAlbum}, {kYearCheckBox, kYear}};
    for (const auto& [id, field] : fields) EnableWindow(Item(id), (available >> field) & 1u);
    twoHeaderButtons_ = catalogue_.DeepestFolderLevel() >= 2;
    ApplyLanguage();
    FillFolderTree();
}

void TPrintListForm::ApplyLanguage() {
    SetWindowTextW(hwnd(), win::Wide(T("Caption")).c_str());
    const std::pair<int, const char*> captions[] = {
        {kPrintGroupBox, "ToPrint"}, {kAllRadio, "All"}, {kSelectRadio, "Select"}, {kAlbumLabel, "AlbumCaption"},
        {kNumberStyleGroup, "Numeration"}, {kRunningRadio, "NumerationThrough"}, {kOutlineRadio, "NumerationStep"},
        {kExtendedGroup, "ExtendedOption"}, {kSortCheckBox, "SortAlpha"}, {kAddInfoGroup, "AddInfo"},
        {kComposerCheckBox, "Composer"}, {kArtistCheckBox, "Artist"}, {kAlbumCheckBox, "Album"},
        {kYearCheckBox, "Year"}, {kOffsetsGroup, "Offsets"}, {kLeftLabel, "Left"}, {kTopLabel, "Top"},
        {kRightLabel, "Right"}, {kBottomLabel, "Bottom"}, {kColsLabel, "ColOnPage"},
        {kLabel6, "IntervalBetweenColumns"}, {kFontGroup, "FontSelect"}, {kAutomaticRadio, "Automatic"},
        {kExtendedRadio, "Extended"}, {kFontBtn, "FontBtn"}, {kSongBtn, "CompositionBtn"},
        {kPrintToFileBtn, "ToFileBtn"}, {kPrintBtn, "PrintBtn"},
    };
    for (const auto& [id, key] : captions) SetWindowTextW(Item(id), win::Wide(T(key)).c_str());
    const std::u16string header = T("Header");
    SetWindowTextW(Item(kHeader1Btn), win::Wide(twoHeaderButtons_ ? header + u" 1" : header).c_str());
    SetWindowTextW(Item(kHeader2Btn), win::Wide(header + u" 2").c_str());
}

void TPrintListForm::FillFolderTree() {
    HWND tree = Item(kFolderTree);
    std::function<void(const std::vector<TRDataNode*>&, HTREEITEM)> add = [&](const std::vector<TRDataNode*>& nodes,
                                                                              HTREEITEM parent) {
        for (const TRDataNode* n : nodes) {
            if (n->Kind != kKindFolder) continue;  // songs, entries and the video folder stay out
            std::wstring text = win::Wide(catalogue_.NodeDisplayText(*n, false, true));
            TVINSERTSTRUCTW ins{};
            ins.hParent = parent;
            ins.hInsertAfter = TVI_LAST;
            ins.item.mask = TVIF_TEXT | TVIF_PARAM;
            ins.item.pszText = text.data();
            ins.item.lParam = n->ListIndex;
            HTREEITEM item = TreeView_InsertItem(tree, &ins);
            if (item) add(n->Children, item);
        }
    };
    add(catalogue_.Roots(), TVI_ROOT);
}

void TPrintListForm::FormShow() { UpdateControls(); }

void TPrintListForm::UpdateControls() {
    const bool selected = Checked(kSelectRadio);
    const bool canOutput = !selected || AnyFolderChecked();
    const bool printer = HasPrinter();
    EnableWindow(Item(kPrintToFileBtn), canOutput);
    EnableWindow(Item(kPrintBtn), canOutput && printer);
    const int mode = static_cast<int>(SendMessageW(Item(kColsCountComboBox), CB_GETCURSEL, 0, 0));
    const int show[] = {int(kColCountSpinEdit), int(kUpDownFirst + kColCountSpinEdit)};
    for (int id : show) ShowWindow(Item(id), mode == 1 ? SW_SHOW : SW_HIDE);
    for (int id : {int(kLabel6), int(kSpaceSpinEdit), int(kUpDownFirst + kSpaceSpinEdit)})
        ShowWindow(Item(id), mode >= 1 ? SW_SHOW : SW_HIDE);
    const bool extended = Checked(kExtendedRadio);
    ShowWindow(Item(kFontBtn), extended ? SW_HIDE : SW_SHOW);
    ShowWindow(Item(kHeader1Btn), extended ? SW_SHOW : SW_HIDE);
    ShowWindow(Item(kHeader2Btn), extended && twoHeaderButtons_ ? SW_SHOW : SW_HIDE);
    ShowWindow(Item(kSongBtn), extended ? SW_SHOW : SW_HIDE);
    // The song button moves up when only one header button is shown.
    SetWindowPos(Item(kSongBtn), nullptr, 406, twoHeaderButtons_ ? 248 : 220, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    for (int id : {int(kFontBtn), int(kHeader1Btn), int(kHeader2Btn), int(kSongBtn)}) EnableWindow(Item(id), printer);
}

bool TPrintListForm::AnyFolderChecked() const {
    HWND tree = Item(kFolderTree);
    std::function<bool(HTREEITEM)> any = [&](HTREEITEM at) {
        for (; at; at = TreeView_GetNextSibling(tree, at))
            if (TreeView_GetCheckState(tree, at) == 1 || any(TreeView_GetChild(tree, at))) return true;
        return false;
    };
    return any(TreeView_GetRoot(tree));
}

bool TPrintListForm::HasPrinter() const {
    DWORD needed = 0, count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    return needed > 0;
}

LRESULT TPrintListForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        FormCreate();
        return 0;
    case WM_COMMAND:
        if (lParam) Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        Notify(*reinterpret_cast<const NMHDR*>(lParam));
        return 0;
    case kCheckChanged:
        UpdateControls();
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return win::DialogFaceColor(reinterpret_cast<HDC>(wParam));
    case WM_CLOSE:
        FormClose();
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}

void TPrintListForm::Command(HWND control, WORD code) {
    const int id = GetDlgCtrlID(control);
    if (id == kColsCountComboBox && code == CBN_SELCHANGE) return UpdateControls();
    if (code != BN_CLICKED) return;
    switch (id) {
    case kAllRadio:
    case kSelectRadio:
    case kAutomaticRadio:
    case kExtendedRadio: return UpdateControls();
    case kPrintBtn: return PrintBtnClick();
    case kPrintToFileBtn: return PrintToFileBtnClick();
    case kFontBtn: return ChooseFontFor(FontSlot::Fast);
    // The only header button edits Header 2, the one header font then in use.
    case kHeader1Btn: return ChooseFontFor(twoHeaderButtons_ ? FontSlot::Header1 : FontSlot::Header2);
    case kHeader2Btn: return ChooseFontFor(FontSlot::Header2);
    case kSongBtn: return ChooseFontFor(FontSlot::Song);
    default: return;
    }
}

void TPrintListForm::Notify(const NMHDR& nm) {
    if (nm.idFrom != static_cast<UINT_PTR>(kFolderTree)) return;
    // The check state changes after the click or key is handled: look then.
    if (nm.code == NM_CLICK || nm.code == TVN_KEYDOWN) PostMessageW(hwnd(), kCheckChanged, 0, 0);
}

void TPrintListForm::FormClose() {
    if (done_) return;
    WriteSettings();
    // The window goes after the owner is enabled again, so that the owner
    // takes the activation (ShowModal).
    done_ = true;
}

void TPrintListForm::ReadSettings() {
    app::WinProfileStore ini = app::SettingsFile();
    settings_ = print::ReadPrinterSettings(ini);
    auto read = [&](std::u16string_view section, print::FontSpec& f) {
        if (ini.Read(section, u"Name")) f = print::ReadFont(ini, section, treeFontName_);
    };
    read(print::kFastFontSection, fast_);
    read(print::kHeader1FontSection, header1_);
    read(print::kHeader2FontSection, header2_);
    read(print::kSongFontSection, song_);
}

void TPrintListForm::WriteSettings() {
    settings_.left = Number(kLeftOffset);
    settings_.top = Number(kTopOffset);
    settings_.right = Number(kRightOffset);
    settings_.bottom = Number(kBottomOffset);
    settings_.cols = std::max(0, static_cast<int>(SendMessageW(Item(kColsCountComboBox), CB_GETCURSEL, 0, 0)));
    settings_.colsCount = Number(kColCountSpinEdit);
    settings_.spaceCols = Number(kSpaceSpinEdit);
    settings_.selFont = Checked(kExtendedRadio) ? 1 : 0;
    app::WinProfileStore ini = app::SettingsFile();
    print::WritePrinterSettings(ini, settings_);
}

std::array<print::FontSpec, 3> TPrintListForm::FontsInUse() const {
    if (!Checked(kExtendedRadio)) {
        const print::FontSpec h = print::HeaderFontOf(fast_);
        return {h, h, fast_};
    }
    return {header1_, header2_, song_};
}

void TPrintListForm::ChooseFontFor(FontSlot slot) {
    print::FontSpec* fontSpec = &fast_;
    std::u16string_view section = print::kFastFontSection;
    switch (slot) {
    case FontSlot::Fast: break;
    case FontSlot::Header1: fontSpec = &header1_; section = print::kHeader1FontSection; break;
    case FontSlot::Header2: fontSpec = &header2_; section = print::kHeader2FontSection; break;
    case FontSlot::Song: fontSpec = &song_; section = print::kSongFontSection; break;
    }
    auto printer = DefaultPrinterDc();
    HDC screen = GetDC(nullptr);
    LOGFONTW lf = LogFontOf(*fontSpec, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = hwnd();
    cf.hDC = printer.get();
    cf.lpLogFont = &lf;
    cf.rgbColors = fontSpec->color;
    cf.Flags = CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_LIMITSIZE | CF_NOSTYLESEL |
               (printer ? CF_PRINTERFONTS : CF_SCREENFONTS);
    cf.nSizeMin = 5;
    cf.nSizeMax = 18;
    if (!ChooseFontW(&cf)) return;
    fontSpec->name = win::U16(lf.lfFaceName);
    if (cf.iPointSize > 0) fontSpec->size = std::clamp(cf.iPointSize / 10, 5, 18);
    fontSpec->color = cf.rgbColors & 0xFFFFFFu;
    fontSpec->charset = lf.lfCharSet;
    fontSpec->style = (lf.lfWeight >= FW_BOLD ? print::kStyleBold : 0) | (lf.lfItalic ? print::kStyleItalic : 0) |
                  (lf.lfUnderline ? print::kStyleUnderline : 0) | (lf.lfStrikeOut ? print::kStyleStrikeOut : 0);
    app::WinProfileStore ini = app::SettingsFile();
    print::WriteFont(ini, section, *fontSpec);
}

print::LineOptions TPrintListForm::Options() const {
    print::LineOptions o;
    o.selectedOnly = Checked(kSelectRadio);
    HWND tree = Item(kFolderTree);
    std::function<void(HTREEITEM)> collect = [&](HTREEITEM at) {
        for (; at; at = TreeView_GetNextSibling(tree, at)) {
            TVITEMW item{};
            item.mask = TVIF_PARAM;
            item.hItem = at;
            if (TreeView_GetCheckState(tree, at) == 1 && TreeView_GetItem(tree, &item))
                o.checkedFolders.insert(static_cast<int32_t>(item.lParam));
            collect(TreeView_GetChild(tree, at));
        }
    };
    collect(TreeView_GetRoot(tree));
    o.outline = Checked(kOutlineRadio);
    o.sort = Checked(kSortCheckBox);
    if (Checked(kComposerCheckBox)) o.tags |= print::kTagComposer;
    if (Checked(kArtistCheckBox)) o.tags |= print::kTagArtist;
    if (Checked(kAlbumCheckBox)) o.tags |= print::kTagAlbum;
    if (Checked(kYearCheckBox)) o.tags |= print::kTagYear;
    o.collate = [](const std::u16string& a, const std::u16string& b) {
        const std::wstring wa = win::Wide(a), wb = win::Wide(b);
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(), static_cast<int>(wa.size()),
                              wb.c_str(), static_cast<int>(wb.size())) - CSTR_EQUAL;
    };
    return o;
}

std::vector<print::PrintLine> TPrintListForm::BuildLines() const {
    // The disk root, not the drive that holds it: a disk in a folder of a
    // hard disk must not scan the whole hard disk.
    return print::BuildLines(catalogue_, print::CollectSongFiles(diskRoot_), Options());
}

void TPrintListForm::PrintBtnClick() {
    if (!IsWindowEnabled(Item(kPrintBtn))) return;
    const auto lines = BuildLines();
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = hwnd();
    pd.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    if (!PrintDlgW(&pd)) return;
    win::UniqueHandle<win::MemoryDcTraits> dc(pd.hDC);
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    if (pd.hDevNames) GlobalFree(pd.hDevNames);
    WriteSettings();  // the margins and columns as they are now
    PrintLinesOn(dc.get(), lines, FontsInUse(), Options().tags != 0, settings_, win::Wide(T("Caption")));
}

void TPrintListForm::PrintToFileBtnClick() {
    if (!IsWindowEnabled(Item(kPrintToFileBtn))) return;
    wchar_t file[MAX_PATH * 2] = {};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd();
    ofn.lpstrFilter = L"Text files\0*.txt\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.lpstrDefExt = L"txt";
    ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&ofn)) return;
    const print::LineOptions o = Options();
    print::SaveTextFile(win::U16(file), BuildLines(), o.sort);
}

bool TPrintListForm::Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TPrintListForm::SetChecked(int id, bool on) {
    SendMessageW(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace qlm
