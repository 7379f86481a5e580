// The window's Change button at display scales 1, 1.5 and 2, on offscreen screens of those device
// pixel ratios: it draws its own pixels at the device size (no enlarged 96-dpi image), its frame
// stays one device pixel wide, its caption font grows, its shape cuts three device pixels per
// corner, the mouse reaches it in device pixels, and its icon keeps its pixel size unless a
// denser frame of it suits the scale. Expected colours are the classic system
// colours the test process draws with (dark frame black, light 0xC0C0C0, shadow 0x808080).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDataStream>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <memory>

#include "button/FormLayout.hpp"
#include "button/render/CaptionFontDescription.hpp"
#include "host/qt/TarvexButtonWidget.hpp"

namespace tarvex::qt {
namespace {

constexpr QRgb kFormColour = 0xFF00FF00;  // a colour no look draws, behind the cut corners
constexpr QRgb kDarkFrame = 0xFF000000;
constexpr QRgb kLight = 0xFFC0C0C0;
constexpr QRgb kShadow = 0xFF808080;
constexpr int kButtonAt = 10;  // logical; a whole device pixel at every ratio tested

struct Scale {
    const char* name;
    const char* screen;
    qreal ratio;
    QSize device;    // the Change button's image
    int fontHeight;  // its caption font at 8.25 pt
};

QScreen* ScreenNamed(const char* name) {
    for (QScreen* s : QGuiApplication::screens())
        if (s->name() == QLatin1String(name)) return s;
    return nullptr;
}

void MoveToScreen(QWidget& form, const char* name) {
    QScreen* screen = ScreenNamed(name);
    ASSERT_NE(screen, nullptr) << "the offscreen platform has no screen " << name;
    form.winId();  // the window exists, so it can be given its screen
    form.windowHandle()->setScreen(screen);
    form.move(screen->geometry().topLeft() + QPoint(40, 40));
    QCoreApplication::processEvents();
}

// The Change button as the window's stored layout describes it: soft-frame look, Times New
// Roman 8.25, system colours, 1215 x 375 twips.
TarvexButtonWidget* AddChangeButton(QWidget& form) {
    static const FormLayout layout = ReadFormLayout(VORNIK_LAYOUT);
    const LayoutControl* stored = layout.Find("CmdChange");
    EXPECT_NE(stored, nullptr);
    auto* button = CreateButtonWidget(&form, "CmdChange", stored->properties);
    button->setGeometry(kButtonAt, kButtonAt, stored->position->width / 15,
                        stored->position->height / 15);
    return button;
}

std::unique_ptr<QWidget> GreenForm() {
    auto form = std::make_unique<QWidget>();
    form->setObjectName("frmVornik");
    QPalette palette = form->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(kFormColour));
    form->setPalette(palette);
    form->setAutoFillBackground(true);
    form->resize(200, 100);
    return form;
}

// The button's device pixels as the window shows them.
class Shown {
  public:
    Shown(QWidget& form, qreal ratio)
        : image_(form.grab().toImage().convertToFormat(QImage::Format_ARGB32)),
          origin_(qRound(kButtonAt * ratio)) {}
    QRgb at(int x, int y) const { return image_.pixel(origin_ + x, origin_ + y); }

