// Qt's own state as the control's: the widget's enabled setting is the control's Enabled, its font
// the caption font, the application palette the system colours, and its size hint the caption's
// room. Whatever pointer a change comes through (QWidget::setEnabled, QWidget::setFont, a parent,
// a new desktop palette), the control's own procedure runs, with its rules and redraw.
#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <cmath>

#include "button/PropertyBag.hpp"
#include "button/render/PreferredSize.hpp"
#include "host/qt/DevicePixels.hpp"
#include "host/qt/WidgetPrivate.hpp"
#include "host/qt/WidgetSupport.hpp"

namespace tarvex::qt {

using namespace detail;

namespace {

bool SameFont(const FontObject& a, const FontObject& b) {
    return a.Name() == b.Name() && a.SizeTenThousandths() == b.SizeTenThousandths() &&
           a.Bold() == b.Bold() && a.Italic() == b.Italic() && a.Underline() == b.Underline() &&
           a.Strikethrough() == b.Strikethrough();
}

// A colour property holding a system colour (the classic high-bit reference) draws in it.
bool IsSystemColour(OleColor colour) {
    return colour < -1;
}

}  // namespace

// ---- Enabled ---------------------------------------------------------------------------------

// The widget's own setting, as Qt keeps it: a disabled parent does not change it.
bool TarvexButtonWidgetPrivate::Enabled() const {
    return !q->testAttribute(Qt::WA_ForceDisabled);
}
bool TarvexButtonWidgetPrivate::EffectivelyEnabled() const {
    return q->isEnabled();
}
void TarvexButtonWidgetPrivate::SetEnabled(bool enabled) {
    const bool was = std::exchange(applyingEnabled_, true);
    q->QWidget::setEnabled(enabled);
    applyingEnabled_ = was;
}

void TarvexButtonWidgetPrivate::followEnabledChange() {
    if (applyingEnabled_ || !button_) return;
    const bool own = Enabled();
    if (loading_) {
        loading_->Write("ENAB", PropertyValue::Boolean(own));
        rereadLoadedProperties();
    } else if (own != (button_->Enabled() != 0)) {
        ReportingFailures(q, [&] { button_->SetEnabled(ToVBool(own)); });
    } else {
        // A window around it was enabled or disabled: the same setting, another look.
        button_->RefreshButton();
    }
    publishChanges();
}

// ---- Font ------------------------------------------------------------------------------------

FontRef TarvexButtonWidgetPrivate::Font() const {
    return baseFont_;
}
// The caption font the control takes is the widget's font, so QWidget::font() reads it.
void TarvexButtonWidgetPrivate::SetFont(FontRef font) {
    baseFont_ = std::move(font);
    if (!baseFont_) return;
    const bool was = std::exchange(applyingFont_, true);
    q->QWidget::setFont(ToQFont(*baseFont_));
    applyingFont_ = was;
}

void TarvexButtonWidgetPrivate::followFontChange() {
    if (applyingFont_ || !button_) return;
    const FontRef object = FontObjectFrom(q->font());
    const FontRef current = button_->Font();
    if (current && SameFont(*current, *object)) return;
    if (loading_) {
        loading_->Write("FONT", PropertyValue::Font(object));
        rereadLoadedProperties();
    } else {
        ReportingFailures(q, [&] { button_->SetFont(object); });
    }
    q->updateGeometry();
    publishChanges();
}

// ---- Colours ---------------------------------------------------------------------------------

bool TarvexButtonWidgetPrivate::drawsWithSystemColours() const {
    const TarvexButton& b = *button_;
    switch (b.mColorScheme) {
        case 2:
        case 5:
            return IsSystemColour(b.mBackColor) || IsSystemColour(b.mForeColor) ||
                   IsSystemColour(b.mHoverForeColor);
        case 3:
        case 4:
            return false;  // fixed grey; the container's palette (a PaletteChange of its own)
        default:
            return true;
    }
}

// Qt tells a widget of a new application palette more than once (the application's event, the
// widget's own palette change): the first one it hears rebuilds, the others find nothing new.
void TarvexButtonWidgetPrivate::followApplicationPalette() {
    if (!button_) return;
    SyncSystemColours();
    const std::uint64_t generation = SystemColoursGeneration();
    if (generation == coloursGeneration_) return;
    coloursGeneration_ = generation;
    if (!drawsWithSystemColours()) return;
    button_->BuildPalette(false);
    button_->RefreshButton();
    publishChanges();
}

// ---- Qt's change events ----------------------------------------------------------------------

void TarvexButtonWidgetPrivate::changeEvent(QEvent* e) {
    if (!button_) return;
    switch (e->type()) {
        case QEvent::EnabledChange:
            followEnabledChange();
            break;
        case QEvent::FontChange:
            followFontChange();
            break;
        case QEvent::PaletteChange:
            button_->AmbientChanged("BackColor");
            followApplicationPalette();
            break;
        case QEvent::ParentChange: {
            const QString now = q->container();
            if (now != publishedContainer_) {
                publishedContainer_ = now;
                emit q->containerChanged(now);
            }
            break;
        }
        default:
            break;
    }
}

// ---- Size hint -------------------------------------------------------------------------------

// The control measures in device pixels; the hint is in logical ones, rounded up so that the
// surface a layout gives is never narrower than the caption.
QSize TarvexButtonWidgetPrivate::preferredSize() const {
    if (!button_) return {81, 25};
    const qreal ratio = deviceRatio() > 0 ? deviceRatio() : 1.0;
    const PreferredExtent extent = PreferredSize(*button_, ExactTwipsPerPixelY());
    return {int(std::ceil(extent.width / ratio)), int(std::ceil(extent.height / ratio))};
}

}  // namespace tarvex::qt
