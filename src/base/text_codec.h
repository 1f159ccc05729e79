// The one text converter of the program: 8-bit disk texts carry a Windows
// character-set number and are turned into UTF-16 (or UTF-8) only at the edge.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qlm {

// Windows character-set numbers the disks use.
constexpr uint8_t kAnsiCharset = 0;          // Windows-1252
constexpr uint8_t kCyrillicCharset = 204;    // Windows-1251, the default
constexpr uint8_t kEastEuropeCharset = 238;  // Windows-1250

// 1251 for 204, 1250 for 238, 1252 for anything else.
int CodePageOf(uint8_t charset);

std::u16string DecodeText(std::string_view bytes, uint8_t charset);
// Characters the code page cannot hold become '?' and set *lossy.
std::string EncodeText(std::u16string_view text, uint8_t charset, bool* lossy = nullptr);

std::string Utf16ToUtf8(std::u16string_view text);
// Malformed sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

std::string DecodeToUtf8(std::string_view bytes, uint8_t charset);
std::string EncodeFromUtf8(std::string_view utf8, uint8_t charset, bool* lossy = nullptr);

}  // namespace qlm
