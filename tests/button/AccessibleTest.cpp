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
        {"Save && Exit", "", "Save & Exit"},
        {"&First\r\nline", "", "First line"},
        {"One\nTwo\rThree\r\n\r\nFour", "", "One Two Three  Four"},
        {"A&B&C", "", "AB&C"},  // only the first marker is one
        {"&&&x", "", "&x"},
        {"End&", "", "End"},
        {"&\xC3\x9C"
         "ber",
         "",
         "\xC3\x9C"
         "ber"},                                          // a marker before a letter of two bytes
        {"\xD0\x94\xD0\xB0", "Yes", "\xD0\x94\xD0\xB0"},  // Cyrillic says something
        {"\xE6\x89\x93\xE5\xBC\x80", "Open", "\xE6\x89\x93\xE5\xBC\x80"},  // so does Chinese
        {"x\xC2\xB2", "", "x\xC2\xB2"},
        {"\xC2\xB2", "Square", "\xC2\xB2"},  // a superscript two is a digit
        {"...", "Browse for image", "Browse for image"},
        {"...", "", "CmdDots"},  // nothing else to go by: the control's name
        {"", "Open", "Open"},
        {"&?", "Help", "Help"},
        {"<< >>", "Move", "Move"},
        {"\xE2\x80\xA6", "Browse", "Browse"},      // an ellipsis character
        {"\xE2\x86\x92", "Next", "Next"},          // an arrow
        {"\xEF\x80\x81", "Settings", "Settings"},  // an icon font's private character
        {"\xF0\x9F\x93\x82", "Folder", "Folder"},  // a pictograph
        {"\xC2\xA9 \xC2\xAE", "Legal", "Legal"},   // signs of Latin-1
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
    EXPECT_EQ(AccessKeyShortcut(U"\u00FC"), "Alt+\xC3\xBC");
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
