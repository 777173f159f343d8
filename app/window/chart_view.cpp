#include "app/window/chart_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "app/frame_handlers.h"
#include "app/window/backing_image.h"
#include "app/window/frame_window.h"

namespace zepa {

ChartView::ChartView(FrameWindow& frame) : QWidget(&frame), frame_(frame) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // Every pixel comes from the backing image: nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool ChartView::event(QEvent* event) {
    // Keys are the chart's: no shortcut (not even a menu title's Alt+letter) may take one.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void ChartView::paintEvent(QPaintEvent* event) {
    // Moved to a screen of another ratio: the picture is drawn anew for it first.
    if (backingOutOfDate(frame_.backingImage(), *this)) {
        frame_.paintRequest();
    }
    QPainter p(this);
    const QImage& image = frame_.backingImage();
    drawBackingImage(p, image, event->rect());
    // Where the image does not reach yet (before the first paint request), the window colour.
    const QRegion rest = QRegion(event->rect()) - QRegion(logicalRect(image));
    for (const QRect& r : rest) {
        p.fillRect(r, Qt::white);
    }
    p.end();
    frame_.chartShown();
}

void ChartView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    frame_.paintRequest();
}

void ChartView::keyPressEvent(QKeyEvent* event) {
    frame_.keyFromUser(*event);
    event->accept();
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    frame_.mouseMoved(at.x(), at.y());
}

void ChartView::mousePressEvent(QMouseEvent* event) {
    frame_.mousePressed(event->button());
}

// The second press of a double click is the double click alone, as with a window class that
// asks for double clicks; a right double click does nothing.
void ChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        frame_.leftDoubleClicked(at.x(), at.y());
    }
}

void ChartView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    // A menu or the selector's list opening is not a focus loss of the window (the selector
    // reports its own click).
    if (event->reason() != Qt::PopupFocusReason) {
        frame_.focusLost();
    }
}

void ChartView::wheelEvent(QWheelEvent* event) {
    const bool page = (event->modifiers() & Qt::ShiftModifier) != 0;
    // Some desktops turn a wheel with Shift held into a sideways turn.
    const QPoint angle = event->angleDelta();
    const int notches = wheelNotches(wheelRest_, angle.y() != 0 || !page ? angle.y() : angle.x());
    if (notches != 0) {
        frame_.wheelTurned(notches, page);
    }
    event->accept();
}

}  // namespace zepa
