// A scratch disk folder under the build tree, as the Windows-style path the
// content code takes (Z:\... under Wine).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/file_path.h"
#include "base/text_codec.h"

namespace qlm::test {

inline std::u16string ScratchDisk(const std::string& name) {
    const char* bin = std::getenv("QLM_BINARY_DIR");
    std::string unix = std::string(bin ? bin : "/tmp") + "/test-disks/" + name + "/";
#ifdef _WIN32
    for (auto& c : unix)
        if (c == '/') c = '\\';
    std::u16string root = u"Z:" + Utf8ToUtf16(unix);
#else
    std::u16string root = Utf8ToUtf16(unix);
#endif
    std::error_code ec;
    std::filesystem::remove_all(FsPath(root), ec);
    std::filesystem::create_directories(FsPath(root), ec);
    return root;
}

inline void PutFile(const std::u16string& path, const std::string& bytes) {
    std::error_code ec;
    std::filesystem::create_directories(FsPath(path).parent_path(), ec);
    std::ofstream(FsPath(path), std::ios::binary) << bytes;
}

}  // namespace qlm::test
