// "Автоматическое обновление" under Wine, against the loopback server of
// tests/tools/update_server.py (the test runs inside it): the check's
// outcomes, the download with its progress display, the save dialog, the
// failures and the abort, and the whole update from a disk in a CD-ROM drive
// through the real installer to the installed shell playing on.
//
// The shell's own version is set per scenario by copies of qlm.exe whose
// FileVersion string is rewritten in place (same length); the installed
// version is that of the file RootDir names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/gui_disks.h"

#include <psapi.h>
#include "qlm_version.h"

using namespace qlm::test;

namespace {

constexpr const wchar_t* kDialogClass = L"TUpdateQLMForm";
constexpr const wchar_t* kInstallDir = L"C:\\Program Files\\QLM Musical Player";
constexpr const wchar_t* kRegKey = L"SOFTWARE\\VNT Company\\QLM Musical Player";
constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QLM Musical Player";
constexpr int kYes = 0, kNo = 1;

std::wstring EnvText(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::wstring(v, v + strlen(v)) : std::wstring();
}
std::wstring Server() { return EnvText("QLM_UPDATE_SERVER"); }
std::wstring Root() {
    const char* v = std::getenv("QLM_UPDATE_ROOT");
    return v ? WindowsPath(v) : std::wstring();
}
void Serve(const std::wstring& name, const std::string& bytes) {
    WriteFileBytes(Root() + L"\\mp3player\\" + name, bytes);
}
void Control(const std::string& json) { WriteFileBytes(Root() + L"\\control.json", json); }
std::string Requests() { return ReadFileBytes(Root() + L"\\requests.log"); }

void PointShellAt(const std::wstring& server) {
    WritePrivateProfileStringW(L"Update", L"Server", server.c_str(), L"qlm.ini");
    WritePrivateProfileStringW(L"Update", L"HomePage", (Server() + L"/home").c_str(), L"qlm.ini");
}

std::string Utf16Le(const std::string& ascii) {
    std::string out;
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

// A copy of the built shell in `folder` whose FileVersion reads `version`
// (padded with leading zeros to the built version's length).
std::wstring ShellWithVersion(const std::wstring& folder, std::string version) {
    std::string exe = ReadFileBytes(ShellExe());
    const std::string built = QLM_VERSION_TEXT;
    while (version.size() < built.size()) version.insert(version.begin(), '0');
    if (version.size() != built.size()) return {};
    size_t key = exe.find(Utf16Le("FileVersion"));
    if (key == std::string::npos) return {};
    size_t at = exe.find(Utf16Le(built), key);
    if (at == std::string::npos) return {};
    exe.replace(at, version.size() * 2, Utf16Le(version));
    std::wstring path = folder + L"\\qlm.exe";
    return WriteFileBytes(path, exe) ? path : std::wstring();
}

void SetInstalledProgram(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRegKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key, L"RootDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::wstring RegistryValue(const wchar_t* keyPath, const wchar_t* name, bool* exists = nullptr) {
    wchar_t buf[1024] = {};
    DWORD size = sizeof buf - sizeof(wchar_t), type = 0;
    HKEY key = nullptr;
    bool found = RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS;
    if (found) {
        found = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) == ERROR_SUCCESS &&
                type == REG_SZ;
        RegCloseKey(key);
    }
    if (exists) *exists = found;
    return found ? std::wstring(buf) : std::wstring();
}

// No installed copy: the registry's RootDir, the uninstaller's key and the folder go.
void RemoveInstallation() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRegKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, L"RootDir");
        RegCloseKey(key);
    }
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kUninstallKey);
    RemoveTree(kInstallDir);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

UINT OpenUpdateMessage() { return RegisterWindowMessageW(L"QLM Musical Player.QLM1Click"); }

std::string BoxText(HWND box) {
    wchar_t buf[1024] = {};
    GetDlgItemTextW(box, 999, buf, 1024);
    return Utf8(buf);
}

