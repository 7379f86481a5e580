// One command of the window at a time, whatever an assistive tool does meanwhile: its press and
// toggle actions, its edits through the text box's text interface, a request to close the window.
// Once while "Change" waits for a hive another program keeps locked, once behind a real open box.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>

#include "accessibility/AccessibilityRecorder.hpp"
#include "app/AppTestSupport.hpp"
#include "host/qt/TarvexButtonWidget.hpp"

namespace vornik::test {
namespace {

const std::string kYurl = "Software\\Yahoo\\Pager\\yurl";

QAccessibleInterface* Face(QObject* control) {
    return QAccessible::queryAccessibleInterface(control);
}

bool Offers(QObject* control, const QString& action) {
    return Face(control)->actionInterface()->actionNames().contains(action);
}

void Act(QObject* control, const QString& action) {
    Face(control)->actionInterface()->doAction(action);
}

bool WindowBusy(FrmVornik& window) {
    return Face(&window)->state().busy;
}

// Everything an assistive tool can do to the window's commands and controls at once.
struct Meddling {
    QStringList checkActionsOffered;  // of Check1
    bool busy = false;
    bool closed = false;
    void On(FrmVornik& window, bool alsoClose) {
        using Action = QAccessibleActionInterface;
        busy = WindowBusy(window);
        checkActionsOffered = Face(window.Check1())->actionInterface()->actionNames();
        Act(window.CmdChange(), Action::pressAction());
        Act(window.TarvexButton1(), Action::pressAction());
        Act(window.CmdBrowse(), Action::pressAction());
        Act(window.Check1(), Action::toggleAction());
        Act(window.Check2(), Action::pressAction());
        QAccessibleInterface* text = Face(window.Text1());
        text->editableTextInterface()->insertText(0, QStringLiteral("X"));
        text->editableTextInterface()->replaceText(0, 2, QStringLiteral("/elsewhere"));
        text->setText(QAccessible::Value, QStringLiteral("/elsewhere.gif"));
        if (alsoClose) closed = window.close();
    }
};

TEST(OneCommandAtATime, ActionsDuringALockedHiveWaitStartNothingAndChangeNothing) {
    AccessibilityRecorder recorder;
    WindowUnderTest t;
    FrmVornik& window = *t.window;
    window.Text1()->setText(QStringLiteral("C:\\noad.gif"));
    window.Check1()->setChecked(true);
    const int holder = open(t.prefix.Hive().c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);

    Meddling meddling;
    bool meddled = false;
    bool released = false;
    QElapsedTimer clock;
    QTimer ticker;
    ticker.setInterval(20);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (clock.elapsed() > 100 && !meddled) {
            meddled = true;
            meddling.On(window, true);
        } else if (clock.elapsed() > 400 && !released) {
            // The presses above were queued long ago: they were taken, or refused, by now.
            EXPECT_EQ(t.dialogs.boxes.size(), 0u);
            EXPECT_TRUE(t.dialogs.fileRequests.empty());
            released = flock(holder, LOCK_UN) == 0;
        }
    });
    clock.start();
    ticker.start();
    t.ClickChange();
    ticker.stop();
    close(holder);

    ASSERT_TRUE(meddled && released);
    EXPECT_TRUE(meddling.busy) << "assistive tools were not told the window is busy";
    EXPECT_FALSE(meddling.checkActionsOffered.contains(QAccessibleActionInterface::toggleAction()));
    EXPECT_FALSE(meddling.closed) << "the window closed while the write waited";
    ASSERT_EQ(t.dialogs.boxes.size(), 1u) << "a second command ran";
    EXPECT_EQ(t.dialogs.boxes[0].text, QStringLiteral("Patch Complete!"));
    EXPECT_EQ(t.prefix.StringValue(kYurl, "Chat Adurl"), "C:\\noad.gif");
    EXPECT_EQ(window.Text1()->text().toStdString(), "C:\\noad.gif");
    EXPECT_TRUE(window.Check1()->isChecked());
    EXPECT_FALSE(window.Check2()->isChecked());
    int busyChanges = 0;
    for (const HeardEvent& heard : recorder.events) {
        busyChanges += heard.object == &window && heard.type == QAccessible::StateChanged &&
                       heard.changed.busy;
    }
    EXPECT_EQ(busyChanges, 2) << "busy, then no longer";

    // Afterwards the controls answer again, and the window closes as it was asked to.
    EXPECT_FALSE(WindowBusy(window));
    EXPECT_TRUE(Offers(window.Check1(), QAccessibleActionInterface::toggleAction()));
    EXPECT_FALSE(window.Text1()->isReadOnly());
    QTest::qWait(50);
    EXPECT_FALSE(window.isVisible()) << "the close asked for during the write was dropped";
}

TEST(OneCommandAtATime, BehindAnOpenBoxTheWindowTakesNoCommandAndNoChange) {
    AccessibilityRecorder recorder;
    TempPrefix prefix;
    MessengerTarget target(OnePlace(prefix.Path()));
    QtDialogService dialogs;
    FrmVornik window(target, dialogs);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.Text1()->setText(QStringLiteral("/tmp/noad.gif"));
    window.Text1()->setFocus();
    const QImage checkLook = window.Check2()->grab().toImage();

    Meddling meddling;
    QImage checkLookBehindBox;
    int boxesSeen = 0;
    QString firstTitle;
    // The box lives on the stack of the command that shows it.
    QPointer<QWidget> firstBox;
    QTimer watcher;
    watcher.setInterval(20);
    QElapsedTimer sinceOpen;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget* open = QApplication::activeModalWidget();
        if (open == nullptr) return;
        if (open != firstBox) {
            ++boxesSeen;
            if (firstBox) {  // a second box: close it and let the test fail
                open->close();
                return;
            }
            firstBox = open;
            firstTitle = open->windowTitle();
            sinceOpen.start();
            meddling.On(window, false);
            checkLookBehindBox = window.Check2()->grab().toImage();
        } else if (sinceOpen.elapsed() > 300) {
            // Long past the delay of a check box's animated press.
            qobject_cast<QMessageBox*>(open)->button(QMessageBox::Ok)->click();
        }
    });
    watcher.start();
    Act(window.TarvexButton1(), QAccessibleActionInterface::pressAction());
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3000 && (boxesSeen == 0 || firstBox)) QTest::qWait(20);
    QTest::qWait(100);
    watcher.stop();

    ASSERT_GT(boxesSeen, 0) << "the help box never opened";
    EXPECT_EQ(boxesSeen, 1) << "a second command opened a box of its own";
    EXPECT_EQ(firstTitle, QStringLiteral("Help"));
    EXPECT_TRUE(meddling.busy);
    EXPECT_EQ(prefix.HiveText(), InitialHiveText()) << "\"Change\" wrote behind the box";
    EXPECT_FALSE(window.Check1()->isChecked());
    EXPECT_FALSE(window.Check2()->isChecked());
    EXPECT_EQ(window.Text1()->text().toStdString(), "/tmp/noad.gif");
    // Held, the check boxes look as they did: the window behind a box is not greyed.
    EXPECT_EQ(checkLookBehindBox, checkLook);
    // Free again, with the focus back where it was.
    EXPECT_FALSE(WindowBusy(window));
    EXPECT_TRUE(Offers(window.Check2(), QAccessibleActionInterface::toggleAction()));
    EXPECT_EQ(window.focusWidget(), window.Text1());
}

}  // namespace
}  // namespace vornik::test
