#include "app/window/backing_image.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

#include "platform/raster_surface.h"

namespace zepa {

int backingScaleFor(double devicePixelRatio) {
    // A hair over a whole ratio is that ratio: 2.0000001 from a scale computation is 2.
    const double whole = std::ceil(devicePixelRatio - 1e-6);
    if (!(whole >= 1)) {
        return 1;
    }
    return static_cast<int>(std::min<double>(whole, kMaxSurfaceScale));
}

int backingScale(const QWidget& widget) {
    return backingScaleFor(widget.devicePixelRatioF());
}

bool prepareBackingImage(QImage& image, QSize logical, int scale) {
    const QSize device = logical * scale;
    if (image.size() != device || image.format() != QImage::Format_RGB32) {
        image = QImage(device, QImage::Format_RGB32);
        if (image.isNull()) {
            return false;
        }
    }
    image.setDevicePixelRatio(scale);
    return true;
}

int imageScale(const QImage& image) {
    return std::max(1, qRound(image.devicePixelRatio()));
}

bool backingOutOfDate(const QImage& image, const QWidget& widget) {
    return !image.isNull() && imageScale(image) != backingScale(widget);
}

QRect logicalRect(const QImage& image) {
    const int scale = imageScale(image);
    return QRect(0, 0, image.width() / scale, image.height() / scale);
}

void drawBackingImage(QPainter& painter, const QImage& image, const QRect& logical) {
    const QRect shown = logical & logicalRect(image);
    if (shown.isEmpty()) {
        return;
    }
    const int scale = imageScale(image);
    const QRect source(shown.topLeft() * scale, shown.size() * scale);
    if (scale == 1 && painter.device()->devicePixelRatioF() == 1.0) {
        painter.drawImage(shown.topLeft(), image, shown);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform,
                          painter.device()->devicePixelRatioF() != image.devicePixelRatio());
    painter.drawImage(QRectF(shown), image, QRectF(source));
}

}  // namespace zepa
