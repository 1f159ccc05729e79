#include "pages/fit_picture.h"

namespace qlm {

int64_t RoundDivHalfEven(int64_t numerator, int64_t denominator) {
    bool negative = numerator < 0;
    if (negative) numerator = -numerator;
    int64_t q = numerator / denominator;
    int64_t twice = 2 * (numerator % denominator);
    if (twice > denominator || (twice == denominator && (q % 2) == 1)) ++q;
    return negative ? -q : q;
}

std::optional<PictureRect> FitPicture(int W, int H, int w, int h) {
    if (h == 0) return std::nullopt;
    PictureRect r;
    if (w < W && h < H) {
        r.width = w;
        r.height = h;
    } else if (int64_t{W} * h >= int64_t{w} * H) {
        // The box is at least as wide as the picture's shape: full height.
        r.height = H;
        r.width = static_cast<int>(RoundDivHalfEven(int64_t{H} * w, h));
    } else {
        r.width = W;
        r.height = static_cast<int>(RoundDivHalfEven(int64_t{W} * h, w));
    }
    r.left = (W - r.width) / 2;
    r.top = (H - r.height) / 2;
    return r;
}

}  // namespace qlm
