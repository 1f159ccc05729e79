// The main window's side of the settings: its bounds and the Winamp window's
// place in qlm.ini, and the restart hand-over read back at FormShow.
#include <windows.h>

#include "app/app_state.h"
#include "app/main_form.h"
#include "pages/slide_show.h"
#include "app/restart_resume.h"
#include "app/settings_win.h"
#include "content/catalogue.h"
#include "playback/winamp_control.h"

namespace qlm {
namespace {

app::DiskContext DiskContextOf(const Catalogue& cat) {
    return {cat.settings.SlidesEnabled, !cat.HasNestedNodes()};
}

HWND WinampWindow() { return FindWindowA(kWinampWindowClass, nullptr); }

// What the restart resume changes in the main window.
class MainResumeTarget : public ResumeTarget {
public:
    MainResumeTarget(TMainForm::ResumeState& state) : state_(state) {}
    void DeleteInstaller(const std::u16string& path) override { DeleteFileW(win::Wide(path).c_str()); }
    void ShowFavorites(int width) override { state_.favoritesWidth = width; }
    void FocusControl(int control) override { state_.focusControl = control; }
    void MarkStoppedByProgram() override { state_.userStopped = true; }
    void SetPlayMode(int mode) override { state_.playMode = mode; }
    void StartDemoMode() override { state_.demoMode = true; }

private:
    TMainForm::ResumeState& state_;
};

}  // namespace

void TMainForm::LoadWindowSettings() {
    app::WinProfileStore ini = app::SettingsFile();
    settings_ = app::LoadSettings(ini, DiskContextOf(TheCatalogue()));
    if (slides_) slides_->SetDelay(settings_.slideDelay);
    const auto& m = settings_.main;
    // The window's minimum size enlarges bounds that are too small.
    SetWindowPos(hwnd(), nullptr, m.left, m.top, m.width, m.height, SWP_NOZORDER | SWP_NOACTIVATE);
    startMaximized_ = settings_.mainMaximized;
    if (form4_) form4_->ApplyPlacement(settings_);
    if (browser_) browser_->ApplySettings(settings_);
}

void TMainForm::SaveWindowSettings() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (GetWindowPlacement(hwnd(), &wp)) {
        const RECT& r = wp.rcNormalPosition;
        settings_.main = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    settings_.mainMaximized = IsZoomed(hwnd()) != FALSE;
    settings_.winampLeft.reset();
    settings_.winampTop.reset();
    if (HWND w = WinampWindow()) {
        RECT rc{};
        GetWindowRect(w, &rc);
        settings_.winampLeft = rc.left;
        settings_.winampTop = rc.top;
    }
    if (form4_) form4_->StorePlacement(settings_);
    if (browser_) browser_->StoreSettings(settings_);
    app::WinProfileStore ini = app::SettingsFile();
    app::WinRegistryStore registry;
    app::SaveSettings(ini, registry, App().languageId, settings_, DiskContextOf(TheCatalogue()));
}

void TMainForm::PlaceWinampWindow() {
    if (HWND w = WinampWindow()) {
        RECT rc{};
        GetWindowRect(hwnd(), &rc);
        app::Position pos = app::WinampPosition(settings_, rc.left, rc.top);
        SetWindowPos(w, nullptr, pos.left, pos.top, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    ShowWinampAsChosen();
    SetActiveWindow(hwnd());
}

void TMainForm::ShowWinampAsChosen() {
    if (players_) players_->ShowPlayerWindow(kWinampPlayerId, settings_.winampVisible ? SW_SHOWNOACTIVATE : SW_HIDE);
}

bool TMainForm::RestartResume() {
    app::WinProfileStore ini = app::SettingsFile();
    const Catalogue& cat = TheCatalogue();
    auto handOver = app::TakeRestartHandOver(ini, cat.DiskText(cat.settings.DiskIdentifier));
    if (!handOver || !players_) return false;
    MainResumeTarget target(resume_);
    resume_.playMode = play_.PlayMode;
    bool resumed = ApplyRestartHandOver(*handOver, *players_, target);
    play_.PlayMode = resume_.playMode;
    if (resume_.focusControl == 1) focusAfterResume_ = tree_;
    if (resume_.focusControl == 2) focusAfterResume_ = favoritesList_;
    if (resume_.favoritesWidth > 0) ShowFavoritesPanel(resume_.favoritesWidth);
    return resumed;
}

}  // namespace qlm
