// The disk manifest: everything either form of qlm.cfg can carry, as the
// publisher writes it in JSON (see MANIFEST.md). Texts here are UTF-8; the
// writers turn them into the disk's character sets.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "content/catalogue.h"
#include "content/disk_settings.h"

namespace qlm::disk {

struct ManifestNode {
    uint8_t kind = kKindFolder;  // folder, song, text entry or text item
    std::string name, name2;
    bool utf16 = false;                      // names written as UTF-16 (packed form)
    std::optional<uint8_t> charset, charset2;  // per-node character sets (packed form)
    std::string path;                        // folder text, or song path relative to Sound\ .
    std::string file;                        // song: file relative to its folders (record form key)
    bool hasTags = false;
    std::array<std::string, 11> tags;        // as TTTagNode: 2f, 2f+1, prefix at 10
    // text entry
    bool textHasLines = false;
    std::vector<std::string> lines;
    std::vector<uint16_t> values;
    std::string textFile;
    std::optional<uint32_t> colour;
    // text item
    int32_t value1 = 0, value2 = 0;
    std::vector<ManifestNode> children;
    std::string where;  // "tree[0].children[2]", for messages
};

struct ManifestVideo {
    std::string name, name2, path, description, description2, picture;
    bool utf16 = false;
    std::vector<ManifestVideo> videos;  // a video folder's videos
    std::string where;
};

struct DiskManifest {
    enum class Form { Record, Packed } form = Form::Packed;
    uint8_t versionMajor = 1, versionMinor = 1;
    DiskSettings settings;  // text fields in UTF-8
    std::vector<PageEntry> pages;       // UTF-8
    std::vector<TTSlideList> pictures;  // UTF-8
    std::vector<ManifestVideo> videoFolders;
    std::vector<ManifestNode> tree;
};

// False with a message naming the offending place.
bool ParseManifest(const nlohmann::json& json, DiskManifest& out, std::string& error);

// qlm.cfg bytes in the manifest's form; false with a message when the
// manifest holds something that form cannot carry.
bool WriteRecordForm(const DiskManifest& m, std::string& bytes, std::string& error);
bool WritePackedForm(const DiskManifest& m, std::string& bytes, std::string& error);
bool WriteDescription(const DiskManifest& m, std::string& bytes, std::string& error);

}  // namespace qlm::disk
