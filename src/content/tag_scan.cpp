#include "content/tag_scan.h"

#include "content/file_source.h"
#include "content/id3v1.h"
#include "content/id3v2.h"

namespace qlm {

SongTags ScanSongTags(ByteSource& song, TTTagNode& tags) {
    TId3Tag20 v2;
    if (ReadID3v2(song, v2)) {
        const std::pair<TagField, std::string*> fields[] = {
            {kComposer, &v2.TCOM}, {kArtist, &v2.TPE1}, {kAlbum, &v2.TALB}, {kYear, &v2.TYER}};
        for (const auto& [field, value] : fields) {
            tags.Value(field, false) = *value;
            tags.Value(field, true) = std::move(*value);
        }
        return SongTags::ID3v2;
    }
    ID3v1Fields v1;
    if (ReadID3v1(song, v1)) {
        tags.Value(kComposer, false).clear();
        tags.Value(kArtist, false) = std::move(v1.Artist);
        tags.Value(kAlbum, false) = std::move(v1.Album);
        tags.Value(kYear, false) = std::move(v1.Year);
        return SongTags::ID3v1;
    }
    for (std::string& f : tags.Fields) f.clear();
    return SongTags::None;
}

void TagScan(Catalogue& catalogue) {
    bool anyTag = false, anyID3v2 = false;
    catalogue.ForEachSong([&](TRDataNode& song) {
        TTTagNode& tags = catalogue.EnsureTags(song);
        FileSource file(catalogue.SongFile(song));
        const SongTags found = ScanSongTags(file, tags);
        anyTag |= found != SongTags::None;
        anyID3v2 |= found == SongTags::ID3v2;
    });
    DiskSettings& s = catalogue.settings;
    if (anyTag) s.TagFieldsAvailable |= (1u << kArtist) | (1u << kAlbum) | (1u << kYear);
    if (anyID3v2) s.TagFieldsAvailable |= 1u << kComposer;
    s.TagFieldsShown = 0;
}

}  // namespace qlm
