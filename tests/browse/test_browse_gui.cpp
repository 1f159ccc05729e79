// The catalogue tree, the song list, the fields, the tag window and book mode
// driven from outside the shell, on small disks written by qlmdisk. The tree
// and the list live in the shell's process: their items are read through a
// buffer placed in that process.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>

#include <algorithm>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/gui_disks.h"

using namespace qlm::test;

namespace {

// ---- a disk from a qlmdisk manifest

std::string Id3v23(const std::vector<std::pair<std::string, std::string>>& frames) {
    std::string body;
    for (const auto& [id, text] : frames) {
        std::string data = std::string(1, '\0') + text;
        uint32_t n = static_cast<uint32_t>(data.size());
        body += id;
        body += {char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
        body += std::string(2, '\0');
        body += data;
    }
    uint32_t n = static_cast<uint32_t>(body.size());
    std::string head = "ID3";
    head += {'\x03', '\0', '\0', char((n >> 21) & 0x7F), char((n >> 14) & 0x7F), char((n >> 7) & 0x7F), char(n & 0x7F)};
    return head + body;
}

std::string Id3v1(const std::string& title, uint8_t genre) {
    std::string tag = "TAG" + title;
    tag.resize(127, '\0');
    tag += char(genre);
    return tag;
}

std::string Frames(int count) {
    std::string frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    std::string out;
    for (int i = 0; i < count; ++i) out += frame;
    return out;
}

const char kLongName[] = "Песня с очень длинным названием, которое никак не помещается в дерево каталога";

// Root song with a year; Рок > (Старое > Давняя; the long name; Вторая); Поп > Третья, Четвёртая.
std::wstring MakeBrowseDisk(const std::wstring& name, bool withTags) {
    std::wstring dir = FreshFolder(name);
    std::string tags = withTags ? R"("TagFieldsAvailable": 15, )" : "";
    auto year = [&](const char* y) { return withTags ? std::string(R"(, "tags": { "Year": ")") + y + "\" }" : std::string(); };
    std::string manifest = std::string(R"({ "form": "packed", "settings": { )") + tags +
                           R"("DiskIdentifier": "BROWSE-1", "DiskTitle": "Проба" }, "tree": [
      { "name": "Корневая песня", "file": "root.mp3")" + year("1999") + R"( },
      { "name": "Рок", "path": "Rock", "children": [
        { "name": "Старое", "path": "Old", "children": [ { "name": "Давняя", "file": "old.mp3")" + year("1975") + R"( } ] },
        { "name": ")" + kLongName + R"(", "file": "long.mp3" },
        { "name": "Вторая", "file": "two.mp3" } ] },
      { "name": "Поп", "path": "Pop", "children": [
        { "name": "Третья", "file": "three.mp3" }, { "name": "Четвёртая", "file": "four.mp3" } ] } ] })";
    std::wstring json = dir + L".json";
    WriteFileBytes(json, manifest);
    std::wstring tool = BinaryDir() + L"\\src\\qlmdisk\\qlmdisk.exe";
    std::wstring cmd = L"\"" + tool + L"\" write \"" + json + L"\" \"" + dir + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, 30000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    for (const wchar_t* f : {L"\\Sound", L"\\Sound\\Rock", L"\\Sound\\Rock\\Old", L"\\Sound\\Pop", L"\\Player"})
        CreateDirectoryW((dir + f).c_str(), nullptr);
    std::string audio = Frames(40);
    for (const wchar_t* f : {L"\\Sound\\root.mp3", L"\\Sound\\Rock\\Old\\old.mp3", L"\\Sound\\Rock\\long.mp3",
                             L"\\Sound\\Rock\\two.mp3"})
        WriteFileBytes(dir + f, audio);
    WriteFileBytes(dir + L"\\Sound\\Pop\\three.mp3",
                   Id3v23({{"TIT2", "Three"}, {"TPE1", "Band"}, {"TCON", "(13)"}}) + audio);
    WriteFileBytes(dir + L"\\Sound\\Pop\\four.mp3", audio + Id3v1("Four", 255));
    CopyFileTo(StandInExe(), dir + L"\\Player\\Winamp.exe");
    return dir;
}

// ---- reading the shell's controls

