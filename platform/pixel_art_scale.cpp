#include "platform/pixel_art_scale.h"

namespace zepa {
namespace {

QImage doubled(const QImage& source) {
    const QImage in = source.convertToFormat(QImage::Format_ARGB32);
    const int w = in.width();
    const int h = in.height();
    QImage out(w * 2, h * 2, QImage::Format_ARGB32);
    if (out.isNull()) {
        return out;
    }
    const auto at = [&](int x, int y, QRgb outside) {
        return x < 0 || y < 0 || x >= w || y >= h ? outside : in.pixel(x, y);
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb p = in.pixel(x, y);
            const QRgb a = at(x, y - 1, p);  // above
            const QRgb b = at(x + 1, y, p);  // right
            const QRgb c = at(x - 1, y, p);  // left
            const QRgb d = at(x, y + 1, p);  // below
            out.setPixel(2 * x, 2 * y, c == a && c != d && a != b ? a : p);
            out.setPixel(2 * x + 1, 2 * y, a == b && a != c && b != d ? b : p);
            out.setPixel(2 * x, 2 * y + 1, d == c && d != b && c != a ? c : p);
            out.setPixel(2 * x + 1, 2 * y + 1, b == d && b != a && d != c ? d : p);
        }
    }
    return out;
}

}  // namespace

QImage scalePixelArt(const QImage& image, int scale) {
    if (image.isNull() || scale <= 1) {
        return image;
    }
    if (scale == 2) {
        return doubled(image);
    }
    if (scale == 4) {
        return doubled(doubled(image));
    }
    return image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace zepa
