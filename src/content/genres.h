// ID3v1 genre numbers and their names; TCON values that refer to them.
#pragma once

#include <string>
#include <string_view>

namespace qlm {

constexpr int kGenreCount = 148;

// The name of ID3v1 genre `number`, empty outside the table.
std::string_view GenreName(int number);

// A TCON value as a genre name: "(13)" or "(13)Pop" gives the table's name 13;
// "(200)Own" gives "Own"; any value not starting with a bracketed number is
// returned as it is (trimmed of bytes 0, tab and space at both ends).
std::string GenreText(std::string_view text);

}  // namespace qlm
