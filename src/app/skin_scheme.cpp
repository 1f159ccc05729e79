#include "app/skin_scheme.h"

#include "app/colour_scheme.h"
#include "app/picture_names.h"

namespace qlm {

// The scheme the panel backgrounds show now.
static int g_scheme = 0;

namespace {

void Swap(TImageButton* image, PanelPart part, SchemeColour from, SchemeColour to) {
    if (!image || image->Picture().Empty()) return;
    if (SwapSchemeColour(image->Picture().Block(), part, from, to) > 0) image->Invalidate();
}

void Reload(TImageButton* image, int scheme) {
    if (image) image->LoadPicture(SchemePictureName(image->Name(), scheme));
}
}  // namespace

int CurrentColourScheme() { return g_scheme; }

void ApplyColourScheme(int index, const ColourSchemeTargets& t) {
    index = NormalSchemeIndex(index);
    const SchemeColour from = kColourSchemes[static_cast<size_t>(g_scheme)];
    const SchemeColour to = kColourSchemes[static_cast<size_t>(index)];
    GdiFlush();  // the pixels are changed behind GDI's back
    Swap(t.playerLeft, PanelPart::Left, from, to);
    Swap(t.playerRight, PanelPart::Right, from, to);
    Swap(t.playerCenter, PanelPart::Center, from, to);
    g_scheme = index;
    if (t.redrawLines) t.redrawLines();
    Reload(t.ldLogo, index);
    Reload(t.tlElt, index);
    Reload(t.lWall, index);
    Reload(t.plIconStr, index);
}

}  // namespace qlm

namespace qlm {
void ResetColourScheme() { g_scheme = 0; }
}  // namespace qlm
