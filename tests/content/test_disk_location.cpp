#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <set>

#include "base/text_codec.h"
#include "content/disk_location.h"

using namespace qlm;

namespace {

// Drives and dialogs as a script: which roots hold a disk, what the user answers.
struct ScriptedPorts : DiskSearchPorts {
    std::u16string cdLetters;
    std::set<std::u16string> diskRoots;
    std::deque<int> notFoundAnswers;
    std::deque<std::optional<std::u16string>> browseAnswers;
    std::optional<char16_t> driveAnswer;
    int notFoundShown = 0, chooserShown = 0;
    std::u16string offered;

    std::u16string CdDriveLetters() override { return cdLetters; }
    bool IsDiskRoot(std::u16string_view f) override { return diskRoots.count(std::u16string(f)) > 0; }
    int AskDiskNotFound() override {
        ++notFoundShown;
        if (notFoundAnswers.empty()) return 0;
        int a = notFoundAnswers.front();
        notFoundAnswers.pop_front();
        return a;
    }
    std::optional<std::u16string> BrowseForDiskFolder() override {
        if (browseAnswers.empty()) return std::nullopt;
        auto a = browseAnswers.front();
        browseAnswers.pop_front();
        return a;
    }
    std::optional<char16_t> ChooseDrive(std::u16string_view letters) override {
        ++chooserShown;
        offered = letters;
        return driveAnswer;
    }
};

}  // namespace

TEST(DiskSearch, NoCdDriveQuitsWithoutAWord) {
    ScriptedPorts p;
    EXPECT_EQ(SearchDiskRoot(p), std::nullopt);
    EXPECT_EQ(p.notFoundShown, 0);
}

TEST(DiskSearch, OnlyAcceptedDriveIsTakenWithoutTheChooser) {
    ScriptedPorts p;
    p.cdLetters = u"DE";
    p.diskRoots = {u"E:\\"};
    EXPECT_EQ(SearchDiskRoot(p), u"E:\\");
    EXPECT_EQ(p.chooserShown, 0);
}

TEST(DiskSearch, SeveralAcceptedDrivesGoToTheChooser) {
    ScriptedPorts p;
    p.cdLetters = u"DEF";
    p.diskRoots = {u"D:\\", u"F:\\"};
    p.driveAnswer = u'F';
    EXPECT_EQ(SearchDiskRoot(p), u"F:\\");
    EXPECT_EQ(p.offered, u"DF");
    p.driveAnswer.reset();
    EXPECT_EQ(SearchDiskRoot(p), std::nullopt);  // chooser cancelled: quit
}

TEST(DiskSearch, NotFoundRetryBrowseAndCancel) {
    ScriptedPorts p;
    p.cdLetters = u"D";
    // Retry, then Browse cancelled (the question comes back), then Browse to a folder.
    p.notFoundAnswers = {kNotFoundRetry, kNotFoundBrowse, kNotFoundBrowse};
    p.browseAnswers = {std::nullopt, u"C:\\Music"};
    EXPECT_EQ(SearchDiskRoot(p), u"C:\\Music\\");
    EXPECT_EQ(p.notFoundShown, 3);

    ScriptedPorts q;
    q.cdLetters = u"D";
    q.notFoundAnswers = {kNotFoundRetry, kNotFoundCancel};
    EXPECT_EQ(SearchDiskRoot(q), std::nullopt);
    EXPECT_EQ(q.notFoundShown, 2);

    ScriptedPorts closed;  // the box closed without a button
    closed.cdLetters = u"D";
    EXPECT_EQ(SearchDiskRoot(closed), std::nullopt);
}

TEST(DiskSearch, RetryFindsADiskInsertedMeanwhile) {
    struct LatePorts : ScriptedPorts {
        int AskDiskNotFound() override {
            diskRoots.insert(u"D:\\");
            return ScriptedPorts::AskDiskNotFound();
        }
    } p;
    p.cdLetters = u"D";
    p.notFoundAnswers = {kNotFoundRetry};
    EXPECT_EQ(SearchDiskRoot(p), u"D:\\");
}

TEST(DriveFacts, LettersInDriveOrderAndChoiceLines) {
    uint32_t mask = (1u << 2) | (1u << 3) | (1u << 4) | (1u << 25);  // C D E Z
    auto letters = DriveLettersOf(mask, [](char16_t l) { return l == u'E' || l == u'D' || l == u'Z'; });
    EXPECT_EQ(letters, u"DEZ");
    EXPECT_EQ(AcceptedDrives(letters, [](std::u16string_view r) { return r != u"E:\\"; }), u"DZ");
    EXPECT_EQ(DriveChoiceLine(u'D', u"MUSIC"), u"D:   [MUSIC]");
    EXPECT_EQ(DriveChoiceLine(u'E', u""), u"E:   []");
}

TEST(DiskRoot, AcceptedOnlyWithQlmCfgFile) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("qlm-root-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(dir);
    fs::create_directories(dir / "qlm.cfg.d");
    std::u16string folder = Utf8ToUtf16(dir.generic_string());
#ifdef _WIN32
    for (auto& c : folder) if (c == u'/') c = u'\\';
#endif
    EXPECT_FALSE(IsDiskRoot(folder));
    fs::create_directories(dir / "sub" / "qlm.cfg");  // a folder of that name is no description
    EXPECT_FALSE(IsDiskRoot(folder + u"\\sub"));
    std::ofstream(dir / "qlm.cfg") << "x";
    EXPECT_TRUE(IsDiskRoot(folder));
    EXPECT_TRUE(IsDiskRoot(folder + u"\\"));
    EXPECT_FALSE(IsDiskRoot(u""));
    fs::remove_all(dir);
}

TEST(DiskWatch, RemovalPauseSameDiskAndOtherDisk) {
    DiskWatchState s{true, false, 0x1234};
    uint32_t serial = 0x1234;
    auto read = [&] { return serial; };
    EXPECT_EQ(WatchDiskStep(s, true, read), DiskWatchAction::None);
    EXPECT_EQ(WatchDiskStep(s, false, read), DiskWatchAction::DiskRemoved);
    EXPECT_TRUE(s.diskAbsent);
    EXPECT_EQ(WatchDiskStep(s, false, read), DiskWatchAction::None);  // reported once
    EXPECT_EQ(WatchDiskStep(s, true, read), DiskWatchAction::SameDiskBack);
    EXPECT_FALSE(s.diskAbsent);
    EXPECT_EQ(WatchDiskStep(s, false, read), DiskWatchAction::DiskRemoved);
    serial = 0x9999;
    EXPECT_EQ(WatchDiskStep(s, true, read), DiskWatchAction::OtherDisk);

    DiskWatchState hard{false, false, 1};  // a disk in a folder is not watched
    EXPECT_EQ(WatchDiskStep(hard, false, read), DiskWatchAction::None);
}
