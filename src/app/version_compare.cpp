#include "app/version_compare.h"

#include <array>
#include <cstdint>

namespace qlm {
namespace {

// Integer conversion of one part: an optional sign and digits only, else 0.
int64_t PartValue(std::string_view part) {
    size_t i = 0;
    while (i < part.size() && part[i] == ' ') ++i;
    bool negative = false;
    if (i < part.size() && (part[i] == '-' || part[i] == '+')) negative = part[i++] == '-';
    if (i >= part.size()) return 0;
    int64_t v = 0;
    for (; i < part.size(); ++i) {
        if (part[i] < '0' || part[i] > '9') return 0;
        v = v * 10 + (part[i] - '0');
        if (v > 0x7fffffff) return 0;  // out of range: not a number
    }
    return negative ? -v : v;
}

std::array<int64_t, 4> Parts(std::string_view s) {
    std::array<int64_t, 4> parts{};
    for (auto& p : parts) {
        auto dot = s.find('.');
        p = PartValue(s.substr(0, dot));
        s = dot == std::string_view::npos ? std::string_view{} : s.substr(dot + 1);
    }
    return parts;
}

}  // namespace

bool IsVersionHigher(std::string_view a, std::string_view b, bool orEqual) {
    auto pa = Parts(a), pb = Parts(b);
    for (size_t i = 0; i < pa.size(); ++i)
        if (pa[i] != pb[i]) return pa[i] > pb[i];
    return orEqual;
}

}  // namespace qlm
