#include "app/window/chart_output.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>

#include "app/window/backing_image.h"
#include "app/window/input_dialog.h"
#include "platform/raster_surface.h"
#include "settings/input_dialog_logic.h"

// Qt can be built, or the program linked, without the print module; the clipboard still works.
#if defined(QT_PRINTSUPPORT_LIB)
#include <QtPrintSupport/qtprintsupportglobal.h>
#if QT_CONFIG(printer) && QT_CONFIG(printdialog)
#include <QPrintDialog>
#include <QPrinter>
#define ZEPA_CHART_PRINTING 1
#endif
#endif

namespace zepa {

namespace {

struct ScreenDpi {
    int x = 0;
    int y = 0;
};

// The logical resolution of the screen the window is on, as whole dots per inch.
ScreenDpi screenDpi(QWidget* owner) {
    QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {};
    }
    return {qRound(screen->logicalDotsPerInchX()), qRound(screen->logicalDotsPerInchY())};
}

void copyToClipboard(const QImage& capture) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return;
    }
    clipboard->setImage(capture);
}

#if defined(ZEPA_CHART_PRINTING)
// Names the document and returns where a w x h chart is printed: fitted onto the page, centred.
PagePlacement placeOnPrinter(QPrinter& printer, int32_t w, int32_t h, int screenDpiX,
                             int screenDpiY, float scale) {
    printer.setDocName(QString::fromLatin1(kChartDocumentName));
    // The painter's origin is then the top-left of the printable area, in printer pixels.
    printer.setFullPage(false);
    const int resolution = printer.resolution();
    const QRect page = printer.pageLayout().paintRectPixels(resolution);
    return placeOnPage(printedSize(w, h, resolution, resolution, screenDpiX, screenDpiY, scale),
                       page.width(), page.height(), scale);
}
#endif

// A printed chart is drawn at most this many device pixels (a 1,920 x 1,050 chart at 4 x 4).
constexpr int64_t kMaxPrintPixels = int64_t{40} << 20;

// The status bar's note on the print, UTF-8; empty when there is none.
std::string print(QWidget* owner, AppContext& a, const QImage& capture, int kind,
                  const ChartOutputDialogs& dialogs, const ChartRenderer& render) {
    const ScreenDpi dpi = screenDpi(owner);
    float scale = 100.0f;
    if (kind == kScaledPrint) {
        a.view.inputDialogMode = input_dialog::kPrintScaleMode;
        std::string text;
        a.view.keyCommand = dialogs.askScale ? dialogs.askScale(&text) : -1;
        if (!takeEnteredScale(a.settings, a.view.keyCommand, text, scale)) {
            return {};
        }
    }
#if defined(ZEPA_CHART_PRINTING)
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    if (!dialogs.choosePrinter || !dialogs.choosePrinter(printer)) {
        return {};
    }
    const QRect shown = logicalRect(capture);
    PagePlacement placed;
    const bool printed = render ? printRendered(printer, shown.width(), shown.height(), render,
                                                dpi.x, dpi.y, scale, &placed)
                                : printCapture(printer, capture, dpi.x, dpi.y, scale, &placed);
    return printed ? printPlacementNote(placed, scale) : std::string();
#else
    (void)dpi;
    (void)capture;
    (void)render;
    return {};
#endif
}

}  // namespace

QImage captureChartArea(const QImage& backing, const ChartRect& area) {
    // Only what the image holds is copied; 64-bit so that a stray rectangle cannot wrap.
    const auto clamp = [](int32_t v, int limit) {
        return static_cast<int>(std::clamp<int64_t>(v, 0, limit));
    };
    const QRect logical = logicalRect(backing);
    const int left = clamp(area.left, logical.width());
    const int right = clamp(area.right, logical.width());
    const int top = clamp(area.top, logical.height());
    const int bottom = clamp(area.bottom, logical.height());
    if (right <= left || bottom <= top) {
        return QImage();
    }
    // A picture at a device pixel ratio gives all the device pixels under the area.
    const int s = imageScale(backing);
    QImage capture = backing.copy(QRect(left * s, top * s, (right - left) * s, (bottom - top) * s));
    capture.setDevicePixelRatio(s);
    return capture;
}

