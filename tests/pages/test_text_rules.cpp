// Where the text window looks for texts and pictures, the no-text rule,
// fitting pictures, the modes and the print rectangle.
#include <gtest/gtest.h>

#include <set>

#include "pages/fit_picture.h"
#include "pages/text_lookup.h"
#include "pages/text_window_mode.h"

using namespace qlm;

namespace {

struct Files {
    std::set<std::u16string> present;
    std::vector<std::u16string> asked;
    FileExists Exists() {
        return [this](const std::u16string& f) {
            asked.push_back(f);
            return present.count(f) > 0;
        };
    }
};

const std::u16string kRoot = u"D:\\Disk\\";

}  // namespace

TEST(SongText, HtmWinsOverTxtAndTxtOverRtf) {
    Files files;
    files.present = {u"D:\\Disk\\Text\\Rock\\one.txt", u"D:\\Disk\\Text\\Rock\\one.rtf"};
    TextChoice c = ChooseSongText(kRoot, u"Rock\\one.mp3", files.Exists());
    EXPECT_EQ(c.kind, TextKind::Rich);
    EXPECT_EQ(c.file, u"D:\\Disk\\Text\\Rock\\one.txt");

    files.present.insert(u"D:\\Disk\\Text\\Rock\\one.htm");
    c = ChooseSongText(kRoot, u"Rock\\one.mp3", files.Exists());
    EXPECT_EQ(c.kind, TextKind::Html);
    EXPECT_EQ(c.file, u"D:\\Disk\\Text\\Rock\\one.htm");

    files.present = {u"D:\\Disk\\Text\\Rock\\one.rtf"};
    c = ChooseSongText(kRoot, u"Rock\\one.mp3", files.Exists());
    EXPECT_EQ(c.file, u"D:\\Disk\\Text\\Rock\\one.rtf");

    files.present.clear();
    EXPECT_EQ(ChooseSongText(kRoot, u"Rock\\one.mp3", files.Exists()).kind, TextKind::NoText);
}

TEST(SongText, DiskRootSongsAndDeepFoldersGetOneSeparatorEach) {
    Files files;
    ChooseSongText(kRoot, u"top.mp3", files.Exists());
    ASSERT_EQ(files.asked.size(), 3u);
    EXPECT_EQ(files.asked[0], u"D:\\Disk\\Text\\top.htm");
    EXPECT_EQ(files.asked[1], u"D:\\Disk\\Text\\top.txt");
    EXPECT_EQ(files.asked[2], u"D:\\Disk\\Text\\top.rtf");
    files.asked.clear();
    ChooseSongText(kRoot, u"A\\B.C\\song.name.mp3", files.Exists());
    EXPECT_EQ(files.asked[0], u"D:\\Disk\\Text\\A\\B.C\\song.name.htm");
    // A name without extension keeps its whole name.
    EXPECT_EQ(SongTextName(u"A.B\\noext"), u"noext");
}

TEST(EntryText, AnyExtensionWhenPresentElseTheNotice) {
    Files files;
    files.present = {u"D:\\Disk\\Texts\\about.doc"};
    TextChoice c = ChooseEntryText(kRoot, u"Texts\\about.doc", files.Exists());
    EXPECT_EQ(c.kind, TextKind::Rich);
    EXPECT_EQ(c.file, u"D:\\Disk\\Texts\\about.doc");
    EXPECT_EQ(ChooseEntryText(kRoot, u"Texts\\gone.txt", files.Exists()).kind, TextKind::NoText);
    // An entry without a file never names the disk root itself.
    files.present.insert(kRoot);
    EXPECT_EQ(ChooseEntryText(kRoot, u"", files.Exists()).kind, TextKind::NoText);
}

TEST(VideoDescription, RtfThenHtmThenOwnPictureThenTitlePicture) {
    Files files;
    files.present = {u"D:\\Disk\\Video\\clip.rtf", u"D:\\Disk\\Video\\clip.htm", u"D:\\Disk\\Video\\clip.jpg",
                     u"D:\\Disk\\title.jpg"};
    auto pick = [&] { return ChooseVideoDescription(kRoot, u"clip.avi", u"clip.jpg", u"title.jpg", files.Exists()); };
    EXPECT_EQ(pick().kind, TextKind::Rich);
    files.present.erase(u"D:\\Disk\\Video\\clip.rtf");
    EXPECT_EQ(pick().kind, TextKind::Html);
    EXPECT_EQ(pick().file, u"D:\\Disk\\Video\\clip.htm");
    files.present.erase(u"D:\\Disk\\Video\\clip.htm");
    VideoChoice c = pick();
    EXPECT_EQ(c.kind, TextKind::NoText);
    EXPECT_EQ(c.picture, u"D:\\Disk\\Video\\clip.jpg");
    EXPECT_TRUE(c.ownPicture);
    files.present.erase(u"D:\\Disk\\Video\\clip.jpg");
    c = pick();
    EXPECT_EQ(c.picture, u"D:\\Disk\\title.jpg");
    EXPECT_FALSE(c.ownPicture);
    files.present.clear();
    EXPECT_TRUE(pick().picture.empty());
}

