// The information, announcement and help pages and the slide show, driven
// from outside as a user would: page buttons clicked, links in the pages
// clicked, the stand-in player's log read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/gui_disks.h"

using namespace qlm::test;

namespace {

constexpr int kInfoSlot = 2;   // list, slides, information, announcements, help
constexpr int kHelpSlot = 4;
constexpr int kLinkLine = 56;  // one line of <font size=7> text

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

class PagesGui : public ::testing::Test {
protected:
    void TearDown() override {
        if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
        if (shell_.Running() && !shell_.WaitExit(15000)) shell_.Kill();
        CloseStandIn();
    }
    bool Start(const std::wstring& name, const std::string& info, const std::string& help) {
        disk_ = MakeDisk(name, {.allPages = true});
        WriteFileBytes(disk_ + L"\\info.htm", info);
        WriteFileBytes(disk_ + L"\\anons.htm", "<html><body>News</body></html>");
        // The help page is read from the support folder beside the program.
        WriteFileBytes(BinaryDir() + L"\\src\\app\\About\\help.htm", help);
        log_ = UsePlayerLog(name);
        if (!shell_.Start(ShellExe(), L"\"" + disk_ + L"\"")) return false;
        main_ = shell_.WaitForWindow(kMainClass, kStartTimeout);
        if (!main_) return false;
        Pause(1500);
        return true;
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
