#include "qlmdisk/disk_build.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/file_path.h"
#include "base/text_codec.h"
#include "content/file_source.h"
#include "content/genres.h"
#include "content/id3v1.h"
#include "content/id3v2.h"
#include "content/tag_scan.h"

namespace qlm::disk {
namespace {

namespace fs = std::filesystem;

// Folders beside the music that the player reads as they are.
constexpr const char16_t* kCarried[] = {u"Text", u"Picture", u"Video"};
constexpr size_t kProgressFrom = 200;

std::u16string Lower(std::u16string s) {
    for (auto& c : s) {
        if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
        else if (c >= 0x410 && c <= 0x42F) c = char16_t(c + 0x20);
    }
    return s;
}

std::u16string Extension(const std::u16string& name) {
    const size_t dot = name.rfind(u'.');
    return dot == std::u16string::npos ? std::u16string() : Lower(name.substr(dot));
}

std::u16string Stem(const std::u16string& name) {
    const size_t dot = name.rfind(u'.');
    return dot == std::u16string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::u16string NameOf(const fs::path& p) {
#ifdef _WIN32
    const std::wstring w = p.filename().wstring();
    return std::u16string(w.begin(), w.end());
#else
    return Utf8ToUtf16(p.filename().string());
#endif
}

// A name the disk's 8-bit paths can hold: characters outside Windows-1251 become '_'.
std::u16string DiskSafe(const std::u16string& name) {
    std::u16string out;
    for (char16_t c : name) {
        bool lossy = false;
        EncodeText(std::u16string_view(&c, 1), kCyrillicCharset, &lossy);
        out.push_back(lossy ? u'_' : c);
    }
    return out;
}

std::string U8(const std::u16string& s) { return Utf16ToUtf8(s); }

struct Entry {
    std::u16string name;  // as on the source file system
    fs::path path;
    bool folder = false;
};

std::vector<Entry> Listing(const fs::path& dir) {
    std::vector<Entry> out;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        Entry e{NameOf(it->path()), it->path(), it->is_directory(ec)};
        out.push_back(std::move(e));
    }
    std::sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) {
        const auto la = Lower(a.name), lb = Lower(b.name);
        return la != lb ? la < lb : a.name < b.name;
    });
    return out;
}

bool IsSong(const Entry& e) { return !e.folder && Extension(e.name) == u".mp3"; }

class Builder {
public:
    Builder(const BuildOptions& o, BuildSummary& s, std::string& error) : o_(o), s_(s), error_(error) {}

    bool Run() {
        const fs::path music = FsPath(o_.musicDir);
        std::error_code ec;
        if (!fs::is_directory(music, ec)) return Fail("no music folder " + U8(o_.musicDir));
        sound_ = WithTrailingBackslash(o_.diskDir) + u"Sound\\";
        total_ = CountSongs(music, true);
        if (total_ == 0) return Fail("no MP3 files in " + U8(o_.musicDir));

        m_.form = o_.form;
        DiskSettings& st = m_.settings;
        std::u16string base = NameOf(fs::path(music).lexically_normal());
        if (base.empty()) base = NameOf(music.parent_path());
        st.DiskIdentifier = o_.id.empty() ? U8(base) : o_.id;
        st.DiskTitle = o_.title.empty() ? U8(base) : o_.title;

        for (const Entry& e : Listing(music)) {
            if (e.folder && IsCarried(e.name)) continue;
            if (e.folder) {
                if (CountSongs(e.path, false) == 0) continue;
                ManifestNode folder;
                if (!Folder(e, u"", 0, folder)) return false;
                m_.tree.push_back(std::move(folder));
            } else if (IsSong(e)) {
                if (o_.form == DiskManifest::Form::Record)
                    return Fail(U8(e.name) + ": the record form holds songs only inside folders; use --form packed");
                ManifestNode song;
                if (!Song(e, u"", song)) return false;
                m_.tree.push_back(std::move(song));
            } else if (Extension(e.name) == u".htm" || Extension(e.name) == u".html") {
                if (!Page(e)) return false;
            }
        }
        if (!CarryFolders(music)) return false;
        if (o_.form == DiskManifest::Form::Packed) {
            // The tags are in the description, so the player does not scan the files.
            st.TagFieldsAvailable = available_;
            st.TagsInFile = true;
        } else if (!CheckRecordLayout()) {
            return false;
        }
        std::string bytes;
        if (!WriteDescription(m_, bytes, error_)) return false;
        // Written last: a disk whose songs could not all be placed has no description.
        std::ofstream out(FsPath(WithTrailingBackslash(o_.diskDir) + u"qlm.cfg"), std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), std::streamsize(bytes.size())) || !out.flush())
            return Fail("cannot write " + U8(WithTrailingBackslash(o_.diskDir)) + "qlm.cfg");
        return true;
    }

