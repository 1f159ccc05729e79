#include <gtest/gtest.h>

#include "content/description_stream.h"

using namespace qlm;

TEST(DescriptionStream, EveryReadInvertsItsWrite) {
    DescriptionWriter w;
    const std::string withZero("a\0b\1\xFF", 5);
    const std::string big(300, 'x');
    w.WriteKeyedByte(0xC3);
    w.WriteKeyedWord(0xBEEF);
    w.WriteKeyedDword(0xDEADBEEF);
    ASSERT_TRUE(w.WriteShortRecord(withZero));
    ASSERT_TRUE(w.WriteShortRecord(""));
    ASSERT_TRUE(w.WriteLongRecord(big));
    ASSERT_TRUE(w.WriteWideRecord(u"Ωмега\u0100"));
    ASSERT_TRUE(w.WriteShortRecord("after"));
    EXPECT_FALSE(w.WriteShortRecord(big));

    DescriptionStream r(w.Bytes());
    uint8_t b; uint16_t wd; uint32_t d;
    std::string s; std::u16string u;
    ASSERT_TRUE(r.ReadKeyedByte(b)); EXPECT_EQ(b, 0xC3);
    ASSERT_TRUE(r.ReadKeyedWord(wd)); EXPECT_EQ(wd, 0xBEEF);
    ASSERT_TRUE(r.ReadKeyedDword(d)); EXPECT_EQ(d, 0xDEADBEEFu);
    ASSERT_TRUE(r.ReadShortRecord(s)); EXPECT_EQ(s, withZero);
    ASSERT_TRUE(r.ReadShortRecord(s)); EXPECT_EQ(s, "");
    ASSERT_TRUE(r.ReadLongRecord(s)); EXPECT_EQ(s, big);
    ASSERT_TRUE(r.ReadWideRecord(u)); EXPECT_EQ(u, u"Ωмега\u0100");
    ASSERT_TRUE(r.ReadShortRecord(s)); EXPECT_EQ(s, "after");
    EXPECT_TRUE(r.AtEnd());
    EXPECT_FALSE(r.ReadKeyedByte(b));
}

// The scheme by hand, so the reader and writer cannot agree on a wrong rule.
TEST(DescriptionStream, FollowsTheKeyRulesByteForByte) {
    const uint8_t k = kRunningKeyStart;
    // Short record "AB": length 2 ^ K, then K := stored byte; body bytes XOR K, K += 2.
    const uint8_t stored = 2 ^ k;
    std::string bytes;
    bytes.push_back(static_cast<char>(stored));
    bytes.push_back(static_cast<char>('A' ^ stored));
    bytes.push_back(static_cast<char>('B' ^ static_cast<uint8_t>(stored + 2)));
    // Then a keyed word 0x1234 with K = stored + 4.
    const uint8_t k2 = static_cast<uint8_t>(stored + 4);
    const uint16_t w = 0x1234 ^ static_cast<uint16_t>(k2 + kRunningKeyC16);
    bytes.push_back(static_cast<char>(w & 0xFF));
    bytes.push_back(static_cast<char>(w >> 8));
    // A keyed dword with K = k2 + 1.
    const uint32_t d = 0x01020304u ^ (static_cast<uint32_t>(static_cast<uint8_t>(k2 + 1)) + kRunningKeyC32);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(d >> (8 * i)));
    DescriptionStream r(bytes);
    std::string s; uint16_t word; uint32_t dword;
    ASSERT_TRUE(r.ReadShortRecord(s));
    EXPECT_EQ(s, "AB");
    ASSERT_TRUE(r.ReadKeyedWord(word));
    EXPECT_EQ(word, 0x1234);
    ASSERT_TRUE(r.ReadKeyedDword(dword));
    EXPECT_EQ(dword, 0x01020304u);
}

TEST(DescriptionStream, LengthsPastTheEndFailAndStayAtTheEnd) {
    DescriptionWriter w;
    w.WriteLongRecord(std::string(1000, 'z'));
    std::string cut = w.Bytes().substr(0, 500);
    DescriptionStream r(cut);
    std::string s;
    EXPECT_FALSE(r.ReadLongRecord(s));
    EXPECT_TRUE(r.AtEnd());
    DescriptionWriter wide;
    wide.WriteWideRecord(std::u16string(10, u'x'));
    std::string odd = wide.Bytes().substr(0, wide.Bytes().size() - 1);
    DescriptionStream r2(odd);
    std::u16string u;
    EXPECT_FALSE(r2.ReadWideRecord(u));
    EXPECT_TRUE(r2.AtEnd());
}
