// Painting: the chart at two sizes, the whole Down key (series and chart), and a data window
// page, all on the raster surface the viewer draws into.
#include <benchmark/benchmark.h>

#include <QImage>

#include <memory>

#include "app/frame_handlers.h"
#include "app/startup.h"
#include "bench/bench_cases.h"
#include "chart/paint.h"
#include "datawindow/data_table.h"
#include "platform/raster_surface.h"
#include "settings/memory_value_store.h"

namespace zepa {
namespace {

// The window system as far as the Down key reaches it: the picture and nothing else.
class PictureShell final : public Shell {
  public:
    explicit PictureShell(RasterSurface& surface) : surface_(surface) {}
    void messageBox(std::string_view, std::string_view, MessageIcon) override { ++messages; }
    void beep() override {}
    void setButtonPressed(int, bool) override {}
    void setButtonEnabled(int, bool) override {}
    void setMenuItemEnabled(int, bool) override {}
    void setSelectorItems(const std::vector<std::string>&) override {}
    void selectSelectorItem(int) override {}
    void startTimer(int, int) override {}
    void killTimer(int) override {}
    void drawOnWindow(const std::function<void(DrawingSurface&)>& draw) override {
        // As the main window does before every immediate drawing.
        surface_.setRasterOp(RasterOp::CopyPen);
        surface_.selectDefaultPen();
        surface_.setTextColor(rgbColor(0, 0, 0));
        surface_.setBackgroundColor(rgbColor(255, 255, 255));
        surface_.setBackgroundMode(BackgroundMode::Opaque);
        draw(surface_);
        ++paints;
    }
    void invalidateWindow() override {}
    void setStatusText(std::string_view) override {}
    void openDataWindow(int) override {}
    void runSettingsDialog() override {}
    void runAdvancedSettingsDialog() override {}
    void runInputDialog(int) override {}
    void runAboutDialog() override {}
    void outputChart(int) override {}
    bool startProcess(const std::string&) override { return false; }
    bool openWithDesktop(const std::string&) override { return true; }
    void showHelp(int) override {}
    void destroyWindow() override {}
    void endAfterDataError(std::string_view) override { ++messages; }

    int paints = 0;
    int messages = 0;

  private:
    RasterSurface& surface_;
};

// The viewer's context after start-up, with the busiest chart a trader can ask for: 1,000 bars
// stretched over the width, candles, tomeashi and averages of both legs, the profit pane.
struct Viewer {
    MemoryValueStore store;
    AppContext a;
    QImage image;
    std::unique_ptr<RasterSurface> surface;

