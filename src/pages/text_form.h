// The text window. Its creation loads the disk description and builds the
// catalogue, so that every later step of the start-up sees the disk's settings.
// The window's own content (texts, pictures, the browser) comes later.
#pragma once

#include <string>

#include "win/window.h"

namespace qlm {

class Catalogue;

// What the description load left for the start-up to act on.
enum class DescriptionLoadResult {
    Loaded,
    Damaged,       // the record form did not begin with CDQLM=
    NeedsNewerProgram,  // a packed description of a newer format version
};

class TForm4 : public win::Window {
public:
    // Creates the (hidden) window owned by `owner`; its creation loads the
    // description of the disk at `root` into `catalogue`.
    bool Create(HWND owner, Catalogue& catalogue, const std::u16string& root, bool secondLanguageActive);
    DescriptionLoadResult DescriptionResult() const { return loadResult_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    Catalogue* catalogue_ = nullptr;
    std::u16string root_;
    bool secondLanguageActive_ = false;
    DescriptionLoadResult loadResult_ = DescriptionLoadResult::Loaded;
};

}  // namespace qlm
