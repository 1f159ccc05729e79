// The find dialog and the print dialog driven as a user drives them, under
// Wine: the shell on a generated disk, the dialogs' controls, the tree's
// selection read across the process, and a real print through the CUPS PDF
// printer read back with pdftotext.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/gui_disks.h"
#include "base/text_codec.h"
#include "qlmdisk/manifest.h"
#include "tools/find_form.h"
#include "tools/print_list_form.h"

using namespace qlm::test;
using qlm::Cmd;
using qlm::TFindForm;
using qlm::TPrintListForm;

namespace {

constexpr int kArtists = 2, kAlbums = 2, kSongsPerAlbum = 30;

std::string SongName(int a, int b, int s) { return "Песня " + std::to_string(a + 1) + "." + std::to_string(b + 1) + "." + std::to_string(s + 1); }

// Artists / albums / songs, texts for the first album, tags for every song.
std::wstring MakePrintDisk(const std::wstring& name) {
    std::wstring dir = FreshFolder(name);
    qlm::disk::DiskManifest m;
    m.settings.DiskIdentifier = "GUI-PRINT-1";
    m.settings.DiskTitle = "Печать";
    m.settings.HasTexts = true;
    m.settings.TagsInFile = true;
    m.settings.TagFieldsAvailable = 0x0F;
    std::string silent(417, '\0');
    silent[0] = '\xFF', silent[1] = '\xFB', silent[2] = '\x90';
    for (int a = 0; a < kArtists; ++a) {
        qlm::disk::ManifestNode artist;
        artist.name = "Артист " + std::to_string(a + 1);
        artist.path = "A" + std::to_string(a + 1);
        for (int b = 0; b < kAlbums; ++b) {
            qlm::disk::ManifestNode album;
            album.name = "Альбом " + std::to_string(a + 1) + "." + std::to_string(b + 1);
            album.path = artist.path + "\\B" + std::to_string(b + 1);
            CreateDirectoryW((dir + L"\\Sound").c_str(), nullptr);
            CreateDirectoryW((dir + L"\\Sound\\" + std::wstring(artist.path.begin(), artist.path.end())).c_str(), nullptr);
            const std::wstring albumDir = dir + L"\\Sound\\" + std::wstring(album.path.begin(), album.path.end());
            CreateDirectoryW(albumDir.c_str(), nullptr);
            for (int s = 0; s < kSongsPerAlbum; ++s) {
                qlm::disk::ManifestNode song;
                song.kind = qlm::kKindSong;
                song.name = SongName(a, b, s);
                const std::string file = "s" + std::string(s < 9 ? "0" : "") + std::to_string(s + 1);
                song.path = album.path + "\\" + file + ".mp3";
                song.hasTags = true;
                song.tags[2 * qlm::kArtist] = "Группа " + std::to_string(a + 1);
                song.tags[2 * qlm::kYear] = "2001";
                WriteFileBytes(albumDir + L"\\" + std::wstring(file.begin(), file.end()) + L".mp3", silent);
                album.children.push_back(std::move(song));
            }
            artist.children.push_back(std::move(album));
        }
        m.tree.push_back(std::move(artist));
    }
    std::string bytes, error;
    if (!qlm::disk::WriteDescription(m, bytes, error)) return {};
    WriteFileBytes(dir + L"\\qlm.cfg", bytes);
    // Song texts: a word twice on one line of the first song, the .txt form.
    CreateDirectoryW((dir + L"\\Text").c_str(), nullptr);
    CreateDirectoryW((dir + L"\\Text\\A1").c_str(), nullptr);
    CreateDirectoryW((dir + L"\\Text\\A1\\B1").c_str(), nullptr);
    WriteFileBytes(dir + L"\\Text\\A1\\B1\\s01.txt", Cp1251("Мир и МИР\r\nвторая строка\r\n"));
    WriteFileBytes(dir + L"\\Text\\A1\\B1\\s02.rtf", "{\\rtf1\\ansi\\deff0 {\\fonttbl{\\f0 Arial;}}\\f0 one\\par rtfword here\\par}");
    CreateDirectoryW((dir + L"\\Player").c_str(), nullptr);
    CopyFileTo(StandInExe(), dir + L"\\Player\\Winamp.exe");
    return dir;
}

// The first window of the class among the window's descendants.
struct ClassSearch {
    const wchar_t* cls;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<ClassSearch*>(p);
    if (ClassOf(h) != s->cls) return TRUE;
    s->found = h;
    return FALSE;
}

HWND ChildOfClass(HWND parent, const wchar_t* cls) {
    ClassSearch search{cls, nullptr};
    EnumChildWindows(parent, &MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Text of the tree's selected item, read through memory of the shell's process.
std::wstring TreeSelection(HWND tree) {
    DWORD pid = 0;
    GetWindowThreadProcessId(tree, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return L"<no process>";
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    std::wstring text = L"<none>";
    if (item) {
        constexpr size_t kChars = 256;
        auto* remote = static_cast<char*>(
            VirtualAllocEx(process, nullptr, sizeof(TVITEMW) + kChars * 2, MEM_COMMIT, PAGE_READWRITE));
        TVITEMW tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TVITEMW));
        tv.cchTextMax = kChars;
        WriteProcessMemory(process, remote, &tv, sizeof tv, nullptr);
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
        wchar_t buf[kChars] = {};
        ReadProcessMemory(process, remote + sizeof(TVITEMW), buf, sizeof buf - 2, nullptr);
        text = buf;
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

void RunCommand(HWND main, Cmd id) { PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(id), 0); }

HWND WaitVisible(const ShellProcess& p, const wchar_t* cls, DWORD ms = 5000) { return p.WaitForWindow(cls, ms); }

bool WaitBoxGone(const ShellProcess& p, const std::string& caption) {
    for (int i = 0; i < 100; ++i) {
        if (!MessageBoxOf(p, caption)) return true;
        Pause(50);
    }
    return false;
}

// Presses the first button of the message box with this caption, if one comes.
bool AnswerBox(const ShellProcess& p, const std::string& caption) {
    HWND box = WaitForMessageBox(p, caption);
    if (!box) return false;
    PressFirstButton(box);
    return WaitBoxGone(p, caption);
}

// The platform's print dialog of the shell, answered with OK.
bool ConfirmPrintDialog(const ShellProcess& p) {
    for (int i = 0; i < 200; ++i) {
        for (HWND h : p.TopLevelWindows(true))
            if (ClassOf(h) == L"#32770" && GetDlgItem(h, IDOK)) {
                PostMessageW(GetDlgItem(h, IDOK), BM_CLICK, 0, 0);
                return true;
            }
        Pause(50);
    }
    return false;
}

// The platform's save dialog of the shell, given a file name and confirmed.
bool AnswerSaveDialog(const ShellProcess& p, const std::wstring& file) {
    for (int i = 0; i < 200; ++i) {
        for (HWND h : p.TopLevelWindows(true)) {
            if (ClassOf(h) != L"#32770") continue;
            HWND name = GetDlgItem(h, 0x480);  // edt1
            if (!name) name = GetDlgItem(h, 0x47C);  // cmb13
            if (!name) continue;
            SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
            PostMessageW(GetDlgItem(h, IDOK), BM_CLICK, 0, 0);
            return true;
        }
        Pause(50);
    }
    return false;
}

// Where cups-pdf puts this user's PDFs (scripts/printer-env.sh exports it).
std::wstring PdfFolder() {
    char buf[MAX_PATH] = {};
    if (GetEnvironmentVariableA("QLM_PDF_DIR", buf, MAX_PATH)) return WindowsPath(buf);
    if (GetEnvironmentVariableA("HOME", buf, MAX_PATH)) return WindowsPath(std::string(buf) + "/PDF");
    return L"";
}

std::vector<std::wstring> PdfFiles(const std::wstring& folder) {
    std::vector<std::wstring> out;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*.pdf").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return out;
    do out.push_back(folder + L"\\" + fd.cFileName);
    while (FindNextFileW(h, &fd));
    FindClose(h);
    return out;
}

// The PDF that appears in the folder after `before` was listed, once it stops growing.
std::wstring WaitForNewPdf(const std::wstring& folder, const std::vector<std::wstring>& before, DWORD ms) {
    const DWORD t0 = GetTickCount();
    while (GetTickCount() - t0 < ms) {
        for (const auto& f : PdfFiles(folder)) {
            if (std::find(before.begin(), before.end(), f) != before.end()) continue;
            std::string last = ReadFileBytes(f);
            Pause(1000);
            std::string now = ReadFileBytes(f);
            if (!now.empty() && now == last && now.find("%%EOF") != std::string::npos) return f;
        }
        Pause(300);
    }
    return L"";
}

// pdftotext -layout, run as a Unix program from inside Wine.
std::string PdfText(const std::wstring& pdf) {
    const std::wstring out = pdf + L".txt";
    char unixPdf[MAX_PATH * 2] = {}, unixOut[MAX_PATH * 2] = {};
    using ToUnix = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return {};
    char* a = toUnix(pdf.c_str());
    char* b = toUnix(out.c_str());
    lstrcpynA(unixPdf, a, sizeof unixPdf);
    lstrcpynA(unixOut, b, sizeof unixOut);
    HeapFree(GetProcessHeap(), 0, a);
    HeapFree(GetProcessHeap(), 0, b);
    std::wstring cmd = L"/usr/bin/pdftotext -layout \"" + std::wstring(unixPdf, unixPdf + strlen(unixPdf)) + L"\" \"" +
                       std::wstring(unixOut, unixOut + strlen(unixOut)) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return {};
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    for (int i = 0; i < 50 && ReadFileBytes(out).empty(); ++i) Pause(100);
    return ReadFileBytes(out);
}

bool HavePrinter() {
    DWORD needed = 0, count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    return needed > 0;
}

class FindPrintGui : public ::testing::Test {
protected:
    void SetUp() override {
        CloseStandIn();
        RemoveSettingsFile();
        ResetLanguageChoice();
        disk_ = MakePrintDisk(L"find-print-disk");
        ASSERT_FALSE(disk_.empty());
        ASSERT_TRUE(shell_.Start(ShellExe(), L"\"" + disk_ + L"\""));
        main_ = shell_.WaitForWindow(kMainClass, kStartTimeout);
        ASSERT_TRUE(main_);
        tree_ = ChildOfClass(main_, WC_TREEVIEWW);
        ASSERT_TRUE(tree_);
        UsePlayerLog(L"find-print");
    }
    void TearDown() override {
        if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
        if (!shell_.WaitExit(10000)) shell_.Kill();
        CloseStandIn();
    }
    std::wstring disk_;
    ShellProcess shell_;
    HWND main_ = nullptr;
    HWND tree_ = nullptr;
};

}  // namespace

// The selection of the text window's shown rich-text view (docked or
// floating), as start and end; {-1, -1} when none is shown. The window makes
// a new view per text and keeps earlier ones hidden: only a visible one counts.
BOOL CALLBACK FindShownRichEdit(HWND child, LPARAM found) {
    wchar_t cls[64] = {};
    GetClassNameW(child, cls, 64);
    if (std::wstring(cls).rfind(L"RichEdit", 0) != 0 || !IsWindowVisible(child)) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

std::pair<int, int> TextSelection(const ShellProcess& shell) {
    HWND rich = nullptr;
    for (HWND top : shell.TopLevelWindows(true))
        if (!rich) EnumChildWindows(top, FindShownRichEdit, reinterpret_cast<LPARAM>(&rich));
    if (!rich) return {-1, -1};
    DWORD sel = static_cast<DWORD>(SendMessageW(rich, EM_GETSEL, 0, 0));
    return {LOWORD(sel), HIWORD(sel)};
}

TEST_F(FindPrintGui, FindDialogSearchesTheListAndTheTexts) {
    RunCommand(main_, Cmd::Find);
    HWND find = WaitVisible(shell_, TFindForm::kClassName);
    ASSERT_TRUE(find);
    EXPECT_EQ(Utf8(WindowText(find)), "Поиск");
    EXPECT_TRUE(GetWindowLongW(find, GWL_EXSTYLE) & WS_EX_TOPMOST);
    HWND edit = GetDlgItem(find, TFindForm::kEdit1), next = GetDlgItem(find, TFindForm::kFindBtn);
    EXPECT_EQ(Utf8(WindowText(next)), "Найти далее");
    EXPECT_EQ(Utf8(WindowText(GetDlgItem(find, TFindForm::kFolderCB))), "Искать в названиях папок");
    EXPECT_FALSE(IsWindowEnabled(next));
    // Enter in the empty field does nothing.
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    Pause(600);
    EXPECT_FALSE(MessageBoxOf(shell_, "Поиск"));
    Screenshot(L"find-dialog");

    // List search, lower case for a capitalised name; Enter in the field finds.
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"песня 2.2.30"));
    EXPECT_TRUE(IsWindowEnabled(next));
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    Pause(600);
    EXPECT_EQ(Utf8(TreeSelection(tree_)), "Песня 2.2.30") << Utf8(TreeSelection(tree_));
    // The only match is now the selected node.
    PostMessageW(next, BM_CLICK, 0, 0);
    EXPECT_TRUE(AnswerBox(shell_, "Поиск"));
    EXPECT_EQ(Utf8(TreeSelection(tree_)), "Песня 2.2.30");
    // Nothing anywhere.
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"нет такого"));
    PostMessageW(next, BM_CLICK, 0, 0);
    EXPECT_TRUE(AnswerBox(shell_, "Поиск"));
    // Folders count only with their box checked.
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"альбом 1.2"));
    PostMessageW(next, BM_CLICK, 0, 0);
    EXPECT_TRUE(AnswerBox(shell_, "Поиск"));
    SendMessageW(GetDlgItem(find, TFindForm::kFolderCB), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageW(GetDlgItem(find, TFindForm::kFolderCB), BM_GETCHECK, 0, 0), BST_CHECKED);
    PostMessageW(next, BM_CLICK, 0, 0);
    Pause(600);
    EXPECT_FALSE(MessageBoxOf(shell_, "Поиск"));
    Screenshot(L"find-folder");
    EXPECT_EQ(Utf8(TreeSelection(tree_)), "Альбом 1.2");

    // Text search: the first song's text holds the word twice on its first
    // line. The text window floats, so its mark can be read back.
    RunCommand(main_, Cmd::TextWindowFloat);
    Pause(800);
    PostMessageW(GetDlgItem(find, TFindForm::kTextBtn), BM_CLICK, 0, 0);
    Pause(300);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(find, TFindForm::kFolderCB)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(find, TFindForm::kFindCelCheckBox)));
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"мир"));
    PostMessageW(next, BM_CLICK, 0, 0);
    Pause(600);
    EXPECT_EQ(Utf8(TreeSelection(tree_)), "Песня 1.1.1") << Utf8(TreeSelection(tree_));
    EXPECT_EQ(TextSelection(shell_), std::make_pair(0, 3));  // the match marked in the text window
    PostMessageW(next, BM_CLICK, 0, 0);
    Pause(600);
    EXPECT_FALSE(MessageBoxOf(shell_, "Поиск"));  // the second one, further along the line
    EXPECT_EQ(TextSelection(shell_), std::make_pair(6, 9));
    PostMessageW(next, BM_CLICK, 0, 0);           // comes back to the first: only these two
    Pause(600);
    EXPECT_EQ(Utf8(TreeSelection(tree_)), "Песня 1.1.1");
    // The .rtf text of the second song, read through the rich-text view.
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"RTFWORD"));
    PostMessageW(next, BM_CLICK, 0, 0);
    Pause(600);
    EXPECT_EQ(Utf8(TreeSelection(tree_)), "Песня 1.1.2") << Utf8(TreeSelection(tree_));
    EXPECT_EQ(TextSelection(shell_), std::make_pair(4, 11));  // after one line break
    Screenshot(L"find-text-match");

    // Escape closes (hides) it; the menu shows it again with the same controls.
    PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    Pause(400);
    EXPECT_FALSE(IsWindowVisible(find));
    RunCommand(main_, Cmd::Find);
    EXPECT_EQ(WaitVisible(shell_, TFindForm::kClassName), find);
    PostMessageW(GetDlgItem(find, TFindForm::kCancelBtn), BM_CLICK, 0, 0);
    Pause(400);
    EXPECT_FALSE(IsWindowVisible(find));
    EXPECT_EQ(WindowText(edit), L"");
}

