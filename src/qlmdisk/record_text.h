// The record form at record level, as text: one record per line,
// "S text" (short), "L text" (long) or "W text" (wide). S and L texts are
// written as Windows-1251, W as UTF-16. Escapes: \0 .. \3, \xNN (a byte; a
// unit in W), \uNNNN (W only), \\ for a backslash. '#' starts a comment line.
#pragma once

#include <string>
#include <string_view>

namespace qlm::disk {

// Text -> qlm.cfg bytes. False with "line N: ..." in error.
bool EncodeRecordText(std::string_view text, std::string& bytes, std::string& error);

// qlm.cfg bytes -> text. Record kinds follow the record form's own rules
// (short header records, long records for videos, pictures and, with ELS=1,
// folders). Bytes that do not make a whole record end in a comment line.
std::string DecodeRecordText(std::string_view bytes);

}  // namespace qlm::disk
