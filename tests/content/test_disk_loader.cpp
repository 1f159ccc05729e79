#include <gtest/gtest.h>

#include <algorithm>

#include "content/disk_loader.h"
#include "packed_file.h"
#include "record_file.h"
#include "test_dir.h"

using namespace qlm;
using namespace qlm::test;

namespace {

std::string Z(std::string_view a, std::string_view b) { return std::string(a) + '\0' + std::string(b); }

std::vector<std::u16string> ChildNames(const TRDataNode& n) {
    std::vector<std::u16string> out;
    for (auto* c : n.Children) out.push_back(c->NameText());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

TEST(DiskLoader, MissingDescriptionLeavesEverythingEmpty) {
    const auto root = ScratchDisk("missing");
    Catalogue c;
    c.pages.push_back({});
    auto r = LoadDiskDescription(c, {root, false});
    EXPECT_EQ(r.outcome, LoadOutcome::NoDescription);
    EXPECT_TRUE(c.Empty());
    EXPECT_TRUE(c.pages.empty());
    EXPECT_EQ(c.root, root);
}

TEST(DiskLoader, ReadsEitherFormFromTheRoot) {
    auto root = ScratchDisk("forms");
    root.pop_back();  // the loader adds the backslash
    PutFile(root + u"\\qlm.cfg", RecordFile({S("CDQLM=rec"), S("EndOfCFG"), S(Z("F=a", "N=A"))}));
    Catalogue c;
    auto r = LoadDiskDescription(c, {root, false});
    EXPECT_EQ(r.outcome, LoadOutcome::Loaded);
    EXPECT_FALSE(r.packed);
    EXPECT_EQ(c.settings.DiskIdentifier, "rec");
    EXPECT_EQ(c.root, root + u"\\");
    PutFile(root + u"\\qlm.cfg", PackedFile(0).NoPages().TreeFollows().Folder(0, "P").End().Bytes());
    EXPECT_TRUE(IsPackedDescription(root + u"\\qlm.cfg"));
    r = LoadDiskDescription(c, {root, false});
    EXPECT_TRUE(r.packed);
    EXPECT_EQ(c.NodeCount(), 1u);  // the previous disk's node is gone
    EXPECT_EQ(c.settings.DiskIdentifier, "ID-1");
}

TEST(DiskLoader, VideoFolderComesFromTheVideoFolderWhenNotListed) {
    const auto root = ScratchDisk("videos");
    PutFile(root + u"Video\\one.avi", "x");
    PutFile(root + u"Video\\Two.MPG", "x");
    PutFile(root + u"Video\\notes.txt", "x");
    PutFile(root + u"Video\\sub.avi\\inner.avi", "x");  // a folder is not a video
    PutFile(root + u"qlm.cfg", RecordFile({S("CDQLM=v"), S("PVV=1"), S("VDL=1"), S("EndOfCFG"), S(Z("F=a", "N=A"))}));
    Catalogue c;
    auto r = LoadDiskDescription(c, {root, true});
    ASSERT_EQ(c.Roots().size(), 2u);
    const TRDataNode& folder = *c.Roots()[1];
    EXPECT_EQ(folder.Kind, kKindVideoFolder);
    EXPECT_EQ(folder.NameText(), u"Видео");
    EXPECT_EQ(c.NodeDisplayText(folder, true, false), u"Videos");
    EXPECT_EQ(ChildNames(folder), (std::vector<std::u16string>{u"Two.MPG", u"one.avi"}));
    const TRDataNode& clip = *folder.Children[0];
    EXPECT_EQ(clip.StateImage, kStateVideo);
    EXPECT_EQ(clip.NameText(true), clip.NameText());
    EXPECT_TRUE(c.VideosPresent());
    EXPECT_EQ(c.VideoFile(clip), root + u"Video\\" + clip.NameText());
    EXPECT_TRUE(r.bookModeAvailable);
}

TEST(DiskLoader, NoVideoFolderWithoutVideos) {
    const auto root = ScratchDisk("novideos");
    PutFile(root + u"qlm.cfg", RecordFile({S("CDQLM=v"), S("PVV=1"), S("EndOfCFG"), S(Z("F=a", "N=A"))}));
    Catalogue c;
    auto r = LoadDiskDescription(c, {root, false});
    EXPECT_EQ(c.Roots().size(), 1u);
    EXPECT_FALSE(c.VideosPresent());
    EXPECT_FALSE(r.bookModeAvailable);  // every node is on the root level
}

TEST(DiskLoader, ListedVideoFoldersStandingFirstMoveToTheEnd) {
    Catalogue c;
    auto bytes = RecordFile({S("CDQLM=v"), S("PVV=1"), S("EV=1"), S("CVF=Clips\1x"), S("VI=Clip\1unused"),
                             L("VIF=c.avi\1About\1c.jpg\1more"), S("CVF=Empty"), S("EndOfCFG"), S(Z("F=a", "N=A")),
                             S(Z("F=b", "N=B"))});
    auto r = LoadDescriptionBytes(c, bytes, {});
    EXPECT_FALSE(r.formatError);
    ASSERT_EQ(c.Roots().size(), 4u);
    EXPECT_EQ(c.Roots()[0]->Name, "A");
    EXPECT_EQ(c.Roots()[2]->Name, "Clips");
    EXPECT_EQ(c.Roots()[3]->Name, "Empty");
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c.Roots()[i]->SiblingIndex, i);
    const TRDataNode& clip = *c.Roots()[2]->Children.at(0);
    EXPECT_EQ(clip.Path, "c.avi");
    EXPECT_EQ(clip.Video->Description, "About");
    EXPECT_EQ(clip.Video->Picture, "c.jpg");
    // Tree order follows the moved roots.
    EXPECT_EQ(c.NextInTreeOrder(c.Roots()[1]), c.Roots()[2]);
    EXPECT_EQ(c.NextInTreeOrder(&clip), c.Roots()[3]);
    EXPECT_EQ(c.NextInTreeOrder(c.Roots()[3]), nullptr);
    // Without VideosEnabled they stay where they are.
    LoadDescriptionBytes(c, RecordFile({S("CDQLM=v"), S("EV=1"), S("CVF=Clips"), S("VI=Clip"), L("VIF=c.avi"),
                                        S("EndOfCFG"), S(Z("F=a", "N=A"))}), {});
    EXPECT_EQ(c.Roots()[0]->Name, "Clips");
}

TEST(DiskLoader, SlidesComeFromThePictureFolderWhenNotListed) {
    const auto root = ScratchDisk("slides");
    PutFile(root + u"Picture\\a.jpg", "x");
    PutFile(root + u"Picture\\B.BMP", "x");
    PutFile(root + u"Picture\\c.png", "x");
    PutFile(root + u"qlm.cfg", RecordFile({S("CDQLM=s"), S("PSSH=1"), S("EndOfCFG")}));
    Catalogue c;
    LoadDiskDescription(c, {root, false});
    EXPECT_TRUE(c.settings.SlidesEnabled);
    ASSERT_EQ(c.slides.size(), 2u);
    EXPECT_EQ(c.slideBytes.size(), 2u);
    EXPECT_TRUE(c.slides[0].Caption.empty());
    // A listed picture list wins over the folder, even when empty: slides then go off.
    PutFile(root + u"qlm.cfg", RecordFile({S("CDQLM=s"), S("PSSH=1"), S("PICList"), L("\1\2\3#PICList"), S("EndOfCFG")}));
    LoadDiskDescription(c, {root, false});
    EXPECT_TRUE(c.settings.PictureListInFile);
    EXPECT_TRUE(c.slides.empty());
    EXPECT_FALSE(c.settings.SlidesEnabled);
}

TEST(DiskLoader, TagScanIsAskedForOnlyWithoutTags) {
    Catalogue c;
    auto r = LoadDescriptionBytes(c, RecordFile({S("CDQLM=x"), S("EndOfCFG")}), {});
    EXPECT_TRUE(r.NeedsTagScan(c));
    r = LoadDescriptionBytes(c, PackedFile(1u << 14).NoPages().TreeFollows(false).Bytes(), {});
    EXPECT_FALSE(r.NeedsTagScan(c));  // TagsInFile
    r = LoadDescriptionBytes(c, PackedFile(1u << 11, 1, 1, 1).NoPages().TreeFollows(false).Bytes(), {});
    EXPECT_FALSE(r.NeedsTagScan(c));
    r = LoadDescriptionBytes(c, RecordFile({S("nope")}), {});
    EXPECT_FALSE(r.NeedsTagScan(c));
}