  private:
    QImage image_;
    int origin_;
};

// Rows of the face that hold caption ink (dark pixels), first to last; inside the focus cue,
// which the focused button draws four pixels in from its edges.
int InkHeight(const gdi::Surface& s) {
    constexpr int kInsideCue = 5;
    int first = -1;
    int last = -1;
    for (int y = kInsideCue; y < s.height() - kInsideCue; ++y) {
        for (int x = kInsideCue; x < s.width() - kInsideCue; ++x) {
            if (qGreen(QRgb(s.at(x, y))) < 0x60) {
                if (first < 0) first = y;
                last = y;
                break;
            }
        }
    }
    return first < 0 ? 0 : last - first + 1;
}

class DisplayScale : public ::testing::TestWithParam<Scale> {
  protected:
    void SetUp() override {
        form = GreenForm();
        MoveToScreen(*form, GetParam().screen);
        change = AddChangeButton(*form);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        ASSERT_EQ(change->devicePixelRatioF(), GetParam().ratio);
    }
    std::unique_ptr<QWidget> form;
    TarvexButtonWidget* change = nullptr;
};

TEST_P(DisplayScale, ChangeButtonDrawsItsOwnDevicePixels) {
    const Scale& scale = GetParam();
    const gdi::Surface& image = ButtonOf(*change).BackBuffer();
    EXPECT_EQ(QSize(image.width(), image.height()), scale.device);
    EXPECT_EQ(QSize(HostOf(*change).ScaleWidth(), HostOf(*change).ScaleHeight()), scale.device);
    EXPECT_DOUBLE_EQ(HostOf(*change).ExactTwipsPerPixelY(), 15.0 / scale.ratio);
    EXPECT_EQ(CaptionFontDescription(ButtonOf(*change).TextFont.get(),
                                     HostOf(*change).ExactTwipsPerPixelY(), 0)
                  .lfHeight,
              scale.fontHeight);
    const int em = -scale.fontHeight;
    const int ink = InkHeight(image);
    EXPECT_GE(ink, em * 3 / 4) << "caption ink rows";
    EXPECT_LE(ink, em + 1) << "caption ink rows";

    const Shown shown(*form, scale.ratio);
    const int W = scale.device.width();
    const int H = scale.device.height();
    // The outer frame is one device pixel wide on every side.
    EXPECT_EQ(shown.at(W / 2, 0), kDarkFrame);
    EXPECT_EQ(shown.at(W / 2, 1), kLight);
    EXPECT_EQ(shown.at(W / 2, H - 1), kDarkFrame);
    EXPECT_EQ(shown.at(W / 2, H - 2), kShadow);
    EXPECT_EQ(shown.at(0, H / 2), kDarkFrame);
    EXPECT_EQ(shown.at(1, H / 2), kLight);
    EXPECT_EQ(shown.at(W - 1, H / 2), kDarkFrame);
    EXPECT_EQ(shown.at(W - 2, H / 2), kShadow);
    // Each corner cut is three device pixels; the form shows through them and nowhere else.
    EXPECT_EQ(shown.at(0, 0), kFormColour);
    EXPECT_EQ(shown.at(1, 0), kFormColour);
    EXPECT_EQ(shown.at(0, 1), kFormColour);
    EXPECT_EQ(shown.at(2, 0), kDarkFrame);
    EXPECT_EQ(shown.at(1, 1), kDarkFrame);
    EXPECT_EQ(shown.at(0, 2), kDarkFrame);
    EXPECT_EQ(shown.at(W - 1, H - 1), kFormColour);
    EXPECT_EQ(shown.at(W - 2, H - 1), kFormColour);
    EXPECT_EQ(shown.at(W - 1, H - 2), kFormColour);
    EXPECT_EQ(shown.at(W - 3, H - 1), kDarkFrame);
    EXPECT_EQ(shown.at(W - 2, H - 2), kDarkFrame);
    EXPECT_EQ(shown.at(W - 1, H - 3), kDarkFrame);
}

void SendMouse(QWidget* target, QEvent::Type type, QPointF devicePoint, qreal ratio) {
    const QPointF logical = devicePoint / ratio;
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, logical, target->mapToGlobal(logical), Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

TEST_P(DisplayScale, MouseReachesTheControlAtItsDevicePixel) {
    const qreal ratio = GetParam().ratio;
    QSignalSpy downs(change, &TarvexButtonWidget::mouseDown);
    QSignalSpy clicks(change, &TarvexButtonWidget::clicked);

    SendMouse(change, QEvent::MouseButtonPress, {41, 21}, ratio);
    SendMouse(change, QEvent::MouseButtonRelease, {41, 21}, ratio);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_NEAR(downs.front().at(2).toFloat(), 41.0f, 1e-3f);
    EXPECT_NEAR(downs.front().at(3).toFloat(), 21.0f, 1e-3f);
    EXPECT_EQ(clicks.count(), 1);

    // A release over a cut-off corner pixel is off the button, even where the logical mask,
    // coarser than the shape, still holds that pixel.
    SendMouse(change, QEvent::MouseButtonPress, {1.5, 0.5}, ratio);
    SendMouse(change, QEvent::MouseButtonRelease, {1.5, 0.5}, ratio);
    EXPECT_EQ(clicks.count(), 1);
}

// An icon file of a 16 x 16 frame in `small` and a 32 x 32 frame in `large`, each an opaque
// 32-bit image with an empty mask.
QByteArray TwoSizeIcon(QRgb small, QRgb large) {
    struct Frame {
        int side;
        QRgb colour;
    };
    const Frame frames[] = {{16, small}, {32, large}};
    QByteArray directory;
    QByteArray images;
    QDataStream head(&directory, QIODevice::WriteOnly);
    head.setByteOrder(QDataStream::LittleEndian);
    head << quint16(0) << quint16(1) << quint16(2);
    for (const Frame& f : frames) {
        QByteArray image;
        QDataStream out(&image, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        const quint32 maskRow = quint32((f.side + 31) / 32 * 4);
        out << quint32(40) << qint32(f.side) << qint32(2 * f.side) << quint16(1) << quint16(32)
            << quint32(0) << quint32(0) << qint32(0) << qint32(0) << quint32(0) << quint32(0);
        for (int i = 0; i < f.side * f.side; ++i) out << quint32(f.colour | 0xFF000000u);
        for (quint32 i = 0; i < maskRow * quint32(f.side); ++i) out << quint8(0);
        head << quint8(f.side) << quint8(f.side) << quint8(0) << quint8(0) << quint16(1)
             << quint16(32) << quint32(image.size()) << quint32(6 + 16 * 2 + images.size());
        images += image;
    }
    return directory + images;
}

TEST_P(DisplayScale, IconsKeepTheirPixelSizeOrShowTheirDenserFrame) {
    constexpr QRgb kSmallFrame = 0xFF0000;
    constexpr QRgb kLargeFrame = 0x0000FF;
    constexpr QRgb kSingle = 0x00A000;
    QTemporaryDir dir;
    QFile ico(dir.filePath("two.ico"));
    ASSERT_TRUE(ico.open(QIODevice::WriteOnly));
    ico.write(TwoSizeIcon(kSmallFrame, kLargeFrame));
    ico.close();
    QImage single(16, 16, QImage::Format_RGB32);
    single.fill(QColor::fromRgb(kSingle));
    ASSERT_TRUE(single.save(dir.filePath("one.png")));

    const auto expectIcon = [&](int cell, QRgb colour) {
        const TarvexButton& b = ButtonOf(*change);
        const gdi::Surface& image = b.BackBuffer();
        EXPECT_EQ(b.mIconX, (image.width() - cell) / 2);
        EXPECT_EQ(b.mIconY, (image.height() - cell) / 2);
        const auto rgb = [&](int x, int y) {
            return QRgb(image.at(b.mIconX + x, b.mIconY + y)) & 0xFFFFFF;
        };
        EXPECT_EQ(rgb(1, 1), colour);
        EXPECT_EQ(rgb(cell - 2, cell - 2), colour);
        EXPECT_NE(rgb(cell, cell / 2), colour);
        EXPECT_NE(rgb(-1, cell / 2), colour);
    };
    ButtonOf(*change).SetCaption("");
    const PictureRef twoSizes = LoadPicture(dir.filePath("two.ico"));
    ASSERT_EQ(twoSizes->Frames().size(), 1u);
    ButtonOf(*change).SetIcon(twoSizes);
    // A 16-pixel cell; at scale 2 the icon's 32-pixel frame, in a cell of its size.
    if (GetParam().ratio == 2.0)
        expectIcon(32, kLargeFrame);
    else
        expectIcon(16, kSmallFrame);
    // An image of one size is drawn at its pixel size at every scale, never enlarged.
    ButtonOf(*change).SetIcon(LoadPicture(dir.filePath("one.png")));
    expectIcon(16, kSingle);
}

INSTANTIATE_TEST_SUITE_P(Ratios, DisplayScale,
                         ::testing::Values(Scale{"One", "ratio-1", 1.0, {81, 25}, -11},
                                           Scale{"OneAndAHalf", "ratio-1.5", 1.5, {122, 38}, -17},
                                           Scale{"Two", "ratio-2", 2.0, {162, 50}, -22}),
                         [](const ::testing::TestParamInfo<Scale>& ratio) {
                             return std::string(ratio.param.name);
                         });

// Dragged to a monitor of another scale, the window redraws its buttons at the new ratio with
// their caption laid out again in a font of the new height.
TEST(ScreenChange, ButtonsFollowTheWindowToAScreenOfAnotherScale) {
    auto form = GreenForm();
    MoveToScreen(*form, "ratio-1");
    TarvexButtonWidget* change = AddChangeButton(*form);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const int lineHeightAt1 = ButtonOf(*change).mCaptionLines.at(0).Height;
    EXPECT_EQ(lineHeightAt1, 12);  // Times New Roman at -11: ascent 10, descent 2

    MoveToScreen(*form, "ratio-2");
    ASSERT_EQ(change->devicePixelRatioF(), 2.0);
    const gdi::Surface& image = ButtonOf(*change).BackBuffer();
    EXPECT_EQ(QSize(image.width(), image.height()), QSize(162, 50));
    EXPECT_GE(ButtonOf(*change).mCaptionLines.at(0).Height, 2 * lineHeightAt1 - 1);
    const Shown shown(*form, 2.0);
    EXPECT_EQ(shown.at(81, 0), kDarkFrame);
    EXPECT_EQ(shown.at(81, 1), kLight);
    EXPECT_EQ(shown.at(1, 0), kFormColour);
    EXPECT_EQ(shown.at(2, 0), kDarkFrame);
    EXPECT_EQ(shown.at(1, 1), kDarkFrame);

    MoveToScreen(*form, "ratio-1");
    EXPECT_EQ(
        QSize(ButtonOf(*change).BackBuffer().width(), ButtonOf(*change).BackBuffer().height()),
        QSize(81, 25));
    EXPECT_EQ(ButtonOf(*change).mCaptionLines.at(0).Height, lineHeightAt1);
}

}  // namespace
}  // namespace tarvex::qt