// The next skinned box of the shell with this caption, and its text.
struct Box {
    HWND hwnd = nullptr;
    std::string text;
};
constexpr const char* kWaitingText = "Подождите пожалуйста. Идёт поиск обновлений.";
// The waiting box of the check counts only when asked for.
Box WaitBox(const ShellProcess& shell, const std::string& caption, bool waitingBox = false) {
    for (int i = 0; i < 300 && shell.Running(); ++i) {
        for (HWND h : shell.TopLevelWindows(true)) {
            if (ClassOf(h) != L"TMessageForm" || Utf8(WindowText(h)) != caption) continue;
            if (!GetDlgItem(h, 999)) continue;  // a box on its way out
            std::string text = BoxText(h);
            if ((text == kWaitingText) == waitingBox) return {h, text};
        }
        Pause(50);
    }
    return {};
}
void Answer(const Box& box, int button) {
    PressButton(box.hwnd, button);
    for (int i = 0; i < 100 && IsWindow(box.hwnd) && IsWindowVisible(box.hwnd); ++i) Pause(30);
}

// The shell's common save dialog.
HWND WaitSaveDialog(const ShellProcess& shell) { return shell.WaitForWindow(L"#32770", 15000); }
HWND FileNameEdit(HWND dialog) {
    HWND combo = GetDlgItem(dialog, 0x47c);  // cmb13, the name box of the explorer-style dialog
    if (combo) {
        if (HWND edit = reinterpret_cast<HWND>(SendMessageW(combo, WM_USER + 7, 0, 0)))  // CBEM_GETEDITCONTROL
            return edit;
        for (HWND inner = FindWindowExW(combo, nullptr, nullptr, nullptr); inner;
             inner = FindWindowExW(combo, inner, nullptr, nullptr))
            if (HWND edit = FindWindowExW(inner, nullptr, L"Edit", nullptr)) return edit;
    }
    if (HWND edit = GetDlgItem(dialog, 0x480)) return edit;  // edt1
    return FindWindowExW(dialog, nullptr, L"Edit", nullptr);
}
void CancelSaveDialog(HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 100 && IsWindow(dialog); ++i) Pause(30);
}
std::string Children(HWND dialog) {
    std::string out;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        out += Utf8(ClassOf(c)) + "#" + std::to_string(GetDlgCtrlID(c)) + "'" + Utf8(WindowText(c)) + "' ";
    return out;
}
bool SaveAs(HWND dialog, const std::wstring& path) {
    HWND edit = FileNameEdit(dialog);
    if (!edit) {
        ADD_FAILURE() << "no file name field: " << Children(dialog);
        return false;
    }
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 200 && IsWindow(dialog); ++i) Pause(30);
    return !IsWindow(dialog);
}

// The texts of the dialog's labels, in creation order.
std::vector<std::string> ChildTexts(HWND dialog) {
    std::vector<std::string> out;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(Utf8(WindowText(c)));
    return out;
}
bool AnyContains(const std::vector<std::string>& texts, const std::string& what) {
    for (const auto& t : texts)
        if (t.find(what) != std::string::npos) return true;
    return false;
}

std::wstring StubLog() { return BinaryDir() + L"\\gui-test\\installer-stub.log"; }
std::string StubInstaller(size_t padTo = 0) {
    std::string exe = ReadFileBytes(BinaryDir() + L"\\tests\\tools\\installer_stub.exe");
    if (!exe.empty() && exe.size() < padTo) exe.resize(padTo, '\x5a');  // trailing data a PE loader ignores
    return exe;
}

size_t TempInstallers() {
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    size_t n = 0;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((std::wstring(dir) + L"qlm*.tmp").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do ++n;
    while (FindNextFileW(h, &fd));
    FindClose(h);
    return n;
}

class UpdateGui : public ::testing::Test {
protected:
    void SetUp() override {
        if (Server().empty()) GTEST_SKIP() << "run through tests/tools/update_server.py";
        if (!StandInBuilt()) GTEST_SKIP() << "the stand-in player is not built";
        CloseStandIn();
        RemoveSettingsFile();
        ResetLanguageChoice();
        RemoveInstallation();
        Control("{}");
        DeleteFileW((Root() + L"\\requests.log").c_str());
        DeleteFileW(StubLog().c_str());
        SetEnvironmentVariableW(L"QLM_STUB_LOG", StubLog().c_str());
        Serve(L"version.dat", QLM_VERSION_TEXT);
        Serve(L"QLMsetup.exe", StubInstaller());
    }
    void TearDown() override {
        if (shell_.Running()) {
            if (HWND main = shell_.WaitForWindow(kMainClass, 0)) PostMessageW(main, WM_CLOSE, 0, 0);
            if (!shell_.WaitExit(10000)) shell_.Kill();
        }
        CloseStandIn();
        RemoveInstallation();
    }

    // Starts `exe` on the disk folder with the shell pointed at `server`.
    HWND Start(const std::wstring& exe, const std::wstring& disk, const std::wstring& server) {
        PointShellAt(server);
        if (!shell_.Start(exe, disk.empty() ? L"" : L"\"" + disk + L"\"")) return nullptr;
        HWND main = shell_.WaitForWindow(kMainClass, kStartTimeout);
        Pause(800);
        return main;
    }
    void OpenUpdate(HWND main) { PostMessageW(main, OpenUpdateMessage(), 0, 0); }
    // The dialog is gone and the main window usable again. (Under Wine
    // without a window manager hiding a window takes up to 2 s.)
    bool Settled(HWND main, DWORD ms = 10000) {
        DWORD start = GetTickCount();
        for (;;) {
            bool dialog = false;
            for (HWND h : shell_.TopLevelWindows(false)) dialog = dialog || ClassOf(h) == kDialogClass;
            if (!dialog && IsWindowEnabled(main)) return true;
            if (GetTickCount() - start > ms || !shell_.Running()) return false;
            Pause(50);
        }
    }

    ShellProcess shell_;
};

}  // namespace

