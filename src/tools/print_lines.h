// The lines of the printed table of contents (and of its text file): songs in
// disk order under headers for their folders, running or outline numbers,
// optional tag fields, or the songs alone sorted by name.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "content/catalogue.h"

namespace qlm::print {

enum class LineKind : uint8_t { Header1, Header2, Song };

struct PrintLine {
    LineKind kind = LineKind::Song;
    std::u16string number;  // numbers and filler blanks; may be empty
    std::u16string name;
    std::u16string tags;    // for songs: the chosen tag fields; may be empty
    bool operator==(const PrintLine&) const = default;
};

// Tag fields a song line may carry.
enum TagChoice : unsigned { kTagComposer = 1, kTagArtist = 2, kTagAlbum = 4, kTagYear = 8 };

struct LineOptions {
    bool selectedOnly = false;                 // "Выбранные"
    std::unordered_set<int32_t> checkedFolders;  // ListIndex of folders checked in the folder tree
    bool outline = false;                      // "Ступенчатая", else running numbers
    bool sort = false;                         // by name, no headers
    unsigned tags = 0;                         // TagChoice bits
    // Negative when a sorts before b (the platform's collation, ignoring case).
    std::function<int(const std::u16string& a, const std::u16string& b)> collate;
};

// Every file under `root` whose extension is ".mp3" in any letter case, as
// its full path in upper case, in directory listing order, each subfolder
// entered where the listing meets it.
std::vector<std::u16string> CollectSongFiles(const std::u16string& root);

// Builds the lines from the collected files: each file is looked up through
// the song index; a file with no song is skipped (its position stays used).
std::vector<PrintLine> BuildLines(const Catalogue& catalogue, const std::vector<std::u16string>& files,
                                  const LineOptions& options);

// The text file: an empty line before a header that follows a song (not when
// sorted), each line as number + name + tags, CR LF line ends, UTF-8 with a
// byte order mark so that names in any script survive.
std::string TextFileBytes(const std::vector<PrintLine>& lines, bool sorted);
// Creates (or overwrites) the file; false when it could not be written.
bool SaveTextFile(const std::u16string& path, const std::vector<PrintLine>& lines, bool sorted);

}  // namespace qlm::print
