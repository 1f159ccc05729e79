// Reading CSS and HTML attribute values: lengths, colours, font sizes, list
// types, and the small text helpers they share with the style computer.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "pages/html/style.h"
#include "pages/html/style_values.h"

namespace qlm::html {
namespace style_detail {

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string Lower(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && Blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && Blank(s.back())) s.remove_suffix(1);
    return s;
}

// Splits on blanks, keeping "rgb(1, 2, 3)" and quoted names whole.
std::vector<std::string> Tokens(std::string_view s) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (Blank(s[i]) || s[i] == ',')) ++i;
        if (i >= s.size()) break;
        const size_t start = i;
        int paren = 0;
        while (i < s.size() && (paren > 0 || (!Blank(s[i]) && s[i] != ','))) {
            if (s[i] == '(') ++paren;
            if (s[i] == ')') paren = std::max(0, paren - 1);
            ++i;
        }
        out.emplace_back(s.substr(start, i - start));
        if (out.size() > 64) break;
    }
    return out;
}

namespace {

struct NamedColor {
    const char* name;
    Color value;
};
constexpr NamedColor kColors[] = {
    {"black", 0x000000},   {"silver", 0xC0C0C0},  {"gray", 0x808080},     {"grey", 0x808080},
    {"white", 0xFFFFFF},   {"maroon", 0x800000},  {"red", 0xFF0000},      {"purple", 0x800080},
    {"fuchsia", 0xFF00FF}, {"magenta", 0xFF00FF}, {"green", 0x008000},    {"lime", 0x00FF00},
    {"olive", 0x808000},   {"yellow", 0xFFFF00},  {"navy", 0x000080},     {"blue", 0x0000FF},
    {"teal", 0x008080},    {"aqua", 0x00FFFF},    {"cyan", 0x00FFFF},     {"orange", 0xFFA500},
    {"brown", 0xA52A2A},   {"pink", 0xFFC0CB},    {"gold", 0xFFD700},     {"darkblue", 0x00008B},
    {"darkred", 0x8B0000}, {"darkgreen", 0x006400}, {"darkgray", 0xA9A9A9}, {"darkgrey", 0xA9A9A9},
    {"lightgray", 0xD3D3D3}, {"lightgrey", 0xD3D3D3}, {"lightblue", 0xADD8E6}, {"lightyellow", 0xFFFFE0},
    {"lightgreen", 0x90EE90}, {"beige", 0xF5F5DC}, {"ivory", 0xFFFFF0},  {"khaki", 0xF0E68C},
    {"violet", 0xEE82EE},  {"indigo", 0x4B0082},  {"crimson", 0xDC143C},  {"tomato", 0xFF6347},
    {"coral", 0xFF7F50},   {"salmon", 0xFA8072},  {"wheat", 0xF5DEB3},    {"tan", 0xD2B48C},
    {"steelblue", 0x4682B4}, {"skyblue", 0x87CEEB}, {"royalblue", 0x4169E1}, {"midnightblue", 0x191970},
    {"darkorange", 0xFF8C00}, {"orangered", 0xFF4500}, {"chocolate", 0xD2691E}, {"sienna", 0xA0522D},
    {"darkviolet", 0x9400D3}, {"lavender", 0xE6E6FA}, {"linen", 0xFAF0E6}, {"snow", 0xFFFAFA},
    {"whitesmoke", 0xF5F5F5}, {"gainsboro", 0xDCDCDC}, {"dimgray", 0x696969}, {"dimgrey", 0x696969},
    {"slategray", 0x708090}, {"darkslategray", 0x2F4F4F}, {"seagreen", 0x2E8B57}, {"forestgreen", 0x228B22},
    {"cornflowerblue", 0x6495ED}, {"dodgerblue", 0x1E90FF}, {"deepskyblue", 0x00BFFF}, {"turquoise", 0x40E0D0},
    {"goldenrod", 0xDAA520}, {"firebrick", 0xB22222}, {"olivedrab", 0x6B8E23}, {"aliceblue", 0xF0F8FF},
    {"honeydew", 0xF0FFF0}, {"mintcream", 0xF5FFFA}, {"azure", 0xF0FFFF}, {"cornsilk", 0xFFF8DC},
    {"lemonchiffon", 0xFFFACD}, {"moccasin", 0xFFE4B5}, {"peachpuff", 0xFFDAB9}, {"plum", 0xDDA0DD},
    {"orchid", 0xDA70D6}, {"thistle", 0xD8BFD8}, {"darkkhaki", 0xBDB76B}, {"yellowgreen", 0x9ACD32},
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

// "12", "12px", "1.5em", "50%", "10pt"... false when it is none of them.
bool ParseLength(std::string_view text, int fontSize, Length& out) {
    text = Trim(text);
    if (text.empty()) return false;
    const std::string t = Lower(text);
    if (t == "auto") {
        out = Length{};
        return true;
    }
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end == t.c_str() || !std::isfinite(v)) return false;
    const std::string unit(Trim(std::string_view(end)));
    double px = v;
    if (unit == "%") {
        out.unit = Length::Percent;
        out.value = static_cast<float>(std::clamp(v, 0.0, 1000.0));
        return true;
    }
    if (unit.empty() || unit == "px") px = v;
    else if (unit == "pt") px = v * 96.0 / 72.0;
    else if (unit == "em") px = v * fontSize;
    else if (unit == "ex") px = v * fontSize / 2.0;
    else if (unit == "in") px = v * 96.0;
    else if (unit == "cm") px = v * 96.0 / 2.54;
    else if (unit == "mm") px = v * 96.0 / 25.4;
    else if (unit == "pc") px = v * 16.0;
    else return false;
    out.unit = Length::Px;
    out.value = static_cast<float>(std::clamp(px, -100000.0, 100000.0));
    return true;
}

int Px(std::string_view text, int fontSize, int fallback) {
    Length l;
    if (!ParseLength(text, fontSize, l) || l.unit != Length::Px) return fallback;
    return static_cast<int>(std::lround(l.value));
}

// An HTML attribute length: "200" or "50%".
bool AttrLength(const std::string* a, Length& out) {
    if (!a) return false;
    Length l;
    if (!ParseLength(*a, 16, l) || l.IsAuto()) return false;
    if (l.unit == Length::Px && l.value < 0) return false;
    out = l;
    return true;
}

int AttrInt(const std::string* a, int fallback) {
    if (!a) return fallback;
    const std::string_view t = Trim(*a);
    if (t.empty()) return fallback;
    char* end = nullptr;
    const std::string s(t);
    const long v = std::strtol(s.c_str(), &end, 10);
    if (end == s.c_str()) return fallback;
    return static_cast<int>(std::clamp<long>(v, -100000, 100000));
}

bool ParseFontSize(std::string_view text, int parentSize, int& out) {
    const std::string t = Lower(Trim(text));
    static const std::pair<const char*, int> kWords[] = {
        {"xx-small", 9}, {"x-small", 10}, {"small", 13}, {"medium", 16},
        {"large", 18},   {"x-large", 24}, {"xx-large", 32},
    };
    for (const auto& [w, v] : kWords)
        if (t == w) {
            out = v;
            return true;
        }
    if (t == "smaller") {
        out = std::max(1, parentSize * 5 / 6);
        return true;
    }
    if (t == "larger") {
        out = parentSize * 6 / 5;
        return true;
    }
    Length l;
    if (!ParseLength(t, parentSize, l) || l.IsAuto()) return false;
    const double px = l.unit == Length::Percent ? parentSize * l.value / 100.0 : l.value;
    out = static_cast<int>(std::clamp(std::lround(px), 1L, 400L));
    return true;
}

ListType ListTypeNamed(std::string_view text, bool attribute) {
    const std::string t = attribute ? std::string(Trim(text)) : Lower(Trim(text));
    if (attribute) {
        if (t == "1") return ListType::Decimal;
        if (t == "a") return ListType::LowerAlpha;
        if (t == "A") return ListType::UpperAlpha;
        if (t == "i") return ListType::LowerRoman;
        if (t == "I") return ListType::UpperRoman;
    }
    const std::string l = Lower(t);
    if (l == "disc") return ListType::Disc;
    if (l == "circle") return ListType::Circle;
    if (l == "square") return ListType::Square;
    if (l == "decimal") return ListType::Decimal;
    if (l == "lower-alpha" || l == "lower-latin") return ListType::LowerAlpha;
    if (l == "upper-alpha" || l == "upper-latin") return ListType::UpperAlpha;
    if (l == "lower-roman") return ListType::LowerRoman;
    if (l == "upper-roman") return ListType::UpperRoman;
    if (l == "none") return ListType::None;
    return ListType::Disc;
}

}  // namespace style_detail

