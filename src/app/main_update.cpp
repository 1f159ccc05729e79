// The main window's side of the update dialog: what the dialog may know of
// the window, opening it, and its end.
#include <windows.h>

#include "app/app_state.h"
#include "app/main_form.h"
#include "content/catalogue.h"
#include "tools/update_form.h"

namespace qlm {

static_assert(kUpdateDialogClosed == kUpdateMessage, "one message number both ways");

class MainUpdateHost : public UpdateHost {
public:
    explicit MainUpdateHost(TMainForm& form) : form_(form) {}
    HWND MainWindow() override { return form_.hwnd(); }
    HWND TextWindow() override { return form_.form4_ ? form_.form4_->hwnd() : nullptr; }
    TVNTPlayer* Player() override { return form_.players_.get(); }
    HandOverWindowState HandOverState() override {
        const Catalogue& cat = TheCatalogue();
        HandOverWindowState s;
        s.diskIdentifier = cat.DiskText(cat.settings.DiskIdentifier);
        s.control = focusAtOpen_;
        s.playMode = form_.play_.PlayMode;
        const int panel = form_.layout_.Find("FavoriPanel");
        if (panel >= 0 && form_.layout_.Visible(panel)) s.favoritesWidth = form_.layout_.Size(panel);
        return s;
    }
    std::u16string LanguageId() override { return App().languageId; }
    std::u16string InstalledProgramPath() override { return App().installedProgramPath; }

    // The dialog takes the focus, so the control that had it is noted when
    // the dialog is opened.
    void NoteFocus() {
        HWND focus = GetFocus();
        focusAtOpen_ = focus && focus == form_.tree_ ? 1 : focus && focus == form_.favoritesList_ ? 2 : 0;
    }

private:
    TMainForm& form_;
    int focusAtOpen_ = 0;
};

void TMainForm::QLM1Click() {
    if (App().closing1) return;
    if (!updateHost_) updateHost_ = std::make_unique<MainUpdateHost>(*this);
    static_cast<MainUpdateHost&>(*updateHost_).NoteFocus();
    if (update_) {
        update_->ShowAgain();
        return;
    }
    update_ = std::make_unique<TUpdateQLMForm>(*updateHost_);
    // The check runs a message loop: the dialog exists meanwhile, so a second
    // click only finds it.
    if (!update_->CreateAndCheck()) DestroyUpdateDialog();
}

void TMainForm::BindUpdateCommand() {
    commands_.Bind(Cmd::Update, [this] { QLM1Click(); });
}

void TMainForm::DestroyUpdateDialog() { update_.reset(); }

void TMainForm::AbortUpdateTransfer() {
    if (update_) update_->AbortTransfer();
}

bool TMainForm::IsOpenUpdateMessage(UINT msg) const {
    static const UINT open = RegisterWindowMessageW(kOpenUpdateMessageName);
    return open != 0 && msg == open;
}

}  // namespace qlm
