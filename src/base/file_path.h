// Disk paths are Windows paths (backslashes, a drive or a folder with a
// trailing backslash). The native build maps them onto the host file system.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qlm {

// A Windows-style UTF-16 path as a std::filesystem::path of this platform.
std::filesystem::path FsPath(std::u16string_view windowsPath);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& out);
// Reads at most `count` bytes starting at `offset`; the result may be shorter.
bool ReadFileRange(const std::filesystem::path& path, uint64_t offset, size_t count, std::string& out);

// Adds a trailing backslash when missing.
std::u16string WithTrailingBackslash(std::u16string path);

}  // namespace qlm