using namespace style_detail;

int Length::Resolve(int base, int fallback) const {
    switch (unit) {
    case Auto: return fallback;
    case Px: return static_cast<int>(std::lround(value));
    case Percent: return static_cast<int>(std::lround(static_cast<double>(base) * value / 100.0));
    }
    return fallback;
}

bool ParseColor(std::string_view text, Color& out) {
    text = Trim(text);
    if (text.empty()) return false;
    const std::string t = Lower(text);
    for (const NamedColor& nc : kColors)
        if (t == nc.name) {
            out = nc.value;
            return true;
        }
    if (t.rfind("rgb(", 0) == 0 && t.back() == ')') {
        int v[3] = {0, 0, 0};
        const std::vector<std::string> parts = Tokens(std::string_view(t).substr(4, t.size() - 5));
        if (parts.size() < 3) return false;
        for (int i = 0; i < 3; ++i) {
            const double x = std::atof(parts[static_cast<size_t>(i)].c_str());
            const bool pct = parts[static_cast<size_t>(i)].back() == '%';
            v[i] = static_cast<int>(std::clamp(pct ? x * 2.55 : x, 0.0, 255.0));
        }
        out = static_cast<Color>((v[0] << 16) | (v[1] << 8) | v[2]);
        return true;
    }
    std::string_view h = t;
    if (h.front() == '#') h.remove_prefix(1);
    else if (h.size() != 6) return false;  // bare "ff0000" in attributes only
    for (char ch : h)
        if (HexDigit(ch) < 0) return false;
    if (h.size() == 3) {
        const int r = HexDigit(h[0]), g = HexDigit(h[1]), b = HexDigit(h[2]);
        out = static_cast<Color>((r * 17 << 16) | (g * 17 << 8) | b * 17);
        return true;
    }
    if (h.size() == 6) {
        out = static_cast<Color>(std::strtoul(std::string(h).c_str(), nullptr, 16));
        return true;
    }
    return false;
}

}  // namespace qlm::html
