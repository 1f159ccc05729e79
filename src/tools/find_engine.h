// "Find next" of the find dialog without its window: the walk over the master
// tree from a cursor, testing captions or song texts, and the state that lets
// the next press continue where the last match was.
//
// The engine touches nothing on screen; it reports through Ports, which the
// dialog connects to the tree, the song list and the text window.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "content/catalogue.h"

namespace qlm::find {

struct Options {
    std::u16string text;      // Edit1
    bool inTexts = false;     // TextBtn, else TreeBtn
    bool folders = false;     // FolderCB
    bool whole = false;       // FindCelCheckBox, else FindFragCheckBox
};

struct Ports {
    std::function<bool(const std::u16string& path)> fileExists;
    // The text of a song file as lines, as the rich-text view shows it; nothing when it cannot be loaded.
    std::function<std::optional<std::vector<std::u16string>>(const std::u16string& path)> loadLines;
    // Selects a match in the main window (tree node, or the song list item in book mode).
    std::function<void(const TRDataNode& node)> selectNode;
    // Shows the song's text with [start, start + length) highlighted (0-based,
    // two characters per line break).
    std::function<void(const TRDataNode& node, int start, int length)> showTextMatch;
    // A message to the user (no-match, no-more).
    std::function<void(const std::u16string& text)> message;
};

struct Messages {
    std::u16string noMatch = u"Не найдено ни одного совпадения";
    std::u16string noMore = u"Больше совпадений не найдено";
};

// What a press of "Найти далее" ended with, for tests and the dialog.
enum class Outcome { Found, NoMore, NoMatch, NothingToDo };

class Engine {
public:
    Engine(const Catalogue& catalogue, Ports ports, Messages messages = {});

    // Showing the dialog: origin forgotten, last selection -1, text state cleared.
    void Reset();
    // Activating the dialog: the cursor stands on this node (the selected one),
    // or on the first node of the tree when there is none.
    void SetCursor(const TRDataNode* node);
    // CancelBtnClick: origin forgotten, last selection 0.
    void Cancel();
    // The texts of the two messages, in the interface language.
    void SetMessages(Messages messages) { messages_ = std::move(messages); }
    // Builds every caption now (the dialog does it when it is shown), so that
    // no press pays for it.
    void PrepareCaptions();
    // The catalogue was reloaded (disk change): captions and the cursor are stale.
    void CatalogueChanged();

    // One press. `origin` is the node selected when it was pressed (null when none).
    Outcome FindNext(const Options& options, const TRDataNode* origin);

    // The song text files tried for a song, ".rtf" before ".txt".
    static std::vector<std::u16string> TextCandidates(const Catalogue& catalogue, const TRDataNode& song);

    const TRDataNode* Cursor() const { return catalogue_.Node(cursor_); }
    int LastSelection() const { return lastSelection_; }
    // 1-based offset of the last text match in its file, two characters per line break.
    int TextOffset() const { return offset_; }

private:
    bool TestNode(const TRDataNode& node);
    bool SearchFromStart(const TRDataNode& song);
    bool ContinueInText(const TRDataNode& song);
    bool ScanLines(const TRDataNode& song, size_t fromLine, int lineStart);
    void ShowMatch(const TRDataNode& song, bool sameLine);
    Outcome StepTree();
    Outcome Select(const TRDataNode& node);
    const std::u16string& FoldedCaption(const TRDataNode& node);

    const Catalogue& catalogue_;
    Ports ports_;
    Messages messages_;

    int32_t cursor_ = -1;
    int32_t origin_ = -1;
    int lastSelection_ = -1;
    // Text state: the file last matched, its lines, the line and 1-based
    // position of the match in it, and its 1-based offset in the whole text.
    std::u16string file_;
    std::vector<std::u16string> foldedLines_;
    size_t line_ = 0;
    int position_ = 0;
    int offset_ = 0;
    int matchLength_ = 0;

    Options options_;
    std::u16string wanted_;  // folded options_.text
    bool saidNoMore_ = false;

    // Folded tree captions by ListIndex, computed on first use: a walk over a
    // large disk then costs comparisons, not text building. Valid while what
    // the captions show stays the same (see CaptionKey in the source).
    std::vector<std::optional<std::u16string>> captions_;
    uint64_t captionKey_ = 0;
};

}  // namespace qlm::find
