#include "pages/html/layout.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "base/text_codec.h"
#include "pages/html/layout_engine.h"

namespace qlm::html::layout_detail {

int AttrInt(const Node& n, const char* name, int fallback) {
    const std::string* a = n.Attr(name);
    if (!a) return fallback;
    char* end = nullptr;
    const long v = std::strtol(a->c_str(), &end, 10);
    if (end == a->c_str()) return fallback;
    return static_cast<int>(std::clamp<long>(v, -1000000, 1000000));
}

LayoutResult Engine::Run(const LayoutOptions& options) {
    out_.links = styles_.links;
    out_.title = doc_.title;
    out_.background = styles_.pageBackground;
    out_.linkColor = styles_.linkColor;
    out_.visitedLinkColor = styles_.visitedLinkColor;
    if (styles_.pageBackgroundImage >= 0) out_.backgroundImage = Url(styles_.urls[static_cast<size_t>(styles_.pageBackgroundImage)]);
    const int width = std::max(1, options.viewportWidth);
    Flow flow;
    Container root;
    root.width = width;
    root.style = &styles_.of[0];
    Children(0, root, flow);
    EndLines(root, flow);
    flow.Resolve();
    out_.height = std::max(out_.height, flow.y);
    for (const Item& it : out_.items) {
        out_.width = std::max(out_.width, it.x + it.w);
        out_.height = std::max(out_.height, it.y + it.h);
    }
    return std::move(out_);
}

int Engine::Url(const std::string& u) {
    auto it = urlIndex_.find(u);
    if (it != urlIndex_.end()) return it->second;
    const int i = static_cast<int>(out_.urls.size());
    out_.urls.push_back(u);
    urlIndex_.emplace(u, i);
    return i;
}

int Engine::Font(const Style& s) {
    const int flags = (s.fontSize << 4) | (s.bold ? 1 : 0) | (s.italic ? 2 : 0) | (s.underline ? 4 : 0) |
                      (s.strike ? 8 : 0);
    const auto key = std::make_pair(s.family, flags);
    auto it = fontOfStyle_.find(key);
    if (it != fontOfStyle_.end()) return it->second;
    FontSpec fontSpec;
    fontSpec.family = styles_.families[static_cast<size_t>(s.family)];
    fontSpec.size = s.fontSize;
    fontSpec.bold = s.bold;
    fontSpec.italic = s.italic;
    fontSpec.underline = s.underline;
    fontSpec.strike = s.strike;
    const int handle = m_.OpenFont(fontSpec);
    if (handle >= static_cast<int>(metrics_.size())) {
        metrics_.resize(static_cast<size_t>(handle) + 1);
        spaceWidth_.resize(static_cast<size_t>(handle) + 1, -1);
    }
    if (handle >= 0) {
        metrics_[static_cast<size_t>(handle)] = m_.Metrics(handle);
        spaceWidth_[static_cast<size_t>(handle)] = m_.Width(handle, u" ");
    }
    fontOfStyle_.emplace(key, handle);
    return handle;
}

FontMetrics Engine::Metrics(int font) const {
    return font >= 0 && font < static_cast<int>(metrics_.size()) ? metrics_[static_cast<size_t>(font)] : FontMetrics{};
}

int Engine::SpaceWidth(int font) const {
    return font >= 0 && font < static_cast<int>(spaceWidth_.size()) ? std::max(0, spaceWidth_[static_cast<size_t>(font)]) : 0;
}

void Engine::Anchor(const Node& n, int y) {
    for (const char* key : {"name", "id"})
        if (const std::string* a = n.Attr(key); a && !a->empty()) out_.anchors.emplace(*a, y);
}

bool Engine::IntrinsicSize(const std::string& url, int& w, int& h) {
    auto it = imageSizes_.find(url);
    if (it == imageSizes_.end()) {
        int iw = 0, ih = 0;
        if (!images_.ImageSize(url, iw, ih) || iw <= 0 || ih <= 0) iw = ih = -1;
        it = imageSizes_.emplace(url, std::make_pair(iw, ih)).first;
    }
    w = it->second.first;
    h = it->second.second;
    return w > 0;
}

void Engine::ImageBox(int node, int containerWidth, int& w, int& h, bool& broken) {
    const Node& n = doc_.nodes[static_cast<size_t>(node)];
    const Style& s = S(node);
    const std::string* src = n.Attr("src");
    int iw = 0, ih = 0;
    broken = !src || !IntrinsicSize(*src, iw, ih);
    w = s.width.IsAuto() ? -1 : std::clamp(s.width.Resolve(containerWidth, 0), 0, 20000);
    h = s.height.IsAuto() || s.height.unit == Length::Percent ? -1 : std::clamp(s.height.Resolve(0, 0), 0, 20000);
    if (w < 0 && h < 0) {
        if (!broken) {
            w = iw;
            h = ih;
        } else {
            const std::string* alt = n.Attr("alt");
            if (alt && !alt->empty()) {
                const int font = Font(s);
                const FontMetrics fm = Metrics(font);
                w = TextWidth(font, Utf16(*alt)) + 6;
                h = fm.ascent + fm.descent + 6;
            } else {
                w = h = 20;
            }
        }
    } else if (w < 0) {
        w = broken || ih <= 0 ? h : static_cast<int>(static_cast<long long>(iw) * h / ih);
    } else if (h < 0) {
        h = broken || iw <= 0 ? w : static_cast<int>(static_cast<long long>(ih) * w / iw);
    }
    w = std::clamp(w, 0, 20000);
    h = std::clamp(h, 0, 20000);
}

std::u16string Engine::Utf16(const std::string& s) { return Utf8ToUtf16(s); }

}  // namespace qlm::html::layout_detail

namespace qlm::html {

LayoutResult Layout(const Document& doc, const Styles& styles, TextMeasurer& measurer, ImageSizer& images,
                    const LayoutOptions& options) {
    return layout_detail::Engine(doc, styles, measurer, images).Run(options);
}

}  // namespace qlm::html
