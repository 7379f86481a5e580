// The button as a Qt developer meets it, through Qt's own interfaces only: a QWidget pointer, a
// disabled group box, QWidget::setFont, a new application palette, a real layout beside a
// QPushButton, QMetaProperty and QSignalSpy.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <map>
#include <set>

#include "button/PropertyBag.hpp"
#include "button/render/CaptionFontDescription.hpp"
#include "button/render/RenderOptions.hpp"
#include "host/qt/TarvexButtonWidget.hpp"

namespace tarvex::qt {
namespace {

using W = TarvexButtonWidget;

constexpr QRgb kFace = 0xFFC0C0C0;
constexpr QRgb kShadow = 0xFF808080;
constexpr QRgb kHighlight = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

using Points = std::set<std::pair<int, int>>;

// The pixels of one colour inside the frames (two pixels each side) of a button's image.
Points PixelsOf(const QImage& image, QRgb colour) {
    Points points;
    for (int y = 2; y < image.height() - 2; ++y)
        for (int x = 2; x < image.width() - 2; ++x)
            if (image.pixel(x, y) == colour) points.insert({x, y});
    return points;
}

std::set<QRgb> ColoursInside(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 2; y < image.height() - 2; ++y)
        for (int x = 2; x < image.width() - 2; ++x) colours.insert(image.pixel(x, y));
    return colours;
}

QImage Shown(W* w) {
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class QtWidget : public ::testing::Test {
  protected:
    void SetUp() override {
        SetCaptionFontQuality(gdi::NONANTIALIASED_QUALITY);
        form.setObjectName("frmTest");
        form.resize(300, 200);
        group = new QGroupBox(&form);
        group->setObjectName("Frame1");
        group->setGeometry(10, 10, 200, 150);
    }
    void TearDown() override { SetCaptionFontQuality(gdi::DEFAULT_QUALITY); }

    W* AddButton(const QString& name, const QString& caption, QWidget* parent) {
        auto* w = new W(parent, name);
        w->setGeometry(10, 20, 81, 25);
        w->setFocusPolicy(Qt::NoFocus);  // no focus frame in the pictures
        w->setCaption(caption);
        return w;
    }
    void Show() {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    static int ClickAndCount(W* w) {
        QSignalSpy clicks(w, &W::clicked);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(40, 12));
        return int(clicks.count());
    }

    QWidget form;
    QGroupBox* group = nullptr;
};

// The classic look, disabled, etches its caption: the highlight one pixel down and right, the
// shadow colour on the glyph's own pixels; frames and face stay as they were.
void ExpectEtchedFrom(const QImage& enabled, const QImage& disabled) {
    const Points ink = PixelsOf(enabled, kBlack);
    ASSERT_FALSE(ink.empty());
    EXPECT_EQ(ColoursInside(enabled), (std::set<QRgb>{kFace, kBlack}));
    EXPECT_EQ(PixelsOf(disabled, kShadow), ink);
    Points etch;
    for (const auto& [x, y] : ink)
        if (!ink.count({x + 1, y + 1})) etch.insert({x + 1, y + 1});
    EXPECT_EQ(PixelsOf(disabled, kHighlight), etch);
    EXPECT_EQ(ColoursInside(disabled), (std::set<QRgb>{kFace, kShadow, kHighlight}));
    for (const QPoint p : {QPoint(0, 0), QPoint(80, 0), QPoint(0, 24), QPoint(80, 24), QPoint(1, 1),
                           QPoint(79, 23), QPoint(40, 0), QPoint(40, 23)})
        EXPECT_EQ(disabled.pixel(p), enabled.pixel(p)) << p.x() << "," << p.y();
}

TEST_F(QtWidget, DisabledThroughAQWidgetPointerOrAParentItLooksDisabledAndTakesNoClick) {
    W* button = AddButton("CmdGo", "Go", group);
    Show();
    const QImage enabled = Shown(button);
    // The raised bevel one pixel in: highlight top left, dark shadow bottom right.
    EXPECT_EQ(enabled.pixel(0, 0), kFace);
    EXPECT_EQ(enabled.pixel(1, 1), kHighlight);
    EXPECT_EQ(enabled.pixel(80, 24), kBlack);
    EXPECT_EQ(enabled.pixel(79, 23), kShadow);

    // Generic code disabling a form's children holds QWidget pointers.
    QWidget* generic = button;
    generic->setEnabled(false);
    EXPECT_FALSE(button->property("enabled").toBool());
    EXPECT_EQ(ButtonOf(*button).Enabled(), kFalse);
    const QImage ownSetting = Shown(button);
    ExpectEtchedFrom(enabled, ownSetting);
    EXPECT_EQ(ClickAndCount(button), 0);
    generic->setEnabled(true);
    EXPECT_EQ(Shown(button), enabled);

    // A group box switched off greys what it holds; the button's own setting stays (Qt's
    // "enabled" reads isEnabled(), as for every widget).
    group->setEnabled(false);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(button->testAttribute(Qt::WA_ForceDisabled));
    EXPECT_EQ(ButtonOf(*button).Enabled(), kTrue);
    EXPECT_EQ(Shown(button), ownSetting);
    EXPECT_EQ(ClickAndCount(button), 0);
    group->setEnabled(true);
    EXPECT_EQ(Shown(button), enabled);
    EXPECT_EQ(ClickAndCount(button), 1);

    // The control's own property procedure reaches the same state.
    ButtonOf(*button).SetEnabled(kFalse);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(Shown(button), ownSetting);
}

TEST_F(QtWidget, AFontSetThroughAQWidgetPointerIsTheCaptionFontBothWays) {
    W* button = AddButton("CmdGo", "Go", group);
    Show();
    const std::size_t plainInk = PixelsOf(Shown(button), kBlack).size();

    QFont large(QStringLiteral("DejaVu Sans"));
    large.setPointSizeF(14);
    large.setBold(true);
    static_cast<QWidget*>(button)->setFont(large);
    const FontRef caption = ButtonOf(*button).Font();
    EXPECT_EQ(caption->Name(), "DejaVu Sans");
    EXPECT_EQ(caption->SizeTenThousandths(), 140000);
    EXPECT_TRUE(caption->Bold());
    EXPECT_GT(PixelsOf(Shown(button), kBlack).size(), 2 * plainInk);

    // A font the control takes by its own rules is what QWidget::font() reads.
    ButtonOf(*button).SetFont(FontObject::Create("DejaVu Serif", 100000));
    EXPECT_EQ(button->font().family(), "DejaVu Serif");
    EXPECT_DOUBLE_EQ(button->font().pointSizeF(), 10.0);
    EXPECT_FALSE(button->font().bold());
}

TEST_F(QtWidget, ANewApplicationPaletteRedrawsSystemColourButtonsOnly) {
    const QPalette original = QApplication::palette();
    UseClassicSystemColors(false);
    W* system = AddButton("CmdSystem", "", &form);
    W* custom = AddButton("CmdCustom", "", &form);
    custom->move(10, 60);
    SetUserMode(*custom, false);
    custom->setColorScheme(W::CustomColors);
    custom->setBackColor(QColor(0x33, 0x99, 0xFF));
    SetUserMode(*custom, true);
    Show();
    const QImage customBefore = Shown(custom);
    QSignalSpy customChanges(custom, &W::backColorChanged);

    // The desktop switches to dark while the program runs.
    QPalette dark = original;
    dark.setColor(QPalette::Button, QColor(0x30, 0x31, 0x32));
    dark.setColor(QPalette::Light, QColor(0x50, 0x51, 0x52));
    dark.setColor(QPalette::Shadow, QColor(0x01, 0x02, 0x03));
    QApplication::setPalette(dark);
    QCoreApplication::processEvents();
    const QImage systemAfter = Shown(system);
    EXPECT_EQ(systemAfter.pixel(40, 12), 0xFF303132);  // the face
    EXPECT_EQ(systemAfter.pixel(1, 1), 0xFF505152);    // the highlight's edge
    EXPECT_EQ(systemAfter.pixel(80, 24), 0xFF010203);  // the dark shadow's
    EXPECT_EQ(Shown(custom), customBefore);
    EXPECT_EQ(customBefore.pixel(40, 12), 0xFF3399FF);
    EXPECT_TRUE(customChanges.isEmpty());

    // The classic colours, asked for once, hold whatever the palette.
    UseClassicSystemColors();
    EXPECT_EQ(Shown(system).pixel(40, 12), kFace);
    QApplication::setPalette(original);
    QCoreApplication::processEvents();
    EXPECT_EQ(Shown(system).pixel(40, 12), kFace);
}

TEST_F(QtWidget, InALayoutBesideAQPushButtonTheWholeCaptionStaysOnOneLine) {
    const QString text = QStringLiteral("Go ahead now");
    auto* row = new QWidget(&form);
    auto* layout = new QHBoxLayout(row);
    auto* push = new QPushButton(text, row);
    auto* button = new W(row, "CmdGo");
    button->setCaption(text);
    layout->addWidget(push);
    layout->addWidget(button);
    row->move(0, 0);
    Show();
    row->adjustSize();
    QCoreApplication::processEvents();

    const QSize hint = button->sizeHint();
    EXPECT_GE(button->width(), hint.width());
    EXPECT_EQ(button->height(), hint.height());
    EXPECT_EQ(ButtonOf(*button).mCaptionLines.size(), 1u);
    EXPECT_GT(hint.width(), 81);  // wider than the classic default size, which wraps this text
    EXPECT_LE(std::abs(hint.height() - push->sizeHint().height()), 8);

    // A longer caption asks the layout again.
    button->setCaption(text + QStringLiteral(" and again"));
    QCoreApplication::processEvents();
    row->adjustSize();
    QCoreApplication::processEvents();
    EXPECT_GT(button->sizeHint().width(), hint.width());
    EXPECT_GE(button->width(), button->sizeHint().width());
    EXPECT_EQ(ButtonOf(*button).mCaptionLines.size(), 1u);

    // Line breaks add their lines; a vertical caption stands tall.
    gdi::Surface scratch(1, 1);
    gdi::DeviceContext dc(scratch);
    dc.SelectObject(
        gdi::Font::Create(CaptionFontDescription(ButtonOf(*button).Font().get(), 15.0, 0)));
    gdi::TEXTMETRIC tm;
    dc.GetTextMetrics(tm);
    button->setCaption(QStringLiteral("Go"));
    const QSize oneLine = button->sizeHint();
    button->setCaption(QStringLiteral("Go\r\nahead\nnow"));
    EXPECT_EQ(button->sizeHint().height(), oneLine.height() + 2 * tm.tmHeight);
    SetUserMode(*button, false);
    button->setCaptionOrientation(W::VerticalUp);
    button->setCaption(text);
    EXPECT_GT(button->sizeHint().height(), button->sizeHint().width());

    // A widget placed by hand keeps the size it is given.
    auto* placed = new W(&form, "CmdPlaced");
    EXPECT_EQ(placed->size(), QSize(81, 25));
    placed->setGeometry(5, 150, 60, 20);
    placed->setCaption(text);
    EXPECT_EQ(placed->size(), QSize(60, 20));
}

// Every change signal against the property it tells of: how often it came, and with what.
class Recorder {
  public:
    explicit Recorder(W* w) : widget_(w) {
        const QMetaObject& meta = W::staticMetaObject;
        for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
            const QMetaProperty p = meta.property(i);
            if (!p.hasNotifySignal()) continue;
            spies_.emplace(p.name(), std::make_unique<QSignalSpy>(w, p.notifySignal()));
        }
    }
    // The properties told of since the last call, each checked against its value read back.
    std::map<std::string, int> Take() {
        std::map<std::string, int> told;
        for (auto& [name, spy] : spies_) {
            if (spy->isEmpty()) continue;
            told[name] = int(spy->count());
            const QVariant now = widget_->property(name.c_str());
            if (now.metaType() != QMetaType::fromType<QPixmap>()) {
                EXPECT_EQ(spy->last().at(0), now) << name;
            }
            spy->clear();
        }
        return told;
    }

  private:
    W* widget_;
    std::map<std::string, std::unique_ptr<QSignalSpy>> spies_;
};

using Told = std::map<std::string, int>;

TEST_F(QtWidget, EveryPropertyTellsOfEachRealChangeOnceAndOfNoRefusedWrite) {
    const QMetaObject& meta = W::staticMetaObject;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty p = meta.property(i);
        EXPECT_TRUE(p.hasNotifySignal() || p.isConstant()) << p.name();
    }
    W* a = AddButton("OptA", "&Small", group);
    W* b = AddButton("OptB", "&Large", group);
    b->move(100, 20);
    Show();
    Recorder told(a);
    Recorder toldB(b);

