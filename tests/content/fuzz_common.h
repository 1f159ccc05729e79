// What both reader fuzzers do with a loaded catalogue: everything a view
// would ask of it, in both languages.
#pragma once

#include "content/disk_loader.h"

namespace qlm::test {

inline void ExerciseCatalogue(Catalogue& c) {
    c.root = u"D:\\";
    size_t visited = 0;
    for (TRDataNode* n = c.FirstInTreeOrder(); n; n = c.NextInTreeOrder(n)) {
        ++visited;
        for (bool second : {false, true}) {
            c.secondLanguageActive = second;
            c.settings.TagFieldsShown = 0x1F;
            (void)c.NodeDisplayText(*n, true, false);
        }
        (void)c.SongOrdinal(*n);
        (void)c.TextEntryFile(*n);
        if (n->IsSong() && !c.FindSongByPath(c.SongFile(*n))) __builtin_trap();
    }
    if (visited != c.NodeCount()) __builtin_trap();  // every node is in the tree exactly once
    c.Release();
}

}  // namespace qlm::test
