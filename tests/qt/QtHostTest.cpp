// The Qt host driven like a user would: real widgets on the offscreen platform, real mouse and
// key events through QTest, real timers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <stdexcept>

#include "button/PropertyBag.hpp"
#include "host/qt/TarvexButtonWidget.hpp"

// Waits, running events, until the condition holds, and fails the test when it never does (Qt's
// own waiting checks report to its test runner, which a GoogleTest case never hears).
#define ASSERT_SOON(condition, milliseconds) \
    ASSERT_TRUE(QTest::qWaitFor([&] { return bool(condition); }, milliseconds)) << #condition

namespace tarvex::qt {
namespace {

// A form with buttons, shown and active so that focus and shortcuts work.
class QtHost : public ::testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<QWidget>();
        form->setObjectName("frmVornik");
        form->resize(400, 300);
        previousBoxes = SetMessageBoxService(boxes);
    }
    void TearDown() override {
        form.reset();
        SetMessageBoxService(previousBoxes);
        QCursor::setPos(QPoint(5000, 5000));
        QCoreApplication::processEvents();
    }

    TarvexButtonWidget* AddButton(const QString& name, QWidget* parent, QPoint at,
                                  QSize size = {81, 25}) {
        auto* w = new TarvexButtonWidget(parent, name);
        w->setGeometry(QRect(at, size));
        return w;
    }

