// The favourites panel of the running shell, under Wine, driven with real
// keys and mouse: adding, dragging, deleting with its questions, and the
// lists kept across a restart, a disk change and in favorites.dat.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/gui_disks.h"
#include "content/description_stream.h"
#include "favorites/favorites_file.h"

using namespace qlm::test;

namespace {

const std::vector<std::string> kSongs = {"one", "two", "three", "four", "five"};

// A disk of one folder "Rock" with five songs named as their files.
std::wstring MakeFavoritesDisk(const std::wstring& name, const std::string& id, const std::string& title) {
    std::wstring dir = FreshFolder(name);
    qlm::DescriptionWriter w;
    w.WriteShortRecord("CDQLM=" + id);
    w.WriteShortRecord("CDRUS=" + Cp1251(title));
    w.WriteShortRecord("EndOfCFG");
    w.WriteShortRecord(std::string("F=Rock") + '\0' + "N=" + Cp1251("Рок"));
    for (const auto& s : kSongs) w.WriteShortRecord("FN=" + s + ".mp3" + '\0' + "N=" + s);
    WriteFileBytes(dir + L"\\qlm.cfg", w.Take());
    CreateDirectoryW((dir + L"\\Sound").c_str(), nullptr);
    CreateDirectoryW((dir + L"\\Sound\\Rock").c_str(), nullptr);
    std::string frame(417, '\0');
    frame[0] = '\xFF', frame[1] = '\xFB', frame[2] = '\x90';
    std::string song;
    for (int i = 0; i < 300; ++i) song += frame;
    for (const auto& s : kSongs) WriteFileBytes(dir + L"\\Sound\\Rock\\" + std::wstring(s.begin(), s.end()) + L".mp3", song);
    CreateDirectoryW((dir + L"\\Player").c_str(), nullptr);
    CopyFileTo(StandInExe(), dir + L"\\Player\\Winamp.exe");
    return dir;
}

// The favourites of disk 0 as the settings file keeps them when the program is not installed.
void StoreInSettings(const std::wstring& id, const std::vector<std::string>& songs) {
    WritePrivateProfileStringW(L"Disks", L"Disk0", id.c_str(), L"qlm.ini");
    WritePrivateProfileStringW(L"Disk0", L"Default", L"0", L"qlm.ini");
    WritePrivateProfileStringW(L"Disk0", L"File0", L"Default", L"qlm.ini");
    for (size_t i = 0; i < songs.size(); ++i) {
        std::wstring n = std::to_wstring(i);
        std::wstring s(songs[i].begin(), songs[i].end());
        WritePrivateProfileStringW(L"Disk0File0", (L"Song" + n).c_str(), s.c_str(), L"qlm.ini");
        WritePrivateProfileStringW(L"Disk0File0", (L"File" + n).c_str(), (L"Rock\\" + s + L".mp3").c_str(), L"qlm.ini");
    }
}

std::vector<std::string> StoredSongs() {
    std::vector<std::string> out;
    for (int i = 0;; ++i) {
        std::wstring file = IniValue(L"Disk0File0", (L"File" + std::to_wstring(i)).c_str());
        if (file.empty()) break;
        out.push_back(Utf8(file));
    }
    return out;
}

// The restart hand-over is the way a start shows the favourites panel.
void ShowPanelAtStart(const std::wstring& id, int width) {
    WritePrivateProfileStringW(L"One Run", L"LastCD", id.c_str(), L"qlm.ini");
    WritePrivateProfileStringW(L"One Run", L"ShowFav", std::to_wstring(width).c_str(), L"qlm.ini");
}

void SetInstalledProgram(const std::wstring& programFile) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\VNT Company\\QLM Musical Player", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    if (programFile.empty())
        RegDeleteValueW(key, L"RootDir");
    else
        RegSetValueExW(key, L"RootDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(programFile.c_str()),
                       static_cast<DWORD>((programFile.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// Memory in the shell's process, for the list-view messages that carry pointers.
class Remote {
public:
    explicit Remote(DWORD pid) : process_(OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid)) {
        if (process_) base_ = VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
    }
    ~Remote() {
        if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    char* At(size_t offset) const { return static_cast<char*>(base_) + offset; }
    void Put(size_t offset, const void* data, size_t size) const {
        WriteProcessMemory(process_, At(offset), data, size, nullptr);
    }
    void Get(size_t offset, void* data, size_t size) const {
        ReadProcessMemory(process_, At(offset), data, size, nullptr);
    }

private:
    HANDLE process_;
    void* base_ = nullptr;
};

class FavoritesGui : public ::testing::Test {
protected:
    void SetUp() override {
        if (!StandInBuilt()) GTEST_SKIP() << "the stand-in player is not built";
        CloseStandIn();
        RemoveSettingsFile();
        ResetLanguageChoice();
        SetInstalledProgram(L"");
    }
    void TearDown() override {
        if (main_) Close();
        CloseStandIn();
        SetInstalledProgram(L"");
    }

    void Start(const std::wstring& disk) {
        UsePlayerLog(L"favorites");
        ASSERT_TRUE(shell_.Start(ShellExe(), L"\"" + disk + L"\""));
        Attach();
    }
    void Attach() {
        main_ = shell_.WaitForWindow(kMainClass, kStartTimeout);
        ASSERT_NE(main_, nullptr);
        Pause(1200);
        panel_ = FindWindowExW(main_, nullptr, L"TFavoriPanel", nullptr);
        ASSERT_NE(panel_, nullptr);
        list_ = GetDlgItem(panel_, 102);
        // The tree sits in the catalogue browser's panel.
        tree_ = FindWindowExW(main_, nullptr, WC_TREEVIEWW, nullptr);
        for (HWND child = nullptr; !tree_ && (child = FindWindowExW(main_, child, nullptr, nullptr));)
            tree_ = FindWindowExW(child, nullptr, WC_TREEVIEWW, nullptr);
        ASSERT_NE(list_, nullptr);
        ASSERT_NE(tree_, nullptr);
        SetForegroundWindow(main_);
        Pause(200);
    }
    void Close() {
        PostMessageW(main_, WM_CLOSE, 0, 0);
        EXPECT_TRUE(shell_.WaitExit(15000));
        main_ = nullptr;
    }

    int Count() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }
    std::vector<std::string> Texts() const {
        Remote mem(shell_.Id());
        std::vector<std::string> out;
        for (int i = 0; i < Count(); ++i) {
            LVITEMW item{};
            item.iSubItem = 0;
            item.pszText = reinterpret_cast<wchar_t*>(mem.At(512));
            item.cchTextMax = 256;
            mem.Put(0, &item, sizeof item);
            SendMessageW(list_, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(mem.At(0)));
            wchar_t text[256] = {};
            mem.Get(512, text, sizeof text - 2);
            out.push_back(Utf8(text));
        }
        return out;
    }
    POINT ItemCentre(int i) const {
        Remote mem(shell_.Id());
        RECT rc{LVIR_BOUNDS, 0, 0, 0};
        mem.Put(0, &rc, sizeof rc);
        SendMessageW(list_, LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(mem.At(0)));
        mem.Get(0, &rc, sizeof rc);
        POINT p{rc.left + 20, (rc.top + rc.bottom) / 2};
        ClientToScreen(list_, &p);
        return p;
    }
    // The tree's item `path` of child positions from the root ({0} the first folder, {0, 2} its third song).
    void SelectTreeItem(std::initializer_list<int> path) {
        HTREEITEM item = TreeItem(path);
        ASSERT_NE(item, nullptr);
        SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }

    HTREEITEM TreeItem(std::initializer_list<int> path) const {
        HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        bool first = true;
        for (int step : path) {
            if (!first)
                item = reinterpret_cast<HTREEITEM>(
                    SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
            first = false;
            for (int i = 0; i < step && item; ++i)
                item = reinterpret_cast<HTREEITEM>(
                    SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
        }
        return item;
    }
    POINT TreeItemCentre(HTREEITEM item) const {
        Remote mem(shell_.Id());
        RECT rc{};
        std::memcpy(&rc, &item, sizeof item);  // TVM_GETITEMRECT takes the item in the rectangle
        mem.Put(0, &rc, sizeof rc);
        SendMessageW(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(mem.At(0)));
        mem.Get(0, &rc, sizeof rc);
        POINT p{rc.left + 8, (rc.top + rc.bottom) / 2};
        ClientToScreen(tree_, &p);
        return p;
    }
    void DragPoints(POINT a, POINT b) {
        Mouse(a, MOUSEEVENTF_LEFTDOWN);
        for (int s = 1; s <= 10; ++s)
            Mouse({a.x + (b.x - a.x) * s / 10, a.y + (b.y - a.y) * s / 10}, MOUSEEVENTF_MOVE);
        Mouse(b, MOUSEEVENTF_LEFTUP);
        Pause(400);
    }

    static void Key(WORD vk, bool ctrl) {
        std::vector<INPUT> in;
        auto add = [&](WORD k, bool up) {
            INPUT i{};
            i.type = INPUT_KEYBOARD;
            i.ki.wVk = k;
            i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            if (k == VK_LEFT || k == VK_RIGHT || k == VK_DOWN || k == VK_DELETE) i.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
            in.push_back(i);
        };
        if (ctrl) add(VK_CONTROL, false);
        add(vk, false);
        add(vk, true);
        if (ctrl) add(VK_CONTROL, true);
        SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
        Pause(400);
    }
    static void Mouse(POINT p, DWORD flags) {
        SetCursorPos(p.x, p.y);
        Pause(60);
        if (!flags) return;
        INPUT i{};
        i.type = INPUT_MOUSE;
        i.mi.dwFlags = flags;
        SendInput(1, &i, sizeof i);
        Pause(120);
    }
    void Click(int item) {
        Mouse(ItemCentre(item), MOUSEEVENTF_LEFTDOWN);
        Mouse(ItemCentre(item), MOUSEEVENTF_LEFTUP);
        Pause(300);
    }
    void Drag(int from, int onto) {
        POINT a = ItemCentre(from), b = ItemCentre(onto);
        Mouse(a, MOUSEEVENTF_LEFTDOWN);
        for (int s = 1; s <= 8; ++s) Mouse({a.x + 2 * s, a.y + (b.y - a.y) * s / 8}, MOUSEEVENTF_MOVE);
        Mouse({b.x, b.y}, MOUSEEVENTF_MOVE);
        Mouse(b, MOUSEEVENTF_LEFTUP);
        Pause(400);
    }
    HWND Question() { return WaitForMessageBoxFor(1500); }
    HWND WaitForMessageBoxFor(DWORD ms) {
        for (DWORD waited = 0; waited < ms; waited += 50) {
            if (HWND box = MessageBoxOf(shell_, "Удаление")) return box;
            Pause(50);
        }
        return nullptr;
    }

    ShellProcess shell_;
    HWND main_ = nullptr, panel_ = nullptr, list_ = nullptr, tree_ = nullptr;
};

}  // namespace

TEST_F(FavoritesGui, AddingASongTwiceKeepsOneAndTheListSurvivesARestart) {
    std::wstring disk = MakeFavoritesDisk(L"fav-add", "FAV-DISK", "Любимый диск");
    ShowPanelAtStart(L"FAV-DISK", 170);
    Start(disk);
    EXPECT_TRUE(IsWindowVisible(panel_));
    SelectTreeItem({0, 1});  // "two"
    Key(VK_RIGHT, true);
    Key(VK_RIGHT, true);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"two"}));
    SelectTreeItem({0});  // the folder: every song not yet there, in tree order
    Key(VK_RIGHT, true);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"two", "one", "three", "four", "five"}));
    Click(1);
    Screenshot(L"favorites-list");
    Close();
    EXPECT_EQ(StoredSongs(), (std::vector<std::string>{"Rock\\two.mp3", "Rock\\one.mp3", "Rock\\three.mp3",
                                                        "Rock\\four.mp3", "Rock\\five.mp3"}));
    ShowPanelAtStart(L"FAV-DISK", 170);
    Start(disk);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"two", "one", "three", "four", "five"}));
}

