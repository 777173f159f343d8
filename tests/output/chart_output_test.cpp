// The chart area to the clipboard and to a printer, on the offscreen platform; the printer is
// a PDF file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTransform>

#include <cstdlib>

#include "app/window/chart_output.h"
#include "settings/input_dialog_logic.h"

#if defined(QT_PRINTSUPPORT_LIB)
#include <QPrinter>
#endif

namespace zepa {
namespace {

// A client image whose every pixel tells where it is (x in red and blue, y in green) and
// differs sharply from its neighbours (blue's top bit in a checkerboard), with the chart area
// below the 30-pixel toolbar and above a 20-pixel status bar.
struct Window {
    QImage backing{320, 250, QImage::Format_RGB32};
    AppContext a;
    Window() {
        for (int y = 0; y < backing.height(); ++y) {
            for (int x = 0; x < backing.width(); ++x) {
                backing.setPixel(x, y, qRgb(x & 0xff, y, (x >> 8) | ((x + y) % 2 * 0x80)));
            }
        }
        a.view.chartArea = ChartRect{0, 30, 320, 230};
    }
};

QImage rgb32(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

TEST(ChartOutput, ClipboardGetsTheChartAreaAsShown) {
    Window w;
    QGuiApplication::clipboard()->clear();
    outputChart(nullptr, w.a, w.backing, kClipboardOutput, ChartOutputDialogs{});
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(320, 200));
    EXPECT_EQ(rgb32(copied), w.backing.copy(0, 30, 320, 200));

    // An empty chart area (nothing painted yet) copies nothing.
    w.a.view.chartArea = ChartRect{0, 30, 320, 30};
    QGuiApplication::clipboard()->clear();
    outputChart(nullptr, w.a, w.backing, kClipboardOutput, ChartOutputDialogs{});
    EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
    // A rectangle reaching beyond the image takes what the image holds.
    EXPECT_EQ(captureChartArea(w.backing, ChartRect{-5, 200, 400, 2000000000}),
              w.backing.copy(0, 200, 320, 50));
}

TEST(ChartOutput, ScaledPrintKeepsAConfirmedScaleOnly) {
    Window w;
    int printDialogs = 0;
    int32_t answer = input_dialog::kExecuteButton;
    ChartOutputDialogs dialogs;
    dialogs.askScale = [&](std::string* text) {
        *text = "150";
        return answer;
    };
    dialogs.choosePrinter = [&](QPrinter&) { return ++printDialogs < 0; };  // cancelled
    const int printing = chartPrintingAvailable() ? 1 : 0;

    outputChart(nullptr, w.a, w.backing, kScaledPrint, dialogs);
    EXPECT_EQ(w.a.view.inputDialogMode, input_dialog::kPrintScaleMode);
    EXPECT_EQ(w.a.settings.printScale, 150);
    EXPECT_EQ(inputDialogTexts(input_dialog::kPrintScaleMode, w.a.settings).preset, " 150");
    EXPECT_EQ(printDialogs, printing);

    answer = input_dialog::kCancelButton;
    w.a.settings.printScale = 80;
    outputChart(nullptr, w.a, w.backing, kScaledPrint, dialogs);
    EXPECT_EQ(w.a.view.keyCommand, input_dialog::kCancelButton);
    EXPECT_EQ(w.a.settings.printScale, 80);
    EXPECT_EQ(printDialogs, printing);  // no print dialog after a cancelled scale
}

TEST(ChartOutput, CaptureIsDrawnAtTheOriginWithoutSmoothing) {
    Window w;
    const QImage capture = captureChartArea(w.backing, w.a.view.chartArea);
    QImage page(1200, 900, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        drawCapture(painter, capture, printedSize(320, 200, 300, 300, 96, 96, 100.0f));
    }
    // 320 x 300 / 96 = 1000, 200 x 300 / 96 = 625: every printed pixel is the capture's pixel
    // under it, none a blend; nothing outside.
    for (int y = 0; y < page.height(); y += 3) {
        for (int x = 0; x < page.width(); x += 3) {
            const QRgb p = page.pixel(x, y);
            if (x >= 1000 || y >= 625) {
                ASSERT_EQ(p, qRgb(255, 255, 255)) << x << "," << y;
                continue;
            }
            const int sourceX = qRed(p) + 256 * (qBlue(p) & 0x7f);
            const int sourceY = qGreen(p) - 30;
            ASSERT_EQ(qBlue(p) >> 7, (sourceX + sourceY + 30) % 2) << x << "," << y;
            ASSERT_LE(std::abs(sourceX - x * 320 / 1000), 1) << x << "," << y;
            ASSERT_LE(std::abs(sourceY - y * 200 / 625), 1) << x << "," << y;
        }
    }
}

#if defined(QT_PRINTSUPPORT_LIB)
// Where the page's drawing puts the unit square of its image, in printer pixels from the
// top-left of the printable area: the content streams' scale-and-move matrices after the
// first (points per printer pixel), combined.
QRectF drawnImageRect(const QByteArray& pdf) {
    QTransform combined;
    bool first = true;
    for (qsizetype at = 0; (at = pdf.indexOf("/FlateDecode", at)) >= 0;) {
        const qsizetype begin = pdf.indexOf("stream\n", at);
        const qsizetype end = pdf.indexOf("endstream", begin);
        if (begin < 0 || end < 0) {
            break;
        }
        const QByteArray text =
            qUncompress(QByteArray::fromHex("00100000") + pdf.mid(begin + 7, end - begin - 7));
        at = end;
        if (!text.contains(" Do")) {
            continue;  // the image itself
        }
        static const QRegularExpression cm("([-0-9.]+) 0 0 ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) cm");
        for (auto it = cm.globalMatch(QString::fromLatin1(text)); it.hasNext();) {
            const auto m = it.next();
            const QTransform t(m.captured(1).toDouble(), 0, 0, m.captured(2).toDouble(),
                               m.captured(3).toDouble(), m.captured(4).toDouble());
            combined = first ? QTransform() : t * combined;
            first = false;
        }
    }
    return combined.mapRect(QRectF(0, 0, 1, 1));
}

TEST(ChartOutput, PrintsOnePageIntoAPdf) {
    if (!chartPrintingAvailable()) {
        GTEST_SKIP() << "built without Qt's print module";
    }
    Window w;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("chart.pdf");
    ChartOutputDialogs dialogs;
    dialogs.askScale = [](std::string* text) {
        *text = "50";
        return input_dialog::kExecuteButton;
    };
    dialogs.choosePrinter = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setResolution(300);
        return true;
    };
    const QScreen* screen = QGuiApplication::primaryScreen();
    const PrintSize size = printedSize(320, 200, 300, 300, qRound(screen->logicalDotsPerInchX()),
                                       qRound(screen->logicalDotsPerInchY()), 50.0f);
    outputChart(nullptr, w.a, w.backing, kScaledPrint, dialogs);

    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    // The title is UTF-16 big-endian.
    EXPECT_TRUE(bytes.contains(QByteArray("\0C\0h\0a\0r\0t\0P\0r\0i\0n\0t", 20)));
    EXPECT_TRUE(bytes.contains("/Count 1\n"));
    EXPECT_FALSE(bytes.contains("/DCTDecode")) << "the chart went in as a JPEG";
    EXPECT_EQ(drawnImageRect(bytes), QRectF(0, 0, size.width, size.height));
}
#endif

}  // namespace
}  // namespace zepa
