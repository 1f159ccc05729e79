// The print dialog's settings in qlm.ini: section "Printer settings" and one
// section per font ("Fast" for the automatic font, "Header1", "Header2", "Song").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/settings_profile.h"

namespace qlm::print {

inline constexpr std::u16string_view kPrinterSection = u"Printer settings";
inline constexpr std::u16string_view kFastFontSection = u"Fast";
inline constexpr std::u16string_view kHeader1FontSection = u"Header1";
inline constexpr std::u16string_view kHeader2FontSection = u"Header2";
inline constexpr std::u16string_view kSongFontSection = u"Song";

struct PrinterSettings {
    int left = 50, top = 50, right = 50, bottom = 50;  // 1..999 device pixels
    int cols = 0;        // column mode: 0 one column, 1 "Точно", 2 "Максимум"
    int colsCount = 2;   // 2..9, for "Точно"
    int spaceCols = 80;  // 0..999
    int selFont = 0;     // 0 automatic, 1 extended
    bool operator==(const PrinterSettings&) const = default;
};

// Font style bits as stored.
enum FontStyleBit : int { kStyleBold = 1, kStyleItalic = 2, kStyleUnderline = 4, kStyleStrikeOut = 8 };

struct FontSpec {
    std::u16string name;
    int size = 8;         // points
    uint32_t color = 0;   // COLORREF
    int charset = 204;
    int style = 0;        // FontStyleBit
    bool operator==(const FontSpec&) const = default;
};

// Values out of their ranges come back clamped; a column mode above 2 becomes 0.
PrinterSettings ReadPrinterSettings(app::ProfileStore& ini);
void WritePrinterSettings(app::ProfileStore& ini, const PrinterSettings& s);

// `defaultName` is the catalogue tree's font name.
FontSpec ReadFont(app::ProfileStore& ini, std::u16string_view section, std::u16string_view defaultName);
void WriteFont(app::ProfileStore& ini, std::u16string_view section, const FontSpec& f);

// The header fonts of the automatic mode: the song font bold and underlined.
FontSpec HeaderFontOf(const FontSpec& song);

}  // namespace qlm::print
