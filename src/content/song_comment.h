// The comment line of the player panel, taken from a song's tags.
#pragma once

#include <string>
#include <string_view>

#include "content/byte_source.h"
#include "content/id3v1.h"
#include "content/id3v2.h"

namespace qlm {

// How a comment that holds both languages is split: `dualLanguage` when the
// disk has two-language names and texts, `secondLanguage` when a language file
// is in use.
struct CommentLanguage {
    bool dualLanguage = false;
    bool secondLanguage = false;
};

// The ID3v2.3 comment when there is one (one language of it, its lines joined
// by single spaces), else the ID3v1 comment without an ID3v1.1 track number,
// else empty. Either tag may be absent (null).
std::string CommentOfTags(const TId3Tag20* v2, const ID3v1Fields* v1, CommentLanguage language);

std::string SongComment(ByteSource& song, CommentLanguage language);
std::string SongComment(std::u16string_view songFile, CommentLanguage language);

}  // namespace qlm