TEST_F(FavoritesGui, DraggingAnItemLandsItInFrontOfTheTarget) {
    std::wstring disk = MakeFavoritesDisk(L"fav-drag", "FAV-DISK", "Любимый диск");
    StoreInSettings(L"FAV-DISK", {"one", "two", "three", "four"});
    ShowPanelAtStart(L"FAV-DISK", 170);
    Start(disk);
    ASSERT_EQ(Count(), 4);
    Click(2);
    Drag(2, 3);  // onto the next item: nothing changes
    EXPECT_EQ(Texts(), (std::vector<std::string>{"one", "two", "three", "four"}));
    Drag(2, 0);  // onto the first: it becomes the first
    EXPECT_EQ(Texts(), (std::vector<std::string>{"three", "one", "two", "four"}));

    // From the tree onto the list: the dragged song is added at the end.
    Key(VK_DOWN, true);  // Ctrl+Down: the whole tree expanded

    HTREEITEM five = TreeItem({0, 4});
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(five));
    DragPoints(TreeItemCentre(five), ItemCentre(3));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"three", "one", "two", "four", "five"}));

    // Out of the list onto the tree: deleted after the question.
    Click(1);
    DragPoints(ItemCentre(1), TreeItemCentre(TreeItem({0, 2})));
    HWND box = Question();
    ASSERT_NE(box, nullptr) << "a drop onto the tree must ask before deleting";
    PressButton(box, 0);
    Pause(400);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"three", "two", "four", "five"}));
    Close();
    EXPECT_EQ(StoredSongs(), (std::vector<std::string>{"Rock\\three.mp3", "Rock\\two.mp3", "Rock\\four.mp3",
                                                        "Rock\\five.mp3"}));
}

