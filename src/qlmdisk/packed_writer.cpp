// DiskManifest -> the packed form.
#include "base/text_codec.h"
#include "content/description_stream.h"
#include "content/packed_format.h"
#include "qlmdisk/manifest.h"
#include "qlmdisk/writer_support.h"

namespace qlm::disk {
namespace {

uint32_t B(int bit) { return 1u << bit; }

class PackedWriter : public WriterBase {
public:
    PackedWriter(const DiskManifest& m, std::string& error) : WriterBase(m, error) {}

    bool Run() {
        const DiskSettings& s = m_.settings;
        if (s.VideosEnabled || s.TwoLevelFolders || s.LongFolderRecords)
            return Fail("settings", "VideosEnabled, TwoLevelFolders and LongFolderRecords exist only in the record form");
        if (!m_.videoFolders.empty() && !s.VideoListInFile) return Fail("videoFolders", "need VideoListInFile");
        const bool pictureList = s.PictureListInFile || !m_.pictures.empty() || s.DualLanguageSlides;
        if (pictureList && !s.SlidesEnabled) return Fail("pictures", "the packed form carries a picture list only with SlidesEnabled");

        uint32_t h = B(kHeaderPackedBit);
        if (s.HasTexts) h |= B(kHeaderHasTexts);
        if (s.SlidesEnabled) h |= B(kHeaderSlides);
        if (s.VideoListInFile) h |= B(kHeaderVideoList1) | B(kHeaderVideoList2);
        if (s.DualLanguageNames) h |= B(kHeaderDualNames);
        if (s.DualLanguageVideos) h |= B(kHeaderDualVideos);
        if (pictureList) h |= B(kHeaderPictureList);
        if (s.NumberSongs) h |= B(kHeaderNumberSongs);
        const bool tagDword = s.TagFieldsAvailable || s.TagFieldsShown;
        if (tagDword) h |= B(kHeaderTagDwordBit);
        if (s.TextsNotSearchable) h |= B(kHeaderTextsNotSearchable);
        if (s.TagsInFile) h |= B(kHeaderTagsInFile);
        if (s.Charset2 != s.Charset1) h |= B(kHeaderSecondCharset);
        if (s.DualLanguageTexts) h |= B(kHeaderDualTexts);

        w_.WritePlain(kPackedMagic);
        w_.WritePlain(std::string{static_cast<char>(m_.versionMajor), static_cast<char>(m_.versionMinor)});
        if (!Short(s.DiskIdentifier, cs1_, "settings.DiskIdentifier") || !Short(s.DiskTitle, cs1_, "settings.DiskTitle"))
            return false;
        w_.WriteKeyedDword(h);
        w_.WriteShortRecord(kPackedMagic);
        if (tagDword) w_.WriteKeyedDword(s.TagFieldsAvailable | (static_cast<uint32_t>(s.TagFieldsShown) << 16));
        if (!Long(s.TitlePicture, cs1_, "settings.TitlePicture")) return false;
        w_.WriteKeyedByte(s.Charset1);
        if (s.Charset2 != s.Charset1) w_.WriteKeyedByte(s.Charset2);
        w_.WriteKeyedByte(s.TextCharset);

        if (m_.pages.size() > 0xFFFF) return Fail("pages", "more than 65535 pages");
        w_.WriteKeyedWord(static_cast<uint16_t>(m_.pages.size()));
        for (size_t i = 0; i < m_.pages.size(); ++i) {
            const auto& p = m_.pages[i];
            const std::string w = "pages[" + std::to_string(i) + "]";
            w_.WriteKeyedDword(p.Flags);
            if (!Short(p.Caption, cs1_, w + ".caption") || !Short(p.File, cs1_, w + ".file")) return false;
            w_.WriteKeyedByte(p.Byte);
            w_.WriteKeyedByte(0);
        }

        w_.WriteKeyedDword(m_.tree.empty() ? 0 : 1);
        if (!m_.tree.empty()) {
            for (const auto& n : m_.tree)
                if (!Node(n, 0)) return false;
            EndRecord();
        }
        if (s.VideoListInFile) {
            w_.WriteKeyedDword(m_.videoFolders.empty() ? 0 : 1);
            if (!m_.videoFolders.empty()) {
                for (const auto& f : m_.videoFolders) {
                    if (!Video(f, 0, true)) return false;
                    for (const auto& v : f.videos)
                        if (!Video(v, 1, false)) return false;
                }
                EndRecord();
            }
        }
        if (pictureList) {
            const bool present = !m_.pictures.empty() || s.DualLanguageSlides;
            w_.WriteKeyedDword(present ? 1 : 0);
            if (present) {
                w_.WriteKeyedByte(0);
                w_.WriteKeyedWord(s.DualLanguageSlides ? 1 : 0);
                for (size_t i = 0; i < m_.pictures.size(); ++i) {
                    const auto& p = m_.pictures[i];
                    const std::string w = "pictures[" + std::to_string(i) + "]";
                    if (p.File.empty()) return Fail(w + ".file", "must not be empty");
                    if (!Long(p.File, cs1_, w + ".file") || !Long(p.Caption, cs1_, w + ".caption")) return false;
                    if (s.DualLanguageSlides && !Long(p.Caption2, cs2_, w + ".caption2")) return false;
                    if (!s.DualLanguageSlides && !p.Caption2.empty()) return Fail(w + ".caption2", "needs DualLanguageSlides");
                }
                w_.WriteLongRecord(kEndPictureList);
            }
        }
        return true;
    }

