// Option-button groups: which buttons a selection clears, found by container, over the whole form.
#include "InteractionFixture.hpp"

namespace tarvex::testing {
namespace {

using Names = std::vector<std::string>;

TEST(OptionGroup, TwoFramesFormTwoGroupsAndTheFormItsOwn) {
    Form form;
    form.PlaceOther("Frame1");
    form.PlaceOther("Frame2");
    auto& a = OptionButton(form.Place("OptA", "Frame1"), true);
    auto& b = OptionButton(form.Place("OptB", "Frame1"));
    auto& c = OptionButton(form.Place("OptC", "Frame2"), true);
    auto& d = OptionButton(form.Place("OptD"), true);
    EXPECT_EQ(a.b().Container(), "Frame1");
    EXPECT_EQ(d.b().Container(), "frmVornik");

    b.b().MouseDownHandler(1, 0, 2, 2);

    EXPECT_EQ(a.b().Value(), kFalse);
    EXPECT_EQ(b.b().Value(), kTrue);
    EXPECT_EQ(c.b().Value(), kTrue);
    EXPECT_EQ(d.b().Value(), kTrue);
    EXPECT_EQ(a.b().mButtonState, kStateNormal);
    EXPECT_GT(a.h().refreshCount, 0);
    EXPECT_EQ(c.h().refreshCount, 0);
    EXPECT_EQ(d.h().refreshCount, 0);
    EXPECT_TRUE(a.Events().empty());  // a cleared button raises nothing
    EXPECT_EQ(b.Events(), (Names{"Click", "MouseDown"}));
}

TEST(OptionGroup, ElementsOfOneFrameArrayAreSeparateGroups) {
    Form form;
    auto& a = OptionButton(form.Place("OptA", "Frame1", 0), true);
    auto& b = OptionButton(form.Place("OptB", "Frame1", 1), true);
    auto& c = OptionButton(form.Place("OptC", "Frame1", 1));
    EXPECT_EQ(a.b().Container(), "Frame1(0)");
    EXPECT_EQ(b.b().Container(), "Frame1(1)");

    c.b().SetValue(kTrue);

    EXPECT_EQ(a.b().Value(), kTrue);
    EXPECT_EQ(b.b().Value(), kFalse);
    EXPECT_EQ(c.b().Value(), kTrue);
}

TEST(OptionGroup, CommandStyleButtonWithValueTrueIsClearedSilently) {
    Form form;
    auto& cmd = form.Place("CmdGo");
    cmd.b().SetValue(kTrue);  // only stored: it is no option button
    cmd.b().mButtonState = kStateHover;
    cmd.h().ClearRecords();
    auto& opt = OptionButton(form.Place("OptA"));

    opt.b().SetValue(kTrue);

    EXPECT_EQ(cmd.b().Value(), kFalse);
    EXPECT_EQ(cmd.b().mButtonState, kStateHover);  // look untouched
    EXPECT_EQ(cmd.h().refreshCount, 0);
}

TEST(OptionGroup, EveryControlIsVisitedUpToTheLastOne) {
    Form form;
    auto& first = OptionButton(form.Place("OptA"));
    auto& last = OptionButton(form.Place("OptZ"), true);

    // The last control of the list is cleared...
    first.b().SetValue(kTrue);
    EXPECT_EQ(last.b().Value(), kFalse);

    // ...and a selecting button that stands last is reached and repaints itself.
    first.h().ClearRecords();
    last.h().ClearRecords();
    last.b().SetValue(kTrue);
    EXPECT_EQ(first.b().Value(), kFalse);
    EXPECT_GT(last.h().refreshCount, 0);
}

TEST(OptionGroup, SelectingTheSelectionAgainOnlyRepaintsIt) {
    Form form;
    auto& a = OptionButton(form.Place("OptA"), true);
    auto& b = OptionButton(form.Place("OptB"));
    a.b().SetValue(kTrue);
    EXPECT_GT(a.h().refreshCount, 0);
    EXPECT_EQ(b.h().refreshCount, 0);
    EXPECT_EQ(a.b().Value(), kTrue);
    EXPECT_EQ(b.b().Value(), kFalse);
}

TEST(OptionGroup, DeselectingLeavesTheGroupWithoutSelection) {
    Form form;
    auto& a = OptionButton(form.Place("OptA"), true);
    auto& b = OptionButton(form.Place("OptB"));
    a.b().SetValue(kFalse);
    EXPECT_EQ(a.b().Value(), kFalse);
    EXPECT_EQ(b.b().Value(), kFalse);
}

TEST(OptionGroup, ButtonsOfAnotherFormAreNeverTouched) {
    Form one;
    Form two;
    auto& a = OptionButton(one.Place("Opt1"));
    auto& b = OptionButton(two.Place("Opt1"), true);
    a.b().SetValue(kTrue);
    EXPECT_EQ(b.b().Value(), kTrue);
}

TEST(OptionGroup, ListThatShrinksDuringTheSweepEndsItSafely) {
    Form form;
    auto& a = OptionButton(form.Place("OptA"));
    auto& b = OptionButton(form.Place("OptB"));
    auto& c = OptionButton(form.Place("OptC"));
    b.b().mValue = kTrue;  // both stored as selected, as a loaded layout may have them
    c.b().mValue = kTrue;
    // Clearing B repaints it; that repaint empties the form's list.
    b.h().onRefresh = [&] { form.controls->clear(); };
    a.b().SetValue(kTrue);
    EXPECT_EQ(b.b().Value(), kFalse);
    EXPECT_EQ(c.b().Value(), kTrue);  // never reached: the list no longer holds it
}

TEST(OptionGroup, ListThatGrowsDuringTheSweepIsSafe) {
    Form form;
    auto& a = OptionButton(form.Place("OptA"));
    auto& b = OptionButton(form.Place("OptB"), true);
    // Growing the vector moves its entries: the sweep must not hold on to any of them.
    b.h().onRefresh = [&] {
        for (int i = 0; i < 64; ++i) form.PlaceOther("Label" + std::to_string(i));
    };
    a.b().SetValue(kTrue);
    EXPECT_EQ(b.b().Value(), kFalse);
}

TEST(OptionGroup, ContainerThatCannotBeFoundReachesTheCaller) {
    Form form;
    auto& a = OptionButton(form.Place("OptA"));
    a.h().displayName = "Missing";
    EXPECT_THROW(a.b().SetValue(kTrue), HostError);
}

}  // namespace
}  // namespace tarvex::testing
