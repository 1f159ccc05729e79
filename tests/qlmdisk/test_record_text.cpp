#include <gtest/gtest.h>

#include "content/description_stream.h"
#include "qlmdisk/record_text.h"

using namespace qlm;
using namespace qlm::disk;

TEST(RecordText, EncodesEachKindWithEscapes) {
    std::string bytes, error;
    ASSERT_TRUE(EncodeRecordText("# comment\nS CDQLM=Диск\\0\\3\\x7F\\\\\r\n\nL long\nW \\u263Aж\\x41\nS \nS\n", bytes, error))
        << error;
    DescriptionStream in(bytes);
    std::string s;
    std::u16string w;
    ASSERT_TRUE(in.ReadShortRecord(s));
    EXPECT_EQ(s, std::string("CDQLM=\xC4\xE8\xF1\xEA\0\3\x7F\\", 14));
    ASSERT_TRUE(in.ReadLongRecord(s));
    EXPECT_EQ(s, "long");
    ASSERT_TRUE(in.ReadWideRecord(w));
    EXPECT_EQ(w, u"\u263A\u0436A");
    ASSERT_TRUE(in.ReadShortRecord(s));
    EXPECT_EQ(s, "");
    ASSERT_TRUE(in.ReadShortRecord(s));
    EXPECT_EQ(s, "");
    EXPECT_TRUE(in.AtEnd());
}

TEST(RecordText, ReportsTheBadLine) {
    std::string bytes, error;
    EXPECT_FALSE(EncodeRecordText("S ok\nX bad\n", bytes, error));
    EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
    EXPECT_FALSE(EncodeRecordText("S \\q\n", bytes, error));
    EXPECT_FALSE(EncodeRecordText("S \\x4\n", bytes, error));
    EXPECT_FALSE(EncodeRecordText("S \\u0041\n", bytes, error));  // \u only in W
    EXPECT_FALSE(EncodeRecordText("S 日本\n", bytes, error));
    EXPECT_FALSE(EncodeRecordText("S " + std::string(256, 'x') + "\n", bytes, error));
    EXPECT_FALSE(EncodeRecordText("Sx\n", bytes, error));
}

TEST(RecordText, DecodeFollowsTheRecordKindsOfTheForm) {
    const std::string text =
        "S CDQLM=id\nS EV=1\nS VDL=1\nS CVF=Clips\\1x\nS CVF2=Clips2\nS VI=Clip\nL VIF=c.avi\\1d\nL VI2=Clip2\n"
        "S PICList\nL a.jpg\\0Caption\nL \\1\\2\\3#PICList\nS ELS=1\nS EndOfCFG\nL F=Папка\\0N=Name\\\\x\n";
    std::string bytes, error;
    ASSERT_TRUE(EncodeRecordText(text, bytes, error)) << error;
    EXPECT_EQ(DecodeRecordText(bytes), text);
    const std::string cut = DecodeRecordText(bytes.substr(0, bytes.size() - 2));
    EXPECT_NE(cut.find("# 16 bytes at the end do not form a whole long record"), std::string::npos) << cut;
}
