// Speed of the HTML view on large pages of text and tables, under Wine:
//
//   html_bench [DIR] [RUNS]
//
// writes DIR/page200k.htm and DIR/page2m.htm and prints medians (with min and
// max) of: parse alone, parse + style + layout with GDI measuring, the whole
// load in the view from Navigate to the first screen painted, and one screen
// of scrolling (Page Down and its repaint).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/utf8_main.h"
#include "pages/html/document.h"
#include "pages/html/gdi_measurer.h"
#include "pages/html/layout.h"
#include "pages/html/style.h"
#include "pages/preview_html.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

struct Stats {
    double median, min, max;
};
Stats Of(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.front(), v.back()};
}
void Print(const char* what, const Stats& s) { std::printf("  %-34s median %8.2f ms  (min %.2f, max %.2f)\n", what, s.median, s.min, s.max); }

// Paragraphs of Russian and English text with links and bold words, and
// every few paragraphs a table of five columns: what disk pages are made of.
std::string MakePage(size_t bytes) {
    std::string page =
        "<html><head><meta charset=windows-1251><title>Bench</title><style>td{font-family:Verdana;font-size:12px}"
        ".h{color:#003366;font-weight:bold}</style></head><body bgcolor=#FFFFF0>";
    const char* words[] = {"\xCF\xE5\xF1\xED\xFF", "album", "\xE7\xE2\xF3\xEA", "track", "\xEF\xE5\xE2\xE5\xF6",
                           "guitar", "\xF1\xF2\xF0\xEE\xEA\xE0", "melody", "\xE4\xE8\xF1\xEA", "song"};
    unsigned seed = 7;
    auto word = [&] {
        seed = seed * 1103515245u + 12345u;
        return words[(seed >> 16) % 10];
    };
    int n = 0;
    while (page.size() < bytes) {
        page += "<h3>Section " + std::to_string(++n) + "</h3><p>";
        for (int i = 0; i < 120; ++i) {
            if (i % 17 == 3) page += "<a href='p" + std::to_string(i) + ".htm'>";
            if (i % 23 == 5) page += "<b>";
            page += word();
            if (i % 23 == 5) page += "</b>";
            if (i % 17 == 3) page += "</a>";
            page += ' ';
        }
        page += "</p>";
        if (n % 3 == 0) {
            page += "<table border=1 cellpadding=3 cellspacing=0 width=100%>";
            for (int r = 0; r < 12; ++r) {
                page += "<tr>";
                for (int c = 0; c < 5; ++c) {
                    page += c == 0 ? "<td class=h width=60>" : "<td>";
                    for (int k = 0; k < 2 + (r + c) % 4; ++k) (page += word()) += ' ';
                    page += "</td>";
                }
                page += "</tr>";
            }
            page += "</table>";
        }
    }
    return page + "</body></html>";
}

struct NoImages : qlm::html::ImageSizer {
    bool ImageSize(const std::string&, int&, int&) override { return false; }
};

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Run(const std::filesystem::path& file, int runs, HWND frame) {
    std::string bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::printf("%s (%zu KB)\n", file.filename().string().c_str(), bytes.size() / 1024);
    std::vector<double> parse, layout, load, scroll;
    for (int r = 0; r < runs; ++r) {
        auto t0 = Clock::now();
        qlm::html::Document doc = qlm::html::ParseDocument(bytes);
        auto t1 = Clock::now();
        qlm::html::GdiMeasurer m;
        NoImages images;
        const qlm::html::LayoutResult lr = qlm::html::Layout(doc, qlm::html::ComputeStyles(doc), m, images, {780});
        auto t2 = Clock::now();
        parse.push_back(Ms(t0, t1));
        layout.push_back(Ms(t0, t2));
    }
    RECT rc;
    GetClientRect(frame, &rc);
    for (int r = 0; r < runs; ++r) {
        qlm::TPreviewHTML view;
        bool done = false;
        view.OnProgressChange = [&](int, int max) { done = done || max == 0; };
        view.Create(frame, rc, 1);
        Pump();
        auto t0 = Clock::now();
        view.Navigate(std::u16string(file.u16string()));
        while (!done) {
            Pump();
            if (!done) MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        }
        UpdateWindow(view.hwnd());
        auto t1 = Clock::now();
        load.push_back(Ms(t0, t1));
        for (int k = 0; k < 10; ++k) {
            auto s0 = Clock::now();
            SendMessageW(view.hwnd(), WM_KEYDOWN, VK_NEXT, 0);
            UpdateWindow(view.hwnd());
            auto s1 = Clock::now();
            scroll.push_back(Ms(s0, s1));
        }
        view.Destroy();
    }
    Print("parse", Of(parse));
    Print("parse + style + layout (GDI text)", Of(layout));
    Print("Navigate to first screen painted", Of(load));
    Print("scroll one screen (Page Down)", Of(scroll));
}

}  // namespace

int Utf8Main(const std::vector<std::string>& args) {
    const std::filesystem::path dir = args.size() > 1 ? std::filesystem::path(args[1]) : std::filesystem::temp_directory_path() / "qlm_html_bench";
    const int runs = args.size() > 2 ? std::max(1, std::atoi(args[2].c_str())) : 9;
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "page200k.htm", std::ios::binary) << MakePage(200 * 1024);
    std::ofstream(dir / "page2m.htm", std::ios::binary) << MakePage(2 * 1024 * 1024);

    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QlmHtmlBench";
    RegisterClassW(&wc);
    HWND frame = CreateWindowExW(0, wc.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                                 nullptr, wc.hInstance, nullptr);
    Pump();
    Run(dir / "page200k.htm", runs, frame);
    Run(dir / "page2m.htm", std::max(1, runs / 3), frame);
    DestroyWindow(frame);
    return 0;
}