// The check alone: which message each server answer gives, and that nothing
// is downloaded for it.
TEST_F(UpdateGui, CheckOutcomesWithoutDownload) {
    std::wstring disk = MakeDisk(L"update-check");
    UsePlayerLog(L"update-check");

    // Server 2.0.0.0, own 1.9.9.9, installed 2.0.0.0: already on the hard disk.
    std::wstring old = ShellWithVersion(FreshFolder(L"update-shell-1999"), "1.9.9.9");
    ASSERT_FALSE(old.empty());
    SetInstalledProgram(ShellExe());
    Serve(L"version.dat", QLM_VERSION_TEXT);
    HWND main = Start(old, disk, Server());
    ASSERT_NE(main, nullptr);
    OpenUpdate(main);
    Box box = WaitBox(shell_, "Обновление");
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.text, "На вашем жестком диске уже обнаружена последняя версия QLM Musical Player! "
                        "Обновление не требуется.");
    Answer(box, 0);
    EXPECT_TRUE(Settled(main));
    EXPECT_NE(Requests().find("GET /mp3player/version.dat"), std::string::npos) << Requests();
    EXPECT_EQ(Requests().find("QLMsetup.exe"), std::string::npos) << Requests();
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(shell_.WaitExit(15000));
    RemoveInstallation();

    // Own 1.2.0.0 from here on.
    std::wstring own12 = ShellWithVersion(FreshFolder(L"update-shell-12"), "1.2.0.0");
    ASSERT_FALSE(own12.empty());
    main = Start(own12, disk, Server());
    ASSERT_NE(main, nullptr);
    const std::string upToDate =
        "На данный момент у Вас имеется самая последняя версия QLM Musical Player. Обновление не требуется!";
    // "1.2" is 1.2.0.0; "1.2.0.1" followed by a line break is 1.2.0.0 as well.
    for (const char* served : {"1.2", "1.2.0.1\r\n"}) {
        Serve(L"version.dat", served);
        OpenUpdate(main);
        box = WaitBox(shell_, "QLM Musical Player");
        ASSERT_NE(box.hwnd, nullptr) << served;
        EXPECT_EQ(box.text, upToDate) << served;
        Answer(box, 0);
        box = WaitBox(shell_, "QLM Musical Player");
        ASSERT_NE(box.hwnd, nullptr) << served;
        EXPECT_EQ(box.text, "Хотите ли Вы посетить наш сайт?");
        Answer(box, kNo);
        EXPECT_TRUE(Settled(main)) << served;
    }

    // A missing file on the server.
    Control(R"({"version.dat": {"mode": "missing"}})");
    OpenUpdate(main);
    box = WaitBox(shell_, "Ошибка");
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.text, "Запрашиваемый файл отсутствует или недоступен!");
    Answer(box, 0);
    EXPECT_TRUE(Settled(main));

    // No server at all.
    PointShellAt(EnvText("QLM_UPDATE_DEAD_URL"));
    OpenUpdate(main);
    box = WaitBox(shell_, "Ошибка");
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.text, "Нет доступа к интернету");
    Answer(box, 0);
    EXPECT_TRUE(Settled(main));
    PointShellAt(Server());

    // Cancelling the waiting box: no message, no dialog, the window usable again.
    Control(R"({"version.dat": {"mode": "delay", "seconds": 10}})");
    OpenUpdate(main);
    box = WaitBox(shell_, "Обновление", true);
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_TRUE(GetWindowLongW(box.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Screenshot(L"update-waiting");
    Answer(box, 0);
    DWORD cancelled = GetTickCount();
    EXPECT_TRUE(Settled(main));
    // Well before the server answers (hiding a window alone takes 2 s here).
    EXPECT_LT(GetTickCount() - cancelled, 7000u) << "the check went on after the cancel";
    Pause(10000 - std::min<DWORD>(GetTickCount() - cancelled, 10000) + 500);  // past the server's answer
    EXPECT_EQ(MessageBoxOf(shell_, "Ошибка"), nullptr);
    EXPECT_EQ(MessageBoxOf(shell_, "QLM Musical Player"), nullptr);
    EXPECT_EQ(shell_.WaitForWindow(kDialogClass, 0), nullptr);
    EXPECT_TRUE(shell_.Running());
}

// A broken transfer is reported and nothing is started; cancelling the save
// dialog and keeping the installer in the temporary folder starts it from
// there and hands its path over.
TEST_F(UpdateGui, BrokenDownloadThenTemporaryInstaller) {
    std::wstring disk = MakeDisk(L"update-download");
    UsePlayerLog(L"update-download");
    std::wstring old = ShellWithVersion(FreshFolder(L"update-shell-old"), "1.9.9.9");
    ASSERT_FALSE(old.empty());
    HWND main = Start(old, disk, Server());
    ASSERT_NE(main, nullptr);
    const size_t tempsBefore = TempInstallers();

    // The server announces more than it sends.
    Control(R"({"QLMsetup.exe": {"mode": "short"}})");
    OpenUpdate(main);
    Box box = WaitBox(shell_, "Ошибка");
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.text, "Ошибка при получении файла!");
    Answer(box, 0);
    EXPECT_TRUE(Settled(main));
    EXPECT_FALSE(Exists(StubLog())) << "a broken download was started";
    EXPECT_EQ(TempInstallers(), tempsBefore);
    EXPECT_FALSE(IniHasSection(L"One Run"));

    // A whole download: the save dialog closed, "Нет" brings it back, closed
    // again, "Да" keeps the installer in the temporary file.
    Control("{}");
    OpenUpdate(main);
    HWND save = WaitSaveDialog(shell_);
    ASSERT_NE(save, nullptr);
    CancelSaveDialog(save);
    box = WaitBox(shell_, "Обновление");
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.text, "Вы действительно хотите отказаться от сохранения данного файла?");
    Answer(box, kNo);
    save = WaitSaveDialog(shell_);
    ASSERT_NE(save, nullptr) << "the save dialog did not come back";
    CancelSaveDialog(save);
    box = WaitBox(shell_, "Обновление");
    ASSERT_NE(box.hwnd, nullptr);
    Answer(box, kYes);
    box = WaitBox(shell_, "QLM Musical Player");
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.text, "Обновление завершено! Хотите ли Вы посетить наш сайт?");
    Answer(box, kNo);
    DWORD code = 1;
    ASSERT_TRUE(shell_.WaitExit(15000, &code)) << "the shell did not close for the installer";
    EXPECT_EQ(code, 0u);
    for (int i = 0; i < 100 && !Exists(StubLog()); ++i) Pause(50);

    std::string started = ReadFileBytes(StubLog());
    std::wstring inst = IniValue(L"One Run", L"InstFile");
    ASSERT_FALSE(inst.empty());
    EXPECT_EQ(started, "\"" + Utf8(inst) + "\" #AU\n");
    EXPECT_TRUE(Exists(inst));
    EXPECT_EQ(IniValue(L"One Run", L"LastCD"), L"GUI-DISK-1");
    DeleteFileW(inst.c_str());
}