class Remote {
public:
    explicit Remote(DWORD pid) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) base_ = VirtualAllocEx(process_, nullptr, 8192, MEM_COMMIT, PAGE_READWRITE);
    }
    ~Remote() {
        if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    bool Ok() const { return base_ != nullptr; }
    char* At(size_t offset) const { return static_cast<char*>(base_) + offset; }
    void Put(size_t offset, const void* data, size_t n) { WriteProcessMemory(process_, At(offset), data, n, nullptr); }
    void Get(size_t offset, void* data, size_t n) const { ReadProcessMemory(process_, At(offset), data, n, nullptr); }

private:
    HANDLE process_ = nullptr;
    void* base_ = nullptr;
};

constexpr size_t kText = 1024;

struct Shell {
    ShellProcess process;
    HWND main = nullptr, tree = nullptr, list = nullptr;
    std::unique_ptr<Remote> remote;

    bool Start(const std::wstring& disk) {
        if (!process.Start(ShellExe(), L"\"" + disk + L"\"")) return false;
        main = process.WaitForWindow(kMainClass, kStartTimeout);
        if (!main) return false;
        Pause(1500);
        HWND panel = FindWindowExW(main, nullptr, L"TLeftPanel", nullptr);
        tree = FindWindowExW(panel, nullptr, WC_TREEVIEWW, nullptr);
        list = FindWindowExW(panel, nullptr, WC_LISTVIEWW, nullptr);
        remote = std::make_unique<Remote>(process.Id());
        return tree && list && remote->Ok();
    }
    ~Shell() {
        if (main) PostMessageW(main, WM_CLOSE, 0, 0);
        if (!process.WaitExit(10000)) process.Kill();
    }

    void Command(qlm::Cmd id) {
        SendMessageW(main, WM_COMMAND, static_cast<WPARAM>(id), 0);
        Pause(300);
    }
    HTREEITEM Next(HTREEITEM item, UINT how) const {
        return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    }
    std::string Text(HTREEITEM item) const {
        TVITEMW tv{};
        tv.mask = TVIF_TEXT | TVIF_HANDLE;
        tv.hItem = item;
        tv.pszText = reinterpret_cast<wchar_t*>(remote->At(kText));
        tv.cchTextMax = 500;
        remote->Put(0, &tv, sizeof tv);
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote->At(0)));
        wchar_t buf[500] = {};
        remote->Get(kText, buf, sizeof buf - 2);
        return Utf8(buf);
    }
    // Every item in tree order, collapsed ones' children included.
    void Walk(HTREEITEM item, std::vector<std::pair<HTREEITEM, std::string>>& out) const {
        for (; item; item = Next(item, TVGN_NEXT)) {
            out.push_back({item, Text(item)});
            Walk(Next(item, TVGN_CHILD), out);
        }
    }
    std::vector<std::pair<HTREEITEM, std::string>> Items() const {
        std::vector<std::pair<HTREEITEM, std::string>> out;
        Walk(Next(nullptr, TVGN_ROOT), out);
        return out;
    }
    HTREEITEM Find(const std::string& prefix) const {
        for (auto& [item, text] : Items())
            if (text.rfind(prefix, 0) == 0) return item;
        return nullptr;
    }
    bool Expanded(HTREEITEM item) const {
        return SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED;
    }
    int StateImage(HTREEITEM item) const {
        return static_cast<int>(SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK) >> 12);
    }
    RECT TextRect(HTREEITEM item) const {
        RECT rc{};
        std::memcpy(&rc, &item, sizeof item);  // TVM_GETITEMRECT takes the item in the rectangle
        remote->Put(0, &rc, sizeof rc);
        SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(remote->At(0)));
        remote->Get(0, &rc, sizeof rc);
        return rc;
    }
    void Select(HTREEITEM item) {
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        Pause(200);
    }
    std::string Selected() const { return Text(Next(nullptr, TVGN_CARET)); }
    void Click(int x, int y, bool twice = false) {
        LPARAM at = MAKELPARAM(x, y);
        PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(tree, WM_LBUTTONUP, 0, at);
        if (twice) {
            PostMessageW(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
            PostMessageW(tree, WM_LBUTTONUP, 0, at);
        }
        Pause(400);
    }
    void Key(HWND to, UINT vk) {
        PostMessageW(to, WM_KEYDOWN, vk, 1);
        PostMessageW(to, WM_KEYUP, vk, 0xC0000001);
        Pause(300);
    }
    void Char(HWND to, wchar_t c) {
        PostMessageW(to, WM_CHAR, c, 1);
        Pause(300);
    }
    std::vector<std::string> ListRows() const {
        std::vector<std::string> out;
        int n = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            LVITEMW lv{};
            lv.iSubItem = 0;
            lv.pszText = reinterpret_cast<wchar_t*>(remote->At(kText));
            lv.cchTextMax = 500;
            remote->Put(0, &lv, sizeof lv);
            SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(remote->At(0)));
            wchar_t buf[500] = {};
            remote->Get(kText, buf, sizeof buf - 2);
            out.push_back(Utf8(buf));
        }
        return out;
    }
    HWND Visible(const wchar_t* cls) const {
        for (HWND h : process.TopLevelWindows(true))
            if (ClassOf(h) == cls) return h;
        return nullptr;
    }
};

