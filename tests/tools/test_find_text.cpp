#include <gtest/gtest.h>

#include "tools/find_text.h"

using namespace qlm::find;

TEST(FindText, LatinAndRussianLettersMatchWithoutCase) {
    EXPECT_TRUE(EqualsText(u"Hello World", u"hELLO wORLD"));
    EXPECT_TRUE(EqualsText(u"Привет, мир", u"пРИВЕТ, МИР"));
    EXPECT_TRUE(EqualsText(u"ёлка", u"ЁЛКА"));
    EXPECT_TRUE(ContainsText(u"Новогодняя Ёлка 2001", u"ёлка"));
    EXPECT_TRUE(ContainsText(u"Yesterday", u"TERD"));
    EXPECT_FALSE(EqualsText(u"ёлка", u"елка"));  // ё is its own letter
}

TEST(FindText, OtherAccentedLettersOnlyMatchThemselves) {
    EXPECT_TRUE(EqualsText(u"Café", u"CAFé"));
    EXPECT_FALSE(EqualsText(u"Café", u"CAFÉ"));
    EXPECT_FALSE(ContainsText(u"Łódź", u"łódź"));
    EXPECT_FALSE(EqualsText(u"Straße", u"STRASSE"));
    // Ukrainian letters outside а-я are left as they are.
    EXPECT_FALSE(EqualsText(u"ї", u"Ї"));
}

TEST(FindText, FoldingKeepsPositionsAndEmptyTextMatchesNothing) {
    const std::u16string folded = FoldText(u"ab ёж");
    EXPECT_EQ(folded, u"AB ЁЖ");
    EXPECT_EQ(FindFolded(folded, u"ЁЖ"), 3u);
    EXPECT_EQ(FindFolded(folded, u""), std::u16string::npos);
    EXPECT_FALSE(ContainsText(u"abc", u""));
}