TEST_F(FavoritesGui, DeletingAsksFirstAndNoChangesNothing) {
    std::wstring disk = MakeFavoritesDisk(L"fav-delete", "FAV-DISK", "Любимый диск");
    StoreInSettings(L"FAV-DISK", {"one", "two", "three"});
    // Panel hidden: Ctrl+Left does nothing, asks nothing.
    Start(disk);
    EXPECT_FALSE(IsWindowVisible(panel_));
    ASSERT_EQ(Count(), 3);
    Key(VK_LEFT, true);
    EXPECT_EQ(Question(), nullptr);
    EXPECT_EQ(Count(), 3);
    Close();

    ShowPanelAtStart(L"FAV-DISK", 170);
    Start(disk);
    Click(1);
    Key(VK_DELETE, false);
    HWND box = Question();
    ASSERT_NE(box, nullptr) << "Delete must ask";
    Screenshot(L"favorites-delete-question");
    PressButton(box, 1);  // "Нет"
    Pause(400);
    Key(VK_DELETE, true);  // Ctrl+Delete: the other question
    box = Question();
    ASSERT_NE(box, nullptr) << "Ctrl+Delete must ask";
    PressButton(box, 1);
    Pause(400);
    EXPECT_EQ(Count(), 3);
    // Nothing was changed, so nothing is saved: a mark put into the settings survives the close.
    WritePrivateProfileStringW(L"Disk0File0", L"Song0", L"MARK", L"qlm.ini");
    Close();
    EXPECT_EQ(IniValue(L"Disk0File0", L"Song0"), L"MARK");

    ShowPanelAtStart(L"FAV-DISK", 170);
    Start(disk);
    Click(1);
    Key(VK_LEFT, true);  // Ctrl+Left anywhere in the window
    box = Question();
    ASSERT_NE(box, nullptr);
    PressButton(box, 0);  // "Да"
    Pause(400);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"one", "three"}));
    Key(VK_DELETE, true);
    box = Question();
    ASSERT_NE(box, nullptr);
    PressButton(box, 0);
    Pause(400);
    EXPECT_EQ(Count(), 0);
    Key(VK_DELETE, true);  // an empty list asks nothing
    EXPECT_EQ(Question(), nullptr);
    Close();
    EXPECT_TRUE(StoredSongs().empty());
}

