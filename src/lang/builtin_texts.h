// The built-in Russian texts of the whole interface: one table, keyed by the
// language-file section and key that replaces each text.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qlm::lang {

struct BuiltInText {
    std::string_view section;
    std::string_view key;
    std::string_view text;  // UTF-8
};

std::span<const BuiltInText> BuiltInTexts();

// The built-in text of a slot as UTF-16; empty when the table has none.
// Section and key match without regard to letter case.
std::u16string BuiltInTextOf(std::string_view section, std::string_view key);

// The one message without a language key: Winamp was not found. Any language
// file in use gets the English text.
inline constexpr std::u16string_view kWinampNotFoundRussian = u"Не найден Winamp!";
inline constexpr std::u16string_view kWinampNotFoundOther = u"Winamp is not found!";

}  // namespace qlm::lang
