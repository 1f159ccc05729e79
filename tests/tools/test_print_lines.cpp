#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/file_path.h"
#include "base/text_codec.h"
#include "content/test_dir.h"
#include "content/text_case.h"
#include "tools/find_text.h"
#include "tools/print_lines.h"
#include "tools/tool_catalogue.h"

using namespace qlm;
using namespace qlm::print;
using qlm::test::AddFolder;
using qlm::test::AddSong;

namespace {

std::string Cp(std::u16string_view s) { return EncodeText(s, kCyrillicCharset); }

// Рок / Альбом один / Первая, Вторая; Рок / Альбом два / Третья; Поп / Ёлочка, апрель.
struct Disk {
    Catalogue cat;
    TRDataNode *rock, *one, *two, *pop;
    std::vector<std::u16string> files;

    Disk() {
        cat.root = u"C:\\DISK\\";
        rock = &AddFolder(cat, nullptr, Cp(u"Рок"));
        one = &AddFolder(cat, rock, Cp(u"Альбом один"));
        TRDataNode& first = AddSong(cat, one, Cp(u"Первая"), "Rock\\One\\01.mp3");
        TTTagNode& t = cat.EnsureTags(first);
        t.Value(kComposer, false) = Cp(u"Иванов");
        t.Value(kArtist, false) = Cp(u"Группа");
        t.Value(kAlbum, false) = Cp(u"Один");
        t.Value(kYear, false) = "1999";
        t.Value(kGenre, false) = "Rock";
        AddSong(cat, one, Cp(u"Вторая"), "Rock\\One\\02.mp3");
        two = &AddFolder(cat, rock, Cp(u"Альбом два"));
        AddSong(cat, two, Cp(u"Третья"), "Rock\\Two\\03.mp3");
        pop = &AddFolder(cat, nullptr, Cp(u"Поп"));
        TRDataNode& fir = AddSong(cat, pop, Cp(u"Ёлочка"), "Pop\\04.mp3");
        cat.EnsureTags(fir).Value(kArtist, false) = Cp(u"Дети");
        AddSong(cat, pop, Cp(u"апрель"), "Pop\\05.mp3");
        // As the drive scan gives them: upper case, one file the catalogue does not know.
        files = {u"C:\\DISK\\SOUND\\ROCK\\ONE\\01.MP3", u"C:\\DISK\\SOUND\\ROCK\\ONE\\02.MP3",
                 u"C:\\DISK\\PLAYER\\STRAY.MP3", u"C:\\DISK\\SOUND\\ROCK\\TWO\\03.MP3",
                 u"C:\\DISK\\SOUND\\POP\\04.MP3", u"C:\\DISK\\SOUND\\POP\\05.MP3"};
    }
};

std::string Expected(const std::string& name) {
    const char* src = std::getenv("QLM_SOURCE_DIR");
    std::ifstream in(std::string(src ? src : ".") + "/tests/tools/data/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int FoldedOrder(const std::u16string& a, const std::u16string& b) {
    return find::FoldText(a).compare(find::FoldText(b));
}

}  // namespace

TEST(PrintLines, RunningNumbersUnderHeadersSkipUnknownFiles) {
    Disk d;
    const auto lines = BuildLines(d.cat, d.files, {});
    using K = LineKind;
    const std::vector<PrintLine> want = {
        {K::Header1, u"", u"Рок", u""},       {K::Header2, u"", u"Альбом один", u""},
        {K::Song, u"1. ", u"Первая", u""},    {K::Song, u"2. ", u"Вторая", u""},
        {K::Header2, u"", u"Альбом два", u""}, {K::Song, u"4. ", u"Третья", u""},
        {K::Header2, u"", u"Поп", u""},       {K::Song, u"5. ", u"Ёлочка", u""},
        {K::Song, u"6. ", u"апрель", u""},
    };
    EXPECT_EQ(lines, want);
    EXPECT_EQ(TextFileBytes(lines, false), Expected("running.txt"));
}

TEST(PrintLines, OutlineNumbersIndentByLevelAndCarryTags) {
    Disk d;
    LineOptions o;
    o.outline = true;
    o.tags = kTagComposer | kTagArtist | kTagAlbum | kTagYear;
    const auto lines = BuildLines(d.cat, d.files, o);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0].number, u"1. ");
    EXPECT_EQ(lines[1].number, u"   1. ");
    EXPECT_EQ(lines[2].number, u"      1. ");
    EXPECT_EQ(lines[2].tags, u" (Иванов) / Группа <Один> / 1999");
    EXPECT_EQ(lines[7].tags, u"  / Дети");
    EXPECT_EQ(lines[8].tags, u"");
    EXPECT_EQ(TextFileBytes(lines, false), Expected("outline_tags.txt"));
}

