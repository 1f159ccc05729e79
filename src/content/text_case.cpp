#include "content/text_case.h"

#include <array>

#include "base/text_codec.h"

namespace qlm {

char16_t UpperChar(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F) {
        // Latin Extended-A pairs: even/odd from 0x100 to 0x137 and 0x14A to 0x177,
        // odd/even from 0x139 to 0x148 and 0x179 to 0x17E.
        if ((c <= 0x137 || (c >= 0x14A && c <= 0x177)) && (c & 1) && c != 0x131) return static_cast<char16_t>(c - 1);
        if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && !(c & 1)) return static_cast<char16_t>(c - 1);
        return c;
    }
    if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
    if (c >= 0x490 && c <= 0x4BF && (c & 1)) return static_cast<char16_t>(c - 1);
    return c;
}

std::u16string UpperCase(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out) c = UpperChar(c);
    return out;
}

namespace {

using ByteTable = std::array<char, 256>;

ByteTable BuildTable(uint8_t charset) {
    ByteTable t{};
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        bool lossy = false;
        std::string up = EncodeText(UpperCase(DecodeText(one, charset)), charset, &lossy);
        t[b] = (lossy || up.size() != 1) ? static_cast<char>(b) : up[0];
    }
    return t;
}

const ByteTable& TableFor(uint8_t charset) {
    static const ByteTable t1251 = BuildTable(kCyrillicCharset);
    static const ByteTable t1250 = BuildTable(kEastEuropeCharset);
    static const ByteTable t1252 = BuildTable(kAnsiCharset);
    switch (CodePageOf(charset)) {
    case 1251: return t1251;
    case 1250: return t1250;
    default: return t1252;
    }
}

}  // namespace

std::string UpperCaseBytes(std::string_view bytes, uint8_t charset) {
    const ByteTable& t = TableFor(charset);
    std::string out(bytes);
    for (auto& c : out) c = t[static_cast<unsigned char>(c)];
    return out;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && UpperChar(a[i]) != UpperChar(b[i])) return false;
    return true;
}

}  // namespace qlm
