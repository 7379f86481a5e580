// The control's public properties through Qt's property system, the way a property browser, a
// form loader or a script reaches them: every write lands in the control's own rules.
#include <QMetaEnum>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QStringList>

#include "ComponentSupport.hpp"
#include "host/qt/PropertyNames.hpp"

namespace tarvex::qt {
namespace {

using testing::RecordedBoxes;
using W = TarvexButtonWidget;

QStringList Keys(const QSignalSpy& spy) {
    QStringList keys;
    for (const QList<QVariant>& call : spy) keys << call.at(0).toString();
    return keys;
}

QMetaProperty Property(const char* name) {
    const QMetaObject& meta = W::staticMetaObject;
    return meta.property(meta.indexOfProperty(name));
}

TEST(QtProperties, EveryPublicPropertyIsAQtPropertyWithItsKindAndFixedValues) {
    ASSERT_EQ(PropertyNames().size(), 28u);
    for (const PropertyName& p : PropertyNames()) {
        const QMetaProperty property = Property(p.qtName);
        ASSERT_TRUE(property.isValid()) << p.qtName;
        // Enabled and Font are the widget's own properties, never declared a second time.
        const bool qwidgets = p.member == "Enabled" || p.member == "Font";
        EXPECT_EQ(property.enclosingMetaObject(),
                  qwidgets ? &QWidget::staticMetaObject : &W::staticMetaObject)
            << p.qtName;
        // Container and hwnd are computed and read-only; every stored setting can be written.
        EXPECT_EQ(property.isWritable(), !p.key.empty()) << p.qtName;
    }
    for (const char* colour : {"backColor", "foreColor", "mouseOver", "embossEngraveMid",
                               "embossEngraveShadow", "gradientStartColor", "gradientStopColor"})
        EXPECT_EQ(Property(colour).metaType(), QMetaType::fromType<QColor>()) << colour;
    EXPECT_EQ(Property("icon").metaType(), QMetaType::fromType<QPixmap>());
    EXPECT_EQ(Property("mouseIcon").metaType(), QMetaType::fromType<QPixmap>());
    EXPECT_EQ(Property("font").metaType(), QMetaType::fromType<QFont>());

    const auto value = [](const char* property, const char* key) {
        const QMetaProperty p = Property(property);
        return p.isEnumType() ? p.enumerator().keyToValue(key) : -100;
    };
    EXPECT_EQ(value("buttonType", "FramedBevel"), 1);
    EXPECT_EQ(value("buttonType", "SoftFrame"), 8);
    EXPECT_EQ(value("colorScheme", "CustomGradient"), 5);
    EXPECT_EQ(value("alignment", "AlignRight"), 2);
    EXPECT_EQ(value("iconSize", "Size32"), 4);
    EXPECT_EQ(value("graphicsMode", "Automatic"), -1);
    EXPECT_EQ(value("gradientOrientation", "BottomToTop"), 3);
    EXPECT_EQ(value("mousePointer", "Custom"), 99);

    // The control's eight events are the widget's signals.
    for (const char* signal : {"clicked()", "mouseDown(int,int,float,float)",
                               "mouseMove(int,int,float,float)", "mouseUp(int,int,float,float)",
                               "keyPress(int)", "keyDown(int,int)", "keyUp(int,int)", "mouseOut()"})
        EXPECT_GE(W::staticMetaObject.indexOfSignal(signal), 0) << signal;
}

class PropertyWrites : public ::testing::Test {
  protected:
    void SetUp() override {
        form.setObjectName("frmTest");
        widget = new W(&form, "CmdTest");  // new-instance defaults, run mode
        widget->resize(90, 30);
        form.show();
    }
    void TearDown() override { gdi::ResetSysColors(); }

