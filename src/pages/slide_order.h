// Which slide the slide show shows next: disk order with wrap-around, or a
// random order that shows every slide once per cycle. Window-free: the caller
// loads the picture and says whether it could.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qlm {

class SlideOrder {
public:
    enum Mode { kSequential = 0, kRandom = 1 };
    // Draws a whole number from 0 to n - 1.
    using Draw = std::function<int(int n)>;
    // Loads slide `number` (1-based) and shows it; false when it could not be loaded.
    using Show = std::function<bool(int number)>;

    explicit SlideOrder(int count = 0);
    void Reset(int count);

    int Count() const { return static_cast<int>(unshown_.size()); }
    int Current() const { return current_; }  // 0 before the first slide
    int Remaining() const { return remaining_; }
    Mode GetMode() const { return mode_; }
    // Switching keeps the current slide: sequential order goes on from the one shown last.
    void SetMode(Mode mode) { mode_ = mode; }

    // The next slide (forward) or the previous one; random mode ignores the
    // direction. Returns the slide shown, 0 when none could be.
    int Step(bool forward, const Show& show, const Draw& draw);

private:
    int StepSequential(bool forward, const Show& show);
    int StepRandom(const Show& show, const Draw& draw);

    Mode mode_ = kSequential;
    int current_ = 0;
    int remaining_ = 0;
    std::vector<bool> unshown_;
};

// The number in the delay field (blanks around allowed); nullopt when it
// holds no number.
std::optional<int> DelayFieldValue(std::u16string_view text);
// The delay field's text after a step of its plus or minus button: one more
// or one less, from 1 to 99 seconds. No step (nullopt) when the field holds
// no number or the step would leave that range.
std::optional<std::u16string> StepDelayField(std::u16string_view text, int delta);

}  // namespace qlm
