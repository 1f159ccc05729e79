#include "pages/html_pane.h"

#include "win/window.h"

namespace qlm {
namespace {

// Shows the name of the file it was asked for, nothing more.
class StandInHtmlPane : public TextHtmlPane {
public:
    explicit StandInHtmlPane(HWND parent) {
        window_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_CENTER | SS_CENTERIMAGE | SS_PATHELLIPSIS, 0, 0, 0,
                                  0, parent, nullptr, win::ModuleInstance(), nullptr);
    }
    ~StandInHtmlPane() override {
        if (window_) DestroyWindow(window_);
    }
    HWND Window() const override { return window_; }
    void Navigate(const std::u16string& file) override {
        SetWindowTextW(window_, win::Wide(file).c_str());
        if (OnLoaded) OnLoaded();
    }
    void Refresh() override { InvalidateRect(window_, nullptr, TRUE); }

private:
    HWND window_ = nullptr;
};

HtmlPaneFactory& Factory() {
    static HtmlPaneFactory factory;
    return factory;
}

}  // namespace

void UseHtmlPane(HtmlPaneFactory factory) { Factory() = std::move(factory); }

std::unique_ptr<TextHtmlPane> CreateHtmlPane(HWND parent) {
    if (Factory()) {
        if (auto pane = Factory()(parent)) return pane;
    }
    return std::make_unique<StandInHtmlPane>(parent);
}

}  // namespace qlm
