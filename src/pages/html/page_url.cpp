#include "pages/html/page_url.h"

#include <vector>

#include "base/text_codec.h"

namespace qlm::html {
namespace {

char16_t LowerAscii(char16_t c) { return c >= 'A' && c <= 'Z' ? static_cast<char16_t>(c - 'A' + 'a') : c; }

std::u16string Lower(std::u16string_view s) {
    std::u16string r(s);
    for (char16_t& c : r) c = LowerAscii(c);
    return r;
}

bool StartsWithNoCase(std::u16string_view s, std::u16string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (LowerAscii(s[i]) != LowerAscii(prefix[i])) return false;
    return true;
}

std::u16string_view Trim(std::u16string_view s) {
    while (!s.empty() && (s.front() <= ' ')) s.remove_prefix(1);
    while (!s.empty() && (s.back() <= ' ')) s.remove_suffix(1);
    return s;
}

int Hex(char16_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// %XX escapes are UTF-8 bytes; characters already beyond ASCII stay as they are.
std::u16string PercentDecode(std::u16string_view s) {
    std::u16string out;
    std::string bytes;
    auto flush = [&] {
        if (!bytes.empty()) out += Utf8ToUtf16(bytes);
        bytes.clear();
    };
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && Hex(s[i + 1]) >= 0 && Hex(s[i + 2]) >= 0) {
            bytes.push_back(static_cast<char>(Hex(s[i + 1]) * 16 + Hex(s[i + 2])));
            i += 2;
            continue;
        }
        flush();
        out.push_back(s[i]);
    }
    flush();
    return out;
}

bool IsAbsolutePath(std::u16string_view p) {
    return (p.size() >= 2 && p[1] == ':') || (p.size() >= 2 && p[0] == '\\' && p[1] == '\\');
}

// Joins and removes "." and ".." segments; never climbs above the root.
std::u16string Normalize(std::u16string_view path) {
    std::u16string root;
    std::u16string_view rest = path;
    if (rest.size() >= 2 && rest[1] == ':') {
        root = std::u16string(rest.substr(0, 2)) + u"\\";
        rest.remove_prefix(2);
    } else if (rest.size() >= 2 && rest[0] == '\\' && rest[1] == '\\') {
        root = u"\\\\";
        rest.remove_prefix(2);
    }
    std::vector<std::u16string> parts;
    size_t i = 0;
    while (i <= rest.size()) {
        size_t j = rest.find(u'\\', i);
        if (j == std::u16string_view::npos) j = rest.size();
        const std::u16string_view seg = rest.substr(i, j - i);
        if (seg == u"..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!seg.empty() && seg != u".") {
            parts.emplace_back(seg);
        }
        i = j + 1;
    }
    std::u16string out = root;
    for (size_t k = 0; k < parts.size(); ++k) {
        if (k) out += u'\\';
        out += parts[k];
    }
    return out;
}

std::u16string Folder(std::u16string_view path) {
    const size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string_view::npos ? std::u16string() : std::u16string(path.substr(0, slash + 1));
}

LinkKind KindOfFile(std::u16string_view path) {
    const size_t dot = path.find_last_of(u'.');
    const size_t slash = path.find_last_of(u'\\');
    if (dot == std::u16string_view::npos || (slash != std::u16string_view::npos && dot < slash)) return LinkKind::Ignored;
    const std::u16string ext = Lower(path.substr(dot + 1));
    if (ext == u"htm" || ext == u"html" || ext == u"shtml" || ext == u"xhtml") return LinkKind::Page;
    if (ext == u"txt") return LinkKind::Text;
    if (ext == u"jpg" || ext == u"jpeg" || ext == u"jpe" || ext == u"gif" || ext == u"bmp") return LinkKind::Picture;
    return LinkKind::Ignored;
}

Target LocalTarget(std::u16string path, std::u16string fragment) {
    Target t;
    t.path = Normalize(path);
    t.fragment = std::move(fragment);
    t.kind = KindOfFile(t.path);
    return t;
}

}  // namespace

