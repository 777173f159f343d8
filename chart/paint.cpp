#include "chart/paint.h"

#include "chart/chart_geometry.h"
#include "chart/info_panel.h"
#include "chart/layout.h"
#include "chart/lower_pane.h"
#include "chart/price_pane.h"

namespace zepa {

void paintChart(DrawingSurface& surface, ChartContext& c) {
    layoutChart(surface, c);
    drawChart(surface, c);
}

void paintEmptyChart(DrawingSurface& surface, ChartContext& c) {
    layoutChart(surface, c);
    drawFrame(surface, c);
    drawHeaderLine(surface, c, c.view.chartArea.top + 3);
}

void drawChart(DrawingSurface& surface, ChartContext& c) {
    const ChartLayout& l = c.state.layout;
    layoutColumns(surface, c);
    setSellDrawScale(c);
    scalePrices(c, static_cast<float>(kPricePaneUnits * l.paneScale));
    drawFrame(surface, c);
    drawHeaderLine(surface, c, c.view.chartArea.top + 3);
    const int32_t candleBottom = l.pricePaneBottom - truncPixels(kPriceGapUnits * l.paneScale);
    drawPriceAxes(surface, c, l.priceAxisTop, candleBottom);
    drawCandles(surface, c, l.plotLeft, l.pricePlotTop);
    if (c.settings.buyTomeashi == 1) {
        drawTomeashi(surface, c, l.plotLeft, l.pricePlotTop, Leg::Buy);
    }
    if (c.settings.sellTomeashi == 1) {
        drawTomeashi(surface, c, l.plotLeft, l.pricePlotTop, Leg::Sell);
    }
    if (c.settings.buyAverage == 1 && c.settings.buyAveragePeriod > 0) {
        drawAverageLine(surface, c, l.plotLeft, l.pricePlotTop, Leg::Buy);
    }
    if (c.settings.sellAverage == 1 && c.settings.sellAveragePeriod > 0) {
        drawAverageLine(surface, c, l.plotLeft, l.pricePlotTop, Leg::Sell);
    }
    drawLowerPane(surface, c, l.plotLeft, l.lowerPaneTop);
}

}  // namespace zepa
