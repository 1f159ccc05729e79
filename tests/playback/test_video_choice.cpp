// Finding the video programs of the menu "Выбрать видеоплейер".
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "playback/video_choice.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

using namespace qlm;

TEST(VideoChoice, RegisteredCommandGivesTheBareProgramPath) {
    EXPECT_EQ(ProgramOfCommand(u"\"C:\\Program Files\\P\\p.exe\" /play /close \"%L\""), u"C:\\Program Files\\P\\p.exe");
    EXPECT_EQ(ProgramOfCommand(u"C:\\P\\p.exe /play \"%L\""), u"C:\\P\\p.exe /play ");
    EXPECT_EQ(ProgramOfCommand(u"\"C:\\P\\p.exe"), u"C:\\P\\p.exe");
    EXPECT_EQ(ProgramOfCommand(u""), u"");
}

// A program in a folder with blanks must still be the program started, and the
// video one argument.
TEST(VideoChoice, CommandLineQuotesProgramAndVideo) {
    const std::u16string line = VideoCommandLine(u"C:\\Video Player\\play.exe", u"D:\\Video\\my clip.avi");
    EXPECT_EQ(line, u"\"C:\\Video Player\\play.exe\" \"D:\\Video\\my clip.avi\"");
#ifdef _WIN32
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(reinterpret_cast<const wchar_t*>(line.c_str()), &argc);
    ASSERT_NE(argv, nullptr);
    ASSERT_EQ(argc, 2);
    EXPECT_STREQ(argv[0], L"C:\\Video Player\\play.exe");
    EXPECT_STREQ(argv[1], L"D:\\Video\\my clip.avi");
    LocalFree(argv);
#endif
}

TEST(VideoChoice, EntriesInOrderOnlyWhenThereAndTheDisksOwnPlayerBeforeTheInstalledOne) {
    std::map<std::u16string, std::u16string> reg = {
        {u"SOFTWARE\\Classes\\.avi|", u"avifile"},
        {u"SOFTWARE\\Classes\\avifile\\shell\\play\\command|", u"\"C:\\A\\a.exe\" /play \"%L\""},
        {u"Software\\Microsoft\\MediaPlayer|Installation Directory", u"C:\\WMP"}};
    std::set<std::u16string> files = {u"C:\\A\\a.exe", u"D:\\Video\\play.exe", u"C:\\Q\\QLMVideoPlayer\\play.exe"};
    VideoPlayerLookup l;
    l.readLocalMachine = [&](const std::u16string& k, const std::u16string& v) { return reg[k + u"|" + v]; };
    l.fileExists = [&](const std::u16string& f) { return files.count(f) > 0; };
    l.diskRoot = u"D:\\";
    l.installedProgramPath = u"C:\\Q\\qlm.exe";
    l.defaultCaption = u"Используемый по умолчанию";
    auto e = FindVideoPlayers(l);
    ASSERT_EQ(e.size(), 2u) << "no mplayer2.exe, no Windows Media Player";
    EXPECT_EQ(e[0].program, u"C:\\A\\a.exe");
    EXPECT_EQ(e[0].id, kSystemAviPlayerId);
    EXPECT_EQ(e[1].program, u"D:\\Video\\play.exe");
    EXPECT_EQ(ChooseVideoPlayer(e, kQlmVideoPlayerId), 1);
    EXPECT_EQ(ChooseVideoPlayer(e, kMediaPlayerId), 0) << "a saved id not offered: the first";
    files.erase(u"D:\\Video\\play.exe");
    e = FindVideoPlayers(l);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[1].program, u"C:\\Q\\QLMVideoPlayer\\play.exe");
    EXPECT_EQ(ChooseVideoPlayer({}, kQlmVideoPlayerId), -1);
}
