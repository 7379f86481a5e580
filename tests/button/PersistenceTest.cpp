// The saved property set: conversions, reading with defaults, the stop on a bad value, writing
// in order, and the main window's three stored buttons.
#include <gtest/gtest.h>

#include "ButtonFixture.hpp"
#include "button/FormLayout.hpp"
#include "button/PropertyBag.hpp"

namespace tarvex::testing {
namespace {

using Keys = std::vector<std::string>;

Keys KeysOf(const PropertyBag& bag) {
    Keys k;
    for (const auto& e : bag.Entries()) k.push_back(e.first);
    return k;
}

TEST(PropertyBagConversions, KeysIgnoreCaseAndNumbersConvertToTheReadersKind) {
    PropertyBag bag;
    bag.WriteInt32("btype", 8);
    bag.WriteInt32("ENAB", 5);
    bag.WriteString("Count", " 12.5 ");
    bag.WriteString("Flag", "True");
    bag.WriteString("Fraction", "0.4");
    bag.WriteBoolean("showf", kTrue);
    EXPECT_EQ(bag.ReadInt32("BTYPE", 2), 8);
    EXPECT_EQ(bag.ReadBoolean("enab", kFalse), kTrue);  // any non-zero number is -1
    EXPECT_EQ(bag.ReadInt32("COUNT", 0), 12);           // halves round to even
    EXPECT_EQ(bag.ReadBoolean("flag", kFalse), kTrue);
    EXPECT_EQ(bag.ReadBoolean("FRACTION", kFalse), kTrue);  // non-zero, though it rounds to 0
    EXPECT_EQ(bag.ReadInt32("SHOWF", 0), -1);
    EXPECT_EQ(bag.ReadString("btype", ""), "8");
    EXPECT_EQ(bag.ReadInt16("missing", 7), 7);

    bag.WriteInt32("BTYPE", 3);  // replaces, keeping its place
    EXPECT_EQ(KeysOf(bag), (Keys{"BTYPE", "ENAB", "Count", "Flag", "Fraction", "showf"}));
}

TEST(PropertyBagConversions, ValuesThatDoNotConvertNameTheirKey) {
    PropertyBag bag;
    bag.WriteString("BTYPE", "eight");
    bag.WriteInt32("MPTR", 70000);
    bag.WritePicture("MICON", std::make_shared<Picture>(gdi::Surface(2, 2), kPicTypeIcon));
    bag.WriteInt32("FONT", 3);
    auto expectError = [&](auto read, const std::string& key) {
        try {
            read();
            ADD_FAILURE() << key << " read without error";
        } catch (const HostError& e) {
            EXPECT_NE(std::string(e.what()).find("\"" + key + "\""), std::string::npos) << e.what();
        }
    };
    expectError([&] { return bag.ReadInt32("btype", 2); }, "btype");
    expectError([&] { return bag.ReadBoolean("BTYPE", 0); }, "BTYPE");
    expectError([&] { return bag.ReadInt16("MPTR", 0); }, "MPTR");
    expectError([&] { return bag.ReadInt32("MICON", 0); }, "MICON");
    expectError([&] { return bag.ReadFont("FONT", nullptr); }, "FONT");
}

// Text is a number only once: one sign, digits, and nothing else. A number past any integer
// range is named as it was written, not as what a cast to 64 bits would make of it.
TEST(PropertyBagConversions, NumbersInTextAreReadStrictlyAndOutOfRangeOnesNamedAsWritten) {
    PropertyBag bag;
    auto message = [&](const std::string& text) -> std::string {
        bag.WriteString("BTYPE", text);
        try {
            bag.ReadInt32("BTYPE", 2);
        } catch (const HostError& e) {
            return e.what();
        }
        return "read without error";
    };
    EXPECT_EQ(message("+-5"),
              "property \"BTYPE\": the text \"+-5\" is not a number (32-bit integer expected)");
    EXPECT_NE(message("++5").find("is not a number"), std::string::npos);
    EXPECT_NE(message("-+5").find("is not a number"), std::string::npos);
    EXPECT_EQ(message("1e308"),
              "property \"BTYPE\": the value 1e+308 does not fit a 32-bit integer");
    EXPECT_EQ(message("-1e308"),
              "property \"BTYPE\": the value -1e+308 does not fit a 32-bit integer");
    EXPECT_EQ(message("-9223372036854775808"),
              "property \"BTYPE\": the value -9223372036854775808 does not fit a 32-bit integer");
    EXPECT_EQ(message("2147483648"),
              "property \"BTYPE\": the value 2147483648 does not fit a 32-bit integer");
    bag.WriteString("BTYPE", "+5");
    EXPECT_EQ(bag.ReadInt32("BTYPE", 2), 5);
    bag.WriteString("BTYPE", "+-5");
    EXPECT_THROW(bag.ReadBoolean("BTYPE", 0), HostError);
}

TEST(PropertyBagConversions, AnEmptyPictureIsLeftOutAndReplacesNothingStale) {
    PropertyBag bag;
    bag.WritePicture("BTNICON", std::make_shared<Picture>(gdi::Surface(2, 2), kPicTypeIcon));
    EXPECT_TRUE(bag.Contains("btnicon"));
    bag.WritePicture("BTNICON", nullptr);
    EXPECT_FALSE(bag.Contains("BTNICON"));
}

TEST(PropertyBagConversions, AStoredFontIsASnapshot) {
    PropertyBag bag;
    FontRef font = FontObject::Create("Arial", 100000);
    bag.WriteFont("FONT", font);
    font->SetBold(true);
    FontRef a = bag.ReadFont("FONT", nullptr);
    FontRef b = bag.ReadFont("FONT", nullptr);
    EXPECT_FALSE(a->Bold());
    EXPECT_NE(a, b);  // each reader gets its own object
    EXPECT_EQ(a->Name(), "Arial");
}

using Reading = ButtonFixture;

TEST_F(Reading, ASetWithNoKeysGivesTheDefaults) {
    host.name = "Cmd1";
    TarvexButton b(host);
    FontRef current = host.font;
    b.ReadProperties(PropertyBag{});
    EXPECT_EQ(b.ButtonType(), 2);
    EXPECT_EQ(b.ColorScheme(), 1);
    EXPECT_EQ(b.Caption(), "Cmd1");
    EXPECT_EQ(b.Font(), current);
    EXPECT_EQ(b.BackColor(), Sys(gdi::COLOR_BTNFACE));
    EXPECT_EQ(b.ForeColor(), Sys(gdi::COLOR_BTNTEXT));
    EXPECT_EQ(b.MouseOver(), Sys(gdi::COLOR_BTNTEXT));
    EXPECT_EQ(b.EmbossEngraveMid(), b.BackColor());
    EXPECT_EQ(b.GradientStopColor(), 0x00FF0000);
    EXPECT_EQ(b.Alignment(), 1);
    EXPECT_EQ(b.IconSize(), 2);
    EXPECT_EQ(b.ShowFocus(), kTrue);
    EXPECT_EQ(b.Enabled(), kTrue);
    EXPECT_EQ(b.Icon(), nullptr);
    EXPECT_EQ(b.mIconPresent, kFalse);
    EXPECT_EQ(b.mGraphicsModeSetting, 0);
    EXPECT_EQ(b.GraphicsMode(), 0);
    EXPECT_TRUE(host.propertyChanges.empty());
    EXPECT_EQ(host.refreshCount, 0);
}

TEST_F(Reading, DefaultColoursAreTheSystemsAtReadingTime) {
    auto table = gdi::ClassicSysColors();
    table[gdi::COLOR_BTNFACE] = 0x00112233;
    table[gdi::COLOR_BTNTEXT] = 0x00445566;
    table[gdi::COLOR_BTNHIGHLIGHT] = 0x00778899;
    gdi::SetSysColorTable(table);
    TarvexButton b(host);
    PropertyBag bag;
    bag.WriteInt32("COLTYPE", 2);  // custom: the palette keeps the emboss colours as read
    b.ReadProperties(bag);
    EXPECT_EQ(b.BackColor(), 0x00112233);
    EXPECT_EQ(b.ForeColor(), 0x00445566);
    EXPECT_EQ(b.MouseOver(), 0x00445566);
    EXPECT_EQ(b.EmbossEngraveMid(), 0x00112233);
    EXPECT_EQ(b.EmbossEngraveShadow(), 0x00778899);
}

TEST_F(Reading, ValuesAreTakenAsStoredWithoutRangeChecks) {
    TarvexButton b(host);
    PropertyBag bag;
    bag.WriteInt32("BTYPE", 9);
    bag.WriteInt32("optval", 2);
    bag.WriteInt32("OPTMOD", -5);
    bag.WriteBoolean("ENAB", kFalse);
    bag.WriteInt32("GMODE", 2);
    bag.WriteString("Unknown", "kept out");
    host.userMode = false;
    b.ReadProperties(bag);
    EXPECT_EQ(b.ButtonType(), 9);
    EXPECT_EQ(b.Value(), kTrue);
    EXPECT_EQ(b.OptionButton(), kTrue);
    EXPECT_EQ(b.Enabled(), kFalse);
    EXPECT_FALSE(host.enabled);  // the base control follows, nothing paints
    EXPECT_EQ(host.refreshCount, 0);
    EXPECT_EQ(b.GraphicsMode(), 2);
    EXPECT_TRUE(host.propertyChanges.empty());
}

TEST_F(Reading, GraphicsModeAndGradientSchemeDependOnTheSystem) {
    PropertyBag bag;
    bag.WriteInt32("COLTYPE", 5);
    bag.WriteInt32("GMODE", -1);
    {
        gdi::SetVersionForTesting(Version(2, 3, 51));
        TarvexButton b(host);
        b.ReadProperties(bag);
        EXPECT_EQ(b.ColorScheme(), 2);  // restricted system: the plain custom scheme
        EXPECT_EQ(b.mGraphicsModeSetting, -1);
        EXPECT_EQ(b.GraphicsMode(), 2);
    }
    {
        gdi::SetVersionForTesting(Version(2, 5, 1));
        TarvexButton b(host);
        b.ReadProperties(bag);
        EXPECT_EQ(b.ColorScheme(), 5);
        EXPECT_EQ(b.GraphicsMode(), 0);
    }
}

TEST_F(Reading, TextUnderBtypeStopsTheReadAtOnce) {
    TarvexButton b(host);
    PropertyBag bag;
    bag.WriteString("BTYPE", "eight");
    bag.WriteString("TX", "Change");
    bag.WriteBoolean("ENAB", kFalse);
    try {
        b.ReadProperties(bag);
        FAIL() << "read without error";
    } catch (const HostError& e) {
        EXPECT_NE(std::string(e.what()).find("\"BTYPE\""), std::string::npos) << e.what();
    }
    EXPECT_EQ(b.ButtonType(), 0);  // creation values stay
    EXPECT_EQ(b.Caption(), "");
    EXPECT_TRUE(host.enabled);
}

TEST_F(Reading, AStopHalfwayKeepsWhatWasReadAndSkipsTheFinalSteps) {
    TarvexButton b(host);
    PropertyBag bag;
    bag.WriteInt32("BTYPE", 4);
    bag.WriteString("TX", "&Go");
    bag.WriteBoolean("ENAB", kFalse);
    bag.WriteString("COLTYPE", "custom");
    bag.WriteInt32("BCOL", 0x123456);
    EXPECT_THROW(b.ReadProperties(bag), HostError);
    EXPECT_EQ(b.ButtonType(), 4);
    EXPECT_EQ(b.Caption(), "&Go");
    EXPECT_EQ(b.Enabled(), kFalse);
    EXPECT_EQ(b.ColorScheme(), 0);
    EXPECT_EQ(b.BackColor(), 0);
    EXPECT_TRUE(host.enabled);             // step 16 did not run
    EXPECT_TRUE(host.accessKeys.empty());  // no access key registered
    EXPECT_EQ(b.mFaceColor, 0);            // no palette
}

using Writing = ButtonFixture;

TEST_F(Writing, AllKeysInOrderAndAMissingIconLeftOut) {
    TarvexButton& b = Placed(true);
    host.mouseIcon = std::make_shared<Picture>(gdi::Surface(2, 2), kPicTypeIcon);
    PropertyBag bag;
    b.WriteProperties(bag);
    EXPECT_EQ(KeysOf(bag),
              (Keys{"BTYPE",  "TX",      "ENAB",     "FONT",  "COLTYPE", "BCOL",   "FCOL",
                    "FCOLO",  "EMBOSSM", "EMBOSSS",  "MPTR",  "MICON",   "ALIGN",  "ICONAlign",
                    "ORIENT", "STYLE",   "IconSize", "SHOWF", "BSTYLE",  "OPTVAL", "OPTMOD",
                    "GStart", "GStop",   "GStyle",   "GMODE"}));
    EXPECT_EQ(bag.ReadPicture("MICON", nullptr), host.mouseIcon);
    EXPECT_EQ(bag.ReadInt32("GMODE", 0), -1);  // the setting, not the effective mode
}

TEST_F(Writing, ARoundTripReproducesEveryStoredMember) {
    host.scaleWidth = 200;  // room for the icon beside the caption
    host.scaleHeight = 60;
    TarvexButton& a = Placed(true);
    a.SetButtonType(5);
    a.SetButtonStyle(2);
    a.SetCaption("&Apply");
    a.SetGradientStartColor(0x00102030);  // switches to the gradient scheme
    a.SetGradientStopColor(0x00405060);
    a.SetBackColor(0x00708090);
    a.SetForeColor(0x00A0B0C0);
    a.SetMouseOver(0x00D0E0F0);
    a.SetEmbossEngraveMid(0x00010203);
    a.SetEmbossEngraveShadow(0x00040506);
    a.SetCaptionStyle(3);
    a.SetAlignment(0);
    a.SetIconAlignmentValue(1);
    a.SetIconSize(3);
    a.SetShowFocus(kFalse);
    a.SetGradientOrientation(3);
    a.SetMousePointer(2);
    a.SetOptionButton(kTrue);
    a.SetEnabled(kFalse);
    FontRef font = FontObject::Create("Arial", 120000);
    font->SetBold(true);
    font->SetUnderline(true);
    a.SetFont(font);
    auto icon = std::make_shared<Picture>(gdi::Surface(16, 16), kPicTypeIcon);
    a.SetIcon(icon);
    host.messageAnswers.push_back(vbOK);
    a.SetGraphicsMode(1);

    PropertyBag bag;
    a.WriteProperties(bag);
    EXPECT_EQ(bag.size(), 26u - 1u);  // no mouse icon

    TestHost otherHost;
    TarvexButton b(otherHost);
    b.ReadProperties(bag);
    EXPECT_EQ(b.mButtonType, 5);
    EXPECT_EQ(b.mButtonStyle, 2);
    EXPECT_EQ(b.mCaption, "&Apply");
    EXPECT_EQ(b.mColorScheme, 5);
    EXPECT_EQ(b.mBackColor, 0x00708090);
    EXPECT_EQ(b.mForeColor, 0x00A0B0C0);
    EXPECT_EQ(b.mHoverForeColor, 0x00D0E0F0);
    EXPECT_EQ(b.mEmbossMidColor, 0x00010203);
    EXPECT_EQ(b.mEmbossShadowColor, 0x00040506);
    EXPECT_EQ(b.mGradientStart, 0x00102030);
    EXPECT_EQ(b.mGradientStop, 0x00405060);
    EXPECT_EQ(b.mGradientOrientation, 3);
    EXPECT_EQ(b.mCaptionStyle, 3);
    EXPECT_EQ(b.mAlignment, 0);
    EXPECT_EQ(b.mIconAlignment, 1);
    EXPECT_EQ(b.mIconSize, 3);
    EXPECT_EQ(b.mShowFocus, kFalse);
    EXPECT_EQ(b.mOptionButton, kTrue);
    EXPECT_EQ(b.mValue, kFalse);
    EXPECT_EQ(b.mEnabled, kFalse);
    EXPECT_EQ(b.mGraphicsModeSetting, 1);
    EXPECT_EQ(b.mGraphicsMode, 1);
    EXPECT_EQ(b.Icon(), icon);
    EXPECT_EQ(b.mIconPresent, kTrue);
    EXPECT_EQ(otherHost.mousePointer, 2);
    EXPECT_FALSE(otherHost.enabled);
    EXPECT_EQ(b.Font()->Name(), "Arial");
    EXPECT_EQ(b.Font()->SizeTenThousandths(), 120000);
    EXPECT_TRUE(b.Font()->Bold());
    EXPECT_TRUE(b.Font()->Underline());
    EXPECT_EQ(otherHost.font, b.Font());
}

TEST(MainWindowSets, TheThreeStoredButtonsLoadAsTheWindowShowsThem) {
    gdi::ResetSysColors();
    const FormLayout layout =
        ReadFormLayout(std::filesystem::path(VORNIK_RESOURCES_DIR) / "frmVornik.layout.json");
    struct Expected {
        const char* name;
        const char* caption;
        OleColor back;
    };
    for (const Expected& e : {Expected{"CmdChange", "Change", 0x00F8F1ED},
                              Expected{"TarvexButton1", "Help / About", 0x00F8F1ED},
                              Expected{"CmdBrowse", "...", 0x00C0C0C0}}) {
        const LayoutControl* control = layout.Find(e.name);
        ASSERT_NE(control, nullptr) << e.name;
        EXPECT_EQ(control->kind, "TarvexButton");
        EXPECT_FALSE(control->properties.Contains("BTNICON"));
        EXPECT_FALSE(control->properties.Contains("GMODE"));
        TestHost host;
        host.name = e.name;
        TarvexButton b(host);
        b.ReadProperties(control->properties);
        EXPECT_EQ(b.ButtonType(), 8) << e.name;
        EXPECT_EQ(b.ColorScheme(), 1);
        EXPECT_EQ(b.Caption(), e.caption);
        EXPECT_EQ(b.Font()->Name(), "Times New Roman");
        EXPECT_EQ(b.Font()->SizeTenThousandths(), 82500);
        EXPECT_FALSE(b.Font()->Bold());
        EXPECT_FALSE(b.Font()->Italic());
        EXPECT_EQ(b.BackColor(), e.back);  // stored, unused while the scheme is the system's
        EXPECT_EQ(b.mFaceColor, Sys(gdi::COLOR_BTNFACE));
        EXPECT_EQ(b.GradientStopColor(), 0x00FF0000);
        EXPECT_EQ(b.IconSize(), 2);
        EXPECT_EQ(b.Alignment(), 1);
        EXPECT_EQ(b.Enabled(), kTrue);
        EXPECT_EQ(b.ShowFocus(), kTrue);
        EXPECT_EQ(b.Icon(), nullptr);
        EXPECT_EQ(b.mIconPresent, kFalse);
        EXPECT_EQ(host.mouseIcon, nullptr);
    }
}

}  // namespace
}  // namespace tarvex::testing
