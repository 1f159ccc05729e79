#include <gtest/gtest.h>

#include <filesystem>
#include <cstdlib>
#include <fstream>

#include "base/text_codec.h"
#include "lang/language.h"

namespace qlm::lang {
namespace {

std::vector<std::u16string> Captions(const LanguageMenu& m) {
    std::vector<std::u16string> out;
    for (const auto& i : m.items) out.push_back(i.caption);
    return out;
}

TEST(LanguageMenu, BuiltInItemFirstThenFilesWithoutDuplicates) {
    std::vector<LanguageFile> files = {
        {u"English", "[Main]\nLanguage=English\nLanguageRus=\xC0\xED\xE3\xEB\xE8\xE9\xF1\xEA\xE8\xE9\n"},
        {u"English2", "[Main]\nLanguage=English\nLanguageRus=\xC0\xED\xE3\xEB\xE8\xE9\xF1\xEA\xE8\xE9\n"},
        {u"Nameless", ""},
    };
    LanguageMenu builtIn = BuildLanguageMenu(files, Texts());
    EXPECT_EQ(Captions(builtIn), (std::vector<std::u16string>{u"Русский", u"Английский", u"Nameless"}));
    EXPECT_EQ(builtIn.items[1].id, u"English") << "the first of two same names is listed";
    EXPECT_EQ(builtIn.items[0].id, u"");
    EXPECT_EQ(builtIn.checked, 0);

    Texts english = Texts::FromFile(u"English2", files[1].bytes);
    LanguageMenu inEnglish = BuildLanguageMenu(files, english);
    EXPECT_EQ(Captions(inEnglish), (std::vector<std::u16string>{u"", u"English", u"Nameless"}))
        << "the built-in item takes Main/Russian of the file in use, empty when it has none";
    EXPECT_EQ(inEnglish.checked, 1) << "checked by display name";

    EXPECT_EQ(BuildLanguageMenu({}, english).checked, -1);
    LanguageMenu none = BuildLanguageMenu({}, Texts());
    EXPECT_EQ(none.items.size(), 1u);
    EXPECT_EQ(none.checked, 0);
}

TEST(LanguageMenu, VersionPaths) {
    EXPECT_EQ(LanguageVersionPath(u"D:\\Info\\", u"English", u"a.htm"), u"D:\\Info\\English\\a.htm");
    EXPECT_EQ(LanguageVersionPath(u"D:\\Info\\", u"", u"a.htm"), u"D:\\Info\\a.htm");
}

class LanguageFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("qlm-lang-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "Sub.lng");  // a folder is not a language
        Write("English.lng", "[Main]\nLanguage=English\nLanguageRus=Eng\n[MainMenu]\nStart=&Start\n");
        Write("Deutsch.lng", "[Main]\nLanguage=Deutsch\n[MainMenu]\nStart=&Los\n");
        Write("readme.txt", "");
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    std::u16string Folder() const {
#ifdef _WIN32
        std::wstring w = dir_.wstring();
        return std::u16string(w.begin(), w.end());
#else
        return Utf8ToUtf16(dir_.string());
#endif
    }
    std::filesystem::path dir_;
};

TEST_F(LanguageFolder, FindsLanguageFilesOnly) {
    Write("Upper.LNG", "");
    auto files = FindLanguageFiles(Folder());
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].id, u"Deutsch");
    EXPECT_EQ(files[1].id, u"English");
    EXPECT_EQ(files[2].id, u"Upper");
    EXPECT_NE(files[1].bytes.find("Start=&Start"), std::string::npos);
    EXPECT_TRUE(FindLanguageFiles(Folder() + u"missing").empty());
}

TEST_F(LanguageFolder, StartUpChoiceAndSwitching) {
    LanguageState lang;
    lang.SetSupportFolder(Folder());
    lang.ChooseAtStartUp(u"Klingon");
    EXPECT_FALSE(lang.SecondLanguageActive()) << "a missing file gives the built-in texts";
    EXPECT_EQ(lang.Id(), u"");

    lang.ChooseAtStartUp(u"English");
    EXPECT_TRUE(lang.SecondLanguageActive());
    EXPECT_EQ(lang.Texts().Text("MainMenu", "Start"), u"&Start");
    const LanguageMenu& menu = lang.RebuildMenu();
    ASSERT_EQ(menu.items.size(), 3u);
    EXPECT_EQ(menu.items[2].id, u"English");
    EXPECT_EQ(lang.MenuIndex(), 2);

    EXPECT_EQ(lang.Switch(2), SwitchResult::Unchanged);
    EXPECT_EQ(lang.Switch(1), SwitchResult::LoadedFile);
    EXPECT_EQ(lang.Id(), u"Deutsch");
    EXPECT_EQ(lang.Texts().Text("MainMenu", "Start"), u"&Los");
    EXPECT_EQ(lang.MenuIndex(), 1);

    EXPECT_EQ(lang.Switch(0), SwitchResult::BuiltIn);
    EXPECT_EQ(lang.Id(), u"");
    EXPECT_EQ(lang.Texts().Text("MainMenu", "Start"), u"&Старт");
    EXPECT_EQ(lang.Menu().items[2].caption, u"Eng") << "listed by LanguageRus now";

    std::filesystem::remove(dir_ / "English.lng");
    EXPECT_EQ(lang.Switch(2), SwitchResult::FileMissing);
    EXPECT_EQ(lang.Id(), u"") << "nothing was loaded";
    EXPECT_EQ(lang.Menu().items.size(), 2u);
    EXPECT_EQ(lang.MenuIndex(), 0);
}

// The build puts English.lng into the About folder beside the program.
TEST(ShippedLanguages, EnglishIsInTheSupportFolder) {
    const char* bin = std::getenv("QLM_BINARY_DIR");
    ASSERT_NE(bin, nullptr);
    std::u16string folder = Utf8ToUtf16(bin) + u"/src/app/About/";
#ifdef _WIN32
    for (auto& c : folder)
        if (c == u'/') c = u'\\';
    folder = u"Z:" + folder;
#endif
    LanguageState lang;
    lang.SetSupportFolder(folder);
    lang.ChooseAtStartUp(u"");
    const LanguageMenu& menu = lang.RebuildMenu();
    ASSERT_EQ(menu.items.size(), 2u);
    EXPECT_EQ(menu.items[1].caption, u"Английский");
    EXPECT_EQ(lang.Switch(1), SwitchResult::LoadedFile);
    EXPECT_EQ(lang.Id(), u"English");
    EXPECT_EQ(lang.Texts().Text("MainMenu", "SelectLanguage"), u"Select &language");
    EXPECT_EQ(lang.Menu().items[0].caption, u"Russian");
    EXPECT_EQ(lang.Menu().items[1].caption, u"English");
    EXPECT_EQ(lang.MenuIndex(), 1);
}

TEST(CurrentLanguage, StartsWithTheBuiltInTexts) {
    EXPECT_FALSE(SecondLanguageActive());
    EXPECT_EQ(Text("MainMsg", "Error"), u"Ошибка");
}

}  // namespace
}  // namespace qlm::lang
