// Change signals: each widget keeps the values it last published and compares them with what its
// properties read back whenever something may have changed them.
#include "host/qt/Notifications.hpp"

#include <QCoreApplication>
#include <QPointer>
#include <algorithm>
#include <vector>

#include "host/qt/WidgetPrivate.hpp"

namespace tarvex::qt {

namespace {

using W = TarvexButtonWidget;

// The numeric properties, in the order of PropertySnapshot::numbers.
constexpr std::size_t kNumbers = 16;
std::array<std::int64_t, kNumbers> Numbers(const W& w) {
    return {w.alignment(),
            w.showFocus(),
            w.graphicsMode(),
            w.value(),
            w.optionButton(),
            w.iconAlignment(),
            w.gradientOrientation(),
            w.buttonType(),
            w.iconSize(),
            w.captionStyle(),
            w.colorScheme(),
            w.buttonStyle(),
            w.captionOrientation(),
            w.mousePointer(),
            0,
            0};
}

void EmitNumber(W& w, std::size_t i) {
    switch (i) {
        case 0:
            emit w.alignmentChanged(w.alignment());
            break;
        case 1:
            emit w.showFocusChanged(w.showFocus());
            break;
        case 2:
            emit w.graphicsModeChanged(w.graphicsMode());
            break;
        case 3:
            emit w.valueChanged(w.value());
            emit w.toggled(w.value());
            break;
        case 4:
            emit w.optionButtonChanged(w.optionButton());
            break;
        case 5:
            emit w.iconAlignmentChanged(w.iconAlignment());
            break;
        case 6:
            emit w.gradientOrientationChanged(w.gradientOrientation());
            break;
        case 7:
            emit w.buttonTypeChanged(w.buttonType());
            break;
        case 8:
            emit w.iconSizeChanged(w.iconSize());
            break;
        case 9:
            emit w.captionStyleChanged(w.captionStyle());
            break;
        case 10:
            emit w.colorSchemeChanged(w.colorScheme());
            break;
        case 11:
            emit w.buttonStyleChanged(w.buttonStyle());
            break;
        case 12:
            emit w.captionOrientationChanged(w.captionOrientation());
            break;
        case 13:
            emit w.mousePointerChanged(w.mousePointer());
            break;
        default:
            break;
    }
}

std::array<QColor, 7> Colours(const W& w) {
    return {w.embossEngraveShadow(),
            w.embossEngraveMid(),
            w.gradientStartColor(),
            w.gradientStopColor(),
            w.backColor(),
            w.foreColor(),
            w.mouseOver()};
}

void EmitColour(W& w, std::size_t i) {
    switch (i) {
        case 0:
            emit w.embossEngraveShadowChanged(w.embossEngraveShadow());
            break;
        case 1:
            emit w.embossEngraveMidChanged(w.embossEngraveMid());
            break;
        case 2:
            emit w.gradientStartColorChanged(w.gradientStartColor());
            break;
        case 3:
            emit w.gradientStopColorChanged(w.gradientStopColor());
            break;
        case 4:
            emit w.backColorChanged(w.backColor());
            break;
        case 5:
            emit w.foreColorChanged(w.foreColor());
            break;
        default:
            emit w.mouseOverChanged(w.mouseOver());
            break;
    }
}

// The widgets whose signals wait for the outermost scope, in the order they first changed.
struct PendingChanges {
    int depth = 0;
    bool flushQueued = false;
    std::vector<QPointer<W>> widgets;
};

PendingChanges& Pending() {
    static PendingChanges pending;
    return pending;
}

void Flush() {
    PendingChanges& pending = Pending();
    // A handler may write again (queueing more) or delete widgets: take the list first.
    while (!pending.widgets.empty()) {
        std::vector<QPointer<W>> widgets;
        widgets.swap(pending.widgets);
        for (const QPointer<W>& widget : widgets) {
            if (widget) TarvexButtonWidgetPrivate::Publish(*widget);
        }
    }
}

}  // namespace

PropertySnapshot TakeSnapshot(const W& w) {
    PropertySnapshot s;
    if (!HasButton(w)) return s;
    const TarvexButton& b = ButtonOf(w);
    s.numbers = Numbers(w);
    s.colours = Colours(w);
    s.caption = w.caption();
    s.icon = b.Icon().get();
    s.mouseIcon = b.MouseIcon().get();
    s.taken = true;
    return s;
}

void EmitChanges(W& w, const PropertySnapshot& before, const PropertySnapshot& after) {
    if (!before.taken || !after.taken) return;
    const QPointer<W> alive(&w);
    for (std::size_t i = 0; i < kNumbers && alive; ++i)
        if (before.numbers[i] != after.numbers[i]) EmitNumber(w, i);
    for (std::size_t i = 0; i < before.colours.size() && alive; ++i)
        if (before.colours[i] != after.colours[i]) EmitColour(w, i);
    if (alive && before.caption != after.caption) emit w.captionChanged(w.caption());
    if (alive && before.icon != after.icon) emit w.iconChanged(w.icon());
    if (alive && before.mouseIcon != after.mouseIcon) emit w.mouseIconChanged(w.mouseIcon());
}

ChangeScope::ChangeScope() {
    ++Pending().depth;
}

ChangeScope::~ChangeScope() {
    if (--Pending().depth > 0) return;
    ++Pending().depth;  // a handler's own writes wait for this flush
    Flush();
    --Pending().depth;
}

void NoteChanged(W& widget) {
    PendingChanges& pending = Pending();
    if (std::find(pending.widgets.begin(), pending.widgets.end(), &widget) == pending.widgets.end())
        pending.widgets.emplace_back(&widget);
    if (pending.depth > 0 || pending.flushQueued) return;
    // A change made outside any handling of ours (the control called directly): the signals go
    // out from the event loop, never from inside the control's procedure.
    pending.flushQueued = true;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            Pending().flushQueued = false;
            const ChangeScope scope;
        },
        Qt::QueuedConnection);
}

void ForgetChanges(W& widget) {
    std::vector<QPointer<W>>& widgets = Pending().widgets;
    widgets.erase(std::remove(widgets.begin(), widgets.end(), &widget), widgets.end());
}

void TarvexButtonWidgetPrivate::publishChanges() {
    NoteChanged(*q);
}

}  // namespace tarvex::qt
