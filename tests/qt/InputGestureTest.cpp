// Mouse gestures and queued keystrokes as the window system delivers them, on the offscreen
// platform: input goes to the window and Qt routes it, so a menu or a modal dialog that opens
// takes what a real one would, and a keystroke reaches whichever control has the focus then.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <memory>

#include "host/qt/TarvexButtonWidget.hpp"

namespace tarvex::qt {
namespace {

constexpr int kRightButton = 2;
constexpr int kTab = 9;

class InputThroughTheWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        previousBoxes = SetMessageBoxService(std::make_shared<RecordingMessageBoxService>());
        form = std::make_unique<QWidget>();
        form->setObjectName("frmVornik");
        form->resize(300, 200);
    }
    void TearDown() override {
        form.reset();
        SetMessageBoxService(previousBoxes);
        QCoreApplication::processEvents();
    }

    TarvexButtonWidget* AddButton(const QString& name, int top) {
        auto* w = new TarvexButtonWidget(form.get(), name);
        w->setGeometry(10, top, 81, 25);
        return w;
    }
    void ShowForm() {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    QWindow* Window() const { return form->windowHandle(); }

    static int Count(const QSignalSpy& spy, int code) {
        int n = 0;
        for (const QList<QVariant>& args : spy) n += args.at(0).toInt() == code ? 1 : 0;
        return n;
    }

    std::unique_ptr<QWidget> form;
    std::shared_ptr<MessageBoxService> previousBoxes;
};

// The window's MouseDown opens a context menu, or a modal dialog, on the right button; the user
// lets go of the button while it is open, so the release never reaches the control. The next
// left presses and releases still click, every one of them.
TEST_F(InputThroughTheWindow, AMenuOrDialogTakingTheRightReleaseLeavesLaterClicksWorking) {
    TarvexButtonWidget* const withMenu = AddButton("CmdMenu", 10);
    TarvexButtonWidget* const withDialog = AddButton("CmdDialog", 50);
    ShowForm();
    for (TarvexButtonWidget* cmd : {withMenu, withDialog}) {
        const bool dialog = cmd == withDialog;
        SCOPED_TRACE(dialog ? "modal dialog" : "context menu");
        const QPoint at = cmd->mapTo(form.get(), QPoint(20, 10));
        QMenu menu(form.get());
        menu.addAction("Copy");
        QDialog box(form.get());
        box.setModal(true);
        int opened = 0;
        QObject::connect(cmd, &TarvexButtonWidget::mouseDown, cmd, [&](int button) {
            if (button != kRightButton) return;
            ++opened;
            QWidget* shown = dialog ? static_cast<QWidget*>(&box) : &menu;
            QTimer::singleShot(0, shown, [&, shown] {
                QTest::mouseRelease(Window(), Qt::RightButton, {}, at);
                shown->close();
            });
            if (dialog) {
                box.exec();
            } else {
                menu.exec(cmd->mapToGlobal(QPoint(20, 10)));
            }
        });
        QSignalSpy clicks(cmd, &TarvexButtonWidget::clicked);
        QSignalSpy ups(cmd, &TarvexButtonWidget::mouseUp);

        QTest::mousePress(Window(), Qt::RightButton, {}, at);
        ASSERT_EQ(opened, 1);  // the menu or dialog ran inside MouseDown, and is closed again
        ASSERT_FALSE(menu.isVisible() || box.isVisible());
        EXPECT_EQ(ups.count(), 0);  // the release went to the menu, or nowhere past the dialog

        QTest::mouseClick(Window(), Qt::LeftButton, {}, at);
        EXPECT_EQ(clicks.count(), 1);
        QTest::mouseClick(Window(), Qt::LeftButton, {}, at + QPoint(30, 0));
        EXPECT_EQ(clicks.count(), 2);
    }
}

// Right, Down, Left and Up send Tab to the focused control. The press of Tab moves the focus on;
// its release belongs to the control that has the focus then, never to the one that lost it,
// and a control of another kind, which never saw the press, is not handed a lone release.
TEST_F(InputThroughTheWindow, TheTabOfAnArrowKeyIsReleasedWhereTheFocusWent) {
    auto* one = AddButton("Cmd1", 10);
    auto* two = AddButton("Cmd2", 40);
    auto* edit = new QLineEdit(form.get());
    edit->setGeometry(10, 70, 100, 20);
    ShowForm();
    one->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == one; }));
    QSignalSpy upsOne(one, &TarvexButtonWidget::keyUp);
    QSignalSpy upsTwo(two, &TarvexButtonWidget::keyUp);

    QTest::keyPress(Window(), Qt::Key_Right);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == two; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Count(upsTwo, kTab) == 1; }));
    QTest::keyRelease(Window(), Qt::Key_Right);
    EXPECT_EQ(Count(upsOne, kTab), 0);

    QTest::keyClick(Window(), Qt::Key_Down);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == edit; }));
    QTest::qWait(50);  // room for a stray release to arrive
    EXPECT_EQ(Count(upsTwo, kTab), 1);
    EXPECT_EQ(Count(upsOne, kTab), 0);
    EXPECT_TRUE(edit->text().isEmpty());
}

}  // namespace
}  // namespace tarvex::qt
