// Prints drawn for the printer: the page of a PDF, rendered back at the printer's resolution,
// has text whose edges fall anywhere, not only on the blown-up screen pixels' grid.
#include <gtest/gtest.h>

#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <tuple>

#include "app/print_size.h"
#include "app/window/chart_output.h"
#include "base/codepage.h"
#include "chart/primitives.h"
#include "platform/raster_surface.h"

namespace zepa {
namespace {

TEST(PrintedSize, FitsOnThePageKeepingProportions) {
    for (const auto& [size, pageW, pageH, width, height] :
         std::vector<std::tuple<PrintSize, int, int, int, int>>{
             {{1000, 500}, 2000, 3000, 1000, 500},    // fits: as it is
             {{6000, 3000}, 4800, 6600, 4800, 2400},  // A4 portrait: the width decides
             {{3000, 6000}, 6600, 4800, 2400, 4800},  // the height decides
             {{1000, 500}, 0, 3000, 1000, 500},       // no page size: as it is
             {{2147483647, 1}, 100, 100, 100, 0},     // a sliver: nothing
         }) {
        const PrintSize fitted = fitOnPage(size, pageW, pageH);
        const bool expectedEmpty = width == 0 || height == 0;
        EXPECT_TRUE(expectedEmpty ? fitted.width == 0 && fitted.height == 0
                                  : fitted.width == width && fitted.height == height)
            << size.width << "x" << size.height << " -> " << fitted.width << "x" << fitted.height;
    }
    EXPECT_EQ(printRenderScale(800, 550, {5000, 3437}, 8, 64 << 20), 7);  // 6.25 up to 7
    EXPECT_EQ(printRenderScale(800, 550, {800, 550}, 8, 64 << 20), 1);
    EXPECT_EQ(printRenderScale(800, 550, {100000, 68750}, 8, 64 << 20), 8);
    EXPECT_EQ(printRenderScale(1920, 1050, {20000, 10937}, 8, 40 << 20), 4);  // memory bound
    EXPECT_EQ(printRenderScale(0, 550, {800, 550}, 8, 64 << 20), 1);
}

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

constexpr int kWidth = 160, kHeight = 40;

// A framed line of chart text, drawn at `scale` device pixels per logical pixel.
QImage chartText(int scale) {
    QImage image(kWidth * scale, kHeight * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    RasterSurface surface(image);
    surface.setScale(scale);
    outlineBox(surface, 0, 0, kWidth - 1, kHeight - 1, 0, PenStyle::Solid);
    surface.selectFont(surface.createFont(FontRequest{kChartFontFace, -15}));
    surface.setBackgroundMode(BackgroundMode::Transparent);
    surface.textOut(6, 12, cp932FromUtf8("さや 7203 利益 +12,345"));
    image.setDevicePixelRatio(scale);
    return image;
}

// The share of the text's ink edges (left ends of dark runs, inside the frame) that lie off
// the grid a blown-up logical pixel would put them on.
double offGridEdges(const QImage& page, double pixelsPerLogical) {
    int left = -1, top = -1;
    for (int y = 0; y < page.height() && top < 0; ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (qGray(page.pixel(x, y)) < 128) {
                left = x;
                top = y;
                break;
            }
        }
    }
    if (left < 0) {
        return -1;
    }
    int edges = 0, offGrid = 0;
    const int inset = static_cast<int>(3 * pixelsPerLogical);
    for (int y = top + inset; y < top + static_cast<int>((kHeight - 3) * pixelsPerLogical); ++y) {
        bool wasInk = true;
        for (int x = left + inset; x < left + static_cast<int>((kWidth - 3) * pixelsPerLogical);
             ++x) {
            const bool ink = qGray(page.pixel(x, y)) < 128;
            if (ink && !wasInk) {
                ++edges;
                const double phase = std::fmod((x - left) / pixelsPerLogical, 1.0);
                offGrid += phase > 0.25 && phase < 0.75;
            }
            wasInk = ink;
        }
    }
    return edges > 0 ? static_cast<double>(offGrid) / edges : -1;
}

// Prints through `print` to a PDF and renders its page back at 600 dpi.
template <typename Print>
QImage printedPage(const QTemporaryDir& dir, const QString& name, Print print) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(name + QStringLiteral(".pdf")));
    printer.setResolution(600);
    preparePrinter(printer);
    PagePlacement placed;
    EXPECT_TRUE(print(printer, &placed));
    // The chart is centred on the printable area: the corner of the page around it only, the
    // chart and a margin, not 140 MB of paper.
    const QRect area = printer.pageLayout().paintRectPixels(600);
    const int left = std::max(0, area.left() + placed.left - 100);
    const int top = std::max(0, area.top() + placed.top - 100);
    const int rc = QProcess::execute(
        QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-gray"),
         QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-x"),
         QString::number(left), QStringLiteral("-y"), QString::number(top), QStringLiteral("-W"),
         QStringLiteral("1600"), QStringLiteral("-H"), QStringLiteral("800"),
         dir.filePath(name + QStringLiteral(".pdf")), dir.filePath(name)});
    EXPECT_EQ(rc, 0);
    return QImage(dir.filePath(name + QStringLiteral(".png")));
}

TEST(PrintSharpness, APrintedPageHasTextDrawnForThePrinterNotBlownUpPixels) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) {
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    }
    QTemporaryDir dir;
    // 600 dpi over a 96 dpi screen: 6.25 printer pixels per screen pixel.
    const QImage shown = chartText(1);
    const QImage stretched =
        printedPage(dir, QStringLiteral("stretched"), [&](QPrinter& p, PagePlacement* placed) {
            return printCapture(p, shown, 96, 96, 100.0f, placed);
        });
    int renderedAt = 0;
    const QImage drawn =
        printedPage(dir, QStringLiteral("drawn"), [&](QPrinter& p, PagePlacement* placed) {
            return printRendered(
                p, kWidth, kHeight,
                [&](int scale) {
                    renderedAt = scale;
                    return chartText(scale);
                },
                96, 96, 100.0f, placed);
        });
    ASSERT_FALSE(stretched.isNull() || drawn.isNull());
    EXPECT_EQ(renderedAt, 7);
    // The stretched screen pixels put every edge on their grid; drawn text does not.
    EXPECT_LT(offGridEdges(stretched, 6.25), 0.05);
    EXPECT_GT(offGridEdges(drawn, 6.25), 0.25);
    // The same printed size either way: the frame's far corner in the same place.
    const auto corner = [](const QImage& page) {
        QPoint last;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) < 128) {
                    last = QPoint(std::max(last.x(), x), std::max(last.y(), y));
                }
            }
        }
        return last;
    };
    const QPoint a = corner(stretched), b = corner(drawn);
    EXPECT_LE(std::abs(a.x() - b.x()), 7);
    EXPECT_LE(std::abs(a.y() - b.y()), 7);
    // The dialog starts in landscape.
    QPrinter printer;
    preparePrinter(printer);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
}

}  // namespace
}  // namespace zepa
