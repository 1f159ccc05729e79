// Loading a disk: {root}qlm.cfg in either form becomes the catalogue's
// settings, pages, slides and tree, followed by the after-loading steps.
//
// The shell's sequence at start-up and at every disk change:
//
//   Catalogue& cat = ...;                  // the one instance the shell keeps
//   LoadOptions opt{root, secondLanguageActive, textWindowCharset};
//   LoadResult r = LoadDiskDescription(cat, opt);
//   switch (r.outcome) {                   // NotADisk / NewerVersion end the program
//   ...
//   }
//   if (r.NeedsTagScan(cat)) TagScan(cat); // content/tag_scan.h
//   apply cat.NameCharset() to the tree, list and player fonts,
//   cat.settings.TextCharset to the text window font.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "content/catalogue.h"

namespace qlm {

struct LoadOptions {
    std::u16string root;              // disk root; a trailing backslash is added when missing
    bool secondLanguageActive = false;  // a language file is in use
    // The text window font's character set before the load; kept when the
    // description does not set TextCharset.
    uint8_t textCharset = kCyrillicCharset;
};

enum class LoadOutcome {
    Loaded,         // the description was read (check formatError)
    NoDescription,  // no qlm.cfg: everything stays empty
    NotADisk,       // record form whose first record is not CDQLM=: end the program silently
    NewerVersion,   // packed form of version 1.2 or later: ask for an update, end the program
};

struct LoadResult {
    LoadOutcome outcome = LoadOutcome::NoDescription;
    bool packed = false;
    // Reading stopped at a malformed record; what was read before stays.
    bool formatError = false;
    uint8_t versionMajor = 0;  // packed form only
    uint8_t versionMinor = 0;
    // Book mode is offered only when some node is not on the root level.
    bool bookModeAvailable = false;

    // The description carries no tags: the shell runs the tag scan, which
    // fills the songs' tag nodes and TagFieldsAvailable and clears TagFieldsShown.
    bool NeedsTagScan(const Catalogue& c) const {
        return outcome == LoadOutcome::Loaded && c.settings.TagFieldsAvailable == 0 && !c.settings.TagsInFile;
    }
};

// Releases the catalogue's previous content, reads {root}qlm.cfg and runs the
// after-loading steps: leading video folders moved to the end, the video
// folder built from {root}Video\, book-mode availability, the slide list from
// {root}Picture\ when the description lists none, SlidesEnabled off without
// slides. The tag scan is left to the caller (see LoadResult::NeedsTagScan).
LoadResult LoadDiskDescription(Catalogue& catalogue, const LoadOptions& options);

// Same, from the file's bytes already in memory (tests, fuzzers, benchmark).
// The folder scans use catalogue.root unless it is empty.
LoadResult LoadDescriptionBytes(Catalogue& catalogue, std::string_view bytes, const LoadOptions& options);

// True when the file holds the packed form.
bool IsPackedDescription(std::u16string_view path);
bool IsPackedBytes(std::string_view bytes);

// The two readers. They fill catalogue.settings, pages, slides and nodes and
// set result.outcome / formatError / version; no after-loading step.
void ReadRecordForm(std::string_view bytes, Catalogue& catalogue, LoadResult& result);
void ReadPackedForm(std::string_view bytes, Catalogue& catalogue, LoadResult& result);

}  // namespace qlm
