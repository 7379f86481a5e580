// Device pixels against logical ones: the surface size, the logical mask of a device-pixel shape
// and the shaped image that draws the shape's exact edge.
#include "host/qt/DevicePixels.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "host/qt/TarvexButtonWidget.hpp"

namespace tarvex::qt {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

int Floor(double v) {
    return int(std::floor(v));
}
int Ceil(double v) {
    return int(std::ceil(v));
}

}  // namespace

QSize DevicePixelSize(QSize logical, qreal ratio) {
    return logical * ratio;  // QSize * qreal rounds each side to the nearest integer
}

QRegion LogicalCover(const gdi::Region& shape, qreal ratio) {
    if (ratio == 1.0 || ratio <= 0.0) return ToQRegion(shape);
    QRegion cover;
    for (const gdi::RowSpan& s : shape.Spans()) {
        if (s.x1 <= s.x0) continue;
        const int left = Floor(s.x0 / ratio);
        const int top = Floor(s.y / ratio);
        const int right = Ceil(s.x1 / ratio);
        const int bottom = Ceil((s.y + 1) / ratio);
        cover += QRect(left, top, right - left, bottom - top);
    }
    return cover;
}

QImage ShapedImage(const gdi::Surface& pixels, const gdi::Region& shape, qreal ratio) {
    const int width = pixels.width();
    const int height = pixels.height();
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (const gdi::RowSpan& s : shape.Spans()) {
        if (s.y < 0 || s.y >= height) continue;
        const int x0 = std::clamp(s.x0, 0, width);
        const int x1 = std::clamp(s.x1, 0, width);
        const std::uint32_t* in = pixels.row(s.y);
        auto* out = reinterpret_cast<std::uint32_t*>(image.scanLine(s.y));
        for (int x = x0; x < x1; ++x) out[x] = in[x] | kOpaque;
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

}  // namespace tarvex::qt
