// Layout of small pages with the fixed metric of fake_metrics.h: 16 px text is
// 8 px a character, lines are 16 px high, the body has an 8 px margin.
#include <gtest/gtest.h>

#include <string>

#include "pages/fake_metrics.h"

namespace qlm::html {
namespace {

using testing::FakeMeasurer;
using testing::FakeImages;
using testing::LayoutHtml;

const Item* FindText(const LayoutResult& r, std::u16string_view text) {
    for (const Item& it : r.items)  // list numbers are text items too, outside the reading order
        if (it.kind == ItemKind::Text && it.text.find(text) != std::u16string::npos) return &it;
    return nullptr;
}

std::vector<const Item*> OfKind(const LayoutResult& r, ItemKind kind) {
    std::vector<const Item*> out;
    for (const Item& it : r.items)
        if (it.kind == kind) out.push_back(&it);
    return out;
}

TEST(HtmlLayout, WordsOfOneLookShareAnItemAndMarginsCollapse) {
    const LayoutResult r = LayoutHtml("<p>hello world</p><p>next</p>");
    const Item* hello = FindText(r, u"hello");
    ASSERT_NE(hello, nullptr);
    EXPECT_EQ(hello->text, u"hello world");
    EXPECT_EQ(hello->x, 8);
    EXPECT_EQ(hello->y, 16);  // the body's 8 px and the paragraph's 16 px collapse
    EXPECT_EQ(hello->w, 88);
    const Item* next = FindText(r, u"next");
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->y, 16 + 16 + 16);
}

TEST(HtmlLayout, WrapsAtTheWidthAndBreaksLinesAtBr) {
    std::string words;
    for (int i = 0; i < 20; ++i) words += "aaaa ";
    // 384 px of room: nine 32 px words with their spaces fit, the tenth does not.
    const LayoutResult r = LayoutHtml("<body>" + words + "<br>tail</body>");
    ASSERT_GE(r.textItems.size(), 3u);
    const Item& first = r.items[static_cast<size_t>(r.textItems[0])];
    const Item& second = r.items[static_cast<size_t>(r.textItems[1])];
    EXPECT_EQ(first.w, 9 * 32 + 8 * 8);
    EXPECT_EQ(second.y, first.y + 16);
    EXPECT_EQ(second.x, 8);
    const Item* tail = FindText(r, u"tail");
    ASSERT_NE(tail, nullptr);
    EXPECT_EQ(tail->y, first.y + 3 * 16);
    EXPECT_EQ(tail->x, 8);
}

TEST(HtmlLayout, PreKeepsBlanksAndLines) {
    const LayoutResult r = LayoutHtml("<pre>a  b\n\tc</pre>");
    const Item* ab = FindText(r, u"a  b");
    const Item* c = FindText(r, u"c");
    ASSERT_NE(ab, nullptr);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->y, ab->y + 13);
    EXPECT_EQ(c->text, u"        c");  // a tab runs to the next eighth column
}

TEST(HtmlLayout, AlignmentCentresAndRightAligns) {
    const LayoutResult r = LayoutHtml("<center>ab</center><p align=right>cd</p><div style='text-align:center'>ef</div>");
    EXPECT_EQ(FindText(r, u"ab")->x, 8 + (384 - 16) / 2);
    EXPECT_EQ(FindText(r, u"cd")->x, 8 + 384 - 16);
    EXPECT_EQ(FindText(r, u"ef")->x, 8 + (384 - 16) / 2);
}

TEST(HtmlLayout, TableColumnsFollowPixelPercentAndContentWidths) {
    const LayoutResult fixed = LayoutHtml(
        "<table width=200 cellspacing=0 cellpadding=0><tr><td width=50>a</td><td>b</td></tr></table>");
    EXPECT_EQ(FindText(fixed, u"b")->x, 8 + 50);

    const LayoutResult percent = LayoutHtml(
        "<table width=400 cellspacing=0 cellpadding=0><tr><td width='25%'>a</td><td>b</td></tr></table>", 416);
    EXPECT_EQ(FindText(percent, u"b")->x, 8 + 100);

    const LayoutResult content =
        LayoutHtml("<table cellspacing=0 cellpadding=0><tr><td>aa</td><td>bbbb</td></tr></table>");
    EXPECT_EQ(FindText(content, u"bbbb")->x, 8 + 16);

    // The spanning cell needs 80 px; the two narrow columns share the excess.
    const LayoutResult span = LayoutHtml(
        "<table cellspacing=0 cellpadding=0><tr><td colspan=2>cccccccccc</td></tr><tr><td>a</td><td>b</td></tr></table>");
    EXPECT_EQ(FindText(span, u"b")->x, 8 + 40);
    EXPECT_EQ(FindText(span, u"b")->y, FindText(span, u"cccc")->y + 16);
}

