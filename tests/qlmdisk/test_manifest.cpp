#include <gtest/gtest.h>

#include "content/disk_loader.h"
#include "qlmdisk/dump_json.h"
#include "qlmdisk/manifest.h"
#include "source_file.h"

using namespace qlm;
using namespace qlm::disk;
using nlohmann::json;

namespace {

// Manifest -> qlm.cfg -> loaded catalogue -> dump, as `write` then `dump` do.
json RoundTrip(const json& manifest, bool second = false) {
    DiskManifest m;
    std::string error, bytes;
    EXPECT_TRUE(ParseManifest(manifest, m, error)) << error;
    EXPECT_TRUE(WriteDescription(m, bytes, error)) << error;
    Catalogue c;
    LoadOptions o;
    o.secondLanguageActive = second;
    const LoadResult r = LoadDescriptionBytes(c, bytes, o);
    return json::parse(DumpDisk(c, r).dump());
}

std::string WriteError(const json& manifest) {
    DiskManifest m;
    std::string error, bytes;
    if (ParseManifest(manifest, m, error) && WriteDescription(m, bytes, error)) return "";
    return error;
}

}  // namespace

// The two sample manifests load back to exactly the recorded dumps.
TEST(Manifest, SampleDisksLoadBackAsRecorded) {
    for (const char* name : {"packed_full", "record_full"}) {
        const json manifest = json::parse(test::SourceFile(std::string("tests/qlmdisk/data/") + name + ".json"));
        const json expected = json::parse(test::SourceFile(std::string("tests/qlmdisk/data/") + name + ".dump.json"));
        const json got = RoundTrip(manifest);
        EXPECT_EQ(got, expected) << name << "\n" << json::diff(expected, got).dump(1);
    }
}

TEST(Manifest, EverySettingsFieldRoundTripsInItsForm) {
    json packed = {{"form", "packed"},
                   {"settings",
                    {{"HasTexts", true}, {"SlidesEnabled", true}, {"PictureListInFile", true},
                     {"DualLanguageNames", true}, {"TagFieldsAvailable", 9}, {"TagFieldsShown", 8},
                     {"Charset1", 238}, {"Charset2", 0}, {"TextCharset", 204}}},
                   {"pictures", {{{"file", "a.jpg"}}}}};
    const json d = RoundTrip(packed);
    for (auto& [k, v] : packed["settings"].items()) EXPECT_EQ(d["settings"][k], v) << k;
    json record = {{"form", "record"},
                   {"settings",
                    {{"VideosEnabled", true}, {"TwoLevelFolders", true}, {"LongFolderRecords", true},
                     {"NumberSongs", true}, {"Charset1", 0}, {"Charset2", 0}, {"TextCharset", 238}}}};
    const json r = RoundTrip(record);
    for (auto& [k, v] : record["settings"].items()) EXPECT_EQ(r["settings"][k], v) << k;
}

TEST(Manifest, SecondLanguageDumpShowsSecondNames) {
    const json manifest = json::parse(test::SourceFile("tests/qlmdisk/data/packed_full.json"));
    const json d = RoundTrip(manifest, true);
    EXPECT_EQ(d["tree"][0]["display"], "Rock");
    EXPECT_EQ(d["tree"][0]["children"][0]["display"], "1. * Song / Band");
}

TEST(Manifest, RefusesWhatTheFormCannotCarry) {
    const json song = {{"name", "s"}, {"path", "f\\s.mp3"}};
    const json folder = {{"name", "f"}, {"path", "f"}, {"children", {song}}};
    struct Case {
        json manifest;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{{"form", "record"}, {"settings", {{"TagsInFile", true}}}}, "settings"},
        {{{"form", "packed"}, {"settings", {{"TwoLevelFolders", true}}}}, "record form"},
        {{{"form", "record"}, {"tree", {song}}}, "tree[0]"},
        {{{"form", "record"}, {"tree", {{{"name", "f"}, {"path", "f"}, {"children", {{{"name", "s"}, {"path", "g\\s.mp3"}}}}}}}},
         "tree[0].children[0].path"},
        {{{"form", "record"}, {"tree", {{{"name", "f"}, {"path", "f"}, {"utf16", true}, {"children", json::array()}}}}}, "UTF-16"},
        {{{"form", "record"}, {"tree", {{{"name", "f"}, {"name2", "F"}, {"path", "f"}, {"children", json::array()}}}}}, "DualLanguageNames"},
        {{{"form", "record"}, {"tree", {{{"name", std::string(300, 'x')}, {"path", "f"}, {"children", json::array()}}}}}, "LongFolderRecords"},
        {{{"form", "record"}, {"pages", {{{"caption", "it's"}, {"file", "a"}}}}}, "'"},
        {{{"form", "packed"}, {"tree", {{{"name", "s"}, {"tags", {{"Artist", "a"}}}}}}}, "TagFieldsAvailable"},
        {{{"form", "packed"}, {"tree", {{{"name", "日本"}}}}}, "cannot hold"},
        {{{"form", "packed"}, {"pictures", {{{"file", "a.jpg"}}}}}, "SlidesEnabled"},
        {{{"form", "packed"}, {"videoFolders", {{{"name", "v"}}}}}, "VideoListInFile"},
        {{{"form", "packed"}, {"version", "1.0"}, {"settings", {{"VideoListInFile", true}}},
          {"videoFolders", {{{"name", "v"}, {"utf16", true}}}}}, "x.1"},
        {{{"form", "packed"}, {"tree", {{{"nmae", "typo"}}}}}, "unknown key \"nmae\""},
        {{{"form", "packed"}, {"settings", {{"Charset1", 300}}}}, "out of range"},
        {{{"form", "packed"}, {"settings", {{"HasTexts", 1}}}}, "true or false"},
        {{{"form", "disk"}}, "form"},
        {{{"form", "packed"}, {"tree", {{{"kind", "song"}, {"children", {folder}}}}}}, "only folders"},
        {{{"form", "packed"}, {"tree", {{{"text", {{"lines", {"a"}}, {"values", {1}}}}}}}}, "either"},
    };
    for (const auto& c : cases) {
        const std::string error = WriteError(c.manifest);
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.manifest.dump() << " -> \"" << error << "\"";
    }
    EXPECT_EQ(WriteError({{"form", "record"}, {"tree", {folder}}}), "");
}

TEST(Manifest, SongFileJoinsTheFolderPaths) {
    const json m = {{"form", "packed"},
                    {"tree", {{{"name", "a"}, {"path", "A"}, {"children", {{{"name", "b"}, {"path", "B"}, {"children", {{{"name", "s"}, {"file", "s.mp3"}}}}}}}}}}};
    EXPECT_EQ(RoundTrip(m)["tree"][0]["children"][0]["children"][0]["path"], "A\\B\\s.mp3");
}
