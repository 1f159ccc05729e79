// The text window as a user meets it, under Wine: texts of selected songs,
// the no-text notice, the title picture, docked and floating, closing by the
// close box, the placement kept over a restart, and printing the text to the
// PDF printer that the test command sets up.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "app/gui_disks.h"
#include "base/text_codec.h"
#include "content/description_stream.h"

using namespace qlm::test;

namespace {

std::string Z(const std::string& a, const std::string& b) { return a + std::string(1, '\0') + b; }

const char* kLongTitle = "Очень длинное название песни, шире любой черты";
constexpr int kLyricsLines = 2000;  // long enough to go into the view in two steps

// Songs at the disk root and in one folder, with texts beside them in Text\.
std::wstring MakeTextDisk(const std::wstring& name) {
    std::wstring disk = MakeDisk(name);
    qlm::DescriptionWriter w;
    w.WriteShortRecord("CDQLM=TEXT-DISK-1");
    w.WriteShortRecord("CDRUS=" + Cp1251("Диск с текстами"));
    w.WriteShortRecord("PVT=1");
    w.WriteShortRecord("T=title.jpg");
    w.WriteShortRecord("EndOfCFG");
    w.WriteShortRecord(Z("FN=top.mp3", "N=" + Cp1251("Корневая")));
    w.WriteShortRecord(Z("F=Rock", "N=" + Cp1251("Рок")));
    w.WriteShortRecord(Z("FN=one.mp3", "N=" + Cp1251("Первая")));
    w.WriteShortRecord(Z("FN=two.mp3", "N=" + Cp1251("Вторая")));
    w.WriteShortRecord(Z("FN=three.mp3", "N=" + Cp1251("Третья")));
    w.WriteShortRecord(Z("FN=long.mp3", "N=" + Cp1251(kLongTitle)));
    w.WriteShortRecord(Z("FN=lyrics.mp3", "N=" + Cp1251("Длинный текст")));
    WriteFileBytes(disk + L"\\qlm.cfg", w.Take());
    std::string song = ReadFileBytes(disk + L"\\Sound\\Rock\\one.mp3");
    for (const wchar_t* f : {L"\\Sound\\top.mp3", L"\\Sound\\Rock\\three.mp3", L"\\Sound\\Rock\\long.mp3",
                             L"\\Sound\\Rock\\lyrics.mp3"})
        WriteFileBytes(disk + f, song);
    CreateDirectoryW((disk + L"\\Text").c_str(), nullptr);
    CreateDirectoryW((disk + L"\\Text\\Rock").c_str(), nullptr);
    WriteFileBytes(disk + L"\\Text\\top.txt", Cp1251("Текст из корня"));
    WriteFileBytes(disk + L"\\Text\\Rock\\one.txt", Cp1251("Привет песня\r\nвторая строка"));
    WriteFileBytes(disk + L"\\Text\\Rock\\one.rtf", "{\\rtf1\\ansi rtf loses}");
    WriteFileBytes(disk + L"\\Text\\Rock\\two.txt", "txt loses");
    WriteFileBytes(disk + L"\\Text\\Rock\\two.rtf", "{\\rtf1\\ansi rtf loses}");
    WriteFileBytes(disk + L"\\Text\\Rock\\two.htm", "<html><body>html wins</body></html>");
    std::string lyrics;
    for (int i = 1; i <= kLyricsLines; ++i) lyrics += Cp1251("Строка " + std::to_string(i)) + "\r\n";
    WriteFileBytes(disk + L"\\Text\\Rock\\lyrics.txt", lyrics);
    CopyFileTo(BinaryDir() + L"\\tests\\pages\\title.jpg", disk + L"\\title.jpg");
    return disk;
}

struct Search {
    const wchar_t* cls;
    HWND found;
    bool anyVisible;
};

BOOL CALLBACK MatchChild(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    if (ClassOf(h) != s->cls) return TRUE;
    if (!s->found) s->found = h;
    if (IsWindowVisible(h)) s->anyVisible = true;
    return TRUE;
}

HWND FindChild(HWND parent, const wchar_t* cls) {
    Search s{cls, nullptr, false};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

bool AnyChildShown(HWND parent, const wchar_t* cls) {
    Search s{cls, nullptr, false};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&s));
    return s.anyVisible;
}

// The text window, docked (a child of the main window) or floating.
HWND TextWindow(const ShellProcess& shell, HWND main) {
    if (HWND docked = FindChild(main, L"TForm4")) return docked;
    for (HWND h : shell.TopLevelWindows(false))
        if (ClassOf(h) == L"TForm4") return h;
    return nullptr;
}

