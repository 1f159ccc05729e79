#include "qlmdisk/tool_io.h"

#include <filesystem>
#include <fstream>
#include <iostream>

#include "base/file_path.h"
#include "base/text_codec.h"
#include "qlmdisk/commands.h"

namespace qlm::disk {

std::u16string ToolPath(const std::string& arg) {
#ifdef _WIN32
    return Utf8ToUtf16(arg);
#else
    std::error_code ec;
    auto abs = std::filesystem::absolute(std::filesystem::path(arg), ec);
    return Utf8ToUtf16(ec ? arg : abs.string());
#endif
}

bool ReadToolFile(const std::string& arg, std::string& bytes) {
    const auto path = FsPath(ToolPath(arg));
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    return ReadWholeFile(path, bytes);
}

bool WriteToolFile(const std::u16string& path, const std::string& bytes) {
    const auto p = FsPath(path);
    std::error_code ec;
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) {
        Complain("cannot write " + Utf16ToUtf8(path), kExitFailed);
        return false;
    }
    return true;
}

int Complain(const std::string& message, int code) {
    std::cerr << "qlmdisk: " << message << "\n";
    return code;
}

}  // namespace qlm::disk
