// The pictures the windows draw with the raster surface, at the screen's device pixel ratio:
// a whole number of device pixels per logical pixel, so that lines and text are drawn for the
// screen rather than blown up. A fractional ratio (1.25, 1.5) is drawn at the next whole one
// and shown scaled down smoothly, which keeps every stroke even.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

class QPainter;
class QWidget;

namespace zepa {

// The ratio of the widget's screen rounded up, 1..kMaxSurfaceScale.
int backingScale(const QWidget& widget);
int backingScaleFor(double devicePixelRatio);

// Makes `image` a Format_RGB32 picture of logical x scale device pixels with that device pixel
// ratio, keeping its pixels when that is what it already is. False when there is no memory for
// it (the image is then null).
bool prepareBackingImage(QImage& image, QSize logical, int scale);

// Paints the part `logical` (logical pixels) of a backing image at the same place; pixel for
// pixel where the painter's ratio is the image's, smoothly scaled where it is not.
void drawBackingImage(QPainter& painter, const QImage& image, const QRect& logical);

// The logical rectangle a backing image covers.
QRect logicalRect(const QImage& image);

// Device pixels per logical pixel of a backing image, at least 1.
int imageScale(const QImage& image);

// True when a drawn backing image is at another ratio than the widget's screen now has (the
// window moved to another screen): it must be drawn anew before it is shown.
bool backingOutOfDate(const QImage& image, const QWidget& widget);

}  // namespace zepa
