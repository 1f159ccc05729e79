#include "base/profile_text.h"

#include <algorithm>
#include <climits>

#include "base/text_codec.h"

namespace qlm {

char16_t FoldCase(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? char16_t(c - 0x20) : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return char16_t(c - 0x20);
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        // Pairs are upper-even/lower-odd, except two stretches paired the other way.
        bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddUpper) return (c % 2 == 0) ? char16_t(c - 1) : c;
        return (c % 2 == 1) ? char16_t(c - 1) : c;
    }
    if (c >= 0x430 && c <= 0x44F) return char16_t(c - 0x20);
    if (c >= 0x450 && c <= 0x45F) return char16_t(c - 0x50);
    return c;
}

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

bool LessNoCase::operator()(std::u16string_view a, std::u16string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return FoldCase(x) < FoldCase(y); });
}

namespace {

template <class View>
std::optional<int> ParseInt(View text) {
    size_t i = 0, n = text.size();
    auto blank = [&](size_t k) { return text[k] == ' ' || text[k] == '\t'; };
    while (i < n && blank(i)) ++i;
    while (n > i && blank(n - 1)) --n;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == n) return std::nullopt;
    long long v = 0;
    for (; i < n; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > INT_MAX || v < INT_MIN) return std::nullopt;
    return static_cast<int>(v);
}

std::string_view Trim(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\0'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

bool EqualAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = char(x - 32);
        if (y >= 'a' && y <= 'z') y = char(y - 32);
        if (x != y) return false;
    }
    return true;
}

// UTF-16 little- or big-endian bytes (after the mark) as UTF-8.
std::string Utf16BytesToUtf8(std::string_view bytes, bool bigEndian) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto lo = static_cast<unsigned char>(bytes[i + (bigEndian ? 1 : 0)]);
        auto hi = static_cast<unsigned char>(bytes[i + (bigEndian ? 0 : 1)]);
        text.push_back(char16_t(lo | (hi << 8)));
    }
    return Utf16ToUtf8(text);
}

}  // namespace

std::optional<int> ParseProfileInt(std::u16string_view text) { return ParseInt(text); }
std::optional<int> ParseProfileInt(std::string_view text) { return ParseInt(text); }

ProfileLines SplitProfile(std::string_view bytes) {
    ProfileLines out;
    std::string converted;
    auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    if (starts("\xFF\xFE")) {
        converted = Utf16BytesToUtf8(bytes.substr(2), false);
        out.utf8 = true;
    } else if (starts("\xFE\xFF")) {
        converted = Utf16BytesToUtf8(bytes.substr(2), true);
        out.utf8 = true;
    } else if (starts("\xEF\xBB\xBF")) {
        converted = bytes.substr(3);
        out.utf8 = true;
    }
    std::string_view text = out.utf8 ? std::string_view(converted) : bytes;

    bool inSection = false;
    std::string section;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            size_t close = line.find(']');
            if (close == std::string_view::npos) close = line.size();
            section = std::string(Trim(line.substr(1, close - 1)));
            inSection = true;
            continue;
        }
        if (!inSection) continue;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view key = Trim(line.substr(0, eq));
        std::string_view value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        out.lines.push_back({section, std::string(key), std::string(value)});
    }
    return out;
}

const std::string* FindProfileLine(const ProfileLines& p, std::string_view section, std::string_view key) {
    for (const auto& l : p.lines)
        if (EqualAsciiNoCase(l.section, section) && EqualAsciiNoCase(l.key, key)) return &l.value;
    return nullptr;
}

ProfileText ProfileText::Decode(const ProfileLines& p, uint8_t charset) {
    ProfileText t;
    auto decode = [&](const std::string& s) { return p.utf8 ? Utf8ToUtf16(s) : DecodeText(s, charset); };
    for (const auto& l : p.lines) {
        auto& sec = t.sections_[decode(l.section)];
        sec.emplace(decode(l.key), decode(l.value));  // the first value stays
    }
    return t;
}

const ProfileText::Section* ProfileText::FindSection(std::u16string_view section) const {
    auto s = sections_.find(section);
    return s == sections_.end() ? nullptr : &s->second;
}

const std::u16string* ProfileText::Find(std::u16string_view section, std::u16string_view key) const {
    const Section* s = FindSection(section);
    if (!s) return nullptr;
    auto k = s->find(key);
    return k == s->end() ? nullptr : &k->second;
}

}  // namespace qlm
