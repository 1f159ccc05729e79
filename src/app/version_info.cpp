#include "app/version_info.h"

#include <windows.h>

#include <vector>

namespace qlm {
namespace {

struct Translation {
    WORD language, codePage;
};

std::u16string StringValue(const std::vector<unsigned char>& data, const Translation& tr, const wchar_t* name) {
    wchar_t query[96];
    wsprintfW(query, L"\\StringFileInfo\\%04x%04x\\%s", tr.language, tr.codePage, name);
    wchar_t* value = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(const_cast<unsigned char*>(data.data()), query, reinterpret_cast<void**>(&value), &len) ||
        !value)
        return {};
    std::u16string out;
    for (UINT i = 0; i < len && value[i]; ++i) out.push_back(static_cast<char16_t>(value[i]));
    return out;
}

}  // namespace

VersionInfo ReadVersionInfo(const std::u16string& path) {
    VersionInfo info;
    std::wstring file(path.begin(), path.end());
    DWORD dummy = 0;
    DWORD size = GetFileVersionInfoSizeW(file.c_str(), &dummy);
    if (size == 0) return info;
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return info;
    Translation* tr = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&tr), &len) ||
        len < sizeof(Translation))
        return info;
    std::u16string version = StringValue(data, *tr, L"FileVersion");
    if (!version.empty()) {
        info.fileVersion.clear();
        for (char16_t c : version) info.fileVersion.push_back(c < 128 ? static_cast<char>(c) : '?');
    }
    info.productName = StringValue(data, *tr, L"ProductName");
    info.companyName = StringValue(data, *tr, L"CompanyName");
    return info;
}

VersionInfo OwnVersionInfo() {
    wchar_t path[MAX_PATH * 2] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    return ReadVersionInfo(std::u16string(path, path + n));
}

}  // namespace qlm