// A control of another process answers WM_GETTEXT itself (GetWindowText
// would read only the caption the system keeps).
std::wstring ControlText(HWND h) {
    DWORD_PTR length = 0;
    if (!h || !SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000, &got);
    text.resize(got);
    return text;
}

std::vector<std::string> Lines(const std::wstring& text) {
    std::vector<std::string> out;
    std::string all = Utf8(text), line;
    for (char c : all) {
        if (c == '\r' || c == '\n') {
            if (c == '\r' || line.size() || out.empty() || true) {
                out.push_back(line);
                line.clear();
            }
        } else {
            line += c;
        }
    }
    if (!line.empty()) out.push_back(line);
    // "\r\n" leaves an empty line between; drop those.
    std::vector<std::string> kept;
    for (auto& l : out)
        if (!l.empty()) kept.push_back(l);
    return kept;
}

// Polls until `done` holds or about three seconds have passed.
template <class F>
bool WaitUntil(F&& done) {
    for (int i = 0; i < 60; ++i) {
        if (done()) return true;
        Pause(50);
    }
    return done();
}

class TextWindowGui : public ::testing::Test {
protected:
    void SetUp() override {
        if (!StandInBuilt()) GTEST_SKIP() << "the stand-in player is not built";
        CloseStandIn();
        RemoveSettingsFile();
        ResetLanguageChoice();
    }
    void TearDown() override {
        if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
        if (shell_.Running() && !shell_.WaitExit(15000)) shell_.Kill();
        CloseStandIn();
    }
    void Start(const std::wstring& disk) {
        ASSERT_TRUE(shell_.Start(ShellExe(), L"\"" + disk + L"\""));
        main_ = shell_.WaitForWindow(kMainClass, kStartTimeout);
        ASSERT_NE(main_, nullptr);
        tree_ = FindChild(main_, L"SysTreeView32");
        ASSERT_NE(tree_, nullptr);
        Pause(800);
    }
    void Command(qlm::Cmd id) {
        PostMessageW(main_, WM_COMMAND, static_cast<WPARAM>(id), 0);
        Pause(400);
    }
    // Root item `root`, then its `child`-th child when child >= 0.
    void Select(int root, int child = -1) {
        auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        for (int i = 0; i < root && item; ++i)
            item = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)item));
        if (child >= 0 && item) {
            item = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)item));
            for (int i = 0; i < child && item; ++i)
                item = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)item));
        }
        ASSERT_NE(item, nullptr);
        SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        Pause(300);
    }
    HWND Text() { return TextWindow(shell_, main_); }
    HWND Rich() { return FindChild(Text(), L"RichEdit20W"); }
    std::vector<std::string> RichLines() { return Lines(ControlText(Rich())); }
    bool RichShown() { return IsWindowVisible(GetParent(Rich())) != FALSE; }
    HWND HtmlPane() { return FindChild(Text(), L"QlmPreviewHTML"); }

    ShellProcess shell_;
    HWND main_ = nullptr;
    HWND tree_ = nullptr;
};

}  // namespace