TEST(HtmlLayout, TableSpacingPaddingBorderAndRowspan) {
    const LayoutResult r = LayoutHtml(
        "<table border=1 cellspacing=2 cellpadding=3><tr><td rowspan=2>tall<br>x<br>y</td><td>b</td></tr>"
        "<tr><td>c</td></tr></table>");
    // Table border 1, spacing 2, cell border 1, padding 3.
    const Item* tall = FindText(r, u"tall");
    ASSERT_NE(tall, nullptr);
    EXPECT_EQ(tall->x, 8 + 1 + 2 + 1 + 3);
    EXPECT_EQ(tall->y, 8 + 1 + 2 + 1 + 3);
    const Item* b = FindText(r, u"b");
    const Item* c = FindText(r, u"c");
    EXPECT_EQ(b->x, c->x);
    EXPECT_GT(c->y, b->y);
    // The three-line cell makes both rows together at least its height.
    const auto borders = OfKind(r, ItemKind::Border);
    ASSERT_EQ(borders.size(), 4u);  // three cells and the table
    EXPECT_GE(borders.back()->h, 48 + 2 * 4 + 2 * 2);
}

TEST(HtmlLayout, CellContentIsAlignedVertically) {
    const LayoutResult r = LayoutHtml(
        "<table cellspacing=0 cellpadding=0><tr><td>1<br>2<br>3</td><td valign=top>t</td><td>m</td>"
        "<td valign=bottom>b</td></tr></table>");
    const int top = FindText(r, u"1")->y;
    EXPECT_EQ(FindText(r, u"t")->y, top);
    EXPECT_EQ(FindText(r, u"m")->y, top + 16);
    EXPECT_EQ(FindText(r, u"b")->y, top + 32);
}

TEST(HtmlLayout, ListsHaveBulletsAndNumbers) {
    const LayoutResult ul = LayoutHtml("<ul><li>one<li>two<ul><li>inner</ul></ul>");
    const auto bullets = OfKind(ul, ItemKind::Bullet);
    ASSERT_EQ(bullets.size(), 3u);
    EXPECT_EQ(bullets[0]->bullet, BulletShape::Disc);
    EXPECT_EQ(bullets[2]->bullet, BulletShape::Circle);
    EXPECT_EQ(FindText(ul, u"one")->x, 8 + 40);
    EXPECT_LT(bullets[0]->x + bullets[0]->w, 48);
    EXPECT_EQ(FindText(ul, u"inner")->x, 8 + 80);
    EXPECT_GE(bullets[1]->y, FindText(ul, u"two")->y);
    EXPECT_LT(bullets[1]->y, FindText(ul, u"two")->y + 16);

    const LayoutResult ol = LayoutHtml("<ol start=3><li>a<li>b<li value=10>c<li>d</ol><ol type=A><li>x<li>y</ol>");
    EXPECT_NE(FindText(ol, u"3."), nullptr);
    EXPECT_NE(FindText(ol, u"4."), nullptr);
    EXPECT_NE(FindText(ol, u"10."), nullptr);
    EXPECT_NE(FindText(ol, u"11."), nullptr);
    EXPECT_NE(FindText(ol, u"B."), nullptr);
    EXPECT_EQ(FindText(ol, u"3.")->x + FindText(ol, u"3.")->w + 8, 48);
}

TEST(HtmlLayout, FontsFromTagsAttributesAndStyleSheets) {
    FakeMeasurer m;
    FakeImages images;
    const Document doc = ParseDocument(
        "<style>.big{font-size:20px} #r{color:red} div p{font-weight:bold} p.x{font-family:Verdana}</style>"
        "<font size=5 face=Arial color='#00ff00'>f</font><p class=big>a</p><p id=r>b</p><div><p>c</p></div>"
        "<p class='x big'>d</p><i>i</i><u>u</u><s>s</s><p style='font: italic 10pt Tahoma'>t</p>");
    const Styles styles = ComputeStyles(doc);
    const LayoutResult r = Layout(doc, styles, m, images, {});
    auto fontOf = [&](std::u16string_view t) { return m.fonts.at(static_cast<size_t>(FindText(r, t)->font)); };
    EXPECT_EQ(fontOf(u"f").size, 24);
    EXPECT_EQ(fontOf(u"f").family, "Arial");
    EXPECT_EQ(FindText(r, u"f")->color, 0x00FF00u);
    EXPECT_EQ(fontOf(u"a").size, 20);
    EXPECT_EQ(FindText(r, u"b")->color, 0xFF0000u);
    EXPECT_TRUE(fontOf(u"c").bold);
    EXPECT_FALSE(fontOf(u"b").bold);
    EXPECT_EQ(fontOf(u"d").family, "Verdana");
    EXPECT_EQ(fontOf(u"d").size, 20);
    EXPECT_TRUE(fontOf(u"i").italic);
    EXPECT_TRUE(fontOf(u"u").underline);
    EXPECT_TRUE(fontOf(u"s").strike);
    EXPECT_TRUE(fontOf(u"t").italic);
    EXPECT_EQ(fontOf(u"t").size, 13);
    EXPECT_EQ(fontOf(u"t").family, "Tahoma");
}

