// The part of CSS that pages written for disks use: rules from <style>
// blocks with type, class, id, descendant and child selectors (a:link and
// a:visited count as links; other pseudo-classes never match), and inline
// style attributes. Values stay text; style.cpp reads them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pages/html/document.h"

namespace qlm::html {

struct Declaration {
    std::string property;  // lower case
    std::string value;     // trimmed; "!important" removed
    bool important = false;
};

struct SimpleSelector {
    std::string tag;  // empty or "*" matches any element
    std::string id;
    std::vector<std::string> classes;
    bool link = false;     // :link / :visited
    bool child = false;    // joined to the part before it by '>' rather than a blank
};

struct Rule {
    std::vector<SimpleSelector> parts;  // left to right; the last one names the element itself
    int specificity = 0;
    int order = 0;
    std::vector<Declaration> declarations;
};

struct StyleSheet {
    std::vector<Rule> rules;
};

std::vector<Declaration> ParseDeclarations(std::string_view text);
// Appends the rules of `text` to `sheet`; bad rules are skipped.
void ParseStyleSheet(std::string_view text, StyleSheet& sheet);
bool Matches(const Rule& rule, const Document& doc, int element);

}  // namespace qlm::html