TEST_F(TextWindowGui, DockedWindowShowsTextsByTheirLookupOrder) {
    std::wstring disk = MakeTextDisk(L"text-lookup");
    UsePlayerLog(L"text-lookup");
    Start(disk);
    HWND text = Text();
    ASSERT_NE(text, nullptr);
    EXPECT_FALSE(IsWindowVisible(text)) << "the text window starts hidden";

    Command(qlm::Cmd::TextWindowDock);
    EXPECT_TRUE(WaitUntil([&] { return Text() && GetParent(Text()) == main_ && IsWindowVisible(Text()); }));
    text = Text();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(IsWindowVisible(text));
    RECT rc{};
    GetWindowRect(text, &rc);
    EXPECT_EQ(rc.right - rc.left, 125);

    // A song at the disk root reads Text\top.txt.
    Select(0);
    EXPECT_EQ(RichLines(), std::vector<std::string>{"Текст из корня"});
    // ".txt" wins over ".rtf", decoded in the disk's character set.
    Select(1, 0);
    EXPECT_EQ(RichLines(), (std::vector<std::string>{"Привет песня", "вторая строка"}));
    EXPECT_TRUE(RichShown());
    Screenshot(L"text-docked-text");
    // ".htm" wins over both: the HTML view is shown, the rich view hidden.
    Select(1, 1);
    ASSERT_NE(HtmlPane(), nullptr);
    EXPECT_TRUE(IsWindowVisible(HtmlPane()));
    // The view names the page it shows once it has loaded.
    EXPECT_TRUE(WaitUntil([&] { return WindowText(HtmlPane()).find(L"two.htm") != std::wstring::npos; }))
        << Utf8(WindowText(HtmlPane()));
    EXPECT_FALSE(RichShown());

    // No text: title, rule, notice.
    Select(1, 2);
    EXPECT_TRUE(RichShown());
    auto lines = RichLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("Третья"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[2], "Нет текста");
    Screenshot(L"text-docked-notice");

    // A title wider than a short rule gets a rule at least as wide, and not wider by a whole "-".
    Select(1, 3);
    lines = RichLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].find_first_not_of('-'), std::string::npos);
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontW(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN, L"Times New Roman");
    HGDIOBJ old = SelectObject(dc, font);
    auto width = [&](const std::string& utf8) {
        std::u16string u = qlm::Utf8ToUtf16(utf8);
        std::wstring w(u.begin(), u.end());
        SIZE s{};
        GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &s);
        return s.cx;
    };
    EXPECT_GE(width(lines[1]), width(lines[0]));
    EXPECT_LT(width(lines[1].substr(1)), width(lines[0]));
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);

    // A long text arrives whole, the view at its start with the caret there.
    Select(1, 4);
    EXPECT_TRUE(WaitUntil([&] { return RichLines().size() == size_t(kLyricsLines); })) << RichLines().size();
    lines = RichLines();
    ASSERT_EQ(lines.size(), size_t(kLyricsLines));
    EXPECT_EQ(lines.front(), "Строка 1");
    EXPECT_EQ(lines[1234], "Строка 1235");
    EXPECT_EQ(lines.back(), "Строка " + std::to_string(kLyricsLines));
    EXPECT_EQ(SendMessageW(Rich(), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_EQ(SendMessageW(Rich(), EM_GETSEL, 0, 0), 0);
    EXPECT_GE(SendMessageW(Rich(), EM_GETLINECOUNT, 0, 0), kLyricsLines) << "every line laid out";
    Screenshot(L"text-docked-long");

    // A folder shows the title picture.
    Select(1);
    HWND picture = FindChild(Text(), L"TQlmPictureBox");
    bool anyPictureShown = AnyChildShown(Text(), L"TQlmPictureBox");
    EXPECT_NE(picture, nullptr);
    EXPECT_TRUE(anyPictureShown);
    EXPECT_FALSE(RichShown());
    Screenshot(L"text-docked-picture");
}

TEST_F(TextWindowGui, FloatingWindowClosesToHiddenAndTheProgramRunsOn) {
    std::wstring disk = MakeTextDisk(L"text-float");
    UsePlayerLog(L"text-float");
    Start(disk);
    Command(qlm::Cmd::TextWindowFloat);
    EXPECT_TRUE(WaitUntil([&] { return Text() && GetParent(Text()) != main_ && IsWindowVisible(Text()); }));
    HWND text = Text();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(IsWindowVisible(text));
    Select(1, 0);
    EXPECT_EQ(RichLines().front(), "Привет песня");
    RECT before{};
    GetWindowRect(text, &before);
    Screenshot(L"text-floating");

    // The checked item again changes nothing.
    Command(qlm::Cmd::TextWindowFloat);
    RECT after{};
    GetWindowRect(Text(), &after);
    EXPECT_EQ(Text(), text);
    EXPECT_TRUE(IsWindowVisible(text));
    EXPECT_TRUE(EqualRect(&before, &after));

    // The close box hides the window; the program keeps running.
    PostMessageW(text, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pause(500);
    EXPECT_TRUE(IsWindow(text));
    EXPECT_FALSE(IsWindowVisible(text));
    EXPECT_TRUE(shell_.Running());
    EXPECT_TRUE(IsWindowVisible(main_));
    // Mode "none" is now checked: choosing it again does nothing, F12 shows the window floating again.
    Command(qlm::Cmd::TextWindowNone);
    EXPECT_FALSE(IsWindowVisible(text));
    Command(qlm::Cmd::TextWindowToggle);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Text()); }));
    EXPECT_NE(GetParent(Text()), main_);
}

