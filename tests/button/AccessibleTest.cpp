// What every host tells assistive tools of a button: the spoken name, the description, the
// states a listener hears, the access key's spelling and the press a tool asks for.
#include "button/Accessible.hpp"

#include "tests/button/ButtonFixture.hpp"

namespace tarvex::testing {
namespace {

TEST(AccessibleName, ReadsTheCaptionAsAPersonDoesOrFallsBackToTheToolTipThenTheName) {
    struct Case {
        std::string caption;
        std::string toolTip;
        std::string name;
    };
    const Case cases[] = {
        {"&First\r\nline", "", "First line"},
        {"One\nTwo\rThree\r\n\r\nFour", "", "One Two Three  Four"},
        {"&\u00DCber", "", "\u00DCber"},           // a marker before a letter of two bytes
        {"\u0414\u0430", "Yes", "\u0414\u0430"},   // Cyrillic says something
        {"\u6253\u5F00", "Open", "\u6253\u5F00"},  // so does Chinese
        {"x\u00B2", "", "x\u00B2"},
        {"\u00B2", "Square", "\u00B2"},  // a superscript two is a digit
        {"...", "", "CmdDots"},          // nothing else to go by: the control's name
        {"&?", "Help", "Help"},
        {"<< >>", "Move", "Move"},
        {"\u2026", "Browse", "Browse"},       // an ellipsis character
        {"\u2192", "Next", "Next"},           // an arrow
        {"\uF001", "Settings", "Settings"},   // an icon font's private character
        {"\U0001F4C2", "Folder", "Folder"},   // a pictograph
        {"\u00A9 \u00AE", "Legal", "Legal"},  // signs of Latin-1
        {"\r\n", "Blank", "Blank"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(AccessibleName({"", c.caption, c.toolTip, "CmdDots"}), c.name);
    }
    // A name the program gave wins over everything.
    EXPECT_EQ(AccessibleName({"Save the file", "Save && Exit", "Tip", "CmdSave"}), "Save the file");
    EXPECT_EQ(SpokenCaption("&Change"), "Change");
    EXPECT_EQ(AccessibleDescription("", "Browse for image"), "Browse for image");
    EXPECT_EQ(AccessibleDescription("Given", "Tip"), "Given");
}

TEST(AccessKeyShortcut, SpellsTheFirstKeyAsAnAltKeystroke) {
    EXPECT_EQ(AccessKeyShortcut(U"c"), "Alt+C");
    EXPECT_EQ(AccessKeyShortcut(U"7x"), "Alt+7");
    EXPECT_EQ(AccessKeyShortcut(U"\u00FC"), "Alt+\u00FC");
    EXPECT_EQ(AccessKeyShortcut(U""), "");
}

using AccessibleStates = ButtonFixture;

TEST_F(AccessibleStates, PressedHoverAndTheOptionButtonsSelection) {
    TarvexButton& b = Placed(false);
    EXPECT_EQ(StatesOf(b), ButtonStates{});
    b.mButtonState = kStatePressed;
    b.mHovering = kTrue;
    EXPECT_EQ(StatesOf(b), (ButtonStates{true, true, false, false}));
    b.mButtonState = kStateNormal;
    b.mHovering = kFalse;
    b.SetValue(kTrue);  // a command button's value is no selection
    EXPECT_EQ(StatesOf(b), ButtonStates{});
    b.SetOptionButton(kTrue);
    EXPECT_EQ(StatesOf(b), (ButtonStates{false, false, true, true}));
    b.SetValue(kFalse);
    EXPECT_EQ(StatesOf(b), (ButtonStates{false, false, true, false}));
}

TEST_F(AccessibleStates, APressClicksOnceSelectsAnOptionButtonAndStopsWhenTheButtonIsGone) {
    TarvexButton& b = Placed(false);
    const auto clicks = [&] {
        int count = 0;
        for (const RaisedEvent& e : host.events.raised) count += e.name == "Click";
        return count;
    };
    PressForAssistiveTool(b);
    EXPECT_EQ(clicks(), 1);
    EXPECT_EQ(StatesOf(b), ButtonStates{});  // released again

    b.SetOptionButton(kTrue);
    host.ClearRecords();
    PressForAssistiveTool(b);
    EXPECT_EQ(b.Value(), kTrue);
    EXPECT_EQ(clicks(), 1);  // raised by the selection, not again by the release
    EXPECT_EQ(StatesOf(b), (ButtonStates{false, false, true, true}));

    // A Click handler that destroys the control (the option button's, raised on the press):
    // nothing of it is touched afterwards (the sanitizer builds would see it).
    b.SetValue(kFalse);
    host.ClearRecords();
    host.events.onClick = [&](TarvexButton&) { button.reset(); };
    PressForAssistiveTool(*button);
    EXPECT_EQ(button, nullptr);
    EXPECT_EQ(clicks(), 1);
    host.controls->clear();
}

}  // namespace
}  // namespace tarvex::testing
