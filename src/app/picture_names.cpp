#include "app/picture_names.h"

namespace qlm {

std::string UpperAscii(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return u;
}

std::string ButtonPictureName(std::string_view base, bool down, bool selected, bool twoState, bool passive) {
    std::string name = UpperAscii(base);
    if (passive) {
        name += 'P';
    } else if (selected) {
        name += 'S';
        if (twoState) name += down ? 'D' : 'U';
    } else {
        name += down ? 'D' : 'U';
    }
    return name;
}

std::string LanguageButtonPictureName(std::string_view base, bool builtInLanguage, bool down, bool withState,
                                      bool hover) {
    std::string name = UpperAscii(base);
    if (withState) name += hover ? 'S' : (down ? 'D' : 'U');
    name += builtInLanguage ? "RUS" : "ENG";
    return name;
}

std::string TogglePictureName(std::string_view base, bool down, bool passive) {
    return UpperAscii(base) + (passive ? 'P' : (down ? 'D' : 'U'));
}

std::string SchemePictureName(std::string_view base, int scheme) {
    return UpperAscii(base) + static_cast<char>('0' + scheme);
}

}  // namespace qlm
