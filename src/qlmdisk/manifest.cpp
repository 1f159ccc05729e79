// JSON -> DiskManifest. Unknown keys are errors: a misspelt key would
// otherwise silently leave a switch off on a pressed disk.
#include "qlmdisk/manifest.h"

#include <cstdio>
#include <initializer_list>
#include <limits>
#include <type_traits>

namespace qlm::disk {
namespace {

using nlohmann::json;

const char* const kTagKeys[11] = {"Composer", "Composer2", "Artist", "Artist2", "Album",  "Album2",
                                  "Year",     "Year2",     "Genre",  "Genre2",  "prefix"};

class Parser {
public:
    explicit Parser(std::string& error) : error_(error) {}

    bool Fail(const std::string& where, const std::string& what) {
        if (error_.empty()) error_ = where + ": " + what;
        return false;
    }

    bool Object(const json& j, const std::string& where, std::initializer_list<const char*> keys) {
        if (!j.is_object()) return Fail(where, "must be an object");
        for (auto it = j.begin(); it != j.end(); ++it) {
            bool known = false;
            for (const char* k : keys) known |= it.key() == k;
            if (!known) return Fail(where, "unknown key \"" + it.key() + "\"");
        }
        return true;
    }

    bool Text(const json& j, const char* key, const std::string& where, std::string& out) {
        if (!j.contains(key)) return true;
        if (!j[key].is_string()) return Fail(where + "." + key, "must be a string");
        out = j[key].get<std::string>();
        return true;
    }

    bool Bool(const json& j, const char* key, const std::string& where, bool& out) {
        if (!j.contains(key)) return true;
        if (!j[key].is_boolean()) return Fail(where + "." + key, "must be true or false");
        out = j[key].get<bool>();
        return true;
    }

    template <class T>
    bool Number(const json& j, const char* key, const std::string& where, T& out) {
        if (!j.contains(key)) return true;
        const json& v = j[key];
        if (!v.is_number_integer()) return Fail(where + "." + key, "must be an integer");
        const auto n = v.get<long long>();
        if (n < static_cast<long long>(std::numeric_limits<T>::min()) ||
            n > static_cast<long long>(std::numeric_limits<T>::max()))
            return Fail(where + "." + key, "out of range");
        out = static_cast<T>(n);
        return true;
    }

    bool Array(const json& j, const char* key, const std::string& where) {
        if (!j.contains(key)) return false;
        if (!j[key].is_array()) return Fail(where + "." + key, "must be an array");
        return true;
    }

    bool Settings(const json& j, DiskSettings& s) {
        if (!j.is_object()) return Fail("settings", "must be an object");
        for (auto it = j.begin(); it != j.end(); ++it) {
            bool known = false;
            VisitSettingsFields(s, [&](const char* name, auto& field) {
                if (it.key() != name) return;
                known = true;
                using T = std::decay_t<decltype(field)>;
                if constexpr (std::is_same_v<T, std::string>) Text(j, name, "settings", field);
                else if constexpr (std::is_same_v<T, bool>) Bool(j, name, "settings", field);
                else Number(j, name, "settings", field);
            });
            if (!known) return Fail("settings", "unknown key \"" + it.key() + "\"");
        }
        return error_.empty();
    }

    bool Page(const json& j, const std::string& where, PageEntry& p) {
        return Object(j, where, {"caption", "file", "flags", "byte"}) && Text(j, "caption", where, p.Caption) &&
               Text(j, "file", where, p.File) && Number(j, "flags", where, p.Flags) && Number(j, "byte", where, p.Byte);
    }

    bool Picture(const json& j, const std::string& where, TTSlideList& p) {
        return Object(j, where, {"file", "caption", "caption2"}) && Text(j, "file", where, p.File) &&
               Text(j, "caption", where, p.Caption) && Text(j, "caption2", where, p.Caption2);
    }

