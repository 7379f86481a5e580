// A TarvexButton as assistive tools meet it through Qt's accessibility: role, name, description,
// states, actions and key bindings, and the events that report their changes.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "accessibility/AccessibilityRecorder.hpp"
#include "host/qt/TarvexButtonWidget.hpp"

namespace {

using tarvex::kFalse;
using tarvex::kTrue;
using tarvex::qt::TarvexButtonWidget;
using vornik::test::AccessibilityRecorder;
using vornik::test::CheckedState;
using vornik::test::DisabledState;
using vornik::test::HotTrackedState;
using vornik::test::PressedState;

const QString kPress = QAccessibleActionInterface::pressAction();
const QString kSetFocus = QAccessibleActionInterface::setFocusAction();

class ButtonAccessibility : public ::testing::Test {
  protected:
    ButtonAccessibility() {
        form.setObjectName(QStringLiteral("frmTest"));
        form.resize(320, 200);
    }

    TarvexButtonWidget* AddButton(const QString& name, const std::string& caption) {
        auto* w = new TarvexButtonWidget(&form, name);
        w->setGeometry(10 + 90 * int(buttons++), 10, 81, 25);
        ButtonOf(*w).SetCaption(caption);
        return w;
    }

    void Show() {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    static QAccessibleInterface* Face(QWidget* w) {
        return QAccessible::queryAccessibleInterface(w);
    }
    static QAccessibleActionInterface* Actions(QWidget* w) { return Face(w)->actionInterface(); }

    // Runs what an assistive tool asked for: a press runs once the tool has its answer.
    static void DoAction(QWidget* w, const QString& action) {
        Actions(w)->doAction(action);
        QApplication::processEvents();
    }

    static void ClickCounter(TarvexButtonWidget* w, std::shared_ptr<int> clicks) {
        QObject::connect(w, &TarvexButtonWidget::clicked, [clicks] { ++*clicks; });
    }

    AccessibilityRecorder recorder;
    QWidget form;
    std::size_t buttons = 0;
};

TEST_F(ButtonAccessibility, CommandButtonIsAPushButtonWithItsCaptionAccessKeyAndActions) {
    auto* text = new QLineEdit(&form);  // takes the focus first
    TarvexButtonWidget* change = AddButton(QStringLiteral("CmdChange"), "&Change");
    change->setToolTip(QStringLiteral("Writes the messenger's settings"));
    Show();
    ASSERT_TRUE(text->hasFocus());

    QAccessibleInterface* face = Face(change);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::PushButton);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Change"));
    EXPECT_EQ(face->text(QAccessible::Description),
              QStringLiteral("Writes the messenger's settings"));
    const QAccessible::State s = face->state();
    EXPECT_TRUE(s.focusable);
    EXPECT_FALSE(s.focused || s.pressed || s.checkable || s.checked || s.disabled || s.invisible);
    EXPECT_EQ(Actions(change)->actionNames(), QStringList({kPress, kSetFocus}));
    EXPECT_EQ(Actions(change)->keyBindingsForAction(kPress), QStringList{QStringLiteral("Alt+C")});

    DoAction(change, kSetFocus);
    EXPECT_TRUE(change->hasFocus());
    EXPECT_TRUE(face->state().focused);
    EXPECT_EQ(recorder.Count(change, QAccessible::Focus), 1);

