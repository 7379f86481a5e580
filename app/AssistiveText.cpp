#include "app/AssistiveText.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "app/FrmVornik.hpp"
#include "app/WindowCommands.hpp"

namespace vornik {
namespace {

class WindowAccessible final : public QAccessibleWidget {
  public:
    explicit WindowAccessible(FrmVornik* window) : QAccessibleWidget(window, QAccessible::Window) {}

    // Busy while a command runs: its controls take nothing meanwhile.
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.busy = static_cast<const FrmVornik*>(widget())->CommandRunning();
        return s;
    }
};

QAccessibleInterface* WindowInterfaceFactory(const QString&, QObject* object) {
    if (auto* window = qobject_cast<FrmVornik*>(object)) return new WindowAccessible(window);
    return nullptr;
}

// The controls of the layout in tab order; those that have no tab index (the picture) follow in
// the order the layout lists them.
std::vector<const tarvex::LayoutControl*> InTabOrder(const tarvex::FormLayout& layout) {
    std::vector<const tarvex::LayoutControl*> ordered;
    for (const tarvex::LayoutControl& stored : layout.controls) ordered.push_back(&stored);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const tarvex::LayoutControl* a, const tarvex::LayoutControl* b) {
                         if (!b->tabIndex) return a->tabIndex.has_value();
                         return a->tabIndex && *a->tabIndex < *b->tabIndex;
                     });
    return ordered;
}

// Assistive tools list a window's children in the order the window holds them; raising each
// control in tab order makes that the tab order. The controls do not overlap, so nothing on
// screen changes.
void OrderChildrenAsTabOrder(QWidget& form, const tarvex::FormLayout& layout) {
    for (const tarvex::LayoutControl* stored : InTabOrder(layout)) {
        if (auto* control = form.findChild<QWidget*>(QString::fromStdString(stored->name),
                                                     Qt::FindDirectChildrenOnly))
            control->raise();
    }
}

}  // namespace

void InstallWindowAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(WindowInterfaceFactory);
        return true;
    }();
    (void)installed;
}

void DescribeForAssistiveTools(QWidget& form, const tarvex::FormLayout& layout,
                               const StandardControls& controls) {
    // "Image Location:" names the text box (and Qt reads it as the box's name).
    controls.Label2->setBuddy(controls.Text1);
    const auto text = [](std::string_view utf8) {
        return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    };
    controls.Image1->setAccessibleName(text(kPictureName));
    controls.Image1->setAccessibleDescription(text(kPictureDescription));
    form.setAccessibleDescription(text(kWindowDescription));
    OrderChildrenAsTabOrder(form, layout);
}

}  // namespace vornik
