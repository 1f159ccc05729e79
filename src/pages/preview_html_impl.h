// The state of the HTML view control, shared by the files that hold its parts:
// preview_html.cpp (creation, navigation, loading), preview_html_input.cpp
// (scrolling, keys, mouse, animation) and preview_html_paint.cpp (painting).
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/file_path.h"
#include "base/text_codec.h"
#include "pages/html/document.h"
#include "pages/html/gdi_measurer.h"
#include "pages/html/layout.h"
#include "pages/html/page_url.h"
#include "pages/html/style.h"
#include "pages/picture_loader.h"
#include "pages/preview_html.h"
#include "win/handles.h"

namespace qlm {
namespace preview_detail {

constexpr UINT kMsgLoad = WM_APP + 0x51;
constexpr UINT_PTR kAnimationTimer = 1;
constexpr int kBand = 256;
constexpr int kLine = 40;

inline std::u16string Lower(std::u16string s) {
    for (char16_t& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c - 'A' + 'a');
    return s;
}

}  // namespace preview_detail

struct TPreviewHTML::Impl : html::ImageSizer {
    struct PictureEntry {
        bool ok = false;
        pictures::Picture pic;
        std::vector<win::UniqueBitmap> bitmaps;
        int totalDelay = 0;
        int shownFrame = 0;
    };
    struct HistoryEntry {
        std::u16string path;
        std::u16string fragment;
        html::LinkKind kind = html::LinkKind::Page;
        int scrollY = 0;
    };
    enum class How { New, Move, Reload };
    struct Pending {
        std::u16string path, fragment;
        html::LinkKind kind = html::LinkKind::Page;
        How how = How::New;
        int target = -1;  // Move: the history entry
    };
    struct Pos {
        int order = -1;
        int offset = 0;
        bool operator<(const Pos& o) const { return order != o.order ? order < o.order : offset < o.offset; }
        bool operator==(const Pos& o) const { return order == o.order && offset == o.offset; }
    };

    html::GdiMeasurer measurer;
    html::Document doc;
    html::LayoutResult page;
    bool hasDocument = false;
    bool shown = false;  // a page was read: LocationURL names it
    std::u16string pagePath;
    std::u16string fragment;
    std::vector<HistoryEntry> history;
    int historyIndex = -1;
    // Pages and addresses this view has opened (lower case), and per link of
    // the page whether it leads to one of them (-1: not yet looked at).
    std::unordered_set<std::u16string> visited;
    std::vector<int8_t> linkVisited;
    std::optional<Pending> pending;

    int scrollX = 0, scrollY = 0;
    int clientW = 0, clientH = 0;
    int layoutWidth = -1;
    std::unordered_map<std::u16string, PictureEntry> pictures;
    std::vector<std::vector<int>> bands;
    std::vector<uint32_t> stamp;
    uint32_t stampNo = 0;
    std::vector<int> orderOfItem;

    Pos anchor, focus;
    bool selecting = false;
    bool dragged = false;
    POINT downPoint{};
    int downLink = -1;
    int hoverLink = -1;
    HWND tooltip = nullptr;
    std::wstring tipText;

    win::UniqueMemoryDc backDc;
    win::UniqueBitmap backBitmap;
    HGDIOBJ backOld = nullptr;
    SIZE backSize{0, 0};
    win::UniqueMemoryDc srcDc;
    std::vector<INT> advances;  // scratch for painting
    DWORD animationStart = 0;
    bool animated = false;

    ~Impl() override {
        if (backDc && backOld) SelectObject(backDc.get(), backOld);
    }

