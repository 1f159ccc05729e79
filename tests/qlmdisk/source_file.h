// Reads a file of the source tree (Z:\... under Wine).
#pragma once

#include <cstdlib>
#include <string>

#include "base/file_path.h"
#include "base/text_codec.h"

namespace qlm::test {

inline std::string SourceFile(const std::string& relative) {
    const char* src = std::getenv("QLM_SOURCE_DIR");
    std::string path = std::string(src ? src : ".") + "/" + relative;
#ifdef _WIN32
    for (auto& c : path)
        if (c == '/') c = '\\';
    path = "Z:" + path;
#endif
    std::string bytes;
    ReadWholeFile(FsPath(Utf8ToUtf16(path)), bytes);
    return bytes;
}

}  // namespace qlm::test