// A slow download: the progress display, hiding the dialog while it goes
// on, showing it again, and the abort.
TEST_F(UpdateGui, SlowDownloadShowsProgressAndCanBeAborted) {
    std::wstring disk = MakeDisk(L"update-slow");
    UsePlayerLog(L"update-slow");
    std::wstring old = ShellWithVersion(FreshFolder(L"update-shell-slow"), "1.9.9.9");
    ASSERT_FALSE(old.empty());
    Serve(L"QLMsetup.exe", StubInstaller(3 * 1024 * 1024));
    Control(R"({"QLMsetup.exe": {"mode": "slow", "rate": 250000}})");
    HWND main = Start(old, disk, Server());
    ASSERT_NE(main, nullptr);
    const size_t tempsBefore = TempInstallers();
    OpenUpdate(main);
    HWND dialog = shell_.WaitForWindow(kDialogClass, 10000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main));
    Pause(3200);
    auto texts = ChildTexts(dialog);
    Screenshot(L"update-progress");
    EXPECT_TRUE(AnyContains(texts, " KB")) << Utf8(WindowText(dialog));
    EXPECT_TRUE(AnyContains(texts, " %"));
    EXPECT_TRUE(AnyContains(texts, " bps"));
    EXPECT_TRUE(AnyContains(texts, "0:0"));
    EXPECT_TRUE(AnyContains(texts, "Удалить дистрибутив после установки"));

    // Hidden, the download goes on and the main window is usable.
    PostMessageW(GetDlgItem(dialog, 102), BM_CLICK, 0, 0);
    Pause(2500);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_TRUE(IsWindowEnabled(main));
    OpenUpdate(main);  // the menu item again shows the same dialog
    Pause(1500);
    EXPECT_EQ(shell_.WaitForWindow(kDialogClass, 0), dialog);
    EXPECT_FALSE(IsWindowEnabled(main));

    PostMessageW(GetDlgItem(dialog, 101), BM_CLICK, 0, 0);  // "Закрыть"
    Box box = WaitBox(shell_, "Предупреждение");
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.text, "Вы действительно хотите прервать обновление?");
    Answer(box, kYes);
    box = WaitBox(shell_, "Обновление");
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.text, "Обновление было прервано.");
    Answer(box, 0);
    EXPECT_TRUE(Settled(main));
    Pause(1000);
    EXPECT_EQ(MessageBoxOf(shell_, "Ошибка"), nullptr) << "an abort showed the download error";
    EXPECT_TRUE(shell_.Running());
    EXPECT_FALSE(Exists(StubLog()));
    EXPECT_EQ(TempInstallers(), tempsBefore);
}

