#include "pages/html/document.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <array>
#include <climits>
#include <mutex>

#include "base/text_codec.h"

namespace qlm::html {
namespace {

std::string Lower(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

Charset CharsetNamed(std::string_view name, bool* known) {
    const std::string n = Lower(name);
    *known = true;
    if (n == "utf-8" || n == "utf8" || n == "utf-16" || n == "utf-16le" || n == "utf-16be" || n == "unicode")
        return Charset::Utf8;  // a UTF-16 label in an 8-bit file is taken as UTF-8, as browsers do
    if (n == "windows-1251" || n == "cp1251" || n == "win-1251" || n == "x-cp1251" || n == "windows1251")
        return Charset::Windows1251;
    if (n == "windows-1252" || n == "cp1252" || n == "iso-8859-1" || n == "iso8859-1" || n == "latin1" ||
        n == "us-ascii" || n == "ascii")
        return Charset::Windows1252;
    if (n == "windows-1250" || n == "cp1250" || n == "iso-8859-2") return Charset::Windows1250;
    *known = false;
    return Charset::Windows1251;
}

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == ':' || c == '.';
}

void NoError(void*, const char*, ...) {}
void NoStructuredError(void*, xmlErrorPtr) {}

void InitLibxml() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetGenericErrorFunc(nullptr, NoError);
        xmlSetStructuredErrorFunc(nullptr, NoStructuredError);
    });
}

// Numeric references to 128..159 mean Windows-1252 characters on real pages.
char16_t FixC1(char16_t c) {
    static const std::u16string table = [] {
        std::string bytes;
        for (int i = 0x80; i < 0xA0; ++i) bytes.push_back(static_cast<char>(i));
        return DecodeText(bytes, kAnsiCharset);
    }();
    if (c >= 0x80 && c < 0xA0 && table.size() == 32) return table[c - 0x80];
    return c;
}

constexpr size_t kMaxNodes = 1'000'000;

class Builder {
public:
    Document doc;

    Builder() {
        Node root;
        root.name = "#root";
        doc.nodes.push_back(std::move(root));
        stack_.push_back({0, "#root"});
    }

    void Start(const char* name, const char** atts) {
        std::string n = Lower(name ? name : "");
        const int parent = stack_.back().node;
        const bool own = doc.nodes[parent].depth + 1 < kMaxDepth && doc.nodes.size() < kMaxNodes;
        if (!own) {
            stack_.push_back({parent, std::move(n)});
            return;
        }
        Node node;
        node.name = n;
        if (atts) {
            for (int i = 0; atts[i]; i += 2) {
                Attribute a;
                a.name = Lower(atts[i]);
                if (atts[i + 1]) a.value = atts[i + 1];
                node.attributes.push_back(std::move(a));
            }
        }
        const int index = Append(parent, std::move(node));
        stack_.push_back({index, std::move(n)});
    }

    void End() {
        if (stack_.size() > 1) stack_.pop_back();
    }

    void Characters(const char* utf8, int len) {
        if (len <= 0 || !utf8) return;
        const std::string_view text(utf8, static_cast<size_t>(len));
        const std::string& where = stack_.back().name;
        if (where == "script" || where == "noscript" || where == "object" || where == "applet") return;
        if (where == "style") {
            doc.styleSheets.append(text);
            doc.styleSheets.push_back('\n');
            return;
        }
        std::u16string t = Utf8ToUtf16(text);
        for (char16_t& c : t) c = FixC1(c);
        if (where == "title") {
            if (doc.title.size() < 1000) doc.title += t;
            return;
        }
        const int parent = stack_.back().node;
        Node& p = doc.nodes[parent];
        if (p.lastChild >= 0 && doc.nodes[p.lastChild].isText) {
            doc.nodes[p.lastChild].text += t;
            return;
        }
        if (doc.nodes.size() >= kMaxNodes) return;
        Node node;
        node.isText = true;
        node.text = std::move(t);
        Append(parent, std::move(node));
    }

private:
    struct Open {
        int node;
        std::string name;
    };
    std::vector<Open> stack_;

    int Append(int parent, Node node) {
        const int index = static_cast<int>(doc.nodes.size());
        node.parent = parent;
        node.depth = doc.nodes[parent].depth + 1;
        doc.nodes.push_back(std::move(node));
        Node& p = doc.nodes[parent];
        if (p.lastChild >= 0)
            doc.nodes[p.lastChild].next = index;
        else
            p.firstChild = index;
        p.lastChild = index;
        return index;
    }
};

