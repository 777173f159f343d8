// The client area of the main window under the menu bar: it shows the window's backing image
// and hands keys, mouse and focus loss to the window. Its coordinates are client coordinates;
// the toolbar strip covers its top 30 pixels, so the chart starts at y 30.
#pragma once

#include <QWidget>

namespace zepa {

class FrameWindow;

class ChartView final : public QWidget {
    Q_OBJECT
  public:
    explicit ChartView(FrameWindow& frame);

  protected:
    bool event(QEvent* event) override;
    // Tab is a key of the chart too (it stops automatic stepping), not a focus move.
    bool focusNextPrevChild(bool) override { return false; }
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    FrameWindow& frame_;
    int wheelRest_ = 0;  // eighths of a degree short of a whole notch, from fine-stepping wheels
};

}  // namespace zepa
