// Builds packed-form files field by field for the tests, so odd files (bad
// kinds, level jumps, truncation) can be made as easily as good ones.
#pragma once

#include <string>

#include "content/description_stream.h"
#include "content/packed_format.h"

namespace qlm::test {

class PackedFile {
public:
    // Header up to and including the character sets; `flags` gets the packed bit.
    PackedFile(uint32_t flags, uint8_t major = 1, uint8_t minor = 1, uint32_t tagDword = 0) : flags_(flags | (1u << kHeaderPackedBit)) {
        w.WritePlain(kPackedMagic);
        w.WritePlain(std::string{static_cast<char>(major), static_cast<char>(minor)});
        w.WriteShortRecord("ID-1");
        w.WriteShortRecord("Title");
        w.WriteKeyedDword(flags_);
        w.WriteShortRecord(kPackedMagic);
        if (flags_ & (1u << kHeaderTagDwordBit)) w.WriteKeyedDword(tagDword);
        w.WriteLongRecord("title.jpg");
        w.WriteKeyedByte(204);
        if (flags_ & (1u << kHeaderSecondCharset)) w.WriteKeyedByte(0);
        w.WriteKeyedByte(238);
    }
    PackedFile& NoPages() { w.WriteKeyedWord(0); return *this; }
    PackedFile& TreeFollows(bool yes = true) { w.WriteKeyedDword(yes ? 1 : 0); return *this; }
    // A folder or song record with a single-byte name.
    PackedFile& Node(uint16_t level, uint32_t nf, const std::string& name, const std::string& path) {
        w.WriteKeyedWord(level);
        w.WriteKeyedDword(nf);
        w.WriteLongRecord(name);
        w.WriteLongRecord(path);
        return *this;
    }
    PackedFile& Folder(uint16_t level, const std::string& name) { return Node(level, 1, name, name); }
    PackedFile& Song(uint16_t level, const std::string& name, const std::string& path) { return Node(level, 2, name, path); }
    PackedFile& End() {
        w.WriteKeyedWord(kEndLevel);
        w.WriteKeyedDword(kEndFlags);
        w.WriteLongRecord(kEndName);
        return *this;
    }
    std::string Bytes() const { return w.Bytes(); }

    DescriptionWriter w;

private:
    uint32_t flags_;
};

}  // namespace qlm::test
