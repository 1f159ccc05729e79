// The update download's speed: a 20 MB installer fetched from the loopback
// server by the update dialog's HTTP client (a window with the dialog's
// 500 ms progress timer painting throughout), beside the same file fetched
// by a plain WinINet read loop in the same run. Prints medians of 9 runs.
//
//   python3 tests/tools/update_server.py --root /tmp/qlm-bench -- wine build-win/bench/update_bench.exe
#include <windows.h>
#include <commctrl.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/http_client.h"
#include "tools/update_logic.h"

namespace {

constexpr int kRuns = 9;
constexpr size_t kFileSize = 20 * 1024 * 1024;

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}
LARGE_INTEGER Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}
double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A plain read loop into a file, as fast as WinINet goes.
double PlainFetch(const std::wstring& url, const std::wstring& file) {
    LARGE_INTEGER start = Now();
    HINTERNET session = InternetOpenW(L"bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    HINTERNET req = InternetOpenUrlW(session, url.c_str(), nullptr, 0,
                                     INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI, 0);
    HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::vector<char> buf(64 * 1024);
    size_t total = 0;
    DWORD n = 0;
    while (req && InternetReadFile(req, buf.data(), static_cast<DWORD>(buf.size()), &n) && n) {
        DWORD w = 0;
        WriteFile(out, buf.data(), n, &w, nullptr);
        total += n;
    }
    FlushFileBuffers(out);
    CloseHandle(out);
    if (req) InternetCloseHandle(req);
    InternetCloseHandle(session);
    double s = Seconds(start, Now());
    return total == kFileSize ? s : -1;
}

// The progress window: a bar and a label refreshed by a 500 ms timer.
struct ProgressWindow {
    HWND hwnd = nullptr, bar = nullptr, label = nullptr;
    qlm::THttpClient* client = nullptr;
    DWORD start = 0, lastTick = 0, longestGap = 0;
    int ticks = 0, paints = 0;
};
ProgressWindow* g_window = nullptr;

LRESULT CALLBACK WindowProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    ProgressWindow* pw = g_window;
    if (msg == WM_TIMER && pw && pw->client) {
        DWORD now = GetTickCount();
        if (pw->lastTick) pw->longestGap = std::max<DWORD>(pw->longestGap, now - pw->lastTick);
        pw->lastTick = now;
        ++pw->ticks;
        auto p = qlm::update::Progress(pw->client->BytesRecvd(), pw->client->BytesTotal(), now - pw->start);
        if (p) {
            std::u16string text = p->received + u"  " + p->percentText + u"  " + p->speedText;
            SetWindowTextW(pw->label, std::wstring(text.begin(), text.end()).c_str());
            SendMessageW(pw->bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(pw->client->BytesTotal()));
            SendMessageW(pw->bar, PBM_SETPOS, static_cast<WPARAM>(pw->client->BytesRecvd()), 0);
        }
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    }
    if (msg == WM_PAINT && pw) {
        ++pw->paints;
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProcW(h, msg, w, l);
}

double ClientFetch(const std::wstring& url, const std::wstring& file, ProgressWindow& pw) {
    qlm::THttpClient client;
    client.InputFileMode = true;
    client.BodyFile.assign(file.begin(), file.end());
    bool ok = false;
    client.OnSuccess = [&](qlm::HttpCommand) { ok = true; };
    pw.client = &client;
    pw.start = GetTickCount();
    pw.lastTick = 0;
    SetTimer(pw.hwnd, 1, 500, nullptr);
    LARGE_INTEGER start = Now();
    client.Get(std::u16string(url.begin(), url.end()));
    double s = Seconds(start, Now());
    KillTimer(pw.hwnd, 1);
    pw.client = nullptr;
    return ok && client.BytesRecvd() == static_cast<int64_t>(kFileSize) ? s : -1;
}

}  // namespace

int wmain() {
    const char* server = std::getenv("QLM_UPDATE_SERVER");
    const char* root = std::getenv("QLM_UPDATE_ROOT");
    if (!server || !root) {
        std::fprintf(stderr, "run inside tests/tools/update_server.py\n");
        return 2;
    }
    // The 20 MB installer, written where the server serves it (Z: is the Unix root).
    std::string unixFile = std::string(root) + "/mp3player/QLMsetup.exe";
    std::wstring winFile = L"Z:";
    for (char c : unixFile) winFile.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
    {
        std::string data(kFileSize, '\0');
        for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>((i * 2654435761u) >> 13);
        HANDLE f = CreateFileW(winFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD w = 0;
        WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &w, nullptr);
        CloseHandle(f);
    }
    std::wstring url;
    for (const char* p = server; *p; ++p) url.push_back(static_cast<wchar_t>(*p));
    url += L"/mp3player/QLMsetup.exe";
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring target = std::wstring(temp) + L"qlm-bench.tmp";

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QlmUpdateBench";
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassW(&wc);
    ProgressWindow pw;
    g_window = &pw;
    pw.hwnd = CreateWindowExW(0, wc.lpszClassName, L"update bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 420,
                              120, nullptr, nullptr, wc.hInstance, nullptr);
    pw.bar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 380, 18, pw.hwnd, nullptr,
                             wc.hInstance, nullptr);
    pw.label = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 40, 380, 18, pw.hwnd, nullptr,
                               wc.hInstance, nullptr);

    auto control = [&](const char* json) {
        std::wstring path = winFile.substr(0, winFile.rfind(L'\\'));
        path = path.substr(0, path.rfind(L'\\')) + L"\\control.json";
        HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD w = 0;
        WriteFile(f, json, static_cast<DWORD>(strlen(json)), &w, nullptr);
        CloseHandle(f);
    };
    // Full speed, then a server held to about 8 MB/s so that the transfer
    // lasts long enough for the progress timer and the painting to show.
    for (const char* json : {"{}", R"({"QLMsetup.exe": {"mode": "slow", "rate": 8000000}})"}) {
    control(json);
    std::vector<double> plain, client, ticksPerS, paintsPerS, gaps;
    for (int i = 0; i < kRuns; ++i) {
        double p = PlainFetch(url, target);
        pw.ticks = pw.paints = 0;
        pw.longestGap = 0;
        double c = ClientFetch(url, target, pw);
        if (p <= 0 || c <= 0) {
            std::fprintf(stderr, "run %d: a transfer failed\n", i);
            return 1;
        }
        plain.push_back(kFileSize / p / 1e6);
        client.push_back(kFileSize / c / 1e6);
        ticksPerS.push_back(pw.ticks / c);
        paintsPerS.push_back(pw.paints / c);
        gaps.push_back(pw.longestGap);
    }
    const double pm = Median(plain), cm = Median(client);
    std::printf("20 MB from the loopback server (%s), median of %d runs:\n",
                json[1] == '}' ? "full speed" : "server held to 8 MB/s", kRuns);
    std::printf("  plain WinINet loop:        %8.1f MB/s\n", pm);
    std::printf("  update client with window: %8.1f MB/s  (%.2f x plain)\n", cm, cm / pm);
    std::printf("  progress timer: %.2f ticks/s, longest gap %.0f ms; window paints %.2f/s\n", Median(ticksPerS),
                Median(gaps), Median(paintsPerS));
    }
    control("{}");
    DeleteFileW(target.c_str());
    DestroyWindow(pw.hwnd);
    return 0;
}