private:
    bool Fail(const std::string& message) {
        if (error_.empty()) error_ = message;
        return false;
    }

    static bool IsCarried(const std::u16string& name) {
        for (const char16_t* c : kCarried)
            if (Lower(name) == Lower(c)) return true;
        return false;
    }

    size_t CountSongs(const fs::path& dir, bool top) {
        size_t n = 0;
        for (const Entry& e : Listing(dir)) {
            if (e.folder && !(top && IsCarried(e.name))) n += CountSongs(e.path, false);
            else if (IsSong(e)) ++n;
        }
        return n;
    }

    // `rel`: the folder's path relative to Sound\ with a trailing backslash, or empty.
    bool Folder(const Entry& e, const std::u16string& rel, int depth, ManifestNode& out) {
        const bool record = o_.form == DiskManifest::Form::Record;
        const std::u16string safe = DiskSafe(e.name);
        out.kind = kKindFolder;
        out.where = U8(rel + e.name);
        out.path = U8(record && depth == 1 ? safe : rel + safe);
        SetName(out, e.name);
        NoteRecordLength(out);
        ++s_.folders;
        const std::u16string inner = rel + safe + u"\\";
        for (const Entry& c : Listing(e.path)) {
            if (c.folder) {
                if (CountSongs(c.path, false) == 0) continue;
                if (record && depth >= 1)
                    return Fail(U8(inner + c.name) + ": the record form holds at most two folder levels; use --form packed");
                ManifestNode folder;
                if (!Folder(c, inner, depth + 1, folder)) return false;
                out.children.push_back(std::move(folder));
            } else if (IsSong(c)) {
                ManifestNode song;
                if (!Song(c, inner, song)) return false;
                out.children.push_back(std::move(song));
            }
        }
        return true;
    }

    // The record form holds root folders of songs, or root groups of folders of songs.
    bool CheckRecordLayout() {
        bool groups = false, folders = false;
        for (const ManifestNode& root : m_.tree) {
            for (const ManifestNode& c : root.children) (c.kind == kKindFolder ? groups : folders) = true;
            if (groups && folders)
                return Fail(root.where + ": the record form cannot mix songs and folders on one level; use --form packed");
        }
        m_.settings.TwoLevelFolders = groups;
        return true;
    }

    // A folder-list record holds key, path, byte 0 and name; past a short
    // record's 255 bytes the whole list switches to long records.
    void NoteRecordLength(const ManifestNode& n) {
        if (o_.form == DiskManifest::Form::Record && n.path.size() + n.name.size() + 8 > 255)
            m_.settings.LongFolderRecords = true;
    }

    void SetName(ManifestNode& n, const std::u16string& name) {
        bool lossy = false;
        const std::string bytes = EncodeText(name, kCyrillicCharset, &lossy);
        if (lossy && o_.form == DiskManifest::Form::Packed) n.utf16 = true;  // any Unicode name fits there
        n.name = lossy && !n.utf16 ? DecodeToUtf8(bytes, kCyrillicCharset) : U8(name);
    }

    bool Song(const Entry& e, const std::u16string& rel, ManifestNode& out) {
        const std::u16string safe = DiskSafe(e.name);
        out.kind = kKindSong;
        out.where = U8(rel + e.name);
        out.path = U8(rel + safe);
        std::u16string target = sound_ + rel + safe;
        if (!Place(e.path, FsPath(target))) return Fail("cannot copy " + U8(e.name) + " to " + U8(target));

        // Name from the title tag, tags as the player's own scan would find them.
        FileSource file(target);
        TTTagNode tags;
        const SongTags found = ScanSongTags(file, tags);
        std::string title, genre;
        if (found == SongTags::ID3v2) {
            TId3Tag20 v2;
            ReadID3v2(file, v2);
            title = v2.TIT2;
            genre = GenreText(v2.TCON);
        }
        ID3v1Fields v1;
        if (found == SongTags::ID3v1 && ReadID3v1(file, v1)) {
            title = v1.Title;
            genre = std::string(GenreName(v1.Genre));
        }
        if (!title.empty()) out.name = DecodeToUtf8(title, kCyrillicCharset);
        else SetName(out, Stem(e.name));
        if (found != SongTags::None && o_.form == DiskManifest::Form::Packed) {
            out.hasTags = true;
            for (int f : {kComposer, kArtist, kAlbum, kYear}) {
                out.tags[2 * f] = DecodeToUtf8(tags.Value(f, false), kCyrillicCharset);
                if (!out.tags[2 * f].empty()) available_ |= 1u << f;
            }
            out.tags[2 * kGenre] = DecodeToUtf8(genre, kCyrillicCharset);
            if (!genre.empty()) available_ |= 1u << kGenre;
        }
        NoteRecordLength(out);
        ++s_.songs;
        if (o_.progress && total_ >= kProgressFrom && (s_.songs % 100 == 0 || s_.songs == total_))
            o_.progress(s_.songs, total_);
        return true;
    }

    // A hard link when the file system allows it, else a copy.
    static bool Place(const fs::path& from, const fs::path& to) {
        std::error_code ec;
        fs::create_directories(to.parent_path(), ec);
        fs::remove(to, ec);
        fs::create_hard_link(from, to, ec);
        if (!ec) return true;
        ec.clear();
        return fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec) && !ec;
    }

    // Files are placed one by one, so that a folder already on the disk is refreshed.
    static bool CopyTree(const fs::path& from, const fs::path& to) {
        std::error_code ec;
        fs::create_directories(to, ec);
        for (const Entry& e : Listing(from)) {
            const fs::path target = to / e.path.filename();
            if (e.folder ? !CopyTree(e.path, target) : !Place(e.path, target)) return false;
        }
        return true;
    }

    bool Page(const Entry& e) {
        const std::u16string safe = DiskSafe(e.name);
        if (!Place(e.path, FsPath(WithTrailingBackslash(o_.diskDir) + safe))) return Fail("cannot copy " + U8(e.name));
        PageEntry p;
        bool lossy = false;
        p.Caption = DecodeToUtf8(EncodeText(Stem(e.name), kCyrillicCharset, &lossy), kCyrillicCharset);
        p.File = U8(safe);
        m_.pages.push_back(std::move(p));
        ++s_.pages;
        return true;
    }

    bool CarryFolders(const fs::path& music) {
        DiskSettings& st = m_.settings;
        for (const Entry& e : Listing(music)) {
            if (!e.folder || !IsCarried(e.name)) continue;
            const std::u16string name = Lower(e.name) == u"text" ? u"Text" : Lower(e.name) == u"picture" ? u"Picture" : u"Video";
            const fs::path to = FsPath(WithTrailingBackslash(o_.diskDir) + name);
            if (!CopyTree(e.path, to)) return Fail("cannot copy " + U8(e.name) + " to the disk");
            if (name == u"Text") {
                st.HasTexts = s_.texts = true;
            } else if (name == u"Picture") {
                // Without a list in the description the player shows every picture of the folder.
                st.SlidesEnabled = s_.pictures = !Listing(e.path).empty();
            } else {
                if (!Videos(e.path)) return false;
            }
        }
        return true;
    }

    bool Videos(const fs::path& dir) {
        std::vector<Entry> videos;
        for (const Entry& e : Listing(dir))
            if (!e.folder && (Extension(e.name) == u".avi" || Extension(e.name) == u".mpg")) videos.push_back(e);
        if (videos.empty()) return true;
        s_.videos = true;
        if (o_.form == DiskManifest::Form::Record) {
            m_.settings.VideosEnabled = true;  // the player lists Video\ itself
            return true;
        }
        m_.settings.VideoListInFile = true;
        ManifestVideo folder;
        folder.name = "Видео";
        folder.where = "Video";
        for (const Entry& e : videos) {
            ManifestVideo v;
            v.name = U8(Stem(e.name));
            v.path = U8(e.name);
            v.where = "Video\\" + v.path;
            bool lossy = false;
            EncodeText(e.name, kCyrillicCharset, &lossy);
            if (lossy) return Fail(v.where + ": a video file name the disk's character set cannot hold");
            folder.videos.push_back(std::move(v));
        }
        m_.videoFolders.push_back(std::move(folder));
        return true;
    }

    const BuildOptions& o_;
    BuildSummary& s_;
    std::string& error_;
    DiskManifest m_;
    std::u16string sound_;
    size_t total_ = 0;
    uint16_t available_ = 0;
};

}  // namespace

bool BuildDisk(const BuildOptions& options, BuildSummary& summary, std::string& error) {
    error.clear();
    summary = {};
    return Builder(options, summary, error).Run();
}

}  // namespace qlm::disk
