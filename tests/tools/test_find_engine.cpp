#include <gtest/gtest.h>

#include <map>

#include "base/text_codec.h"
#include "tools/find_engine.h"
#include "tools/tool_catalogue.h"

using namespace qlm;
using namespace qlm::find;
using qlm::test::AddFolder;
using qlm::test::AddSong;

namespace {

std::string Cp(std::u16string_view s) { return EncodeText(s, kCyrillicCharset); }

// A catalogue, a file system of song texts and a record of what the engine asked for.
struct Fixture {
    Catalogue cat;
    std::map<std::u16string, std::vector<std::u16string>> files;
    std::vector<std::u16string> selected, messages;
    std::vector<std::pair<std::u16string, int>> highlights;  // name, start
    int existsCalls = 0;
    std::unique_ptr<Engine> engine;

    Fixture() { cat.root = u"C:\\DISK\\"; }

    void Start() {
        Ports p;
        p.fileExists = [this](const std::u16string& path) {
            ++existsCalls;
            return files.count(path) != 0;
        };
        p.loadLines = [this](const std::u16string& path) -> std::optional<std::vector<std::u16string>> {
            auto it = files.find(path);
            if (it == files.end()) return std::nullopt;
            return it->second;
        };
        p.selectNode = [this](const TRDataNode& n) { selected.push_back(n.NameText()); };
        p.showTextMatch = [this](const TRDataNode& n, int start, int length) {
            highlights.emplace_back(n.NameText(), start);
            EXPECT_GT(length, 0);
        };
        p.message = [this](const std::u16string& m) { messages.push_back(m); };
        engine = std::make_unique<Engine>(cat, std::move(p));
        engine->Reset();
        engine->SetCursor(nullptr);
    }
};

Options List(std::u16string text) {
    Options o;
    o.text = std::move(text);
    return o;
}
Options Texts(std::u16string text) {
    Options o = List(std::move(text));
    o.inTexts = true;
    return o;
}

}  // namespace

TEST(FindEngine, ListSearchWalksInPreOrderAndWrapsOnce) {
    Fixture f;
    TRDataNode& a = AddFolder(f.cat, nullptr, "Rock");
    AddSong(f.cat, &a, "Rock song", "a\\1.mp3");
    TRDataNode& sub = AddFolder(f.cat, &a, "Rock live");
    AddSong(f.cat, &sub, "Live rock", "a\\b\\2.mp3");
    AddSong(f.cat, nullptr, Cp(u"Рок-н-ролл"), "3.mp3");
    f.Start();
    // From the first node: the songs below, then the root song; folders only with FolderCB.
    EXPECT_EQ(f.engine->FindNext(List(u"ROCK"), &a), Outcome::Found);
    EXPECT_EQ(f.engine->FindNext(List(u"rock"), nullptr), Outcome::Found);
    EXPECT_EQ(f.selected, (std::vector<std::u16string>{u"Rock song", u"Live rock"}));
    Options withFolders = List(u"rock");
    withFolders.folders = true;
    EXPECT_EQ(f.engine->FindNext(withFolders, nullptr), Outcome::Found);  // wraps to the first folder
    EXPECT_EQ(f.selected.back(), u"Rock");
    EXPECT_EQ(f.engine->FindNext(List(u"рок"), nullptr), Outcome::Found);
    EXPECT_EQ(f.selected.back(), u"Рок-н-ролл");
    // Whole captions only.
    Options whole = List(u"live ROCK");
    whole.whole = true;
    EXPECT_EQ(f.engine->FindNext(whole, nullptr), Outcome::Found);
    EXPECT_EQ(f.selected.back(), u"Live rock");
    EXPECT_TRUE(f.messages.empty());
}

TEST(FindEngine, OnlyMatchIsTheSelectedNodeSaysNoMore) {
    Fixture f;
    TRDataNode& a = AddFolder(f.cat, nullptr, "A");
    TRDataNode& s = AddSong(f.cat, &a, "Unique", "a\\1.mp3");
    AddSong(f.cat, &a, "Other", "a\\2.mp3");
    f.Start();
    f.engine->SetCursor(&s);
    EXPECT_EQ(f.engine->FindNext(List(u"uniq"), &s), Outcome::NoMore);
    EXPECT_TRUE(f.selected.empty());
    EXPECT_EQ(f.messages, std::vector<std::u16string>{u"Больше совпадений не найдено"});
}

TEST(FindEngine, NoMatchWalksTheTreeTwice) {
    Fixture f;
    TRDataNode& a = AddFolder(f.cat, nullptr, "A");
    for (int i = 0; i < 5; ++i) AddSong(f.cat, &a, "s" + std::to_string(i), "a\\" + std::to_string(i) + ".mp3");
    f.Start();
    EXPECT_EQ(f.engine->FindNext(Texts(u"nothing"), &a), Outcome::NoMatch);
    EXPECT_EQ(f.messages, std::vector<std::u16string>{u"Не найдено ни одного совпадения"});
    // From the folder: five songs to the end, all five again; two names each.
    EXPECT_EQ(f.existsCalls, 2 * 10);
    EXPECT_EQ(f.engine->FindNext(List(u"nothing"), &a), Outcome::NoMatch);
}

