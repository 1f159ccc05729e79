#include <gtest/gtest.h>

#include "content/byte_source.h"
#include "content/genres.h"
#include "content/id3v1.h"
#include "content/id3v2.h"
#include "content/song_comment.h"
#include "content/mp3_builder.h"

using namespace qlm;
using namespace qlm::test;

namespace {

bool V2(const std::string& bytes, TId3Tag20& tag) {
    MemorySource src(bytes);
    return ReadID3v2(src, tag);
}

bool V1(const std::string& bytes, ID3v1Fields& tag) {
    MemorySource src(bytes);
    return ReadID3v1(src, tag);
}

}  // namespace

TEST(ID3v1, FieldsComeFromFixedPlacesWithTrailingBlanksRemoved) {
    const std::string audio = Frames({}, 3);
    ID3v1Fields t;
    ASSERT_TRUE(V1(audio + ID3v1Tag("Title  \t", "Artist", "Album", "1999", "Comment", 17), t));
    EXPECT_EQ(t.Title, "Title");
    EXPECT_EQ(t.Artist, "Artist");
    EXPECT_EQ(t.Album, "Album");
    EXPECT_EQ(t.Year, "1999");
    EXPECT_EQ(t.Comment, "Comment");
    EXPECT_EQ(t.Genre, 17);
    // Leading blanks and inner zeros are kept; only the tail is trimmed.
    ASSERT_TRUE(V1(ID3v1Tag(" A\0B", "", "", "", "", 0), t));
    EXPECT_EQ(t.Title, std::string(" A", 2));

    EXPECT_FALSE(V1(audio, t));
    EXPECT_FALSE(V1("TAG", t));  // shorter than a tag
    EXPECT_TRUE(t.Title.empty());
}

TEST(ID3v2, ReadsTheTwelveFramesAndSkipsOthers) {
    const std::string tag = ID3v2Tag({{"TIT2", TextBody("Song")},
                                      {"TPE1", TextBody("Artist")},
                                      {"TXXX", TextBody("ignored")},
                                      {"TALB", TextBody("Album")},
                                      {"TCOM", TextBody(std::string("Composer\0", 9))},  // a zero byte ends the text
                                      {"TYER", TextBody("2003")},
                                      {"TCON", TextBody("(13)")},
                                      {"COMM", CommentBody("desc", "Line one\r\nLine two")},
                                      {"TRCK", TextBody("4/12")},
                                      {"WXXX", std::string("\0desc\0http://x.example", 22)}},
                                     64);
    TId3Tag20 t;
    ASSERT_TRUE(V2(tag + Frames({}, 2), t));
    EXPECT_EQ(t.TIT2, "Song");
    EXPECT_EQ(t.TPE1, "Artist");
    EXPECT_EQ(t.TALB, "Album");
    EXPECT_EQ(t.TCOM, "Composer");
    EXPECT_EQ(t.TYER, "2003");
    EXPECT_EQ(t.TCON, "(13)");
    EXPECT_EQ(t.COMM, "Line one\r\nLine two");
    EXPECT_EQ(t.TRCK, "4/12");
    EXPECT_EQ(t.WXXX, "http://x.example");
    EXPECT_TRUE(t.TENC.empty());
    EXPECT_EQ(TId3Tag20::kFrameIds[6], "COMM");
    EXPECT_EQ(&t.Field(11), &t.TIT2);
}

TEST(ID3v2, OnlyVersionThreeWithinTheFileCounts) {
    TId3Tag20 t;
    const auto frames = std::vector<std::pair<std::string, std::string>>{{"TIT2", TextBody("Song")}};
    EXPECT_FALSE(V2(ID3v2Tag(frames, 0, 4) + Frames({}, 2), t));
    EXPECT_FALSE(V2(ID3v2Tag(frames, 0, 2) + Frames({}, 2), t));
    EXPECT_TRUE(t.TIT2.empty());
    // The size field claims more than the file holds: no tag.
    std::string cut = ID3v2Tag(frames, 100);
    cut.resize(cut.size() - 1);
    EXPECT_FALSE(V2(cut, t));
    EXPECT_FALSE(V2("ID3", t));
}

TEST(ID3v2, FramesLargerThanTheBufferOrBeyondTheTagAreNotTrusted) {
    TId3Tag20 t;
    const std::string big(70000, 'x');
    ASSERT_TRUE(V2(ID3v2Tag({{"APIC", big}, {"TIT2", TextBody(big)}, {"TPE1", TextBody("After")}}), t));
    EXPECT_TRUE(t.TIT2.empty());  // larger than the frame buffer: skipped
    EXPECT_EQ(t.TPE1, "After");   // and the frames after it are still found

    // A frame whose size runs past the tag's end gives only the bytes up to the end.
    std::string tag = ID3v2Tag({{"TIT2", TextBody("Short")}});
    PutBigEndian32(tag, 14, 5000);
    ASSERT_TRUE(V2(tag + Frames({}, 4), t));
    EXPECT_EQ(t.TIT2, "Short");

    // An extended header is stepped over by its own size.
    std::string ext = ID3v2Tag({{"TIT2", TextBody("After ext")}});
    ext.insert(10, std::string("\0\0\0\x06\0\0\0\0\0\0", 10));
    ext[5] = 0x40;
    ext.replace(6, 4, Syncsafe(uint32_t(ext.size() - 10)));
    ASSERT_TRUE(V2(ext, t));
    EXPECT_EQ(t.TIT2, "After ext");
}