// The whole update: the shell runs from the disk in a CD-ROM drive and plays
// the third song at 20 s; the server has a newer version; the real installer
// is downloaded, saved under a folder with a space, started with "#AU"; the
// shell ends, the installed shell starts from the program files folder and
// plays the same list on from the third song near 20 s.
TEST_F(UpdateGui, UpdateFromTheCdResumesInTheInstalledShell) {
    const std::wstring setup = BinaryDir() + L"\\installer\\QLMsetup.exe";
    if (!Exists(setup)) GTEST_SKIP() << "QLMsetup.exe is not built (makensis missing)";
    CdRomDrive drive(L'K');
    if (!drive.Made()) GTEST_SKIP() << "no CD-ROM drive can be made here";
    std::wstring disk = MakeDisk(L"update-cd", {.songFrames = 2600});  // songs of about 68 s
    LabelDisk(disk, "MUSIC", 0x3333CCCC);
    ASSERT_FALSE(ShellWithVersion(disk, "1.9.9.9").empty());
    ASSERT_TRUE(drive.Insert(disk));
    Serve(L"QLMsetup.exe", ReadFileBytes(setup));

    // The third song at 20 s, through the hand-over the shell resumes at start.
    const std::wstring root = drive.Root();
    WritePrivateProfileStringW(L"One Run", L"LastCD", L"GUI-DISK-1", L"qlm.ini");
    WritePrivateProfileStringW(L"One Run", L"PlayIndex", L"2", L"qlm.ini");
    WritePrivateProfileStringW(L"One Run", L"isPlay", L"1", L"qlm.ini");
    WritePrivateProfileStringW(L"One Run", L"PlayFilePos", L"20000", L"qlm.ini");
    WritePrivateProfileStringW(L"One Run", L"PlayMode", L"2", L"qlm.ini");
    WritePrivateProfileStringW(L"WAList", L"File0", (root + L"Sound\\Rock\\one.mp3").c_str(), L"qlm.ini");
    WritePrivateProfileStringW(L"WAList", L"File1", (root + L"Sound\\Rock\\two.mp3").c_str(), L"qlm.ini");
    WritePrivateProfileStringW(L"WAList", L"File2", (root + L"Sound\\Pop\\three.mp3").c_str(), L"qlm.ini");
    std::wstring log = UsePlayerLog(L"update-cd");
    HWND main = Start(root + L"qlm.exe", L"", Server());
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(AskPlayer(125), 2);
    EXPECT_EQ(AskPlayer(104), 1);
    const size_t firstRunLog = ReadFileBytes(log).size();

    std::wstring saveDir = FreshFolder(L"update saved copy");
    std::wstring saved = saveDir + L"\\QLMsetup.exe";
    OpenUpdate(main);
    HWND save = WaitSaveDialog(shell_);
    ASSERT_NE(save, nullptr);
    Screenshot(L"update-save-dialog");
    ASSERT_TRUE(SaveAs(save, saved));
    Box box = WaitBox(shell_, "QLM Musical Player");
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.text, "Обновление завершено! Хотите ли Вы посетить наш сайт?");
    // What the shell hands over, seen before the installed shell takes it.
    int handedPosition = _wtoi(IniValue(L"One Run", L"PlayFilePos").c_str());
    EXPECT_EQ(IniValue(L"One Run", L"PlayIndex"), L"2");
    EXPECT_EQ(IniValue(L"One Run", L"isPlay"), L"1");
    EXPECT_EQ(IniValue(L"One Run", L"PlayMode"), L"2");
    EXPECT_EQ(IniValue(L"One Run", L"InstFile"), L"") << "a saved installer is no temporary file";
    EXPECT_EQ(IniValue(L"WAList", L"File2"), root + L"Sound\\Pop\\three.mp3");
    EXPECT_GE(handedPosition, 20000);
    EXPECT_LT(handedPosition, 45000);
    Answer(box, kNo);
    DWORD code = 1;
    ASSERT_TRUE(shell_.WaitExit(20000, &code)) << "the shell did not close for the installer";

    // The installed shell, started by the installer.
    HWND installed = nullptr;
    DWORD installedPid = 0;
    for (int i = 0; i < 600 && !installed; ++i) {
        Pause(100);
        HWND w = FindWindowW(kMainClass, nullptr);
        if (w && IsWindowVisible(w)) installed = w;
    }
    ASSERT_NE(installed, nullptr) << "the installed shell did not start";
    GetWindowThreadProcessId(installed, &installedPid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, installedPid);
    wchar_t image[MAX_PATH * 2] = {};
    if (process) GetModuleFileNameExW(process, nullptr, image, MAX_PATH * 2);
    EXPECT_EQ(_wcsicmp(image, (std::wstring(kInstallDir) + L"\\qlm.exe").c_str()), 0) << Utf8(image);
    Pause(1500);
    Screenshot(L"update-resumed");

    EXPECT_EQ(AskPlayer(124), 3);
    EXPECT_EQ(AskPlayer(125), 2);
    EXPECT_EQ(AskPlayer(104), 1);
    LRESULT position = AskPlayer(105);
    EXPECT_GE(position, handedPosition);
    EXPECT_LT(position, handedPosition + 15000);
    std::string second = ReadFileBytes(log).substr(firstRunLog);
    EXPECT_NE(second.find("three.mp3"), std::string::npos) << second;
    EXPECT_NE(second.find("wParam=" + std::to_string(handedPosition) + " lParam=106"), std::string::npos) << second;
    EXPECT_FALSE(IniHasSection(L"One Run"));
    EXPECT_FALSE(IniHasSection(L"WAList"));

    // What the installer left: the program and its folder, the registry
    // values, the uninstaller; the saved copy where the user put it.
    EXPECT_TRUE(Exists(saved));
    EXPECT_TRUE(Exists(std::wstring(kInstallDir) + L"\\English.lng"));
    EXPECT_TRUE(Exists(std::wstring(kInstallDir) + L"\\uninstall.exe"));
    EXPECT_EQ(RegistryValue(kRegKey, L"RootDir"), std::wstring(kInstallDir) + L"\\qlm.exe");
    bool languageWritten = false;
    RegistryValue(kRegKey, L"Language", &languageWritten);
    EXPECT_TRUE(languageWritten);
    EXPECT_FALSE(RegistryValue(kUninstallKey, L"UninstallString").empty());

    PostMessageW(installed, WM_CLOSE, 0, 0);
    if (process) {
        EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
        CloseHandle(process);
    }
    drive.Eject();
}
