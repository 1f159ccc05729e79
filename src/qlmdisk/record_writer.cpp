// DiskManifest -> the record form.
#include "content/description_stream.h"
#include "qlmdisk/manifest.h"
#include "qlmdisk/writer_support.h"

namespace qlm::disk {
namespace {

class RecordWriter : public WriterBase {
public:
    RecordWriter(const DiskManifest& m, std::string& error) : WriterBase(m, error) {}

    bool Run() {
        const DiskSettings& s = m_.settings;
        if (s.DualLanguageTexts || s.TagsInFile || s.TextsNotSearchable || s.TagFieldsAvailable || s.TagFieldsShown)
            return Fail("settings", "DualLanguageTexts, TagsInFile, TextsNotSearchable and the tag masks exist only in the packed form");
        if (s.Charset2 != s.Charset1) return Fail("settings", "the record form has one character set: Charset2 must equal Charset1");
        if (!m_.videoFolders.empty() && !s.VideoListInFile) return Fail("videoFolders", "need VideoListInFile");
        for (const auto& p : m_.pages)
            if (p.Flags || p.Byte) return Fail("pages", "flags and byte exist only in the packed form");

        std::string t;
        if (!Short("CDQLM=", s.DiskIdentifier, cs1_, "settings.DiskIdentifier")) return false;
        if (!s.DiskTitle.empty() && !Short("CDRUS=", s.DiskTitle, cs1_, "settings.DiskTitle")) return false;
        if (!s.TitlePicture.empty() && !Short("T=", s.TitlePicture, cs1_, "settings.TitlePicture")) return false;
        Plain(std::string("PSSH=") + (s.SlidesEnabled ? "1" : "0"));
        Plain(std::string("PVT=") + (s.HasTexts ? "1" : "0"));
        Plain(std::string("PVV=") + (s.VideosEnabled ? "1" : "0"));
        Plain(std::string("EV=") + (s.VideoListInFile ? "1" : "0"));
        if (s.TwoLevelFolders) Plain("ET=1");
        Plain("Charset=" + std::to_string(s.Charset1));
        if (s.TextCharset != s.Charset1) Plain("TextLanguage=" + std::to_string(s.TextCharset));
        if (s.DualLanguageNames) Plain("DL=1");
        if (s.DualLanguageVideos) Plain("VDL=1");
        if (s.DualLanguageSlides) Plain("SDL=1");
        if (s.LongFolderRecords) Plain("ELS=1");
        if (s.NumberSongs) Plain("PNI=1");
        for (size_t i = 0; i < m_.pages.size(); ++i) {
            const auto& p = m_.pages[i];
            std::string caption, file;
            const std::string w = "pages[" + std::to_string(i) + "]";
            if (!Encode(p.Caption, cs1_, w + ".caption", caption) || !Encode(p.File, cs1_, w + ".file", file)) return false;
            if (caption.find('\'') != std::string::npos || file.find('\'') != std::string::npos)
                return Fail(w, "the record form cannot hold a ' in a page caption or file");
            if (!Short("", "P='" + caption + "' FN='" + file + "'", w)) return false;
        }
        if (s.PictureListInFile || !m_.pictures.empty()) {
            Plain("PICList");
            for (size_t i = 0; i < m_.pictures.size(); ++i) {
                const auto& p = m_.pictures[i];
                const std::string w = "pictures[" + std::to_string(i) + "]";
                std::string file, cap, cap2;
                if (!Encode(p.File, cs1_, w + ".file", file) || !Encode(p.Caption, cs1_, w + ".caption", cap) ||
                    !Encode(p.Caption2, cs1_, w + ".caption2", cap2))
                    return false;
                if (file.empty()) return Fail(w + ".file", "must not be empty");
                std::string rec = file + '\0' + cap;
                if (s.DualLanguageSlides) rec += '\0' + cap2;
                else if (!cap2.empty()) return Fail(w + ".caption2", "needs DualLanguageSlides");
                if (!Long(rec, w)) return false;
            }
            Long(std::string("\1\2\3#PICList", 11), "pictures");
        }
        for (const auto& folder : m_.videoFolders)
            if (!VideoFolder(folder)) return false;
        Plain("EndOfCFG");
        for (const auto& n : m_.tree)
            if (!TopNode(n)) return false;
        return true;
    }

private:
    void Plain(const std::string& rec) { w_.WriteShortRecord(rec); }

    bool Short(const std::string& key, const std::string& utf8, uint8_t cs, const std::string& where) {
        std::string bytes;
        return Encode(utf8, cs, where, bytes) && Short("", key + bytes, where);
    }
    bool Short(const char*, const std::string& bytes, const std::string& where) {
        if (!w_.WriteShortRecord(bytes)) return Fail(where, "longer than the 255 bytes of a short record");
        return true;
    }
    bool Long(const std::string& bytes, const std::string& where) {
        if (!w_.WriteLongRecord(bytes)) return Fail(where, "longer than the 65535 bytes of a long record");
        return true;
    }

