// The help window: the program's own help page "h_help.htm" (in the
// interface language when there is a version of it), modal over the main
// window, with Prev, Next and Close.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "win/window.h"

namespace qlm {

class TPreviewHTML;

class THelpForm : public win::Window {
public:
    static constexpr int kMinWidth = 270;

    THelpForm();
    ~THelpForm() override;

    // Shows the window modally; returns when it is closed. `runningInstalled`:
    // the support folder is the installed program's folder, where a missing
    // help page means a damaged installation.
    void ShowModal(HWND owner, const std::u16string& supportFolder, const std::u16string& languageId,
                   bool runningInstalled);

    // The page the window was opened on (or would have been, when missing).
    const std::u16string& Page() const { return page_; }
    TPreviewHTML* View() const { return view_.get(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FormResize();
    void FormCommand(WORD id);
    void HTMLVBeforeNavigate(const std::u16string& url, bool& cancel);
    void HTMLVDocumentComplete();

    std::unique_ptr<TPreviewHTML> view_;  // HTMLV
    HWND prevBtn_ = nullptr, nextBtn_ = nullptr, closeBtn_ = nullptr;
    HFONT font_ = nullptr;
    std::u16string page_;
    int navigations_ = 0;
    bool done_ = false;
};

}  // namespace qlm