TEST_F(FavoritesGui, InstalledProgramKeepsTheFavouritesInItsFile) {
    // An installed copy: favorites.dat beside it takes over the settings' lists.
    std::wstring installed = FreshFolder(L"fav-installed");
    ASSERT_TRUE(CopyFileTo(ShellExe(), installed + L"\\qlm.exe"));
    SetInstalledProgram(installed + L"\\qlm.exe");
    std::wstring disk = MakeFavoritesDisk(L"fav-file", "FAV-DISK", "Любимый диск");
    StoreInSettings(L"FAV-DISK", {"four", "five"});
    ShowPanelAtStart(L"FAV-DISK", 170);
    Start(disk);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"four", "five"}));
    EXPECT_FALSE(IniHasSection(L"Disks"));
    SelectTreeItem({0, 0});
    Key(VK_RIGHT, true);
    Close();
    std::string image = ReadFileBytes(installed + L"\\favorites.dat");
    qlm::fav::StoreInfo info = qlm::fav::DescribeImage(&image);
    ASSERT_EQ(info.entries.size(), 1u);
    EXPECT_EQ(info.entries[0].name, "FAV-DISK");
    ASSERT_EQ(info.entries[0].chain.size(), 1u);
    std::vector<std::string> paths;
    for (const auto& r : info.entries[0].chain[0].records) paths.push_back(r.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"Rock\\four.mp3", "Rock\\five.mp3", "Rock\\one.mp3"}));
    EXPECT_FALSE(IniHasSection(L"Disk0File0"));
}

