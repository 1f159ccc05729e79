// The text window's read-only rich-text view (RichView): the platform's
// rich-edit control in Arial 15 px, no word wrap, both scroll bars, on the
// window's grey. Loads ".rtf" as rich text and any other text file decoded
// in the disk's text character set, and prints itself page by page.
// Every new content goes into a fresh control: emptying one that holds a long
// text costs more than the text's own layout, so the old one goes a moment
// later. A long plain text shows its first screenful at once, the rest
// follows in that later step too (CompleteLoad).
#pragma once

#include <windows.h>
#include <richedit.h>

#include <cstdint>
#include <string>

namespace qlm {

namespace win {
class PrintJob;
struct PageMetrics;
}  // namespace win
struct TwipsRect;

constexpr COLORREF kRichViewBackground = 14869218;

class TRichView {
public:
    TRichView() = default;
    TRichView(const TRichView&) = delete;
    TRichView& operator=(const TRichView&) = delete;

    bool Create(HWND parent, int id);
    HWND hwnd() const { return hwnd_; }
    void SetCharset(uint8_t charset) { charset_ = charset; }

    // Empties the view and resets its attributes to the view's font.
    void Clear();
    // Clear, then the file's content (a read error leaves the view empty).
    // A long plain text may leave its rest for CompleteLoad.
    bool LoadFile(const std::u16string& path);
    // Clear and LoadFile leave work for CompleteLoad, to run after the paint.
    bool HasPendingWork() const { return !rest_.empty() || retired_; }
    // Drops the replaced control and appends the rest of the text, keeping
    // the selection and the scroll position.
    void CompleteLoad();
    // Appends one line in the view's font.
    void AddLine(const std::u16string& line);
    // The whole text (the rest included).
    std::u16string Text();
    int TextLength();
    void Repaint();

    // Prints the whole text on `printer` as one job with an empty title.
    bool Print(HDC printer);

private:
    HWND CreateControl() const;
    void ApplyViewFont(HWND control) const;
    void Replace(HWND fresh);
    int LoadedLength() const;
    bool PrintFormatted(win::PrintJob& job, FORMATRANGE& fr, long length);
    bool PrintLines(win::PrintJob& job, HDC printer, const TwipsRect& r, const win::PageMetrics& m);
    HWND hwnd_ = nullptr;
    HWND retired_ = nullptr;  // the replaced control, hidden until CompleteLoad
    HWND parent_ = nullptr;
    int id_ = 0;
    uint8_t charset_ = 204;
    std::wstring rest_;
};

}  // namespace qlm