TEST_F(TextWindowGui, DockedWidthAndFloatingBoundsSurviveARestart) {
    std::wstring disk = MakeTextDisk(L"text-placement");
    UsePlayerLog(L"text-placement");
    WritePrivateProfileStringW(L"Settings", L"IDock", L"0", L"qlm.ini");
    WritePrivateProfileStringW(L"Settings", L"IDockWidth", L"170", L"qlm.ini");
    WritePrivateProfileStringW(L"Settings", L"ILeft", L"600", L"qlm.ini");
    WritePrivateProfileStringW(L"Settings", L"ITop", L"120", L"qlm.ini");
    WritePrivateProfileStringW(L"Settings", L"IWidth", L"300", L"qlm.ini");
    WritePrivateProfileStringW(L"Settings", L"IHeight", L"250", L"qlm.ini");
    Start(disk);
    // Not docked: the text button shows it floating at its bounds.
    Command(qlm::Cmd::TextWindowToggle);
    HWND text = Text();
    ASSERT_NE(text, nullptr);
    EXPECT_NE(GetParent(text), main_);
    RECT rc{};
    GetWindowRect(text, &rc);
    EXPECT_EQ(rc.left, 600);
    EXPECT_EQ(rc.top, 120);
    EXPECT_EQ(rc.right - rc.left, 300);
    EXPECT_EQ(rc.bottom - rc.top, 250);
    // Moved and sized by the user, then docked at the stored width.
    SetWindowPos(text, nullptr, 640, 150, 320, 260, SWP_NOZORDER | SWP_NOACTIVATE);
    Pause(300);
    Command(qlm::Cmd::TextWindowDock);
    // The window changes parent before the panel takes the width: wait for both.
    auto width = [&] {
        RECT r{};
        GetWindowRect(Text(), &r);
        return r.right - r.left;
    };
    EXPECT_TRUE(WaitUntil([&] { return GetParent(Text()) == main_ && width() == 170; }));
    text = Text();
    EXPECT_EQ(width(), 170);
    Screenshot(L"text-docked-wide");
    PostMessageW(main_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(shell_.WaitExit(15000));
    main_ = nullptr;
    EXPECT_EQ(IniValue(L"Settings", L"IDock"), L"1");
    EXPECT_EQ(IniValue(L"Settings", L"IDockWidth"), L"170");
    EXPECT_EQ(IniValue(L"Settings", L"ILeft"), L"640");
    EXPECT_EQ(IniValue(L"Settings", L"ITop"), L"150");
    EXPECT_EQ(IniValue(L"Settings", L"IWidth"), L"320");
    EXPECT_EQ(IniValue(L"Settings", L"IHeight"), L"260");

    // The next start floats it where it was left.
    CloseStandIn();
    ShellProcess again;
    ASSERT_TRUE(again.Start(ShellExe(), L"\"" + disk + L"\""));
    HWND main = again.WaitForWindow(kMainClass, kStartTimeout);
    ASSERT_NE(main, nullptr);
    Pause(800);
    PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(qlm::Cmd::TextWindowFloat), 0);
    Pause(500);
    HWND floating = TextWindow(again, main);
    ASSERT_NE(floating, nullptr);
    GetWindowRect(floating, &rc);
    EXPECT_EQ(rc.left, 640);
    EXPECT_EQ(rc.top, 150);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(again.WaitExit(15000));
}

TEST_F(TextWindowGui, PrintedPdfHoldsTheText) {
    const char* pdfDir = std::getenv("QLM_PDF_DIR");
    if (!pdfDir || !*pdfDir) GTEST_SKIP() << "no PDF printer (scripts/printer-env.sh sets one up)";
    std::wstring pdfFolder = WindowsPath(pdfDir);
    std::wstring disk = MakeTextDisk(L"text-print");
    UsePlayerLog(L"text-print");
    Start(disk);
    Command(qlm::Cmd::TextWindowDock);
    Select(1, 0);
    ASSERT_EQ(RichLines().front(), "Привет песня");

    // Everything printed so far goes, so the new PDF is the only one.
    ClearPdfs(pdfFolder);

    PostMessageW(Text(), WM_COMMAND, 1 /* &Print */, 0);
    HWND dialog = shell_.WaitForWindow(L"#32770", 10000);
    ASSERT_NE(dialog, nullptr) << "no print dialog";
    Screenshot(L"text-print-dialog");
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);

    const std::wstring pdf = WaitForPdf(pdfFolder);
    ASSERT_FALSE(pdf.empty()) << "no PDF in " << pdfDir;

    // pdftotext is a Unix program; Wine starts it as one.
    std::string unixPdf = std::string(pdfDir) + "/" + Utf8(pdf);
    std::string unixTxt = std::string(pdfDir) + "/printed.txt";
    std::wstring txt = pdfFolder + L"\\printed.txt";
    DeleteFileW(txt.c_str());
    std::wstring cmd = L"/usr/bin/pdftotext -enc UTF-8 \"" + std::wstring(unixPdf.begin(), unixPdf.end()) + L"\" \"" +
                       std::wstring(unixTxt.begin(), unixTxt.end()) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring exe = L"Z:\\usr\\bin\\pdftotext";
    ASSERT_TRUE(CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << GetLastError();
    WaitForSingleObject(pi.hProcess, 20000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::string printed;
    for (int i = 0; i < 50 && printed.empty(); ++i) {
        printed = ReadFileBytes(txt);
        if (printed.empty()) Pause(100);
    }
    EXPECT_NE(printed.find("Привет песня"), std::string::npos) << printed;
    EXPECT_NE(printed.find("вторая строка"), std::string::npos) << printed;
}