    std::string Take() { return w_.Take(); }

private:
    bool Short(const std::string& utf8, uint8_t cs, const std::string& where) {
        std::string b;
        if (!Encode(utf8, cs, where, b)) return false;
        if (!w_.WriteShortRecord(b)) return Fail(where, "longer than the 255 bytes of a short record");
        return true;
    }
    bool Long(const std::string& utf8, uint8_t cs, const std::string& where) {
        std::string b;
        if (!Encode(utf8, cs, where, b)) return false;
        if (!w_.WriteLongRecord(b)) return Fail(where, "longer than the 65535 bytes of a long record");
        return true;
    }
    bool Name(const std::string& utf8, bool wide, uint8_t cs, const std::string& where) {
        if (!wide) return Long(utf8, cs, where);
        if (!w_.WriteWideRecord(Utf8ToUtf16(utf8))) return Fail(where, "longer than 65535 UTF-16 units");
        return true;
    }

    void EndRecord() {
        w_.WriteKeyedWord(kEndLevel);
        w_.WriteKeyedDword(kEndFlags);
        w_.WriteLongRecord(kEndName);
    }

    // The parts every node record starts with: level, flags, names.
    bool Head(uint16_t level, uint32_t nf, const ManifestNode* n, const ManifestVideo* v) {
        const std::string& where = n ? n->where : v->where;
        const std::string& name = n ? n->name : v->name;
        const std::string& name2 = n ? n->name2 : v->name2;
        const uint8_t c1 = n && n->charset ? *n->charset : cs1_;
        const uint8_t c2 = n && n->charset2 ? *n->charset2 : cs2_;
        w_.WriteKeyedWord(level);
        w_.WriteKeyedDword(nf);
        const bool wide = nf & B(kNodeWideBit);
        if (nf & B(kNodeCharsetBit)) w_.WriteKeyedByte(c1);
        if (!Name(name, wide, c1, where + ".name")) return false;
        if (v && !Long(v->description, cs1_, where + ".description")) return false;
        if (nf & B(kNodeSecondNameBit)) {
            if (nf & B(kNodeCharsetBit)) w_.WriteKeyedByte(c2);
            if (!Name(name2, wide, c2, where + ".name2")) return false;
            if (v && !Long(v->description2, cs2_, where + ".description2")) return false;
        }
        return true;
    }

