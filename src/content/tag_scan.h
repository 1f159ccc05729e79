// The tag scan: for disks whose description carries no tag fields, the songs'
// Composer, Artist, Album and Year come from the MP3 files themselves, once,
// right after the description was loaded (see LoadResult::NeedsTagScan).
#pragma once

#include "content/byte_source.h"
#include "content/catalogue.h"

namespace qlm {

enum class SongTags { None, ID3v1, ID3v2 };

// Fills `tags` from one song file: ID3v2.3 values go to both language
// positions; else ID3v1 values to the first-language positions (Composer
// emptied); else every field is emptied. Returns which tag was used.
SongTags ScanSongTags(ByteSource& song, TTTagNode& tags);

// Gives every song of the catalogue a tag node filled from its file, in tree
// order, then sets TagFieldsAvailable (Artist, Album, Year when any song had a
// tag; Composer too when any had an ID3v2.3 tag) and clears TagFieldsShown.
// A file that cannot be read leaves its song with empty tags.
void TagScan(Catalogue& catalogue);

}  // namespace qlm
