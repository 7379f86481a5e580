#include "app/CommandGate.hpp"

#include <QAccessible>
#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QValidator>
#include <QWidget>
#include <algorithm>

namespace vornik {

// Qt's text interface of a line edit writes through setText, which a read-only box does not
// refuse; the validator a line edit consults on every change of its text can: it turns any text
// back into the one the box holds.
class CommandGate::TextFreeze final : public QValidator {
  public:
    explicit TextFreeze(QString kept) : kept_(std::move(kept)) {}
    State validate(QString& input, int& position) const override {
        input = kept_;
        position = std::min(position, static_cast<int>(input.size()));
        return Acceptable;
    }
    void Keep(const QString& text) { kept_ = text; }

  private:
    QString kept_;
};

namespace {

// A held check box is disabled, so that neither a click nor an assistive tool's toggle changes
// it, but it is drawn as before.
QPalette LooksEnabled(QPalette palette) {
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        if (r == QPalette::NoRole) continue;
        palette.setBrush(QPalette::Disabled, r, palette.brush(QPalette::Active, r));
    }
    return palette;
}

}  // namespace

CommandGate::CommandGate(QWidget& window) : window_(window) {}

CommandGate::~CommandGate() {
    Release();
}

bool CommandGate::Run(const std::function<void()>& command) {
    if (running_) return false;
    running_ = true;
    struct End {
        CommandGate& gate;
        ~End() {
            gate.running_ = false;
            gate.Release();
        }
    } end{*this};
    command();
    return true;
}

void CommandGate::HoldControls() {
    if (!running_ || held_) return;
    held_ = true;
    focus_ = window_.focusWidget();
    for (QCheckBox* box : window_.findChildren<QCheckBox*>(Qt::FindDirectChildrenOnly)) {
        HeldBox held{box, box->palette(), box->isChecked(), {}};
        box->setPalette(LooksEnabled(held.palette));
        box->setEnabled(false);
        // A click an assistive tool started just before lands after a delay of its own.
        held.keep = QObject::connect(box, &QCheckBox::toggled, box, [box, kept = held.checked] {
            const QSignalBlocker quiet(box);
            box->setChecked(kept);
        });
        boxes_.push_back(std::move(held));
    }
    for (QLineEdit* box : window_.findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
        HeldText held{box, box->isReadOnly(), std::make_unique<TextFreeze>(box->text())};
        box->setReadOnly(true);
        box->setValidator(held.freeze.get());
        texts_.push_back(std::move(held));
    }
    ReportBusy();
}

void CommandGate::SetText(QLineEdit& box, const QString& text) {
    for (HeldText& held : texts_) {
        if (held.box == &box) held.freeze->Keep(text);
    }
    box.setText(text);
}

void CommandGate::Release() {
    if (!held_) return;
    held_ = false;
    for (HeldBox& held : boxes_) {
        QObject::disconnect(held.keep);
        if (!held.box) continue;
        held.box->setEnabled(true);
        held.box->setPalette(held.palette);
    }
    boxes_.clear();
    for (HeldText& held : texts_) {
        if (!held.box) continue;
        held.box->setValidator(nullptr);
        held.box->setReadOnly(held.readOnly);
    }
    texts_.clear();
    // Disabling the check box that had the focus moved it on.
    if (focus_ && window_.focusWidget() != focus_) focus_->setFocus(Qt::OtherFocusReason);
    focus_ = nullptr;
    ReportBusy();
}

void CommandGate::ReportBusy() const {
    QAccessible::State busy;
    busy.busy = true;
    QAccessibleStateChangeEvent event(&window_, busy);
    QAccessible::updateAccessibility(&event);
}

}  // namespace vornik