TEST(TitlePicture, KindByUpperCaseExtension) {
    EXPECT_EQ(TitlePictureKindOf(u"Picture\\Title.jpg"), TitlePictureKind::Jpeg);
    EXPECT_EQ(TitlePictureKindOf(u"t.JpG"), TitlePictureKind::Jpeg);
    EXPECT_EQ(TitlePictureKindOf(u"t.gif"), TitlePictureKind::Gif);
    EXPECT_EQ(TitlePictureKindOf(u"t.jpeg"), TitlePictureKind::None);
    EXPECT_EQ(TitlePictureKindOf(u"t.bmp"), TitlePictureKind::None);
    EXPECT_EQ(TitlePictureKindOf(u"jpg"), TitlePictureKind::None);
}

TEST(NoTextRule, GrowsUntilAsWideAsTheTitle) {
    // Letters 7 wide, "-" 4 wide: 3 letters (21) need 6 dashes (24).
    auto width = [](std::u16string_view s) {
        int w = 0;
        for (char16_t c : s) w += c == u'-' ? 4 : 7;
        return w;
    };
    EXPECT_EQ(NoTextRule(u"abc", width), u"------");
    EXPECT_EQ(NoTextRule(u"", width), u"-");
    EXPECT_EQ(NoTextRule(u"a", width), u"--");
    // A font that measures nothing still ends.
    auto broken = [](std::u16string_view s) { return s.empty() || s[0] == u'-' ? 0 : 5; };
    EXPECT_EQ(NoTextRule(u"title", broken).size(), kMaxRule);
}

TEST(TextFile, CharsetAndByteOrderMarks) {
    EXPECT_EQ(DecodeTextFile("\xCF\xF0\xE8\xE2\xE5\xF2", 204), u"Привет");
    EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF\xD0\x9F", 204), u"П");
    EXPECT_EQ(DecodeTextFile(std::string("\xFF\xFE\x1F\x04", 4), 204), u"П");
    EXPECT_TRUE(LooksLikeRtf("{\\rtf1\\ansi x}"));
    EXPECT_FALSE(LooksLikeRtf("{\\rt"));
}

TEST(TextFile, FirstPartEndsAfterALineBreakAndKeepsPairsWhole) {
    // Short texts go in whole.
    EXPECT_EQ(FirstPartLength(u"", 2, 100), 0u);
    EXPECT_EQ(FirstPartLength(u"a\r\nb", 2, 100), 4u);
    // After the n-th break; CR LF, lone CR and lone LF count once each.
    EXPECT_EQ(FirstPartLength(u"a\r\nb\r\nc\r\nd", 2, 100), 6u);
    EXPECT_EQ(FirstPartLength(u"a\rb\nc\rd", 2, 100), 4u);
    EXPECT_EQ(FirstPartLength(u"\n\n\n\n", 3, 100), 3u);
    // The character limit backs off to the last break, never between CR and LF.
    EXPECT_EQ(FirstPartLength(u"ab\r\ncdefgh", 10, 6), 4u);
    EXPECT_EQ(FirstPartLength(u"abc\r\ndefgh", 10, 4), 5u);
    // One long line is cut at the limit, but not inside a surrogate pair.
    EXPECT_EQ(FirstPartLength(u"abcdefgh", 10, 4), 4u);
    EXPECT_EQ(FirstPartLength(u"abc\U0001F600efgh", 10, 4), 3u);
    // The two parts together are the text.
    std::u16string text;
    for (int i = 0; i < 500; ++i) text += u"строка " + std::u16string(1, char16_t(u'0' + i % 10)) + u"\r\n";
    size_t first = FirstPartLength(text);
    EXPECT_LT(first, text.size());
    EXPECT_EQ(text.substr(first - 2, 2), u"\r\n");
}

