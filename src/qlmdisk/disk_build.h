// Making a complete disk from a folder tree of MP3 files, the way a publisher
// does: folders become catalogue folders, files become songs in name order.
#pragma once

#include <functional>
#include <string>

#include "qlmdisk/manifest.h"

namespace qlm::disk {

struct BuildOptions {
    std::u16string musicDir;  // Windows-style paths as ToolPath gives them
    std::u16string diskDir;
    DiskManifest::Form form = DiskManifest::Form::Packed;
    std::string id;     // UTF-8; default: the music folder's name
    std::string title;  // UTF-8; default: the music folder's name
    // Called now and then with songs done and songs in all (large folders only).
    std::function<void(size_t done, size_t total)> progress;
};

struct BuildSummary {
    size_t folders = 0;
    size_t songs = 0;
    size_t pages = 0;
    bool texts = false, pictures = false, videos = false;
};

// Writes DISKDIR/qlm.cfg, Sound\ with the songs (hard links where the file
// system allows, copies otherwise) and the carried-over Text\, Picture\,
// Video\ folders and HTML pages. False with a message in `error`.
bool BuildDisk(const BuildOptions& options, BuildSummary& summary, std::string& error);

}  // namespace qlm::disk
