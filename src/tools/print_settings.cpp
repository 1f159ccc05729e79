#include "tools/print_settings.h"

#include <algorithm>

namespace qlm::print {

using app::ReadInt;
using app::WriteInt;

PrinterSettings ReadPrinterSettings(app::ProfileStore& ini) {
    PrinterSettings s;
    const auto margin = [&](std::u16string_view key, int def) { return std::clamp(ReadInt(ini, kPrinterSection, key, def), 1, 999); };
    s.left = margin(u"Left", s.left);
    s.top = margin(u"Top", s.top);
    s.right = margin(u"Right", s.right);
    s.bottom = margin(u"Bottom", s.bottom);
    s.cols = ReadInt(ini, kPrinterSection, u"Cols", s.cols);
    if (s.cols > 2 || s.cols < 0) s.cols = 0;
    s.colsCount = std::clamp(ReadInt(ini, kPrinterSection, u"ColsCount", s.colsCount), 2, 9);
    s.spaceCols = std::clamp(ReadInt(ini, kPrinterSection, u"SpaceCols", s.spaceCols), 0, 999);
    s.selFont = ReadInt(ini, kPrinterSection, u"SelFont", s.selFont) == 1 ? 1 : 0;
    return s;
}

void WritePrinterSettings(app::ProfileStore& ini, const PrinterSettings& s) {
    WriteInt(ini, kPrinterSection, u"Left", s.left);
    WriteInt(ini, kPrinterSection, u"Top", s.top);
    WriteInt(ini, kPrinterSection, u"Right", s.right);
    WriteInt(ini, kPrinterSection, u"Bottom", s.bottom);
    WriteInt(ini, kPrinterSection, u"Cols", s.cols);
    WriteInt(ini, kPrinterSection, u"ColsCount", s.colsCount);
    WriteInt(ini, kPrinterSection, u"SpaceCols", s.spaceCols);
    WriteInt(ini, kPrinterSection, u"SelFont", s.selFont);
}

FontSpec ReadFont(app::ProfileStore& ini, std::u16string_view section, std::u16string_view defaultName) {
    FontSpec f;
    f.name = app::ReadString(ini, section, u"Name", defaultName);
    if (f.name.empty()) f.name = defaultName;
    f.size = std::clamp(ReadInt(ini, section, u"Size", f.size), 1, 200);
    f.color = static_cast<uint32_t>(ReadInt(ini, section, u"Color", 0)) & 0xFFFFFFu;
    f.charset = std::clamp(ReadInt(ini, section, u"Charset", f.charset), 0, 255);
    f.style = ReadInt(ini, section, u"Style", 0) & 0xF;
    return f;
}

void WriteFont(app::ProfileStore& ini, std::u16string_view section, const FontSpec& f) {
    ini.Write(section, u"Name", f.name);
    WriteInt(ini, section, u"Size", f.size);
    WriteInt(ini, section, u"Color", static_cast<int>(f.color));
    WriteInt(ini, section, u"Charset", f.charset);
    WriteInt(ini, section, u"Style", f.style);
}

FontSpec HeaderFontOf(const FontSpec& song) {
    FontSpec h = song;
    h.style |= kStyleBold | kStyleUnderline;
    return h;
}

}  // namespace qlm::print
