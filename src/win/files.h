// File-system questions the windows ask, in the wide API.
#pragma once

#include <string>

namespace qlm::win {

// A file (not a folder) is at `path`.
bool FileExists(const std::u16string& path);

}  // namespace qlm::win
