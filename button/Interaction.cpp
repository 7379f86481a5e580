// Mouse, keyboard, focus, access-key and hover handling.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::MouseDownHandler(std::int16_t, std::int16_t, float, float) {}
void TarvexButton::MouseMoveHandler(std::int16_t, std::int16_t, float, float) {}
void TarvexButton::MouseUpHandler(std::int16_t, std::int16_t, float, float) {}
void TarvexButton::ClickHandler() {}
void TarvexButton::DblClickHandler() {}
void TarvexButton::KeyDownHandler(std::int16_t, std::int16_t) {}
void TarvexButton::KeyPressHandler(std::int16_t) {}
void TarvexButton::KeyUpHandler(std::int16_t, std::int16_t) {}
void TarvexButton::EnterFocus() {}
void TarvexButton::ExitFocus() {}
void TarvexButton::AccessKeyPress(std::int16_t) {}
void TarvexButton::TimerHover_Timer() {}
void TarvexButton::PauseSeconds(float) {}

}  // namespace tarvex