TEST(ID3v2, UnicodeFramesBecomeWindows1251Text) {
    // UTF-16 with a byte-order mark, as lame and most editors write it: "Тест".
    const std::string utf16("\x01\xFF\xFE\x22\x04\x35\x04\x41\x04\x42\x04", 11);
    const std::string comm("\x01" "eng" "\xFF\xFE\x00\x00" "\xFF\xFE\x41\x00\x42\x00", 14);
    TId3Tag20 t;
    ASSERT_TRUE(V2(ID3v2Tag({{"TIT2", utf16}, {"COMM", comm}}), t));
    EXPECT_EQ(t.TIT2, "\xD2\xE5\xF1\xF2");
    EXPECT_EQ(t.COMM, "AB");
    EXPECT_EQ(ID3v2Text(3, "\xD0\xAF"), "\xDF");  // UTF-8 "Я"
    EXPECT_EQ(ID3v2Text(0, "\xDF\xE1"), "\xDF\xE1");  // single-byte text stays as stored
}

TEST(Genres, TableKeepsItsNumbersAndSpellings) {
    EXPECT_EQ(GenreName(0), "Blues");
    EXPECT_EQ(GenreName(13), "Pop");
    EXPECT_EQ(GenreName(72), "Triba");
    EXPECT_EQ(GenreName(98), "Easy Listenin,");
    EXPECT_EQ(GenreName(136), "Christian Gangs");
    EXPECT_EQ(GenreName(141), "Cristian Rock");
    EXPECT_EQ(GenreName(147), "Synthpop");
    EXPECT_EQ(GenreName(148), "");
    EXPECT_EQ(GenreName(-1), "");
}

TEST(Genres, TconValues) {
    EXPECT_EQ(GenreText("(13)"), "Pop");
    EXPECT_EQ(GenreText(" (13)Something else\t"), "Pop");
    EXPECT_EQ(GenreText("(200)My own"), "My own");
    EXPECT_EQ(GenreText("(99999999999999)Big"), "Big");
    EXPECT_EQ(GenreText("(RX)Remix"), "(RX)Remix");
    EXPECT_EQ(GenreText("()x"), "()x");
    EXPECT_EQ(GenreText("(13"), "(13");
    EXPECT_EQ(GenreText("Rock"), "Rock");
    EXPECT_EQ(GenreText(std::string("17\0", 3)), "17");
}

TEST(SongComment, PrefersID3v2AndJoinsLines) {
    TId3Tag20 v2;
    ID3v1Fields v1;
    v1.Comment = "from v1";
    v2.COMM = " first line \r\n\r\n\tsecond\r\n";
    EXPECT_EQ(CommentOfTags(&v2, &v1, {}), "first line second");
    v2.COMM.clear();
    EXPECT_EQ(CommentOfTags(&v2, &v1, {}), "from v1");
    EXPECT_EQ(CommentOfTags(nullptr, nullptr, {}), "");
}

TEST(SongComment, DualLanguageCommentIsSplit) {
    TId3Tag20 v2;
    v2.COMM = "Russian\r\ntext\r\n\r\n\r\nEnglish text";
    EXPECT_EQ(CommentOfTags(&v2, nullptr, {true, false}), "Russian text");
    EXPECT_EQ(CommentOfTags(&v2, nullptr, {true, true}), "English text");
    EXPECT_EQ(CommentOfTags(&v2, nullptr, {false, true}), "Russian text English text");
}

TEST(SongComment, ID3v1TrackNumberIsDropped) {
    ID3v1Fields v1;
    v1.Comment = std::string("Nice") + std::string(24, '\0') + '\0' + '\x07';
    EXPECT_EQ(CommentOfTags(nullptr, &v1, {}), "Nice");
    v1.Comment = std::string(29, 'c') + 'd';  // a full 30-byte comment stays whole
    EXPECT_EQ(CommentOfTags(nullptr, &v1, {}), v1.Comment);

    const std::string file = Frames({}, 3) + ID3v1Tag("", "", "", "", std::string("Hi\0", 3) + std::string(26, '\0') + "\x05", 0);
    MemorySource src(file);
    EXPECT_EQ(SongComment(src, {}), "Hi");
}
