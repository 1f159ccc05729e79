#include "tools/update_logic.h"

#include <cmath>

#include "app/version_compare.h"

namespace qlm::update {
namespace {

std::u16string Ascii(std::string_view s) { return std::u16string(s.begin(), s.end()); }
std::u16string Number(int64_t n) { return Ascii(std::to_string(n)); }

bool StartsWithNoCase(std::u16string_view s, std::u16string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char16_t c = s[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

// Whole-number rounding of a non-negative quotient.
int64_t RoundedQuotient(int64_t a, int64_t b) { return b == 0 ? 0 : (a * 2 + b) / (b * 2); }

}  // namespace

std::u16string JoinUrl(std::u16string_view server, std::u16string_view path) {
    while (!server.empty() && server.back() == u'/') server.remove_suffix(1);
    while (!path.empty() && path.front() == u'/') path.remove_prefix(1);
    return std::u16string(server) + u"/" + std::u16string(path);
}

bool IsHttpUrl(std::u16string_view url) {
    return (StartsWithNoCase(url, u"http://") && url.size() > 7) ||
           (StartsWithNoCase(url, u"https://") && url.size() > 8);
}

int CheckResultCode(bool raised, int state) {
    if (raised) return -2;
    return state == kSucceeded ? 0 : state;
}

CheckOutcome DecideUpdate(const std::optional<std::string>& server, std::string_view own,
                          std::string_view installed) {
    if (!server) return CheckOutcome::NoServerVersion;
    if (!IsVersionHigher(*server, own)) return CheckOutcome::UpToDate;
    if (IsVersionHigher(installed, *server, true)) return CheckOutcome::InstalledIsNewest;
    return CheckOutcome::UpdateFound;
}

bool DownloadComplete(int state, int64_t received, int64_t total) {
    return state == kSucceeded && received >= total;
}

std::u16string KilobyteText(int64_t bytes) {
    if (bytes < 0) bytes = 0;
    // Thousandths of a kilobyte (at most 999 for a remainder below 1024),
    // read as three digits so that a small remainder shows a tenth of 0.
    int64_t thousandths = static_cast<int64_t>(std::llround(static_cast<double>(bytes % 1024) / 1.024));
    int64_t tenth = thousandths / 100;
    return Number(bytes / 1024) + u"," + Number(tenth) + u" KB";
}

std::u16string TimeText(int64_t seconds) {
    if (seconds < 0) seconds = 0;
    int64_t h = seconds / 3600, m = seconds % 3600 / 60, s = seconds % 60;
    auto two = [](int64_t v) {
        std::u16string digits = Number(v);
        if (digits.size() < 2) digits.insert(digits.begin(), u'0');
        return digits;
    };
    if (h == 0) return Number(m) + u":" + two(s);
    return Number(h) + u":" + two(m) + u":" + two(s);
}

std::optional<ProgressTexts> Progress(int64_t received, int64_t total, int64_t elapsedMs) {
    if (received == 0 || received == total) return std::nullopt;
    ProgressTexts p;
    const int64_t left = total > received ? total - received : 0;
    p.received = KilobyteText(received);
    p.remaining = KilobyteText(left);
    p.percent = total > 0 ? static_cast<int>(std::min<int64_t>(received, total) * 100 / total) : 0;
    p.percentText = Number(p.percent) + u" %";
    const int64_t elapsed = elapsedMs > 0 ? elapsedMs / 1000 : 0;
    p.speed = RoundedQuotient(received, elapsed);
    p.speedText = Number(p.speed) + u" bps";
    p.elapsed = TimeText(elapsed) + u" ";
    if (p.speed != 0) p.wait = TimeText(RoundedQuotient(left, p.speed)) + u" ";
    return p;
}

}  // namespace qlm::update
