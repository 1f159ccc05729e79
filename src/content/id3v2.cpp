#include "content/id3v2.h"

#include <algorithm>

#include "base/text_codec.h"

namespace qlm {
namespace {

using Member = std::string TId3Tag20::*;
constexpr std::array<Member, TId3Tag20::kFieldCount> kMembers = {
    &TId3Tag20::TRCK, &TId3Tag20::TENC, &TId3Tag20::WXXX, &TId3Tag20::TCOP, &TId3Tag20::TCOM, &TId3Tag20::TOPE,
    &TId3Tag20::COMM, &TId3Tag20::TYER, &TId3Tag20::TCON, &TId3Tag20::TALB, &TId3Tag20::TPE1, &TId3Tag20::TIT2};

constexpr size_t kHeaderSize = 10;
constexpr size_t kFrameHeaderSize = 10;

uint32_t BigEndian32(std::string_view b) {
    return (uint32_t(uint8_t(b[0])) << 24) | (uint32_t(uint8_t(b[1])) << 16) | (uint32_t(uint8_t(b[2])) << 8) |
           uint32_t(uint8_t(b[3]));
}

uint32_t Syncsafe32(std::string_view b) {
    return (uint32_t(uint8_t(b[0]) & 0x7F) << 21) | (uint32_t(uint8_t(b[1]) & 0x7F) << 14) |
           (uint32_t(uint8_t(b[2]) & 0x7F) << 7) | uint32_t(uint8_t(b[3]) & 0x7F);
}

bool IsWide(uint8_t encoding) { return encoding == 1 || encoding == 2; }

// Position just after the zero terminator of the leading text of `data`
// (a two-byte terminator on a two-byte boundary for UTF-16), or npos.
size_t AfterTerminator(uint8_t encoding, std::string_view data) {
    if (!IsWide(encoding)) {
        size_t z = data.find('\0');
        return z == std::string_view::npos ? z : z + 1;
    }
    for (size_t i = 0; i + 1 < data.size(); i += 2)
        if (data[i] == '\0' && data[i + 1] == '\0') return i + 2;
    return std::string_view::npos;
}

}  // namespace

std::string& TId3Tag20::Field(size_t index) { return this->*kMembers.at(index); }
const std::string& TId3Tag20::Field(size_t index) const { return this->*kMembers.at(index); }

std::string ID3v2Text(uint8_t encoding, std::string_view data) {
    if (IsWide(encoding)) {
        bool bigEndian = encoding == 2;
        if (data.size() >= 2) {
            const uint8_t b0 = uint8_t(data[0]), b1 = uint8_t(data[1]);
            if ((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF)) {
                bigEndian = b0 == 0xFE;
                data.remove_prefix(2);
            }
        }
        std::u16string text;
        text.reserve(data.size() / 2);
        for (size_t i = 0; i + 1 < data.size(); i += 2) {
            const char16_t lo = uint8_t(data[bigEndian ? i + 1 : i]), hi = uint8_t(data[bigEndian ? i : i + 1]);
            text.push_back(char16_t(lo | (hi << 8)));
        }
        while (!text.empty() && text.back() == u'\0') text.pop_back();
        return EncodeText(text, kCyrillicCharset);
    }
    while (!data.empty() && data.back() == '\0') data.remove_suffix(1);
    if (encoding == 3) return EncodeFromUtf8(data, kCyrillicCharset);
    return std::string(data);
}

uint64_t ID3v2TagSize(ByteSource& file) {
    std::string_view h = file.Read(0, kHeaderSize);
    if (h.size() < kHeaderSize || h.substr(0, 3) != "ID3") return 0;
    uint64_t size = uint64_t(Syncsafe32(h.substr(6, 4))) + kHeaderSize;
    if (uint8_t(h[3]) == 4 && (uint8_t(h[5]) & 0x10)) size += kHeaderSize;  // footer
    return size > file.Size() ? 0 : size;
}

bool ReadID3v2(ByteSource& file, TId3Tag20& out) {
    out = TId3Tag20{};
    std::string_view h = file.Read(0, kHeaderSize);
    if (h.size() < kHeaderSize || h.substr(0, 3) != "ID3" || uint8_t(h[3]) != 3) return false;
    const uint8_t flags = uint8_t(h[5]);
    const uint64_t tagEnd = uint64_t(Syncsafe32(h.substr(6, 4))) + kHeaderSize;
    if (tagEnd > file.Size()) return false;

    uint64_t pos = kHeaderSize;
    if (flags & 0x40) {
        // The extended header gives its own size (6, or 10 with a CRC) after a 4-byte size field.
        std::string_view e = file.Read(pos, 4);
        pos += e.size() == 4 ? 4 + uint64_t(BigEndian32(e)) : 10;
    }
    bool seen[TId3Tag20::kFieldCount] = {};
    while (pos + kFrameHeaderSize <= tagEnd) {
        std::string_view fh = file.Read(pos, kFrameHeaderSize);
        if (fh.size() < kFrameHeaderSize || fh[0] == '\0') break;  // padding
        const std::string_view idView = fh.substr(0, 4);
        auto it = std::find(TId3Tag20::kFrameIds.begin(), TId3Tag20::kFrameIds.end(), idView);
        const uint64_t size = std::min<uint64_t>(BigEndian32(fh.substr(4, 4)), tagEnd - pos - kFrameHeaderSize);
        const bool packed = (uint8_t(fh[9]) & 0xC0) != 0;  // compressed or encrypted: not readable here
        pos += kFrameHeaderSize;
        const size_t index = size_t(it - TId3Tag20::kFrameIds.begin());
        if (it != TId3Tag20::kFrameIds.end() && !seen[index] && !packed && size >= 1 && size <= kID3v2FrameBuffer) {
            const std::string_view id = *it;
            std::string_view data = file.Read(pos, size_t(size));
            if (data.size() == size) {
                seen[index] = true;
                const uint8_t encoding = uint8_t(data[0]);
                data.remove_prefix(1);
                if (id == "COMM") data.remove_prefix(std::min<size_t>(3, data.size()));  // language
                if (id == "COMM" || id == "WXXX") {
                    // A short description comes first; the URL of WXXX is Latin-1 whatever the encoding.
                    size_t after = AfterTerminator(encoding, data);
                    data = after == std::string_view::npos ? std::string_view() : data.substr(after);
                    out.Field(index) = ID3v2Text(id == "WXXX" ? 0 : encoding, data);
                } else {
                    out.Field(index) = ID3v2Text(encoding, data);
                }
            }
        }
        pos += size;
    }
    return true;
}

}  // namespace qlm
