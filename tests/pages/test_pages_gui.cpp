// The information, announcement and help pages and the slide show, driven
// from outside as a user would: page buttons clicked, links in the pages
// clicked, the stand-in player's log read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/gui_disks.h"

using namespace qlm::test;

namespace {

constexpr int kInfoSlot = 2;   // list, slides, information, announcements, help
constexpr int kHelpSlot = 4;
constexpr int kLinkLine = 56;  // one line of <font size=7> text
constexpr int kInfoButtonWidth = 84;

POINT PageButton(int slot) { return {40, 40 + 57 * slot + 28}; }

void Click(HWND window, POINT p) {
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    Pause(600);
}

// Three big links, one per line, at the page's top-left.
std::string LinkPage(const std::vector<std::string>& addresses) {
    std::string page = "<html><body style=\"margin:0\"><font size=7>";
    for (const std::string& a : addresses) page += "<a href=\"" + a + "\">PLAYPLAY</a><br>";
    return page + "</font></body></html>";
}

std::vector<HWND> VisibleViews(HWND main) {
    std::vector<HWND> views;
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == L"QlmPreviewHTML" && IsWindowVisible(child)) views.push_back(child);
    return views;
}

// A solid-colour 24-bit BMP.
std::string SolidBmp(int width, int height, COLORREF colour) {
    const int row = (width * 3 + 3) & ~3;
    std::string bmp(54 + static_cast<size_t>(row) * height, '\0');
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>(v >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, static_cast<uint32_t>(bmp.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    bmp[26] = 1;
    bmp[28] = 24;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            size_t at = 54 + static_cast<size_t>(y) * row + static_cast<size_t>(x) * 3;
            bmp[at] = static_cast<char>(GetBValue(colour));
            bmp[at + 1] = static_cast<char>(GetGValue(colour));
            bmp[at + 2] = static_cast<char>(GetRValue(colour));
        }
    return bmp;
}

std::string ColouredPage(const char* bgcolor) {
    return std::string("<html><body bgcolor=\"") + bgcolor + "\">&nbsp;</body></html>";
}

// A point of the desktop as drawn now (the window's client coordinates).
COLORREF PixelAt(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

HWND ChildOfClass(HWND parent, const wchar_t* name) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == name) return child;
    return nullptr;
}

void Key(HWND window, UINT vk) {
    PostMessageW(window, WM_KEYDOWN, vk, 1);
    PostMessageW(window, WM_KEYUP, vk, 0xC0000001);
    Pause(300);
}

class PagesGui : public ::testing::Test {
protected:
    void TearDown() override {
        if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
        if (shell_.Running() && !shell_.WaitExit(15000)) shell_.Kill();
        CloseStandIn();
    }
    bool Start(const std::wstring& name, const std::string& info, const std::string& help) {
        return Start(name, {.allPages = true}, info, help);
    }
    bool Start(const std::wstring& name, const TestDisk& disk, const std::string& info, const std::string& help) {
        disk_ = MakeDisk(name, disk);
        WriteFileBytes(disk_ + L"\\info.htm", info);
        WriteFileBytes(disk_ + L"\\anons.htm", "<html><body>News</body></html>");
        CreateDirectoryW((disk_ + L"\\Picture").c_str(), nullptr);
        if (before_) before_();
        // The help page is read from the support folder beside the program.
        WriteFileBytes(BinaryDir() + L"\\src\\app\\About\\help.htm", help);
        log_ = UsePlayerLog(name);
        if (!shell_.Start(ShellExe(), L"\"" + disk_ + L"\"")) return false;
        main_ = shell_.WaitForWindow(kMainClass, kStartTimeout);
        if (!main_) return false;
        Pause(1500);
        return true;
    }
    // A disk of one slide (`file` written by the test as a BMP of `picture`)
    // with its slides page open: the page's picture view, or null.
    HWND OpenSlide(const std::wstring& name, const std::string& file, const std::string& caption,
                   const std::string& picture);
    HWND PopupMenu() const {
        for (HWND h : shell_.TopLevelWindows(true))
            if (ClassOf(h) == L"#32768") return h;
        return nullptr;
    }
    // The view of the page just shown, once it is up.
    HWND ShownView() {
        for (int i = 0; i < 40; ++i) {
            auto views = VisibleViews(main_);
            if (views.size() == 1) return views.front();
            Pause(100);
        }
        return nullptr;
    }
    std::string Log() const { return ReadFileBytes(log_); }

