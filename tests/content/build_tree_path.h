// A path under the build tree (QLM_BINARY_DIR) in the form this platform's
// file functions take: Z:\... under Wine, the Unix path natively.
#pragma once

#include <cstdlib>
#include <string>

#include "base/text_codec.h"

namespace qlm::test {

inline std::u16string BuildTreePath(const std::string& relative) {
    const char* bin = std::getenv("QLM_BINARY_DIR");
    std::string path = std::string(bin ? bin : ".") + "/" + relative;
#ifdef _WIN32
    for (char& c : path)
        if (c == '/') c = '\\';
    path = "Z:" + path;
#endif
    return Utf8ToUtf16(path);
}

}  // namespace qlm::test