    RecordedBoxes boxes;
    QWidget form;
    W* widget = nullptr;
};

TEST_F(PropertyWrites, RunModeFreezesTheLookAndRefusesColoursTheSchemeDoesNotTake) {
    const OleColor back = ButtonOf(*widget).BackColor();
    EXPECT_TRUE(widget->setProperty("buttonType", QVariant::fromValue(W::ButtonType::Shaded)));
    EXPECT_TRUE(widget->setProperty("colorScheme", QVariant::fromValue(W::ColorScheme::FixedGrey)));
    EXPECT_TRUE(widget->setProperty("backColor", QColor(1, 2, 3)));
    EXPECT_EQ(widget->property("buttonType").value<W::ButtonType>(), W::ButtonType::Classic);
    EXPECT_EQ(ButtonOf(*widget).ColorScheme(), 1);
    EXPECT_EQ(ButtonOf(*widget).BackColor(), back);

    // What run mode lets change still changes, with its side effects on the widget.
    EXPECT_TRUE(widget->setProperty("enabled", false));
    EXPECT_EQ(ButtonOf(*widget).Enabled(), kFalse);
    EXPECT_FALSE(widget->isEnabled());
    EXPECT_TRUE(widget->setProperty("caption", QStringLiteral("&Go")));
    EXPECT_EQ(ButtonOf(*widget).Caption(), "&Go");
    EXPECT_EQ(ButtonOf(*widget).mAccessKeyPos, 1);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(12);
    font.setItalic(true);
    EXPECT_TRUE(widget->setProperty("font", font));
    EXPECT_EQ(ButtonOf(*widget).Font()->Name(), "DejaVu Sans");
    EXPECT_EQ(ButtonOf(*widget).Font()->SizeTenThousandths(), 120000);
    EXPECT_TRUE(widget->property("font").value<QFont>().italic());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(PropertyWrites, DesignModeChecksRangesNotifiesAndTranslatesSystemColours) {
    SetUserMode(*widget, false);
    QSignalSpy changed(widget, &W::propertyChanged);

    // An integer out of the enumeration's range is ignored silently.
    EXPECT_TRUE(widget->setProperty("alignment", 3));
    EXPECT_TRUE(widget->setProperty("iconSize", 5));
    EXPECT_EQ(ButtonOf(*widget).Alignment(), 1);
    EXPECT_EQ(ButtonOf(*widget).IconSize(), 2);
    EXPECT_TRUE(changed.isEmpty());
    EXPECT_TRUE(widget->setProperty("alignment", QVariant::fromValue(W::Alignment::AlignRight)));
    EXPECT_EQ(ButtonOf(*widget).Alignment(), 2);
    EXPECT_EQ(Keys(changed), QStringList{"ALIGN"});

    // A system colour is translated at once: the explicit colour the desktop gives it now.
    gdi::SysColorTable table = gdi::ClassicSysColors();
    table[gdi::COLOR_BTNTEXT] = gdi::RGB(0x12, 0x34, 0x56);
    gdi::SetSysColorTable(table);
    changed.clear();
    EXPECT_TRUE(widget->setProperty("foreColor", QVariant::fromValue(SystemColor{18})));
    EXPECT_EQ(ButtonOf(*widget).ForeColor(), OleColor(gdi::RGB(0x12, 0x34, 0x56)));
    EXPECT_EQ(widget->property("foreColor").value<QColor>(), QColor(0x12, 0x34, 0x56));
    // Under the system scheme the colour switched the scheme to custom colours first.
    EXPECT_EQ(ButtonOf(*widget).ColorScheme(), 2);
    EXPECT_EQ(Keys(changed), (QStringList{"COLTYPE", "BCOL", "FCOLO", "FCOL"}));

    // The design-time refusal of a gradient on the soft-frame look.
    EXPECT_TRUE(widget->setProperty("buttonType", QVariant::fromValue(W::ButtonType::SoftFrame)));
    EXPECT_TRUE(widget->setProperty("gradientStartColor", QColor(Qt::red)));
    EXPECT_EQ(ButtonOf(*widget).GradientStartColor(), 0);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text,
              "This option is not available for Windowx XP or Machintosh style buttons");
}

TEST(QtWayWidget, TakesItsSettingsAsAStoredSetUntilShownThenFollowsTheRunModeRules) {
    QWidget form;
    auto* widget = new W(&form);
    EXPECT_TRUE(IsLoading(*widget));
    widget->setObjectName("CmdMade");
    EXPECT_EQ(widget->caption(), "CmdMade");  // an absent caption is the control's name
    widget->setButtonType(W::ButtonType::Shaded);
    widget->setColorScheme(W::ColorScheme::CustomColors);
    widget->setBackColor(QColor(1, 2, 3));
    widget->setGraphicsMode(W::GraphicsMode::Advanced);
    EXPECT_EQ(ButtonOf(*widget).ButtonType(), 3);
    EXPECT_EQ(ButtonOf(*widget).ColorScheme(), 2);
    EXPECT_EQ(ButtonOf(*widget).BackColor(), OleColor(gdi::RGB(1, 2, 3)));
    EXPECT_EQ(ButtonOf(*widget).mFaceColor, OleColor(gdi::RGB(1, 2, 3)));  // palette rebuilt

    form.show();
    EXPECT_FALSE(IsLoading(*widget));
    widget->setButtonType(W::ButtonType::Classic);
    widget->setCaption(QStringLiteral("Go"));
    EXPECT_EQ(ButtonOf(*widget).ButtonType(), 3);
    EXPECT_EQ(widget->caption(), "Go");
}

TEST(QtWayWidget, ShownInDesignModeWithNothingStoredItIsANewInstance) {
    QWidget form;
    auto* widget = new W(&form);
    SetUserMode(*widget, false);
    widget->setObjectName("tarvexButton");
    form.show();
    EXPECT_EQ(ButtonOf(*widget).Font()->Name(), "Times New Roman");
    EXPECT_EQ(ButtonOf(*widget).mGraphicsModeSetting, -1);
    EXPECT_EQ(widget->caption(), "tarvexButton");
}

}  // namespace
}  // namespace tarvex::qt