    bool open(const LargeInstallation& in, int width, int height, int scale = 1) {
        if (startViewer(a, in.root, store) != StartupOutcome::Ready) {
            return false;
        }
        bool missing = false;
        if (readPositionFile(a.paths.positionFile, a.positions, &missing) <= 0) {
            return false;
        }
        a.view.commandState = 1;
        ChartSettings& s = a.settings;
        s.pitchMode = 0;
        s.stretchBarCount = 1000;
        s.buyCandles = s.sellCandles = 1;
        s.buyTomeashi = s.sellTomeashi = 1;
        s.buyAverage = s.sellAverage = 1;
        s.lowerPaneMode = 0;
        a.view.chartArea = ChartRect{0, kToolbarHeight, width, kToolbarHeight + height};
        image = QImage(width * scale, (kToolbarHeight + height) * scale, QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::white);
        surface = std::make_unique<RasterSurface>(image);
        surface->setScale(scale);
        return rebuild();
    }
    bool rebuild() {
        const PairSeriesOptions options{a.view.weeklyBars, a.settings.buyAveragePeriod,
                                        a.settings.sellAveragePeriod};
        // As the viewer builds: the series, then its ratio statistics.
        return buildPairSeries(a.md, a.corrections, a.positions.records[a.view.currentPosition],
                               options, a.series)
                       .result == 1 &&
               computeRatioStatistics(a.series, a.settings.ratioPeriod, a.ratio) == 1;
    }
    ~Viewer() {
        if (surface) {
            releaseFontSlots(*surface, a.fonts);
        }
    }
};

void paintChartAt(benchmark::State& state, const LargeInstallation& in, int width, int height,
                  int scale = 1) {
    Viewer v;
    if (!v.open(in, width, height, scale)) {
        state.SkipWithError("the viewer does not start on the installation");
        return;
    }
    PictureShell shell(*v.surface);
    for (auto _ : state) {
        shell.drawOnWindow([&](DrawingSurface& surface) {
            ChartContext c = chartContext(v.a);
            paintChart(surface, c);
        });
        benchmark::DoNotOptimize(v.image.constBits());
    }
}

void switchPosition(benchmark::State& state, const LargeInstallation& in) {
    Viewer v;
    if (!v.open(in, 1920, 1080)) {
        state.SkipWithError("the viewer does not start on the installation");
        return;
    }
    PictureShell shell(*v.surface);
    const int32_t last = v.a.positions.positionCount - 1;
    for (auto _ : state) {
        // At the last position the key only says so; start over at the first.
        if (v.a.view.currentPosition >= last) {
            v.a.view.currentPosition = -1;
        }
        nextPosition(v.a, shell);
        benchmark::DoNotOptimize(v.image.constBits());
    }
    if (shell.messages != 0 || shell.paints != static_cast<int>(state.iterations())) {
        state.SkipWithError("a Down key did not end in a painted chart");
    }
}

void paintDataPage(benchmark::State& state, const LargeInstallation& in) {
    constexpr int32_t kRows = 40;
    Viewer v;
    if (!v.open(in, 800, 550)) {
        state.SkipWithError("the viewer does not start on the installation");
        return;
    }
    // The window keeps its own font slots, as the data window does.
    FontSlotTable fonts;
    DataWindowState s;
    s.kind = kSpreadDataKind;
    const ChartContext c = chartContext(v.a);
    s.rowCount = dataRowCount(c);
    selectFontSlot(*v.surface, fonts, kDataFontSlot, kChartFontFace, kDataFontHeight);
    const FontSlot& slot = fonts.slots[kDataFontSlot];
    layoutDataColumns(s, slot.charWidth, slot.lineHeight, fonts.lastTextHeight);
    const int32_t width = s.columnX[static_cast<size_t>(s.columnCount)] + kDataWindowExtraWidth;
    int32_t height = s.headerHeight;
    do {
        ++height;
        resizeDataWindow(s, height, width);
    } while (dataRowsPerPage(s) < kRows && height < 10000);
    releaseFontSlots(*v.surface, fonts);

    QImage page(width, height, QImage::Format_RGB32);
    RasterSurface surface(page);
    for (auto _ : state) {
        page.fill(Qt::white);
        surface.setRasterOp(RasterOp::CopyPen);
        surface.selectDefaultPen();
        paintDataWindow(surface, fonts, c, s, height);
        benchmark::DoNotOptimize(page.constBits());
    }
    state.counters["rows"] = dataRowsPerPage(s);
    releaseFontSlots(surface, fonts);
}

}  // namespace

void registerChartBenchmarks(const LargeInstallation& in) {
    benchmark::RegisterBenchmark("Chart/Paint1920x1080",
                                 [&in](benchmark::State& s) { paintChartAt(s, in, 1920, 1080); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    // The same chart on a screen of ratio 2: 3,840 x 2,160 device pixels.
    benchmark::RegisterBenchmark("Chart/Paint1920x1080@2x",
                                 [&in](benchmark::State& s) { paintChartAt(s, in, 1920, 1080, 2); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Chart/Paint800x550",
                                 [&in](benchmark::State& s) { paintChartAt(s, in, 800, 550); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("App/SwitchPosition",
                                 [&in](benchmark::State& s) { switchPosition(s, in); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("DataWindow/PaintPage",
                                 [&in](benchmark::State& s) { paintDataPage(s, in); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

}  // namespace zepa
