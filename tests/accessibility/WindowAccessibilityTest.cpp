// The Vornik window as assistive tools read it: every control named, in tab order, the text box
// labelled, the commands usable through their actions.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <utility>
#include <vector>

#include "accessibility/AccessibilityRecorder.hpp"
#include "app/AppTestSupport.hpp"
#include "host/qt/TarvexButtonWidget.hpp"

namespace vornik::test {
namespace {

using Heard = std::pair<QAccessible::Role, QString>;

std::vector<Heard> ChildrenOf(QAccessibleInterface* face) {
    std::vector<Heard> children;
    for (int i = 0; i < face->childCount(); ++i)
        children.emplace_back(face->child(i)->role(), face->child(i)->text(QAccessible::Name));
    return children;
}

void Press(QWidget* control) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QApplication::processEvents();
}

TEST(WindowAccessibility, EveryControlIsNamedAndTheTreeFollowsTheTabOrder) {
    AccessibilityRecorder recorder;
    WindowUnderTest w;
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(w.window.get());
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Vornik 1.2"));
    EXPECT_FALSE(window->text(QAccessible::Description).isEmpty());

    const std::vector<Heard> expected = {
        {QAccessible::StaticText, QStringLiteral("Vornik 1.2")},
        {QAccessible::StaticText, QStringLiteral("Image Location:")},
        {QAccessible::EditableText, QStringLiteral("Image Location:")},
        {QAccessible::PushButton, QStringLiteral("Browse for image")},
        {QAccessible::PushButton, QStringLiteral("Help / About")},
        {QAccessible::CheckBox, QStringLiteral("Remove Overview Tab")},
        {QAccessible::CheckBox, QStringLiteral("Remove Address book Tab")},
        {QAccessible::StaticText, QStringLiteral("Restricted Tab Remover")},
        {QAccessible::PushButton, QStringLiteral("Change")},
        {QAccessible::CheckBox, QStringLiteral("Restore Tabs")},
        {QAccessible::Graphic, QStringLiteral("Vornik logo")},
    };
    EXPECT_EQ(ChildrenOf(window), expected);

    // The text box is labelled by "Image Location:", and the label says what it labels.
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(w.window->Text1());
    const auto labels = text->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->object(), w.window->Label2());
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(w.window->Image1())
                     ->text(QAccessible::Description)
                     .isEmpty());

    // The focus still starts in the text box and moves as before.
    EXPECT_TRUE(w.window->Text1()->hasFocus());
}

TEST(WindowAccessibility, CommandsRunThroughTheirPressActions) {
    AccessibilityRecorder recorder;
    WindowUnderTest w;
    Press(w.window->TarvexButton1());
    ASSERT_EQ(w.dialogs.boxes.size(), 1u);
    EXPECT_EQ(w.dialogs.boxes[0].title, QStringLiteral("Help"));

    // "Change" with an image location writes the banners and says so, as a click does.
    w.window->Text1()->setText(QStringLiteral("/tmp/noad.gif"));
    Press(w.window->CmdChange());
    ASSERT_EQ(w.dialogs.boxes.size(), 2u);
    EXPECT_EQ(w.dialogs.boxes[1].text, QStringLiteral("Patch Complete!"));
    EXPECT_EQ(w.prefix.StringValue("Software\\Yahoo\\Pager\\yurl", "Chat Adurl"),
              "Z:\\tmp\\noad.gif");
}

}  // namespace
}  // namespace vornik::test
