#include "app/gui_disks.h"

#include "base/text_codec.h"
#include "content/description_stream.h"

namespace qlm::test {

std::wstring ShellExe() { return BinaryDir() + L"\\src\\app\\qlm.exe"; }
std::wstring StandInExe() { return BinaryDir() + L"\\src\\player\\Winamp.exe"; }
bool StandInBuilt() { return GetFileAttributesW(StandInExe().c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Cp1251(std::string_view utf8) { return EncodeFromUtf8(utf8, 204); }
std::string Utf8(const std::wstring& text) { return Utf16ToUtf8(std::u16string(text.begin(), text.end())); }

namespace {

std::string Z(const std::string& a, const std::string& b) { return a + std::string(1, '\0') + b; }

// A silent MP3: MPEG-1 layer III frames at 128 kbit/s, 44.1 kHz.
std::string SilentMp3(int frames) {
    std::string frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    frame[3] = '\x00';
    std::string out;
    for (int i = 0; i < frames; ++i) out += frame;
    return out;
}

}  // namespace

std::wstring MakeDisk(const std::wstring& name, const TestDisk& disk) {
    std::wstring dir = FreshFolder(name);
    DescriptionWriter w;
    w.WriteShortRecord("CDQLM=" + disk.id);
    w.WriteShortRecord("CDRUS=" + Cp1251(disk.titleUtf8));
    if (disk.dualNames) w.WriteShortRecord("DL=1");
    if (disk.allPages) {
        w.WriteShortRecord("PVT=1");
        w.WriteShortRecord("PSSH=1");
        w.WriteShortRecord("P='" + Cp1251("Об альбоме") + "' FN='info.htm'");
        w.WriteShortRecord("P='" + Cp1251(disk.anonsCaptionUtf8) + "' FN='" + disk.anonsFile + "'");
        w.WriteShortRecord("P='" + Cp1251("Помощь") + "' FN='help.htm'");
        for (const auto& [caption, file] : disk.morePages)
            w.WriteShortRecord("P='" + Cp1251(caption) + "' FN='" + file + "'");
        w.WriteShortRecord("PICList");
        for (const auto& [file, caption] : disk.slides) w.WriteLongRecord(Z(file, Cp1251(caption)));
        w.WriteLongRecord("\x01\x02\x03#PICList");
    }
    w.WriteShortRecord("EndOfCFG");
    auto names = [&](const std::string& first, const std::string& second) {
        return disk.dualNames ? Z(first, second) : first;
    };
    w.WriteShortRecord(Z("F=Rock", "N=" + names(Cp1251("Рок"), "Rock")));
    w.WriteShortRecord(Z("FN=one.mp3", "N=" + names(Cp1251("Первая"), "First")));
    w.WriteShortRecord(Z("FN=two.mp3", "N=" + names(Cp1251("Вторая"), "Second")));
    if (disk.secondFolder) {
        w.WriteShortRecord(Z("F=Pop", "N=Pop"));
        w.WriteShortRecord(Z("FN=three.mp3", "N=Three"));
    }
    WriteFileBytes(dir + L"\\qlm.cfg", w.Take());
    for (const wchar_t* folder : {L"\\Sound", L"\\Sound\\Rock", L"\\Sound\\Pop"})
        CreateDirectoryW((dir + folder).c_str(), nullptr);
    std::string song = SilentMp3(disk.songFrames);
    for (const wchar_t* file : {L"\\Sound\\Rock\\one.mp3", L"\\Sound\\Rock\\two.mp3", L"\\Sound\\Pop\\three.mp3"})
        WriteFileBytes(dir + file, song);
    if (disk.withPlayer) {
        CreateDirectoryW((dir + L"\\Player").c_str(), nullptr);
        CopyFileTo(StandInExe(), dir + L"\\Player\\Winamp.exe");
    }
    return dir;
}

std::wstring UsePlayerLog(const std::wstring& name) {
    std::wstring log = BinaryDir() + L"\\gui-test\\" + name + L".log";
    DeleteFileW(log.c_str());
    SetEnvironmentVariableW(L"QLM_WINAMP_LOG", log.c_str());
    return log;
}

LRESULT AskPlayer(LPARAM request) {
    HWND w = FindWindowW(L"Winamp v1.x", nullptr);
    DWORD_PTR answer = static_cast<DWORD_PTR>(-2);
    if (w) SendMessageTimeoutW(w, WM_USER, 0, request, SMTO_ABORTIFHUNG, 3000, &answer);
    return static_cast<LRESULT>(answer);
}

bool EnqueueInPlayer(const std::wstring& file) {
    HWND w = FindWindowW(L"Winamp v1.x", nullptr);
    if (!w) return false;
    std::string ansi(file.begin(), file.end());  // the test's paths are ASCII
    COPYDATASTRUCT cds{100, static_cast<DWORD>(ansi.size() + 1), ansi.data()};
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(w, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, 3000, &answer) &&
           answer == 1;
}

void CommandPlayer(WPARAM command) {
    HWND w = FindWindowW(L"Winamp v1.x", nullptr);
    DWORD_PTR answer = 0;
    if (w) SendMessageTimeoutW(w, WM_COMMAND, command, 0, SMTO_ABORTIFHUNG, 3000, &answer);
}

void CloseStandIn() {
    for (int i = 0; i < 100; ++i) {
        HWND w = FindWindowW(L"Winamp v1.x", nullptr);
        if (!w) return;
        PostMessageW(w, WM_CLOSE, 0, 0);
        Pause(50);
    }
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

HWND MessageBoxOf(const ShellProcess& p, const std::string& captionUtf8) {
    for (HWND h : p.TopLevelWindows(true))
        if (ClassOf(h) == L"TMessageForm" && Utf8(WindowText(h)) == captionUtf8) return h;
    return nullptr;
}

HWND WaitForMessageBox(const ShellProcess& p, const std::string& captionUtf8) {
    for (int i = 0; i < 300 && p.Running(); ++i) {
        if (HWND box = MessageBoxOf(p, captionUtf8)) return box;
        Pause(50);
    }
    return nullptr;
}

void PressButton(HWND box, int index) {
    if (HWND button = GetDlgItem(box, 1000 + index))
        PostMessageW(button, BM_CLICK, 0, 0);
    else
        PostMessageW(box, WM_CLOSE, 0, 0);
}

}  // namespace qlm::test
