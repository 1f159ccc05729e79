#include "pages/music_link.h"

#include "content/catalogue.h"
#include "content/text_case.h"

namespace qlm {
namespace {

constexpr std::u16string_view kMarker = u"*MUSIC";

size_t MarkerEnd(std::u16string_view address) {
    std::u16string upper = UpperCase(address);
    size_t at = upper.find(kMarker);
    return at == std::u16string::npos ? std::u16string::npos : at + kMarker.size();
}

// Length of a blank at `i` (a space, a tab or "%20"), 0 when there is none.
size_t BlankAt(std::u16string_view s, size_t i) {
    if (s[i] == u' ' || s[i] == u'\t') return 1;
    if (s.substr(i, 3) == u"%20") return 3;
    return 0;
}

}  // namespace

bool IsMusicLink(std::u16string_view address) { return MarkerEnd(address) != std::u16string::npos; }

std::vector<int> MusicLinkPositions(std::u16string_view address) {
    std::vector<int> positions;
    size_t i = MarkerEnd(address);
    if (i == std::u16string::npos) return positions;
    const size_t n = address.size();
    while (i < n && positions.size() < kMaxMusicLinkPositions) {
        if (size_t blank = BlankAt(address, i)) {
            i += blank;
            continue;
        }
        if (address[i] < u'0' || address[i] > u'9') break;  // anything else ends the list
        long value = 0;
        while (i < n && address[i] >= u'0' && address[i] <= u'9') {
            // A run of digits too long for a position cannot name a sibling.
            if (value < 1000000) value = value * 10 + (address[i] - u'0');
            ++i;
        }
        positions.push_back(static_cast<int>(value));
    }
    return positions;
}

const TRDataNode* MusicLinkNode(const Catalogue& catalogue, const std::vector<int>& positions) {
    const std::vector<TRDataNode*>* siblings = &catalogue.Roots();
    const TRDataNode* node = nullptr;
    for (size_t k = 0; k < positions.size(); ++k) {
        if (k > 0) {
            if (node->Children.empty()) return nullptr;
            siblings = &node->Children;
        }
        int pos = positions[k];
        if (pos < 1 || static_cast<size_t>(pos) > siblings->size()) return nullptr;
        node = (*siblings)[static_cast<size_t>(pos - 1)];
    }
    // Only a song has a file to play.
    return node && node->IsSong() ? node : nullptr;
}

}  // namespace qlm