    // A running button refuses its look, and a write of the value it holds changes nothing.
    EXPECT_TRUE(a->setProperty("buttonType", QVariant::fromValue(W::Shaded)));
    a->setCaption(QStringLiteral("&Small"));
    EXPECT_EQ(told.Take(), Told{});
    a->setCaption(QStringLiteral("S&mall"));
    EXPECT_EQ(told.Take(), (Told{{"caption", 1}}));

    // An option group: checking one, then clicking the other, which clears the first.
    QSignalSpy toggledA(a, &W::toggled);
    a->setOptionButton(true);
    b->setOptionButton(true);
    EXPECT_EQ(told.Take(), (Told{{"optionButton", 1}}));
    toldB.Take();
    a->setValue(true);
    EXPECT_EQ(told.Take(), (Told{{"value", 1}}));
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(40, 12));
    EXPECT_EQ(toldB.Take(), (Told{{"value", 1}}));
    EXPECT_EQ(told.Take(), (Told{{"value", 1}}));
    EXPECT_FALSE(a->value());
    ASSERT_EQ(toggledA.count(), 2);
    EXPECT_EQ(toggledA.at(1).at(0).toBool(), false);

    // A design-time colour under the system scheme switches the scheme first.
    SetUserMode(*a, false);
    a->setForeColor(QColor(1, 2, 3));
    const Told design = told.Take();
    EXPECT_EQ(design.count("colorScheme"), 1u);
    EXPECT_EQ(design.count("foreColor"), 1u);
    for (const auto& [name, count] : design) EXPECT_EQ(count, 1) << name;
    a->setForeColor(QColor(1, 2, 3));
    EXPECT_EQ(told.Take(), Told{});

    // A stored set read into the control tells of what it changed.
    PropertyBag stored;
    ButtonOf(*a).WriteProperties(stored);
    stored.Write("TX", PropertyValue::String("Stored"));
    stored.Write("BTYPE", PropertyValue::Int32(7));
    LoadProperties(*a, stored);
    EXPECT_EQ(told.Take(), (Told{{"buttonType", 1}, {"caption", 1}}));
}

