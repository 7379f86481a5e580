// Small helpers shared by the looks: state classification, the selected option button's
// complemented state, and colour shifts without the channel text.
#pragma once

#include <cstdint>
#include <string>

#include "button/TarvexButton.hpp"

namespace tarvex::looks {

// A caption pass colour that means "this copy is not drawn".
constexpr OleColor kNoPass = -1;

// Normal, background pass, focused and mouse over share one drawing path in every look.
constexpr bool IsRestingState(std::int32_t state) {
    return state == kStateNormal || state == kStateBackgroundPass || state == kStateFocused ||
           state == kStateHover;
}

// A selected option button paints from the bitwise complement of its state: -1 normal,
// -3 pressed, -5 mouse over.
constexpr std::int32_t kOptionPressed = ~kStatePressed;
constexpr std::int32_t kOptionHover = ~kStateHover;

// While a look paints a selected option button, its state is complemented; the guard puts the
// state back when the look returns, also when a drawing step throws half-way.
class SelectedOptionState {
  public:
    explicit SelectedOptionState(TarvexButton& button)
        : button_(button),
          saved_(button.mButtonState),
          active_(button.mOptionButton != 0 && button.mValue != 0) {
        if (active_) button_.mButtonState = ~saved_;
    }
    ~SelectedOptionState() {
        if (active_) button_.mButtonState = saved_;
    }
    SelectedOptionState(const SelectedOptionState&) = delete;
    SelectedOptionState& operator=(const SelectedOptionState&) = delete;

  private:
    TarvexButton& button_;
    std::int32_t saved_;
    bool active_;
};

// Every look paints one of three pictures: resting (normal, focused, mouse over and the
// background pass), pressed, or a selected option button (complemented state while it paints).
// Any other state paints nothing.
template <class Resting, class Pressed, class SelectedOption>
void PaintByState(TarvexButton& button, Resting resting, Pressed pressed,
                  SelectedOption selectedOption) {
    SelectedOptionState option(button);
    if (IsRestingState(button.mButtonState)) {
        resting();
    } else if (button.mButtonState == kStatePressed) {
        pressed();
    } else if (button.mButtonState < 0) {
        selectedOption();
    }
}

inline OleColor Shift(OleColor colour, std::int32_t amount, bool proportionalBlue = false) {
    return TarvexButton::ShiftColor(colour, amount, proportionalBlue);
}

}  // namespace tarvex::looks
