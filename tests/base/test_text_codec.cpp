#include <gtest/gtest.h>

#include "base/text_codec.h"

using namespace qlm;

TEST(TextCodec, DecodesEachCodePageByCharset) {
    // "Привет" in Windows-1251
    EXPECT_EQ(DecodeToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2", 204), "Привет");
    EXPECT_EQ(DecodeToUtf8("\xA8\xB8", 204), "Ёё");
    // Polish letters in Windows-1250
    EXPECT_EQ(DecodeToUtf8("\xA3\xF3\xB3\xB9", 238), "Łółą");
    // Same bytes read as Windows-1252 for charset 0 and any unknown set
    EXPECT_EQ(DecodeToUtf8("\xE9\x80", 0), "é€");
    EXPECT_EQ(DecodeToUtf8("\xE9\x80", 161), "é€");
    EXPECT_EQ(DecodeToUtf8(std::string("a\0b", 3), 204), std::string("a\0b", 3));
}

TEST(TextCodec, EncodeRoundTripsAndReportsLoss) {
    bool lossy = true;
    EXPECT_EQ(EncodeFromUtf8("Окно Winamp", 204, &lossy), "\xCE\xEA\xED\xEE Winamp");
    EXPECT_FALSE(lossy);
    for (int b = 0; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        for (uint8_t cs : {uint8_t(0), uint8_t(204), uint8_t(238)})
            EXPECT_EQ(EncodeText(DecodeText(one, cs), cs), one) << b << " in " << int(cs);
    }
    EXPECT_EQ(EncodeFromUtf8("日本", 204, &lossy), "??");
    EXPECT_TRUE(lossy);
}

TEST(TextCodec, Utf8AndUtf16HandleSurrogatesAndMalformedInput) {
    EXPECT_EQ(Utf16ToUtf8(u"\U0001F3B5x"), "\U0001F3B5x");
    EXPECT_EQ(Utf8ToUtf16("\U0001F3B5x"), u"\U0001F3B5x");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\xFFFD");     // truncated at the end
    EXPECT_EQ(Utf8ToUtf16("\xFF" "b"), u"\xFFFD" u"b");  // not a lead byte
    EXPECT_EQ(Utf8ToUtf16("\xC3" "b"), u"\xFFFD" u"b");  // bad continuation
}