class BrowseGui : public ::testing::Test {
protected:
    void SetUp() override {
        if (!StandInBuilt()) GTEST_SKIP() << "the stand-in player is not built";
        CloseStandIn();
        RemoveSettingsFile();
        ResetLanguageChoice();
    }
    void TearDown() override { CloseStandIn(); }
};

}  // namespace

TEST_F(BrowseGui, ExpandOnlyByTheBoxOrTheKeysAndChecksWithSpace) {
    Shell s;
    ASSERT_TRUE(s.Start(MakeBrowseDisk(L"browse-expand", true)));
    HTREEITEM rock = s.Find("Рок");
    ASSERT_NE(rock, nullptr);
    RECT rc = s.TextRect(rock);
    Screenshot(L"browse-tree");

    // A double click on the folder's name leaves it closed.
    s.Click(rc.left + 5, rc.top + 5, true);
    EXPECT_FALSE(s.Expanded(rock));
    EXPECT_EQ(s.Selected(), "Рок");
    // The drawn box opens and closes it.
    s.Click(rc.left - 26, rc.top + 8);
    EXPECT_TRUE(s.Expanded(rock));
    s.Click(rc.left - 26, rc.top + 8);
    EXPECT_FALSE(s.Expanded(rock));
    // Right opens, Left closes.
    s.Key(s.tree, VK_RIGHT);
    EXPECT_TRUE(s.Expanded(rock));
    s.Key(s.tree, VK_LEFT);
    EXPECT_FALSE(s.Expanded(rock));
    // Ctrl+Down and Ctrl+Up reach every folder through the command table.
    s.Command(qlm::Cmd::ExpandAll);
    EXPECT_TRUE(s.Expanded(rock));
    EXPECT_TRUE(s.Expanded(s.Find("Старое")));
    s.Command(qlm::Cmd::CollapseAll);
    EXPECT_FALSE(s.Expanded(rock));

    // Space on a folder does nothing; on a song it toggles the mark.
    s.Char(s.tree, L' ');
    EXPECT_EQ(s.StateImage(rock), 1);
    HTREEITEM song = s.Find("Корневая");
    s.Select(song);
    EXPECT_EQ(s.StateImage(song), 2);
    s.Char(s.tree, L' ');
    EXPECT_EQ(s.StateImage(song), 3);
    Screenshot(L"browse-checked");
    s.Char(s.tree, L' ');
    EXPECT_EQ(s.StateImage(song), 2);
}

TEST_F(BrowseGui, ToolTipOnlyForANameThatDoesNotFit) {
    Shell s;
    ASSERT_TRUE(s.Start(MakeBrowseDisk(L"browse-tips", true)));
    s.Command(qlm::Cmd::ExpandAll);
    HTREEITEM shortName = s.Find("Вторая");
    HTREEITEM longName = s.Find("Песня с очень");
    ASSERT_TRUE(shortName && longName);
    RECT a = s.TextRect(shortName), b = s.TextRect(longName);
    PostMessageW(s.tree, WM_MOUSEMOVE, 0, MAKELPARAM(a.left + 4, a.top + 5));
    Pause(400);
    EXPECT_EQ(s.Visible(L"TToolTipsWindow"), nullptr);
    PostMessageW(s.tree, WM_MOUSEMOVE, 0, MAKELPARAM(b.left + 4, b.top + 5));
    Pause(400);
    HWND tip = s.Visible(L"TToolTipsWindow");
    ASSERT_NE(tip, nullptr);
    RECT t{}, work{};
    GetWindowRect(tip, &t);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(t.right, work.right);
    EXPECT_GE(t.left, work.left);
    EXPECT_GT(t.right - t.left, b.right - b.left);
    Screenshot(L"browse-tooltip");
    // Back over a name that fits: the tip goes.
    PostMessageW(s.tree, WM_MOUSEMOVE, 0, MAKELPARAM(a.left + 4, a.top + 5));
    Pause(400);
    EXPECT_EQ(s.Visible(L"TToolTipsWindow"), nullptr);
}

