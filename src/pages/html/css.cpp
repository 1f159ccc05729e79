#include "pages/html/css.h"

#include <algorithm>

namespace qlm::html {
namespace {

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && Blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && Blank(s.back())) s.remove_suffix(1);
    return s;
}

std::string Lower(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::string StripComments(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            const size_t end = text.find("*/", i + 2);
            if (end == std::string_view::npos) break;
            i = end + 2;
            out.push_back(' ');
        } else if (text.substr(i, 4) == "<!--") {
            i += 4;  // pages hide their styles from old browsers this way
        } else if (text.substr(i, 3) == "-->") {
            i += 3;
        } else {
            out.push_back(text[i++]);
        }
    }
    return out;
}

bool IdentChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// One selector of a group; false when it uses something we do not support.
bool ParseSelector(std::string_view text, Rule& rule) {
    text = Trim(text);
    if (text.empty()) return false;
    size_t i = 0;
    bool nextIsChild = false;
    while (i < text.size()) {
        while (i < text.size() && Blank(text[i])) ++i;
        if (i >= text.size()) break;
        if (text[i] == '>') {
            nextIsChild = true;
            ++i;
            continue;
        }
        if (text[i] == '+' || text[i] == '~' || text[i] == '[') return false;
        SimpleSelector part;
        part.child = nextIsChild;
        nextIsChild = false;
        bool any = false;
        while (i < text.size() && !Blank(text[i]) && text[i] != '>') {
            const char c = text[i];
            if (c == '*') {
                part.tag = "*";
                ++i;
            } else if (c == '.' || c == '#' || c == ':') {
                ++i;
                const size_t s = i;
                while (i < text.size() && IdentChar(text[i])) ++i;
                const std::string name = c == ':' ? Lower(text.substr(s, i - s)) : std::string(text.substr(s, i - s));
                if (name.empty()) return false;
                if (c == '.') part.classes.push_back(name);
                else if (c == '#') part.id = name;
                else if (name == "link" || name == "visited") part.link = true;
                else return false;  // :hover, :active and the rest never apply to a still page
            } else if (IdentChar(c)) {
                const size_t s = i;
                while (i < text.size() && IdentChar(text[i])) ++i;
                part.tag = Lower(text.substr(s, i - s));
            } else {
                return false;
            }
            any = true;
        }
        if (!any) return false;
        rule.specificity += (part.id.empty() ? 0 : 10000) + 100 * static_cast<int>(part.classes.size()) +
                            (part.link ? 100 : 0) + (part.tag.empty() || part.tag == "*" ? 0 : 1);
        rule.parts.push_back(std::move(part));
        if (rule.parts.size() > 32) return false;
    }
    return !rule.parts.empty() && !rule.parts.front().child;
}

bool HasClass(const Node& n, const std::string& cls) {
    const std::string* attr = n.Attr("class");
    if (!attr) return false;
    std::string_view v = *attr;
    size_t i = 0;
    while (i < v.size()) {
        while (i < v.size() && Blank(v[i])) ++i;
        const size_t s = i;
        while (i < v.size() && !Blank(v[i])) ++i;
        if (i > s && v.substr(s, i - s) == cls) return true;
    }
    return false;
}

bool MatchesPart(const SimpleSelector& p, const Node& n) {
    if (n.isText) return false;
    if (!p.tag.empty() && p.tag != "*" && p.tag != n.name) return false;
    if (!p.id.empty()) {
        const std::string* id = n.Attr("id");
        if (!id || *id != p.id) return false;
    }
    for (const std::string& c : p.classes)
        if (!HasClass(n, c)) return false;
    if (p.link && (n.name != "a" || !n.Attr("href"))) return false;
    return true;
}

}  // namespace

