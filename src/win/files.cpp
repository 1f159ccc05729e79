#include "win/files.h"

#include <windows.h>

namespace qlm::win {

bool FileExists(const std::u16string& path) {
    std::wstring w(path.begin(), path.end());
    DWORD attributes = GetFileAttributesW(w.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace qlm::win
