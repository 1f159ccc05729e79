#include "qlmdisk/record_text.h"

#include <cstdio>

#include "base/text_codec.h"
#include "content/description_stream.h"

namespace qlm::disk {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool Hex(std::string_view s, size_t at, size_t digits, unsigned& out) {
    if (at + digits > s.size()) return false;
    out = 0;
    for (size_t i = 0; i < digits; ++i) {
        const int v = HexValue(s[at + i]);
        if (v < 0) return false;
        out = out * 16 + static_cast<unsigned>(v);
    }
    return true;
}

// One line's text after "X ": the record's bytes (S, L) or units (W).
bool Unescape(std::string_view text, bool wide, std::string& bytes, std::u16string& units, std::string& error) {
    std::string literal;
    auto flush = [&]() {
        if (wide) {
            units += Utf8ToUtf16(literal);
        } else {
            bool lossy = false;
            bytes += EncodeFromUtf8(literal, 204, &lossy);
            if (lossy) {
                error = "text that Windows-1251 cannot hold (use \\xNN)";
                return false;
            }
        }
        literal.clear();
        return true;
    };
    auto put = [&](unsigned v) {
        if (wide) units.push_back(static_cast<char16_t>(v));
        else bytes.push_back(static_cast<char>(v));
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            literal.push_back(text[i]);
            continue;
        }
        if (!flush()) return false;
        if (i + 1 >= text.size()) {
            error = "a lone backslash at the end (write \\\\)";
            return false;
        }
        const char e = text[++i];
        unsigned v;
        if (e >= '0' && e <= '3') {
            put(static_cast<unsigned>(e - '0'));
        } else if (e == '\\') {
            put('\\');
        } else if (e == 'x' && Hex(text, i + 1, 2, v)) {
            put(v);
            i += 2;
        } else if (e == 'u' && wide && Hex(text, i + 1, 4, v)) {
            put(v);
            i += 4;
        } else {
            error = std::string("unknown escape \\") + e;
            return false;
        }
    }
    return flush();
}

std::string EscapeBytes(std::string_view bytes) {
    std::string out;
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        char buf[8];
        if (b <= 3) {
            out += '\\';
            out += static_cast<char>('0' + b);
        } else if (b == '\\') {
            out += "\\\\";
        } else if (b < 0x20 || b == 0x7F || b == 0x98) {
            std::snprintf(buf, sizeof buf, "\\x%02X", b);
            out += buf;
        } else {
            out += DecodeToUtf8(std::string_view(&ch, 1), 204);
        }
    }
    return out;
}

bool StartsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

}  // namespace

bool EncodeRecordText(std::string_view text, std::string& bytes, std::string& error) {
    DescriptionWriter w;
    size_t lineNo = 0;
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line[0] == '#') continue;
        const char type = line[0];
        if ((type != 'S' && type != 'L' && type != 'W') || (line.size() > 1 && line[1] != ' ')) {
            error = "line " + std::to_string(lineNo) + ": must start with \"S \", \"L \" or \"W \"";
            return false;
        }
        std::string recBytes;
        std::u16string units;
        std::string why;
        if (!Unescape(line.size() > 2 ? line.substr(2) : std::string_view{}, type == 'W', recBytes, units, why)) {
            error = "line " + std::to_string(lineNo) + ": " + why;
            return false;
        }
        const bool ok = type == 'S' ? w.WriteShortRecord(recBytes)
                      : type == 'L' ? w.WriteLongRecord(recBytes)
                                    : w.WriteWideRecord(units);
        if (!ok) {
            error = "line " + std::to_string(lineNo) + ": too long for a" + (type == 'S' ? " short" : " long") + " record";
            return false;
        }
    }
    bytes = w.Take();
    return true;
}

std::string DecodeRecordText(std::string_view bytes) {
    DescriptionStream in(bytes);
    std::string out;
    bool videoList = false, dualVideos = false, longFolders = false, folderList = false;
    enum class Next { Header, PictureList };
    Next mode = Next::Header;
    int pendingShort = 0, pendingLong = 0;  // records owed to CVF= / VI=
    while (!in.AtEnd()) {
        const size_t at = in.Position();
        std::string rec;
        const bool isLong = pendingLong > 0 || mode == Next::PictureList || (folderList && longFolders);
        if (!(isLong ? in.ReadLongRecord(rec) : in.ReadShortRecord(rec))) {
            out += "# " + std::to_string(bytes.size() - at) + " bytes at the end do not form a whole " +
                   (isLong ? "long" : "short") + " record\n";
            break;
        }
        out += isLong ? "L " : "S ";
        out += EscapeBytes(rec);
        out += '\n';
        if (pendingShort > 0) { --pendingShort; continue; }
        if (pendingLong > 0) { --pendingLong; continue; }
        if (mode == Next::PictureList) {
            if (rec.empty() || rec == std::string_view("\1\2\3#PICList", 11)) mode = Next::Header;
            continue;
        }
        if (folderList) continue;
        std::string_view t = rec;
        while (!t.empty() && (t[0] == ' ' || t[0] == '\t')) t.remove_prefix(1);
        std::string up(t);
        for (auto& c : up) if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        if (StartsWith(up, "EV=")) videoList = t.size() > 3 && t[3] != '0';
        else if (StartsWith(t, "VDL=")) dualVideos = t.size() > 4 && t[4] == '1';
        else if (t == "ELS=1") longFolders = true;
        else if (StartsWith(t, "CVF=") && videoList) pendingShort = dualVideos ? 1 : 0;
        else if (StartsWith(t, "VI=") && videoList) pendingLong = dualVideos ? 2 : 1;
        else if (StartsWith(t, "PICList")) mode = Next::PictureList;
        else if (StartsWith(t, "EndOfCFG")) folderList = true;
    }
    return out;
}

}  // namespace qlm::disk
