// The 過去の成績 window: the summary line of a walk-forward, the survivorship note, the picture
// of both cumulative curves (app/walkforward_plot.h, drawn anew at each size) and the period
// table below it, copied with Ctrl+C and saved with Ctrl+S as the other tables are.
#pragma once

#include <QImage>

#include "app/walkforward_job.h"
#include "app/walkforward_plot.h"
#include "app/window/text_table_window.h"

class QLabel;

namespace zepa {

class WalkForwardWindow final : public TextTableWindow {
    Q_OBJECT
  public:
    WalkForwardWindow(QWidget* owner, const WalkForwardJobOutcome& outcome);

    QLabel* summaryLabel() const { return summary_; }
    QTableWidget* table() const { return grid_; }
    QWidget* plot() const { return plot_; }
    // Where the picture last put its plot, in the plot widget's logical pixels.
    const WalkForwardPlotLayout& plotLayout() const { return layout_; }
    const QImage& plotImage() const { return image_; }

  private:
    class Plot;
    void drawPlot();

    WalkForwardSummary out_;
    WalkForwardSummary in_;
    int32_t firstDate_ = 0;  // the first trading date: the curves start from 0 there
    QLabel* summary_ = nullptr;
    QWidget* plot_ = nullptr;  // a Plot
    QImage image_;
    WalkForwardPlotLayout layout_;
};

}  // namespace zepa
