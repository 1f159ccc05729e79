#include "tools/find_engine.h"

#include "content/text_case.h"
#include "tools/find_text.h"

namespace qlm::find {
namespace {

constexpr int kLineBreak = 2;  // CR LF, as the text window counts its selection

int Length(const std::u16string& s) { return static_cast<int>(s.size()); }

struct LineMatch {
    size_t line;
    int position;   // 1-based in the line
    int offset;     // 1-based in the whole text
};

// The first line from `from` on that holds `wanted`; `lineStart` is the
// 1-based offset of line `from` in the whole text.
std::optional<LineMatch> Scan(const std::vector<std::u16string>& folded, const std::u16string& wanted, size_t from,
                              int lineStart) {
    for (size_t i = from; i < folded.size(); ++i) {
        const size_t p = FindFolded(folded[i], wanted);
        if (p != std::u16string::npos) return LineMatch{i, static_cast<int>(p) + 1, lineStart + static_cast<int>(p)};
        lineStart += Length(folded[i]) + kLineBreak;
    }
    return std::nullopt;
}

// What a tree caption is made of besides the node's own names and tags.
uint64_t CaptionKey(const Catalogue& c) {
    const DiskSettings& s = c.settings;
    return (static_cast<uint64_t>(c.NodeCount()) << 24) | (static_cast<uint64_t>(s.TagFieldsShown) << 4) |
           (c.secondLanguageActive ? 1u : 0u) | (s.DualLanguageNames ? 2u : 0u) | (s.DualLanguageVideos ? 4u : 0u) |
           (s.NumberSongs ? 8u : 0u);
}

}  // namespace

Engine::Engine(const Catalogue& catalogue, Ports ports, Messages messages)
    : catalogue_(catalogue), ports_(std::move(ports)), messages_(std::move(messages)) {}

void Engine::Reset() {
    origin_ = -1;
    lastSelection_ = -1;
    file_.clear();
    foldedLines_.clear();
    line_ = 0;
    position_ = 0;
    offset_ = 0;
    matchLength_ = 0;
}

void Engine::Cancel() {
    origin_ = -1;
    lastSelection_ = 0;
}

void Engine::CatalogueChanged() {
    Reset();
    cursor_ = -1;
    captions_.clear();
}

const std::u16string& Engine::FoldedCaption(const TRDataNode& node) {
    const uint64_t key = CaptionKey(catalogue_);
    if (key != captionKey_ || captions_.size() != catalogue_.NodeCount()) {
        captions_.assign(catalogue_.NodeCount(), std::nullopt);
        captionKey_ = key;
    }
    auto& caption = captions_[static_cast<size_t>(node.ListIndex)];
    if (!caption) {
        caption = catalogue_.NodeDisplayText(node, true, false);
        for (auto& c : *caption) c = FoldChar(c);
    }
    return *caption;
}

void Engine::PrepareCaptions() {
    catalogue_.ForEachNode([this](const TRDataNode& n) { FoldedCaption(n); });
}

void Engine::SetCursor(const TRDataNode* node) {
    if (!node) node = catalogue_.FirstInTreeOrder();
    cursor_ = node ? node->ListIndex : -1;
}

std::vector<std::u16string> Engine::TextCandidates(const Catalogue& catalogue, const TRDataNode& song) {
    const std::u16string path = catalogue.DiskText(song.Path);
    const size_t cut = path.find_last_of(u"\\/");
    const std::u16string dir = cut == std::u16string::npos ? std::u16string() : path.substr(0, cut);
    std::u16string name = cut == std::u16string::npos ? path : path.substr(cut + 1);
    const size_t dot = name.find_last_of(u'.');
    if (dot != std::u16string::npos) name.resize(dot);
    const std::u16string base = catalogue.root + u"Text\\" + (dir.empty() ? u"" : dir + u"\\") + name;
    return {base + u".rtf", base + u".txt"};
}

Outcome Engine::FindNext(const Options& options, const TRDataNode* origin) {
    origin_ = origin ? origin->ListIndex : -1;
    if (options.text.empty()) return Outcome::NothingToDo;
    options_ = options;
    wanted_ = FoldText(options.text);
    saidNoMore_ = false;

    if (!catalogue_.Node(cursor_)) SetCursor(origin);
    const TRDataNode* cursor = catalogue_.Node(cursor_);
    if (!cursor) {
        if (ports_.message) ports_.message(messages_.noMatch);
        return Outcome::NoMatch;
    }
    if (options_.inTexts && cursor->IsSong() && ContinueInText(*cursor))
        return saidNoMore_ ? Outcome::NoMore : Outcome::Found;
    return StepTree();
}

Outcome Engine::StepTree() {
    const TRDataNode* node = catalogue_.Node(cursor_);
    int endsPassed = 0;
    for (;;) {
        const TRDataNode* next = catalogue_.NextInTreeOrder(node);
        if (!next) {
            if (++endsPassed == 2) {
                if (ports_.message) ports_.message(messages_.noMatch);
                return Outcome::NoMatch;
            }
            next = catalogue_.FirstInTreeOrder();
        }
        node = next;
        cursor_ = node->ListIndex;
        if (TestNode(*node)) return Select(*node);
    }
}

bool Engine::TestNode(const TRDataNode& node) {
    if (options_.inTexts) return node.IsSong() && SearchFromStart(node);
    const bool folder = node.Kind == kKindFolder || node.Kind == kKindVideoFolder;
    if (folder && !options_.folders) return false;
    const std::u16string& caption = FoldedCaption(node);
    return options_.whole ? caption == wanted_ : FindFolded(caption, wanted_) != std::u16string::npos;
}

Outcome Engine::Select(const TRDataNode& node) {
    if (options_.inTexts) {
        // The text match already selected its song and highlighted the text.
        return saidNoMore_ ? Outcome::NoMore : Outcome::Found;
    }
    if (node.ListIndex == origin_) {
        if (ports_.message) ports_.message(messages_.noMore);
        return Outcome::NoMore;
    }
    if (ports_.selectNode) ports_.selectNode(node);
    return Outcome::Found;
}

bool Engine::SearchFromStart(const TRDataNode& song) {
    if (!ports_.fileExists || !ports_.loadLines) return false;
    std::u16string file;
    for (const std::u16string& candidate : TextCandidates(catalogue_, song))
        if (ports_.fileExists(candidate)) {
            file = candidate;
            break;
        }
    if (file.empty()) return false;
    auto lines = ports_.loadLines(file);
    if (!lines) return false;
    for (auto& l : *lines) l = FoldText(l);
    auto match = Scan(*lines, wanted_, 0, 1);
    if (!match) return false;
    file_ = std::move(file);
    foldedLines_ = std::move(*lines);
    line_ = match->line;
    position_ = match->position;
    offset_ = match->offset;
    matchLength_ = Length(wanted_);
    ShowMatch(song, false);
    return true;
}

bool Engine::ContinueInText(const TRDataNode& song) {
    bool same = false;
    if (!file_.empty())
        for (const std::u16string& candidate : TextCandidates(catalogue_, song))
            if (EqualsIgnoringCase(candidate, file_)) same = true;
    if (!same || line_ >= foldedLines_.size()) return SearchFromStart(song);

    // The rest of the line after the last match first.
    const std::u16string& line = foldedLines_[line_];
    const size_t skip = static_cast<size_t>(matchLength_ + position_ - 1);
    if (skip <= line.size()) {
        const size_t q = FindFolded(std::u16string_view(line).substr(skip), wanted_);
        if (q != std::u16string::npos) {
            position_ += matchLength_ + static_cast<int>(q);
            offset_ += matchLength_ + static_cast<int>(q);
            matchLength_ = Length(wanted_);
            ShowMatch(song, true);
            return true;
        }
    }
    const int nextLineStart = offset_ - position_ + 1 + Length(line) + kLineBreak;
    auto match = Scan(foldedLines_, wanted_, line_ + 1, nextLineStart);
    if (!match) return false;
    line_ = match->line;
    position_ = match->position;
    offset_ = match->offset;
    matchLength_ = Length(wanted_);
    ShowMatch(song, false);
    return true;
}

void Engine::ShowMatch(const TRDataNode& song, bool sameLine) {
    if (!sameLine && ports_.selectNode) ports_.selectNode(song);
    if (offset_ == lastSelection_ + 1 && song.ListIndex == origin_) {
        saidNoMore_ = true;
        if (ports_.message) ports_.message(messages_.noMore);
    }
    if (ports_.showTextMatch) ports_.showTextMatch(song, offset_ - 1, Length(wanted_));
    lastSelection_ = offset_ - 1;
}

}  // namespace qlm::find
