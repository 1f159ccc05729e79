// The texts of one interface language: the built-in Russian texts, or those of
// a language file (a profile file named <language id>.lng).
//
// A language file answers every slot from its own keys: a key it lacks gives
// an empty text, not the built-in one, except for the keys of section Main
// that have defaults (CharSet 204, Version 1, MinQLMVersion "1.0.0.2",
// Language and LanguageRus the language id). Its values are decoded in the
// character set the file names in Main/CharSet, whatever the system's code
// page; a file that starts with a UTF-8 or UTF-16 byte order mark is read as
// such.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/profile_text.h"

namespace qlm::lang {

class Texts {
public:
    // The built-in Russian texts.
    Texts() = default;
    // A language file's texts from its bytes; unreadable or empty files give a
    // file with no keys. `id` is the file's base name.
    static Texts FromFile(std::u16string id, std::string_view bytes);

    bool IsBuiltIn() const { return !file_; }
    // The language id: empty for the built-in texts.
    const std::u16string& Id() const { return id_; }

    // The text of a slot by section and key (letter case does not matter).
    std::u16string Text(std::string_view section, std::string_view key) const;
    std::u16string Text(std::u16string_view section, std::u16string_view key) const;

    // Section Main of a file: the interface character set (204 for the
    // built-in texts), the file format version and the lowest program
    // version the file works with (empty for the built-in texts; compare it
    // with IsVersionHigher of app/version_compare.h).
    uint8_t Charset() const;
    int FormatVersion() const;
    std::u16string MinProgramVersion() const;

    // How the language menus list this file: key Language while a language
    // file is in use, LanguageRus while the built-in texts are in use.
    std::u16string DisplayName(bool builtInTextsInUse) const;

    // An information page's caption in this language: with a file, the value
    // of section ExtPages under the normalised caption, the caption itself
    // when the file has none; the built-in texts keep the caption.
    std::u16string PageCaption(std::u16string_view caption) const;

private:
    const std::u16string* Find(std::u16string_view section, std::u16string_view key) const;
    std::u16string id_;
    std::shared_ptr<const ProfileText> file_;  // shared: Texts are copied freely
    uint8_t charset_ = 204;
};

}  // namespace qlm::lang