Builder* Self(void* ctx) { return static_cast<Builder*>(ctx); }

}  // namespace

const std::string* Node::Attr(std::string_view attrName) const {
    for (const Attribute& a : attributes)
        if (a.name == attrName) return &a.value;
    return nullptr;
}

Charset DetectCharset(std::string_view bytes) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return Charset::Utf8;
    if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFF\xFE") return Charset::Utf16Le;
    if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFE\xFF") return Charset::Utf16Be;
    const std::string head = Lower(bytes.substr(0, 4096));
    size_t from = 0;
    while (true) {
        const size_t meta = head.find("<meta", from);
        if (meta == std::string::npos) break;
        const size_t close = head.find('>', meta);
        const size_t end = close == std::string::npos ? head.size() : close;
        const size_t cs = head.find("charset", meta);
        if (cs != std::string::npos && cs < end) {
            size_t i = cs + 7;
            while (i < end && (head[i] == ' ' || head[i] == '\t' || head[i] == '\r' || head[i] == '\n')) ++i;
            if (i < end && head[i] == '=') {
                ++i;
                while (i < end && (head[i] == ' ' || head[i] == '"' || head[i] == '\'')) ++i;
                size_t j = i;
                while (j < end && IsNameChar(head[j])) ++j;
                bool known = false;
                const Charset c = CharsetNamed(std::string_view(head).substr(i, j - i), &known);
                if (known) return c;
            }
        }
        from = end;
    }
    return Charset::Windows1251;
}

std::string PageToUtf8(std::string_view bytes, Charset charset) {
    switch (charset) {
    case Charset::Utf8:
        if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        return std::string(bytes);
    case Charset::Utf16Le:
    case Charset::Utf16Be: {
        if (bytes.size() >= 2) bytes.remove_prefix(2);
        std::u16string w;
        w.reserve(bytes.size() / 2);
        const bool le = charset == Charset::Utf16Le;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const auto lo = static_cast<unsigned char>(bytes[i + (le ? 0 : 1)]);
            const auto hi = static_cast<unsigned char>(bytes[i + (le ? 1 : 0)]);
            w.push_back(static_cast<char16_t>(lo | (hi << 8)));
        }
        return Utf16ToUtf8(w);
    }
    case Charset::Windows1252: return DecodeToUtf8(bytes, kAnsiCharset);
    case Charset::Windows1250: return DecodeToUtf8(bytes, kEastEuropeCharset);
    case Charset::Windows1251: break;
    }
    return DecodeToUtf8(bytes, kCyrillicCharset);
}

Document ParseUtf8(std::string_view utf8) {
    InitLibxml();
    Builder builder;
    // libxml2 takes an int length; pages beyond 64 MB are cut.
    const int size = static_cast<int>(std::min<size_t>(utf8.size(), 64u << 20));
    htmlParserCtxtPtr ctxt = htmlNewParserCtxt();
    if (!ctxt) return std::move(builder.doc);
    htmlSAXHandler sax{};
    sax.startElement = [](void* ctx, const xmlChar* name, const xmlChar** atts) {
        Self(ctx)->Start(reinterpret_cast<const char*>(name), reinterpret_cast<const char**>(atts));
    };
    sax.endElement = [](void* ctx, const xmlChar*) { Self(ctx)->End(); };
    sax.characters = [](void* ctx, const xmlChar* ch, int len) {
        Self(ctx)->Characters(reinterpret_cast<const char*>(ch), len);
    };
    sax.ignorableWhitespace = sax.characters;
    sax.cdataBlock = sax.characters;
    sax.initialized = 1;
    *ctxt->sax = sax;
    ctxt->userData = &builder;
    if (size > 0) {
        const int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET |
                            HTML_PARSE_IGNORE_ENC;
        htmlDocPtr doc = htmlCtxtReadMemory(ctxt, utf8.data(), size, nullptr, "UTF-8", options);
        if (doc) xmlFreeDoc(doc);
    }
    htmlFreeParserCtxt(ctxt);
    return std::move(builder.doc);
}

Document ParseDocument(std::string_view bytes) {
    return ParseUtf8(PageToUtf8(bytes, DetectCharset(bytes)));
}

}  // namespace qlm::html
