// Every file of the readers' fuzz corpora (seeds and any input that once
// crashed, kept there) loads without harm, here and under Wine.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz_common.h"
#include "test_dir.h"

using namespace qlm;

namespace {

std::u16string CorpusDir(const char* name) {
    const char* src = std::getenv("QLM_SOURCE_DIR");
    std::string unix = std::string(src ? src : ".") + "/tests/fuzz/corpus/" + name;
#ifdef _WIN32
    for (auto& c : unix)
        if (c == '/') c = '\\';
    return u"Z:" + Utf8ToUtf16(unix);
#else
    return Utf8ToUtf16(unix);
#endif
}

}  // namespace

TEST(FuzzCorpus, EveryKeptInputLoads) {
    int files = 0;
    for (const char* name : {"record_reader_fuzzer", "packed_reader_fuzzer"}) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(FsPath(CorpusDir(name)), ec)) {
            std::string bytes;
            ASSERT_TRUE(ReadWholeFile(entry.path(), bytes));
            Catalogue c;
            const LoadResult r = LoadDescriptionBytes(c, bytes, {});
            EXPECT_NE(r.outcome, LoadOutcome::NoDescription);
            test::ExerciseCatalogue(c);
            ++files;
        }
    }
    EXPECT_GE(files, 5);
}
