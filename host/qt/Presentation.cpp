// What the control looks like on screen: its back buffer presented, its window shape, its size,
// the screen's twips per pixel and its mouse pointer.
#include <QCursor>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QShowEvent>
#include <cmath>

#include "host/qt/Accessibility.hpp"
#include "host/qt/DevicePixels.hpp"
#include "host/qt/WidgetPrivate.hpp"
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

// The back buffer holds device pixels; an image of the same device pixel ratio puts each of them
// on one device pixel, with no resampling.
void TarvexButtonWidgetPrivate::paintEvent() {
    if (!button_) return;
    const gdi::Surface& image = button_->BackBuffer();
    if (image.empty()) return;
    const qreal ratio = deviceRatio();
    QPainter painter(q);
    if (shape_ && ratio != 1.0) {
        // The logical mask is coarser than the shape: the shape's own edge is drawn here.
        painter.drawImage(QPointF(0, 0), ShapedImage(image, *shape_, ratio));
        return;
    }
    // The back buffer is shown where it lies: no copy of its pixels.
    QImage view(reinterpret_cast<const uchar*>(image.bits()), image.width(), image.height(),
                qsizetype(image.stride()) * 4, QImage::Format_RGB32);
    view.setDevicePixelRatio(ratio);
    painter.drawImage(QPointF(0, 0), view);
}

void TarvexButtonWidgetPrivate::resizeEvent() {
    if (button_) button_->Resize();
}

void TarvexButtonWidgetPrivate::showEvent(QShowEvent* event) {
    finishLoading();
    if (!button_ || event->spontaneous()) return;
    drawnRatio_ = deviceRatio();
    button_->Show();
}

void TarvexButtonWidgetPrivate::followScreenScale(const QEvent& event) {
    bool scaleEvent = event.type() == QEvent::ScreenChangeInternal;
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    scaleEvent = scaleEvent || event.type() == QEvent::DevicePixelRatioChange;
#endif
    if (!scaleEvent || !button_ || deviceRatio() == drawnRatio_) return;
    drawnRatio_ = deviceRatio();
    button_->ResolutionChanged();
}

qreal TarvexButtonWidgetPrivate::deviceRatio() const {
    return q->devicePixelRatioF();
}

QPointF TarvexButtonWidgetPrivate::devicePosition(const QMouseEvent& event) const {
    return event.position() * deviceRatio();
}

// Whether the device pixel under the point is one the window shows (inside it and its shape).
bool TarvexButtonWidgetPrivate::showsDevicePoint(QPointF devicePoint) const {
    const int x = int(std::floor(devicePoint.x()));
    const int y = int(std::floor(devicePoint.y()));
    const QSize surface = DevicePixelSize(q->size(), deviceRatio());
    if (x < 0 || y < 0 || x >= surface.width() || y >= surface.height()) return false;
    return !shape_ || shape_->PtInRegion(x, y);
}

void TarvexButtonWidgetPrivate::applyCursor() {
    if (mousePointer_ == kCustomPointer && mouseIcon_ && mouseIcon_->HasHandle()) {
        const gdi::Surface& s = mouseIcon_->Pixels();
        const QImage view(reinterpret_cast<const uchar*>(s.bits()), s.width(), s.height(),
                          qsizetype(s.stride()) * 4, QImage::Format_ARGB32);
        q->setCursor(QCursor(QPixmap::fromImage(view)));  // QPixmap copies the pixels
    } else if (mousePointer_ == 0 || mousePointer_ == kCustomPointer) {
        q->unsetCursor();
    } else {
        q->setCursor(CursorShapeOf(mousePointer_));
    }
}

// ---- UserControlSite -------------------------------------------------------------------------

std::uintptr_t TarvexButtonWidgetPrivate::hWnd() const {
    return reinterpret_cast<std::uintptr_t>(static_cast<const QWidget*>(q));
}
std::int32_t TarvexButtonWidgetPrivate::ScaleWidth() const {
    return DevicePixelSize(q->size(), deviceRatio()).width();
}
std::int32_t TarvexButtonWidgetPrivate::ScaleHeight() const {
    return DevicePixelSize(q->size(), deviceRatio()).height();
}

// Presents at once when shown, so that the access key's pressed look appears before its pause.
void TarvexButtonWidgetPrivate::Refresh() {
    if (q->isVisible() && q->updatesEnabled())
        q->repaint();
    else
        q->update();
    // Every change of the control's state ends in a refresh: the moment to tell listening tools,
    // and to look for changed properties.
    ReportAccessibleChanges(*q);
    publishChanges();
}

void TarvexButtonWidgetPrivate::SetWindowRgn(std::optional<gdi::Region> region, bool redraw) {
    shape_ = std::move(region);
    applyShape();
    if (redraw) q->update();
}

// QWidget::setMask takes logical pixels, and at a fractional ratio a device-pixel shape has no
// logical equal (a corner cut of three device pixels is a pixel and a half). The mask therefore
// covers every logical pixel the shape touches, and the paint draws the exact edge: pixels
// outside the shape transparent over the parent, which is then painted beneath the button. At
// ratio 1 the mask is the shape and the button paints opaque, as it always has.
void TarvexButtonWidgetPrivate::applyShape() {
    const qreal ratio = deviceRatio();
    q->setAttribute(Qt::WA_OpaquePaintEvent, !shape_ || ratio == 1.0);
    if (!shape_) {
        q->clearMask();
    } else if (shape_->empty()) {
        // An empty shape hides the window; an empty QRegion would remove the mask instead.
        q->setMask(QRegion(-1, -1, 1, 1));
    } else {
        q->setMask(LogicalCover(*shape_, ratio));
    }
}

std::int16_t TarvexButtonWidgetPrivate::MousePointer() const {
    return mousePointer_;
}
void TarvexButtonWidgetPrivate::SetMousePointer(std::int16_t pointer) {
    if (!IsKnownPointer(pointer))
        throw HostError("invalid mouse pointer " + std::to_string(pointer));
    mousePointer_ = pointer;
    applyCursor();
    publishChanges();
}
PictureRef TarvexButtonWidgetPrivate::MouseIcon() const {
    return mouseIcon_;
}
void TarvexButtonWidgetPrivate::SetMouseIcon(PictureRef icon) {
    mouseIcon_ = std::move(icon);
    applyCursor();
    publishChanges();
}
// Twips per device pixel: the screen's logical resolution times the device pixel ratio.
double TarvexButtonWidgetPrivate::ExactTwipsPerPixelY() const {
    const QScreen* s = q->screen();
    const double dpi = (s ? s->logicalDotsPerInchY() : 96.0) * deviceRatio();
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}
std::int32_t TarvexButtonWidgetPrivate::TwipsPerPixelY() const {
    return std::int32_t(ExactTwipsPerPixelY());
}

}  // namespace tarvex::qt
