// Apply colour scheme: swaps the scheme colour of the player panel's
// backgrounds and reloads the images that come in one picture per scheme.
#pragma once

#include <functional>

#include "app/image_button.h"

namespace qlm {

struct ColourSchemeTargets {
    TImageButton* playerLeft = nullptr;    // PlayerLeftImage
    TImageButton* playerCenter = nullptr;  // PlayerCenterImage
    TImageButton* playerRight = nullptr;   // PlayerRightImage
    // Reloaded as component name + scheme digit.
    TImageButton* ldLogo = nullptr;
    TImageButton* tlElt = nullptr;
    TImageButton* lWall = nullptr;
    TImageButton* plIconStr = nullptr;
    // Redraws the title and comment lines on the new background.
    std::function<void()> redrawLines;
};

// The scheme in force (0 at start).
int CurrentColourScheme();
// Index above 2 counts as 0.
void ApplyColourScheme(int index, const ColourSchemeTargets& targets);

}  // namespace qlm

namespace qlm {
// The panel backgrounds were loaded afresh (in scheme 0): the next apply swaps from there.
void ResetColourScheme();
}  // namespace qlm
