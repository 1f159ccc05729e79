// The HTML view in a test window, driven as a user would: clicks on links,
// keys, the history buttons; the owner's event handlers are recorded.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "pages/html/page_url.h"
#include "pages/preview_html.h"

namespace qlm {
namespace {

namespace fs = std::filesystem;

void Pump(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    MSG msg;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

template <class F>
bool PumpUntil(F done, int ms = 5000) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    MSG msg;
    while (!done()) {
        if (static_cast<int>(end - GetTickCount()) <= 0) return false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void Write(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

// The owner of the view: what the program's panes do with its events.
struct Owner {
    std::vector<std::u16string> before;
    std::vector<std::pair<int, bool>> commands;
    int completed = 0;
    int finished = 0;  // ProgressChange with a maximum of 0
    std::vector<std::u16string> external;
    bool prevEnabled = false, nextEnabled = false;

    void Wire(TPreviewHTML& v) {
        v.OnBeforeNavigate = [this](const std::u16string& url, bool& cancel) {
            before.push_back(url);
            std::u16string upper = url;
            for (char16_t& c : upper)
                if (c >= 'a' && c <= 'z') c = static_cast<char16_t>(c - 'a' + 'A');
            if (upper.find(u"*MUSIC") != std::u16string::npos) cancel = true;
        };
        v.OnCommandStateChange = [this](int command, bool enable) {
            commands.emplace_back(command, enable);
            if (command == 1) nextEnabled = enable;
            if (command == 2) prevEnabled = enable;
        };
        v.OnDownloadComplete = [this] { ++completed; };
        v.OnProgressChange = [this](int, int max) { finished += max == 0; };
        v.OpenExternal = [this](const std::u16string& url) { external.push_back(url); };
    }
};

class PreviewHtmlTest : public ::testing::Test {
protected:
    fs::path dir;
    // One frame for all tests: destroying a top-level window costs seconds under Wine without a window manager.
    static inline HWND frame = nullptr;
    TPreviewHTML view;
    Owner owner;

    void SetUp() override {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        dir = fs::path(tmp) / (L"qlm_html_" + std::to_wstring(GetCurrentProcessId()));
        fs::create_directories(dir / L"Тексты");
        std::string filler;
        for (int i = 0; i < 80; ++i) filler += "<p>filler line " + std::to_string(i) + "</p>";
        Write(dir / L"one.htm",
              "<html><head><title>One</title></head><body>"
              "<p>First page with <a href='two.htm'>second link</a> and "
              "<a href='*MUSIC 1 2'>music link</a> and <a href='http://example.org/'>outside link</a> and "
              "<a href='javascript:alert(1)'>script link</a> and <a href='setup.exe'>program link</a>.</p>"
              "<p><a href='#end'>to the end</a> <a href='%D0%A2%D0%B5%D0%BA%D1%81%D1%82%D1%8B/song.txt'>song text</a></p>" +
                  filler + "<p><a name='end'>the end mark</a></p></body></html>");
        Write(dir / L"two.htm", "<html><body><p>Second page alpha beta gamma</p><p>next line delta</p></body></html>");
        Write(dir / L"Тексты" / L"song.txt", "Song \xD2\xE5\xEA\xF1\xF2 line\r\nsecond\r\n");

        if (!frame) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"QlmPreviewTestFrame";
            RegisterClassW(&wc);
            frame = CreateWindowExW(0, wc.lpszClassName, L"view test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                                    nullptr, nullptr, wc.hInstance, nullptr);
        }
        ASSERT_NE(frame, nullptr);
        SetWindowPos(frame, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
        RECT rc;
        GetClientRect(frame, &rc);
        owner.Wire(view);
        ASSERT_TRUE(view.Create(frame, rc, 7));
        Pump(50);
    }

    void TearDown() override {
        view.Destroy();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    std::u16string PathOf(const fs::path& p) const { return U16(p.wstring()); }
    static std::u16string U16(const std::wstring& w) { return std::u16string(w.begin(), w.end()); }

    void Load(const fs::path& p) {
        const int done = owner.finished;
        view.Navigate(PathOf(p));
        ASSERT_TRUE(PumpUntil([&] { return owner.finished > done; }));
    }

    void Click(std::u16string_view text) {
        POINT pt;
        ASSERT_TRUE(view.PointOfText(text, pt)) << "no text on the page";
        const LPARAM at = MAKELPARAM(pt.x, pt.y);
        SendMessageW(view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(view.hwnd(), WM_LBUTTONUP, 0, at);
    }

    std::string Url(const fs::path& p) const { return html::FileUrl(PathOf(p), u""); }
};

TEST_F(PreviewHtmlTest, NavigateShowsThePageAndReportsItsEnd) {
    Load(dir / L"one.htm");
    EXPECT_EQ(view.LocationURL(), Url(dir / L"one.htm"));
    EXPECT_EQ(view.Title(), u"One");
    EXPECT_EQ(owner.completed, 1);
    ASSERT_GE(owner.before.size(), 1u);
    EXPECT_EQ(owner.before.back().rfind(u"file:///", 0), 0u);
    // After every history change: the back state (2) and the forward state (1).
    ASSERT_EQ(owner.commands.size(), 2u);
    EXPECT_EQ(owner.commands[0], std::make_pair(2, false));
    EXPECT_EQ(owner.commands[1], std::make_pair(1, false));
}

TEST_F(PreviewHtmlTest, LinkClickAsksFirstThenNavigatesAndHistoryMoves) {
    Load(dir / L"one.htm");
    const size_t asked = owner.before.size();
    const int done = owner.finished;
    Click(u"second link");
    ASSERT_TRUE(PumpUntil([&] { return owner.finished > done; }));
    ASSERT_EQ(owner.before.size(), asked + 1);
    EXPECT_NE(owner.before.back().find(u"/two.htm"), std::u16string::npos);
    EXPECT_EQ(view.LocationURL(), Url(dir / L"two.htm"));
    EXPECT_TRUE(owner.prevEnabled);
    EXPECT_FALSE(owner.nextEnabled);

    int mark = owner.finished;
    view.GoBack();
    ASSERT_TRUE(PumpUntil([&] { return owner.finished > mark; }));
    EXPECT_EQ(view.LocationURL(), Url(dir / L"one.htm"));
    EXPECT_FALSE(owner.prevEnabled);
    EXPECT_TRUE(owner.nextEnabled);
    EXPECT_EQ(owner.commands[owner.commands.size() - 2], std::make_pair(2, false));
    EXPECT_EQ(owner.commands.back(), std::make_pair(1, true));

    mark = owner.finished;
    view.GoForward();
    ASSERT_TRUE(PumpUntil([&] { return owner.finished > mark; }));
    EXPECT_EQ(view.LocationURL(), Url(dir / L"two.htm"));
    EXPECT_TRUE(owner.prevEnabled);
    EXPECT_FALSE(owner.nextEnabled);

    // Going back and then somewhere new drops the forward entries.
    mark = owner.finished;
    view.GoBack();
    ASSERT_TRUE(PumpUntil([&] { return owner.finished > mark; }));
    Load(dir / L"Тексты" / L"song.txt");
    EXPECT_TRUE(owner.prevEnabled);
    EXPECT_FALSE(owner.nextEnabled);
}

TEST_F(PreviewHtmlTest, MusicLinkCancelledByTheOwnerDoesNotNavigate) {
    Load(dir / L"one.htm");
    const int done = owner.finished;
    const int completed = owner.completed;
    Click(u"music link");
    Pump(300);
    ASSERT_FALSE(owner.before.empty());
    EXPECT_NE(owner.before.back().find(u"*MUSIC 1 2"), std::u16string::npos);  // blanks kept for the owner
    EXPECT_EQ(owner.finished, done);
    EXPECT_EQ(owner.completed, completed);
    EXPECT_EQ(view.LocationURL(), Url(dir / L"one.htm"));
}

TEST_F(PreviewHtmlTest, OutsideLinksGoToTheSystemScriptsAndProgramsDoNothing) {
    Load(dir / L"one.htm");
    const int done = owner.finished;
    Click(u"outside link");
    Click(u"script link");
    Click(u"program link");
    Pump(300);
    ASSERT_EQ(owner.external.size(), 1u);
    EXPECT_EQ(owner.external[0], u"http://example.org/");
    EXPECT_EQ(owner.finished, done);
    EXPECT_EQ(view.LocationURL(), Url(dir / L"one.htm"));
}

TEST_F(PreviewHtmlTest, AnchorLinkScrollsAndTextFilesOpenInTheView) {
    Load(dir / L"one.htm");
    EXPECT_EQ(view.ScrollY(), 0);
    Click(u"to the end");
    Pump(50);
    EXPECT_GT(view.ScrollY(), 500);
    POINT pt;
    EXPECT_TRUE(view.PointOfText(u"the end mark", pt));
    EXPECT_GE(pt.y, 0);
    EXPECT_LT(pt.y, 480);  // in view (the mark is near the end, so it cannot reach the top)

    SendMessageW(view.hwnd(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(view.ScrollY(), 0);
    SendMessageW(view.hwnd(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_GT(view.ScrollY(), 300);
    SendMessageW(view.hwnd(), WM_KEYDOWN, VK_END, 0);
    const int bottom = view.ScrollY();
    SendMessageW(view.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_LT(view.ScrollY(), bottom);

    SendMessageW(view.hwnd(), WM_KEYDOWN, VK_HOME, 0);
    const int done = owner.finished;
    Click(u"song text");
    ASSERT_TRUE(PumpUntil([&] { return owner.finished > done; }));
    EXPECT_EQ(view.LocationURL(), Url(dir / L"Тексты" / L"song.txt"));
    EXPECT_TRUE(view.PointOfText(u"Song Текст line", pt));
}

TEST_F(PreviewHtmlTest, MouseSelectionAndCtrlCopyToTheClipboard) {
    Load(dir / L"two.htm");
    POINT from, to;
    ASSERT_TRUE(view.PointOfText(u"alpha", from));
    ASSERT_TRUE(view.PointOfText(u"delta", to));
    // From left of the first line to the middle of "delta".
    SendMessageW(view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, from.y));
    SendMessageW(view.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    SendMessageW(view.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    EXPECT_EQ(view.SelectedText(), u"Second page alpha beta gamma\r\nnext line de");

    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(view.hwnd(), WM_KEYDOWN, 'A', 0);
    SendMessageW(view.hwnd(), WM_KEYDOWN, 'C', 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    std::u16string copied;
    ASSERT_TRUE(OpenClipboard(frame));
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        copied = reinterpret_cast<const char16_t*>(GlobalLock(h));
        GlobalUnlock(h);
    }
    CloseClipboard();
    EXPECT_EQ(copied, u"Second page alpha beta gamma\r\nnext line delta");
}

TEST_F(PreviewHtmlTest, MissingPageStillEndsLoadingAndNamesNothing) {
    Load(dir / L"one.htm");
    Load(dir / L"missing.htm");
    EXPECT_EQ(view.LocationURL(), "");
    EXPECT_GE(owner.completed, 2);
    EXPECT_FALSE(view.CanGoForward());
    // Refresh of the page shown before the failure and a resize never fail.
    SetWindowPos(frame, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    RECT rc;
    GetClientRect(frame, &rc);
    view.SetBounds(rc);
    view.Refresh();
    Pump(200);
}

}  // namespace
}  // namespace qlm
