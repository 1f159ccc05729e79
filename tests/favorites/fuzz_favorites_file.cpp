// libFuzzer target: favorites.dat as arbitrary bytes through the reader,
// then a load-then-save of a list and of an import. Whatever the input, a
// written store must read back sound and hold exactly what was saved.
#include <cstdint>
#include <string>

#include "favorites/favorites_fixture.h"

namespace {

qlm::Catalogue& FuzzCatalogue() {
    static qlm::Catalogue* cat = [] {
        auto* c = new qlm::Catalogue;
        qlm::test::FillCatalogue(*c, 120);
        return c;
    }();
    return *cat;
}

void CheckWritten(const qlm::fav::SaveResult& r, std::string_view name, const std::vector<std::string>& want) {
    using namespace qlm::fav;
    if (r.action != SaveAction::Write) return;
    StoreInfo info = DescribeImage(&r.image);
    if (info.header != HeaderCheck::Accepted || !info.problems.empty()) __builtin_trap();
    FavoritesItems back;
    LoadFromImage(&r.image, name, 0, FuzzCatalogue(), back);
    if (qlm::test::Paths(back) != want) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qlm::fav;
    qlm::Catalogue& cat = FuzzCatalogue();
    const std::string image(reinterpret_cast<const char*>(data), size);
    (void)DescribeImage(&image);
    for (const char* name : {"A", "DISK-1"}) {
        FavoritesItems items;
        LoadFromImage(&image, name, 0, cat, items);
        // Load, change, save: the list grows by songs taken from the input's length.
        const int extra = static_cast<int>(size % 97);
        for (int i = 0; i < extra; ++i) {
            qlm::TRDataNode* song = cat.Node(1 + (i * 7 + static_cast<int>(size)) % 120);
            items.push_back({song, u""});
        }
        if (size % 5 == 0) items.clear();
        SaveResult r = SaveToImage(&image, name, 0, items);
        CheckWritten(r, name, qlm::test::Paths(items));
        if (r.action == SaveAction::Write) {
            // And once more over the image just written: a second save changes nothing.
            SaveResult again = SaveToImage(&r.image, name, 0, items);
            if (again.action != SaveAction::Unchanged && !again.compacted) __builtin_trap();
        }
    }
    std::vector<ImportedList> lists{{"A", {qlm::test::SongPath(3), qlm::test::SongPath(4)}}};
    SaveResult imported = ImportIntoImage(&image, lists);
    if (imported.action == SaveAction::Write) {
        StoreInfo info = DescribeImage(&imported.image);
        if (info.header != HeaderCheck::Accepted || !info.problems.empty()) __builtin_trap();
    }
    return 0;
}
