// The page as a tree of elements and texts, built from the file's bytes by
// libxml2's HTML parser (its SAX events, so no libxml2 tree is kept).
// Window-free: built natively too, under the sanitizers and a fuzzer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qlm::html {

// The character sets a page may name; anything else reads as Windows-1251.
enum class Charset { Utf8, Utf16Le, Utf16Be, Windows1251, Windows1252, Windows1250 };

// BOM first, then <meta charset> or <meta http-equiv content="...charset=">
// in the first 4 KB, else Windows-1251 (the disks' own texts).
Charset DetectCharset(std::string_view bytes);
// The page's text as UTF-8 (the BOM dropped); malformed input never fails.
std::string PageToUtf8(std::string_view bytes, Charset charset);

struct Attribute {
    std::string name;   // lower case
    std::string value;  // UTF-8, entities decoded
};

struct Node {
    int parent = -1;
    int firstChild = -1;
    int lastChild = -1;
    int next = -1;
    int depth = 0;
    bool isText = false;
    std::string name;      // element name in lower case; empty for a text
    std::u16string text;   // a text node's characters
    std::vector<Attribute> attributes;

    const std::string* Attr(std::string_view attrName) const;
};

// Elements nested deeper than this keep their texts but lose their own
// element, so layout never nests further (no stack overflow on hostile pages).
constexpr int kMaxDepth = 80;

struct Document {
    std::vector<Node> nodes;  // document order; nodes[0] is the root
    std::string styleSheets;  // every <style> block, concatenated
    std::u16string title;

    int Root() const { return 0; }
};

// Never fails: whatever the bytes are, the result has at least the root.
Document ParseDocument(std::string_view bytes);
// The same, from text already in UTF-8.
Document ParseUtf8(std::string_view utf8);

}  // namespace qlm::html
