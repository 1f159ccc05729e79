#include "pages/html/gdi_measurer.h"

#include <algorithm>

#include "base/text_codec.h"

namespace qlm::html {
namespace {

std::string LowerTrim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '"' || s.front() == '\'' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '"' || s.back() == '\'' || s.back() == '\t')) s.remove_suffix(1);
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::string Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '"' || s.front() == '\'' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '"' || s.back() == '\'' || s.back() == '\t')) s.remove_suffix(1);
    return std::string(s);
}

int CALLBACK FoundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

}  // namespace

GdiMeasurer::GdiMeasurer() : dc_(CreateCompatibleDC(nullptr)) {}

GdiMeasurer::~GdiMeasurer() {
    // The fonts go before the DC: it must not hold one of them then.
    if (originalFont_) SelectObject(dc_.get(), originalFont_);
}

bool GdiMeasurer::Installed(const std::wstring& face) {
    auto it = installed_.find(face);
    if (it != installed_.end()) return it->second;
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    if (face.size() >= LF_FACESIZE) return installed_[face] = false;
    std::copy(face.begin(), face.end(), lf.lfFaceName);
    bool found = false;
    EnumFontFamiliesExW(dc_.get(), &lf, FoundFace, reinterpret_cast<LPARAM>(&found), 0);
    installed_[face] = found;
    return found;
}

std::wstring GdiMeasurer::FaceFor(const std::string& familyList) {
    auto it = faces_.find(familyList);
    if (it != faces_.end()) return it->second;
    std::wstring chosen;
    bool sans = false, mono = false;
    size_t from = 0;
    while (from <= familyList.size() && chosen.empty()) {
        size_t comma = familyList.find(',', from);
        if (comma == std::string::npos) comma = familyList.size();
        const std::string_view part = std::string_view(familyList).substr(from, comma - from);
        const std::string generic = LowerTrim(part);
        std::wstring face;
        if (generic == "serif") face = L"Times New Roman";
        else if (generic == "sans-serif") face = L"Arial", sans = true;
        else if (generic == "monospace") face = L"Courier New", mono = true;
        else if (generic == "cursive") face = L"Comic Sans MS";
        else if (generic == "fantasy") face = L"Impact";
        else {
            const std::u16string w = Utf8ToUtf16(Trimmed(part));
            face.assign(w.begin(), w.end());
            // A named face that is missing falls back to a face of its kind.
            static const char* const kSans[] = {"arial", "helvetica", "verdana", "tahoma", "ms sans serif",
                                                "trebuchet ms", "arial cyr", "arial narrow", "lucida sans",
                                                "segoe ui", "calibri", "geneva", "arial black", "microsoft sans serif"};
            static const char* const kMono[] = {"courier new", "courier", "lucida console", "consolas", "fixedsys"};
            for (const char* n : kSans) sans = sans || generic == n;
            for (const char* n : kMono) mono = mono || generic == n;
        }
        if (!face.empty() && Installed(face)) chosen = face;
        from = comma + 1;
    }
    if (chosen.empty()) {
        // The usual faces first, then the look-alikes a system without them tends to have.
        const std::vector<std::wstring> fallbacks =
            mono   ? std::vector<std::wstring>{L"Courier New", L"Liberation Mono", L"DejaVu Sans Mono"}
            : sans ? std::vector<std::wstring>{L"Arial", L"Liberation Sans", L"DejaVu Sans", L"Tahoma"}
                   : std::vector<std::wstring>{L"Times New Roman", L"Liberation Serif", L"DejaVu Serif", L"Arial",
                                               L"Liberation Sans", L"Tahoma"};
        for (const std::wstring& f : fallbacks)
            if (Installed(f)) {
                chosen = f;
                break;
            }
        if (chosen.empty()) chosen = mono ? L"Courier New" : sans ? L"Arial" : L"Times New Roman";
    }
    faces_.emplace(familyList, chosen);
    return chosen;
}

int GdiMeasurer::OpenFont(const FontSpec& fontSpec) {
    const int flags = (fontSpec.size << 4) | (fontSpec.bold ? 1 : 0) | (fontSpec.italic ? 2 : 0) | (fontSpec.underline ? 4 : 0) |
                      (fontSpec.strike ? 8 : 0);
    const auto key = std::make_pair(fontSpec.family, flags);
    auto it = byKey_.find(key);
    if (it != byKey_.end()) return it->second;
    auto e = std::make_unique<Entry>();
    e->fontSpec = fontSpec;
    e->narrow.fill(-1);
    LOGFONTW lf{};
    lf.lfHeight = -std::clamp(fontSpec.size, 1, 400);
    lf.lfWeight = fontSpec.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = fontSpec.italic;
    lf.lfUnderline = fontSpec.underline;
    lf.lfStrikeOut = fontSpec.strike;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = FaceFor(fontSpec.family);
    std::copy_n(face.begin(), std::min<size_t>(face.size(), LF_FACESIZE - 1), lf.lfFaceName);
    e->font.reset(CreateFontIndirectW(&lf));
    const int index = static_cast<int>(fonts_.size());
    fonts_.push_back(std::move(e));
    byKey_.emplace(key, index);
    Select(index);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc_.get(), &tm);
    fonts_.back()->metrics = {tm.tmAscent, tm.tmDescent};
    return index;
}

void GdiMeasurer::Select(int font) {
    if (font == selected_) return;
    HGDIOBJ old = SelectObject(dc_.get(), fonts_[static_cast<size_t>(font)]->font.get());
    if (!originalFont_) originalFont_ = old;
    selected_ = font;
}

FontMetrics GdiMeasurer::Metrics(int font) {
    if (font < 0 || font >= static_cast<int>(fonts_.size())) return {};
    return fonts_[static_cast<size_t>(font)]->metrics;
}

int GdiMeasurer::Width(int font, std::u16string_view text) {
    int total = 0;
    Walk(font, text, [&](size_t, int w) { total += w; });
    return total;
}

void GdiMeasurer::Advances(int font, std::u16string_view text, std::vector<INT>& out) {
    out.assign(text.size(), 0);
    Walk(font, text, [&](size_t i, int w) { out[i] = w; });
}

template <class F>
void GdiMeasurer::Walk(int font, std::u16string_view text, F each) {
    if (font < 0 || font >= static_cast<int>(fonts_.size()) || text.empty()) return;
    Entry& e = *fonts_[static_cast<size_t>(font)];
    // Each character is measured once and text is painted with these advances.
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            Select(font);
            SIZE sz{};
            GetTextExtentPoint32W(dc_.get(), reinterpret_cast<const wchar_t*>(text.data() + i), 2, &sz);
            each(i, static_cast<int>(sz.cx));
            ++i;
            continue;
        }
        int w;
        if (c < e.narrow.size() && e.narrow[c] >= 0) {
            w = e.narrow[c];
        } else if (c >= e.narrow.size() && e.wide.count(c)) {
            w = e.wide[c];
        } else {
            Select(font);
            SIZE sz{};
            const wchar_t wc = static_cast<wchar_t>(c);
            GetTextExtentPoint32W(dc_.get(), &wc, 1, &sz);
            w = sz.cx;
            if (c < e.narrow.size()) e.narrow[c] = static_cast<int16_t>(std::min<LONG>(sz.cx, 32767));
            else e.wide[c] = w;
        }
        each(i, w);
    }
}

HFONT GdiMeasurer::Font(int font) const {
    if (font < 0 || font >= static_cast<int>(fonts_.size())) return nullptr;
    return fonts_[static_cast<size_t>(font)]->font.get();
}

}  // namespace qlm::html
