// "Печатать содержание": the modal dialog that prints the disk's table of
// contents or saves it as a text file. Made, shown and freed for each use.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "content/catalogue.h"
#include "tools/print_layout.h"
#include "tools/print_lines.h"
#include "tools/print_settings.h"
#include "win/handles.h"
#include "win/window.h"

namespace qlm {

class TPrintListForm : public win::Window {
public:
    static constexpr const wchar_t* kClassName = L"TPrintListForm";
    // Control ids, for the GUI tests.
    enum : int {
        kPrintGroupBox = 201, kAllRadio, kSelectRadio, kAlbumLabel, kFolderTree,
        kNumberStyleGroup, kRunningRadio, kOutlineRadio, kExtendedGroup, kSortCheckBox,
        kAddInfoGroup, kComposerCheckBox, kArtistCheckBox, kAlbumCheckBox, kYearCheckBox,
        kOffsetsGroup, kLeftLabel, kLeftOffset, kTopLabel, kTopOffset, kRightLabel, kRightOffset,
        kBottomLabel, kBottomOffset, kColsLabel, kColsCountComboBox, kColCountSpinEdit, kLabel6, kSpaceSpinEdit,
        kFontGroup, kAutomaticRadio, kExtendedRadio, kFontBtn, kHeader1Btn, kHeader2Btn, kSongBtn,
        kPrintToFileBtn, kPrintBtn,
        kUpDownFirst = 300,  // the spin arrows of the number edits follow
    };

    // `treeFont` is the catalogue tree's font: the fonts' defaults.
    TPrintListForm(const Catalogue& catalogue, std::u16string diskRoot, HFONT treeFont);
    ~TPrintListForm() override;

    // Runs the dialog modally over `owner` until it is closed.
    void ShowModal(HWND owner);

    void PrintBtnClick();
    void PrintToFileBtnClick();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    enum class FontSlot { Fast, Header1, Header2, Song };

    void FormCreate();
    void FormShow();
    void FormClose();
    void ApplyLanguage();
    void FillFolderTree();
    void UpdateControls();
    void Command(HWND control, WORD code);
    void Notify(const NMHDR& nm);
    void ChooseFontFor(FontSlot slot);
    HWND Add(const wchar_t* cls, DWORD style, int id, int x, int y, int w, int h, DWORD exStyle = 0);
    void AddNumber(int id, int x, int y, int lo, int hi, int value);
    int Number(int id) const;
    bool Checked(int id) const;
    void SetChecked(int id, bool on);
    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
    print::LineOptions Options() const;
    std::vector<print::PrintLine> BuildLines() const;
    // Header 1, Header 2 and Song, by the font mode.
    std::array<print::FontSpec, 3> FontsInUse() const;
    bool AnyFolderChecked() const;
    bool HasPrinter() const;
    void ReadSettings();
    void WriteSettings();

    const Catalogue& catalogue_;
    std::u16string diskRoot_;
    std::u16string treeFontName_;
    print::PrinterSettings settings_;
    print::FontSpec fast_, header1_, header2_, song_;
    win::UniqueFont font_;
    HWND owner_ = nullptr;
    bool done_ = false;
    bool twoHeaderButtons_ = false;
};

// Prints the lines on a printer DC; the message box of the column error when
// "Точно" does not fit. False when nothing was printed.
bool PrintLinesOn(HDC printer, const std::vector<print::PrintLine>& lines, const std::array<print::FontSpec, 3>& fonts,
                  bool tagsChosen, const print::PrinterSettings& settings, const std::wstring& documentName);

}  // namespace qlm