    bool Video(const json& j, const std::string& where, ManifestVideo& v, bool folder) {
        if (!Object(j, where, {"name", "name2", "path", "description", "description2", "picture", "utf16", "videos"}))
            return false;
        v.where = where;
        if (!Text(j, "name", where, v.name) || !Text(j, "name2", where, v.name2) || !Text(j, "path", where, v.path) ||
            !Text(j, "description", where, v.description) || !Text(j, "description2", where, v.description2) ||
            !Text(j, "picture", where, v.picture) || !Bool(j, "utf16", where, v.utf16))
            return false;
        if (Array(j, "videos", where)) {
            if (!folder) return Fail(where, "a video holds no videos");
            const json& a = j["videos"];
            for (size_t i = 0; i < a.size(); ++i) {
                ManifestVideo child;
                if (!Video(a[i], where + ".videos[" + std::to_string(i) + "]", child, false)) return false;
                v.videos.push_back(std::move(child));
            }
        }
        return error_.empty();
    }

    bool Node(const json& j, const std::string& where, ManifestNode& n) {
        if (!Object(j, where, {"kind", "name", "name2", "utf16", "charset", "charset2", "path", "file", "tags",
                               "text", "value1", "value2", "children"}))
            return false;
        n.where = where;
        std::string kind;
        if (!Text(j, "kind", where, kind)) return false;
        if (kind.empty()) {
            kind = j.contains("children") ? "folder"
                 : j.contains("text")     ? "text"
                 : (j.contains("value1") || j.contains("value2")) ? "item"
                                                                   : "song";
        }
        if (kind == "folder") n.kind = kKindFolder;
        else if (kind == "song") n.kind = kKindSong;
        else if (kind == "text") n.kind = kKindTextEntry;
        else if (kind == "item") n.kind = kKindTextItem;
        else return Fail(where + ".kind", "must be folder, song, text or item");
        uint8_t cs = 0, cs2 = 0;
        if (!Text(j, "name", where, n.name) || !Text(j, "name2", where, n.name2) || !Bool(j, "utf16", where, n.utf16) ||
            !Text(j, "path", where, n.path) || !Text(j, "file", where, n.file) ||
            !Number(j, "value1", where, n.value1) || !Number(j, "value2", where, n.value2))
            return false;
        if (j.contains("charset")) {
            if (!Number(j, "charset", where, cs)) return false;
            n.charset = cs;
        }
        if (j.contains("charset2")) {
            if (!Number(j, "charset2", where, cs2)) return false;
            n.charset2 = cs2;
        }
        if (!n.file.empty() && !n.path.empty()) return Fail(where, "give either \"path\" or \"file\", not both");
        if (j.contains("tags")) {
            const std::string w = where + ".tags";
            if (n.kind != kKindSong) return Fail(w, "only songs have tags");
            const json& t = j["tags"];
            if (!t.is_object()) return Fail(w, "must be an object");
            for (auto it = t.begin(); it != t.end(); ++it) {
                int index = -1;
                for (int i = 0; i < 11; ++i)
                    if (it.key() == kTagKeys[i]) index = i;
                if (index < 0) return Fail(w, "unknown key \"" + it.key() + "\"");
                if (!Text(t, kTagKeys[index], w, n.tags[index])) return false;
            }
            n.hasTags = true;
        }
        if (j.contains("text")) {
            const std::string w = where + ".text";
            if (n.kind != kKindTextEntry) return Fail(w, "only text entries have a text");
            const json& t = j["text"];
            if (!Object(t, w, {"file", "colour", "lines", "values"}) || !Text(t, "file", w, n.textFile)) return false;
            if (t.contains("colour")) {
                uint32_t c = 0;
                if (!Number(t, "colour", w, c)) return false;
                n.colour = c;
            }
            if (t.contains("lines") && t.contains("values")) return Fail(w, "give either \"lines\" or \"values\"");
            if (Array(t, "lines", w)) {
                n.textHasLines = true;
                for (const auto& line : t["lines"]) {
                    if (!line.is_string()) return Fail(w + ".lines", "must hold strings");
                    n.lines.push_back(line.get<std::string>());
                }
            } else if (Array(t, "values", w)) {
                for (const auto& v : t["values"]) {
                    if (!v.is_number_integer() || v.get<long long>() < 0 || v.get<long long>() > 65535)
                        return Fail(w + ".values", "must hold integers from 0 to 65535");
                    n.values.push_back(static_cast<uint16_t>(v.get<long long>()));
                }
            }
            if (!error_.empty()) return false;
        }
        if (Array(j, "children", where)) {
            if (n.kind != kKindFolder) return Fail(where, "only folders have children");
            const json& a = j["children"];
            for (size_t i = 0; i < a.size(); ++i) {
                ManifestNode child;
                if (!Node(a[i], where + ".children[" + std::to_string(i) + "]", child)) return false;
                n.children.push_back(std::move(child));
            }
        }
        return error_.empty();
    }

private:
    std::string& error_;
};

// Songs given by "file" get the path of their folders in front, joined by
// backslashes, as the record form composes them.
void ResolvePaths(std::vector<ManifestNode>& nodes, const std::string& folders) {
    for (auto& n : nodes) {
        if (n.kind == kKindSong && n.path.empty() && !n.file.empty()) n.path = folders + n.file;
        if (n.kind == kKindFolder) ResolvePaths(n.children, n.path.empty() ? folders : folders + n.path + "\\");
    }
}

}  // namespace

bool ParseManifest(const json& j, DiskManifest& m, std::string& error) {
    error.clear();
    Parser p(error);
    m = DiskManifest{};
    if (!p.Object(j, "manifest", {"form", "version", "settings", "pages", "pictures", "videoFolders", "tree"}))
        return false;
    std::string form = "packed", version;
    if (!p.Text(j, "form", "manifest", form) || !p.Text(j, "version", "manifest", version)) return false;
    if (form == "record") m.form = DiskManifest::Form::Record;
    else if (form != "packed") return p.Fail("manifest.form", "must be \"record\" or \"packed\"");
    if (!version.empty()) {
        unsigned major = 0, minor = 0;
        char dot = 0;
        if (std::sscanf(version.c_str(), "%u%c%u", &major, &dot, &minor) != 3 || dot != '.' || major > 255 ||
            minor > 255)
            return p.Fail("manifest.version", "must look like \"1.1\"");
        m.versionMajor = static_cast<uint8_t>(major);
        m.versionMinor = static_cast<uint8_t>(minor);
    }
    if (j.contains("settings") && !p.Settings(j["settings"], m.settings)) return false;
    if (p.Array(j, "pages", "manifest"))
        for (size_t i = 0; i < j["pages"].size(); ++i) {
            PageEntry e;
            if (!p.Page(j["pages"][i], "pages[" + std::to_string(i) + "]", e)) return false;
            m.pages.push_back(std::move(e));
        }
    if (p.Array(j, "pictures", "manifest"))
        for (size_t i = 0; i < j["pictures"].size(); ++i) {
            TTSlideList s;
            if (!p.Picture(j["pictures"][i], "pictures[" + std::to_string(i) + "]", s)) return false;
            m.pictures.push_back(std::move(s));
        }
    if (p.Array(j, "videoFolders", "manifest"))
        for (size_t i = 0; i < j["videoFolders"].size(); ++i) {
            ManifestVideo v;
            if (!p.Video(j["videoFolders"][i], "videoFolders[" + std::to_string(i) + "]", v, true)) return false;
            m.videoFolders.push_back(std::move(v));
        }
    if (p.Array(j, "tree", "manifest"))
        for (size_t i = 0; i < j["tree"].size(); ++i) {
            ManifestNode n;
            if (!p.Node(j["tree"][i], "tree[" + std::to_string(i) + "]", n)) return false;
            m.tree.push_back(std::move(n));
        }
    if (!error.empty()) return false;
    ResolvePaths(m.tree, "");
    return true;
}

bool WriteDescription(const DiskManifest& m, std::string& bytes, std::string& error) {
    return m.form == DiskManifest::Form::Record ? WriteRecordForm(m, bytes, error) : WritePackedForm(m, bytes, error);
}

}  // namespace qlm::disk