    std::function<void()> before_;  // more files on the disk before the shell starts
    ShellProcess shell_;
    HWND main_ = nullptr;
    std::wstring disk_, log_;
};

TEST_F(PagesGui, MusicLinksPlayFromTheInformationPageOnly) {
    if (!StandInBuilt()) GTEST_SKIP() << "the stand-in player is not built";
    // The disk's top level: Rock (one, two), Pop (three).
    const std::string links = LinkPage({"*MUSIC 2 1", "*MUSIC 4", "*MUSIC 0"});
    ASSERT_TRUE(Start(L"pages-music", links, links));

    // One information page: its button shows it without a menu.
    Click(main_, PageButton(kInfoSlot));
    HWND info = ShownView();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(PopupMenu(), nullptr);
    Pause(800);
    Screenshot(L"pages-info");
    size_t before = Count(Log(), "WM_COPYDATA");
    // "2 1": the first child of the second top-level node.
    Click(info, {20, kLinkLine / 2});
    Pause(800);
    std::string log = Log();
    EXPECT_EQ(Count(log, "WM_COPYDATA"), before + 1) << log;
    EXPECT_NE(log.rfind("three.mp3"), std::string::npos) << log;
    // "4", past the two top-level nodes, and "0": nothing plays.
    before = Count(log, "WM_COPYDATA");
    Click(info, {20, kLinkLine + kLinkLine / 2});
    Click(info, {20, 2 * kLinkLine + kLinkLine / 2});
    Pause(500);
    EXPECT_EQ(Count(Log(), "WM_COPYDATA"), before) << Log();
    // The link was never followed: the page still shows.
    EXPECT_EQ(VisibleViews(main_).size(), 1u);

    // The same link in the help page only cancels.
    Click(main_, PageButton(kHelpSlot));
    HWND help = ShownView();
    ASSERT_NE(help, nullptr);
    EXPECT_NE(help, info);
    Pause(800);
    before = Count(Log(), "WM_COPYDATA");
    Click(help, {20, kLinkLine / 2});
    Pause(500);
    EXPECT_EQ(Count(Log(), "WM_COPYDATA"), before) << Log();
}

}  // namespace

namespace {

constexpr int kSlidesSlot = 1;
constexpr int kAnonsSlot = 3;
constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

COLORREF CentreOf(HWND view) {
    RECT rc{};
    GetClientRect(view, &rc);
    return PixelAt(view, rc.right / 2, rc.bottom / 2);
}

// The menu and dialogs of the shell take the input only once it is in front again.
void BackToFront(HWND main) {
    Pause(1500);
    SetForegroundWindow(main);
    Pause(1500);
}

}  // namespace

TEST_F(PagesGui, TwoInformationPagesOpenAMenuAndCaptionsSayWhichPage) {
    TestDisk disk{.allPages = true};
    disk.anonsCaptionUtf8 = "аНоНС";  // the announcement in any letter case
    disk.morePages = {{"Анонс недели", "week.htm"}};  // more text: an information page
    before_ = [this] {
        WriteFileBytes(disk_ + L"\\anons.htm", ColouredPage("#00FF00"));
        WriteFileBytes(disk_ + L"\\week.htm", ColouredPage("#0000FF"));
    };
    ASSERT_TRUE(Start(L"pages-menu", disk, ColouredPage("#FF0000"), "<html></html>"));

    Click(main_, PageButton(kInfoSlot));
    HWND menu = nullptr;
    for (int i = 0; i < 30 && !menu; ++i) {
        menu = PopupMenu();
        if (!menu) Pause(100);
    }
    ASSERT_NE(menu, nullptr) << "two information pages: a menu of them";
    Screenshot(L"pages-inform-menu");
    // At the information button's right edge, a little above its middle.
    POINT expected{kInfoButtonWidth - 1, 40 + 57 * kInfoSlot + 57 / 2 - 2};
    ClientToScreen(main_, &expected);
    RECT at{};
    GetWindowRect(menu, &at);
    EXPECT_EQ(at.left, expected.x);
    EXPECT_EQ(at.top, expected.y);
    // Nothing is shown until a page is chosen; the second item is "Анонс недели".
    EXPECT_TRUE(VisibleViews(main_).empty());
    Key(main_, VK_DOWN);
    Key(main_, VK_DOWN);
    Key(main_, VK_RETURN);
    BackToFront(main_);
    HWND week = ShownView();
    ASSERT_NE(week, nullptr);
    EXPECT_EQ(CentreOf(week), kBlue);

    Click(main_, PageButton(kAnonsSlot));
    HWND anons = ShownView();
    ASSERT_NE(anons, nullptr);
    Pause(500);
    EXPECT_EQ(CentreOf(anons), kGreen) << "the mixed-case caption names the announcement";
}

