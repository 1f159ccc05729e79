// The one skinned message box: TMessageForm and ShowMessageBox.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/skin_picture.h"
#include "win/handles.h"
#include "win/window.h"

namespace qlm {

enum MessageIcon : int { kIconError = 0, kIconWarning = 1, kIconQuestion = 2, kIconInformation = 3 };
enum MessageFlags : int { kMessageNoEscape = 1, kMessageModeless = 2 };

class TMessageForm : public win::Window {
public:
    TMessageForm(std::u16string text, std::u16string caption, int iconKind, int flags,
                 std::vector<std::u16string> buttonCaptions, std::string resultCodes);
    ~TMessageForm() override;

    // Creates the window, centred on the screen, owned by `owner`.
    bool CreateForm(HWND owner);
    // Runs the box modally; answers the pressed button's code or 0.
    uint8_t ShowModal();
    // Shows it without waiting (no border icons).
    void ShowModeless();

    uint8_t Result() const { return result_; }
    bool Closed() const { return closed_; }
    int IconKind() const { return iconKind_; }
    int Flags() const { return flags_; }
    const std::u16string& Text() const { return text_; }
    const std::string& ResultCodes() const { return codes_; }
    // The buttons in caption order; their control ids are kFirstButtonId + i.
    const std::vector<HWND>& Buttons() const { return buttons_; }
    static constexpr int kFirstButtonId = 1000;
    // A hidden child of this id holds the text (GetDlgItemText reads it).
    static constexpr int kTextChildId = 999;
    // Called when a modeless box's button was pressed or the box was closed.
    std::function<void(TMessageForm&)> OnClose;

    // Key press of the box (Esc closes unless the flags say otherwise).
    void FormKeyPress(wchar_t key);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FormPaint();
    void FormShow();
    void ButtonClick(size_t index);
    void DrawButton(const DRAWITEMSTRUCT& di);
    void CloseForm();

    std::u16string text_, caption_;
    int iconKind_;
    int flags_;
    std::vector<std::u16string> captions_;
    std::string codes_;
    std::vector<HWND> buttons_;
    SkinPicture icon_, decoration_;
    win::UniqueFont font_;
    win::UniqueBrush background_;
    uint8_t result_ = 0;
    bool closed_ = false;
    bool modal_ = false;
};

// text, caption, icon kind (0 error, 1 warning, 2 question, 3 information,
// other: none), flags (bit 0: Esc does not close; bit 1: modeless), button
// captions one per line, one result code byte per button. Answers the pressed
// button's code, or 0 (Esc, closed, or a modeless box at once).
uint8_t ShowMessageBox(std::u16string_view text, std::u16string_view caption, int iconKind, int flags,
                       std::u16string_view buttonCaptions, std::string_view resultCodes);

// The box up now (the program-wide reference), or null.
TMessageForm* ActiveMessageForm();
// Frees the referenced modeless box (the loading box is freed this way).
void FreeMessageForm();

}  // namespace qlm
