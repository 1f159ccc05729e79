// Where the text window finds what it shows: the text files of a song, a text
// entry's file, a video's description and picture, the rule under the title
// of the no-text notice, and how a text file's bytes become text. Window-free;
// file existence comes in as a function so the rules run anywhere.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qlm {

using FileExists = std::function<bool(const std::u16string&)>;

// What ShowText puts into the window.
enum class TextKind {
    Html,    // the HTML view
    Rich,    // the rich-text view (".txt", ".rtf", a text entry's file)
    NoText,  // the no-text notice
};

struct TextChoice {
    TextKind kind = TextKind::NoText;
    std::u16string file;  // full path for Html and Rich
};

// {root}Text\{dir}\ for a song path "dir\name.ext", {root}Text\ for a song at
// the disk root. `root` ends with a backslash; '/' counts as a separator too.
std::u16string SongTextBase(std::u16string_view root, std::u16string_view songPath);
// The song's file name without folder and extension.
std::u16string SongTextName(std::u16string_view songPath);

// A song: base + name + ".htm", else ".txt", else ".rtf", else the notice.
TextChoice ChooseSongText(std::u16string_view root, std::u16string_view songPath, const FileExists& exists);
// A text entry: root + path with whatever extension it has, else the notice.
TextChoice ChooseEntryText(std::u16string_view root, std::u16string_view entryPath, const FileExists& exists);

// A video's description or picture.
struct VideoChoice {
    TextKind kind = TextKind::NoText;  // Rich (".rtf"), Html (".htm"), NoText: show a picture
    std::u16string file;               // the description
    std::u16string picture;            // with NoText: the picture to show, empty for none
    bool ownPicture = false;           // the picture is the video's own (not the title picture)
};
// {root}Video\{videoPath} with its extension replaced by ".rtf", then ".htm";
// without either the video's picture {root}Video\{picture}, else the title
// picture {root}{titlePicture}, when they exist.
VideoChoice ChooseVideoDescription(std::u16string_view root, std::u16string_view videoPath,
                                   std::u16string_view picture, std::u16string_view titlePicture,
                                   const FileExists& exists);

// The title picture's kind by its extension in upper case: only these two show.
enum class TitlePictureKind { None, Jpeg, Gif };
TitlePictureKind TitlePictureKindOf(std::u16string_view file);

// The rule of "-" under the title of the no-text notice: one "-", grown one
// at a time until `width` of the rule is at least `width` of the title.
// A measure that never grows stops at kMaxRule characters.
constexpr size_t kMaxRule = 4096;
std::u16string NoTextRule(std::u16string_view title, const std::function<int(std::u16string_view)>& width);

// A text file's bytes as text: RTF (starting "{\rtf") is left to the rich
// view; otherwise a UTF-8 or UTF-16 byte order mark decides, else the disk's
// text character set.
bool LooksLikeRtf(std::string_view bytes);
std::u16string DecodeTextFile(std::string_view bytes, uint8_t textCharset);

// A long text goes into the view in two steps so that its first screenful
// shows at once: the length of the first step. It ends after the `lines`-th
// line break, or at the last line break within `maxChars` (never inside a
// CR LF pair or a surrogate pair). The whole length when the text is no longer.
constexpr size_t kFirstPartLines = 100;
constexpr size_t kFirstPartChars = 8 * 1024;
size_t FirstPartLength(std::u16string_view text, size_t lines = kFirstPartLines, size_t maxChars = kFirstPartChars);

}  // namespace qlm
