// Printing through the platform: is there a printer, the print dialog that
// hands back a printer DC, and a print job that always ends its document.
//
//   if (!win::PrinterInstalled()) ...;            // grey the menu item
//   auto printer = win::ChoosePrinter(owner);     // the print dialog
//   if (!printer) return;                         // cancelled
//   win::PrintJob job(printer->dc(), L"");        // StartDoc
//   while (more) { job.BeginPage(); ...draw...; job.EndPage(); }
//   job.Finish();                                 // EndDoc (the destructor aborts an unfinished job)
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace qlm::win {

// At least one printer is installed (local or connected).
bool PrinterInstalled();

// A printer DC with the dialog's device mode and names; all freed together.
class PrinterDc {
public:
    PrinterDc(HDC dc, HGLOBAL devMode, HGLOBAL devNames) : dc_(dc), devMode_(devMode), devNames_(devNames) {}
    PrinterDc(PrinterDc&& o) noexcept;
    PrinterDc& operator=(PrinterDc&&) = delete;
    PrinterDc(const PrinterDc&) = delete;
    ~PrinterDc();
    HDC dc() const { return dc_; }
    int Copies() const { return copies_; }
    void SetCopies(int n) { copies_ = n; }

private:
    HDC dc_ = nullptr;
    HGLOBAL devMode_ = nullptr;
    HGLOBAL devNames_ = nullptr;
    int copies_ = 1;
};

// The platform's print dialog (no page range, no selection); nothing when the
// user cancelled or the dialog failed.
std::optional<PrinterDc> ChoosePrinter(HWND owner);
// The default printer's DC without a dialog (for programs that print unasked).
std::optional<PrinterDc> DefaultPrinter();

// The printable area of a printer DC in device pixels and its resolution.
struct PageMetrics {
    int width = 0, height = 0;  // HORZRES, VERTRES
    int dpiX = 0, dpiY = 0;     // LOGPIXELSX, LOGPIXELSY
};
PageMetrics PageMetricsOf(HDC dc);

class PrintJob {
public:
    PrintJob(HDC dc, const std::wstring& title);
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;
    ~PrintJob();
    bool Started() const { return started_; }
    bool BeginPage();
    bool EndPage();
    // Ends the document; false when the job had failed.
    bool Finish();

private:
    HDC dc_;
    bool started_ = false;
    bool inPage_ = false;
    bool failed_ = false;
};

}  // namespace qlm::win