TEST_F(FindPrintGui, PrintDialogRulesAndSettings) {
    RunCommand(main_, Cmd::PrintContent);
    HWND dlg = WaitVisible(shell_, TPrintListForm::kClassName);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(Utf8(WindowText(dlg)), "Печатать содержание");
    auto item = [&](int id) { return GetDlgItem(dlg, id); };
    EXPECT_EQ(Utf8(WindowText(item(TPrintListForm::kHeader1Btn))), "Заголовок 1");
    EXPECT_FALSE(IsWindowVisible(item(TPrintListForm::kColCountSpinEdit)));
    EXPECT_TRUE(IsWindowEnabled(item(TPrintListForm::kArtistCheckBox)));
    EXPECT_TRUE(IsWindowEnabled(item(TPrintListForm::kPrintToFileBtn)));
    Screenshot(L"print-dialog");
    // "Выбранные" with nothing checked: neither output; one checked folder: both.
    PostMessageW(item(TPrintListForm::kSelectRadio), BM_CLICK, 0, 0);
    Pause(400);
    EXPECT_FALSE(IsWindowEnabled(item(TPrintListForm::kPrintToFileBtn)));
    EXPECT_FALSE(IsWindowEnabled(item(TPrintListForm::kPrintBtn)));
    HWND folders = item(TPrintListForm::kFolderTree);
    auto root = reinterpret_cast<LPARAM>(SendMessageW(folders, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    SendMessageW(folders, TVM_SELECTITEM, TVGN_CARET, root);
    PostMessageW(folders, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(folders, WM_KEYUP, VK_SPACE, 0);
    Pause(600);
    EXPECT_TRUE(IsWindowEnabled(item(TPrintListForm::kPrintToFileBtn)));
    // "Точно" shows the column count; the settings are written at closing.
    HWND combo = item(TPrintListForm::kColsCountComboBox);
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(TPrintListForm::kColsCountComboBox, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    EXPECT_TRUE(IsWindowVisible(item(TPrintListForm::kColCountSpinEdit)));
    SendMessageW(item(TPrintListForm::kLeftOffset), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"77"));
    Screenshot(L"print-dialog-exact");
    PostMessageW(item(TPrintListForm::kAllRadio), WM_KEYDOWN, VK_ESCAPE, 0);
    DWORD t0 = GetTickCount();
    while (IsWindow(dlg) && GetTickCount() - t0 < 8000) Pause(50);
    EXPECT_FALSE(IsWindow(dlg)) << GetTickCount() - t0;
    EXPECT_EQ(IniValue(L"Printer settings", L"Cols"), L"1");
    EXPECT_EQ(IniValue(L"Printer settings", L"Left"), L"77");
    EXPECT_EQ(IniValue(L"Printer settings", L"ColsCount"), L"2");
}

TEST_F(FindPrintGui, PrintsTheListForRealAndReportsColumnsThatDoNotFit) {
    if (!HavePrinter()) GTEST_SKIP() << "no printer (scripts/printer-env.sh sets up the CUPS PDF printer)";
    const std::wstring pdfs = PdfFolder();
    CreateDirectoryW(pdfs.c_str(), nullptr);
    auto open = [&] {
        RunCommand(main_, Cmd::PrintContent);
        return WaitVisible(shell_, TPrintListForm::kClassName);
    };
    HWND dlg = open();
    ASSERT_TRUE(dlg);
    auto item = [&](HWND d, int id) { return GetDlgItem(d, id); };
    ASSERT_TRUE(IsWindowEnabled(item(dlg, TPrintListForm::kPrintBtn)));
    SendMessageW(item(dlg, TPrintListForm::kArtistCheckBox), BM_SETCHECK, BST_CHECKED, 0);

    // One column: the songs in order under their headers, over two pages.
    auto before = PdfFiles(pdfs);
    PostMessageW(item(dlg, TPrintListForm::kPrintBtn), BM_CLICK, 0, 0);
    ASSERT_TRUE(ConfirmPrintDialog(shell_));
    std::wstring pdf = WaitForNewPdf(pdfs, before, 90000);
    ASSERT_FALSE(pdf.empty()) << "no PDF in " << Utf8(pdfs);
    std::string text = PdfText(pdf);
    ASSERT_FALSE(text.empty());
    const size_t a1 = text.find("Артист 1"), b11 = text.find("Альбом 1.1"), s1 = text.find("Песня 1.1.1 / Группа 1"),
                 s2 = text.find("Песня 1.1.2"), b12 = text.find("Альбом 1.2"), a2 = text.find("Артист 2"),
                 last = text.find("Песня 2.2.30");
    EXPECT_LT(a1, b11);
    EXPECT_LT(b11, s1);
    EXPECT_LT(s1, s2);
    EXPECT_LT(s2, b12);
    EXPECT_LT(b12, a2);
    EXPECT_LT(a2, last);
    EXPECT_NE(last, std::string::npos);
    EXPECT_GE(Count(text, "\f"), 2u) << "expected a page break";
    EXPECT_NE(text.find("1. Песня 1.1.1"), std::string::npos) << text.substr(0, 400);

    // "Точно" with two columns: one page, two songs on a printed line.
    HWND combo = item(dlg, TPrintListForm::kColsCountComboBox);
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(TPrintListForm::kColsCountComboBox, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    before = PdfFiles(pdfs);
    PostMessageW(item(dlg, TPrintListForm::kPrintBtn), BM_CLICK, 0, 0);
    ASSERT_TRUE(ConfirmPrintDialog(shell_));
    pdf = WaitForNewPdf(pdfs, before, 90000);
    ASSERT_FALSE(pdf.empty());
    text = PdfText(pdf);
    EXPECT_EQ(Count(text, "\f"), 1u);
    size_t twoOnALine = 0;
    for (size_t at = 0, end; at < text.size(); at = end + 1) {
        end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        if (Count(text.substr(at, end - at), "Песня ") == 2) ++twoOnALine;
    }
    EXPECT_GT(twoOnALine, 20u);

    // Nine columns of these lines cannot fit: the error, and nothing printed.
    SetWindowTextW(item(dlg, TPrintListForm::kColCountSpinEdit), L"9");
    before = PdfFiles(pdfs);
    PostMessageW(item(dlg, TPrintListForm::kPrintBtn), BM_CLICK, 0, 0);
    ASSERT_TRUE(ConfirmPrintDialog(shell_));
    EXPECT_TRUE(AnswerBox(shell_, "Ошибка печати"));
    Pause(3000);
    EXPECT_EQ(PdfFiles(pdfs).size(), before.size());
    PostMessageW(dlg, WM_CLOSE, 0, 0);
}

TEST_F(FindPrintGui, SavesTheListAsATextFile) {
    RunCommand(main_, Cmd::PrintContent);
    HWND dlg = WaitVisible(shell_, TPrintListForm::kClassName);
    ASSERT_TRUE(dlg);
    // Outline numbers, only the second artist's folders.
    SendMessageW(GetDlgItem(dlg, TPrintListForm::kOutlineRadio), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(dlg, TPrintListForm::kSelectRadio), BM_CLICK, 0, 0);
    HWND folders = GetDlgItem(dlg, TPrintListForm::kFolderTree);
    auto first = SendMessageW(folders, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    auto second = SendMessageW(folders, TVM_GETNEXTITEM, TVGN_NEXT, first);
    SendMessageW(folders, TVM_SELECTITEM, TVGN_CARET, second);
    PostMessageW(folders, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(folders, WM_KEYUP, VK_SPACE, 0);
    Pause(600);
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(dlg, TPrintListForm::kPrintToFileBtn)));
    const std::wstring out = FreshFolder(L"find-print-save") + L"\\list";
    PostMessageW(GetDlgItem(dlg, TPrintListForm::kPrintToFileBtn), BM_CLICK, 0, 0);
    ASSERT_TRUE(AnswerSaveDialog(shell_, out));
    std::string text;
    for (int i = 0; i < 100 && text.empty(); ++i) {
        Pause(100);
        text = ReadFileBytes(out + L".txt");  // the default extension
    }
    std::string want = "\xEF\xBB\xBF" "2. Артист 2\r\n   1. Альбом 2.1\r\n";
    for (int s = 0; s < kSongsPerAlbum; ++s)
        want += "      " + std::string(s < 9 ? " " : "") + std::to_string(s + 1) + ". " + SongName(1, 0, s) + "\r\n";
    want += "\r\n   2. Альбом 2.2\r\n";
    EXPECT_EQ(text.substr(0, want.size()), want);
    EXPECT_EQ(Count(text, "\r\n"), 2u + 2 * kSongsPerAlbum + 2);
    PostMessageW(dlg, WM_CLOSE, 0, 0);
}

TEST_F(FindPrintGui, InBookModeAMatchIsSelectedInTheSongList) {
    RunCommand(main_, Cmd::BookModeVertical);
    Pause(600);
    HWND list = ChildOfClass(main_, WC_LISTVIEWW);
    ASSERT_TRUE(list);
    RunCommand(main_, Cmd::Find);
    HWND find = WaitVisible(shell_, TFindForm::kClassName);
    ASSERT_TRUE(find);
    SendMessageW(GetDlgItem(find, TFindForm::kEdit1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"песня 2.2.17"));
    PostMessageW(GetDlgItem(find, TFindForm::kFindBtn), BM_CLICK, 0, 0);
    Pause(1000);
    // The tree shows the song's album; the list holds its songs with the 17th selected.
    EXPECT_EQ(Utf8(TreeSelection(tree_)), "Альбом 2.2");
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 16);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), kSongsPerAlbum);
    Screenshot(L"find-book-mode");
}