TEST_F(BrowseGui, YearFieldAndRebuildKeepExpansionSelectionAndTop) {
    Shell s;
    ASSERT_TRUE(s.Start(MakeBrowseDisk(L"browse-fields", true)));
    s.Key(s.tree, VK_DOWN);
    s.Key(s.tree, VK_RIGHT);  // Рок open
    HTREEITEM two = s.Find("Вторая");
    s.Select(two);
    std::string topBefore = s.Text(s.Next(nullptr, TVGN_FIRSTVISIBLE));
    s.Command(qlm::Cmd::FieldYear);
    EXPECT_NE(s.Find("Корневая песня (1999)"), nullptr);
    EXPECT_EQ(s.Text(s.Find("Вторая")), "Вторая");  // no year, no brackets
    EXPECT_TRUE(s.Expanded(s.Find("Рок")));
    EXPECT_FALSE(s.Expanded(s.Find("Старое")));
    EXPECT_EQ(s.Selected(), "Вторая");
    EXPECT_EQ(s.Text(s.Next(nullptr, TVGN_FIRSTVISIBLE)).substr(0, topBefore.size()), topBefore);
    Screenshot(L"browse-year");
    s.Command(qlm::Cmd::FieldYear);
    EXPECT_NE(s.Find("Корневая песня"), nullptr);
    EXPECT_EQ(s.Find("Корневая песня (1999)"), nullptr);
}

// The drawn pixels of one tree row (the item's height, the client's width),
// read from the screen as the user sees them.
static std::vector<uint32_t> RowPixels(const Shell& s, HTREEITEM item) {
    RedrawWindow(s.tree, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pause(300);
    RECT rc = s.TextRect(item), client{};
    GetClientRect(s.tree, &client);
    POINT at{0, rc.top};
    ClientToScreen(s.tree, &at);
    const int w = client.right, h = rc.bottom - rc.top;
    std::vector<uint32_t> out(static_cast<size_t>(w) * (h > 0 ? h : 0));
    if (out.empty()) return out;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, at.x, at.y, SRCCOPY);
    GdiFlush();
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<const uint32_t*>(bits)[i] & 0xFFFFFFu;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return out;
}

// The right end of what is drawn on a row: past it only the tree colour.
static int RightmostInk(const std::vector<uint32_t>& row, int width) {
    int right = -1;
    for (size_t i = 0; i < row.size(); ++i)
        if (row[i] != 0xE2E2E2u) right = std::max(right, static_cast<int>(i % width));
    return right;
}

// Pixels as read back hold blue in the low byte: navy is 0x000080 there.
constexpr uint32_t kNavyPixel = 0x000080u;

static int Count(const std::vector<uint32_t>& row, uint32_t colour) {
    return static_cast<int>(std::count(row.begin(), row.end(), colour));
}

// The rows are drawn from kept pictures; a change of text, selection or check
// mark must show at once, and the same state must look the same again.
TEST_F(BrowseGui, DrawnRowsFollowTextSelectionAndCheckMarks) {
    Shell s;
    ASSERT_TRUE(s.Start(MakeBrowseDisk(L"browse-drawn", true)));
    RECT client{};
    GetClientRect(s.tree, &client);
    const int w = client.right;
    s.Select(s.Find("Рок"));
    const std::vector<uint32_t> plain = RowPixels(s, s.Find("Корневая"));
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ(Count(plain, kNavyPixel), 0);
    const int plainRight = RightmostInk(plain, w);
    EXPECT_GT(plainRight, 0);

    // A longer text for the same song reaches further right, and back.
    s.Command(qlm::Cmd::FieldYear);
    ASSERT_NE(s.Find("Корневая песня (1999)"), nullptr);
    EXPECT_GT(RightmostInk(RowPixels(s, s.Find("Корневая")), w), plainRight + 10);
    s.Command(qlm::Cmd::FieldYear);
    EXPECT_EQ(RowPixels(s, s.Find("Корневая")), plain);

    // Selected: the navy fill; unselected again: as before.
    s.Select(s.Find("Корневая"));
    const std::vector<uint32_t> selected = RowPixels(s, s.Find("Корневая"));
    EXPECT_GT(Count(selected, kNavyPixel), 20);
    s.Char(s.tree, L' ');
    const std::vector<uint32_t> checked = RowPixels(s, s.Find("Корневая"));
    EXPECT_NE(checked, selected);  // the check mark's image
    s.Char(s.tree, L' ');
    EXPECT_EQ(RowPixels(s, s.Find("Корневая")), selected);
    s.Select(s.Find("Рок"));
    EXPECT_EQ(RowPixels(s, s.Find("Корневая")), plain);
}