TEST_F(PagesGui, CompiledAnnouncementWithoutHtmlHelpShowsNothing) {
    // HTML Help is found through its registered server: point it at no file.
    const wchar_t* key = L"CLSID\\{adb880a6-d8ff-11cf-9377-00aa003b7a11}\\InprocServer32";
    wchar_t saved[MAX_PATH] = {};
    LONG size = sizeof saved;
    const bool had = RegQueryValueW(HKEY_CLASSES_ROOT, key, saved, &size) == ERROR_SUCCESS;
    const wchar_t nowhere[] = L"C:\\nowhere\\hhctrl.ocx";
    ASSERT_EQ(RegSetValueW(HKEY_CLASSES_ROOT, key, REG_SZ, nowhere, sizeof nowhere), ERROR_SUCCESS);
    struct Restore {
        const wchar_t* key;
        const wchar_t* value;
        bool had;
        ~Restore() {
            if (had) RegSetValueW(HKEY_CLASSES_ROOT, key, REG_SZ, value, (lstrlenW(value) + 1) * sizeof(wchar_t));
        }
    } restore{key, saved, had};

    TestDisk disk{.allPages = true};
    disk.anonsFile = "news.ChM";
    before_ = [this] { WriteFileBytes(disk_ + L"\\news.ChM", "ITSF not really"); };
    ASSERT_TRUE(Start(L"pages-chm", disk, ColouredPage("#FF0000"), "<html></html>"));
    Click(main_, PageButton(kAnonsSlot));
    Pause(1000);
    ASSERT_TRUE(shell_.Running());
    // No message, no help window: the main window is the only one.
    EXPECT_EQ(shell_.TopLevelWindows(true).size(), 1u);
    for (HWND view : VisibleViews(main_)) EXPECT_NE(CentreOf(view), kRed);
    Screenshot(L"pages-chm");
}

