#include "app/app_state.h"

#include <windows.h>

#include "content/catalogue.h"
#include "win/window.h"

namespace qlm {

AppState& App() {
    static AppState state;
    return state;
}

Catalogue& TheCatalogue() {
    static Catalogue catalogue;
    return catalogue;
}

namespace {
// A hung top-level window must not hold up the start: the notice is sent with a time-out.
void BroadcastFontChange() {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
}
}  // namespace

void InstallSupportFont() {
    AppState& app = App();
    std::u16string path = app.supportFolder + u"arial.ttf";
    std::wstring wide = win::Wide(path);
    if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    app.fontInstalled = AddFontResourceW(wide.c_str()) > 0;
    app.fontPath = path;
    BroadcastFontChange();
}

void RemoveSupportFont() {
    AppState& app = App();
    if (!app.fontInstalled) return;
    RemoveFontResourceW(win::Wide(app.fontPath).c_str());
    BroadcastFontChange();
    app.fontInstalled = false;
}

}  // namespace qlm
