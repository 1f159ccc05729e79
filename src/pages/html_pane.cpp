#include "pages/html_pane.h"

#include "pages/music_link.h"
#include "pages/preview_html.h"
#include "win/window.h"

namespace qlm {
namespace {

// The program's HTML view in the text window. Music links lead nowhere here;
// the window text names the page shown, for whoever inspects the window.
class PreviewHtmlPane : public TextHtmlPane {
public:
    explicit PreviewHtmlPane(HWND parent) {
        view_.OnBeforeNavigate = [](const std::u16string& url, bool& cancel) {
            if (IsMusicLink(url)) cancel = true;
        };
        view_.OnProgressChange = [this](int, int progressMax) {
            if (progressMax != 0) return;
            std::string location = view_.LocationURL();
            SetWindowTextW(view_.hwnd(), std::wstring(location.begin(), location.end()).c_str());
            if (OnLoaded) OnLoaded();
        };
        view_.Create(parent, RECT{0, 0, 0, 0}, 0);
        ShowWindow(view_.hwnd(), SW_HIDE);
    }
    HWND Window() const override { return view_.hwnd(); }
    void Navigate(const std::u16string& file) override { view_.Navigate(file); }
    void Refresh() override { view_.Refresh(); }

private:
    TPreviewHTML view_;
};

}  // namespace

std::unique_ptr<TextHtmlPane> CreateHtmlPane(HWND parent) { return std::make_unique<PreviewHtmlPane>(parent); }

}  // namespace qlm
