#include "win/printer.h"

#include <commdlg.h>
#include <winspool.h>

#include <utility>

namespace qlm::win {

bool PrinterInstalled() {
    DWORD needed = 0, count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed == 0) return false;
    std::string buffer(needed, '\0');
    if (!EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4,
                       reinterpret_cast<BYTE*>(buffer.data()), needed, &needed, &count))
        return false;
    return count > 0;
}

PrinterDc::PrinterDc(PrinterDc&& o) noexcept
    : dc_(std::exchange(o.dc_, nullptr)),
      devMode_(std::exchange(o.devMode_, nullptr)),
      devNames_(std::exchange(o.devNames_, nullptr)),
      copies_(o.copies_) {}

PrinterDc::~PrinterDc() {
    if (dc_) DeleteDC(dc_);
    if (devMode_) GlobalFree(devMode_);
    if (devNames_) GlobalFree(devNames_);
}

std::optional<PrinterDc> ChoosePrinter(HWND owner) {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    pd.nCopies = 1;
    if (!PrintDlgW(&pd)) {
        if (pd.hDC) DeleteDC(pd.hDC);
        if (pd.hDevMode) GlobalFree(pd.hDevMode);
        if (pd.hDevNames) GlobalFree(pd.hDevNames);
        return std::nullopt;
    }
    PrinterDc printer(pd.hDC, pd.hDevMode, pd.hDevNames);
    if (!printer.dc()) return std::nullopt;
    return printer;
}

std::optional<PrinterDc> DefaultPrinter() {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDC | PD_RETURNDEFAULT;
    if (!PrintDlgW(&pd) || !pd.hDC) {
        if (pd.hDevMode) GlobalFree(pd.hDevMode);
        if (pd.hDevNames) GlobalFree(pd.hDevNames);
        return std::nullopt;
    }
    return PrinterDc(pd.hDC, pd.hDevMode, pd.hDevNames);
}

PageMetrics PageMetricsOf(HDC dc) {
    return {GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), GetDeviceCaps(dc, LOGPIXELSX),
            GetDeviceCaps(dc, LOGPIXELSY)};
}

PrintJob::PrintJob(HDC dc, const std::wstring& title) : dc_(dc) {
    DOCINFOW di{};
    di.cbSize = sizeof di;
    di.lpszDocName = title.c_str();
    started_ = dc_ && StartDocW(dc_, &di) > 0;
    failed_ = !started_;
}

PrintJob::~PrintJob() {
    if (!started_) return;
    if (inPage_) ::EndPage(dc_);
    AbortDoc(dc_);
}

bool PrintJob::BeginPage() {
    if (!started_ || failed_) return false;
    if (StartPage(dc_) <= 0) {
        failed_ = true;
        return false;
    }
    inPage_ = true;
    return true;
}

bool PrintJob::EndPage() {
    if (!inPage_) return false;
    inPage_ = false;
    if (::EndPage(dc_) <= 0) failed_ = true;
    return !failed_;
}

bool PrintJob::Finish() {
    if (!started_) return false;
    if (inPage_) EndPage();
    started_ = false;
    if (failed_) {
        AbortDoc(dc_);
        return false;
    }
    return EndDoc(dc_) > 0;
}

}  // namespace qlm::win
