// The interface language of the running program: which texts are in use, the
// language files of the support folder as the language menus list them, and
// switching between them. One process-wide instance, CurrentLanguage().
//
// Typical use by the main window:
//   auto& lang = qlm::lang::CurrentLanguage();
//   lang.SetSupportFolder(supportFolder);
//   lang.ChooseAtStartUp(ReadLanguageId(registry));       // FormCreate
//   if (IsVersionHigher(lang.Texts().MinProgramVersion(), own)) ... // quit
//   menu = lang.RebuildMenu();                              // FormShow: fill both submenus
//   caption = qlm::lang::Text("MainMenu", "Start");
//   if (lang.Switch(clickedPosition) != SwitchResult::Unchanged) { re-apply texts, rebuild menus ... }
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lang/texts.h"

namespace qlm::lang {

// A language file found in the support folder.
struct LanguageFile {
    std::u16string id;   // base name
    std::string bytes;   // contents; empty when unreadable
};

// The language files of a folder: regular files whose names end in ".lng"
// (any letter case), ordered by name so every file system lists them alike.
std::vector<LanguageFile> FindLanguageFiles(std::u16string_view supportFolder);

struct LanguageMenuItem {
    std::u16string caption;  // display name
    std::u16string id;       // the language id (the item's hint); empty for the built-in texts
};
struct LanguageMenu {
    // Item 0 stands for the built-in texts (caption: the current text of
    // Main/Russian); then one item per file, files whose display name is
    // already listed skipped.
    std::vector<LanguageMenuItem> items;
    int checked = 0;  // the item in use; -1 when the file in use is no longer listed
};
LanguageMenu BuildLanguageMenu(const std::vector<LanguageFile>& files, const Texts& current);

// Path of the language version of a page file: folder + id + "\" + name, or
// folder + name for the built-in texts.
std::u16string LanguageVersionPath(std::u16string_view folder, std::u16string_view id, std::u16string_view name);

enum class SwitchResult {
    Unchanged,    // the checked item was chosen again: nothing to do
    LoadedFile,   // a language file was loaded
    BuiltIn,      // the built-in texts were applied
    FileMissing,  // the item's file has gone: texts and id stay, the check moves
};

class LanguageState {
public:
    // The folder of the language files, with a trailing backslash.
    void SetSupportFolder(std::u16string folder);
    const std::u16string& SupportFolder() const { return supportFolder_; }

    // Start-up: the file of the id from the registry when it exists in the
    // support folder, otherwise the built-in texts (and an empty id).
    void ChooseAtStartUp(std::u16string_view registryId);
    // Loads support folder + id + ".lng"; false (and nothing changes) when
    // the file does not exist.
    bool LoadFile(std::u16string_view id);
    void ApplyBuiltIn();

    const lang::Texts& Texts() const { return texts_; }
    // The language id: empty while the built-in texts are in use.
    const std::u16string& Id() const { return texts_.Id(); }
    // A language file is in use, so things with a second-language version
    // show it (when the disk has one).
    bool SecondLanguageActive() const { return !texts_.IsBuiltIn(); }

    // Lists the support folder again; the result also stays in Menu().
    const LanguageMenu& RebuildMenu();
    const LanguageMenu& Menu() const { return menu_; }
    int MenuIndex() const { return menuIndex_; }

    // A click on item `position` of a language menu; rebuilds the menu
    // unless nothing changed.
    SwitchResult Switch(int position);

private:
    std::u16string supportFolder_;
    lang::Texts texts_;
    LanguageMenu menu_;
    int menuIndex_ = 0;
};

LanguageState& CurrentLanguage();

// Shorthands for the current language.
inline std::u16string Text(std::string_view section, std::string_view key) {
    return CurrentLanguage().Texts().Text(section, key);
}
inline bool SecondLanguageActive() { return CurrentLanguage().SecondLanguageActive(); }

}  // namespace qlm::lang
