#include <gtest/gtest.h>

#include "tools/update_logic.h"

using namespace qlm::update;

TEST(UpdateLogic, KilobytesShowTheTenthOfAKilobyte) {
    EXPECT_EQ(KilobyteText(0), u"0,0 KB");
    EXPECT_EQ(KilobyteText(1024), u"1,0 KB");
    EXPECT_EQ(KilobyteText(1536), u"1,5 KB");       // 512 / 1.024 = 500
    EXPECT_EQ(KilobyteText(2047), u"1,9 KB");       // 1023 / 1.024 = 999
    EXPECT_EQ(KilobyteText(100), u"0,0 KB");        // 98 thousandths: not "0,9"
    EXPECT_EQ(KilobyteText(103), u"0,1 KB");        // 100.6 rounds to 101
    EXPECT_EQ(KilobyteText(20 * 1024 * 1024 + 307), u"20480,3 KB");  // 299.8 rounds up
}

TEST(UpdateLogic, TimesHaveHoursOnlyWhenNeeded) {
    EXPECT_EQ(TimeText(0), u"0:00");
    EXPECT_EQ(TimeText(65), u"1:05");
    EXPECT_EQ(TimeText(3599), u"59:59");
    EXPECT_EQ(TimeText(3600), u"1:00:00");
    EXPECT_EQ(TimeText(3600 * 12 + 61), u"12:01:01");
}

TEST(UpdateLogic, ProgressFigures) {
    EXPECT_FALSE(Progress(0, 1000, 5000));      // nothing yet
    EXPECT_FALSE(Progress(1000, 1000, 5000));   // all in
    auto p = Progress(1024 * 300, 1024 * 1000, 2999);  // e = 2 s
    ASSERT_TRUE(p);
    EXPECT_EQ(p->received, u"300,0 KB");
    EXPECT_EQ(p->remaining, u"700,0 KB");
    EXPECT_EQ(p->percent, 30);
    EXPECT_EQ(p->percentText, u"30 %");
    EXPECT_EQ(p->speed, 153600);
    EXPECT_EQ(p->speedText, u"153600 bps");
    EXPECT_EQ(p->elapsed, u"0:02 ");
    ASSERT_TRUE(p->wait);
    EXPECT_EQ(*p->wait, u"0:05 ");  // 716800 / 153600 = 4.67

    // Within the first second the speed is 0 and no remaining time is shown.
    auto early = Progress(500, 1000, 999);
    ASSERT_TRUE(early);
    EXPECT_EQ(early->speedText, u"0 bps");
    EXPECT_FALSE(early->wait);
    EXPECT_EQ(early->percent, 50);

    // No announced length: no percentage, nothing remaining.
    auto unknown = Progress(5000, 0, 3000);
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->percent, 0);
    EXPECT_EQ(unknown->remaining, u"0,0 KB");
}

TEST(UpdateLogic, CheckOutcomes) {
    // Server newer than the running program, the installed copy as new: no download.
    EXPECT_EQ(DecideUpdate("2.0.0.0", "1.9.9.9", "2.0.0.0"), CheckOutcome::InstalledIsNewest);
    EXPECT_EQ(DecideUpdate("2.0.0.0", "1.9.9.9", "0.0.0.0"), CheckOutcome::UpdateFound);
    EXPECT_EQ(DecideUpdate("2.0.0.0", "1.9.9.9", "1.9.9.10"), CheckOutcome::UpdateFound);
    // Missing parts are 0: "1.2" equals 1.2.0.0.
    EXPECT_EQ(DecideUpdate("1.2", "1.2.0.0", "0.0.0.0"), CheckOutcome::UpToDate);
    // A line break after the last number spoils that part, which counts as 0.
    EXPECT_EQ(DecideUpdate("1.9.9.10", "1.9.9.9", ""), CheckOutcome::UpdateFound);
    EXPECT_EQ(DecideUpdate("1.9.9.10\r\n", "1.9.9.9", ""), CheckOutcome::UpToDate);
    EXPECT_EQ(DecideUpdate("2.0.0.1\n", "2.0.0.0", ""), CheckOutcome::UpToDate);
    EXPECT_EQ(DecideUpdate(std::nullopt, "1.0.0.0", ""), CheckOutcome::NoServerVersion);
    EXPECT_EQ(DecideUpdate("", "1.0.0.0", ""), CheckOutcome::UpToDate);
}

TEST(UpdateLogic, ResultCodesAndCompleteness) {
    EXPECT_EQ(CheckResultCode(true, kSucceeded), -2);
    EXPECT_EQ(CheckResultCode(false, kSucceeded), 0);
    EXPECT_EQ(CheckResultCode(false, kFailed), 251);
    EXPECT_EQ(CheckResultCode(false, kIdle), 0);  // a cancelled check
    EXPECT_TRUE(DownloadComplete(kSucceeded, 100, 100));
    EXPECT_TRUE(DownloadComplete(kSucceeded, 100, 0));
    EXPECT_FALSE(DownloadComplete(kSucceeded, 99, 100));
    EXPECT_FALSE(DownloadComplete(kReceiving, 100, 100));
    EXPECT_FALSE(DownloadComplete(kFailed, 100, 0));
}

TEST(UpdateLogic, Addresses) {
    EXPECT_EQ(JoinUrl(u"http://127.0.0.1:8080", kVersionPath), u"http://127.0.0.1:8080/mp3player/version.dat");
    EXPECT_EQ(JoinUrl(u"https://host/", kInstallerPath), u"https://host/mp3player/QLMsetup.exe");
    EXPECT_TRUE(IsHttpUrl(u"HTTP://host/x"));
    EXPECT_TRUE(IsHttpUrl(u"https://host"));
    EXPECT_FALSE(IsHttpUrl(u"ftp://host/x"));
    EXPECT_FALSE(IsHttpUrl(u"http://"));
    EXPECT_FALSE(IsHttpUrl(u"host/x"));
}
