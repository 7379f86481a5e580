// Mouse, keyboard, focus, access-key and hover behaviour of one button, as ordered lists of the
// events it raises and the states it shows.
#include <chrono>

#include "InteractionFixture.hpp"

namespace tarvex::testing {
namespace {

using Names = std::vector<std::string>;

class Interaction : public ::testing::Test {
  protected:
    Form form;
    PlacedButton& cmd = form.Place("CmdChange");
};

// ---- Mouse on a command button --------------------------------------------------------------

TEST_F(Interaction, LeftPressReleaseAndClickRaiseDownUpClickInThatOrder) {
    cmd.b().MouseDownHandler(1, 0, 5, 6);
    EXPECT_EQ(cmd.b().mButtonState, kStatePressed);
    cmd.b().MouseUpHandler(1, 0, 5, 6);
    EXPECT_EQ(cmd.b().mButtonState, kStateNormal);
    cmd.b().ClickHandler();
    EXPECT_EQ(cmd.Events(), (Names{"MouseDown", "MouseUp", "Click"}));
    EXPECT_EQ(cmd.h().events.raised[0].args, (std::vector<double>{1, 0, 5, 6}));
    EXPECT_EQ(cmd.b().mButtonState, kStateNormal);
}

TEST_F(Interaction, RightClickNeverClicksNeverChangesTheLookAndLeavesEnabledTrue) {
    cmd.b().EnterFocus();
    cmd.h().ClearRecords();

    cmd.b().MouseDownHandler(2, 0, 3, 3);
    EXPECT_EQ(cmd.b().mButtonState, kStateFocused);
    EXPECT_EQ(cmd.b().Enabled(), kTrue);
    EXPECT_EQ(cmd.h().refreshCount, 0);
    cmd.b().MouseUpHandler(2, 0, 3, 3);
    EXPECT_EQ(cmd.b().mButtonState, kStateFocused);
    EXPECT_EQ(cmd.b().Enabled(), kTrue);
    cmd.b().ClickHandler();  // swallowed
    EXPECT_EQ(cmd.Events(), (Names{"MouseDown", "MouseUp"}));
    EXPECT_EQ(cmd.h().events.raised[0].args[0], 2);
    EXPECT_EQ(cmd.b().Enabled(), kTrue);
    EXPECT_EQ(cmd.h().refreshCount, 0);

    // Only that one click was swallowed: the next left click clicks.
    cmd.b().MouseDownHandler(1, 0, 3, 3);
    cmd.b().MouseUpHandler(1, 0, 3, 3);
    cmd.b().ClickHandler();
    EXPECT_EQ(cmd.Events(), (Names{"MouseDown", "MouseUp", "MouseDown", "MouseUp", "Click"}));
}

TEST_F(Interaction, MiddleButtonClickClicksAndRightPressForgottenWhenHoverEnds) {
    cmd.b().MouseDownHandler(4, 0, 1, 1);
    cmd.b().MouseUpHandler(4, 0, 1, 1);
    cmd.b().ClickHandler();
    EXPECT_EQ(cmd.Events(), (Names{"MouseDown", "MouseUp", "Click"}));

    // A right press whose click never arrives, then the pointer leaves: the middle click after
    // it is a click again.
    cmd.h().ClearRecords();
    cmd.b().MouseMoveHandler(0, 0, 2, 2);
    cmd.b().MouseDownHandler(2, 0, 2, 2);
    cmd.b().MouseUpHandler(2, 0, 2, 2);
    cmd.h().windowUnderCursor = 0xBEEF;
    cmd.b().TimerHover_Timer();
    cmd.b().MouseDownHandler(4, 0, 1, 1);
    cmd.b().MouseUpHandler(4, 0, 1, 1);
    cmd.b().ClickHandler();
    EXPECT_EQ(cmd.Events(), (Names{"MouseMove", "MouseDown", "MouseUp", "MouseOut", "MouseDown",
                                   "MouseUp", "Click"}));
}

TEST_F(Interaction, DisabledButtonStaysDisabledWhenTheHoverEnds) {
    cmd.b().MouseMoveHandler(0, 0, 2, 2);
    cmd.b().SetEnabled(kFalse);
    cmd.b().MouseDownHandler(2, 0, 2, 2);
    cmd.h().windowUnderCursor = 0;
    int enabledAtPaint = 99;
    cmd.h().onRefresh = [&] { enabledAtPaint = cmd.b().mEnabled; };
    cmd.b().TimerHover_Timer();
    EXPECT_EQ(enabledAtPaint, kFalse);  // repainted with the disabled look
    EXPECT_EQ(cmd.b().Enabled(), kFalse);
    EXPECT_FALSE(cmd.h().enabled);
}

TEST_F(Interaction, DoubleClickShowsThePressAgainButRaisesNoSecondDownOrClick) {
    cmd.b().MouseDownHandler(1, 0, 4, 4);
    cmd.b().MouseUpHandler(1, 0, 4, 4);
    cmd.b().ClickHandler();
    cmd.b().DblClickHandler();
    EXPECT_EQ(cmd.b().mButtonState, kStatePressed);
    cmd.b().MouseUpHandler(1, 0, 4, 4);
    EXPECT_EQ(cmd.Events(), (Names{"MouseDown", "MouseUp", "Click", "MouseUp"}));
    EXPECT_EQ(cmd.b().mButtonState, kStateNormal);
}

TEST_F(Interaction, RightDoubleClickDoesNothing) {
    cmd.b().MouseDownHandler(2, 0, 4, 4);
    cmd.b().MouseUpHandler(2, 0, 4, 4);
    cmd.b().DblClickHandler();
    EXPECT_EQ(cmd.b().mButtonState, kStateNormal);
    EXPECT_EQ(cmd.Events(), (Names{"MouseDown", "MouseUp"}));
}

// ---- Moving and hovering --------------------------------------------------------------------

TEST_F(Interaction, MovesWhileHeldFollowThePointerInAndOut) {
    cmd.b().MouseDownHandler(1, 0, 10, 10);
    cmd.b().MouseMoveHandler(1, 0, -1, 10);  // dragged off the left edge
    EXPECT_EQ(cmd.b().mButtonState, kStateNormal);
    cmd.b().MouseMoveHandler(1, 0, 81, 25);  // one past the last pixel is still inside
    EXPECT_EQ(cmd.b().mButtonState, kStatePressed);
    cmd.b().MouseMoveHandler(1, 0, 81.5f, 25);
    EXPECT_EQ(cmd.b().mButtonState, kStateNormal);
    cmd.b().MouseMoveHandler(0, 0, 3, 3);
    EXPECT_EQ(cmd.b().mButtonState, kStateHover);
    cmd.b().MouseMoveHandler(2, 0, -5, -5);  // right button held: no in/out test
    EXPECT_EQ(cmd.b().mButtonState, kStateHover);
}

TEST_F(Interaction, OnlyTheFirstMoveRepaintsAndEveryMoveArmsTheTimer) {
    cmd.b().MouseMoveHandler(0, 0, 3, 3);
    const int afterFirst = cmd.h().refreshCount;
    EXPECT_GT(afterFirst, 0);
    cmd.b().MouseMoveHandler(0, 0, 4, 3);
    EXPECT_EQ(cmd.h().refreshCount, afterFirst);
    EXPECT_EQ(cmd.b().mHovering, kTrue);
    EXPECT_EQ(cmd.h().hoverEnabledHistory, (std::vector<bool>{true, true}));
    EXPECT_EQ(cmd.Events(), (Names{"MouseMove", "MouseMove"}));
}

TEST_F(Interaction, HoverEndsOnlyWhenThePointerIsOverAnotherWindow) {
    cmd.b().EnterFocus();
    cmd.b().MouseMoveHandler(0, 0, 3, 3);
    cmd.h().windowUnderCursor = cmd.h().windowHandle;
    cmd.b().TimerHover_Timer();
    EXPECT_EQ(cmd.b().mButtonState, kStateHover);
    EXPECT_TRUE(cmd.h().hoverEnabled);

    cmd.h().windowUnderCursor = 0x7777;  // another window covering the button counts as leaving
    cmd.b().TimerHover_Timer();
    EXPECT_EQ(cmd.b().mButtonState, kStateFocused);
    EXPECT_EQ(cmd.b().mHovering, kFalse);
    EXPECT_FALSE(cmd.h().hoverEnabled);
    EXPECT_EQ(cmd.Events(), (Names{"MouseMove", "MouseOut"}));
}

TEST_F(Interaction, LeavingWhileHeldRaisesMouseOutAgainAfterEachReturn) {
    cmd.b().MouseDownHandler(1, 0, 3, 3);
    cmd.b().MouseMoveHandler(1, 0, -4, 3);
    cmd.h().windowUnderCursor = 0;
    cmd.b().TimerHover_Timer();
    EXPECT_EQ(cmd.b().mButtonState, kStateNormal);
    cmd.b().MouseMoveHandler(1, 0, -6, 3);  // re-arms the timer
    cmd.b().TimerHover_Timer();
    EXPECT_EQ(cmd.Events(), (Names{"MouseDown", "MouseMove", "MouseOut", "MouseMove", "MouseOut"}));
}

// ---- Focus ----------------------------------------------------------------------------------

TEST_F(Interaction, FocusEnterAndExitSetTheRestState) {
    cmd.b().mLastMouseButton = 2;
    cmd.b().mLastKeyCode = 65;
    cmd.b().EnterFocus();
    EXPECT_EQ(cmd.b().mButtonState, kStateFocused);
    EXPECT_EQ(cmd.b().mHasFocus, kTrue);
    EXPECT_EQ(cmd.b().mLastMouseButton, 1);
    EXPECT_EQ(cmd.b().mLastKeyCode, 0);
    cmd.b().ExitFocus();
    EXPECT_EQ(cmd.b().mButtonState, kStateNormal);
    EXPECT_EQ(cmd.b().mHasFocus, kFalse);
    EXPECT_TRUE(cmd.Events().empty());
}

TEST_F(Interaction, FocusLeavingWhileHoveredKeepsTheHoverLookAndStopsOnlyTheTimer) {
    cmd.b().MouseMoveHandler(0, 0, 3, 3);
    cmd.b().EnterFocus();
    EXPECT_EQ(cmd.b().mButtonState, kStateHover);  // unchanged when hovering
    cmd.b().ExitFocus();
    EXPECT_EQ(cmd.b().mButtonState, kStateHover);
    EXPECT_EQ(cmd.b().mHovering, kTrue);
    EXPECT_FALSE(cmd.h().hoverEnabled);
    EXPECT_EQ(cmd.Events(), (Names{"MouseMove"}));
}

// ---- Keyboard -------------------------------------------------------------------------------

TEST_F(Interaction, SpaceOnCommandPressesAtKeyDownAndClicksOnceAfterKeyUp) {
    cmd.b().KeyDownHandler(32, 0);
    EXPECT_EQ(cmd.b().mButtonState, kStatePressed);
    cmd.b().KeyDownHandler(32, 0);  // auto-repeat
    cmd.b().KeyPressHandler(32);
    cmd.b().KeyUpHandler(32, 0);
    EXPECT_EQ(cmd.Events(), (Names{"KeyDown", "KeyDown", "KeyPress", "KeyUp", "Click"}));
    EXPECT_EQ(cmd.b().mButtonState, kStateNormal);
}

TEST_F(Interaction, SpaceReleasedAfterAnotherKeyDoesNotClick) {
    cmd.b().KeyDownHandler(32, 0);
    cmd.b().KeyDownHandler(65, 0);
    cmd.b().KeyUpHandler(32, 0);
    EXPECT_EQ(cmd.Events(), (Names{"KeyDown", "KeyDown", "KeyUp"}));
}

TEST_F(Interaction, KeyCodesOutsideTheByteNeverPassForTheSpaceBar) {
    cmd.b().KeyDownHandler(32, 0);
    cmd.b().KeyDownHandler(32 + 256, 0);  // would truncate to 32
    cmd.b().KeyUpHandler(32, 0);
    cmd.b().KeyDownHandler(-224, 0);
    cmd.b().KeyUpHandler(-224, 0);
    cmd.b().KeyPressHandler(1000);
    EXPECT_EQ(cmd.Events(), (Names{"KeyDown", "KeyDown", "KeyUp", "KeyDown", "KeyUp", "KeyPress"}));
    EXPECT_EQ(cmd.h().events.raised[1].args[0], 288);
    EXPECT_EQ(cmd.b().mLastKeyCode, 0);
}

TEST_F(Interaction, EnterOnCommandRaisesKeysButNoClick) {
    cmd.b().KeyDownHandler(13, 0);
    cmd.b().KeyUpHandler(13, 0);
    EXPECT_EQ(cmd.Events(), (Names{"KeyDown", "KeyUp"}));
}

TEST_F(Interaction, ArrowKeysMoveTheFocusWithoutKeyDown) {
    cmd.b().KeyDownHandler(39, 0);
    cmd.b().KeyDownHandler(40, 0);
    cmd.b().KeyDownHandler(37, 0);
    cmd.b().KeyDownHandler(38, 0);
    EXPECT_EQ(cmd.h().keysSent, (std::vector<std::string>{"{Tab}", "{Tab}", "+{Tab}", "+{Tab}"}));
    EXPECT_TRUE(cmd.Events().empty());
    cmd.b().KeyUpHandler(39, 0);
    EXPECT_EQ(cmd.Events(), (Names{"KeyUp"}));
}

// ---- Option buttons -------------------------------------------------------------------------

TEST_F(Interaction, PressingAnUnselectedOptionClicksBeforeMouseDownAndReleaseOnlyMouseUp) {
    OptionButton(cmd);
    cmd.b().MouseDownHandler(1, 0, 2, 2);
    EXPECT_EQ(cmd.b().Value(), kTrue);
    cmd.b().MouseUpHandler(1, 0, 2, 2);
    cmd.b().ClickHandler();
    EXPECT_EQ(cmd.Events(), (Names{"Click", "MouseDown", "MouseUp"}));
}

TEST_F(Interaction, PressingTheSelectedOptionRaisesNothingButItsReleaseRaisesMouseUp) {
    OptionButton(cmd, true);
    cmd.b().MouseDownHandler(1, 0, 2, 2);
    EXPECT_TRUE(cmd.Events().empty());
    EXPECT_EQ(cmd.b().mButtonState, kStatePressed);
    cmd.b().MouseUpHandler(1, 0, 2, 2);
    cmd.b().ClickHandler();
    EXPECT_EQ(cmd.Events(), (Names{"MouseUp"}));
    EXPECT_EQ(cmd.b().Value(), kTrue);
}

TEST_F(Interaction, SpaceSelectsAnOptionAtKeyDownAndItsKeyUpRaisesOnlyKeyUp) {
    OptionButton(cmd);
    cmd.b().KeyDownHandler(32, 0);
    EXPECT_EQ(cmd.b().Value(), kTrue);
    cmd.b().KeyUpHandler(32, 0);
    EXPECT_EQ(cmd.Events(), (Names{"Click", "KeyDown", "KeyUp"}));
}

TEST_F(Interaction, EnterOnAnOptionRaisesNoKeyDown) {
    OptionButton(cmd);
    cmd.b().KeyDownHandler(13, 0);
    cmd.b().KeyUpHandler(13, 0);
    EXPECT_EQ(cmd.Events(), (Names{"KeyUp"}));
    EXPECT_EQ(cmd.b().Value(), kFalse);
}

// ---- Access keys ----------------------------------------------------------------------------

TEST_F(Interaction, CommandAccessKeyShowsThePressedLookThenClicks) {
    std::vector<int> presented;
    cmd.h().onRefresh = [&] { presented.push_back(cmd.b().mButtonState); };
    cmd.b().MouseDownHandler(2, 0, 1, 1);  // a pending right-press suppression does not apply
    cmd.b().AccessKeyPress('c');
    EXPECT_EQ(cmd.Events(), (Names{"MouseDown", "Click"}));
    ASSERT_FALSE(presented.empty());
    EXPECT_EQ(presented.front(), kStatePressed);
    EXPECT_EQ(presented.back(), kStateNormal);
    EXPECT_EQ(cmd.b().mButtonState, kStateNormal);
    EXPECT_EQ(cmd.b().mLastMouseButton, 1);
}

TEST_F(Interaction, AccessKeyOfTheSelectedOptionReadsAsKeystrokesWithoutClick) {
    OptionButton(cmd, true);
    cmd.b().AccessKeyPress('f');
    EXPECT_EQ(cmd.Events(), (Names{"KeyDown", "KeyPress", "KeyUp"}));
    EXPECT_EQ(cmd.h().events.raised[0].args, (std::vector<double>{'f', 0}));
    EXPECT_EQ(cmd.h().events.raised[1].args, (std::vector<double>{'f'}));
    EXPECT_EQ(cmd.h().events.raised[2].args, (std::vector<double>{'f', 0}));
}

TEST_F(Interaction, AccessKeyOfAnUnselectedOptionSelectsItAndClicks) {
    OptionButton(cmd);
    cmd.b().AccessKeyPress('f');
    EXPECT_EQ(cmd.Events(), (Names{"Click"}));
    EXPECT_EQ(cmd.b().Value(), kTrue);
}

// ---- The access key's pause -----------------------------------------------------------------

double SecondsTaken(const std::function<void()>& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

TEST_F(Interaction, PauseEndsWhenTheHostTimerWrapsAtMidnight) {
    cmd.h().timerSeconds = 86399.99;
    cmd.h().timerStep = -86399.99;  // the next reading is just after midnight
    const double taken = SecondsTaken([&] { cmd.b().PauseSeconds(0.15f); });
    EXPECT_LT(taken, 0.1);
    EXPECT_GT(cmd.h().refreshCount, 0);  // the image was shown first
}

TEST_F(Interaction, PauseNeverHoldsLongerThanThePressedLookNeeds) {
    cmd.h().timerStep = 0.0;  // a host timer that never moves
    EXPECT_LT(SecondsTaken([&] { cmd.b().PauseSeconds(0.15f); }), 1.0);
    EXPECT_LT(SecondsTaken([&] { cmd.b().PauseSeconds(30.0f); }), 1.0);
    EXPECT_LT(SecondsTaken([&] { cmd.b().PauseSeconds(-1.0f); }), 0.05);
}

// ---- Robustness -----------------------------------------------------------------------------

TEST_F(Interaction, HandlersWithoutAnEventReceiverStillChangeState) {
    cmd.h().deliverEvents = false;
    cmd.b().MouseDownHandler(1, 0, 1, 1);
    cmd.b().MouseUpHandler(1, 0, 1, 1);
    cmd.b().ClickHandler();
    cmd.b().KeyDownHandler(32, 0);
    cmd.b().KeyUpHandler(32, 0);
    cmd.b().AccessKeyPress('x');
    cmd.h().windowUnderCursor = 0;
    cmd.b().MouseMoveHandler(0, 0, 1, 1);
    cmd.b().TimerHover_Timer();
    EXPECT_EQ(cmd.b().mButtonState, kStateNormal);
    EXPECT_TRUE(cmd.h().events.raised.empty());
}

// The window's handler deletes the button inside an event, as a Qt window may delete its widget
// inside Click; the handler that raised the event stops right there (the sanitizer build reports
// any later touch of the freed control).
TEST_F(Interaction, AHandlerThatDestroysTheButtonEndsTheGestureRightThere) {
    const auto destroy = [this](PlacedButton& p) {
        return [this, &p](auto&&...) {
            std::erase_if(*form.controls,
                          [&](const FormControl& c) { return c.button == p.button.get(); });
            p.button.reset();
        };
    };

    PlacedButton& pressed = OptionButton(form.Place("Opt1"));
    pressed.h().events.onClick = destroy(pressed);
    pressed.b().MouseDownHandler(1, 0, 2, 2);
    EXPECT_EQ(pressed.Events(), (Names{"Click"}));  // no MouseDown
    EXPECT_EQ(pressed.button, nullptr);

    PlacedButton& spaced = OptionButton(form.Place("Opt2"));
    spaced.h().events.onClick = destroy(spaced);
    spaced.b().KeyDownHandler(32, 0);
    EXPECT_EQ(spaced.Events(), (Names{"Click"}));  // no KeyDown

    PlacedButton& released = form.Place("Cmd2");
    released.h().events.onKeyUp = destroy(released);
    released.b().KeyDownHandler(32, 0);
    released.b().KeyUpHandler(32, 0);
    EXPECT_EQ(released.Events(), (Names{"KeyDown", "KeyUp"}));  // no Click

    PlacedButton& accessed = OptionButton(form.Place("Opt3"), true);
    accessed.h().events.onKeyDown = destroy(accessed);
    accessed.b().AccessKeyPress('o');
    EXPECT_EQ(accessed.Events(), (Names{"KeyDown"}));  // no KeyPress, no KeyUp

    PlacedButton& upped = form.Place("Cmd3");
    upped.h().events.onMouseUp = destroy(upped);
    upped.b().MouseDownHandler(1, 0, 2, 2);
    upped.b().MouseUpHandler(1, 0, 2, 2);
    EXPECT_EQ(upped.Events(), (Names{"MouseDown", "MouseUp"}));
    EXPECT_EQ(upped.button, nullptr);
}

TEST_F(Interaction, HandlersMayChangeArgumentsByReferenceWithoutAffectingTheControl) {
    cmd.h().events.onMouseDown = [](std::int16_t& button, std::int16_t&, float&, float&) {
        button = 2;  // a handler pretending the right button was pressed
    };
    cmd.b().MouseDownHandler(1, 0, 1, 1);
    cmd.b().MouseUpHandler(1, 0, 1, 1);
    cmd.b().ClickHandler();
    EXPECT_EQ(cmd.Events(), (Names{"MouseDown", "MouseUp", "Click"}));
}

}  // namespace
}  // namespace tarvex::testing