    // ---- Pictures ----
    std::u16string PicturePath(const std::string& url) const {
        const html::Target t = html::ResolveLink(Utf8ToUtf16(url), pagePath);
        if (t.kind == html::LinkKind::External || t.path.empty()) return {};
        return t.path;
    }
    PictureEntry* PictureFor(const std::string& url) {
        const std::u16string path = PicturePath(url);
        if (path.empty()) return nullptr;
        const std::u16string key = preview_detail::Lower(path);
        auto it = pictures.find(key);
        if (it != pictures.end()) return &it->second;
        PictureEntry e;
        e.ok = pictures::Load(FsPath(path), e.pic);
        for (const pictures::Frame& f : e.pic.frames) e.totalDelay += f.delayMs;
        if (e.pic.Animated()) animated = true;
        return &pictures.emplace(key, std::move(e)).first->second;
    }
    bool ImageSize(const std::string& url, int& w, int& h) override {
        PictureEntry* e = PictureFor(url);
        if (!e || !e->ok) return false;
        w = e->pic.width;
        h = e->pic.height;
        return true;
    }
    int FrameAt(const PictureEntry& e, DWORD now) const {
        if (e.pic.frames.size() < 2 || e.totalDelay <= 0) return 0;
        int t = static_cast<int>((now - animationStart) % static_cast<DWORD>(e.totalDelay));
        for (size_t i = 0; i < e.pic.frames.size(); ++i) {
            t -= e.pic.frames[i].delayMs;
            if (t < 0) return static_cast<int>(i);
        }
        return 0;
    }
    HBITMAP FrameBitmap(PictureEntry& e, int frame) {
        if (e.bitmaps.empty()) {
            for (const pictures::Frame& f : e.pic.frames) {
                BITMAPINFO bi{};
                bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
                bi.bmiHeader.biWidth = e.pic.width;
                bi.bmiHeader.biHeight = -e.pic.height;
                bi.bmiHeader.biPlanes = 1;
                bi.bmiHeader.biBitCount = 32;
                bi.bmiHeader.biCompression = BI_RGB;
                void* bits = nullptr;
                HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
                if (bmp && bits) std::memcpy(bits, f.pixels.data(), f.pixels.size() * 4);
                e.bitmaps.emplace_back(bmp);
            }
            // The DIB sections hold the pixels from now on.
            for (pictures::Frame& f : e.pic.frames) std::vector<uint32_t>().swap(f.pixels);
        }
        if (frame < 0 || frame >= static_cast<int>(e.bitmaps.size())) return nullptr;
        return e.bitmaps[static_cast<size_t>(frame)].get();
    }

    // ---- Visited links ----
    static std::u16string VisitKey(const html::Target& t) {
        return preview_detail::Lower(t.kind == html::LinkKind::External ? t.url : t.path);
    }
    void Visit(const std::u16string& key) {
        if (key.empty() || !visited.insert(key).second) return;
        std::fill(linkVisited.begin(), linkVisited.end(), int8_t{-1});
    }
    bool LinkVisited(int link) {
        if (link < 0 || static_cast<size_t>(link) >= linkVisited.size()) return false;
        int8_t& v = linkVisited[static_cast<size_t>(link)];
        if (v < 0) {
            const html::Target t = html::ResolveLink(Utf8ToUtf16(page.links[static_cast<size_t>(link)]), pagePath);
            v = (t.kind != html::LinkKind::Ignored && t.kind != html::LinkKind::Fragment && visited.count(VisitKey(t))) ? 1 : 0;
        }
        return v == 1;
    }

    // ---- Layout ----
    void Relayout(int width) {
        layoutWidth = width;
        page = hasDocument ? html::Layout(doc, html::ComputeStyles(doc), measurer, *this, html::LayoutOptions{std::max(width, 40)})
                           : html::LayoutResult{};
        bands.assign(static_cast<size_t>(page.height / preview_detail::kBand + 1), {});
        for (size_t i = 0; i < page.items.size(); ++i) {
            const html::Item& it = page.items[i];
            if (it.w <= 0 && it.h <= 0 && it.kind != html::ItemKind::Text) continue;
            const int b0 = std::max(0, it.y / preview_detail::kBand), b1 = std::min(static_cast<int>(bands.size()) - 1, (it.y + std::max(it.h, 1)) / preview_detail::kBand);
            for (int b = b0; b <= b1; ++b) bands[static_cast<size_t>(b)].push_back(static_cast<int>(i));
        }
        linkVisited.assign(page.links.size(), -1);
        stamp.assign(page.items.size(), 0);
        orderOfItem.assign(page.items.size(), -1);
        for (size_t k = 0; k < page.textItems.size(); ++k) orderOfItem[static_cast<size_t>(page.textItems[k])] = static_cast<int>(k);
        anchor = focus = Pos{};
    }