    bool VideoFolder(const ManifestVideo& f) {
        const bool dual = m_.settings.DualLanguageVideos;
        std::string name, name2;
        if (f.utf16) return Fail(f.where, "UTF-16 names exist only in the packed form");
        if (!Encode(f.name, cs1_, f.where + ".name", name) || !Encode(f.name2, cs1_, f.where + ".name2", name2)) return false;
        if (!dual && !name2.empty()) return Fail(f.where + ".name2", "needs DualLanguageVideos");
        if (!Short("", "CVF=" + name, f.where)) return false;
        if (dual && !Short("", "CVF2=" + name2, f.where)) return false;
        for (const auto& v : f.videos) {
            std::string vn, vn2, path, d1, d2, pic;
            if (v.utf16) return Fail(v.where, "UTF-16 names exist only in the packed form");
            if (!Encode(v.name, cs1_, v.where + ".name", vn) || !Encode(v.name2, cs1_, v.where + ".name2", vn2) ||
                !Encode(v.path, cs1_, v.where + ".path", path) ||
                !Encode(v.description, cs1_, v.where + ".description", d1) ||
                !Encode(v.description2, cs1_, v.where + ".description2", d2) ||
                !Encode(v.picture, cs1_, v.where + ".picture", pic))
                return false;
            if (!dual && (!vn2.empty() || !d2.empty())) return Fail(v.where, "second-language texts need DualLanguageVideos");
            if (!Short("", "VI=" + vn, v.where) || !Long("VIF=" + path + '\1' + d1 + '\1' + pic, v.where)) return false;
            if (dual && !Long("VI2=" + vn2 + '\1' + d2, v.where)) return false;
        }
        return true;
    }

    bool FolderRecord(const std::string& rec, const std::string& where) {
        if (m_.settings.LongFolderRecords) return Long(rec, where);
        if (!w_.WriteShortRecord(rec)) return Fail(where, "longer than a short record; set LongFolderRecords");
        return true;
    }

    bool NameField(const ManifestNode& n, std::string& out) {
        if (n.utf16 || n.charset || n.charset2) return Fail(n.where, "UTF-16 names and node character sets exist only in the packed form");
        std::string name, name2;
        if (!Encode(n.name, cs1_, n.where + ".name", name) || !Encode(n.name2, cs1_, n.where + ".name2", name2)) return false;
        out = "N=" + name;
        if (m_.settings.DualLanguageNames) out += '\0' + name2;
        else if (!name2.empty()) return Fail(n.where + ".name2", "needs DualLanguageNames");
        return true;
    }

    bool Folder(const ManifestNode& n, const char* key) {
        if (n.kind != kKindFolder) return Fail(n.where, "the record form holds only folders and songs in them");
        std::string path, names;
        if (!Encode(n.path, cs1_, n.where + ".path", path) || !NameField(n, names)) return false;
        return FolderRecord(key + path + '\0' + names, n.where);
    }

    bool Song(const ManifestNode& n, const std::string& prefix) {
        if (n.kind != kKindSong) return Fail(n.where, "the record form holds only songs inside folders");
        if (n.hasTags) return Fail(n.where + ".tags", "tags exist only in the packed form");
        std::string path, names;
        if (!Encode(n.path, cs1_, n.where + ".path", path) || !NameField(n, names)) return false;
        if (path.compare(0, prefix.size(), prefix) != 0 || path.size() == prefix.size())
            return Fail(n.where + ".path", "must begin with its folders' paths (\"" + prefix + "\") in the record form");
        return FolderRecord("FN=" + path.substr(prefix.size()) + '\0' + names, n.where);
    }

    bool SongsOf(const ManifestNode& folder, const std::string& prefix) {
        for (const auto& song : folder.children)
            if (!Song(song, prefix)) return false;
        return true;
    }

    bool TopNode(const ManifestNode& n) {
        std::string path;
        Encode(n.path, cs1_, n.where, path);
        if (!m_.settings.TwoLevelFolders) return Folder(n, "F=") && SongsOf(n, path + "\\");
        if (!Folder(n, "MF=")) return false;
        for (const auto& f : n.children) {
            std::string fp;
            Encode(f.path, cs1_, f.where, fp);
            if (!Folder(f, "F=") || !SongsOf(f, path + "\\" + fp + "\\")) return false;
        }
        return true;
    }

    DescriptionWriter w_;

public:
    std::string Take() { return w_.Take(); }
};

}  // namespace

bool WriteRecordForm(const DiskManifest& m, std::string& bytes, std::string& error) {
    error.clear();
    RecordWriter w(m, error);
    if (!w.Run()) return false;
    bytes = w.Take();
    return true;
}

}  // namespace qlm::disk
