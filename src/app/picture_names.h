// The picture naming rule of the skinned buttons: base name + state letters
// (+ language). Resource names are matched without regard to case; these
// functions answer upper case.
#pragma once

#include <string>
#include <string_view>

namespace qlm {

// Letter "P" when passive, else "S" when selected, else "D"/"U"; a selected
// two-state button adds "D"/"U".
std::string ButtonPictureName(std::string_view base, bool down, bool selected, bool twoState, bool passive);
// Page buttons and captions: with a state, "S" on hover, else "D"/"U"; then
// "RUS" for the built-in language, "ENG" when a language file is in use.
std::string LanguageButtonPictureName(std::string_view base, bool builtInLanguage, bool down, bool withState,
                                      bool hover);
// "P" when passive, else "D"/"U".
std::string TogglePictureName(std::string_view base, bool down, bool passive);
// Images named by component name + scheme digit (LDLogo1).
std::string SchemePictureName(std::string_view base, int scheme);

std::string UpperAscii(std::string_view s);

}  // namespace qlm
