#include <gtest/gtest.h>

#include <set>

#include "base/file_path.h"
#include "base/text_codec.h"
#include "lang/builtin_texts.h"
#include "lang/main_window_slots.h"
#include "lang/page_caption.h"
#include "lang/texts.h"

namespace qlm::lang {
namespace {

TEST(BuiltInTexts, EveryTextOnceAndNotEmpty) {
    std::set<std::pair<std::u16string, std::u16string>> seen;
    for (const auto& t : BuiltInTexts()) {
        std::u16string section = Utf8ToUtf16(t.section), key = Utf8ToUtf16(t.key);
        EXPECT_TRUE(seen.insert({section, key}).second) << t.section << "/" << t.key;
        EXPECT_FALSE(t.text.empty()) << t.key;
    }
    for (const char* s : {"Main", "MainMsg", "MainMenu", "MainButtons", "Messages", "Pages", "Other", "SlidePage",
                          "Info", "Find", "SelectCD", "PrintList", "Update", "About"})
        EXPECT_TRUE(std::any_of(BuiltInTexts().begin(), BuiltInTexts().end(),
                                [&](const BuiltInText& t) { return t.section == s; }))
            << s;
}

TEST(BuiltInTexts, EveryControlSlotHasOne) {
    int textBtn = 0;
    for (const auto& slot : MainWindowSlots()) {
        EXPECT_FALSE(BuiltInTextOf(slot.section, slot.key).empty()) << slot.section << "/" << slot.key;
        EXPECT_FALSE(slot.controls[0].empty());
        EXPECT_EQ(slot.slidesOnly, slot.section == "SlidePage");
        if (slot.controls[0] == "TextBtn") {
            EXPECT_EQ(slot.key, textBtn++ == 0 ? "Text" : "ShowInfo") << "ShowInfo must win";
        }
    }
    EXPECT_EQ(textBtn, 2);
}

TEST(BuiltInTexts, LookAlikeLettersAreKept) {
    std::u16string winamp = BuiltInTextOf("MainMenu", "ShowWinamp");
    EXPECT_EQ(winamp, u"Окно &Win\u0430mp");
    std::u16string next = BuiltInTextOf("slidepage", "NEXTBTN");
    ASSERT_FALSE(next.empty());
    EXPECT_EQ(next[0], u'C') << "Latin C";
    EXPECT_EQ(next.substr(1), u"ледующее фото (Page Down)");
    EXPECT_EQ(BuiltInTextOf("SelectCD", "Caption"), u"Выбор \u0421D");
    EXPECT_EQ(BuiltInTextOf("Messages", "QDeleteFavorites"), u"Вы действительно хотите очистить \"Мои любимые\"?");
    EXPECT_EQ(BuiltInTextOf("Main", "Nothing"), u"");
}

TEST(Texts, BuiltInAnswersEverySlot) {
    Texts t;
    EXPECT_TRUE(t.IsBuiltIn());
    EXPECT_EQ(t.Id(), u"");
    EXPECT_EQ(t.Text("MainMenu", "Start"), u"&Старт");
    EXPECT_EQ(t.Text("Find", "Cancel"), u"Закрыть");
    EXPECT_EQ(t.Charset(), 204);
    EXPECT_EQ(t.MinProgramVersion(), u"");
    EXPECT_EQ(t.PageCaption(u"&Об  альбоме"), u"&Об  альбоме");
}

TEST(Texts, FileGivesEmptyTextsForMissingKeysAndDefaultsForMain) {
    Texts t = Texts::FromFile(u"Deutsch", "[MainMenu]\r\nAll = &Alle \r\n[mainmsg]\nERROR=\"  Fehler \"\n");
    EXPECT_FALSE(t.IsBuiltIn());
    EXPECT_EQ(t.Id(), u"Deutsch");
    EXPECT_EQ(t.Text("MainMenu", "All"), u"&Alle");
    EXPECT_EQ(t.Text("MAINMENU", "all"), u"&Alle");
    EXPECT_EQ(t.Text("MainMsg", "Error"), u"  Fehler ") << "quotes keep blanks";
    EXPECT_EQ(t.Text("MainMenu", "Start"), u"") << "missing key: empty, not built-in";
    EXPECT_EQ(t.Charset(), 204);
    EXPECT_EQ(t.FormatVersion(), 1);
    EXPECT_EQ(t.MinProgramVersion(), u"1.0.0.2");
    EXPECT_EQ(t.DisplayName(true), u"Deutsch");
    EXPECT_EQ(t.DisplayName(false), u"Deutsch");
}

TEST(Texts, ValuesAreDecodedInTheFilesCharacterSet) {
    // "Ошибка" in Windows-1251, read the same on any system code page.
    std::string cyr = "[Main]\nLanguageRus=\xD0\xF3\xF1\xF1\xEA\xE8\xE9\n[MainMsg]\nError=\xCE\xF8\xE8\xE1\xEA\xE0\n";
    Texts ru = Texts::FromFile(u"r", cyr);
    EXPECT_EQ(ru.Text("MainMsg", "Error"), u"Ошибка");
    EXPECT_EQ(ru.DisplayName(true), u"Русский");

    // The same bytes named Central European: "Łódź" is 0xA3 0xF3 0x64 0x9F.
    Texts pl = Texts::FromFile(u"p", "[Main]\nCharSet=238\n[MainMsg]\nError=\xA3\xF3\x64\x9F\n");
    EXPECT_EQ(pl.Charset(), 238);
    EXPECT_EQ(pl.Text("MainMsg", "Error"), u"Łódź");

    Texts utf8 = Texts::FromFile(u"u", "\xEF\xBB\xBF[Main]\nCharSet=0\n[MainMsg]\nError=Ошибка\n");
    EXPECT_EQ(utf8.Text("MainMsg", "Error"), u"Ошибка") << "a UTF-8 mark wins over CharSet";

    std::u16string wide = u"[MainMsg]\r\nError=Ошибка\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char16_t c : wide) utf16 += {char(c & 0xFF), char(c >> 8)};
    EXPECT_EQ(Texts::FromFile(u"w", utf16).Text("MainMsg", "Error"), u"Ошибка");

    Texts bad = Texts::FromFile(u"b", "[Main]\nCharSet=999\nVersion=x\n");
    EXPECT_EQ(bad.Charset(), 204);
    EXPECT_EQ(bad.FormatVersion(), 1);
}

TEST(Texts, FirstOccurrenceWinsAndJunkIsIgnored) {
    Texts t = Texts::FromFile(u"x",
                              "garbage before any section\n[Messages]\nYes=Ja\n;No=Nein\nnoequals\nYES=Jawohl\n"
                              "[Messages]\nNo=Nee\n[broken\nAbort=Stopp\n");
    EXPECT_EQ(t.Text("Messages", "Yes"), u"Ja");
    EXPECT_EQ(t.Text("Messages", "No"), u"Nee");
    EXPECT_EQ(t.Text("broken", "Abort"), u"Stopp");
    EXPECT_EQ(Texts::FromFile(u"e", "").Text("Messages", "Yes"), u"");
}

TEST(Texts, MinimumProgramVersion) {
    EXPECT_EQ(Texts::FromFile(u"x", "[Main]\nMinQLMVersion=1.0.10.0\n").MinProgramVersion(), u"1.0.10.0");
    EXPECT_EQ(Texts::FromFile(u"d", "").MinProgramVersion(), u"1.0.0.2");
}

TEST(PageCaption, Normalisation) {
    EXPECT_EQ(NormalizePageCaption(u"&Об  альбоме"), u"Об альбоме");
    EXPECT_EQ(NormalizePageCaption(u" \t Info\t \0"), u"Info");
    EXPECT_EQ(NormalizePageCaption(u"Rock && Roll"), u"Rock & Roll");
    EXPECT_EQ(NormalizePageCaption(u"Tom & Jerry"), u"Tom & Jerry") << "an & before a blank stays";
    EXPECT_EQ(NormalizePageCaption(u"abc&d"), u"abc&d") << "the last pair is never examined";
    EXPECT_EQ(NormalizePageCaption(u"ab&&c"), u"ab&c");
    EXPECT_EQ(NormalizePageCaption(u"a   b"), u"a b");
    EXPECT_EQ(NormalizePageCaption(u"&A"), u"&A");
    EXPECT_EQ(NormalizePageCaption(u""), u"");
    EXPECT_EQ(NormalizePageCaption(std::u16string(u"x\0\0", 3)), u"x");
}

TEST(PageCaption, TranslatedThroughExtPages) {
    std::string file = "[ExtPages]\nОб альбоме=About the album\n";
    Texts t = Texts::FromFile(u"e", EncodeFromUtf8(file, 204));
    EXPECT_EQ(t.PageCaption(u"&Об  альбоме"), u"About the album");
    EXPECT_EQ(t.PageCaption(u"об альбоме"), u"About the album") << "keys match in any letter case";
    EXPECT_EQ(t.PageCaption(u"Другое"), u"Другое");
}

TEST(EnglishFile, TranslatesEveryBuiltInText) {
    const char* src = std::getenv("QLM_SOURCE_DIR");
    ASSERT_NE(src, nullptr);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(std::filesystem::path(src) / "src" / "lang" / "English.lng", bytes));
    Texts en = Texts::FromFile(u"English", bytes);
    for (const auto& b : BuiltInTexts()) {
        std::u16string text = en.Text(b.section, b.key);
        EXPECT_FALSE(text.empty()) << b.section << "/" << b.key;
        for (char16_t c : text) EXPECT_LT(c, 0x400) << b.section << "/" << b.key << " is not English";
    }
    for (const char* key : {"ToFind", "Find", "InList", "InTexts", "InNameFolder", "Frag", "Cel", "Next", "Cancel",
                            "Caption", "NotSearch", "OnlyOne"})
        EXPECT_FALSE(en.Text("Find", key).empty()) << key;
    EXPECT_EQ(en.DisplayName(false), u"English");
    EXPECT_EQ(en.DisplayName(true), u"Английский");
    EXPECT_EQ(en.Text("Main", "Russian"), u"Russian");
    EXPECT_EQ(en.MinProgramVersion(), u"1.0.0.2");
    EXPECT_EQ(en.Text("PrintList", "MVMCol2").front(), u' ') << "quoted to keep the leading blank";
}

}  // namespace
}  // namespace qlm::lang