// A value of the property's kind other than `now`.
QVariant OtherValue(const QMetaProperty& p, const QVariant& now) {
    if (p.isEnumType()) {
        const QMetaEnum e = p.enumerator();
        for (int i = 0; i < e.keyCount(); ++i)
            if (e.value(i) != now.toInt()) return QVariant(e.value(i));
    }
    switch (now.metaType().id()) {
        case QMetaType::Bool:
            return !now.toBool();
        case QMetaType::QColor:
            return now.value<QColor>() == QColor(1, 2, 3) ? QColor(4, 5, 6) : QColor(1, 2, 3);
        case QMetaType::QString:
            return now.toString() + QStringLiteral("x");
        default:
            return {};
    }
}

TEST_F(QtWidget, EveryWritablePropertyTellsOfAChangeOnceAndOfARepeatedWriteNever) {
    const auto boxes = std::make_shared<RecordingMessageBoxService>();
    const auto previous = SetMessageBoxService(boxes);
    W* button = AddButton("CmdAll", "All", group);
    SetUserMode(*button, false);
    Show();
    Recorder told(button);
    const QMetaObject& meta = W::staticMetaObject;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty p = meta.property(i);
        const QVariant before = p.read(button);
        const QVariant other = OtherValue(p, before);
        if (!p.isWritable() || !other.isValid()) continue;
        SCOPED_TRACE(p.name());
        ASSERT_TRUE(p.write(button, other));
        const Told first = told.Take();
        if (p.read(button) != before) {
            EXPECT_EQ(first.count(p.name()), 1u);
        } else {
            EXPECT_EQ(first.count(p.name()), 0u);  // refused: nothing to tell of it
        }
        for (const auto& [name, count] : first) EXPECT_EQ(count, 1) << name;
        ASSERT_TRUE(p.write(button, p.read(button)));
        EXPECT_EQ(told.Take(), Told{});
    }
    SetMessageBoxService(previous);
}

}  // namespace
}  // namespace tarvex::qt
