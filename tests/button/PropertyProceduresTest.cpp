// Property procedures: accepted values, design-only freezes, the custom-colour rule with its
// scheme switches and notification order, messages, and the container's notifications.
#include <gtest/gtest.h>

#include "ButtonFixture.hpp"

namespace tarvex::testing {
namespace {

using Keys = std::vector<std::string>;

constexpr const char* kCaution =
    "Caution: Using non-default may cause buttons to not display properly on other operating "
    "systems.";
constexpr const char* kGradientRefusal =
    "This option is not available for Windowx XP or Machintosh style buttons";
constexpr const char* kOldSystem =
    "This option is not available on the following operating systems.\r\n\r\n - Win NT 4 and "
    "lower\r\n - Windows 95 and earlier";

PictureRef SomeIcon() {
    return std::make_shared<Picture>(gdi::Surface(16, 16), kPicTypeIcon);
}

using RangeChecks = ButtonFixture;

TEST_F(RangeChecks, OutOfRangeAndUnchangedValuesChangeNothingAndNotifyNothing) {
    TarvexButton& b = Placed(true);
    b.SetAlignment(3);
    b.SetAlignment(-1);
    b.SetAlignment(1);  // the current value
    b.SetIconSize(0);
    b.SetIconSize(5);
    b.SetButtonStyle(4);
    b.SetColorScheme(6);
    b.SetColorScheme(0);
    b.SetCaptionStyle(-1);
    b.SetCaptionStyle(4);
    b.SetButtonType(0);
    b.SetButtonType(9);
    b.SetCaptionOrientation(3);
    b.SetIconAlignmentValue(2);
    EXPECT_EQ(b.Alignment(), 1);
    EXPECT_EQ(b.IconSize(), 2);
    EXPECT_EQ(b.ButtonStyle(), 0);
    EXPECT_EQ(b.ColorScheme(), 1);
    EXPECT_EQ(b.CaptionStyle(), 0);
    EXPECT_EQ(b.ButtonType(), 2);
    EXPECT_EQ(b.CaptionOrientation(), 0);
    EXPECT_EQ(b.IconAlignmentValue(), 0);
    EXPECT_TRUE(Notified().empty());
    EXPECT_EQ(host.refreshCount, 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(RangeChecks, MousePointerOutsideSixteenBitsIsAnErrorNotATruncation) {
    TarvexButton& b = Placed(true);
    EXPECT_THROW(b.SetMousePointer(70000), HostError);
    EXPECT_EQ(host.mousePointer, 0);
    host.mousePointerThrows = true;
    EXPECT_THROW(b.SetMousePointer(2), HostError);
    EXPECT_TRUE(Notified().empty());
    host.mousePointerThrows = false;
    b.SetMousePointer(11);
    EXPECT_EQ(b.MousePointer(), 11);
    EXPECT_EQ(Notified(), Keys{"MPTR"});
}

using RunModeFreezes = ButtonFixture;

TEST_F(RunModeFreezes, LookShapingPropertiesKeepTheirValuesAtRunTime) {
    TarvexButton& b = Placed(false);
    b.SetAlignment(0);
    b.SetButtonType(8);
    b.SetColorScheme(3);
    b.SetButtonStyle(2);
    b.SetCaptionOrientation(1);
    b.SetIconAlignmentValue(1);
    b.SetIconSize(4);
    b.SetShowFocus(kFalse);
    EXPECT_EQ(b.Alignment(), 1);
    EXPECT_EQ(b.ButtonType(), 2);
    EXPECT_EQ(b.ColorScheme(), 1);
    EXPECT_EQ(b.ButtonStyle(), 0);
    EXPECT_EQ(b.CaptionOrientation(), 0);
    EXPECT_EQ(b.IconAlignmentValue(), 0);
    EXPECT_EQ(b.IconSize(), 2);
    EXPECT_EQ(b.ShowFocus(), kTrue);
    EXPECT_EQ(host.refreshCount, 0);
    EXPECT_TRUE(host.propertyChanges.empty());
}

TEST_F(RunModeFreezes, CustomColoursChangeAtRunTimeOnlyUnderACustomScheme) {
    TarvexButton& b = Placed(false);
    b.SetBackColor(0x00123456);
    EXPECT_EQ(b.BackColor(), Sys(gdi::COLOR_BTNFACE));
    EXPECT_EQ(b.ColorScheme(), 1);
    EXPECT_EQ(host.refreshCount, 0);

    b.mColorScheme = 2;
    b.SetBackColor(0x00123456);
    EXPECT_EQ(b.BackColor(), 0x00123456);
    EXPECT_EQ(b.mFaceColor, 0x00123456);
    EXPECT_GT(host.refreshCount, 0);
    EXPECT_TRUE(host.propertyChanges.empty());  // no notifications at run time
}

TEST_F(RunModeFreezes, GradientColourOnAGradientlessLookIsRefusedSilentlyAtRunTime) {
    TarvexButton& b = Placed(false);
    b.mButtonType = 3;
    b.mColorScheme = 5;
    b.SetGradientStartColor(0x0000FF00);
    EXPECT_EQ(b.GradientStartColor(), 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(RunModeFreezes, AlwaysChangeableProperties) {
    TarvexButton& b = Placed(false);
    b.SetCaption("Go");
    b.SetEnabled(kFalse);
    b.SetGradientOrientation(7);
    EXPECT_EQ(b.Caption(), "Go");
    EXPECT_EQ(b.Enabled(), kFalse);
    EXPECT_FALSE(host.enabled);
    EXPECT_EQ(b.GradientOrientation(), 7);
    EXPECT_TRUE(host.propertyChanges.empty());
}

using DesignModeProcedures = ButtonFixture;

TEST_F(DesignModeProcedures, NotificationsAndFollowUps) {
    TarvexButton& b = Placed(true);
    b.SetAlignment(2);
    EXPECT_EQ(Notified(), Keys{"ALIGN"});
    EXPECT_GT(host.refreshCount, 0);

    host.ClearRecords();
    b.SetIconSize(4);  // no icon: stored and notified, but nothing repaints
    EXPECT_EQ(b.IconSize(), 4);
    EXPECT_EQ(Notified(), Keys{"IconSize"});
    EXPECT_EQ(host.refreshCount, 0);

    host.ClearRecords();
    b.SetShowFocus(kFalse);
    EXPECT_EQ(b.ShowFocus(), kFalse);
    EXPECT_EQ(Notified(), Keys{"SHOWF"});
    EXPECT_EQ(host.refreshCount, 0);

    host.ClearRecords();
    b.mFontDirty = 0;
    host.scaleHeight = 120;  // room for the caption along the height
    b.SetCaptionOrientation(2);
    EXPECT_EQ(Notified(), Keys{"ORIENT"});
    EXPECT_EQ(b.mFontDirty, kTrue);
}

TEST_F(DesignModeProcedures, SegmentedStyleForcesHorizontalCaptionFirst) {
    TarvexButton& b = Placed(true);
    host.scaleHeight = 120;
    b.SetCaptionOrientation(2);
    host.ClearRecords();
    b.SetButtonStyle(1);
    EXPECT_EQ(b.CaptionOrientation(), 0);
    EXPECT_EQ(b.ButtonStyle(), 1);
    EXPECT_EQ(Notified(), (Keys{"ORIENT", "BSTYLE"}));

    host.ClearRecords();
    b.SetButtonStyle(0);
    EXPECT_EQ(Notified(), Keys{"BSTYLE"});
}

TEST_F(DesignModeProcedures, GradientlessLookLeavesTheGradientScheme) {
    TarvexButton& b = Placed(true);
    b.mColorScheme = 5;
    b.SetButtonType(8);
    EXPECT_EQ(b.ButtonType(), 8);
    EXPECT_EQ(b.ColorScheme(), 2);
    EXPECT_EQ(Notified(), Keys{"BTYPE"});
}

TEST_F(DesignModeProcedures, SameCaptionAgainStillRepaintsAndNotifies) {
    TarvexButton& b = Placed(true);
    b.SetCaption(b.Caption());
    EXPECT_EQ(Notified(), Keys{"TX"});
    EXPECT_GT(host.refreshCount, 0);
}

TEST_F(DesignModeProcedures, GradientOrientationIsStoredUncheckedAndRepaintsOnlyUnderGradient) {
    TarvexButton& b = Placed(true);
    b.SetGradientOrientation(7);
    EXPECT_EQ(b.GradientOrientation(), 7);
    EXPECT_TRUE(Notified().empty());
    EXPECT_EQ(host.refreshCount, 0);
    b.mColorScheme = 5;
    b.SetGradientOrientation(1);
    EXPECT_EQ(Notified(), Keys{"GStyle"});
    EXPECT_GT(host.refreshCount, 0);
}

TEST_F(DesignModeProcedures, EnabledDrivesTheBaseControl) {
    TarvexButton& b = Placed(true);
    b.SetEnabled(5);  // any non-zero value is true
    EXPECT_EQ(b.Enabled(), kTrue);
    b.SetEnabled(kFalse);
    EXPECT_EQ(b.Enabled(), kFalse);
    EXPECT_FALSE(host.enabled);
    EXPECT_EQ(Notified(), (Keys{"ENAB", "ENAB"}));
}

TEST_F(DesignModeProcedures, MouseIconRefusedByTheBaseControlIsStillNotified) {
    TarvexButton& b = Placed(true);
    host.mouseIconThrows = true;
    EXPECT_NO_THROW(b.SetMouseIcon(SomeIcon()));
    EXPECT_EQ(b.MouseIcon(), nullptr);
    EXPECT_EQ(Notified(), Keys{"MICON"});
}

using SchemeSwitching = ButtonFixture;

TEST_F(SchemeSwitching, BackColorInDesignModeSwitchesToCustomColours) {
    TarvexButton& b = Placed(true);
    const OleColor fore = b.ForeColor();
    b.SetBackColor(0x00336699);
    EXPECT_EQ(b.ColorScheme(), 2);
    EXPECT_EQ(Notified(), (Keys{"COLTYPE", "FCOL", "FCOLO", "BCOL"}));
    EXPECT_EQ(b.BackColor(), 0x00336699);
    EXPECT_EQ(b.ForeColor(), fore);  // the switch leaves the other colours alone
    EXPECT_EQ(b.mFaceColor, 0x00336699);
}

TEST_F(SchemeSwitching, EachColourPropertyHasItsOwnNotificationOrder) {
    struct Case {
        void (TarvexButton::*let)(OleColor);
        Keys keys;
        std::int32_t scheme;
    };
    const std::vector<Case> cases = {
        {&TarvexButton::SetForeColor, {"COLTYPE", "BCOL", "FCOLO", "FCOL"}, 2},
        {&TarvexButton::SetMouseOver, {"COLTYPE", "BCOL", "FCOL", "FCOLO"}, 2},
        {&TarvexButton::SetEmbossEngraveShadow,
         {"COLTYPE", "FCOL", "FCOLO", "BCOL", "EMBOSSM", "EMBOSSS"},
         2},
        {&TarvexButton::SetEmbossEngraveMid,
         {"COLTYPE", "FCOL", "FCOLO", "BCOL", "EMBOSSS", "EMBOSSM"},
         2},
        {&TarvexButton::SetGradientStartColor,
         {"COLTYPE", "FCOL", "FCOLO", "BCOL", "GStop", "GStart"},
         5},
        {&TarvexButton::SetGradientStopColor,
         {"COLTYPE", "FCOL", "FCOLO", "BCOL", "GStart", "GStop"},
         5},
    };
    for (const Case& c : cases) {
        button.reset();
        host = TestHost();
        TarvexButton& b = Placed(true);
        (b.*c.let)(0x00010203);
        EXPECT_EQ(Notified(), c.keys);
        EXPECT_EQ(b.ColorScheme(), c.scheme);
    }
}

TEST_F(SchemeSwitching, GradientStopUnderCustomColoursMovesToGradient) {
    TarvexButton& b = Placed(true);
    b.mColorScheme = 2;
    b.SetGradientStopColor(0x000000FF);
    EXPECT_EQ(b.ColorScheme(), 5);
    EXPECT_EQ(Notified(), (Keys{"COLTYPE", "FCOL", "FCOLO", "BCOL", "GStart", "GStop"}));
    EXPECT_EQ(b.GradientStopColor(), 0x000000FF);
}

TEST_F(SchemeSwitching, CaptionStyleSwitchesWithSixKeysThenStyle) {
    TarvexButton& b = Placed(true);
    b.SetCaptionStyle(2);
    EXPECT_EQ(b.CaptionStyle(), 2);
    EXPECT_EQ(Notified(),
              (Keys{"COLTYPE", "BCOL", "FCOL", "FCOLO", "EMBOSSM", "EMBOSSS", "STYLE"}));
}

TEST_F(SchemeSwitching, UserEmbossColoursSurviveTheCustomPalette) {
    TarvexButton& b = Placed(true);
    b.SetEmbossEngraveMid(0x00111111);
    b.SetEmbossEngraveShadow(0x00222222);
    EXPECT_EQ(b.EmbossEngraveMid(), 0x00111111);
    EXPECT_EQ(b.EmbossEngraveShadow(), 0x00222222);
}

TEST_F(SchemeSwitching, FixedGreyResetsColoursAndPlainCaption) {
    TarvexButton& b = Placed(true);
    b.SetCaptionStyle(2);
    b.SetBackColor(0x00102030);
    b.SetMouseOver(0x00405060);
    host.ClearRecords();
    b.SetColorScheme(3);
    EXPECT_EQ(b.ColorScheme(), 3);
    EXPECT_EQ(b.CaptionStyle(), 0);
    EXPECT_EQ(b.BackColor(), 0x00C0C0C0);
    EXPECT_EQ(b.ForeColor(), 0);
    EXPECT_EQ(b.MouseOver(), 0);
    EXPECT_EQ(Notified(), (Keys{"COLTYPE", "BCOL", "FCOL", "FCOLO", "EMBOSSM", "EMBOSSS"}));
}

TEST_F(SchemeSwitching, OldSystemsRefuseSchemeChangesWithTheFourLineMessage) {
    for (auto version : {Version(1, 4, 0), Version(2, 4, 0), Version(2, 3, 51)}) {
        button.reset();
        host = TestHost();
        gdi::SetVersionForTesting(version);
        TarvexButton& b = Placed(true);
        b.SetColorScheme(3);
        EXPECT_EQ(b.ColorScheme(), 1);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, kOldSystem);
        EXPECT_EQ(host.messages[0].style, vbInformation);
        EXPECT_EQ(host.messages[0].title, "Vornik");
        EXPECT_TRUE(Notified().empty());
    }
    host.ClearRecords();
    host.userMode = true;
    button->SetColorScheme(3);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(SchemeSwitching, GradientColourOnGradientlessLookShowsMessageInDesignMode) {
    TarvexButton& b = Placed(true);
    b.mButtonType = 8;
    b.SetGradientStartColor(0x0000FF00);
    b.SetGradientStopColor(0x0000FF00);
    EXPECT_EQ(b.GradientStartColor(), 0);
    EXPECT_EQ(b.GradientStopColor(), 0x00FF0000);
    EXPECT_EQ(b.ColorScheme(), 1);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].text, kGradientRefusal);
    EXPECT_EQ(host.messages[0].style, vbInformation);
    EXPECT_EQ(host.messages[0].title, "Vornik");
    EXPECT_TRUE(Notified().empty());
}

using ColourTranslation = ButtonFixture;

TEST_F(ColourTranslation, SystemColourValuesAreStoredAsTheColourOfThatMoment) {
    auto table = gdi::ClassicSysColors();
    table[gdi::COLOR_BTNTEXT] = 0x00123456;
    gdi::SetSysColorTable(table);
    TarvexButton& b = Placed(true);
    b.mColorScheme = 2;
    b.SetForeColor(SystemColourValue(gdi::COLOR_BTNTEXT));
    EXPECT_EQ(b.ForeColor(), 0x00123456);
    table[gdi::COLOR_BTNTEXT] = 0x00654321;
    gdi::SetSysColorTable(table);
    b.BuildPalette(false);
    EXPECT_EQ(b.mTextColor, 0x00123456);  // a later system change does not reach it
}

using GraphicsModeLet = ButtonFixture;

TEST_F(GraphicsModeLet, ExplicitModeWarnsInBothModesThenApplies) {
    for (bool design : {true, false}) {
        button.reset();
        host = TestHost();
        TarvexButton& b = Placed(design);
        b.SetGraphicsMode(2);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, kCaution);
        EXPECT_EQ(host.messages[0].style, vbExclamation);
        EXPECT_EQ(host.messages[0].title, "Vornik");
        EXPECT_EQ(b.GraphicsMode(), 2);
        EXPECT_EQ(b.mGraphicsModeSetting, 2);
        EXPECT_EQ(Notified(), design ? Keys{"GMODE"} : Keys{});
    }
}

TEST_F(GraphicsModeLet, AutomaticTakesTheSystemsModeSilently) {
    TarvexButton& b = Placed(true);
    b.SetGraphicsMode(-1);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(b.GraphicsMode(), 0);
    EXPECT_EQ(b.mGraphicsModeSetting, -1);
    gdi::SetVersionForTesting(Version(2, 4, 0));
    b.SetGraphicsMode(-7);
    EXPECT_EQ(b.GraphicsMode(), 1);
    EXPECT_EQ(b.mGraphicsModeSetting, -7);
}

using OptionValue = ButtonFixture;

TEST_F(OptionValue, ValueIsOnlyStoredUntilTheButtonBecomesAnOptionButton) {
    TarvexButton& a = Placed(true);
    TestHost otherHost;
    otherHost.displayName = "Other";
    otherHost.controls = host.controls;
    host.AddControl("Other");
    TarvexButton other(otherHost);
    other.InitProperties();
    host.controls->back().button = &other;
    other.SetOptionButton(kTrue);
    other.SetValue(kTrue);

    a.SetValue(kTrue);
    EXPECT_EQ(a.Value(), kTrue);
    EXPECT_EQ(other.Value(), kTrue);  // no sweep: a is still a command button
    EXPECT_EQ(host.refreshCount, 0);

    a.SetOptionButton(kTrue);
    EXPECT_EQ(a.Value(), kTrue);
    EXPECT_EQ(other.Value(), kFalse);  // the sweep cleared the group
    EXPECT_TRUE(Notified().empty());
    host.controls->clear();
}

TEST_F(OptionValue, ClearingAnOptionButtonReturnsToTheRestingLook) {
    TarvexButton& b = Placed(true);
    b.SetOptionButton(kTrue);
    b.mButtonState = kStatePressed;
    b.SetValue(kFalse);
    EXPECT_EQ(b.mButtonState, kStateNormal);
    b.mButtonState = kStateHover;
    b.SetOptionButton(kFalse);
    EXPECT_EQ(b.mButtonState, kStateNormal);
}

using IconSet = ButtonFixture;

TEST_F(IconSet, StoresTheIconAndLaysOutWithIt) {
    TarvexButton& b = Placed(true);
    PictureRef icon = SomeIcon();
    b.SetIcon(icon);
    EXPECT_EQ(b.Icon(), icon);
    EXPECT_EQ(b.mIconPresent, kTrue);
    EXPECT_EQ(Notified(), Keys{"BTNICON"});
    b.SetIcon(nullptr);
    EXPECT_EQ(b.mIconPresent, kFalse);
}

TEST_F(IconSet, AFailureDropsTheIconAndTheButtonStillPaints) {
    TarvexButton& b = Placed(true);
    host.propertyChangedFailures = 1;
    EXPECT_NO_THROW(b.SetIcon(SomeIcon()));
    EXPECT_EQ(b.Icon(), nullptr);
    EXPECT_EQ(b.mIconPresent, kFalse);
    EXPECT_GT(host.refreshCount, 0);
}

TEST_F(IconSet, ASecondFailureReachesTheCallerInsteadOfLooping) {
    TarvexButton& b = Placed(true);
    host.refreshThrows = true;
    EXPECT_THROW(b.SetIcon(SomeIcon()), HostError);
    EXPECT_EQ(b.Icon(), nullptr);
    EXPECT_EQ(b.mIconPresent, kFalse);
    EXPECT_LT(host.refreshCount, 10);  // two attempts, then the failure is the caller's
    EXPECT_EQ(b.iconRetryDepth_, 0);
}

using ContainerName = ButtonFixture;

TEST_F(ContainerName, NamesTheFormFrameOrFrameArrayElement) {
    TarvexButton& b = Placed(true);
    EXPECT_EQ(b.Container(), "frmVornik");

    host.AddControl("Opt", 2, "Frame1");
    host.displayName = "Opt(2)";
    EXPECT_EQ(b.Container(), "Frame1");

    host.AddControl("Opt", 3, "Frame2", 4);
    host.displayName = "Opt(2.5)";  // rounds half to even: element 2
    EXPECT_EQ(b.Container(), "Frame1");
    host.displayName = "Opt(3)";
    EXPECT_EQ(b.Container(), "Frame2(4)");
}

TEST_F(ContainerName, AControlTheFormDoesNotKnowIsAnError) {
    TarvexButton& b = Placed(true);
    host.displayName = "Ghost";
    EXPECT_THROW(b.Container(), HostError);
}

using ContainerNotifications = ButtonFixture;

TEST_F(ContainerNotifications, AmbientFontSharesTheFormsFontObject) {
    TarvexButton& b = Placed(true);
    b.AmbientChanged("Font");
    EXPECT_EQ(b.Font(), host.formFont);
    EXPECT_EQ(host.font, host.formFont);
    EXPECT_TRUE(Notified().empty());
    EXPECT_EQ(host.refreshCount, 0);

    b.mFontDirty = 0;
    host.formFont->SetBold(true);  // reaches the caption through the shared object
    EXPECT_EQ(b.mFontDirty, kTrue);
    EXPECT_EQ(Notified(), Keys{"FONT"});
    EXPECT_GT(host.refreshCount, 0);
}

TEST_F(ContainerNotifications, ColourChangesRebuildOnlyWhereTheyMatter) {
    TarvexButton& b = Placed(true);
    b.AmbientChanged("BackColor");
    b.AmbientChanged("Caption");
    EXPECT_EQ(host.refreshCount, 0);

    b.AmbientChanged("ForeColor");
    EXPECT_GT(host.refreshCount, 0);

    host.ClearRecords();
    b.mColorScheme = 4;
    host.formBkColor = 0x00405060;
    b.AmbientChanged("Palette");
    EXPECT_EQ(b.mFaceColor, 0x00405060);
    EXPECT_GT(host.refreshCount, 0);
}

TEST_F(ContainerNotifications, AReplacedFontNoLongerReachesTheButton) {
    TarvexButton& b = Placed(true);
    FontRef first = b.Font();
    FontRef second = FontObject::Create("Arial", 120000);
    b.SetFont(second);
    EXPECT_EQ(b.Font(), second);
    EXPECT_EQ(host.font, second);
    EXPECT_EQ(Notified(), Keys{"FONT"});
    host.ClearRecords();
    first->SetItalic(true);
    EXPECT_TRUE(Notified().empty());
    second->SetItalic(true);
    EXPECT_EQ(Notified(), Keys{"FONT"});
    EXPECT_THROW(b.SetFont(nullptr), HostError);
}

using Creation = ButtonFixture;

TEST_F(Creation, CreationStepThenNewInstanceDefaults) {
    host.displayName = "";
    host.name = "TarvexButton7";
    host.ambientFont = FontObject::Create("Tahoma", 90000);
    TarvexButton b(host);
    EXPECT_EQ(b.mLastMouseButton, 1);
    EXPECT_EQ(b.mRedrawFlag, 0);
    EXPECT_EQ(b.mButtonType, 0);
    EXPECT_EQ(host.hoverInterval, 100);
    EXPECT_FALSE(host.hoverEnabled);

    b.InitProperties();
    EXPECT_EQ(b.Caption(), "TarvexButton7");
    EXPECT_EQ(b.Font()->Name(), "Times New Roman");
    EXPECT_EQ(b.Font()->SizeTenThousandths(), 90000);
    EXPECT_EQ(host.ambientFont->Name(), "Tahoma");
    EXPECT_EQ(b.Font(), host.font);
    EXPECT_EQ(b.ButtonType(), 2);
    EXPECT_EQ(b.ColorScheme(), 1);
    EXPECT_EQ(b.BackColor(), Sys(gdi::COLOR_BTNFACE));
    EXPECT_EQ(b.ForeColor(), Sys(gdi::COLOR_BTNTEXT));
    EXPECT_EQ(b.MouseOver(), 0);
    EXPECT_EQ(b.EmbossEngraveMid(), 0x00C0C0C0);
    EXPECT_EQ(b.EmbossEngraveShadow(), 0x00FFFFFF);
    EXPECT_EQ(b.GradientStopColor(), 0x00FF0000);
    EXPECT_EQ(b.mGraphicsModeSetting, -1);
    EXPECT_EQ(b.GraphicsMode(), 0);
    EXPECT_EQ(b.ShowFocus(), kTrue);
    EXPECT_EQ(b.Enabled(), kTrue);
    EXPECT_TRUE(host.propertyChanges.empty());
    EXPECT_TRUE(host.accessKeys.empty());
    EXPECT_EQ(host.refreshCount, 0);
}

}  // namespace
}  // namespace tarvex::testing
