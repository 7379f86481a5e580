// What the control looks like on screen: its back buffer presented, its window shape, its size,
// the screen's twips per pixel and its mouse pointer.
#include <QCursor>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QShowEvent>

#include "host/qt/Accessibility.hpp"
#include "host/qt/WidgetSupport.hpp"

namespace tarvex::qt {

using namespace detail;

namespace {

Qt::CursorShape CursorShapeOf(std::int16_t pointer) {
    switch (pointer) {
        case 1:
            return Qt::ArrowCursor;
        case 2:
            return Qt::CrossCursor;
        case 3:
            return Qt::IBeamCursor;
        case 4:
            return Qt::ArrowCursor;  // "icon": no Qt counterpart
        case 5:
            return Qt::SizeAllCursor;
        case 6:
            return Qt::SizeBDiagCursor;
        case 7:
            return Qt::SizeVerCursor;
        case 8:
            return Qt::SizeFDiagCursor;
        case 9:
            return Qt::SizeHorCursor;
        case 10:
            return Qt::UpArrowCursor;
        case 11:
            return Qt::WaitCursor;
        case 12:
            return Qt::ForbiddenCursor;
        case 13:
            return Qt::BusyCursor;
        case 14:
            return Qt::WhatsThisCursor;
        case 15:
            return Qt::SizeAllCursor;
        default:
            return Qt::ArrowCursor;
    }
}

bool IsKnownPointer(std::int16_t pointer) {
    return (pointer >= 0 && pointer <= 15) || pointer == kCustomPointer;
}

}  // namespace

void TarvexButtonWidget::paintEvent(QPaintEvent*) {
    if (!button_) return;
    const gdi::Surface& image = button_->BackBuffer();
    if (image.empty()) return;
    // The back buffer is shown where it lies: no copy of its pixels.
    const QImage view(reinterpret_cast<const uchar*>(image.bits()), image.width(), image.height(),
                      qsizetype(image.stride()) * 4, QImage::Format_RGB32);
    QPainter painter(this);
    painter.drawImage(0, 0, view);
}

void TarvexButtonWidget::resizeEvent(QResizeEvent*) {
    if (button_) button_->Resize();
}

void TarvexButtonWidget::showEvent(QShowEvent* event) {
    if (button_ && !event->spontaneous()) button_->Show();
}
void TarvexButtonWidget::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (button_ && e->type() == QEvent::PaletteChange) button_->AmbientChanged("BackColor");
}

void TarvexButtonWidget::applyCursor() {
    if (mousePointer_ == kCustomPointer && mouseIcon_ && mouseIcon_->HasHandle()) {
        const gdi::Surface& s = mouseIcon_->Pixels();
        const QImage view(reinterpret_cast<const uchar*>(s.bits()), s.width(), s.height(),
                          qsizetype(s.stride()) * 4, QImage::Format_ARGB32);
        setCursor(QCursor(QPixmap::fromImage(view)));  // QPixmap copies the pixels
    } else if (mousePointer_ == 0 || mousePointer_ == kCustomPointer) {
        unsetCursor();
    } else {
        setCursor(CursorShapeOf(mousePointer_));
    }
}

// ---- UserControlSite -------------------------------------------------------------------------

std::uintptr_t TarvexButtonWidget::hWnd() const {
    return reinterpret_cast<std::uintptr_t>(static_cast<const QWidget*>(this));
}
std::int32_t TarvexButtonWidget::ScaleWidth() const {
    return width();
}
std::int32_t TarvexButtonWidget::ScaleHeight() const {
    return height();
}

// Presents at once when shown, so that the access key's pressed look appears before its pause.
void TarvexButtonWidget::Refresh() {
    if (isVisible() && updatesEnabled())
        repaint();
    else
        update();
    // Every change of the control's state ends in a refresh: the moment to tell listening tools.
    ReportAccessibleChanges(*this);
}

void TarvexButtonWidget::SetWindowRgn(std::optional<gdi::Region> region, bool redraw) {
    if (!region) {
        clearMask();
    } else if (region->empty()) {
        // An empty shape hides the window; an empty QRegion would remove the mask instead.
        setMask(QRegion(-1, -1, 1, 1));
    } else {
        setMask(ToQRegion(*region));
    }
    if (redraw) update();
}

std::int16_t TarvexButtonWidget::MousePointer() const {
    return mousePointer_;
}
void TarvexButtonWidget::SetMousePointer(std::int16_t pointer) {
    if (!IsKnownPointer(pointer))
        throw HostError("invalid mouse pointer " + std::to_string(pointer));
    mousePointer_ = pointer;
    applyCursor();
}
PictureRef TarvexButtonWidget::MouseIcon() const {
    return mouseIcon_;
}
void TarvexButtonWidget::SetMouseIcon(PictureRef icon) {
    mouseIcon_ = std::move(icon);
    applyCursor();
}
std::int32_t TarvexButtonWidget::TwipsPerPixelY() const {
    const QScreen* s = screen();
    const double dpi = s ? s->logicalDotsPerInchY() : 96.0;
    return dpi > 0 ? std::int32_t(1440.0 / dpi) : 15;
}

}  // namespace tarvex::qt
