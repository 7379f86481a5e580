// The window as it first appears: size, places, fonts, colours, pictures, tab order and focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "AppTestSupport.hpp"
#include "button/TarvexButton.hpp"
#include "gdi/gdi.hpp"
#include "host/qt/TarvexButtonWidget.hpp"

namespace vornik::test {
namespace {

struct Placement {
    const char* name;
    QRect pixels;  // twips of the stored layout divided by 15
};

// Left, top, width, height in twips: 1110/240/2115/360 -> 74/16/141/24, and so on.
const Placement kPlacements[] = {
    {"Label1", QRect(74, 16, 141, 24)},
    {"Label2", QRect(16, 56, 92, 13)},
    {"Text1", QRect(16, 72, 201, 19)},
    {"CmdBrowse", QRect(224, 72, 25, 17)},
    {"TarvexButton1", QRect(160, 200, 89, 25)},
    {"Check1", QRect(16, 128, 145, 17)},
    {"Check2", QRect(16, 144, 161, 17)},
    {"Label3", QRect(16, 104, 139, 13)},
    {"CmdChange", QRect(8, 200, 81, 25)},
    {"Check3", QRect(16, 168, 105, 17)},
    {"Image1", QRect(8, 0, 48, 48)},
};

TEST(WindowLayout, FixedClientAreaAndCaption) {
    WindowUnderTest t;
    EXPECT_EQ(t.window->windowTitle(), QStringLiteral("Vornik 1.2"));
    EXPECT_EQ(t.window->size(), QSize(258, 230));
    EXPECT_EQ(t.window->minimumSize(), QSize(258, 230));
    EXPECT_EQ(t.window->maximumSize(), QSize(258, 230));
    EXPECT_EQ(t.window->objectName(), QStringLiteral("frmVornik"));
}

TEST(WindowLayout, EveryControlAtItsStoredPlaceAndSize) {
    WindowUnderTest t;
    for (const Placement& p : kPlacements) {
        const QWidget* control = t.window->findChild<QWidget*>(QString::fromLatin1(p.name));
        ASSERT_NE(control, nullptr) << p.name;
        EXPECT_EQ(control->geometry(), p.pixels) << p.name;
        EXPECT_TRUE(control->isVisible()) << p.name;
    }
}

TEST(WindowLayout, CaptionsFontsAndColours) {
    WindowUnderTest t;
    FrmVornik& w = *t.window;
    EXPECT_EQ(w.Label1()->text(), QStringLiteral("Vornik 1.2"));
    EXPECT_TRUE(w.Label1()->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(w.Label2()->text(), QStringLiteral("Image Location:"));
    EXPECT_EQ(w.Label3()->text(), QStringLiteral("Restricted Tab Remover"));
    EXPECT_EQ(w.Check1()->text(), QStringLiteral("Remove Overview Tab"));
    EXPECT_EQ(w.Check2()->text(), QStringLiteral("Remove Address book Tab"));
    EXPECT_EQ(w.Check3()->text(), QStringLiteral("Restore Tabs"));

    // 13.5 pt and 8.25 pt at 96 dpi are 18 and 11 pixels, in the Arial-metric face that stands in
    // for the classic dialog face; controls without a font take that face at 8 pt.
    const QFontInfo title(w.Label1()->font());
    EXPECT_EQ(title.pixelSize(), 18);
    EXPECT_TRUE(title.bold());
    EXPECT_EQ(title.family(), QStringLiteral("Liberation Sans"));
    for (const QWidget* plain :
         {static_cast<QWidget*>(w.Check1()), static_cast<QWidget*>(w.Check2()),
          static_cast<QWidget*>(w.Text1())}) {
        const QFontInfo info(plain->font());
        EXPECT_EQ(info.family(), QStringLiteral("Liberation Sans"));
        EXPECT_EQ(info.pixelSize(), 11) << plain->objectName().toStdString();
        EXPECT_FALSE(info.bold()) << plain->objectName().toStdString();
    }
    for (const QWidget* bold8 :
         {static_cast<QWidget*>(w.Label2()), static_cast<QWidget*>(w.Label3()),
          static_cast<QWidget*>(w.Check3())}) {
        const QFontInfo info(bold8->font());
        EXPECT_EQ(info.pixelSize(), 11) << bold8->objectName().toStdString();
        EXPECT_TRUE(info.bold()) << bold8->objectName().toStdString();
    }

    EXPECT_EQ(w.Check3()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_NE(w.Check1()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(w.CmdBrowse()->toolTip(), QStringLiteral("Browse for image"));
}

TEST(WindowLayout, PictureAndIconAreOurArtwork) {
    WindowUnderTest t;
    const QPixmap picture = t.window->Image1()->pixmap();
    ASSERT_EQ(picture.size(), QSize(48, 48));
    const QImage image = picture.toImage();
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "transparent background";
    EXPECT_EQ(qAlpha(image.pixel(47, 47)), 0);
    EXPECT_EQ(image.pixel(39, 8), qRgb(214, 32, 32)) << "the prohibition ring";
    EXPECT_EQ(image.pixel(24, 24), qRgb(214, 32, 32)) << "its bar across the banner";
    EXPECT_TRUE(t.window->windowIcon().availableSizes().contains(QSize(32, 32)));
}

TEST(WindowLayout, ButtonsComeFromTheirStoredSettings) {
    WindowUnderTest t;
    struct Expected {
        tarvex::qt::TarvexButtonWidget* widget;
        const char* caption;
        tarvex::OleColor backColor;
    };
    for (const Expected& e : {Expected{t.window->CmdChange(), "Change", 0x00F8F1ED},
                              Expected{t.window->TarvexButton1(), "Help / About", 0x00F8F1ED},
                              Expected{t.window->CmdBrowse(), "...", 0x00C0C0C0}}) {
        const tarvex::TarvexButton& b = ButtonOf(*e.widget);
        EXPECT_EQ(b.Caption(), e.caption);
        EXPECT_EQ(b.ButtonType(), 8) << e.caption;
        EXPECT_EQ(b.ColorScheme(), 1) << e.caption;
        EXPECT_EQ(b.BackColor(), e.backColor) << e.caption;
        EXPECT_EQ(b.GradientStopColor(), 0x00FF0000) << e.caption;
        EXPECT_EQ(b.IconSize(), 2) << e.caption;
        EXPECT_NE(b.ShowFocus(), 0) << e.caption;
        EXPECT_EQ(b.Font()->Name(), "Times New Roman") << e.caption;
        EXPECT_EQ(b.Font()->SizeTenThousandths(), 82500) << e.caption;
        EXPECT_FALSE(b.Font()->Bold()) << e.caption;
        EXPECT_NE(b.Enabled(), 0) << e.caption;
    }
}

QRgb SystemColour(int index) {
    const gdi::COLORREF c = gdi::GetSysColor(index);
    return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// The soft-frame look of the stored settings, seen in the window itself: a dark one-pixel frame,
// a highlight line two pixels inside the top edge, and corners cut away by the window shape.
TEST(WindowLayout, ButtonsArePaintedInTheirSoftFrameLook) {
    WindowUnderTest t;
    const QImage shot = t.window->grab().toImage();
    const QRgb formBackground = t.window->palette().color(QPalette::Window).rgb();
    for (const QWidget* button : {static_cast<QWidget*>(t.window->CmdChange()),
                                  static_cast<QWidget*>(t.window->TarvexButton1()),
                                  static_cast<QWidget*>(t.window->CmdBrowse())}) {
        const QRect r = button->geometry();
        const std::string name = button->objectName().toStdString();
        EXPECT_EQ(shot.pixel(r.left(), r.top() + r.height() / 2),
                  SystemColour(gdi::COLOR_3DDKSHADOW))
            << name << " left frame";
        EXPECT_EQ(shot.pixel(r.right(), r.top() + r.height() / 2),
                  SystemColour(gdi::COLOR_3DDKSHADOW))
            << name << " right frame";
        EXPECT_EQ(shot.pixel(r.left() + 3, r.top() + 2), SystemColour(gdi::COLOR_BTNHIGHLIGHT))
            << name << " highlight line";
        EXPECT_EQ(shot.pixel(r.left(), r.top()), formBackground) << name << " cut corner";
    }
}

TEST(WindowLayout, FreshStartHasNoChoices) {
    WindowUnderTest t;
    EXPECT_TRUE(t.window->Text1()->text().isEmpty());
    EXPECT_FALSE(t.window->Check1()->isChecked());
    EXPECT_FALSE(t.window->Check2()->isChecked());
    EXPECT_FALSE(t.window->Check3()->isChecked());
}

TEST(WindowLayout, FocusStartsInTextBoxAndTabWalksTheStoredOrder) {
    WindowUnderTest t;
    t.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(t.window.get()));
    ASSERT_EQ(QApplication::focusWidget(), t.window->Text1());

    const QWidget* const expected[] = {
        t.window->CmdBrowse(), t.window->TarvexButton1(), t.window->Check1(), t.window->Check2(),
        t.window->CmdChange(), t.window->Check3(),        t.window->Text1()};
    for (const QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), t.window->Check3());
}

TEST(WindowLayout, ClosingAsksNothing) {
    WindowUnderTest t;
    EXPECT_TRUE(t.window->close());
    EXPECT_FALSE(t.window->isVisible());
    EXPECT_TRUE(t.dialogs.boxes.empty());
}

}  // namespace
}  // namespace vornik::test