TEST(FindEngine, EmptyTextDoesNothing) {
    Fixture f;
    AddSong(f.cat, nullptr, "x", "1.mp3");
    f.Start();
    EXPECT_EQ(f.engine->FindNext(List(u""), nullptr), Outcome::NothingToDo);
    EXPECT_TRUE(f.selected.empty());
    EXPECT_TRUE(f.messages.empty());
}

TEST(FindEngine, TextSearchFindsAWordTwiceOnALineThenOnLaterLines) {
    Fixture f;
    TRDataNode& a = AddFolder(f.cat, nullptr, "A");
    AddSong(f.cat, &a, "First", "Album\\01 first.mp3");
    AddSong(f.cat, &a, "Second", "Album\\02 second.mp3");
    f.files[u"C:\\DISK\\Text\\Album\\01 first.txt"] = {u"Мир и МИР", u"", u"над миром"};
    f.files[u"C:\\DISK\\Text\\Album\\02 second.rtf"] = {u"no", u"мир"};
    f.files[u"C:\\DISK\\Text\\Album\\02 second.txt"] = {u"мир at the start"};  // .rtf wins
    f.Start();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(f.engine->FindNext(Texts(u"мир"), &a), Outcome::Found);
    using H = std::pair<std::u16string, int>;
    // 0 and 6 on line one; line three starts at 9 + 2 + 0 + 2 = 13, "мир" 4 further;
    // line two of the .rtf starts at 2 + 2.
    EXPECT_EQ(f.highlights, (std::vector<H>{{u"First", 0}, {u"First", 6}, {u"First", 17}, {u"Second", 4}}));
    // The second match stayed on its line: the song was not selected again for it.
    EXPECT_EQ(f.selected, (std::vector<std::u16string>{u"First", u"First", u"Second"}));
    EXPECT_EQ(f.engine->TextOffset(), 5);
}

TEST(FindEngine, TextSearchComingBackToTheOnlyMatchSaysNoMore) {
    Fixture f;
    TRDataNode& s = AddSong(f.cat, nullptr, "Only", "only.mp3");
    AddSong(f.cat, nullptr, "Other", "other.mp3");
    f.files[u"C:\\DISK\\Text\\only.txt"] = {u"a word here"};
    f.files[u"C:\\DISK\\Text\\other.htm"] = {u"word"};  // pages are not searched
    f.Start();
    f.engine->SetCursor(&s);
    EXPECT_EQ(f.engine->FindNext(Texts(u"word"), &s), Outcome::Found);
    EXPECT_EQ(f.engine->FindNext(Texts(u"word"), &s), Outcome::NoMore);
    EXPECT_EQ(f.messages, std::vector<std::u16string>{u"Больше совпадений не найдено"});
    EXPECT_EQ(f.highlights.size(), 2u);
    EXPECT_EQ(f.highlights.back().second, 2);
}

TEST(FindEngine, ShowingTheDialogForgetsTheTextState) {
    Fixture f;
    TRDataNode& s = AddSong(f.cat, nullptr, "Only", "only.mp3");
    f.files[u"C:\\DISK\\Text\\only.txt"] = {u"x x"};
    f.Start();
    f.engine->SetCursor(&s);
    EXPECT_EQ(f.engine->FindNext(Texts(u"x"), nullptr), Outcome::Found);
    EXPECT_EQ(f.engine->FindNext(Texts(u"x"), nullptr), Outcome::Found);
    EXPECT_EQ(f.highlights.back().second, 2);
    f.engine->Reset();
    EXPECT_EQ(f.engine->FindNext(Texts(u"x"), nullptr), Outcome::Found);
    EXPECT_EQ(f.highlights.back().second, 0);  // from the start of the text again
    EXPECT_EQ(f.engine->LastSelection(), 0);
}

TEST(FindEngine, EmptyCatalogueReportsNoMatch) {
    Fixture f;
    f.Start();
    EXPECT_EQ(f.engine->FindNext(List(u"x"), nullptr), Outcome::NoMatch);
    EXPECT_EQ(f.messages.size(), 1u);
}

TEST(FindEngine, CaptionsFollowTheShownTagFields) {
    Fixture f;
    TRDataNode& s = AddSong(f.cat, nullptr, "Song", "1.mp3");
    f.cat.EnsureTags(s).Value(kArtist, false) = "Beatles";
    AddSong(f.cat, nullptr, "Other", "2.mp3");
    f.Start();
    EXPECT_EQ(f.engine->FindNext(List(u"beatles"), nullptr), Outcome::NoMatch);
    f.cat.settings.TagFieldsShown = 1u << kArtist;  // the user shows the artist beside the names
    EXPECT_EQ(f.engine->FindNext(List(u"beatles"), nullptr), Outcome::Found);
    EXPECT_EQ(f.selected, std::vector<std::u16string>{u"Song"});
}

TEST(FindEngine, PreparedCaptionsGiveTheSameMatches) {
    Fixture f;
    TRDataNode& a = AddFolder(f.cat, nullptr, "A");
    AddSong(f.cat, &a, "x1", "1.mp3");
    AddSong(f.cat, &a, "x2", "2.mp3");
    f.Start();
    f.engine->PrepareCaptions();
    EXPECT_EQ(f.engine->FindNext(List(u"X2"), &a), Outcome::Found);
    EXPECT_EQ(f.selected, std::vector<std::u16string>{u"x2"});
    f.engine->CatalogueChanged();
    f.engine->SetCursor(nullptr);
    EXPECT_EQ(f.engine->FindNext(List(u"X1"), nullptr), Outcome::Found);
}
