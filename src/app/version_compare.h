// Dotted program versions ("1.2.10.0") compared part by part as numbers.
#pragma once

#include <string_view>

namespace qlm {

// Is `a` higher than `b`? At most four parts count; a part that is not a
// number, or is missing, counts as 0. Equal versions answer `orEqual`.
bool IsVersionHigher(std::string_view a, std::string_view b, bool orEqual = false);

}  // namespace qlm