std::vector<Declaration> ParseDeclarations(std::string_view text) {
    std::vector<Declaration> out;
    const std::string clean = StripComments(text);
    std::string_view rest = clean;
    while (!rest.empty()) {
        // A ';' inside parentheses (a data: URL) does not end the declaration.
        size_t end = 0;
        int paren = 0;
        char quote = 0;
        for (; end < rest.size(); ++end) {
            const char c = rest[end];
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '(') {
                ++paren;
            } else if (c == ')') {
                paren = std::max(0, paren - 1);
            } else if (c == ';' && paren == 0) {
                break;
            }
        }
        const std::string_view one = rest.substr(0, end);
        rest = end < rest.size() ? rest.substr(end + 1) : std::string_view();
        const size_t colon = one.find(':');
        if (colon == std::string_view::npos) continue;
        Declaration d;
        d.property = Lower(Trim(one.substr(0, colon)));
        std::string_view value = Trim(one.substr(colon + 1));
        const size_t bang = value.rfind('!');
        if (bang != std::string_view::npos && Lower(Trim(value.substr(bang + 1))) == "important") {
            d.important = true;
            value = Trim(value.substr(0, bang));
        }
        d.value = std::string(value);
        if (!d.property.empty() && !d.value.empty()) out.push_back(std::move(d));
    }
    return out;
}

void ParseStyleSheet(std::string_view text, StyleSheet& sheet) {
    const std::string clean = StripComments(text);
    std::string_view s = clean;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (Blank(s[i]) || s[i] == '}' || s[i] == ';')) ++i;
        if (i >= s.size()) break;
        if (s[i] == '@') {
            // @media: its rules apply (the page is on a screen); other at-rules are skipped.
            const size_t brace = s.find_first_of("{;", i);
            if (brace == std::string_view::npos) break;
            const std::string head = Lower(s.substr(i, brace - i));
            if (s[brace] == ';') {
                i = brace + 1;
                continue;
            }
            if (head.rfind("@media", 0) == 0 && head.find("print") == std::string::npos) {
                i = brace + 1;  // parse the inner rules as if at top level
                continue;
            }
            int depth = 0;
            size_t j = brace;
            for (; j < s.size(); ++j) {
                if (s[j] == '{') ++depth;
                else if (s[j] == '}' && --depth == 0) break;
            }
            i = j + 1;
            continue;
        }
        const size_t open = s.find('{', i);
        if (open == std::string_view::npos) break;
        const size_t close = s.find('}', open);
        const std::string_view selectors = s.substr(i, open - i);
        const std::string_view body = s.substr(open + 1, (close == std::string_view::npos ? s.size() : close) - open - 1);
        i = close == std::string_view::npos ? s.size() : close + 1;
        const std::vector<Declaration> decls = ParseDeclarations(body);
        if (decls.empty()) continue;
        size_t from = 0;
        while (from <= selectors.size()) {
            size_t comma = selectors.find(',', from);
            if (comma == std::string_view::npos) comma = selectors.size();
            Rule rule;
            if (ParseSelector(selectors.substr(from, comma - from), rule)) {
                rule.order = static_cast<int>(sheet.rules.size());
                rule.declarations = decls;
                sheet.rules.push_back(std::move(rule));
            }
            from = comma + 1;
        }
    }
}

bool Matches(const Rule& rule, const Document& doc, int element) {
    if (rule.parts.empty() || !MatchesPart(rule.parts.back(), doc.nodes[element])) return false;
    int at = doc.nodes[element].parent;
    bool child = rule.parts.back().child;
    for (int k = static_cast<int>(rule.parts.size()) - 2; k >= 0; --k) {
        const SimpleSelector& p = rule.parts[static_cast<size_t>(k)];
        if (child) {
            if (at < 0 || !MatchesPart(p, doc.nodes[at])) return false;
        } else {
            while (at >= 0 && !MatchesPart(p, doc.nodes[at])) at = doc.nodes[at].parent;
            if (at < 0) return false;
        }
        child = p.child;
        at = doc.nodes[at].parent;
    }
    return true;
}

}  // namespace qlm::html