Target ResolveAddress(std::u16string_view address, std::u16string_view basePath) {
    std::u16string_view a = Trim(address);
    std::u16string fragment;
    std::u16string body;
    if (StartsWithNoCase(a, u"file:")) {
        a.remove_prefix(5);
        while (!a.empty() && (a.front() == '/' || a.front() == '\\')) a.remove_prefix(1);
        body = std::u16string(a);
        // file://server/share keeps its two slashes when there is no drive.
        if (!(body.size() >= 2 && body[1] == ':')) body = u"//" + body;
    } else {
        body = std::u16string(a);
    }
    const size_t hash = body.find(u'#');
    if (hash != std::u16string::npos) {
        fragment = PercentDecode(std::u16string_view(body).substr(hash + 1));
        body.resize(hash);
    }
    const size_t query = body.find(u'?');
    if (query != std::u16string::npos) body.resize(query);
    body = PercentDecode(body);
    for (char16_t& c : body)
        if (c == '/') c = '\\';
    if (body.empty()) {
        Target t = LocalTarget(std::u16string(basePath), fragment);
        if (!basePath.empty()) t.kind = fragment.empty() ? t.kind : LinkKind::Fragment;
        return t;
    }
    if (!IsAbsolutePath(body)) {
        if (!body.empty() && body[0] == '\\' && basePath.size() >= 2 && basePath[1] == ':')
            body = std::u16string(basePath.substr(0, 2)) + body;  // "/x.htm": the root of the page's drive
        else
            body = Folder(basePath) + body;
    }
    return LocalTarget(std::move(body), std::move(fragment));
}

Target ResolveLink(std::u16string_view href, std::u16string_view pagePath) {
    const std::u16string_view h = Trim(href);
    Target t;
    const size_t colon = h.find(u':');
    if (colon != std::u16string_view::npos && colon > 1) {
        const std::u16string scheme = Lower(h.substr(0, colon));
        if (scheme == u"http" || scheme == u"https" || scheme == u"mailto" || scheme == u"ftp" || scheme == u"news") {
            t.kind = LinkKind::External;
            t.url = std::u16string(h);
            return t;
        }
        if (scheme != u"file") return t;  // javascript:, vbscript:, about: and the rest do nothing
    }
    if (!h.empty() && h[0] == '#') {
        t.kind = LinkKind::Fragment;
        t.path = std::u16string(pagePath);
        t.fragment = PercentDecode(h.substr(1));
        return t;
    }
    t = ResolveAddress(h, pagePath);
    // A link to this very page with a fragment only scrolls.
    if (!t.fragment.empty() && Lower(t.path) == Lower(Normalize(pagePath)) && t.kind == LinkKind::Page) t.kind = LinkKind::Fragment;
    return t;
}

std::string FileUrl(std::u16string_view path, std::u16string_view fragment) {
    static const char kHex[] = "0123456789ABCDEF";
    auto escape = [&](std::u16string_view s, std::string& out) {
        for (unsigned char c : Utf16ToUtf8(s)) {
            if (c == '\\') c = '/';
            const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                               c == '/' || c == '.' || c == '-' || c == '_' || c == '~' || c == ':' || c == '!' ||
                               c == '$' || c == '&' || c == '\'' || c == '(' || c == ')' || c == '+' || c == ',' ||
                               c == ';' || c == '=' || c == '@';
            if (plain) out.push_back(static_cast<char>(c));
            else {
                out.push_back('%');
                out.push_back(kHex[c >> 4]);
                out.push_back(kHex[c & 15]);
            }
        }
    };
    std::string out = "file:///";
    std::u16string_view p = path;
    if (p.size() >= 2 && p[0] == '\\' && p[1] == '\\') {
        out = "file://";
        p.remove_prefix(2);
    }
    escape(p, out);
    if (!fragment.empty()) {
        out.push_back('#');
        escape(fragment, out);
    }
    return out;
}

}  // namespace qlm::html
