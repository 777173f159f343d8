#include "app/window/walkforward_window.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/walkforward_table.h"
#include "app/window/backing_image.h"
#include "app/window/qt_values.h"
#include "platform/raster_surface.h"

namespace zepa {

// The picture: every pixel from the backing image, drawn anew when its size changes.
class WalkForwardWindow::Plot final : public QWidget {
  public:
    explicit Plot(WalkForwardWindow& owner) : QWidget(&owner), owner_(owner) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumHeight(160);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        if (backingOutOfDate(owner_.image_, *this)) {
            owner_.drawPlot();
        }
        QPainter p(this);
        drawBackingImage(p, owner_.image_, event->rect());
        const QRegion rest = QRegion(event->rect()) - QRegion(logicalRect(owner_.image_));
        for (const QRect& r : rest) {
            p.fillRect(r, qColorOf(kWalkForwardBackground));
        }
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        owner_.drawPlot();
    }

  private:
    WalkForwardWindow& owner_;
};

WalkForwardWindow::WalkForwardWindow(QWidget* owner, const WalkForwardJobOutcome& outcome)
    : TextTableWindow(owner, kWalkForwardTitle, kWalkForwardFileName),
      out_(outcome.walk.out),
      in_(outcome.walk.in),
      firstDate_(outcome.walk.periods.empty() ? 0 : outcome.walk.periods.front().tradeFirstDate) {
    setFileName(walkForwardFileName(outcome.lastDate));
    summary_ = new QLabel(fromUtf8(walkForwardSummaryLine(outcome.walk)));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* note = new QLabel(fromUtf8(kWalkForwardSurvivorshipNote));
    note->setWordWrap(true);
    plot_ = new Plot(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(note);
    layout->addWidget(plot_, 3);
    layout->addWidget(grid_, 2);
    showTable(walkForwardTable(outcome.walk),
              [](const std::string&, size_t column) { return column >= 3; });
    exported_ = walkForwardTable(outcome.walk, true);
    resize(820, 640);
}

void WalkForwardWindow::drawPlot() {
    const QSize size = plot_->size();
    const int scale = backingScale(*plot_);
    if (size.isEmpty() || !prepareBackingImage(image_, size, scale)) {
        return;
    }
    RasterSurface surface(image_);
    surface.setScale(scale);
    layout_ = drawWalkForwardPlot(surface, size.width(), size.height(), out_.curve, in_.curve,
                                  firstDate_);
    plot_->update();
}

}  // namespace zepa
