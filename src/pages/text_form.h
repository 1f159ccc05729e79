// The text window. Its creation loads the disk description and builds the
// catalogue, so that every later step of the start-up sees the disk's
// settings. Afterwards it shows the text of the selected item: a song's
// lyrics (".htm" in the HTML view, ".txt"/".rtf" in the rich-text view), a
// text entry's file, a video's description or picture, the disk's title
// picture, or the no-text notice. It is hidden, docked in the main window's
// panel Form4Panel, or floating as a window of its own.
//
// Docking: dragging the floating window by its caption and letting go over
// Form4Panel (a 10 pixel strip at the right of the lists while floating)
// docks it; dragging the docked window by its grip strip and letting go
// outside the panel floats it there. Form4Splitter, left of the docked
// window, sets the docked width.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "pages/picture_box.h"
#include "pages/rich_view.h"
#include "pages/text_window_mode.h"
#include "win/handles.h"
#include "win/window.h"

namespace qlm {

class AlignLayout;
class Catalogue;
class CommandTable;
class TImageButton;
class TextHtmlPane;
struct TRDataNode;
struct TTVideoNode;
namespace app {
struct Settings;
}

// What the description load left for the start-up to act on.
enum class DescriptionLoadResult {
    Loaded,
    Damaged,       // the record form did not begin with CDQLM=
    NeedsNewerProgram,  // a packed description of a newer format version
};

// Where the main window keeps the docked text window.
struct TextDockSite {
    HWND host = nullptr;                 // the main window
    AlignLayout* layout = nullptr;       // with the boxes Form4Panel, Form4Splitter, DockImage
    std::function<void()> relayout;      // lays the main window out again (and calls FollowDockPanel)
    TImageButton* textButton = nullptr;  // TextBtn
    std::function<void()> activate;      // the main window's activation handling after ShowText
};

class TForm4 : public win::Window {
public:
    // Menu item id of "&Print" in the rich-text view's context menu.
    static constexpr UINT kPrintItem = 1;
    static constexpr int kGripHeight = 16;
    // Posted to itself: the view completes a load after the paint.
    static constexpr UINT kCompleteLoadMessage = WM_APP + 40;

    TForm4();
    ~TForm4() override;

    // Creates the (hidden) window owned by `owner`; its creation loads the
    // description of the disk at `root` into `catalogue`.
    bool Create(HWND owner, Catalogue& catalogue, const std::u16string& root, bool secondLanguageActive);
    DescriptionLoadResult DescriptionResult() const { return loadResult_; }

    // ---- Wiring by the main window
    void AttachDockSite(TextDockSite site);
    // Binds the text window's menu items and keys; `current` gives the text
    // window of the moment (it is made anew at a disk change).
    static void BindCommands(CommandTable& commands, std::function<TForm4*()> current);
    // The settings' placement: floating bounds, maximised, docked, docked
    // width. Applying it leaves the window hidden with its button up.
    void ApplyPlacement(const app::Settings& s);
    void StorePlacement(app::Settings& s) const;
    // Shows the window when the text button is down (a window made anew at
    // a disk change takes the placement first).
    void ShowWhenButtonDown(const app::Settings& s);
    // Follows Form4Panel after the main window's layout.
    void FollowDockPanel();
    // Keys of the text window seen before its controls; true when consumed.
    bool PreviewKey(const MSG& msg);
    void SetTextWindowCaption();

    // ---- Content
    // `path` relative to the disk root: a song's Path, or a text entry's file.
    void ShowText(const std::u16string& path, const std::u16string& title, bool isTextEntry);
    void ShowVideoDescription(const std::u16string& videoPath, const TTVideoNode* video);
    // The disk's title picture, loaded only when it is not the one shown.
    void ShowTitlePicture();
    // What a selected catalogue node shows: a video its description, on a
    // disk with texts a song or text item its text, a text entry its file,
    // anything else the title picture.
    void ShowForNode(const TRDataNode& node, const std::u16string& title);
    // Marks `length` characters at `start` of the text shown and scrolls them
    // into view; offsets count a line break as two characters.
    void HighlightText(int start, int length);

    // ---- Modes: hidden 0, floating 1, docked 2
    void SetTextWindowMode(int mode);
    void TextBtnClick();
    void MenuItemClick(TextMenuItem item);
    int Tag() const { return tag_; }
    bool Docked() const { return docked_; }
    TextMenuItem CheckedItem() const { return CheckedTextMenuItem(tag_, docked_); }
    void BringToFront();
    void PrintText();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    class Splitter;

    void FormCreate();
    void LoadDescription();
    void CreateContent();
    void FormResize();
    void FormClose();
    void FormPaint();
    void ContextMenu(HWND from, LPARAM lParam);
    void SystemCommand(WPARAM wParam);
    void EnterSizeMove();
    void ExitSizeMove();
    void GripMouseDown(int y);
    void GripMouseUp();
    void EndDrag();

    void ShowHtml(const std::u16string& file);
    void ShowRich(const std::u16string& file);
    void ShowNoText(const std::u16string& title);
    void ShowPicture(const std::u16string& path, bool ownPicture);
    void FitImage();
    void LoadTitlePictureAtCreation();

    void PlaceFrom(const app::Settings& s);
    void Dock();
    void Float(const RECT& bounds);
    void RememberFloatingBounds();
    void ShowTextButton();
    int PanelBox(const char* name) const;
    void SetPanelWidth(int width);
    int PanelWidth() const;
    RECT PanelScreenRect() const;
    void SetDockedWidth(int width);
    bool Visible() const;

    Catalogue* catalogue_ = nullptr;
    std::u16string root_;
    bool secondLanguageActive_ = false;
    DescriptionLoadResult loadResult_ = DescriptionLoadResult::Loaded;

    TextDockSite site_;
    int tag_ = 0;
    bool docked_ = false;
    int dockWidth_ = 125;
    RECT floating_{345, 84, 345 + 434, 84 + 465};
    bool maximizeWhenShown_ = false;
    std::u16string currentHtml_;
    std::u16string lastPicture_;
    bool docking_ = false;  // a docking drag is under way
    bool moving_ = false;   // the floating window is being moved, not sized
    bool gripDrag_ = false;
    bool destroying_ = false;
    bool placed_ = false;

    HWND backTextPanel_ = nullptr;  // BackTextPanel
    HWND richPanel_ = nullptr;      // RichPanel
    TRichView richView_;            // RichView
    std::unique_ptr<TextHtmlPane> previewHtml_;  // PreviewHTML1
    TPictureBox image2_;            // Image2
    TPictureBox gifAnimator_;       // RxGIFAnimator1
    win::UniqueFont tmpLabelFont_;  // tmpLabel: measures the no-text notice
    std::unique_ptr<Splitter> splitter_;  // Form4Splitter's window
};

}  // namespace qlm