TEST_F(BrowseGui, WithoutTagsTheFieldEntriesDoNothing) {
    Shell s;
    ASSERT_TRUE(s.Start(MakeBrowseDisk(L"browse-notags", false)));
    s.Command(qlm::Cmd::FieldYear);
    s.Command(qlm::Cmd::FieldArtist);
    EXPECT_NE(s.Find("Корневая песня"), nullptr);
    EXPECT_EQ(s.Text(s.Find("Корневая")), "Корневая песня");
}

TEST_F(BrowseGui, BookModeListsTheFolderAndMovesTheList) {
    Shell s;
    ASSERT_TRUE(s.Start(MakeBrowseDisk(L"browse-book", true)));
    s.Command(qlm::Cmd::ExpandAll);
    s.Select(s.Find("Давняя"));
    s.Command(qlm::Cmd::BookModeVertical);
    // The root-level song stays; the deeper songs leave the tree.
    EXPECT_NE(s.Find("Корневая"), nullptr);
    EXPECT_EQ(s.Find("Давняя"), nullptr);
    EXPECT_EQ(s.Find("Вторая"), nullptr);
    // The selected song gave way to its folder, whose songs are listed.
    EXPECT_EQ(s.Selected(), "Старое");
    EXPECT_EQ(s.ListRows(), std::vector<std::string>{"Давняя"});
    EXPECT_TRUE(IsWindowVisible(s.list));
    // A folder of folders lists its folders too, in order.
    s.Select(s.Find("Рок"));
    EXPECT_EQ(s.ListRows(), (std::vector<std::string>{"Старое", kLongName, "Вторая"}));
    RECT tree{}, list{};
    GetWindowRect(s.tree, &tree);
    GetWindowRect(s.list, &list);
    EXPECT_GE(list.left, tree.right);  // at the right of the tree
    Screenshot(L"browse-book-vertical");

    // Horizontal while vertical: still book mode, the list goes below.
    s.Command(qlm::Cmd::BookModeHorizontal);
    EXPECT_EQ(s.Find("Давняя"), nullptr);
    EXPECT_EQ(s.ListRows().size(), 3u);
    GetWindowRect(s.tree, &tree);
    GetWindowRect(s.list, &list);
    EXPECT_GE(list.top, tree.bottom);
    EXPECT_EQ(list.left, tree.left);
    Screenshot(L"browse-book-horizontal");

    // Off again: the whole catalogue, the list hidden; the stored sizes on close.
    s.Command(qlm::Cmd::BookModeNone);
    EXPECT_NE(s.Find("Давняя"), nullptr);
    EXPECT_FALSE(IsWindowVisible(s.list));
    s.Command(qlm::Cmd::BookModeHorizontal);
    PostMessageW(s.main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(s.process.WaitExit(10000));
    s.main = nullptr;
    EXPECT_EQ(IniValue(L"Settings", L"BookMode"), L"1");
    EXPECT_EQ(IniValue(L"Settings", L"ListHPosition"), L"1");
    EXPECT_FALSE(IniValue(L"Settings", L"SongsListHeight").empty());
}

TEST_F(BrowseGui, TagWindowShowsGenresAndClosesWithEscape) {
    Shell s;
    ASSERT_TRUE(s.Start(MakeBrowseDisk(L"browse-tags", true)));
    s.Command(qlm::Cmd::ExpandAll);
    auto genreOf = [&](const std::string& song) {
        s.Select(s.Find(song));
        PostMessageW(s.main, WM_COMMAND, static_cast<WPARAM>(qlm::Cmd::Info), 0);
        HWND form = s.process.WaitForWindow(L"TForm3", 5000);
        if (!form) return std::string("no window");
        Pause(300);
        auto field = [&](int id) {
            wchar_t buf[256] = {};
            SendMessageW(GetDlgItem(form, id), WM_GETTEXT, 255, reinterpret_cast<LPARAM>(buf));
            return Utf8(buf);
        };
        std::string genre = field(300 + 4);
        std::string title = field(300);
        EXPECT_EQ(Utf8(WindowText(form)), "Информация");
        Screenshot(L"browse-tag-window");
        PostMessageW(GetDlgItem(form, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 1);
        Pause(500);
        EXPECT_EQ(s.Visible(L"TForm3"), nullptr) << "Esc leaves the window open";
        return title + "|" + genre;
    };
    EXPECT_EQ(genreOf("Третья"), "Three|Pop");
    EXPECT_EQ(genreOf("Четвёртая"), "Four|");
}
