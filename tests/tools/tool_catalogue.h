// Small catalogues for the find and print tests.
#pragma once

#include <string>

#include "content/catalogue.h"

namespace qlm::test {

inline TRDataNode Node(uint8_t kind, std::string name, std::string path = {}) {
    TRDataNode n;
    n.Kind = kind;
    n.Name = std::move(name);
    n.Path = std::move(path);
    return n;
}

inline TRDataNode& AddSong(Catalogue& c, TRDataNode* folder, std::string name, std::string path) {
    TRDataNode& s = c.AddNode(folder, Placement::LastChild, Node(kKindSong, std::move(name), std::move(path)));
    c.IndexSong(s);
    return s;
}

inline TRDataNode& AddFolder(Catalogue& c, TRDataNode* parent, std::string name) {
    return c.AddNode(parent, Placement::LastChild, Node(kKindFolder, std::move(name)));
}

}  // namespace qlm::test
