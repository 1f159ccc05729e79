#include "lang/language.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/file_path.h"
#include "base/text_codec.h"

namespace qlm::lang {
namespace {

bool EndsWithLng(std::u16string_view name) {
    return name.size() > 4 && EqualNoCase(name.substr(name.size() - 4), u".lng");
}

std::u16string FileName(const std::filesystem::path& p) {
#ifdef _WIN32
    std::wstring w = p.filename().wstring();
    return std::u16string(w.begin(), w.end());
#else
    return Utf8ToUtf16(p.filename().string());
#endif
}

bool IsFile(std::u16string_view windowsPath) {
    std::error_code ec;
    return std::filesystem::is_regular_file(FsPath(windowsPath), ec);
}

}  // namespace

std::vector<LanguageFile> FindLanguageFiles(std::u16string_view supportFolder) {
    std::vector<LanguageFile> files;
    std::error_code ec;
    std::filesystem::directory_iterator it(FsPath(supportFolder), ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (it->is_directory(typeEc)) continue;
        std::u16string name = FileName(it->path());
        if (!EndsWithLng(name)) continue;
        LanguageFile f;
        f.id = name.substr(0, name.size() - 4);
        ReadWholeFile(it->path(), f.bytes);
        files.push_back(std::move(f));
    }
    std::sort(files.begin(), files.end(),
              [](const LanguageFile& a, const LanguageFile& b) { return LessNoCase()(a.id, b.id); });
    return files;
}

LanguageMenu BuildLanguageMenu(const std::vector<LanguageFile>& files, const Texts& current) {
    const bool builtIn = current.IsBuiltIn();
    LanguageMenu menu;
    std::vector<LanguageMenuItem> fileItems;
    for (const auto& f : files) {
        std::u16string name = Texts::FromFile(f.id, f.bytes).DisplayName(builtIn);
        bool listed = std::any_of(fileItems.begin(), fileItems.end(),
                                  [&](const LanguageMenuItem& i) { return i.caption == name; });
        if (!listed) fileItems.push_back({std::move(name), f.id});
    }
    menu.items.push_back({current.Text("Main", "Russian"), {}});
    menu.items.insert(menu.items.end(), fileItems.begin(), fileItems.end());
    if (builtIn) {
        menu.checked = 0;
    } else {
        menu.checked = -1;
        std::u16string name = current.DisplayName(false);
        for (size_t i = 1; i < menu.items.size(); ++i)
            if (menu.items[i].caption == name) {
                menu.checked = static_cast<int>(i);
                break;
            }
    }
    return menu;
}

std::u16string LanguageVersionPath(std::u16string_view folder, std::u16string_view id, std::u16string_view name) {
    std::u16string path(folder);
    if (!id.empty()) {
        path += id;
        path += u'\\';
    }
    path += name;
    return path;
}

void LanguageState::SetSupportFolder(std::u16string folder) { supportFolder_ = WithTrailingBackslash(std::move(folder)); }

void LanguageState::ChooseAtStartUp(std::u16string_view registryId) {
    if (registryId.empty() || !LoadFile(registryId)) ApplyBuiltIn();
}

bool LanguageState::LoadFile(std::u16string_view id) {
    if (id.empty()) return false;
    std::u16string path = supportFolder_ + std::u16string(id) + u".lng";
    if (!IsFile(path)) return false;
    std::string bytes;
    ReadWholeFile(FsPath(path), bytes);  // an unreadable file acts as one without keys
    texts_ = lang::Texts::FromFile(std::u16string(id), bytes);
    return true;
}

void LanguageState::ApplyBuiltIn() {
    texts_ = lang::Texts();
    menuIndex_ = 0;
}

const LanguageMenu& LanguageState::RebuildMenu() {
    menu_ = BuildLanguageMenu(FindLanguageFiles(supportFolder_), texts_);
    menuIndex_ = menu_.checked;
    return menu_;
}

SwitchResult LanguageState::Switch(int position) {
    if (position == menuIndex_) return SwitchResult::Unchanged;
    menuIndex_ = position;
    std::u16string id;
    if (position >= 0 && static_cast<size_t>(position) < menu_.items.size()) id = menu_.items[position].id;
    SwitchResult result = SwitchResult::FileMissing;
    if (LoadFile(id)) {
        result = SwitchResult::LoadedFile;
    } else if (position == 0) {
        ApplyBuiltIn();
        result = SwitchResult::BuiltIn;
    }
    RebuildMenu();  // also re-decides which item is checked
    return result;
}

LanguageState& CurrentLanguage() {
    static LanguageState state;
    return state;
}

}  // namespace qlm::lang
