// Selecting the next song with a 50 KB ".txt" text and with a 200 KB ".htm"
// text: the time from ShowText until the text window has painted, median of
// many selections.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "content/catalogue.h"
#include "content/description_stream.h"
#include "pages/text_form.h"

using namespace qlm;

namespace {

std::wstring TempFolder() {
    wchar_t buf[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, buf);
    std::wstring dir = std::wstring(buf) + L"qlm-text-bench";
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

void Write(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(f);
}

std::string Z(const std::string& a, const std::string& b) { return a + std::string(1, '\0') + b; }

// About 50 KB of Cyrillic lyrics in Windows-1251.
std::string Lyrics(int seed) {
    std::string line = EncodeFromUtf8("Куплет песни номер " + std::to_string(seed) + ", строка текста для проверки ", 204);
    std::string out;
    for (int i = 0; out.size() < 50 * 1024; ++i) out += line + std::to_string(i) + "\r\n";
    return out;
}

// About 200 KB of HTML: headings, paragraphs and a table per verse, in Windows-1251.
std::string HtmlLyrics(int seed) {
    std::string out = "<html><head><meta charset=\"windows-1251\"><title>t</title></head><body bgcolor=\"#ffffee\">";
    for (int i = 0; out.size() < 200 * 1024; ++i) {
        out += "<h3>" + EncodeFromUtf8("Куплет ", 204) + std::to_string(i) + "</h3><p>";
        for (int k = 0; k < 6; ++k)
            out += EncodeFromUtf8("Строка песни номер " + std::to_string(seed) + ", <b>слово</b> и <i>ещё слово</i> ", 204);
        out += "</p><table border=1 cellpadding=2><tr><td>" + std::to_string(i) + "</td><td>" +
               EncodeFromUtf8("Припев", 204) + "</td></tr></table>";
    }
    return out + "</body></html>";
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Alternates between two songs' texts; the first selection (a cold start) is not counted.
void Measure(TForm4& form, const char16_t* a_song, const char16_t* b_song, const char* what) {
    LARGE_INTEGER freq{};
    QueryPerformanceFrequency(&freq);
    std::vector<double> times, whole;
    for (int i = 0; i < 41; ++i) {
        LARGE_INTEGER a{}, b{};
        QueryPerformanceCounter(&a);
        form.ShowText(i % 2 ? b_song : a_song, u"song", false);
        RedrawWindow(form.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        QueryPerformanceCounter(&b);
        if (i > 0) times.push_back(1000.0 * (b.QuadPart - a.QuadPart) / freq.QuadPart);
        // The rest of a long text goes in from the message loop, after the paint.
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        RedrawWindow(form.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        QueryPerformanceCounter(&b);
        if (i > 0) whole.push_back(1000.0 * (b.QuadPart - a.QuadPart) / freq.QuadPart);
    }
    std::printf("text window, next song with a %s text: median %.1f ms (min %.1f, max %.1f, %zu selections)\n", what,
                Median(times), *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()), times.size());
    std::printf("  until the whole text is in and painted: median %.1f ms (min %.1f, max %.1f)\n", Median(whole),
                *std::min_element(whole.begin(), whole.end()), *std::max_element(whole.begin(), whole.end()));
}

}  // namespace

int wmain() {
    std::wstring disk = TempFolder();
    DescriptionWriter w;
    w.WriteShortRecord("CDQLM=TEXT-BENCH");
    w.WriteShortRecord("PVT=1");
    w.WriteShortRecord("EndOfCFG");
    w.WriteShortRecord(Z("F=A", "N=A"));
    w.WriteShortRecord(Z("FN=one.mp3", "N=one"));
    w.WriteShortRecord(Z("FN=two.mp3", "N=two"));
    w.WriteShortRecord(Z("F=B", "N=B"));
    w.WriteShortRecord(Z("FN=three.mp3", "N=three"));
    w.WriteShortRecord(Z("FN=four.mp3", "N=four"));
    Write(disk + L"\\qlm.cfg", w.Take());
    CreateDirectoryW((disk + L"\\Text").c_str(), nullptr);
    CreateDirectoryW((disk + L"\\Text\\A").c_str(), nullptr);
    Write(disk + L"\\Text\\A\\one.txt", Lyrics(1));
    Write(disk + L"\\Text\\A\\two.txt", Lyrics(2));
    CreateDirectoryW((disk + L"\\Text\\B").c_str(), nullptr);
    Write(disk + L"\\Text\\B\\three.htm", HtmlLyrics(3));
    Write(disk + L"\\Text\\B\\four.htm", HtmlLyrics(4));

    Catalogue catalogue;
    TForm4 form;
    std::wstring root = disk + L"\\";
    if (!form.Create(nullptr, catalogue, std::u16string(root.begin(), root.end()), false)) {
        std::printf("no text window\n");
        return 1;
    }
    form.SetTextWindowMode(kTextFloating);
    Measure(form, u"A\\one.mp3", u"A\\two.mp3", "50 KB .txt");
    Measure(form, u"B\\three.mp3", u"B\\four.mp3", "200 KB .htm");
    return 0;
}
