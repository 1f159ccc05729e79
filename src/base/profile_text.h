// Profile files (sections in square brackets, key=value lines) read from
// their bytes, the way the system profile functions read them, and the
// letter-case rule those functions use for section and key names.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qlm {

// ASCII, Latin-1, Latin Extended-A and Cyrillic letters fold to upper case.
char16_t FoldCase(char16_t c);
bool EqualNoCase(std::u16string_view a, std::u16string_view b);
struct LessNoCase {
    using is_transparent = void;
    bool operator()(std::u16string_view a, std::u16string_view b) const;
};

// A decimal integer with optional sign and surrounding blanks, as profile
// values hold them; nullopt for anything else, including overflow.
std::optional<int> ParseProfileInt(std::u16string_view text);
std::optional<int> ParseProfileInt(std::string_view text);

// One key=value line with its section, as bytes of the file.
struct ProfileLine {
    std::string section;
    std::string key;
    std::string value;
};
struct ProfileLines {
    // The file began with a UTF-8 or UTF-16 byte order mark; the lines hold
    // UTF-8 then, whatever character set the file names.
    bool utf8 = false;
    std::vector<ProfileLine> lines;
};

// Splits a profile file into its lines. Names and values are trimmed of
// blanks; a value wrapped in matching quotes loses them; lines outside a
// section, without "=", or starting with ";" are skipped.
ProfileLines SplitProfile(std::string_view bytes);

// The first value of a key (ASCII names, any letter case); null when absent.
const std::string* FindProfileLine(const ProfileLines& p, std::string_view section, std::string_view key);

// A profile decoded to UTF-16. A section or key that occurs twice keeps its
// first value, as the profile functions answer.
class ProfileText {
public:
    using Section = std::map<std::u16string, std::u16string, LessNoCase>;
    // Lines that are not UTF-8 are decoded in the given Windows character set.
    static ProfileText Decode(const ProfileLines& p, uint8_t charset);

    const std::u16string* Find(std::u16string_view section, std::u16string_view key) const;
    const Section* FindSection(std::u16string_view section) const;

private:
    std::map<std::u16string, Section, LessNoCase> sections_;
};

}  // namespace qlm
