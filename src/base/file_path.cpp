#include "base/file_path.h"

#include <cstdio>
#include <fstream>

#include "base/text_codec.h"

namespace qlm {

std::filesystem::path FsPath(std::u16string_view windowsPath) {
#ifdef _WIN32
    return std::filesystem::path(std::wstring(windowsPath.begin(), windowsPath.end()));
#else
    std::u16string p(windowsPath);
    for (auto& c : p)
        if (c == u'\\') c = u'/';
    return std::filesystem::path(Utf16ToUtf8(p));
#endif
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& out) {
    out.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    auto size = in.tellg();
    if (size < 0) return false;
    in.seekg(0, std::ios::beg);
    out.resize(static_cast<size_t>(size));
    if (size > 0 && !in.read(out.data(), size)) {
        out.clear();
        return false;
    }
    return true;
}

bool ReadFileRange(const std::filesystem::path& path, uint64_t offset, size_t count, std::string& out) {
    out.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(static_cast<std::streamoff>(offset), std::ios::beg);
    if (!in) return false;
    out.resize(count);
    in.read(out.data(), static_cast<std::streamsize>(count));
    out.resize(static_cast<size_t>(in.gcount()));
    return true;
}

std::u16string WithTrailingBackslash(std::u16string path) {
    if (path.empty() || (path.back() != u'\\' && path.back() != u'/')) path.push_back(u'\\');
    return path;
}

}  // namespace qlm
