// The update dialog's decisions and figures, free of windows so they build
// and run natively too: the server's addresses, the version check's outcome,
// the transfer's completeness and the progress display's texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qlm::update {

// Where the publisher's files are, relative to the server address.
inline constexpr std::u16string_view kVersionPath = u"/mp3player/version.dat";
inline constexpr std::u16string_view kInstallerPath = u"/mp3player/QLMsetup.exe";
// A publisher points the shell at its own server in qlm.ini, section
// [Update]: Server (http:// or https://, host and optional port) and
// HomePage (the address the "visit our site" questions open).
inline constexpr std::u16string_view kUpdateSection = u"Update";
inline constexpr std::u16string_view kServerKey = u"Server";
inline constexpr std::u16string_view kHomePageKey = u"HomePage";
inline constexpr std::u16string_view kDefaultServer = u"http://www.vnt-company.example";
inline constexpr std::u16string_view kDefaultHomePage = u"http://www.vnt-company.example/";

// server + path with exactly one slash between them.
std::u16string JoinUrl(std::u16string_view server, std::u16string_view path);
// Only http and https addresses are fetched (letter case does not matter).
bool IsHttpUrl(std::u16string_view url);

// Transfer states the client's events put the dialog in.
enum TransferState : int {
    kIdle = 0,
    kHostResolved = 2,
    kReceiving = 3,
    kConnected = 4,
    kSucceeded = 5,
    kFailed = 251,
    kInvalidHost = 254,
    kConnectionFailed = 255,
};

// The check's result code: -2 when the request raised (no connection),
// 0 on success, otherwise the state the transfer ended in.
int CheckResultCode(bool raised, int state);

enum class CheckOutcome {
    NoServerVersion,   // an error was shown or the check was cancelled: stop
    InstalledIsNewest, // the installed copy is already as new as the server's
    UpdateFound,
    UpToDate,          // the running program is as new as the server's
};
// server: the body of version.dat, absent when the check gave none.
CheckOutcome DecideUpdate(const std::optional<std::string>& server, std::string_view own,
                          std::string_view installed);

// A download may be run only when it ended in success and nothing announced
// is missing.
bool DownloadComplete(int state, int64_t received, int64_t total);


// ---- Progress display ----

// "N,D KB": whole kilobytes, a comma and the tenth of a kilobyte (the first
// digit of the remainder in thousandths, so 100 bytes read "0,0 KB").
std::u16string KilobyteText(int64_t bytes);
// Seconds as "m:ss", or "h:mm:ss" from the first hour on.
std::u16string TimeText(int64_t seconds);

struct ProgressTexts {
    std::u16string received;    // CurDownloadLabel
    std::u16string remaining;   // TotalBytesLabel
    int percent = 0;            // Gauge1's whole percent
    std::u16string percentText; // ProgressLabel
    int64_t speed = 0;          // bytes per second, nearest whole number
    std::u16string speedText;   // SpeedLabel
    std::u16string elapsed;     // TimeLeftLabel
    std::optional<std::u16string> wait;  // TimeWaitLabel, only while the speed is known
};
// What the progress display shows with `received` of `total` bytes after
// `elapsedMs`; nothing before the first byte and once all bytes are in.
std::optional<ProgressTexts> Progress(int64_t received, int64_t total, int64_t elapsedMs);

}  // namespace qlm::update
