// The control draws in device pixels; Qt lays widgets out in logical ones. These convert between
// the two for a widget whose device pixel ratio may be a fraction (1.25, 1.5) or a whole number.
#pragma once

#include <QImage>
#include <QRegion>
#include <QSize>

#include "gdi/gdi.hpp"

namespace tarvex::qt {

// The drawing surface of a widget of `logical` size: each side times the ratio, rounded to the
// nearest pixel as Qt rounds the backing store and a grab (81 x 25 at 1.5 is 122 x 38).
QSize DevicePixelSize(QSize logical, qreal ratio);

// A mask for QWidget::setMask, which takes logical pixels, from a shape in device pixels: every
// logical pixel that holds a device pixel of the shape. At ratio 1 it is the shape itself; at other
// ratios it is larger by less than one logical pixel at the edges, and the exact edge is drawn as
// transparency (ShapedImage).
QRegion LogicalCover(const gdi::Region& shape, qreal ratio);

// The back buffer as an image of that device pixel ratio, presented one pixel to one device pixel:
// opaque inside `shape`, transparent outside it.
QImage ShapedImage(const gdi::Surface& pixels, const gdi::Region& shape, qreal ratio);

}  // namespace tarvex::qt
