// Steps of the start-up and shutdown carried out by other parts of the
// program (fonts, language, settings, favourites, catalogue, player), each
// behind one named call so the order in the main window reads as a list.
#pragma once

#include <windows.h>

#include <string>

namespace qlm {

enum class StartupIcon { Error = 0, Warning = 1, Question = 2, Information = 3 };

// Texts of the start-up's messages (built-in Russian or the language file's).
enum class StartupText {
    UpdateForLanguage,   // "Обновите QLM Musical Player"
    WarningCaption,      // "Предупреждение"
    ErrorCaption,        // "Ошибка"
    WinampNotFound,      // "Не найден Winamp!"
    DamagedDescription,  // the disk description cannot be read
    Loading,             // "Подождите пожалуйста. Идёт загрузка QLM Musical Player ..."
};

std::u16string StartupString(StartupText which, bool languageFileInUse);
void ShowStartupMessage(HWND owner, StartupText text, StartupText caption, StartupIcon icon);

// The modeless loading box, and its end.
void ShowLoadingBox();
void CloseLoadingBox();
// The language id in use after loading (empty: built-in Russian).
std::u16string LoadLanguage(const std::u16string& supportFolder);
// MinQLMVersion of the language file in use.
std::string LanguageMinProgramVersion();
// FileVersion of this program's version resource; "0.0.0.0" when missing.
std::string ProgramFileVersion();

// Winamp's bitmap-font option (Winamp.ini beside the program): switched off
// when it was on (true then), and back on at the end.
bool SwitchOffWinampFont(const std::u16string& winampProgram);
void RestoreWinampFont(const std::u16string& winampProgram);

// Song index, checked count, disk identifier and title cleared.
void ClearCatalogueState();

// Window caption: the disk identifier while a language file is in use,
// otherwise the disk title when it has one, else the identifier.
std::u16string MainCaption(bool languageFileInUse);
void SetApplicationTitle(const std::u16string& title);


}  // namespace qlm

namespace qlm {
// RootDir of the registry: the installed program file, empty when absent.
std::u16string ReadInstalledProgramPath();
// The application's tool-tip window (the tree shows its tips there).
class TToolTipsWindow;
void CreateToolTipsWindow(HWND owner);
TToolTipsWindow* ToolTips();
void DestroyToolTipsWindow();
}  // namespace qlm
