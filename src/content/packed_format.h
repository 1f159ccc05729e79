// Layout constants of the packed form, shared by its reader and writer.
#pragma once

#include <cstdint>
#include <string_view>

namespace qlm {

inline constexpr std::string_view kPackedMagic("QLMP\0\0", 6);
constexpr size_t kPackedHeaderSize = 8;
// major * 10 + minor from which a file is refused as too new.
constexpr int kPackedRefusedVersion = 12;

// Header flag bits.
constexpr int kHeaderHasTexts = 0;
constexpr int kHeaderSlides = 1;
constexpr int kHeaderVideoList1 = 2;
constexpr int kHeaderDualNames = 3;
constexpr int kHeaderPackedBit = 4;
constexpr int kHeaderVideoList2 = 5;
constexpr int kHeaderDualVideos = 6;
constexpr int kHeaderPictureList = 9;
constexpr int kHeaderNumberSongs = 10;
constexpr int kHeaderTagDwordBit = 11;
constexpr int kHeaderTextsNotSearchable = 13;
constexpr int kHeaderTagsInFile = 14;
constexpr int kHeaderSecondCharset = 15;
constexpr int kHeaderDualTexts = 16;

// Node flag bits: bits 0-4 give the kind (lowest set bit wins).
constexpr int kNodeFolderBit = 0;
constexpr int kNodeSongBit = 1;
constexpr int kNodeTextEntryBit = 2;
constexpr int kNodeTextItemBit = 3;
constexpr int kNodeFolderBit2 = 4;
constexpr int kNodeWideBit = 11;
constexpr int kNodeColourOrPrefixBit = 12;  // text entry: colour; song: prefix
constexpr int kNodeTextLinesBit = 13;
constexpr int kNodeCharsetBit = 14;
constexpr int kNodeSecondNameBit = 15;
// Bits 5 to 12, not used by video records of version x.0.
constexpr uint32_t kVideoIgnoredBits = 0xFFu << 5;

// Deepest level a node record may have. Disks use a handful of levels; a
// deeper chain can only come from a damaged file, and would make every
// recursive walk of the tree (views, printing, dumps) a stack hazard.
constexpr uint16_t kMaxNodeLevel = 255;

// The record that ends a tree.
constexpr uint16_t kEndLevel = 65535;
constexpr uint32_t kEndFlags = 15;
inline constexpr std::string_view kEndName = "#ENDL";
inline constexpr std::string_view kEndPictureList = "*#ENDPICLIST#*";

}  // namespace qlm
