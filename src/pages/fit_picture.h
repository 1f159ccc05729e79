// Fitting a picture into a box keeping its proportions (the text window's
// picture, the slides). Window-free.
#pragma once

#include <cstdint>
#include <optional>

namespace qlm {

struct PictureRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PictureRect&) const = default;
};

// numerator / denominator to the nearest integer, halves to the even one
// (denominator > 0).
int64_t RoundDivHalfEven(int64_t numerator, int64_t denominator);

// A picture of w by h in a box of W by H: smaller than the box in both sides
// it keeps its size; otherwise it is scaled to the box's height or width,
// whichever keeps it inside, the other side rounded halves to even. Either way
// it is centred. Nothing (no change) when h is 0.
std::optional<PictureRect> FitPicture(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight);

}  // namespace qlm
