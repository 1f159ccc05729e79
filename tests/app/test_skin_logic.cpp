// Naming rule, colour-scheme pixel swap, message-box arithmetic and the skin table.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/colour_scheme.h"
#include "app/message_box_layout.h"
#include "app/picture_names.h"
#include "app/skin/skin_table.h"

namespace qlm {
namespace {

TEST(PictureNames, ButtonRule) {
    // A disabled play-checked button shows P; the current play mode not pressed shows SU.
    EXPECT_EQ(ButtonPictureName("PlayCheckedBtn", false, true, true, true), "PLAYCHECKEDBTNP");
    EXPECT_EQ(ButtonPictureName("PlayCheckedBtn", false, true, true, false), "PLAYCHECKEDBTNSU");
    EXPECT_EQ(ButtonPictureName("PlayAllBtn", true, true, true, false), "PLAYALLBTNSD");
    EXPECT_EQ(ButtonPictureName("FindBtn", true, true, false, false), "FINDBTNS");
    EXPECT_EQ(ButtonPictureName("FindBtn", true, false, true, false), "FINDBTND");
    EXPECT_EQ(ButtonPictureName("NextBtn", false, false, false, false), "NEXTBTNU");
}

TEST(PictureNames, LanguageAndToggleRules) {
    EXPECT_EQ(LanguageButtonPictureName("ListBtn", true, true, true, false), "LISTBTNDRUS");
    EXPECT_EQ(LanguageButtonPictureName("ListBtn", false, true, true, true), "LISTBTNSENG");  // hover wins
    EXPECT_EQ(LanguageButtonPictureName("InfoBtn", false, false, true, false), "INFOBTNUENG");
    EXPECT_EQ(LanguageButtonPictureName("HelpCap", true, true, false, true), "HELPCAPRUS");  // captions: no state
    EXPECT_EQ(TogglePictureName("ExpTreeBtn", true, false), "EXPTREEBTND");
    EXPECT_EQ(TogglePictureName("ExpTreeBtn", true, true), "EXPTREEBTNP");
    EXPECT_EQ(SchemePictureName("LDLogo", 1), "LDLOGO1");
}

TEST(PictureNames, EveryNameTheRulesMakeForTheSkinIsInTheTable) {
    const auto all = skin::AllPictureNames();
    const std::set<std::string> names(all.begin(), all.end());
    for (const char* page : {"ListBtn", "SlideBtn", "InfoBtn", "AnonsBtn", "HelpBtn", "TextBtn"})
        for (bool rus : {true, false})
            for (bool down : {true, false})
                for (bool hover : {true, false})
                    EXPECT_TRUE(names.count(LanguageButtonPictureName(page, rus, down, true, hover))) << page;
    for (const char* cap : {"ListCap", "SlideCap", "InformCap", "AnonsCap", "HelpCap"})
        for (bool rus : {true, false}) EXPECT_TRUE(names.count(LanguageButtonPictureName(cap, rus, false, false, false)));
    for (const char* b : {"PlayAllBtn", "PlayCheckedBtn", "PlayFavoritBtn", "PlayDemo"})
        for (int bits = 0; bits < 16; ++bits) {
            const auto n = ButtonPictureName(b, bits & 1, bits & 2, bits & 4, bits & 8);
            EXPECT_TRUE(names.count(n)) << n;
        }
    for (const char* b : {"LDLogo", "TLElt", "LWall", "PlIconStr"})
        for (int s = 0; s < 3; ++s) EXPECT_TRUE(names.count(SchemePictureName(b, s)));
}

TEST(SkinTable, NamesAreUniqueUpperCaseAndSized) {
    const auto all = skin::AllPictureNames();
    EXPECT_EQ(std::set<std::string>(all.begin(), all.end()).size(), all.size());
    for (const auto& n : all) {
        EXPECT_EQ(n, UpperAscii(n));
        ASSERT_TRUE(skin::PictureSize(n)) << n;
    }
    EXPECT_EQ(skin::PictureSize("BitmapFont")->x, 32 * 12);
    EXPECT_EQ(skin::PictureSize("BitmapFont")->y, 8 * 19);
    EXPECT_EQ(skin::PictureSize("BITMAPBIGFONT")->x, 32 * 11);
    EXPECT_EQ(skin::PictureSize("ERRORICON")->x, 41);
    EXPECT_FALSE(skin::PictureSize("NOSUCHPICTURE"));
}

TEST(ColourScheme, IndexRules) {
    EXPECT_EQ(NormalSchemeIndex(7), 0);  // QLMColor 7 applies scheme 0
    EXPECT_EQ(NormalSchemeIndex(2), 2);
    int i = 0;
    for (int k = 0; k < 3; ++k) i = NextSchemeIndex(i);
    EXPECT_EQ(i, 0);  // three clicks bring the first scheme back
}

struct Block {
    int w, h;
    std::vector<uint32_t> px;
    Block(int w_, int h_, uint32_t fill) : w(w_), h(h_), px(static_cast<size_t>(w_) * h_, fill) {}
    uint32_t& at(int x, int y) { return px[static_cast<size_t>(y) * w + x]; }
    PixelBlock view() { return {px.data(), w, h, w}; }
};

TEST(ColourScheme, SwapsOnlyRowsTenToHeightLessTwentyAndThePartsColumns) {
    const uint32_t s0 = kColourSchemes[0].Pixel(), s1 = kColourSchemes[1].Pixel();
    Block left(38, 110, s0);
    left.at(20, 50) = 0x123456;  // not the scheme colour: stays
    const int n = SwapSchemeColour(left.view(), PanelPart::Left, kColourSchemes[0], kColourSchemes[1]);
    EXPECT_EQ(n, (38 - 10) * (90 - 10 + 1) - 1);
    EXPECT_EQ(left.at(9, 50), s0);    // column 9 of the left part is left alone
    EXPECT_EQ(left.at(10, 50), s1);
    EXPECT_EQ(left.at(20, 9), s0);    // row 9
    EXPECT_EQ(left.at(20, 10), s1);   // row 10
    EXPECT_EQ(left.at(20, 90), s1);   // height - 20
    EXPECT_EQ(left.at(20, 91), s0);
    EXPECT_EQ(left.at(20, 50), 0x123456u);

    Block center(4, 110, s0);
    SwapSchemeColour(center.view(), PanelPart::Center, kColourSchemes[0], kColourSchemes[2]);
    EXPECT_EQ(center.at(0, 50), kColourSchemes[2].Pixel());
    EXPECT_EQ(center.at(1, 50), s0);

    Block right(5, 110, s0 | 0xFF000000u);  // the padding byte does not matter
    SwapSchemeColour(right.view(), PanelPart::Right, kColourSchemes[0], kColourSchemes[1]);
    EXPECT_EQ(right.at(0, 50) & 0xFFFFFFu, s1);
    EXPECT_EQ(right.at(4, 50) & 0xFFFFFFu, s1);

    Block low(10, 29, s0);  // lower than 30: unchanged
    EXPECT_EQ(SwapSchemeColour(low.view(), PanelPart::Right, kColourSchemes[0], kColourSchemes[1]), 0);
}

TEST(MessageBoxLayout, RoundsHalvesToEven) {
    EXPECT_EQ(RoundHalfEven(159.5), 160);
    EXPECT_EQ(RoundHalfEven(160.5), 160);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4), 2);
}

