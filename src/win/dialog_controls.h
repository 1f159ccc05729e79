// What the program's own dialogs (find, print list) share: their font, their
// child controls and the face colour behind labels, check boxes and radios.
#pragma once

#include <windows.h>

#include <cstdint>

#include "win/handles.h"

namespace qlm::win {

// Tahoma 8 point in the character set of the language in use.
UniqueFont DialogFont(uint8_t charset);

// A visible child control of `dialog` with text "" and the dialog's font.
HWND AddDialogControl(HWND dialog, HFONT font, const wchar_t* cls, DWORD style, int id, int x, int y, int w, int h,
                      DWORD exStyle = 0);

// The answer to WM_CTLCOLORSTATIC / WM_CTLCOLORBTN: the control on the
// dialog's own face colour.
LRESULT DialogFaceColor(HDC dc);

}  // namespace qlm::win
