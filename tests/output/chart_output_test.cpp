// The chart area to the clipboard and to a printer (a PDF file), on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <cstdlib>
#include <tuple>
#include <vector>

#include "app/print_size.h"
#include "app/window/chart_output.h"
#include "settings/input_dialog_logic.h"

namespace zepa {
namespace {

TEST(PrintedSize, StretchesByResolutionAndScaleTruncatesAndRefusesAbsurdInput) {
    for (const auto& [s, width, height] : std::vector<std::tuple<PrintSize, int, int>>{
             {printedSize(800, 550, 600, 600, 96, 96, 50.0f), 2500, 1718},  // 1718.75
             {printedSize(800, 550, 600, 300, 96, 120, 200.0f), 10000, 2750},
             {printedSize(800, 550, 0, 600, 96, 96, 100.0f), 0, 0},
             {printedSize(800, 550, 600, 600, 96, 96, -150.0f), 0, 0},
             {printedSize(800, 550, 1200, 1200, 96, 96, 2147483647.0f), 0, 0},  // over 32 bits
             {printedSize(-800, 550, 600, 600, 96, 96, 100.0f), 0, 0}}) {
        EXPECT_TRUE(s.width == width && s.height == height) << width << " " << s.width;
    }
    // On the page: the proportions kept, the width or the height deciding; a sliver is nothing.
    for (const auto& [s, width, height] : std::vector<std::tuple<PrintSize, int, int>>{
             {fitOnPage({1000, 500}, 2000, 3000), 1000, 500},
             {fitOnPage({6000, 3000}, 4800, 6600), 4800, 2400},
             {fitOnPage({3000, 6000}, 6600, 4800), 2400, 4800},
             {fitOnPage({1000, 500}, 0, 3000), 1000, 500},
             {fitOnPage({2147483647, 1}, 100, 100), 0, 0}}) {
        EXPECT_TRUE(s.width == width && s.height == height) << width << " " << s.width;
    }
    // Drawn for the printer at the whole scale that covers its pixels, within the memory bound.
    EXPECT_EQ(printRenderScale(800, 550, {5000, 3000}, 8, 64 << 20), 7);  // 6.25 across: 7
    EXPECT_EQ(printRenderScale(800, 550, {800, 550}, 8, 64 << 20), 1);
    EXPECT_EQ(printRenderScale(800, 550, {100000, 68750}, 8, 64 << 20), 8);
    EXPECT_EQ(printRenderScale(1920, 1050, {20000, 10937}, 8, 40 << 20), 4);
    EXPECT_EQ(printRenderScale(0, 550, {800, 550}, 8, 64 << 20), 1);
}

// Each pixel tells where it is (x in red and blue, y in green) and differs from its neighbours.
struct Window {
    QImage backing{320, 250, QImage::Format_RGB32};
    AppContext a;
    Window() {
        for (int i = 0, x = 0, y = 0; i < 320 * 250; x = ++i % 320, y = i / 320) {
            backing.setPixel(x, y, qRgb(x & 0xff, y, (x >> 8) | ((x + y) % 2 * 0x80)));
        }
        a.view.chartArea = ChartRect{0, 30, 320, 230};
    }
};

TEST(PrintedSize, TheChartIsCentredAndAShrunkPrintSaysSo) {
    const auto placed = [](PrintSize wanted, int pageW, int pageH, float scale) {
        const PagePlacement p = placeOnPage(wanted, pageW, pageH, scale);
        return std::vector<int>{p.left, p.top, p.size.width, p.size.height, p.percent};
    };
    // At 200 % twice as wide as the page: half the size, 100 %, in the middle of the page.
    EXPECT_EQ(placed({9600, 3000}, 4800, 6600, 200.0f), (std::vector{0, 2550, 4800, 1500, 100}));
    EXPECT_EQ(printPlacementNote(placeOnPage({9600, 3000}, 4800, 6600, 200.0f), 200.0f),
              "200% ではページに収まらないため、100% に縮小して印刷しました");
    // The height decides, rounded down: 150 % x 4799 / 6000 = 119.975 %.
    EXPECT_EQ(placed({6000, 6000}, 6600, 4799, 150.0f), (std::vector{900, 0, 4799, 4799, 119}));
    // It fits: as it is, centred, nothing to say.
    EXPECT_EQ(placed({1000, 500}, 2001, 3000, 100.0f), (std::vector{500, 1250, 1000, 500, 100}));
    EXPECT_EQ(printPlacementNote(placeOnPage({1000, 500}, 2001, 3000, 100.0f), 100.0f), "");
}

TEST(ChartOutput, ClipboardAndPageGetTheChartAreaAsShown) {
    Window w;
    outputChart(nullptr, w.a, w.backing, kClipboardOutput, {});
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
              w.backing.copy(0, 30, 320, 200));
    EXPECT_EQ(captureChartArea(w.backing, ChartRect{-5, 200, 400, 2000000000}),
              w.backing.copy(0, 200, 320, 50));

    // Printed at the origin without smoothing: 1000 x 625 at 300 dpi.
    QImage page(1200, 900, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        drawCapture(painter, captureChartArea(w.backing, w.a.view.chartArea),
                    printedSize(320, 200, 300, 300, 96, 96, 100.0f));
    }
    // Every printed pixel is the capture's pixel under it, none a blend.
    for (int y = 0; y < page.height(); y += 3) {
        for (int x = 0; x < page.width(); x += 3) {
            const QRgb p = page.pixel(x, y);
            const int sourceX = qRed(p) + 256 * (qBlue(p) & 0x7f), sourceY = qGreen(p) - 30;
            ASSERT_TRUE(x >= 1000 || y >= 625 ? p == qRgb(255, 255, 255)
                                              : qBlue(p) >> 7 == (sourceX + sourceY + 30) % 2 &&
                                                    std::abs(sourceX - x * 320 / 1000) <= 1 &&
                                                    std::abs(sourceY - y * 200 / 625) <= 1)
                << x << "," << y;
        }
    }
}

TEST(ChartOutput, ScaledPrintKeepsAConfirmedScaleOnlyAndPrintsOnePage) {
    Window w;
    QTemporaryDir dir;
    int32_t printDialogs = 0, answer = input_dialog::kExecuteButton;
    ChartOutputDialogs dialogs;
    dialogs.askScale = [&](std::string* text) { return *text = "150", answer; };
    dialogs.choosePrinter = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("chart.pdf"));
        return ++printDialogs > 0;
    };
    EXPECT_EQ(outputChart(nullptr, w.a, w.backing, kScaledPrint, dialogs), "");
    EXPECT_EQ(w.a.settings.printScale, 150);
    answer = input_dialog::kCancelButton;
    w.a.settings.printScale = 80;
    outputChart(nullptr, w.a, w.backing, kScaledPrint, dialogs);
    EXPECT_EQ(w.a.settings.printScale, 80);
    EXPECT_EQ(printDialogs, 1);  // none after a cancelled scale

    QFile pdf(dir.filePath("chart.pdf"));
    const QByteArray bytes = pdf.open(QIODevice::ReadOnly) ? pdf.readAll() : QByteArray();
    EXPECT_TRUE(bytes.contains(QByteArray("\0C\0h\0a\0r\0t\0P\0r\0i\0n\0t", 20)));  // title
    EXPECT_TRUE(bytes.contains("/Count 1\n"));
    EXPECT_FALSE(bytes.contains("/DCTDecode")) << "the chart went in as a JPEG";
}

}  // namespace
}  // namespace zepa
