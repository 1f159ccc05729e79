// libFuzzer target: the record-form reader on arbitrary bytes.
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qlm::Catalogue c;
    qlm::LoadResult r;
    qlm::ReadRecordForm(std::string_view(reinterpret_cast<const char*>(data), size), c, r);
    qlm::test::ExerciseCatalogue(c);
    return 0;
}
