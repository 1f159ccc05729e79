#include "content/id3v1.h"

namespace qlm {

std::string_view TrimTagTail(std::string_view text) {
    while (!text.empty() && (text.back() == '\0' || text.back() == '\t' || text.back() == ' '))
        text.remove_suffix(1);
    return text;
}

bool ParseID3v1(std::string_view block, ID3v1Fields& out) {
    out = ID3v1Fields{};
    if (block.size() != kID3v1Size || block.substr(0, 3) != "TAG") return false;
    auto field = [&](size_t at, size_t length) { return std::string(TrimTagTail(block.substr(at, length))); };
    out.Title = field(3, 30);
    out.Artist = field(33, 30);
    out.Album = field(63, 30);
    out.Year = field(93, 4);
    out.Comment = field(97, 30);
    out.Genre = static_cast<uint8_t>(block[127]);
    return true;
}

bool ReadID3v1(ByteSource& file, ID3v1Fields& out) {
    out = ID3v1Fields{};
    if (file.Size() < kID3v1Size) return false;
    return ParseID3v1(file.Read(file.Size() - kID3v1Size, kID3v1Size), out);
}

}  // namespace qlm