    // Items touching page rows [top, bottom), in painting order.
    void ItemsIn(int top, int bottom, std::vector<int>& out) {
        out.clear();
        if (bands.empty()) return;
        if (++stampNo == 0) {
            std::fill(stamp.begin(), stamp.end(), 0);
            stampNo = 1;
        }
        const int b0 = std::max(0, top / preview_detail::kBand), b1 = std::min(static_cast<int>(bands.size()) - 1, std::max(0, bottom) / preview_detail::kBand);
        for (int b = b0; b <= b1; ++b)
            for (int i : bands[static_cast<size_t>(b)]) {
                if (stamp[static_cast<size_t>(i)] == stampNo) continue;
                stamp[static_cast<size_t>(i)] = stampNo;
                const html::Item& it = page.items[static_cast<size_t>(i)];
                if (it.y + it.h < top || it.y > bottom) continue;
                out.push_back(i);
            }
        std::sort(out.begin(), out.end());
    }

    // ---- Selection ----
    Pos HitText(int px, int py) {
        Pos best;
        long long bestScore = -1;
        for (size_t k = 0; k < page.textItems.size(); ++k) {
            const html::Item& it = page.items[static_cast<size_t>(page.textItems[k])];
            const long long dy = py < it.y ? it.y - py : py >= it.y + it.h ? py - (it.y + it.h) + 1 : 0;
            const long long dx = px < it.x ? it.x - px : px >= it.x + it.w ? px - (it.x + it.w) + 1 : 0;
            const long long score = dy * 100000 + dx;
            if (bestScore < 0 || score < bestScore) {
                bestScore = score;
                best.order = static_cast<int>(k);
            }
            if (score == 0) break;
        }
        if (best.order < 0) return best;
        const html::Item& it = page.items[static_cast<size_t>(page.textItems[static_cast<size_t>(best.order)])];
        int x = it.x;
        best.offset = static_cast<int>(it.text.size());
        for (size_t i = 0; i < it.text.size(); ++i) {
            const int w = measurer.Width(it.font, std::u16string_view(it.text).substr(i, 1));
            if (px < x + w / 2) {
                best.offset = static_cast<int>(i);
                break;
            }
            x += w;
        }
        return best;
    }
    bool HasSelection() const { return anchor.order >= 0 && focus.order >= 0 && !(anchor == focus); }
    // The selected characters [from, to) of the text item of order k.
    bool SelectedRange(int k, int& from, int& to) const {
        if (!HasSelection()) return false;
        const Pos a = std::min(anchor, focus), b = std::max(anchor, focus);
        if (k < a.order || k > b.order) return false;
        const int len = static_cast<int>(page.items[static_cast<size_t>(page.textItems[static_cast<size_t>(k)])].text.size());
        from = k == a.order ? a.offset : 0;
        to = k == b.order ? b.offset : len;
        return to > from;
    }
    std::u16string Selected() const {
        std::u16string out;
        if (!HasSelection()) return out;
        const Pos a = std::min(anchor, focus), b = std::max(anchor, focus);
        int lastLine = -1;
        for (int k = a.order; k <= b.order; ++k) {
            const html::Item& it = page.items[static_cast<size_t>(page.textItems[static_cast<size_t>(k)])];
            int from = 0, to = 0;
            if (lastLine >= 0 && it.line != lastLine) {
                while (!out.empty() && out.back() == ' ') out.pop_back();
                out += u"\r\n";
            }
            lastLine = it.line;
            if (SelectedRange(k, from, to)) out += it.text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
        }
        return out;
    }

    // Only the items of the point's band are looked at: mouse moves stay cheap on long pages.
    int LinkAt(int px, int py) const {
        if (py < 0 || bands.empty() || py / preview_detail::kBand >= static_cast<int>(bands.size())) return -1;
        for (int i : bands[static_cast<size_t>(py / preview_detail::kBand)])
            if (const html::Item& it = page.items[static_cast<size_t>(i)]; it.link >= 0 && (it.kind == html::ItemKind::Text || it.kind == html::ItemKind::Image) && px >= it.x &&
                px < it.x + it.w && py >= it.y && py < it.y + it.h)
                return it.link;
        return -1;
    }
};

namespace preview_detail {

// Fits the scroll bars to the page and the client area (and the scroll position into them).
void UpdateBars(HWND hwnd, TPreviewHTML::Impl& m);
// The address BeforeNavigate reports: the link as written for the outside
// world, else "file:///" and the path (blanks kept).
std::u16string ReportedUrl(const html::Target& t, std::u16string_view written);
bool AskBefore(const std::function<void(const std::u16string&, bool&)>& before, const std::u16string& url);

}  // namespace preview_detail
}  // namespace qlm