    void ShowForm() {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    // Design mode for the look-shaping properties, as a layout designer would set them.
    static void Design(TarvexButtonWidget* w, const std::function<void(TarvexButton&)>& set) {
        SetUserMode(*w, false);
        set(ButtonOf(*w));
        SetUserMode(*w, true);
    }

    std::unique_ptr<QWidget> form;
    std::shared_ptr<RecordingMessageBoxService> boxes =
        std::make_shared<RecordingMessageBoxService>();
    std::shared_ptr<MessageBoxService> previousBoxes;
};

// ---- Mouse ----------------------------------------------------------------------------------

TEST_F(QtHost, RealClickRaisesClickOnceAndADoubleClickNoSecondClick) {
    auto* cmd = AddButton("CmdChange", form.get(), {10, 10});
    ShowForm();
    QSignalSpy clicks(cmd, &TarvexButtonWidget::clicked);
    QSignalSpy downs(cmd, &TarvexButtonWidget::mouseDown);
    QSignalSpy ups(cmd, &TarvexButtonWidget::mouseUp);

    QTest::mouseClick(cmd, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(downs.count(), 1);
    EXPECT_EQ(ups.count(), 1);
    EXPECT_EQ(downs.front().at(0).toInt(), 1);

    // The second press of a double click: only the double-click and the release.
    QTest::mouseDClick(cmd, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(ButtonOf(*cmd).mButtonState, kStatePressed);
    QTest::mouseRelease(cmd, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(downs.count(), 1);
    EXPECT_EQ(ups.count(), 2);
}

TEST_F(QtHost, RightClickAndReleaseOutsideDoNotClick) {
    auto* cmd = AddButton("CmdChange", form.get(), {10, 10});
    ShowForm();
    QSignalSpy clicks(cmd, &TarvexButtonWidget::clicked);
    QTest::mouseClick(cmd, Qt::RightButton, {}, QPoint(20, 10));
    EXPECT_EQ(ButtonOf(*cmd).Enabled(), kTrue);
    QTest::mousePress(cmd, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseRelease(cmd, Qt::LeftButton, {}, QPoint(200, 10));  // released off the button
    EXPECT_EQ(clicks.count(), 0);
    QTest::mouseClick(cmd, Qt::MiddleButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks.count(), 1);
    // A side (back) button is none of the control's buttons: no press, no release, no click.
    QSignalSpy downs(cmd, &TarvexButtonWidget::mouseDown);
    QSignalSpy ups(cmd, &TarvexButtonWidget::mouseUp);
    QTest::mouseClick(cmd, Qt::BackButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(downs.count(), 0);
    EXPECT_EQ(ups.count(), 0);
    EXPECT_NE(ButtonOf(*cmd).mButtonState, kStatePressed);
}

TEST_F(QtHost, HoverThenLeaveRaisesMouseOutWithinAFewTicks) {
    auto* cmd = AddButton("CmdChange", form.get(), {10, 10});
    ShowForm();
    QSignalSpy outs(cmd, &TarvexButtonWidget::mouseOut);
    QTest::mouseMove(cmd, QPoint(20, 10));
    ASSERT_SOON(ButtonOf(*cmd).mHovering == kTrue, 1000);
    EXPECT_EQ(ButtonOf(*cmd).mButtonState, kStateHover);
    QTest::qWait(350);  // ticks with the pointer still over the button
    EXPECT_EQ(outs.count(), 0);

    QCursor::setPos(form->mapToGlobal(QPoint(300, 250)));
    ASSERT_SOON(outs.count() == 1, 500);
    const int rest = ButtonOf(*cmd).mHasFocus == kTrue ? kStateFocused : kStateNormal;
    EXPECT_EQ(ButtonOf(*cmd).mButtonState, rest);
    EXPECT_FALSE(HostOf(*cmd).HoverTimerEnabled());
}

TEST_F(QtHost, MovesOutsideDuringAHeldPressDoNotPutTheHoverTickOff) {
    auto* cmd = AddButton("CmdChange", form.get(), {10, 10});
    ShowForm();
    QSignalSpy outs(cmd, &TarvexButtonWidget::mouseOut);
    QSignalSpy clicks(cmd, &TarvexButtonWidget::clicked);
    QTest::mousePress(cmd, Qt::LeftButton, {}, QPoint(20, 10));
    QCursor::setPos(form->mapToGlobal(QPoint(300, 250)));
    // The held press sends every move to the button, each well inside one tick of the last.
    for (int i = 0; i < 12; ++i) {
        QTest::mouseMove(cmd, QPoint(-40, 10));
        QTest::qWait(30);
    }
    EXPECT_GE(outs.count(), 1);
    QTest::mouseRelease(cmd, Qt::LeftButton, {}, QPoint(-40, 10));
    EXPECT_EQ(clicks.count(), 0);
}

// ---- Keyboard and focus ---------------------------------------------------------------------

TEST_F(QtHost, TabAndArrowKeysMoveTheFocus) {
    auto* one = AddButton("Cmd1", form.get(), {10, 10});
    auto* two = AddButton("Cmd2", form.get(), {10, 40});
    auto* three = AddButton("Cmd3", form.get(), {10, 70});
    ShowForm();
    one->setFocus();
    ASSERT_SOON(QApplication::focusWidget() == one, 5000);
    EXPECT_EQ(ButtonOf(*one).mButtonState, kStateFocused);
    QSignalSpy keyDowns(one, &TarvexButtonWidget::keyDown);

    QTest::keyClick(one, Qt::Key_Right);
    ASSERT_SOON(QApplication::focusWidget() == two, 5000);
    EXPECT_EQ(keyDowns.count(), 0);
    EXPECT_EQ(ButtonOf(*one).mHasFocus, kFalse);
    QTest::keyClick(two, Qt::Key_Down);
    ASSERT_SOON(QApplication::focusWidget() == three, 5000);
    QTest::keyClick(three, Qt::Key_Up);
    ASSERT_SOON(QApplication::focusWidget() == two, 5000);
    QTest::keyClick(two, Qt::Key_Left);
    ASSERT_SOON(QApplication::focusWidget() == one, 5000);
    QTest::keyClick(one, Qt::Key_Tab);
    ASSERT_SOON(QApplication::focusWidget() == two, 5000);
    EXPECT_EQ(ButtonOf(*two).mHasFocus, kTrue);
}

// While the window is inactive its focus-out is the window's, not the form's: the button keeps
// its focus. If the focus moved on meanwhile, the button learns it when the window is back.
TEST_F(QtHost, FocusMovedWhileTheWindowWasInactiveLeavesTheButtonWhenItReturns) {
    auto* cmd = AddButton("Cmd1", form.get(), {10, 10});
    auto* edit = new QLineEdit(form.get());
    edit->setObjectName("Text1");
    edit->setGeometry(10, 80, 100, 20);
    ShowForm();
    cmd->setFocus();
    ASSERT_SOON(QApplication::focusWidget() == cmd, 5000);

    QWidget other;
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(ButtonOf(*cmd).mHasFocus, kTrue);
    edit->setFocus();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ASSERT_SOON(QApplication::focusWidget() == edit, 5000);
    EXPECT_EQ(ButtonOf(*cmd).mHasFocus, kFalse);
    EXPECT_EQ(ButtonOf(*cmd).mButtonState, kStateNormal);
}

TEST_F(QtHost, SpaceClicksAtReleaseAndKeyCodesReachTheEvents) {
    auto* cmd = AddButton("Cmd1", form.get(), {10, 10});
    ShowForm();
    cmd->setFocus();
    ASSERT_SOON(QApplication::focusWidget() == cmd, 5000);
    QSignalSpy clicks(cmd, &TarvexButtonWidget::clicked);
    QSignalSpy keyDowns(cmd, &TarvexButtonWidget::keyDown);
    QSignalSpy keyPresses(cmd, &TarvexButtonWidget::keyPress);
    QTest::keyPress(cmd, Qt::Key_Space);
    EXPECT_EQ(ButtonOf(*cmd).mButtonState, kStatePressed);
    EXPECT_EQ(clicks.count(), 0);
    QTest::keyRelease(cmd, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyClick(cmd, Qt::Key_F5);
    QTest::keyClick(cmd, 'A', Qt::ShiftModifier);
    // Space, F5, the Shift key itself, then A with Shift held.
    ASSERT_EQ(keyDowns.count(), 4);
    EXPECT_EQ(keyDowns.at(1).at(0).toInt(), 116);
    EXPECT_EQ(keyDowns.at(2).at(0).toInt(), 16);
    EXPECT_EQ(keyDowns.at(3).at(0).toInt(), 65);
    EXPECT_EQ(keyDowns.at(3).at(1).toInt(), 1);
    ASSERT_EQ(keyPresses.count(), 2);
    EXPECT_EQ(keyPresses.at(1).at(0).toInt(), 'A');
    // A shifted symbol reports the key it is typed on: "!" is Shift with the 1 key.
    QSignalSpy keyUps(cmd, &TarvexButtonWidget::keyUp);
    QTest::keyClick(cmd, Qt::Key_Exclam, Qt::ShiftModifier);
    ASSERT_EQ(keyDowns.count(), 6);
    EXPECT_EQ(keyDowns.at(5).at(0).toInt(), 49);
    EXPECT_EQ(keyDowns.at(5).at(1).toInt(), 1);
    ASSERT_GE(keyUps.count(), 1);
    EXPECT_EQ(keyUps.front().at(0).toInt(), 49);
    // Alt with a letter is a key-down and no typed character.
    QTest::keyClick(cmd, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(keyDowns.back().at(0).toInt(), 88);
    EXPECT_EQ(keyDowns.back().at(1).toInt(), 4);
    EXPECT_EQ(keyPresses.count(), 3);  // space, "A" and "!"
}

TEST_F(QtHost, AltLetterAnywhereInTheWindowFiresTheAccessKey) {
    auto* cmd = AddButton("CmdChange", form.get(), {10, 10});
    auto* opt = AddButton("OptA", form.get(), {10, 40});
    auto* edit = new QLineEdit(form.get());
    edit->setObjectName("Text1");
    edit->setGeometry(10, 80, 100, 20);
    ButtonOf(*cmd).SetCaption("&Change");
    ButtonOf(*opt).SetCaption("O&ption");
    ButtonOf(*opt).SetOptionButton(kTrue);
    ButtonOf(*opt).SetValue(kTrue);
    ShowForm();
    edit->setFocus();
    ASSERT_SOON(QApplication::focusWidget() == edit, 5000);
    QSignalSpy cmdClicks(cmd, &TarvexButtonWidget::clicked);
    QSignalSpy optClicks(opt, &TarvexButtonWidget::clicked);
    QSignalSpy optKeys(opt, &TarvexButtonWidget::keyPress);

    QTest::keyClick(edit, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(cmdClicks.count(), 1);
    QTest::keyClick(edit, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(optClicks.count(), 0);  // the selection reads it as a keystroke
    ASSERT_EQ(optKeys.count(), 1);
    EXPECT_EQ(optKeys.front().at(0).toInt(), 'p');

    cmd->setEnabled(false);  // a disabled button ignores its access key
    QTest::keyClick(edit, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(cmdClicks.count(), 1);
}

// ---- Shape ----------------------------------------------------------------------------------

TEST_F(QtHost, MaskIsTheSlantedOutlineOfAMiddleSegment) {
    auto* seg = AddButton("Seg2", form.get(), {10, 10}, {100, 30});
    Design(seg, [](TarvexButton& b) { b.SetButtonStyle(2); });
    ShowForm();
    const QRegion mask = seg->mask();
    // Outline (0,0) (18,30) (100,30) (82,0): row y covers [ceil(0.6y), ceil(82 + 0.6y)).
    EXPECT_TRUE(mask.contains(QPoint(0, 0)));
    EXPECT_TRUE(mask.contains(QPoint(81, 0)));
    EXPECT_FALSE(mask.contains(QPoint(82, 0)));
    EXPECT_FALSE(mask.contains(QPoint(5, 10)));
    EXPECT_TRUE(mask.contains(QPoint(6, 10)));
    EXPECT_TRUE(mask.contains(QPoint(87, 10)));
    EXPECT_FALSE(mask.contains(QPoint(88, 10)));
    EXPECT_FALSE(mask.contains(QPoint(17, 29)));
    EXPECT_TRUE(mask.contains(QPoint(18, 29)));
    EXPECT_TRUE(mask.contains(QPoint(99, 29)));
    EXPECT_FALSE(mask.contains(QPoint(0, 30)));
    // The cut-off corner belongs to what lies below it: no click there.
    QSignalSpy clicks(seg, &TarvexButtonWidget::clicked);
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, QPoint(10 + 95, 10 + 2));
    EXPECT_EQ(clicks.count(), 0);
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, QPoint(10 + 50, 10 + 15));
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(QtHost, MaskCutsThreePixelsAtEachCornerOfASoftFrameButton) {
    auto* soft = AddButton("Soft", form.get(), {10, 10}, {60, 20});
    Design(soft, [](TarvexButton& b) { b.SetButtonType(8); });
    ShowForm();
    const QRegion mask = soft->mask();
    for (QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(59, 0), QPoint(58, 0),
                     QPoint(59, 1), QPoint(0, 19), QPoint(1, 19), QPoint(0, 18), QPoint(59, 19),
                     QPoint(58, 19), QPoint(59, 18)})
        EXPECT_FALSE(mask.contains(p)) << p.x() << "," << p.y();
    for (QPoint p :
         {QPoint(2, 0), QPoint(1, 1), QPoint(0, 2), QPoint(57, 0), QPoint(58, 1), QPoint(59, 2),
          QPoint(2, 19), QPoint(0, 17), QPoint(57, 19), QPoint(59, 17), QPoint(30, 10)})
        EXPECT_TRUE(mask.contains(p)) << p.x() << "," << p.y();
}

// ---- Presentation ---------------------------------------------------------------------------

TEST_F(QtHost, BackBufferIsWhatTheWindowShows) {
    auto* cmd = AddButton("Cmd1", form.get(), {10, 10}, {81, 25});
    ButtonOf(*cmd).SetCaption("");
    ShowForm();
    const QImage shown = cmd->grab().toImage();
    // A classic button without caption: its face colour in the middle.
    const gdi::COLORREF face = gdi::GetSysColor(gdi::COLOR_BTNFACE);
    EXPECT_EQ(shown.pixel(40, 12) & 0xFFFFFF, gdi::ToPixel(face) & 0xFFFFFF);
    // The widget paints straight from the control's own pixels.
    EXPECT_EQ(ButtonOf(*cmd).BackBuffer().at(40, 12) & 0xFFFFFF, gdi::ToPixel(face) & 0xFFFFFF);
}

TEST_F(QtHost, DesktopPaletteBecomesTheSystemColours) {
    QPalette p;
    p.setColor(QPalette::Button, QColor(0x10, 0x20, 0x30));
    p.setColor(QPalette::ButtonText, QColor(0x01, 0x02, 0x03));
    ApplyDesktopPalette(p);
    EXPECT_EQ(gdi::GetSysColor(gdi::COLOR_BTNFACE), gdi::RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(gdi::GetSysColor(gdi::COLOR_BTNTEXT), gdi::RGB(0x01, 0x02, 0x03));
    gdi::ResetSysColors();
}

// ---- Groups and the form's controls ---------------------------------------------------------

TEST_F(QtHost, FramesAndGroupBoxesFormOptionGroups) {
    auto* frame1 = new QGroupBox("One", form.get());
    frame1->setObjectName("Frame1");
    frame1->setGeometry(0, 0, 200, 100);
    auto* frame2 = new QFrame(form.get());
    frame2->setObjectName("Frame2");
    SetControlIndex(frame2, 0);
    frame2->setGeometry(200, 0, 200, 100);
    auto* a = AddButton("OptA", frame1, {10, 20});
    auto* b = AddButton("OptB", frame1, {10, 50});
    auto* c = AddButton("OptC", frame2, {10, 20});
    auto* d = AddButton("OptD", form.get(), {10, 150});
    for (auto* w : {a, b, c, d}) ButtonOf(*w).SetOptionButton(kTrue);
    EXPECT_EQ(ButtonOf(*a).Container(), "Frame1");
    EXPECT_EQ(ButtonOf(*c).Container(), "Frame2(0)");
    EXPECT_EQ(ButtonOf(*d).Container(), "frmVornik");
    ButtonOf(*a).SetValue(kTrue);
    ButtonOf(*c).SetValue(kTrue);
    ButtonOf(*d).SetValue(kTrue);
    ShowForm();

    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(ButtonOf(*a).Value(), kFalse);
    EXPECT_EQ(ButtonOf(*b).Value(), kTrue);
    EXPECT_EQ(ButtonOf(*c).Value(), kTrue);
    EXPECT_EQ(ButtonOf(*d).Value(), kTrue);
}

TEST_F(QtHost, ControlArrayElementsAreFoundByNameAndIndex) {
    auto* first = new TarvexButtonWidget(form.get(), "Cmd", 0);
    auto* second = new TarvexButtonWidget(form.get(), "Cmd", 1);
    EXPECT_EQ(HostOf(*first).DisplayName(), "Cmd(0)");
    EXPECT_EQ(HostOf(*second).FindControl("cmd", 1).button, &ButtonOf(*second));
    EXPECT_THROW(HostOf(*second).FindControl("Cmd", 2), HostError);
    EXPECT_EQ(HostOf(*second).ControlCount(), 2u);
    EXPECT_FALSE(HostOf(*second).ControlAt(2).has_value());
}

// A stored set without a font key keeps the form's font: loading never runs the new-instance
// defaults, which would have put in their Times New Roman copy. A later form font is an ambient
// change that hands the control the form's own object.
TEST_F(QtHost, StoredSetAndFormFontReachTheControl) {
    QFont formFont("Arial");
    formFont.setPointSizeF(10);
    form->setFont(formFont);
    PropertyBag stored;
    stored.WriteInt32("BTYPE", 8);
    stored.WriteString("TX", "Change");
    auto* loaded = CreateButtonWidget(form.get(), "CmdChange", stored);
    auto* placed = new TarvexButtonWidget(form.get(), "Placed");
    EXPECT_EQ(ButtonOf(*loaded).ButtonType(), 8);
    EXPECT_EQ(ButtonOf(*loaded).Caption(), "Change");
    EXPECT_EQ(ButtonOf(*loaded).Font()->Name(), "Arial");
    EXPECT_EQ(ButtonOf(*placed).Font()->Name(), "Times New Roman");

    // A new form font reaches the control as the same object; its later changes follow.
    const FontRef formFontObject = FontObject::Create("Courier New", 100000);
    SetAmbientFont(*loaded, formFontObject);
    EXPECT_EQ(ButtonOf(*loaded).Font(), formFontObject);
    formFontObject->SetBold(true);
    EXPECT_EQ(ButtonOf(*loaded).mFontDirty, kTrue);

    PropertyBag wrongKind;
    wrongKind.WriteString("BTYPE", "eight");
    EXPECT_THROW(CreateButtonWidget(form.get(), "Bad", wrongKind), HostError);
}

// ---- Services -------------------------------------------------------------------------------

TEST_F(QtHost, MessageBoxesGoThroughTheInstalledService) {
    auto* cmd = AddButton("Cmd1", form.get(), {10, 10});
    ButtonOf(*cmd).SetGraphicsMode(2);
    ASSERT_EQ(boxes->shown.size(), 1u);
    EXPECT_EQ(boxes->shown[0].text,
              "Caution: Using non-default may cause buttons to not display properly on other "
              "operating systems.");
    EXPECT_EQ(boxes->shown[0].style & 0x70, vbExclamation);
    EXPECT_EQ(boxes->shown[0].title, "Vornik");
    boxes->answers.push_back(vbNo);
    EXPECT_EQ(HostOf(*cmd).MsgBox("Sure?", vbYesNo | vbQuestion, "Ask"), vbNo);
    EXPECT_EQ(HostOf(*cmd).MsgBox("Again?", vbYesNo, ""),
              vbYes);  // first button once answers run out
    EXPECT_EQ(boxes->shown[2].title, "Vornik");
}

TEST_F(QtHost, PicturesComeFromPngBmpIcoAndGifFiles) {
    QTemporaryDir dir;
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(QColor(0x11, 0x22, 0x33, 0xFF));
    image.setPixelColor(2, 1, QColor(0xAA, 0xBB, 0xCC, 0x80));
    for (const char* ext : {"png", "bmp", "ico"}) {
        const QString path = dir.filePath(QString("pic.") + ext);
        ASSERT_TRUE(image.save(path)) << ext;
        const PictureRef pic = LoadPicture(path);
        ASSERT_TRUE(pic && pic->HasHandle()) << ext;
        EXPECT_EQ(pic->Pixels().width(), 3) << ext;
        EXPECT_EQ(pic->Pixels().height(), 2) << ext;
        EXPECT_EQ(pic->Pixels().at(0, 0), 0xFF112233u) << ext;
        EXPECT_EQ(pic->Type(), QString(ext) == "ico" ? kPicTypeIcon : kPicTypeBitmap);
    }
    EXPECT_EQ(LoadPicture(dir.filePath("pic.png"))->Pixels().at(2, 1), 0x80AABBCCu);

    // A one-pixel GIF whose only colour is pure red.
    const unsigned char gif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01,
                                 0x00, 0x80, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00,
                                 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01,
                                 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
    QFile file(dir.filePath("red.gif"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(gif), sizeof gif);
    file.close();
    EXPECT_EQ(LoadPicture(dir.filePath("red.gif"))->Pixels().at(0, 0), 0xFFFF0000u);

    QFile junk(dir.filePath("junk.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    EXPECT_THROW(LoadPicture(dir.filePath("junk.png")), HostError);
    EXPECT_THROW(LoadPicture(dir.filePath("missing.png")), HostError);
}

// ---- Lifetime -------------------------------------------------------------------------------

TEST_F(QtHost, NothingReachesAButtonThatIsGone) {
    auto* cmd = AddButton("Cmd1", form.get(), {10, 10});
    ShowForm();
    cmd->setFocus();
    ASSERT_SOON(QApplication::focusWidget() == cmd, 5000);
    QTest::mouseMove(cmd, QPoint(5, 5));
    ASSERT_SOON(HostOf(*cmd).HoverTimerEnabled(), 5000);
    QTest::keyPress(cmd, Qt::Key_Right);  // queues a Tab for the focused button
    delete cmd;                           // ...which is gone before the queue runs
    QTest::qWait(300);                    // hover ticks would have come by now
    SUCCEED();
}

TEST_F(QtHost, AClickHandlerMayDeleteItsButtonLater) {
    auto* cmd = AddButton("Cmd1", form.get(), {10, 10});
    ShowForm();
    QPointer<TarvexButtonWidget> watch(cmd);
    QObject::connect(cmd, &TarvexButtonWidget::clicked, cmd, &QObject::deleteLater);
    QTest::mouseClick(cmd, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_SOON(watch.isNull(), 5000);
}

// The window's handlers delete the widget at once, inside the control's own event: in MouseUp
// (the release then makes no Click) and in Click.
TEST_F(QtHost, AHandlerMayDeleteItsButtonAtOnceInsideMouseUpOrClick) {
    struct DeletingSink : ButtonEvents {
        QPointer<TarvexButtonWidget> widget;
        std::string deleteOn;
        std::vector<std::string> seen;
        void Saw(const std::string& name) {
            seen.push_back(name);
            if (name == deleteOn) delete widget.data();
        }
        void Click(TarvexButton&) override { Saw("Click"); }
        void MouseDown(TarvexButton&, std::int16_t&, std::int16_t&, float&, float&) override {
            Saw("MouseDown");
        }
        void MouseUp(TarvexButton&, std::int16_t&, std::int16_t&, float&, float&) override {
            Saw("MouseUp");
        }
    };
    DeletingSink onMouseUp;
    onMouseUp.widget = AddButton("Cmd1", form.get(), {10, 10});
    onMouseUp.deleteOn = "MouseUp";
    DeletingSink onClick;
    onClick.widget = AddButton("Cmd2", form.get(), {10, 40});
    onClick.deleteOn = "Click";
    ShowForm();
    for (DeletingSink* sink : {&onMouseUp, &onClick}) {
        SetEventSink(*sink->widget, sink);
        QTest::mouseClick(sink->widget.data(), Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_TRUE(sink->widget.isNull());
    }
    EXPECT_EQ(onMouseUp.seen, (std::vector<std::string>{"MouseDown", "MouseUp"}));
    EXPECT_EQ(onClick.seen, (std::vector<std::string>{"MouseDown", "MouseUp", "Click"}));
}

// A failure inside an event ends that handler and is reported in a box; the button goes on
// working. Here the window's Click handler fails, and an option button that the form's control
// list does not hold (no name) cannot find its group.
TEST_F(QtHost, AFailureInsideAnEventIsReportedAndTheButtonGoesOn) {
    struct FailingSink : ButtonEvents {
        int clicks = 0;
        void Click(TarvexButton&) override {
            ++clicks;
            throw std::runtime_error("the registry could not be written");
        }
    } sink;
    auto* cmd = AddButton("CmdChange", form.get(), {10, 10});
    auto* unnamed = AddButton("", form.get(), {10, 40});
    ButtonOf(*unnamed).SetOptionButton(kTrue);
    ShowForm();
    SetEventSink(*cmd, &sink);
    QTest::mouseClick(cmd, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(cmd, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(sink.clicks, 2);
    ASSERT_EQ(boxes->shown.size(), 2u);
    EXPECT_EQ(boxes->shown[0].text, QStringLiteral("the registry could not be written"));
    EXPECT_EQ(boxes->shown[0].style, vbCritical | vbOKOnly);
    EXPECT_EQ(boxes->shown[0].title, QStringLiteral("Vornik"));
    SetEventSink(*cmd, nullptr);

    QTest::mousePress(unnamed, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(boxes->shown.size(), 3u);
    EXPECT_TRUE(boxes->shown[2].text.contains(QStringLiteral("not found")));
    QTest::mouseRelease(unnamed, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(boxes->shown.size(), 3u);  // the selection was stored: the release adds nothing
}

}  // namespace
}  // namespace tarvex::qt
