#include <gtest/gtest.h>

#include "base/text_codec.h"
#include "pages/html/document.h"

namespace qlm::html {
namespace {

std::u16string AllText(const Document& d) {
    std::u16string t;
    for (const Node& n : d.nodes)
        if (n.isText) t += n.text;
    return t;
}

int Find(const Document& d, std::string_view name) {
    for (size_t i = 0; i < d.nodes.size(); ++i)
        if (d.nodes[i].name == name) return static_cast<int>(i);
    return -1;
}

TEST(HtmlParse, CharsetFromBomThenMetaElseWindows1251) {
    EXPECT_EQ(DetectCharset("\xEF\xBB\xBF<p>"), Charset::Utf8);
    EXPECT_EQ(DetectCharset(std::string("\xFF\xFE<\0", 4)), Charset::Utf16Le);
    EXPECT_EQ(DetectCharset("\xFE\xFF"), Charset::Utf16Be);
    EXPECT_EQ(DetectCharset("<meta charset=\"utf-8\">"), Charset::Utf8);
    EXPECT_EQ(DetectCharset("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">"),
              Charset::Windows1252);
    EXPECT_EQ(DetectCharset("<meta content='text/html; charset=Windows-1250' http-equiv=content-type>"),
              Charset::Windows1250);
    EXPECT_EQ(DetectCharset("<p>charset=utf-8 in the text is not a meta</p>"), Charset::Windows1251);
    EXPECT_EQ(DetectCharset("<meta charset=klingon>"), Charset::Windows1251);
    EXPECT_EQ(DetectCharset("<html><p>\xCF\xF0\xE8\xE2\xE5\xF2"), Charset::Windows1251);
}

TEST(HtmlParse, TextReachesLayoutAsUtf16InEveryCharset) {
    EXPECT_EQ(AllText(ParseDocument("<p>\xCF\xF0\xE8\xE2\xE5\xF2</p>")), u"Привет");
    EXPECT_EQ(AllText(ParseDocument("<meta charset=utf-8><p>\xD0\x9F\xD1\x80\xD0\xB8</p>")), u"При");
    const std::u16string wide = u"<p>Ёж</p>";
    std::string le = "\xFF\xFE";
    for (char16_t c : wide) le += static_cast<char>(c & 0xFF), le += static_cast<char>(c >> 8);
    EXPECT_EQ(AllText(ParseDocument(le)), u"Ёж");
    EXPECT_EQ(AllText(ParseDocument("<meta charset=windows-1252><p>caf\xE9</p>")), u"café");
}

TEST(HtmlParse, EntitiesAndCharacterReferences) {
    const Document d = ParseDocument("<p>&amp; &lt;b&gt; &copy; &#1041;&#x416; &nbsp;&quot;&#150;&mdash;&hellip;</p>");
    EXPECT_EQ(AllText(d), u"& <b> © БЖ \u00A0\"\u2013\u2014\u2026");
    const Document a = ParseDocument("<a href='a.htm?x=1&amp;y=2' title='&laquo;t&raquo;'>x</a>");
    const Node& link = a.nodes[static_cast<size_t>(Find(a, "a"))];
    EXPECT_EQ(*link.Attr("href"), "a.htm?x=1&y=2");
    EXPECT_EQ(*link.Attr("title"), "\xC2\xABt\xC2\xBB");
}

TEST(HtmlParse, TreeWithImpliedEndsStylesTitleAndNoScripts) {
    const Document d = ParseDocument(
        "<HTML><HEAD><TITLE>Name</TITLE><STYLE>p{color:red}</STYLE><script>document.write('x')</script></HEAD>"
        "<BODY><P>one<P>two<UL><LI>a<LI>b</UL></BODY></HTML>");
    EXPECT_EQ(d.title, u"Name");
    EXPECT_NE(d.styleSheets.find("p{color:red}"), std::string::npos);
    EXPECT_EQ(AllText(d).find(u"document"), std::u16string::npos);
    int paragraphs = 0, items = 0;
    for (const Node& n : d.nodes) {
        paragraphs += n.name == "p";
        items += n.name == "li";
        if (n.name == "li") {
            EXPECT_EQ(d.nodes[static_cast<size_t>(n.parent)].name, "ul");
        }
    }
    EXPECT_EQ(paragraphs, 2);
    EXPECT_EQ(items, 2);
}

TEST(HtmlParse, NestingIsCappedButTextKept) {
    std::string page;
    for (int i = 0; i < 5000; ++i) page += "<span>";
    page += "deep";
    const Document d = ParseDocument(page);
    int maxDepth = 0;
    for (const Node& n : d.nodes) maxDepth = std::max(maxDepth, n.depth);
    EXPECT_LE(maxDepth, kMaxDepth);
    EXPECT_EQ(AllText(d), u"deep");
}

}  // namespace
}  // namespace qlm::html
