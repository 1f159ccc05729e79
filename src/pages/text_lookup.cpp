#include "pages/text_lookup.h"

#include "base/text_codec.h"

namespace qlm {
namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

size_t LastSeparator(std::u16string_view path) {
    for (size_t i = path.size(); i > 0; --i)
        if (IsSeparator(path[i - 1])) return i - 1;
    return std::u16string_view::npos;
}

std::u16string WithoutExtension(std::u16string_view file) {
    size_t cut = LastSeparator(file);
    size_t nameStart = cut == std::u16string_view::npos ? 0 : cut + 1;
    size_t dot = file.rfind(u'.');
    if (dot == std::u16string_view::npos || dot < nameStart) return std::u16string(file);
    return std::u16string(file.substr(0, dot));
}

char16_t Upper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

}  // namespace

std::u16string SongTextBase(std::u16string_view root, std::u16string_view songPath) {
    std::u16string base = std::u16string(root) + u"Text\\";
    size_t cut = LastSeparator(songPath);
    if (cut != std::u16string_view::npos && cut > 0) base += std::u16string(songPath.substr(0, cut)) + u"\\";
    return base;
}

std::u16string SongTextName(std::u16string_view songPath) {
    size_t cut = LastSeparator(songPath);
    std::u16string_view name = cut == std::u16string_view::npos ? songPath : songPath.substr(cut + 1);
    return WithoutExtension(name);
}

TextChoice ChooseSongText(std::u16string_view root, std::u16string_view songPath, const FileExists& exists) {
    std::u16string stem = SongTextBase(root, songPath) + SongTextName(songPath);
    if (std::u16string f = stem + u".htm"; exists(f)) return {TextKind::Html, f};
    if (std::u16string f = stem + u".txt"; exists(f)) return {TextKind::Rich, f};
    if (std::u16string f = stem + u".rtf"; exists(f)) return {TextKind::Rich, f};
    return {};
}

TextChoice ChooseEntryText(std::u16string_view root, std::u16string_view entryPath, const FileExists& exists) {
    std::u16string f = std::u16string(root) + std::u16string(entryPath);
    if (!entryPath.empty() && exists(f)) return {TextKind::Rich, f};
    return {};
}

VideoChoice ChooseVideoDescription(std::u16string_view root, std::u16string_view videoPath,
                                   std::u16string_view picture, std::u16string_view titlePicture,
                                   const FileExists& exists) {
    VideoChoice c;
    std::u16string stem = WithoutExtension(std::u16string(root) + u"Video\\" + std::u16string(videoPath));
    if (std::u16string f = stem + u".rtf"; exists(f)) {
        c.kind = TextKind::Rich;
        c.file = f;
        return c;
    }
    if (std::u16string f = stem + u".htm"; exists(f)) {
        c.kind = TextKind::Html;
        c.file = f;
        return c;
    }
    if (!picture.empty()) {
        std::u16string own = std::u16string(root) + u"Video\\" + std::u16string(picture);
        if (exists(own)) {
            c.picture = own;
            c.ownPicture = true;
            return c;
        }
    }
    if (!titlePicture.empty()) {
        std::u16string title = std::u16string(root) + std::u16string(titlePicture);
        if (exists(title)) c.picture = title;
    }
    return c;
}

TitlePictureKind TitlePictureKindOf(std::u16string_view file) {
    size_t dot = file.rfind(u'.');
    if (dot == std::u16string_view::npos) return TitlePictureKind::None;
    std::u16string ext;
    for (char16_t c : file.substr(dot)) ext += Upper(c);
    if (ext == u".JPG") return TitlePictureKind::Jpeg;
    if (ext == u".GIF") return TitlePictureKind::Gif;
    return TitlePictureKind::None;
}

std::u16string NoTextRule(std::u16string_view title, const std::function<int(std::u16string_view)>& width) {
    const int wanted = width(title);
    std::u16string rule = u"-";
    while (rule.size() < kMaxRule && width(rule) < wanted) rule += u'-';
    return rule;
}

bool LooksLikeRtf(std::string_view bytes) { return bytes.substr(0, 5) == "{\\rtf"; }

std::u16string DecodeTextFile(std::string_view bytes, uint8_t textCharset) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return Utf8ToUtf16(bytes.substr(3));
    if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE) {
        std::u16string out;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            out += static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
        return out;
    }
    return DecodeText(bytes, textCharset);
}

size_t FirstPartLength(std::u16string_view text, size_t lines, size_t maxChars) {
    size_t breaks = 0, lastBreakEnd = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i >= maxChars && i > 0) {
            if (lastBreakEnd > 0) return lastBreakEnd;
            size_t cut = i;  // one long line: cut it, but not a character in two
            if (cut > 1 && text[cut - 1] >= 0xD800 && text[cut - 1] < 0xDC00) --cut;
            return cut;
        }
        char16_t c = text[i];
        if (c != u'\r' && c != u'\n') continue;
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        lastBreakEnd = i + 1;
        if (++breaks == lines) return lastBreakEnd;
    }
    return text.size();
}

}  // namespace qlm
