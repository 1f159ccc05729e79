// The find dialog: modeless, on top of the main window, created once with it
// and afterwards only shown and hidden. The search itself is find::Engine;
// this window holds the controls, the language texts and the hidden rich-text
// view that reads song texts.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "tools/find_engine.h"
#include "win/handles.h"
#include "win/window.h"

namespace qlm {

// What the main window lends the dialog.
struct FindSeams {
    // The node selected in the tree; in book mode with the song list focused,
    // the selected song's node. Null when nothing is selected.
    std::function<const TRDataNode*()> selectedNode;
    // Selects a match: the tree node, or in book mode the song list item
    // (find::WaitBounded for the list), then activates the main window.
    std::function<void(const TRDataNode&)> selectNode;
    // Shows the song's text in the text window with the match highlighted
    // (0-based start, two characters per line break).
    std::function<void(const TRDataNode&, int start, int length)> showTextMatch;
    // Character sets of the tree font and of the text window font.
    std::function<uint8_t()> treeCharset;
    std::function<uint8_t()> textCharset;
};

class TFindForm : public win::Window {
public:
    static constexpr const wchar_t* kClassName = L"TFindForm";
    // Control ids, for the GUI tests.
    enum : int {
        kLabel1 = 101, kEdit1, kGroupBox1, kTreeBtn, kTextBtn, kFolderCB, kFindFragCheckBox, kFindCelCheckBox,
        kFindBtn, kCancelBtn, kTextView,
    };

    TFindForm(const Catalogue& catalogue, FindSeams seams);
    ~TFindForm() override;

    bool Create(HWND owner);
    // "&Поиск", the find button and Ctrl+F.
    void ShowFind();
    void Hide();
    // The disk changed: what the search stood on is gone.
    void CatalogueChanged();
    // Keys of the dialog before they are translated (Enter in Edit1, Escape,
    // Tab between controls). True when the message was handled.
    bool PreviewMessage(MSG& msg);

    void FindBtnClick();
    void CancelBtnClick();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FormShow();
    void FormActivate();
    void Edit1Change();
    void TreeBtnClick(bool tree);
    void FindFragCheckBoxClick(bool fragment);
    void ApplyLanguage();
    void ApplyEditCharset();
    void Command(HWND control, WORD code);
    HWND Add(const wchar_t* cls, DWORD style, int id, int x, int y, int w, int h);
    std::optional<std::vector<std::u16string>> LoadTextLines(const std::u16string& path);
    void ShowMessage(const std::u16string& text);
    bool Checked(int id) const;
    void SetChecked(int id, bool on);
    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }

    const Catalogue& catalogue_;
    FindSeams seams_;
    std::unique_ptr<find::Engine> engine_;
    win::UniqueFont font_;
    win::UniqueFont editFont_;
    HMODULE richEdit_ = nullptr;
    bool placed_ = false;
    HWND ownerFocus_ = nullptr;  // the main window's control that had the keyboard
};

}  // namespace qlm