TEST(HtmlLayout, SubAndSupLeaveTheBaseline) {
    const LayoutResult r = LayoutHtml("<p>H<sub>2</sub>O x<sup>2</sup></p>");
    const Item* h = FindText(r, u"H");
    const Item* sub = FindText(r, u"2");
    ASSERT_NE(sub, nullptr);
    EXPECT_GT(sub->y + sub->h, h->y + h->h);
    int supY = 0;
    for (int i : r.textItems)
        if (r.items[static_cast<size_t>(i)].text == u"2") supY = r.items[static_cast<size_t>(i)].y;
    EXPECT_LT(supY, h->y);
}

TEST(HtmlLayout, PicturesScaleAndBrokenOnesKeepTheirBox) {
    const LayoutResult r = LayoutHtml(
        "<img src='100x50.gif' width=200><img src='missing.png' alt='Picture'><img src='none.jpg' width=30 height=40>"
        "<a href='x.htm'><img src='10x10.gif'></a>");
    const auto images = OfKind(r, ItemKind::Image);
    ASSERT_EQ(images.size(), 4u);
    EXPECT_EQ(images[0]->w, 200);
    EXPECT_EQ(images[0]->h, 100);
    EXPECT_FALSE(images[0]->broken);
    EXPECT_TRUE(images[1]->broken);
    EXPECT_EQ(images[1]->text, u"Picture");
    EXPECT_EQ(images[1]->w, 7 * 8 + 6);
    EXPECT_EQ(images[2]->w, 30);
    EXPECT_EQ(images[2]->h, 40);
    EXPECT_EQ(images[3]->link, 0);
    EXPECT_EQ(r.links.at(0), "x.htm");
}

TEST(HtmlLayout, BodyColoursLinksAndAnchors) {
    std::string page = "<body bgcolor=#102030 text=#FFFFFF link=yellow vlink=#800000 background='bg.gif'>";
    for (int i = 0; i < 10; ++i) page += "<p>para</p>";
    page += "<a name=here></a><a href='#here'>go</a><div id=there>z</div></body>";
    const LayoutResult r = LayoutHtml(page);
    EXPECT_EQ(r.background, 0x102030u);
    ASSERT_GE(r.backgroundImage, 0);
    EXPECT_EQ(r.urls.at(static_cast<size_t>(r.backgroundImage)), "bg.gif");
    EXPECT_EQ(FindText(r, u"para")->color, 0xFFFFFFu);
    const Item* go = FindText(r, u"go");
    EXPECT_EQ(go->color, 0xFFFF00u);
    EXPECT_EQ(go->link, 0);
    EXPECT_EQ(r.linkColor, 0xFFFF00u);
    EXPECT_EQ(r.visitedLinkColor, 0x800000u);
    ASSERT_TRUE(r.anchors.count("here"));
    EXPECT_EQ(r.anchors.at("here"), go->y);
    ASSERT_TRUE(r.anchors.count("there"));
    EXPECT_EQ(r.anchors.at("there"), FindText(r, u"z")->y);
}

TEST(HtmlLayout, RulesAndBlockquotes) {
    const LayoutResult r = LayoutHtml("<hr width=50%><blockquote>q</blockquote><hr noshade size=4>");
    const auto borders = OfKind(r, ItemKind::Border);
    ASSERT_EQ(borders.size(), 1u);
    EXPECT_EQ(borders[0]->w, 192);
    EXPECT_EQ(borders[0]->x, 8 + 96);  // centred
    EXPECT_EQ(FindText(r, u"q")->x, 8 + 40);
    const auto fills = OfKind(r, ItemKind::Fill);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0]->h, 4);
}

TEST(HtmlLayout, HostilePagesStayBounded) {
    // Deep nesting, a huge span and a long word must neither crash nor hang.
    std::string deep;
    for (int i = 0; i < 20000; ++i) deep += "<div><table><tr><td>";
    deep += "core";
    const LayoutResult r = LayoutHtml(deep);
    EXPECT_NE(FindText(r, u"core"), nullptr);

    const LayoutResult span =
        LayoutHtml("<table><tr><td colspan=2000000000 rowspan=99999>x</td></tr><tr><td>y</td></tr></table>");
    EXPECT_NE(FindText(span, u"y"), nullptr);

    const LayoutResult word = LayoutHtml(std::string(5000, 'w'), 100);
    EXPECT_EQ(word.width, 8 + 5000 * 8);
}

}  // namespace
}  // namespace qlm::html