TEST(MessageBoxLayout, ButtonPlacementFormula) {
    // form 429 wide (423 client + a 3-pixel dialog frame each side)
    EXPECT_EQ(MessageButtonLefts(429, 1), (std::vector<int>{193}));            // b=319 -> 160 + 93 - 60
    EXPECT_EQ(MessageButtonLefts(429, 2), (std::vector<int>{143, 243}));       // b=219 -> 110
    EXPECT_EQ(MessageButtonLefts(429, 3), (std::vector<int>{93, 193, 293}));   // b=119 -> 60
    EXPECT_EQ(MessageButtonLefts(430, 3), (std::vector<int>{93, 193, 293}));   // b=120 -> 60
    EXPECT_EQ(MessageButtonLefts(431, 3), (std::vector<int>{93, 193, 293}));   // b=121 -> 60.5 -> 60
    EXPECT_EQ(MessageButtonLefts(433, 3), (std::vector<int>{95, 195, 295}));   // b=123 -> 61.5 -> 62
    EXPECT_TRUE(MessageButtonLefts(429, 0).empty());
}

TEST(MessageBoxLayout, CaptionsSplitOnLineBreaks) {
    EXPECT_EQ(SplitButtonCaptions(u"Да\rНет"), (std::vector<std::u16string>{u"Да", u"Нет"}));
    EXPECT_EQ(SplitButtonCaptions(u"A\r\nB\nC"), (std::vector<std::u16string>{u"A", u"B", u"C"}));
    EXPECT_EQ(SplitButtonCaptions(u"A\r\rC"), (std::vector<std::u16string>{u"A", u"", u"C"}));
    EXPECT_TRUE(SplitButtonCaptions(u"").empty());
}

}  // namespace
}  // namespace qlm
