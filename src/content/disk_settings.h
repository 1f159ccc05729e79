// What the disk description says about the disk as a whole: its switches,
// its HTML pages and its slide list. 8-bit texts are kept as the bytes of the
// file; decode them with DiskSettings::Charset1 (base/text_codec.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/text_codec.h"

namespace qlm {

// Tag-field bits, for TagFieldsAvailable / TagFieldsShown and TTTagNode.
enum TagField : int { kComposer = 0, kArtist = 1, kAlbum = 2, kYear = 3, kGenre = 4, kTagFieldCount = 5 };

struct DiskSettings {
    std::string DiskIdentifier;
    std::string DiskTitle;
    std::string TitlePicture;  // relative to the disk root
    bool HasTexts = false;
    bool SlidesEnabled = false;
    bool VideosEnabled = false;
    bool VideoListInFile = false;
    bool TwoLevelFolders = false;
    bool DualLanguageNames = false;
    bool DualLanguageVideos = false;
    bool DualLanguageSlides = false;
    bool DualLanguageTexts = false;
    bool NumberSongs = false;
    bool LongFolderRecords = false;
    bool PictureListInFile = false;
    bool TagsInFile = false;
    bool TextsNotSearchable = false;
    uint16_t TagFieldsAvailable = 0;  // bit per TagField
    uint16_t TagFieldsShown = 0;
    uint8_t Charset1 = kCyrillicCharset;  // names; also every other 8-bit text of the disk
    uint8_t Charset2 = kCyrillicCharset;  // second-language names
    uint8_t TextCharset = kCyrillicCharset;  // text window font
};

// Calls f(name, field) for every DiskSettings field, in declaration order;
// field is std::string, bool, uint16_t or uint8_t (const when s is const).
template <class S, class F>
void VisitSettingsFields(S& s, F&& f) {
    f("DiskIdentifier", s.DiskIdentifier);
    f("DiskTitle", s.DiskTitle);
    f("TitlePicture", s.TitlePicture);
    f("HasTexts", s.HasTexts);
    f("SlidesEnabled", s.SlidesEnabled);
    f("VideosEnabled", s.VideosEnabled);
    f("VideoListInFile", s.VideoListInFile);
    f("TwoLevelFolders", s.TwoLevelFolders);
    f("DualLanguageNames", s.DualLanguageNames);
    f("DualLanguageVideos", s.DualLanguageVideos);
    f("DualLanguageSlides", s.DualLanguageSlides);
    f("DualLanguageTexts", s.DualLanguageTexts);
    f("NumberSongs", s.NumberSongs);
    f("LongFolderRecords", s.LongFolderRecords);
    f("PictureListInFile", s.PictureListInFile);
    f("TagsInFile", s.TagsInFile);
    f("TextsNotSearchable", s.TextsNotSearchable);
    f("TagFieldsAvailable", s.TagFieldsAvailable);
    f("TagFieldsShown", s.TagFieldsShown);
    f("Charset1", s.Charset1);
    f("Charset2", s.Charset2);
    f("TextCharset", s.TextCharset);
}

// One HTML page the description declares (flags and byte: packed form only).
struct PageEntry {
    std::string Caption;
    std::string File;
    uint32_t Flags = 0;
    uint8_t Byte = 0;
};

// One slide; File is relative to {root}Picture\.
struct TTSlideList {
    std::string File;
    std::string Caption;
    std::string Caption2;  // empty unless DualLanguageSlides
};

}  // namespace qlm
