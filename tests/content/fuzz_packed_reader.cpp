// libFuzzer target: the packed reader on arbitrary bytes (the probe first,
// as the loader does, then the reader whatever the probe said).
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)qlm::IsPackedBytes(bytes);
    qlm::Catalogue c;
    qlm::LoadResult r;
    qlm::ReadPackedForm(bytes, c, r);
    qlm::test::ExerciseCatalogue(c);
    return 0;
}