TEST(PrintLines, SortedOutlineHasNoHeadersAndFullChains) {
    Disk d;
    LineOptions o;
    o.outline = true;
    o.sort = true;
    o.collate = FoldedOrder;
    const auto lines = BuildLines(d.cat, d.files, o);
    EXPECT_EQ(TextFileBytes(lines, true), Expected("sorted_outline.txt"));
    for (const auto& l : lines) EXPECT_EQ(l.kind, LineKind::Song);
    o.outline = false;
    EXPECT_EQ(TextFileBytes(BuildLines(d.cat, d.files, o), true), Expected("sorted_running.txt"));
}

TEST(PrintLines, SelectedFoldersOnlyButCountersFollowTheWholeDisk) {
    Disk d;
    LineOptions o;
    o.selectedOnly = true;
    EXPECT_TRUE(BuildLines(d.cat, d.files, o).empty());
    o.checkedFolders = {d.two->ListIndex};
    auto lines = BuildLines(d.cat, d.files, o);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].number + lines[2].name, u"4. Третья");
    o.outline = true;
    lines = BuildLines(d.cat, d.files, o);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].number + lines[0].name, u"1. Рок");
    EXPECT_EQ(lines[1].number + lines[1].name, u"   2. Альбом два");
    EXPECT_EQ(lines[2].number + lines[2].name, u"      1. Третья");
    // A checked top folder takes everything below it.
    o.checkedFolders = {d.rock->ListIndex};
    EXPECT_EQ(BuildLines(d.cat, d.files, o).size(), 6u);
}

TEST(PrintLines, RunningColumnWidensForPositionsBeyondTheCount) {
    Disk d;
    std::vector<std::u16string> files(9, u"C:\\DISK\\OTHER.MP3");
    files.push_back(u"C:\\DISK\\SOUND\\POP\\05.MP3");
    files.push_back(u"C:\\DISK\\SOUND\\POP\\04.MP3");
    const auto lines = BuildLines(d.cat, files, {});
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].number, u"10. ");
    EXPECT_EQ(lines[2].number, u"11. ");
}

TEST(PrintLines, CollectsMp3FilesOfTheDiskInAnyLetterCase) {
    const std::u16string root = test::ScratchDisk("print-collect");
    test::PutFile(root + u"Sound\\A\\one.mp3", "x");
    test::PutFile(root + u"Sound\\A\\two.Mp3", "x");
    test::PutFile(root + u"Sound\\A\\notes.txt", "x");
    test::PutFile(root + u"Sound\\b.MP3", "x");
    test::PutFile(root + u"Sound\\mp3", "x");
    auto files = CollectSongFiles(root);
    std::sort(files.begin(), files.end());
    const std::u16string up = UpperCase(root);
    EXPECT_EQ(files, (std::vector<std::u16string>{up + u"SOUND\\A\\ONE.MP3", up + u"SOUND\\A\\TWO.MP3",
                                                  up + u"SOUND\\B.MP3"}));
    EXPECT_TRUE(CollectSongFiles(root + u"Missing\\").empty());
}

TEST(PrintLines, SavedFileIsUtf8WithByteOrderMarkAndCrLf) {
    const std::u16string root = test::ScratchDisk("print-save");
    const std::vector<PrintLine> lines = {{LineKind::Song, u"1. ", u"Ελλάδα 日本", u""},
                                          {LineKind::Header2, u"", u"Next", u""},
                                          {LineKind::Song, u"2. ", u"b", u" / x"}};
    ASSERT_TRUE(SaveTextFile(root + u"out.txt", lines, false));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(FsPath(root + u"out.txt"), bytes));
    EXPECT_EQ(bytes, "\xEF\xBB\xBF" "1. \xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 \xE6\x97\xA5\xE6\x9C\xAC\r\n"
                     "\r\nNext\r\n2. b / x\r\n");
    EXPECT_FALSE(SaveTextFile(root + u"no\\such\\folder\\out.txt", lines, false));
}