TEST(FitPicture, SmallPicturesKeepTheirSizeCentred) {
    EXPECT_EQ(FitPicture(100, 80, 40, 20), (PictureRect{30, 30, 40, 20}));
    EXPECT_EQ(FitPicture(101, 81, 40, 20), (PictureRect{30, 30, 40, 20}));
    EXPECT_FALSE(FitPicture(100, 80, 40, 0).has_value());
}

TEST(FitPicture, LargePicturesScaleToTheLimitingSideHalvesToEven) {
    // Wide box: full height, width 50 * 300 / 200 = 75.
    EXPECT_EQ(FitPicture(200, 50, 300, 200), (PictureRect{62, 0, 75, 50}));
    // Tall box: full width, height 100 * 50 / 400 = 12.5 -> 12.
    EXPECT_EQ(FitPicture(100, 300, 400, 50), (PictureRect{0, 144, 100, 12}));
    // 100 * 70 / 400 = 17.5 -> 18.
    EXPECT_EQ(FitPicture(100, 300, 400, 70).value().height, 18);
    // Equal in one side only counts as large.
    EXPECT_EQ(FitPicture(100, 100, 100, 50), (PictureRect{0, 25, 100, 50}));
    // Same shape: W/H = w/h takes the height.
    EXPECT_EQ(FitPicture(100, 50, 200, 100), (PictureRect{0, 0, 100, 50}));
    EXPECT_EQ(RoundDivHalfEven(5, 2), 2);
    EXPECT_EQ(RoundDivHalfEven(7, 2), 4);
    EXPECT_EQ(RoundDivHalfEven(-5, 2), -2);
}

TEST(TextMode, TagPanelWidthAndChecks) {
    EXPECT_EQ(TextButtonTag(0), 0);
    EXPECT_EQ(TextButtonTag(1), 1);
    EXPECT_EQ(TextButtonTag(2), 1);
    EXPECT_EQ(DockPanelWidth(kTextHidden, 125), 0);
    EXPECT_EQ(DockPanelWidth(kTextFloating, 125), kDropStripWidth);
    EXPECT_EQ(DockPanelWidth(kTextDocked, 125), 125);
    EXPECT_EQ(CheckedTextMenuItem(0, true), TextMenuItem::None);
    EXPECT_EQ(CheckedTextMenuItem(1, true), TextMenuItem::Dock);
    EXPECT_EQ(CheckedTextMenuItem(1, false), TextMenuItem::Float);
}

TEST(TextMode, CheckedItemsDoNothingAndTheButtonReturnsWhereItWas) {
    EXPECT_FALSE(ModeOfMenuItem(TextMenuItem::Float, TextMenuItem::Float).has_value());
    EXPECT_FALSE(ModeOfMenuItem(TextMenuItem::None, TextMenuItem::None).has_value());
    EXPECT_EQ(ModeOfMenuItem(TextMenuItem::Dock, TextMenuItem::Float), kTextDocked);
    EXPECT_EQ(ModeOfMenuItem(TextMenuItem::Float, TextMenuItem::None), kTextFloating);
    EXPECT_EQ(ModeOfMenuItem(TextMenuItem::None, TextMenuItem::Dock), kTextHidden);
    EXPECT_EQ(ModeForTextButton(1, true), kTextDocked);
    EXPECT_EQ(ModeForTextButton(1, false), kTextFloating);
    EXPECT_EQ(ModeForTextButton(0, true), kTextHidden);
}

TEST(TextPrint, RectangleInTwips) {
    // A4 at 600 dpi: 4960 x 7016 printable pixels.
    int W = PixelsToTwips(4960, 600), H = PixelsToTwips(7016, 600);
    EXPECT_EQ(W, 11904);
    EXPECT_EQ(H, 16838);
    // 11904 * 0.04 = 476.16 -> 476; 16838 * 0.02 = 336.76 -> 337.
    EXPECT_EQ(TextPrintRect(W, H), (TwipsRect{676, 437, 11904, 16838}));
    // Halves go to even: 12350 * 0.04 = 494 exactly; 1225 * 0.02 = 24.5 -> 24.
    EXPECT_EQ(TextPrintRect(12350, 1225).top, 124);
    EXPECT_EQ(TextPrintRect(1275, 1275).top, 126);  // 25.5 -> 26
    EXPECT_EQ(PixelsToTwips(100, 0), 0);
}
