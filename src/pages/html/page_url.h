// Addresses of the view: local Windows paths, file: URLs and the links of a
// page, resolved against the page's own path. Window-free.
#pragma once

#include <string>
#include <string_view>

namespace qlm::html {

enum class LinkKind {
    Page,      // a local .htm/.html page: shown in the view
    Text,      // a local .txt file: shown in the view as plain text
    Picture,   // a local .jpg/.jpeg/.gif/.bmp: shown in the view
    Fragment,  // "#name" on the page now shown
    External,  // http:, https:, mailto:, ftp:, news: — handed to the system
    Ignored,   // javascript:, and local files of other kinds (programs above all)
};

struct Target {
    LinkKind kind = LinkKind::Ignored;
    std::u16string path;      // Page/Text/Picture: full local path with backslashes
    std::u16string fragment;  // without '#'
    std::u16string url;       // External: the address as written
};

// A Navigate argument: "C:\dir\page.htm", "file:///C:/dir/page.htm#x",
// "file://C:\dir\page.htm" or a relative path (against `base`, may be empty).
Target ResolveAddress(std::u16string_view address, std::u16string_view basePath);
// A link of the page at `pagePath`.
Target ResolveLink(std::u16string_view href, std::u16string_view pagePath);

// "file:///C:/dir/page.htm#x": ASCII only, other characters as %-escaped UTF-8.
std::string FileUrl(std::u16string_view path, std::u16string_view fragment);

}  // namespace qlm::html
