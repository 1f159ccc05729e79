#include <gtest/gtest.h>

#include "pages/html/page_url.h"

namespace qlm::html {
namespace {

constexpr std::u16string_view kPage = u"C:\\Disk\\Info\\page.htm";

TEST(PageUrl, RelativeLinksResolveAgainstThePage) {
    Target t = ResolveLink(u"other.htm", kPage);
    EXPECT_EQ(t.kind, LinkKind::Page);
    EXPECT_EQ(t.path, u"C:\\Disk\\Info\\other.htm");
    t = ResolveLink(u"../Text/song%20one.txt", kPage);
    EXPECT_EQ(t.kind, LinkKind::Text);
    EXPECT_EQ(t.path, u"C:\\Disk\\Text\\song one.txt");
    t = ResolveLink(u"pics/Cover.JPG#x", kPage);
    EXPECT_EQ(t.kind, LinkKind::Picture);
    EXPECT_EQ(t.path, u"C:\\Disk\\Info\\pics\\Cover.JPG");
    t = ResolveLink(u"/root.html", kPage);
    EXPECT_EQ(t.path, u"C:\\root.html");
    t = ResolveLink(u"../../../../up.htm", kPage);
    EXPECT_EQ(t.path, u"C:\\up.htm");
    t = ResolveLink(u"%D0%9F.htm", kPage);
    EXPECT_EQ(t.path, u"C:\\Disk\\Info\\П.htm");
}

TEST(PageUrl, FragmentsExternalScriptsAndPrograms) {
    Target t = ResolveLink(u"#part2", kPage);
    EXPECT_EQ(t.kind, LinkKind::Fragment);
    EXPECT_EQ(t.fragment, u"part2");
    EXPECT_EQ(ResolveLink(u"page.htm#x", kPage).kind, LinkKind::Fragment);
    EXPECT_EQ(ResolveLink(u"other.htm#x", kPage).kind, LinkKind::Page);
    EXPECT_EQ(ResolveLink(u"http://example.org/", kPage).kind, LinkKind::External);
    EXPECT_EQ(ResolveLink(u"HTTPS://example.org/", kPage).kind, LinkKind::External);
    EXPECT_EQ(ResolveLink(u"mailto:a@b.c", kPage).kind, LinkKind::External);
    EXPECT_EQ(ResolveLink(u"javascript:alert(1)", kPage).kind, LinkKind::Ignored);
    EXPECT_EQ(ResolveLink(u"setup.exe", kPage).kind, LinkKind::Ignored);
    EXPECT_EQ(ResolveLink(u"*MUSIC 1 2", kPage).kind, LinkKind::Ignored);
    EXPECT_EQ(ResolveLink(u"noextension", kPage).kind, LinkKind::Ignored);
}

TEST(PageUrl, AddressesAndFileUrlsRoundTrip) {
    Target t = ResolveAddress(u"file:///C:/Disk/Info/page.htm#a", u"");
    EXPECT_EQ(t.path, kPage);
    EXPECT_EQ(t.fragment, u"a");
    EXPECT_EQ(ResolveAddress(u"file://C:\\Disk\\x.htm", u"").path, u"C:\\Disk\\x.htm");
    EXPECT_EQ(ResolveAddress(u"  C:\\Disk\\x.htm ", u"").path, u"C:\\Disk\\x.htm");
    const std::u16string russian = u"D:\\Музыка\\Текст 1.htm";
    const std::string url = FileUrl(russian, u"");
    EXPECT_EQ(url, "file:///D:/%D0%9C%D1%83%D0%B7%D1%8B%D0%BA%D0%B0/%D0%A2%D0%B5%D0%BA%D1%81%D1%82%201.htm");
    EXPECT_EQ(ResolveAddress(std::u16string(url.begin(), url.end()), u"").path, russian);
    EXPECT_EQ(FileUrl(u"\\\\server\\share\\a.htm", u"x"), "file://server/share/a.htm#x");
    EXPECT_EQ(ResolveAddress(u"file://server/share/a.htm", u"").path, u"\\\\server\\share\\a.htm");
}

}  // namespace
}  // namespace qlm::html
