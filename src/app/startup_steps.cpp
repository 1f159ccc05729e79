#include "app/startup_steps.h"

#include <memory>
#include <vector>

#include "base/text_codec.h"

#include "app/app_state.h"
#include "app/message_box.h"
#include "app/tooltips_window.h"
#include "app/settings_store.h"
#include "app/settings_win.h"
#include "app/version_info.h"
#include "content/catalogue.h"
#include "lang/language.h"
#include "win/window.h"

namespace qlm {

std::u16string StartupString(StartupText which, bool languageFileInUse) {
    switch (which) {
        case StartupText::UpdateForLanguage:
            return lang::Text("Messages", "UpdZVBForLngSup");
        case StartupText::WarningCaption:
            return lang::Text("MainMsg", "Warning");
        case StartupText::ErrorCaption:
            return lang::Text("MainMsg", "Error");
        case StartupText::WinampNotFound:
            return languageFileInUse ? u"Winamp is not found!" : u"Не найден Winamp!";
        case StartupText::DamagedDescription:
            return languageFileInUse ? u"The disk description qlm.cfg is damaged and cannot be read."
                                     : u"Файл описания диска qlm.cfg повреждён и не может быть прочитан.";
        case StartupText::Loading:
            return lang::Text("Messages", "LoadingQLM");
    }
    return {};
}

void ShowStartupMessage(HWND, StartupText text, StartupText caption, StartupIcon icon) {
    bool lng = !App().languageId.empty();
    ShowMessageBox(StartupString(text, lng), StartupString(caption, lng), static_cast<int>(icon), 0, u"OK", "\x01");
}

void ShowLoadingBox() {
    ShowMessageBox(StartupString(StartupText::Loading, false), u"QLM Musical Player", kIconInformation,
                   kMessageNoEscape | kMessageModeless, u"", "");
    if (TMessageForm* box = ActiveMessageForm(); box && box->hwnd()) UpdateWindow(box->hwnd());
}

void CloseLoadingBox() { FreeMessageForm(); }

std::u16string LoadLanguage(const std::u16string& supportFolder) {
    auto& language = lang::CurrentLanguage();
    language.SetSupportFolder(supportFolder);
    app::WinRegistryStore registry;
    language.ChooseAtStartUp(app::ReadLanguageId(registry));
    return language.Id();
}

std::string LanguageMinProgramVersion() {
    return Utf16ToUtf8(lang::CurrentLanguage().Texts().MinProgramVersion());
}

std::string ProgramFileVersion() { return OwnVersionInfo().fileVersion; }

bool SwitchOffWinampFont(const std::u16string& winampProgram) {
    app::WinProfileStore ini = app::WinampProfile(winampProgram);
    if (!app::ReadWinampBitmapFont(ini)) return false;
    app::WriteWinampBitmapFont(ini, false);
    return true;
}

void RestoreWinampFont(const std::u16string& winampProgram) {
    app::WinProfileStore ini = app::WinampProfile(winampProgram);
    app::WriteWinampBitmapFont(ini, true);
}
void ClearCatalogueState() {
    Catalogue& cat = TheCatalogue();
    cat.settings.DiskIdentifier.clear();
    cat.settings.DiskTitle.clear();
}

std::u16string MainCaption(bool languageFileInUse) {
    const Catalogue& cat = TheCatalogue();
    const auto& s = cat.settings;
    if (!languageFileInUse && !s.DiskTitle.empty()) return cat.DiskText(s.DiskTitle);
    return cat.DiskText(s.DiskIdentifier);
}

void SetApplicationTitle(const std::u16string&) {}


}  // namespace qlm

namespace qlm {
std::u16string ReadInstalledProgramPath() {
    app::WinRegistryStore registry;
    return app::ReadInstalledProgramPath(registry);
}
namespace {
std::unique_ptr<TToolTipsWindow> g_toolTips;
}

void CreateToolTipsWindow(HWND owner) {
    g_toolTips = std::make_unique<TToolTipsWindow>();
    if (!g_toolTips->CreateTip(owner)) g_toolTips.reset();
}

TToolTipsWindow* ToolTips() { return g_toolTips.get(); }

void DestroyToolTipsWindow() { g_toolTips.reset(); }
}  // namespace qlm
