#include "pages/slide_order.h"

namespace qlm {

SlideOrder::SlideOrder(int count) { Reset(count); }

void SlideOrder::Reset(int count) {
    unshown_.assign(static_cast<size_t>(count > 0 ? count : 0), true);
    remaining_ = Count();
    current_ = 0;
}

int SlideOrder::Step(bool forward, const Show& show, const Draw& draw) {
    if (Count() == 0) return 0;
    return mode_ == kRandom ? StepRandom(show, draw) : StepSequential(forward, show);
}

int SlideOrder::StepSequential(bool forward, const Show& show) {
    const int last = Count();
    // A slide left in the middle of the list counts as unshown again for a
    // later random cycle.
    if (current_ != 0 && current_ != last) unshown_[static_cast<size_t>(current_ - 1)] = true;
    if (forward)
        current_ = current_ >= last ? 1 : current_ + 1;
    else
        current_ = current_ <= 1 ? last : current_ - 1;
    return show(current_) ? current_ : 0;
}

int SlideOrder::StepRandom(const Show& show, const Draw& draw) {
    if (remaining_ <= 0) remaining_ = Count();
    if (remaining_ == Count()) unshown_.assign(unshown_.size(), true);
    int k = draw ? draw(remaining_) : 0;
    if (k < 0 || k >= remaining_) k = 0;
    int chosen = 0;
    for (size_t i = 0; i < unshown_.size(); ++i) {
        if (!unshown_[i]) continue;
        if (k-- == 0) {
            chosen = static_cast<int>(i) + 1;
            break;
        }
    }
    if (chosen == 0) {
        // The flags and the count disagree (a slide was marked shown outside
        // this cycle): start a new cycle rather than find nothing.
        remaining_ = Count();
        unshown_.assign(unshown_.size(), true);
        chosen = 1 + (draw ? draw(remaining_) % remaining_ : 0);
    }
    unshown_[static_cast<size_t>(chosen - 1)] = false;
    // A slide that fails to load still uses up its turn in this cycle, so the
    // flags and the remaining count stay in step and the next draw finds one.
    --remaining_;
    if (!show(chosen)) return 0;
    current_ = chosen;
    return chosen;
}

std::optional<int> DelayFieldValue(std::u16string_view text) {
    size_t a = 0, b = text.size();
    while (a < b && text[a] == u' ') ++a;
    while (b > a && text[b - 1] == u' ') --b;
    if (a == b || b - a > 3) return std::nullopt;
    int value = 0;
    for (size_t i = a; i < b; ++i) {
        if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
        value = value * 10 + (text[i] - u'0');
    }
    return value;
}

std::optional<std::u16string> StepDelayField(std::u16string_view text, int delta) {
    const std::optional<int> value = DelayFieldValue(text);
    if (!value) return std::nullopt;
    const int next = *value + delta;
    if (next < 1 || next > 99) return std::nullopt;
    const std::string digits = std::to_string(next);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace qlm