void drawCapture(QPainter& painter, const QImage& capture, PrintSize size) {
    if (capture.isNull() || size.width <= 0 || size.height <= 0) {
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // A PDF printer would otherwise be free to store the chart as a JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.drawImage(QRect(0, 0, size.width, size.height), capture);
}

bool chartPrintingAvailable() {
#if defined(ZEPA_CHART_PRINTING)
    return true;
#else
    return false;
#endif
}

bool printCapture([[maybe_unused]] QPrinter& printer, [[maybe_unused]] const QImage& capture,
                  [[maybe_unused]] int screenDpiX, [[maybe_unused]] int screenDpiY,
                  [[maybe_unused]] float scale, [[maybe_unused]] PagePlacement* placed) {
#if defined(ZEPA_CHART_PRINTING)
    const QRect shown = logicalRect(capture);
    const PagePlacement p =
        placeOnPrinter(printer, shown.width(), shown.height(), screenDpiX, screenDpiY, scale);
    if (placed != nullptr) {
        *placed = p;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    painter.translate(p.left, p.top);
    drawCapture(painter, capture, p.size);
    return painter.end();
#else
    return false;
#endif
}

bool printRendered([[maybe_unused]] QPrinter& printer, [[maybe_unused]] int32_t w,
                   [[maybe_unused]] int32_t h, [[maybe_unused]] const ChartRenderer& render,
                   [[maybe_unused]] int screenDpiX, [[maybe_unused]] int screenDpiY,
                   [[maybe_unused]] float scale, [[maybe_unused]] PagePlacement* placed) {
#if defined(ZEPA_CHART_PRINTING)
    const PagePlacement p = placeOnPrinter(printer, w, h, screenDpiX, screenDpiY, scale);
    if (placed != nullptr) {
        *placed = p;
    }
    const PrintSize size = p.size;
    if (size.width <= 0 || size.height <= 0 || !render) {
        return false;
    }
    const QImage picture = render(printRenderScale(w, h, size, kMaxSurfaceScale, kMaxPrintPixels));
    if (picture.isNull()) {
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    // The picture has at least the printer's pixels where memory allowed: smoothing only
    // evens out the last fraction of a pixel.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.drawImage(QRect(p.left, p.top, size.width, size.height), picture);
    return painter.end();
#else
    return false;
#endif
}

void preparePrinter([[maybe_unused]] QPrinter& printer) {
#if defined(ZEPA_CHART_PRINTING)
    printer.setDocName(QString::fromLatin1(kChartDocumentName));
    printer.setPageOrientation(QPageLayout::Landscape);
#endif
}

QString proposedPdfPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::homePath();
    }
    return QDir(folder).filePath(QString::fromLatin1(kChartDocumentName) + QStringLiteral(".pdf"));
}

ChartOutputDialogs windowOutputDialogs(QWidget* owner, AppContext& a) {
    ChartOutputDialogs dialogs;
    dialogs.askScale = [owner, &a](std::string* inputText) {
        return runInputDialog(owner, a, input_dialog::kPrintScaleMode, inputText);
    };
#if defined(ZEPA_CHART_PRINTING)
    dialogs.choosePrinter = [owner](QPrinter& printer) {
        QPrintDialog dialog(&printer, owner);
        // Qt's dialog proposes a file in the working folder; the documents folder is where a
        // user looks for it. Setting the printer's file name instead would preselect the file.
        if (auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("filename"))) {
            file->setText(proposedPdfPath());
        }
        return dialog.exec() == QDialog::Accepted;
    };
#endif
    return dialogs;
}

std::string outputChart(QWidget* owner, AppContext& a, const QImage& backing, int kind) {
    return outputChart(owner, a, backing, kind, windowOutputDialogs(owner, a));
}

std::string outputChart(QWidget* owner, AppContext& a, const QImage& backing, int kind,
                        const ChartOutputDialogs& dialogs, const ChartRenderer& render) {
    if (kind != kClipboardOutput && kind != kScreenSizePrint && kind != kScaledPrint) {
        return {};
    }
    const QImage capture = captureChartArea(backing, a.view.chartArea);
    if (capture.isNull()) {
        return {};
    }
    if (kind == kClipboardOutput) {
        QImage picture = capture;
        picture.setDevicePixelRatio(1);  // the device pixels as a plain picture
        copyToClipboard(picture);
        return {};
    }
    return print(owner, a, capture, kind, dialogs, render);
}

}  // namespace zepa