    bool Node(const ManifestNode& n, uint16_t level) {
        if (level >= kEndLevel) return Fail(n.where, "nested too deeply");
        const DiskSettings& s = m_.settings;
        static constexpr int kKindBit[4] = {kNodeFolderBit, kNodeSongBit, kNodeTextEntryBit, kNodeTextItemBit};
        uint32_t nf = B(kKindBit[n.kind]);
        if (n.utf16) nf |= B(kNodeWideBit);
        if (n.charset || n.charset2) nf |= B(kNodeCharsetBit);
        bool second = !n.name2.empty();
        for (int f = 0; f < kTagFieldCount; ++f) second |= !n.tags[2 * f + 1].empty();
        if (second) nf |= B(kNodeSecondNameBit);
        if (n.kind == kKindSong && n.hasTags) {
            if (!s.TagFieldsAvailable) return Fail(n.where + ".tags", "need TagFieldsAvailable in the settings");
            for (int f = 0; f < kTagFieldCount; ++f)
                if (!(s.TagFieldsAvailable & (1u << f)) && (!n.tags[2 * f].empty() || !n.tags[2 * f + 1].empty()))
                    return Fail(n.where + ".tags", "a field not in TagFieldsAvailable");
            if (!n.tags[TTTagNode::kTagPrefix].empty()) nf |= B(kNodeColourOrPrefixBit);
        }
        if (n.kind == kKindTextEntry) {
            if (n.textHasLines) nf |= B(kNodeTextLinesBit);
            if (n.colour) nf |= B(kNodeColourOrPrefixBit);
        }
        if (!Head(level, nf, &n, nullptr)) return false;
        const uint8_t c1 = n.charset ? *n.charset : cs1_;
        const uint8_t c2 = n.charset2 ? *n.charset2 : cs2_;
        switch (n.kind) {
        case kKindFolder:
        case kKindSong:
            if (!Long(n.path, cs1_, n.where + ".path")) return false;
            break;
        case kKindTextEntry: {
            const size_t count = n.textHasLines ? n.lines.size() : n.values.size();
            if (count > 0xFFFF) return Fail(n.where + ".text", "more than 65535 lines or values");
            w_.WriteKeyedWord(static_cast<uint16_t>(count));
            if (!Long(n.textFile, cs1_, n.where + ".text.file")) return false;
            if (n.colour) w_.WriteKeyedDword(*n.colour);
            for (const auto& line : n.lines)
                if (!Long(line, cs1_, n.where + ".text.lines")) return false;
            for (uint16_t v : n.values) w_.WriteKeyedWord(v);
            break;
        }
        default:
            w_.WriteKeyedDword(static_cast<uint32_t>(n.value1));
            w_.WriteKeyedDword(static_cast<uint32_t>(n.value2));
            break;
        }
        if (n.kind == kKindSong && s.TagFieldsAvailable) {
            for (int f = 0; f < kTagFieldCount; ++f) {
                if (!(s.TagFieldsAvailable & (1u << f))) continue;
                if (!Short(n.tags[2 * f], c1, n.where + ".tags")) return false;
                if ((nf & B(kNodeSecondNameBit)) && !Short(n.tags[2 * f + 1], c2, n.where + ".tags")) return false;
            }
            if ((nf & B(kNodeColourOrPrefixBit)) && !Long(n.tags[TTTagNode::kTagPrefix], c1, n.where + ".tags.prefix"))
                return false;
        }
        for (const auto& child : n.children)
            if (!Node(child, static_cast<uint16_t>(level + 1))) return false;
        return true;
    }

    bool Video(const ManifestVideo& v, uint16_t level, bool folder) {
        uint32_t nf = B(folder ? kNodeFolderBit : kNodeSongBit);
        if (v.utf16) {
            if (m_.versionMinor == 0) return Fail(v.where, "UTF-16 video names need version x.1 or later");
            nf |= B(kNodeWideBit);
        }
        if (!v.name2.empty() || !v.description2.empty()) nf |= B(kNodeSecondNameBit);
        if (!Head(level, nf, nullptr, &v)) return false;
        return Long(v.path, cs1_, v.where + ".path") && Long(v.picture, cs1_, v.where + ".picture");
    }

    DescriptionWriter w_;
};

}  // namespace

bool WritePackedForm(const DiskManifest& m, std::string& bytes, std::string& error) {
    error.clear();
    PackedWriter w(m, error);
    if (!w.Run()) return false;
    bytes = w.Take();
    return true;
}

}  // namespace qlm::disk