TEST_F(FavoritesGui, EachDiskKeepsItsOwnFavouritesAcrossADiskChange) {
    CdRomDrive drive(L'K');
    if (!drive.Made()) GTEST_SKIP() << "no CD-ROM drive can be made here";
    std::wstring diskA = MakeFavoritesDisk(L"fav-cd-a", "FAV-A", "Диск А");
    std::wstring diskB = MakeFavoritesDisk(L"fav-cd-b", "FAV-B", "Диск Б");
    LabelDisk(diskA, "MUSIC", 0x1234AAAA);
    LabelDisk(diskB, "MUSIC", 0x5678BBBB);
    ASSERT_TRUE(CopyFileTo(ShellExe(), diskA + L"\\qlm.exe"));
    ASSERT_TRUE(drive.Insert(diskA));
    StoreInSettings(L"FAV-A", {"one", "two"});
    UsePlayerLog(L"favorites-cd");
    ASSERT_TRUE(shell_.Start(drive.Root() + L"qlm.exe", L""));
    Attach();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"one", "two"}));
    SelectTreeItem({0, 4});
    Key(VK_RIGHT, true);
    EXPECT_EQ(Count(), 3);

    ASSERT_TRUE(drive.Eject());
    Pause(1000);
    ASSERT_TRUE(drive.Insert(diskB));
    for (int i = 0; i < 100 && Utf8(WindowText(main_)) != "Диск Б"; ++i) Pause(50);
    ASSERT_EQ(Utf8(WindowText(main_)), "Диск Б");
    Pause(500);
    EXPECT_EQ(Count(), 0);  // the other disk has none yet
    EXPECT_EQ(StoredSongs(), (std::vector<std::string>{"Rock\\one.mp3", "Rock\\two.mp3", "Rock\\five.mp3"}));
    SelectTreeItem({0, 2});
    Key(VK_RIGHT, true);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"three"}));

    ASSERT_TRUE(drive.Eject());
    Pause(1000);
    ASSERT_TRUE(drive.Insert(diskA));
    for (int i = 0; i < 100 && Utf8(WindowText(main_)) != "Диск А"; ++i) Pause(50);
    Pause(500);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"one", "two", "five"}));
    Close();
    EXPECT_EQ(IniValue(L"Disks", L"Disk1"), L"FAV-B");
    EXPECT_EQ(IniValue(L"Disk1File0", L"File0"), L"Rock\\three.mp3");
}