TEST_F(PagesGui, LanguageChangeReloadsOnlyPagesWithALanguageVersion) {
    if (GetFileAttributesW((BinaryDir() + L"\\src\\app\\About\\English.lng").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "English.lng is not beside the program";
    ResetLanguageChoice();
    before_ = [this] {
        WriteFileBytes(disk_ + L"\\anons.htm", ColouredPage("#00FF00"));
        CreateDirectoryW((disk_ + L"\\English").c_str(), nullptr);
        WriteFileBytes(disk_ + L"\\English\\info.htm", ColouredPage("#0000FF"));
    };
    ASSERT_TRUE(Start(L"pages-language", {.allPages = true}, ColouredPage("#FF0000"), "<html></html>"));
    Click(main_, PageButton(kAnonsSlot));
    HWND anons = ShownView();
    ASSERT_NE(anons, nullptr);
    Pause(500);
    ASSERT_EQ(CentreOf(anons), kGreen);
    // Were the announcement read again it would show this.
    WriteFileBytes(disk_ + L"\\anons.htm", ColouredPage("#FFFF00"));

    PostMessageW(main_, WM_COMMAND, qlm::kLanguageMenuFirst + 1, 0);  // English
    Pause(1500);
    Click(main_, PageButton(kAnonsSlot));
    Pause(500);
    EXPECT_EQ(CentreOf(anons), kGreen) << "no language version: the page stays";
    Click(main_, PageButton(kInfoSlot));
    HWND info = ShownView();
    ASSERT_NE(info, nullptr);
    Pause(500);
    EXPECT_EQ(CentreOf(info), kBlue) << "the English version is shown";
    PostMessageW(main_, WM_COMMAND, qlm::kLanguageMenuFirst + 0, 0);
    Pause(800);
    ResetLanguageChoice();
}

HWND PagesGui::OpenSlide(const std::wstring& name, const std::string& file, const std::string& caption,
                         const std::string& picture) {
    TestDisk disk{.allPages = true};
    disk.slides = {{file, caption}};
    const std::wstring path = L"\\Picture\\" + std::wstring(file.begin(), file.end());
    before_ = [this, path, picture] { WriteFileBytes(disk_ + path, picture); };
    if (!Start(name, disk, "<html></html>", "<html></html>")) return nullptr;
    Click(main_, PageButton(kSlidesSlot));
    HWND image = ChildOfClass(main_, L"TSlideImage");
    return image && IsWindowVisible(image) ? image : nullptr;
}

TEST_F(PagesGui, OneSmallSlideStaysCentredAndPrints) {
    HWND image = OpenSlide(L"pages-slide", "small.bmp", "Small", SolidBmp(40, 30, kRed));
    ASSERT_NE(image, nullptr);
    Pause(500);
    RECT rc{};
    GetClientRect(image, &rc);
    const int cx = rc.right / 2, cy = rc.bottom / 2;
    auto atOwnSize = [&] {
        EXPECT_EQ(PixelAt(image, cx, cy), kRed);
        EXPECT_EQ(PixelAt(image, cx - 18, cy - 13), kRed);
        EXPECT_EQ(PixelAt(image, cx + 18, cy + 13), kRed);
        EXPECT_NE(PixelAt(image, cx - 24, cy), kRed);
        EXPECT_NE(PixelAt(image, cx, cy + 19), kRed);
    };
    atOwnSize();
    // The only slide comes again either way.
    Key(main_, VK_NEXT);
    EXPECT_TRUE(IsWindowVisible(image));
    atOwnSize();
    Key(main_, VK_PRIOR);
    atOwnSize();

    const char* pdfDir = std::getenv("QLM_PDF_DIR");
    if (!pdfDir || !*pdfDir) GTEST_SKIP() << "no PDF printer (scripts/printer-env.sh sets one up)";
    std::wstring pdfFolder = WindowsPath(pdfDir);
    ClearPdfs(pdfFolder);
    // The picture's context menu: "&Print".
    PostMessageW(image, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(image), MAKELPARAM(0xFFFF, 0xFFFF));
    HWND menu = nullptr;
    for (int i = 0; i < 30 && !menu; ++i) {
        menu = PopupMenu();
        if (!menu) Pause(100);
    }
    ASSERT_NE(menu, nullptr);
    Key(image, VK_DOWN);
    Key(image, VK_RETURN);
    HWND dialog = shell_.WaitForWindow(L"#32770", 10000);
    ASSERT_NE(dialog, nullptr) << "no print dialog";
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    const std::wstring pdf = WaitForPdf(pdfFolder);
    ASSERT_FALSE(pdf.empty()) << "no PDF in " << pdfDir;
    // pdfimages is a Unix program; Wine starts the shell that runs it as one.
    const std::string list = std::string(pdfDir) + "/images.txt";
    DeleteFileW((pdfFolder + L"\\images.txt").c_str());
    std::string script = "/usr/bin/pdfimages -list '" + std::string(pdfDir) + "/" + Utf8(pdf) + "' > '" + list + "'";
    std::wstring cmd = L"/bin/sh -c \"" + std::wstring(script.begin(), script.end()) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(L"Z:\\bin\\sh", cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << GetLastError();
    WaitForSingleObject(pi.hProcess, 20000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::string images;
    for (int i = 0; i < 50 && images.empty(); ++i) {
        images = ReadFileBytes(pdfFolder + L"\\images.txt");
        if (images.empty()) Pause(100);
    }
    // A header of two lines, then one line per image.
    EXPECT_GE(Count(images, "\n"), 3u) << images;
    // The picture itself, 40 by 30 as on the disk.
    EXPECT_NE(images.find(" image      40    30 "), std::string::npos) << images;
}

TEST_F(PagesGui, PanoramaFillsThePanelWidthUnderALongCaption) {
    std::string caption;
    for (int i = 0; i < 12; ++i) caption += "Очень длинная подпись к панораме " + std::to_string(i) + " ";
    HWND image = OpenSlide(L"pages-panorama", "wide.bmp", caption, SolidBmp(1500, 40, kBlue));
    ASSERT_NE(image, nullptr);
    Pause(2500);  // the caption starts moving
    Screenshot(L"pages-panorama");
    RECT rc{};
    GetClientRect(image, &rc);
    const int cy = rc.bottom / 2;
    const int height = 40 * rc.right / 1500;
    EXPECT_EQ(PixelAt(image, 1, cy), kBlue);
    EXPECT_EQ(PixelAt(image, rc.right - 2, cy), kBlue);
    EXPECT_NE(PixelAt(image, rc.right / 2, cy - height / 2 - 3), kBlue);
    EXPECT_NE(PixelAt(image, rc.right / 2, cy + height / 2 + 3), kBlue);
    HWND strip = ChildOfClass(main_, L"TSlideCaption");
    ASSERT_NE(strip, nullptr);
    EXPECT_TRUE(IsWindowVisible(strip));
}

namespace {

HWND ButtonCaptioned(HWND parent, const wchar_t* text) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t buf[32] = {};
        GetWindowTextW(child, buf, 32);
        if (ClassOf(child) == L"Button" || ClassOf(child) == L"BUTTON")
            if (std::wstring(buf) == text) return child;
    }
    return nullptr;
}

}  // namespace

// The program's help window: its page from the support folder, back and forward
// following the history, the close button in the middle, a least width, Escape.
TEST_F(PagesGui, HelpWindowBrowsesTheProgramsHelpAndClosesWithEscape) {
    const std::wstring about = BinaryDir() + L"\\src\\app\\About\\";
    const std::string shipped = ReadFileBytes(about + L"h_help.htm");
    WriteFileBytes(about + L"h_help.htm", LinkPage({"h_two.htm"}));
    WriteFileBytes(about + L"h_two.htm", "<html><body>Second help page</body></html>");
    struct Restore {
        std::wstring file;
        std::string bytes;
        ~Restore() { WriteFileBytes(file, bytes); }
    } restore{about + L"h_help.htm", shipped};

    ASSERT_TRUE(Start(L"pages-help-window", LinkPage({"x.htm"}), LinkPage({"x.htm"})));
    PostMessageW(main_, WM_COMMAND, static_cast<WPARAM>(qlm::Cmd::Help), 0);
    HWND help = shell_.WaitForWindow(L"THelpForm", 10000);
    ASSERT_NE(help, nullptr);
    Pause(1000);
    wchar_t caption[64] = {};
    GetWindowTextW(help, caption, 64);
    EXPECT_STREQ(caption, L"Помощь");
    EXPECT_FALSE(IsWindowEnabled(main_));
    HWND prev = ButtonCaptioned(help, L"<<"), next = ButtonCaptioned(help, L">>");
    HWND close = ButtonCaptioned(help, L"Закрыть");
    ASSERT_TRUE(prev && next && close);
    EXPECT_FALSE(IsWindowEnabled(prev));
    EXPECT_FALSE(IsWindowEnabled(next));
    RECT client{}, button{};
    GetClientRect(help, &client);
    GetWindowRect(close, &button);
    MapWindowPoints(nullptr, help, reinterpret_cast<POINT*>(&button), 2);
    EXPECT_NEAR((button.left + button.right) / 2, client.right / 2, 1);
    Screenshot(L"help-window");

    // A link inside the help enters the history: back, then forward again.
    HWND view = ChildOfClass(help, L"QlmPreviewHTML");
    ASSERT_NE(view, nullptr);
    Click(view, {20, kLinkLine / 2});
    Pause(800);
    EXPECT_TRUE(IsWindowEnabled(prev));
    EXPECT_FALSE(IsWindowEnabled(next));
    PostMessageW(help, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(prev), BN_CLICKED), reinterpret_cast<LPARAM>(prev));
    Pause(800);
    EXPECT_FALSE(IsWindowEnabled(prev));
    EXPECT_TRUE(IsWindowEnabled(next));

    // It cannot be made narrower than 270.
    SetWindowPos(help, nullptr, 0, 0, 100, 300, SWP_NOMOVE | SWP_NOZORDER);
    Pause(300);
    RECT outer{};
    GetWindowRect(help, &outer);
    EXPECT_GE(outer.right - outer.left, 270);

    PostMessageW(view, WM_KEYDOWN, VK_ESCAPE, 0);
    for (int i = 0; i < 30 && IsWindow(help); ++i) Pause(100);
    EXPECT_FALSE(IsWindow(help));
    EXPECT_TRUE(IsWindowEnabled(main_));
}
