// TAboutForm, the about box: product name and version of the running
// program, the publisher's contact lines and links, the icon, and the
// machine's physical memory. Made for each showing and gone when it closes.
#pragma once

#include <windows.h>

#include <string>

#include "app/deployment.h"
#include "app/skin_picture.h"
#include "win/handles.h"
#include "win/window.h"

namespace qlm {

class TAboutForm : public win::Window {
public:
    // Control ids of the labels (tests read them by id).
    enum : int {
        kLabel1 = 101,  // product name
        kVersionLabel,
        kLabel2,  // publisher and telephone
        kLabel6,  // e-mail link
        kLabel3,  // home page link
        kImage1,
        kLabel4,
        kTotalMemLabel,
        kLabel5,
        kFreeMemLabel,
    };
    static constexpr const wchar_t* kClassName = L"TAboutForm";

    TAboutForm(Deployment deployment, std::u16string programFile);
    // Shows the box modally over `owner` until OK, Esc or its close button.
    void ShowModal(HWND owner);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FillMemoryLines();
    void LinkClick(int id);
    bool IsLink(HWND control) const;
    HWND AddLabel(int id, const std::u16string& text, int x, int y, int w, int h, DWORD style = 0);

    Deployment deployment_;
    std::u16string programFile_;
    win::UniqueFont font_, boldFont_, linkFont_;
    SkinPicture logo_;
    bool closed_ = false;
};

// Shows the about box of this program over `owner`.
void ShowAboutBox(HWND owner, const Deployment& deployment, const std::u16string& programFile);

}  // namespace qlm
