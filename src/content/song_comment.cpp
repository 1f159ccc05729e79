#include "content/song_comment.h"

#include "content/file_source.h"

namespace qlm {
namespace {

constexpr std::string_view kLanguageSeparator = "\r\n\r\n\r\n";

std::string_view TrimLine(std::string_view t) {
    auto blank = [](char c) { return c == '\0' || c == '\t' || c == ' ' || c == '\r'; };
    while (!t.empty() && blank(t.front())) t.remove_prefix(1);
    while (!t.empty() && blank(t.back())) t.remove_suffix(1);
    return t;
}

std::string JoinLines(std::string_view text) {
    std::string out;
    while (true) {
        const size_t nl = text.find('\n');
        std::string_view line = TrimLine(text.substr(0, nl));
        if (!line.empty()) {
            if (!out.empty()) out += ' ';
            out += line;
        }
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
    return out;
}

}  // namespace

std::string CommentOfTags(const TId3Tag20* v2, const ID3v1Fields* v1, CommentLanguage language) {
    if (v2 && !v2->COMM.empty()) {
        std::string_view text = v2->COMM;
        if (language.dualLanguage) {
            const size_t sep = text.find(kLanguageSeparator);
            if (sep != std::string_view::npos)
                text = language.secondLanguage ? text.substr(sep + kLanguageSeparator.size()) : text.substr(0, sep);
        }
        return JoinLines(text);
    }
    if (v1 && !v1->Comment.empty()) {
        std::string_view c = v1->Comment;
        // ID3v1.1 keeps a track number in the last byte behind a zero.
        if (c.size() == 30 && c[29] != '\0' && c[28] == '\0') c = TrimTagTail(c.substr(0, 29));
        return std::string(c);
    }
    return {};
}

std::string SongComment(ByteSource& song, CommentLanguage language) {
    TId3Tag20 v2;
    ID3v1Fields v1;
    const bool hasV2 = ReadID3v2(song, v2);
    const bool hasV1 = ReadID3v1(song, v1);
    return CommentOfTags(hasV2 ? &v2 : nullptr, hasV1 ? &v1 : nullptr, language);
}

std::string SongComment(std::u16string_view songFile, CommentLanguage language) {
    FileSource song(songFile);
    return SongComment(song, language);
}

}  // namespace qlm
