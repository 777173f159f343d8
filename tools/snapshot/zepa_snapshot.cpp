// zepa_snapshot: renders the chart of one position to a PNG without a window, through the
// viewer's own layout and drawing code.
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <string>
#include <vector>

#include "chart/paint.h"
#include "marketdata/pair_series.h"
#include "marketdata/ratio_statistics.h"
#include "platform/qsettings_value_store.h"
#include "platform/raster_surface.h"
#include "settings/settings_persistence.h"
#include "tools/common/installation.h"
#include "tools/common/json_writer.h"
#include "tools/snapshot/snapshot_options.h"

namespace zepa {
namespace {

int fail(int code, const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return code;
}

// Metrics of the three fonts the chart used, read back from the slots.
struct SlotMetrics {
    int32_t headerLineHeight, axisCharWidth, axisLineHeight, labelCharWidth, labelLineHeight;
};

SlotMetrics readSlotMetrics(DrawingSurface& surface, FontSlotTable& fonts, const ChartLayout& l) {
    SlotMetrics m{};
    selectFontSlot(surface, fonts, 1, kChartFontFace, l.headerFontHeight);
    m.headerLineHeight = fonts.slots[1].lineHeight;
    selectFontSlot(surface, fonts, 2, kChartFontFace, l.axisFontHeight);
    m.axisCharWidth = fonts.slots[2].charWidth;
    m.axisLineHeight = fonts.slots[2].lineHeight;
    selectFontSlot(surface, fonts, 2, kChartFontFace, l.labelFontHeight);
    m.labelCharWidth = fonts.slots[2].charWidth;
    m.labelLineHeight = fonts.slots[2].lineHeight;
    return m;
}

std::string layoutJson(const ChartContext& c, const SlotMetrics& m) {
    const ChartLayout& l = c.state.layout;
    const ChartRect& a = c.view.chartArea;
    JsonWriter j;
    j.beginObject().key("chartArea").beginArray();
    j.value(a.left).value(a.top).value(a.right).value(a.bottom).endArray();
    j.key("headerLineHeight").value(m.headerLineHeight);
    j.key("axisCharWidth").value(m.axisCharWidth).key("axisLineHeight").value(m.axisLineHeight);
    j.key("labelCharWidth").value(m.labelCharWidth).key("labelLineHeight").value(m.labelLineHeight);
    const std::pair<const char*, int32_t> fields[] = {
        {"headerFontHeight", l.headerFontHeight},
        {"axisFontHeight", l.axisFontHeight},
        {"labelFontHeight", l.labelFontHeight},
        {"headerLeft", l.headerLeft},
        {"headerRight", l.headerRight},
        {"pricePaneLeft", l.pricePaneLeft},
        {"pricePaneRight", l.pricePaneRight},
        {"pricePaneTop", l.pricePaneTop},
        {"priceAxisTop", l.priceAxisTop},
        {"pricePlotTop", l.pricePlotTop},
        {"pricePaneBottom", l.pricePaneBottom},
        {"lowerTitleTop", l.lowerTitleTop},
        {"lowerTitleBottom", l.lowerTitleBottom},
        {"lowerPaneLeft", l.lowerPaneLeft},
        {"lowerPaneRight", l.lowerPaneRight},
        {"lowerPaneTop", l.lowerPaneTop},
        {"lowerPaneBottom", l.lowerPaneBottom},
        {"plotLeft", l.plotLeft},
        {"plotWidth", l.plotWidth},
    };
    for (const auto& [name, value] : fields) {
        j.key(name).value(value);
    }
    j.key("paneScale").value(static_cast<double>(l.paneScale));
    j.key("pitch").value(static_cast<double>(c.state.layout.pitch));
    j.key("firstShownBar").value(c.view.firstShownBar);
    j.key("lastShownBar").value(c.view.lastShownBar);
    j.key("priceMax").value(c.state.scale.priceMax);
    j.key("priceMin").value(c.state.scale.priceMin);
    j.key("priceScale").value(static_cast<double>(c.state.scale.priceScale));
    j.key("lowerScaleValue").value(c.state.lowerScaleValue);
    j.endObject();
    return j.text() + "\n";
}

int run(const SnapshotOptions& o) {
    Installation in;
    LoadOutcome outcome = loadInstallation(o.root, in);
    if (outcome == LoadOutcome::PositionFileMissing) {
        return fail(1, positionFileAbsentMessage(in.paths));
    }
    if (outcome == LoadOutcome::DataError) {
        return fail(3, dataErrorMessage(in.md.dataError, in.paths.dataDirectory));
    }
    if (o.position >= in.positions.positionCount) {
        return fail(2, "zepa_snapshot: there is no position " + std::to_string(o.position));
    }

    ChartSettings settings;
    ColorTable colors;
    resetColorTable(colors);
    resetSpreadColors(colors);
    if (!o.defaults) {
        QSettingsValueStore store;
        loadChartSettings(store, settings, colors);
    }
    if (o.lowerPaneMode >= 0) {
        settings.lowerPaneMode = o.lowerPaneMode;
    }
    if (o.adjusted) {
        settings.splitAdjustedDisplay = 1;
    }
    if (o.ratioPeriod > 0) {
        settings.ratioPeriod = o.ratioPeriod;
    }
    if (o.overlay) {
        settings.overlaySellAtEntry = 1;
    }

    ViewState view;
    view.currentPosition = o.position;
    view.weeklyBars = o.weekly ? 1 : 0;
    view.scrollBack = o.scrollBack;
    view.chartArea = ChartRect{0, kToolbarHeight, o.width, kToolbarHeight + o.height};

    const PositionRecord& position = in.positions.records[o.position];
    SpreadSeries series;
    PairSeriesOptions options{view.weeklyBars, settings.buyAveragePeriod,
                              settings.sellAveragePeriod, settings.splitAdjustedDisplay};
    const int32_t dateCount = in.md.set.dateCount;
    PairSeriesResult built = buildPairSeries(in.md, in.corrections, position, options, series);
    if (built.message == PairSeriesMessage::DataError) {
        return fail(3, dataErrorMessage(in.md.dataError, in.paths.dataDirectory));
    }
    if (built.result <= 0) {
        return fail(1, pairSeriesMessageText(built.message));
    }

    QImage client(o.width, kToolbarHeight + o.height, QImage::Format_RGB32);
    client.fill(Qt::white);
    RasterSurface surface(client);
    FontSlotTable fonts;
    ChartState state;
    RatioStatistics ratio;
    computeRatioStatistics(series, settings.ratioPeriod, ratio);
    ChartContext c{view, settings, colors, series, position, dateCount, fonts, state, &ratio};
    paintChart(surface, c);

    // The chart area's pixels, as the clipboard capture takes them.
    const QImage chart = client.copy(0, kToolbarHeight, o.width, o.height);
    if (o.layout) {
        const SlotMetrics metrics = readSlotMetrics(surface, fonts, state.layout);
        std::fputs(layoutJson(c, metrics).c_str(), stdout);
    }
    releaseFontSlots(surface, fonts);
    if (!chart.save(QString::fromStdString(o.output), "PNG")) {
        return fail(1, "zepa_snapshot: cannot write " + o.output);
    }
    return 0;
}

}  // namespace
}  // namespace zepa

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    zepa::SnapshotOptions options;
    if (!zepa::parseSnapshotOptions(args, options)) {
        std::fputs(zepa::kSnapshotUsage, stderr);
        return 2;
    }
    // No window is shown: the offscreen platform serves fonts without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    return zepa::run(options);
}