    // Held down by the mouse it reads as pressed, and each change of that is told.
    QTest::mousePress(change, Qt::LeftButton, Qt::NoModifier, QPoint(40, 12));
    EXPECT_TRUE(face->state().pressed);
    EXPECT_EQ(recorder.Count(change, QAccessible::StateChanged, PressedState()), 1);
    QTest::mouseRelease(change, Qt::LeftButton, Qt::NoModifier, QPoint(40, 12));
    EXPECT_FALSE(face->state().pressed);
    EXPECT_EQ(recorder.Count(change, QAccessible::StateChanged, PressedState()), 2);
}

TEST_F(ButtonAccessibility, NamesReadTheCaptionAsAPersonDoesOrFallBackToTheToolTip) {
    struct Case {
        std::string caption;
        QString toolTip;
        QString name;
    };
    const Case cases[] = {
        {"Save && Exit", {}, QStringLiteral("Save & Exit")},
        {"&First\r\nline", {}, QStringLiteral("First line")},
        {"One\nTwo\rThree", {}, QStringLiteral("One Two Three")},
        {"A&B&C", {}, QStringLiteral("AB&C")},  // only the first marker is one
        {"&&&x", {}, QStringLiteral("&x")},
        {"End&", {}, QStringLiteral("End")},
        {"...", QStringLiteral("Browse for image"), QStringLiteral("Browse for image")},
        {"...", {}, QStringLiteral("CmdDots")},  // nothing else to go by: the control's name
        {"", QStringLiteral("Open"), QStringLiteral("Open")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        auto w = std::make_unique<TarvexButtonWidget>(&form, QStringLiteral("CmdDots"));
        ButtonOf(*w).SetCaption(c.caption);
        w->setToolTip(c.toolTip);
        EXPECT_EQ(Face(w.get())->text(QAccessible::Name), c.name);
    }

    // "Save && Exit" has no access key; a name set by the program wins over everything.
    TarvexButtonWidget* save = AddButton(QStringLiteral("CmdSave"), "Save && Exit");
    EXPECT_TRUE(Actions(save)->keyBindingsForAction(kPress).isEmpty());
    save->setAccessibleName(QStringLiteral("Save the file and leave"));
    EXPECT_EQ(Face(save)->text(QAccessible::Name), QStringLiteral("Save the file and leave"));

    // An icon alone says nothing either: the tool tip names the button and describes it.
    QTemporaryDir dir;
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    ASSERT_TRUE(icon.save(dir.filePath(QStringLiteral("open.png"))));
    TarvexButtonWidget* open = AddButton(QStringLiteral("CmdOpen"), "");
    ButtonOf(*open).SetIcon(tarvex::qt::LoadPicture(dir.filePath(QStringLiteral("open.png"))));
    ASSERT_EQ(ButtonOf(*open).mIconPresent, kTrue);
    open->setToolTip(QStringLiteral("Open a file"));
    EXPECT_EQ(Face(open)->text(QAccessible::Name), QStringLiteral("Open a file"));
    EXPECT_EQ(Face(open)->text(QAccessible::Description), QStringLiteral("Open a file"));
}

TEST_F(ButtonAccessibility, DisabledButtonIsUnavailableAndCannotBePressed) {
    TarvexButtonWidget* change = AddButton(QStringLiteral("CmdChange"), "Change");
    auto clicks = std::make_shared<int>(0);
    ClickCounter(change, clicks);
    Show();

    ButtonOf(*change).SetEnabled(kFalse);
    EXPECT_TRUE(Face(change)->state().disabled);
    EXPECT_EQ(recorder.Count(change, QAccessible::StateChanged, DisabledState()), 1);
    EXPECT_TRUE(Actions(change)->actionNames().isEmpty());
    DoAction(change, kPress);
    EXPECT_EQ(*clicks, 0);

    ButtonOf(*change).SetEnabled(kTrue);
    EXPECT_FALSE(Face(change)->state().disabled);
    EXPECT_EQ(recorder.Count(change, QAccessible::StateChanged, DisabledState()), 2);
    DoAction(change, kPress);
    EXPECT_EQ(*clicks, 1);
}

TEST_F(ButtonAccessibility, PressRaisesClickOnceThroughTheControlsOwnHandlers) {
    TarvexButtonWidget* change = AddButton(QStringLiteral("CmdChange"), "Change");
    auto clicks = std::make_shared<int>(0);
    auto mouseEvents = std::make_shared<int>(0);
    ClickCounter(change, clicks);
    QObject::connect(change, &TarvexButtonWidget::mouseDown, [mouseEvents] { ++*mouseEvents; });
    QObject::connect(change, &TarvexButtonWidget::mouseUp, [mouseEvents] { ++*mouseEvents; });
    Show();

    Actions(change)->doAction(kPress);
    EXPECT_EQ(*clicks, 0) << "the press runs after the tool has its answer";
    QApplication::processEvents();
    EXPECT_EQ(*clicks, 1);
    EXPECT_EQ(*mouseEvents, 0) << "no mouse made this press";
    // The pressed look came and went, and listening tools heard both.
    EXPECT_EQ(recorder.Count(change, QAccessible::StateChanged, PressedState()), 2);
    EXPECT_FALSE(Face(change)->state().pressed);
}

TEST_F(ButtonAccessibility, PressOfAButtonThatItsClickDestroysEndsQuietly) {
    auto* doomed = AddButton(QStringLiteral("CmdDoomed"), "Close");
    QObject::connect(doomed, &TarvexButtonWidget::clicked, doomed, [doomed] { delete doomed; });
    const QPointer<TarvexButtonWidget> watch(doomed);
    Show();
    DoAction(doomed, kPress);
    EXPECT_TRUE(watch.isNull());
    // A press asked for just before the button goes away does nothing.
    TarvexButtonWidget* gone = AddButton(QStringLiteral("CmdGone"), "Gone");
    Actions(gone)->doAction(kPress);
    delete gone;
    QApplication::processEvents();
}

TEST_F(ButtonAccessibility, OptionGroupReadsAsRadioButtonsAndEveryMemberTellsItsChange) {
    TarvexButtonWidget* options[3] = {AddButton(QStringLiteral("OptA"), "&Small"),
                                      AddButton(QStringLiteral("OptB"), "&Medium"),
                                      AddButton(QStringLiteral("OptC"), "&Large")};
    auto clicks = std::make_shared<int>(0);
    for (TarvexButtonWidget* o : options) {
        ButtonOf(*o).SetOptionButton(kTrue);
        ClickCounter(o, clicks);
    }
    ButtonOf(*options[0]).SetValue(kTrue);
    Show();
    for (TarvexButtonWidget* o : options) {
        EXPECT_EQ(Face(o)->role(), QAccessible::RadioButton);
        EXPECT_TRUE(Face(o)->state().checkable);
    }
    EXPECT_TRUE(Face(options[0])->state().checked);
    EXPECT_FALSE(Face(options[1])->state().checked);
    EXPECT_EQ(Actions(options[1])->keyBindingsForAction(kPress),
              QStringList{QStringLiteral("Alt+M")});

    recorder.events.clear();
    DoAction(options[1], kPress);
    EXPECT_EQ(*clicks, 1);
    EXPECT_FALSE(Face(options[0])->state().checked);
    EXPECT_TRUE(Face(options[1])->state().checked);
    EXPECT_EQ(recorder.Count(options[0], QAccessible::StateChanged, CheckedState()), 1);
    EXPECT_EQ(recorder.Count(options[1], QAccessible::StateChanged, CheckedState()), 1);
    EXPECT_EQ(recorder.Count(options[2], QAccessible::StateChanged), 0);

    // Pressing the selected one again changes nothing and raises no Click, as a click would not.
    DoAction(options[1], kPress);
    EXPECT_EQ(*clicks, 1);
    EXPECT_TRUE(Face(options[1])->state().checked);

    // Back to a command button: no longer checkable, and tools hear of it.
    ButtonOf(*options[2]).SetOptionButton(kFalse);
    EXPECT_EQ(Face(options[2])->role(), QAccessible::PushButton);
    EXPECT_FALSE(Face(options[2])->state().checkable);
}

TEST_F(ButtonAccessibility, NameDescriptionAndHoverChangesAreTold) {
    TarvexButtonWidget* dots = AddButton(QStringLiteral("CmdBrowse"), "...");
    Show();
    recorder.events.clear();

    // The tool tip is both the name and the description of a caption that says nothing.
    dots->setToolTip(QStringLiteral("Browse for image"));
    EXPECT_EQ(recorder.Count(dots, QAccessible::NameChanged), 1);
    EXPECT_EQ(recorder.Count(dots, QAccessible::DescriptionChanged), 1);

    ButtonOf(*dots).SetCaption("&Browse");
    EXPECT_EQ(recorder.Count(dots, QAccessible::NameChanged), 2);
    EXPECT_EQ(Face(dots)->text(QAccessible::Name), QStringLiteral("Browse"));
    ButtonOf(*dots).SetCaption("&Browse");  // the same caption again: nothing to tell
    EXPECT_EQ(recorder.Count(dots, QAccessible::NameChanged), 2);

    QMouseEvent move(QEvent::MouseMove, QPointF(20, 10), dots->mapToGlobal(QPointF(20, 10)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(dots, &move);
    EXPECT_TRUE(Face(dots)->state().hotTracked);
    EXPECT_EQ(recorder.Count(dots, QAccessible::StateChanged, HotTrackedState()), 1);
}

}  // namespace
