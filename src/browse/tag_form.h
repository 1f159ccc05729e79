// TForm3: the tag window. A fixed, modal dialog with the read-only fields of
// one song file's tag and a close button; made, shown and freed for each use.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "browse/browse_rules.h"
#include "win/handles.h"
#include "win/window.h"

namespace qlm::browse {

class TForm3 : public win::Window {
public:
    static constexpr const wchar_t* kClassName = L"TForm3";
    // Fields in the order of the window: Title, Artist, Album, Year, Genre, Comment, Composer.
    enum Field { kTitle, kArtist, kAlbum, kYear, kGenre, kComment, kComposer, kFieldCount };
    static constexpr int kFirstEditId = 300;  // edit of field f is kFirstEditId + f
    static constexpr int kCloseId = IDCANCEL;

    // `charset`: the song's character set for the fields' texts and font.
    TForm3(uint8_t charset, uint8_t captionCharset);
    ~TForm3() override;

    // Creates the (hidden) window owned by `owner` and takes the captions
    // from the language in use.
    bool CreateForm(HWND owner);
    // Fills the fields from the song file: false when it has no tag to show.
    bool ShowTags(const std::u16string& file);
    // Fills the fields from tag texts (bytes in the song's character set).
    void SetFields(const TagWindowFields& fields);
    std::u16string FieldText(Field f) const;
    // Shows the window modally until Esc or the close button.
    void ShowModal();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void CloseForm();
    static LRESULT CALLBACK KeyProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    uint8_t charset_;
    uint8_t captionCharset_;
    HWND owner_ = nullptr;
    std::array<HWND, kFieldCount> edits_{};
    std::array<HWND, kFieldCount> labels_{};
    HWND close_ = nullptr;
    win::UniqueFont fieldFont_;
    win::UniqueFont captionFont_;
    bool closed_ = false;
};

}  // namespace qlm::browse
